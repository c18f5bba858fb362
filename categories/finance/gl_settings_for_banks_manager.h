// G/L settings for banks: the account side of the bank set-up put into the
// house bank accounts and banks the target already has, and the company's
// default bank settings. Nothing is added or removed: a base record without
// a counterpart leaves no line, and the removal pass updates nothing. Every
// write ends by taking the transport account out of the target's chart.
// The record list is the banks' (their initialize and collectDetails).
#pragma once

#include <string>
#include <vector>

#include "categories/setup/banks_manager.h"

class DPX_GLSettingsForBanksManager : public DPX_BanksManager {
 public:
  DPX_GLSettingsForBanksManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
};
