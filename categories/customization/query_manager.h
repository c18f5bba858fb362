// Queries (table OUQR, business object 160) with their query categories
// (table OQCN, business object 134). The categories travel as a block of
// their own ahead of the queries and are always added or updated, without
// copy-log lines; each query's category number becomes the number that the
// category of the same name has in the target, and a query is matched by
// its name within that category. The system category -2 is
// never read, listed, copied or removed.
#pragma once

#include "categories/object_category.h"

class DPX_QueryManager : public DPX_ObjectCategory {
 public:
  DPX_QueryManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

 protected:
  int32_t readBlocks(const BlockSink& take, std::vector<DPX_DetailRecord> chosen) override;
};
