// Formatted searches (table CSHS, business object 219): the saved query
// assigned to a field of a host form. Mode 1 serves the searches on
// user-defined items (ItemID beginning with "U_"), mode 0 those on standard
// items. A search names its query by number; it travels naming the query by
// its name and is written with the number of the target's query of that
// name. A search is matched in the target by form, item and column.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "categories/object_category.h"

class DPX_FormattedSearchManager : public DPX_ObjectCategory {
 public:
  DPX_FormattedSearchManager(DPX_ConnectionContext* context, const std::string& categoryKey, int32_t mode);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }

  int32_t mode() const { return m_mode; }

 private:
  // Takes out of the compared block, each with a "403" line naming its
  // query, the searches whose query the target lacks.
  void refuseCompared(DPX_OperationArgs& block, uint8_t method) override;

  int32_t m_mode;
  // The name of the query each search of the block being written names, by
  // the search's form, item and column: the comparison reorders and thins
  // the block, a search's place in the block says nothing.
  std::map<std::vector<std::string>, std::string> m_queryNames;
};
