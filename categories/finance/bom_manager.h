// Bills of materials: product trees (table OITT, business object 66), found
// in the target by their item's code. The profit centres and distribution
// rules travel with every copy and are written first (see
// cost_accounting_rows.h); the removal pass of Replace All removes trees
// only. The record list shows a tree's type as its text.
//
// Trees travel once, as business objects: a block of the trees' plain rows
// (a configuration file may hold one) is passed over.
#pragma once

#include "categories/object_category.h"

class DPX_BOMManager : public DPX_ObjectCategory {
 public:
  DPX_BOMManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
};
