// G/L settings for tax setup: one table of the tax blocks drives the read
// and the update-only write.
#include "categories/finance/gl_settings_for_tax_setup_manager.h"

#include "categories/category_support.h"
#include "categories/finance/coa_accounts_manager.h"
#include "categories/reference_field.h"
#include "engine/di_record_support.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"

namespace {

// One block of the tax set-up: its object, the properties (over columns)
// that find a record in the target, and the references it carries.
struct TaxBlock {
  const char* table;
  int32_t objectType;  // 300: plain rows
  std::vector<std::string> keyColumns;
  std::vector<std::string> matchProperties;
  std::vector<std::string> matchColumns;
  std::vector<std::string> listProperties;
  std::vector<DPX_ReferenceField> references;
};

DPX_ReferenceField TaxType(const char* field, const char* enclosing = "") {
  return {field, enclosing, "OSTT", "AbsId", {"Name"}, 2};
}

const std::vector<TaxBlock>& TaxBlocks() {
  static const std::vector<TaxBlock> blocks = {
      {"OIND", 300, {"Code"}, {"Code"}, {"Code"}, {"Code", "Name"}, {}},
      {"OSTT", 127, {"AbsId"}, {"Name"}, {"Name"}, {"Numerator", "Name"}, {}},
      {"OSTA", 126, {"Code", "Type"}, {"Code", "Type"}, {"Code", "Type"}, {"Code", "Type"},
       {DPX_AccountReference("AOrRTaxAccount"), DPX_AccountReference("UseTaxAccount"),
        DPX_AccountReference("AOrPTaxAccount"), DPX_AccountReference("DeferredTaxAccount"), TaxType("Type")}},
      {"OSTC", 128, {"Code"}, {"Code"}, {"Code"}, {"Code", "Name"},
       {TaxType("STATaxOnTaxType", "SalesTaxCodes_Lines"), TaxType("STAType", "SalesTaxCodes_Lines")}},
      // A VAT group's accounts go as the authorities' do: a code of the base's chart means nothing in the target.
      {"OVTG", 5, {"Code"}, {"Code"}, {"Code"}, {"Code", "Name"},
       {DPX_AccountReference("AquisitionTax"), DPX_AccountReference("DeferredTaxAcc"),
        DPX_AccountReference("NonDeductAcc"), DPX_AccountReference("TaxAccount")}},
      {"ODDG", 117, {"Numerator"}, {"GroupCode", "GroupName"}, {"DdgCode", "DdgName"}, {"GroupCode", "GroupName"}, {}},
      // The withholding account goes by its format code, or by its name where the flag is clear.
      {"OWHT", 178, {"WTCode"}, {"WTCode"}, {"WTCode"}, {"WTCode", "WTName"}, {}},
  };
  return blocks;
}

}  // namespace

DPX_GLSettingsForTaxSetupManager::DPX_GLSettingsForTaxSetupManager(DPX_ConnectionContext* context,
                                                                   const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {}

bool DPX_GLSettingsForTaxSetupManager::queryHostFlag(const std::shared_ptr<dpx::host::Company>& company) {
  auto adminInfo = company->GetCompanyService()->GetAdminInfo();
  return dpx::categories::GetProperty(adminInfo, "EnableAccountSegmentation").toInt64() != 0;
}

int32_t DPX_GLSettingsForTaxSetupManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                     std::vector<DPX_DetailRecord>) {
  dpx::DPX_LogScope scope("DPX_GLSettingsForTaxSetupManager::readFromDB");
  const bool flag = queryHostFlag(dpx::records::BaseCompany(m_context));
  for (const TaxBlock& tax : TaxBlocks()) {
    DPX_OperationArgs block = tax.objectType == DPX_OperationArgs::kTableRows
                                  ? readBaseTable(tax.table, "", 0)
                                  : readBaseRecords(tax.objectType, tax.table, tax.keyColumns, "");
    if (block.dataItems.empty()) continue;
    dpx::categories::ResolveReferences(*this, m_context, block, tax.references);
    if (std::string(tax.table) == "OWHT")
      resolveDependency(block, "Account", 0, "OACT", "AcctCode", flag ? "FormatCode" : "AcctName", "row");
    blocks.push_back(std::move(block));
  }
  return 0;
}

void DPX_GLSettingsForTaxSetupManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_GLSettingsForTaxSetupManager::writeData");
  // The removal pass updates nothing; it still takes the transport account away.
  for (DPX_OperationArgs& block : method == 0 ? std::vector<DPX_OperationArgs>{} : blocks) {
    const TaxBlock* tax = nullptr;
    for (const TaxBlock& candidate : TaxBlocks())
      if (block.tableName == candidate.table) tax = &candidate;
    if (!tax) {
      logUnknownTable(block.tableName, method);
      continue;
    }
    // Only what the target has is written, whatever the method.
    if (tax->objectType == DPX_OperationArgs::kTableRows) {
      block.setWithValues(m_categoryKey, tax->table, m_context, 1, DPX_OperationArgs::kTableRows);
      buildTableXml(block, tax->matchColumns, tax->listProperties, tax->matchColumns, 2);
      updateTargetRows(block);
      continue;
    }
    block.setWithValues(m_categoryKey, tax->table, m_context, 0, tax->objectType);
    dpx::categories::MapReferencesToTarget(*this, m_context, block, tax->references);
    if (std::string(tax->table) == "OWHT") mapDependencyToTarget(block, "Account", "row", DPX_AccountByCodeOrName());
    compareRecordsWithTarget(block, tax->matchProperties, tax->matchColumns, tax->keyColumns, tax->listProperties, 2);
    updateTargetRecords(block);
  }
  deleteTransportAccount();
}

void DPX_GLSettingsForTaxSetupManager::deleteTransportAccount() {
  DPX_COAAccountsManager::deleteTransportAccount(m_context);
}
