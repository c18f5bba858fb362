// Default series: the numbering series each user has for each document
// (NNM2), plain rows that are only ever updated: a row the target has (same
// document, subtype and user, the user found by its code) takes the base's
// series, found in the target by its document and name (a series the target
// lacks leaves the row's own, and the line names it); a row the target lacks
// stays missing. The removal pass of Replace
// All writes nothing.
#pragma once

#include "categories/finance/user_defaults_category.h"

class DPX_DefaultSeriesManager : public DPX_UserDefaultsCategory {
 public:
  DPX_DefaultSeriesManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
};
