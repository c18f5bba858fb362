// Postable accounts of the chart of accounts (table OACT, business object 1)
// with the account categories (OACG rows). Categories are found in the
// target by their name (a new one takes the next number, and the host's
// counter 238 moves past it); an account names its category by name and its
// father by format code when the charts name accounts so. Accounts are found
// in the target by their format code when the target's chart is segmented,
// else by their account code, and are written a level at a time so that a
// father is in the target before its children. Every write ends by removing
// the transport account the tax definitions made, if nothing names it.
#pragma once

#include "categories/object_category.h"

class DPX_COAAccountsManager : public DPX_ObjectCategory {
 public:
  DPX_COAAccountsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
  // An account category takes the key of the target's category of the same
  // name (update) or the target's highest key + 1 (insert).
  void mapReferences(std::string table, std::string& xml, int32_t mode) override;

  // Removes the transport account from the target through the accounts
  // object. The host keeps it while a record still names it; the program log
  // then says why. Never raises.
  static void deleteTransportAccount(DPX_ConnectionContext* context);

 private:
  void writeCategories(DPX_OperationArgs& block, uint8_t method);
  void writeAccounts(DPX_OperationArgs& block, uint8_t method);

  bool m_targetSegmented = false;  // the target's account flag, asked once
};
