// G/L settings for tax setup: the base's accounts and authority types put
// into the tax records the target already has (indicators, sales tax types,
// authorities and codes, VAT groups, deduction groups, withholding taxes).
// Nothing is added or removed: a base record without a counterpart in the
// target leaves no line, and the removal pass updates nothing. Every write
// ends by taking the transport account out of the target's chart, which the
// host refuses while a record still names it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/di_interface.h"

class DPX_GLSettingsForTaxSetupManager : public DPX_DIInterface {
 public:
  DPX_GLSettingsForTaxSetupManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* collectDetails() override { return &m_tableInfo; }
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource*) override { return &m_tableInfo; }
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  // The company's account flag; a host error reaches the caller.
  static bool queryHostFlag(const std::shared_ptr<dpx::host::Company>& company);
  // Takes the transport account out of the target's chart, through the
  // accounts category's deletion: it stays while a record names it.
  void deleteTransportAccount();
};
