// House bank accounts (table DSC1, business object 231), found in the target
// by their bank and account number, with two tables that travel along: the
// payment formats (OFRM, rows added by SQL under the target's next keys,
// without copy-log lines) and the banks' default accounts, set in the
// target's banks once the accounts are there. The removal pass removes the
// accounts only.
#pragma once

#include <string>
#include <vector>

#include "categories/object_category.h"

class DPX_HouseBanksAccountsManager : public DPX_ObjectCategory {
 public:
  DPX_HouseBanksAccountsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
  // Gives the payment-format rows the target's next keys, in their order.
  virtual void nextAbsEntry(DPX_OperationArgs& formats);

  // Sets one bank's default account in the target from a default-account
  // record: the bank of that code (and country), and that bank's account of
  // that number. A bank or account the target lacks leaves the bank as it
  // is; a refused update of the bank is logged "403".
  void resolveBankKeys(const std::string& xml);

 private:
  void writeFormats(DPX_OperationArgs& block);
};
