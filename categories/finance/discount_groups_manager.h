// Discount groups (table OSPG): plain rows, each giving a partner a discount
// on one object, an item property, an item group or a manufacturer, which
// ObjType names and ObjKey keys. Each row's object is read from the base and
// named by its name in a dependency record, so that ObjKey takes the
// target's key of the object of that name. A row of any other kind, and a
// row whose object the base lacks, is written with its ObjKey as it stands.
#pragma once

#include <string>
#include <vector>

#include "categories/table_category.h"

class DPX_DiscountGroupsManager : public DPX_TableCategory {
 public:
  DPX_DiscountGroupsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }

  // The kind's label and the object's name in place of ObjType and ObjKey.
  void adjustListRow(std::vector<std::string>& row, DPX_ListTextObjects& objects) override;
  // Gives each row of the block the dependency record of its object.
  void addObjectDependencies(DPX_OperationArgs& block);
};
