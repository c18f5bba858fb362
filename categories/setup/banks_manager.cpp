// Banks: the business-object family, matched by country and bank code.
#include "categories/setup/banks_manager.h"

DPX_ObjectCategoryDefinition DPX_BanksManager::definitionOfBanks() {
  DPX_ObjectCategoryDefinition d{3, "ODSC", "", "", "", ""};
  d.matchProperties = {"CountryCode", "BankCode"};
  d.matchColumns = {"CountryCod", "BankCode"};
  d.references = {{"DefaultBankAccountKey", "", "DSC1", "AbsEntry", {"BankCode"}, 2}};
  return d;
}

DPX_BanksManager::DPX_BanksManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, definitionOfBanks()) {
  m_keyColumns = {"AbsEntry"};
  m_keyProperties = {"BankCode"};
  m_columns = {"CountryCod", "BankCode", "BankName", "PostOffice", "DfltBranch", "DfltAcct"};
  m_properties = {"CountryCode", "BankCode", "BankName", "PostOffice", "BranchforOutgoingChecks",
                  "AccountforOutgoingChecks"};
  m_columnFlags = {0, 0, 1, 0, 0, 0};
  m_listColumns = {"BankCode", "BankName"};
}
