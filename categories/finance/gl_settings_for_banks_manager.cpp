// G/L settings for banks: house bank accounts, banks and the default bank
// settings, update-only.
#include "categories/finance/gl_settings_for_banks_manager.h"

#include <algorithm>
#include <charconv>

#include "categories/category_support.h"
#include "categories/finance/gl_settings_for_tax_setup_manager.h"
#include "categories/finance/period_accounts_category.h"
#include "categories/reference_field.h"
#include "engine/configuration_source.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"

namespace {

constexpr const char* kRoot = "GLSettingsForBanks";

const std::vector<DPX_AdminSetting>& BankSettings() {
  // The default branch travels and is not written.
  static const std::vector<DPX_AdminSetting> settings = {{"BankCountry", DPX_AdminSetting::kTextAlways},
                                                         {"DefaultBankNo", DPX_AdminSetting::kTextAlways},
                                                         {"DefaultBankAccount", DPX_AdminSetting::kTextAlways},
                                                         {"DefaultBranch", DPX_AdminSetting::kNotWritten}};
  return settings;
}

const std::vector<DPX_ReferenceField>& AccountReferences() {
  // The layout travels by its name, as the house bank accounts carry it: the
  // target refuses an account that names a layout code it does not have.
  static const std::vector<DPX_ReferenceField> references = {
      {"BankKey", "", "ODSC", "AbsEntry", {"CountryCod", "BankCode"}, 2},
      {"TemplateName", "", "RDOC", "DocCode", {"DocName"}, 0},
      DPX_AccountReference("GLAccount")};
  return references;
}

}  // namespace

DPX_GLSettingsForBanksManager::DPX_GLSettingsForBanksManager(DPX_ConnectionContext* context,
                                                             const std::string& categoryKey)
    : DPX_BanksManager(context, categoryKey) {}

int32_t DPX_GLSettingsForBanksManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                  std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_GLSettingsForBanksManager::readFromDB");
  // The accounts of the chosen banks (their keys are bank keys), or all.
  std::string accountsOfBanks;
  for (const DPX_DetailRecord& bank : chosen) {
    const std::string key = DPX_Util::VariantToString(bank.getKeyValue(0));
    long long number = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
    if (error != std::errc() || end != key.data() + key.size()) continue;  // a key is a number
    accountsOfBanks += (accountsOfBanks.empty() ? "" : ", ") + std::to_string(number);
  }
  if (chosen.empty() || !accountsOfBanks.empty()) {
    DPX_OperationArgs accounts = readBaseRecords(
        231, "DSC1", {"AbsEntry"},
        chosen.empty() ? "" : "SELECT AbsEntry FROM DSC1 WHERE BankKey IN (" + accountsOfBanks + ")");
    if (!accounts.dataItems.empty()) {
      dpx::categories::ResolveReferences(*this, m_context, accounts, AccountReferences());
      blocks.push_back(std::move(accounts));
    }
  }
  DPX_OperationArgs banks = chosen.empty() ? readBaseRecords(3, "ODSC", m_keyColumns, "")
                                           : readBaseObjects(3, "ODSC", chosen);
  if (!banks.dataItems.empty()) {
    resolveReferences(banks);
    blocks.push_back(std::move(banks));
  }
  DPX_OperationArgs settings;
  settings.setWithValues(m_categoryKey, "OADM", m_context, 1, DPX_OperationArgs::kTableRows);
  settings.dataItems.push_back(dpx::categories::Record(dpx::categories::ReadAdminSettings(m_context, kRoot, BankSettings())));
  blocks.push_back(std::move(settings));
  return 0;
}

DPX_TableInfo* DPX_GLSettingsForBanksManager::readFromFile(dpx::ConfigurationSource* configuration) {
  // The banks' block lists the banks, whatever blocks stand around it.
  return DPX_ObjectCategory::readFromFile(configuration);
}

void DPX_GLSettingsForBanksManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_GLSettingsForBanksManager::writeData");
  // The removal pass updates nothing; it still takes the transport account away.
  for (DPX_OperationArgs& block : method == 0 ? std::vector<DPX_OperationArgs>{} : blocks) {
    block.context = m_context;
    if (block.tableName == "DSC1") {
      block.set(m_categoryKey, "DSC1", 0, 231);
      dpx::categories::MapReferencesToTarget(*this, m_context, block, AccountReferences());
      compareRecordsWithTarget(block, {"BankKey", "AccNo"}, {"BankKey", "Account"}, {"AbsEntry"},
                               {"BankCode", "AccNo"}, 2);
      updateTargetRecords(block);
    } else if (block.tableName == "ODSC") {
      block.set(m_categoryKey, "ODSC", 0, 3);
      mapReferencesToTarget(block);
      // A bank is its country and code, as the banks category finds it.
      compareRecordsWithTarget(block, m_definition.matchProperties, m_definition.matchColumns, m_keyColumns,
                               m_listColumns, 2);
      updateTargetRecords(block);
    } else if (block.tableName == "OADM") {
      dpx::categories::WriteAdminSettings(m_context, m_categoryKey, block, kRoot, BankSettings());
    } else {
      logUnknownTable(block.tableName, method);
    }
  }
  DPX_GLSettingsForTaxSetupManager(m_context, m_categoryKey).deleteTransportAccount();
}
