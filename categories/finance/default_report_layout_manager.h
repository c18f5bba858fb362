// Default report layouts: the default report of each document type (RTYP)
// and of each user and business partner (RDFL), plain rows written by SQL,
// found in the target by their keys and updated there or added, whatever
// the copy method. A user travels by its code, a report by its name and
// type code. The users' rows get copy-log lines, the document types' rows
// none; the removal pass of Replace All writes nothing.
#pragma once

#include "categories/finance/user_defaults_category.h"

class DPX_DefaultReportLayoutManager : public DPX_UserDefaultsCategory {
 public:
  DPX_DefaultReportLayoutManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
};
