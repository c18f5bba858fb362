// House bank accounts: the business-object family for DSC1, with the payment
// formats written before the accounts and the banks' default accounts after.
#include "categories/setup/house_banks_accounts_manager.h"

#include <algorithm>

#include "categories/category_support.h"
#include "engine/configuration_source.h"
#include "engine/di_record_support.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace rt = dpx::recordtext;

namespace {

constexpr int32_t kFormatCounter = 183;
const std::vector<std::string> kFormatMatch = {"Name", "FrmatType"};

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{231, "DSC1", "", "", "", ""};
  d.matchProperties = {"BankKey", "AccNo"};
  d.matchColumns = {"BankKey", "Account"};
  d.references = {{"BankKey", "", "ODSC", "AbsEntry", {"BankCode", "CountryCod"}, 2},
                  {"TemplateName", "", "RDOC", "DocCode", {"DocName"}, 0},
                  DPX_AccountReference("GLAccount"),
                  DPX_AccountReference("GLInterimAccount")};
  d.keyColumns = {"AbsEntry"};
  d.keyProperties = {"AccNo"};
  d.columns = {"BankCode", "Account", "Branch"};
  d.properties = {"BankCode", "AccNo", "Branch"};
  d.columnFlags = {0, 0, 0};
  d.listProperties = {"BankCode", "AccNo"};
  return d;
}

std::string Quoted(int32_t serverType, const std::string& column) {
  return serverType == 5 ? "\"" + column + "\"" : column;
}

// The first value of the first row of a statement run in the company; empty when no row.
dpx::Variant FirstValue(dpx::host::Company& company, const DPX_SqlText& sql) {
  auto recordset = company.NewRecordset();
  recordset->DoQuery(sql);
  if (recordset->RecordCount() < 1) return {};
  return recordset->Field(0);
}

std::string Child(const std::string& xml, const char* name) {
  std::string value;
  rt::ElementValue(xml, name, 0, xml.size(), value);
  return value;
}

}  // namespace

DPX_HouseBanksAccountsManager::DPX_HouseBanksAccountsManager(DPX_ConnectionContext* context,
                                                             const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}

int32_t DPX_HouseBanksAccountsManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                  std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_HouseBanksAccountsManager::readFromDB");
  DPX_OperationArgs formats = readBaseTable("OFRM", "", 0);
  if (!formats.dataItems.empty()) blocks.push_back(std::move(formats));
  DPX_ObjectCategory::readFromDB(blocks, std::move(chosen));

  // The banks' default accounts, each by its bank's code and country and its number.
  auto base = dpx::records::BaseCompany(m_context);
  const int32_t serverType = base->DbServerType();
  auto recordset = base->NewRecordset();
  recordset->DoQuery("SELECT " + Quoted(serverType, "BankCode") + ", " + Quoted(serverType, "DfltAcct") + ", " +
                     Quoted(serverType, "CountryCod") + " FROM ODSC WHERE " + Quoted(serverType, "DfltAcct") +
                     " IS NOT NULL");
  DPX_OperationArgs defaults;
  defaults.setWithValues(m_categoryKey, "ODSC", m_context, 1, DPX_OperationArgs::kTableRows);
  recordset->MoveFirst();
  for (int i = 0, count = recordset->RecordCount(); i < count; ++i, recordset->MoveNext()) {
    std::string xml;
    DPX_Util::WrapInBOM(xml, "BankCode", DPX_Util::VariantToString(recordset->Field(0)), "DefaultAccounts");
    DPX_Util::WrapInBOM(xml, "DfltAcct", DPX_Util::VariantToString(recordset->Field(1)), "");
    DPX_Util::WrapInBOM(xml, "CountryCod", DPX_Util::VariantToString(recordset->Field(2)), "");
    DPX_Util::WrapInBOM(xml, "", "", "DefaultAccounts");
    defaults.dataItems.push_back(dpx::categories::Record(std::move(xml)));
  }
  if (!defaults.dataItems.empty()) blocks.push_back(std::move(defaults));
  return 0;
}

DPX_TableInfo* DPX_HouseBanksAccountsManager::readFromFile(dpx::ConfigurationSource* configuration) {
  dpx::DPX_LogScope scope("DPX_HouseBanksAccountsManager::readFromFile");
  if (!configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  // The accounts' block, wherever the payment formats and default accounts stand.
  auto accounts = std::find_if(blocks.begin(), blocks.end(),
                               [&](const DPX_OperationArgs& block) { return block.tableName == m_definition.table; });
  if (accounts == blocks.end()) return &m_tableInfo;
  initialize();
  std::vector<std::string> properties = m_properties;
  properties.front() = "BankKey";
  for (const auto& item : accounts->dataItems)
    m_tableInfo.addListRow(parseKeyValues(item, m_keyProperties, properties, "row"));
  return &m_tableInfo;
}

void DPX_HouseBanksAccountsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_HouseBanksAccountsManager::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == m_definition.table) {
      writeMainBlock(block, method);
    } else if (method == 0) {
      continue;  // the removal pass removes the accounts only
    } else if (block.tableName == "OFRM") {
      writeFormats(block);
    } else if (block.tableName == "ODSC") {
      for (const DPX_OperationArgs::DataItem& item : block.dataItems) resolveBankKeys(item.xml);
    } else {
      logUnknownTable(block.tableName, method);
    }
  }
  m_logRecords = 1;
}

void DPX_HouseBanksAccountsManager::writeFormats(DPX_OperationArgs& block) {
  m_logRecords = 0;
  block.setWithValues(m_categoryKey, "OFRM", m_context, 1, DPX_OperationArgs::kTableRows);
  // Formats the target has (by name and type) stay as they are.
  buildTableXml(block, kFormatMatch, kFormatMatch, kFormatMatch, 3);
  nextAbsEntry(block);
  addTargetRows(block, kFormatCounter, "AbsEntry");
  m_logRecords = 1;
}

void DPX_HouseBanksAccountsManager::nextAbsEntry(DPX_OperationArgs& formats) {
  if (formats.dataItems.empty()) return;
  auto target = dpx::records::TargetCompany(m_context);
  const int32_t serverType = target->DbServerType();
  DPX_SqlStatement counter(serverType);
  counter.setTable("ONNM");
  counter.addColumn("AutoKey");
  counter.addValue("ObjectCode", std::to_string(kFormatCounter), DPX_SqlStatement::kAlpha);
  int64_t next = FirstValue(*target, counter.buildSelect()).toInt64();
  // A counter behind the table's keys would give keys the target has.
  const int64_t largest =
      FirstValue(*target, DPX_SqlText() + ("SELECT MAX(" + Quoted(serverType, "AbsEntry") + ") FROM OFRM")).toInt64();
  next = std::max(next, largest);
  for (DPX_OperationArgs::DataItem& item : formats.dataItems) {
    const size_t at = rt::FindStartTag(item.xml, "AbsEntry", 0, item.xml.size());
    size_t begin = 0, end = 0, after = 0;
    if (at == rt::npos || !rt::ElementContent(item.xml, at, begin, end, after)) continue;
    const std::string key = std::to_string(++next);
    if (begin == end)  // an empty <AbsEntry/> gets its key as an element of its own
      item.xml.replace(at, after - at, rt::TextElement("AbsEntry", key));
    else
      item.xml.replace(begin, end - begin, key);
  }
}

void DPX_HouseBanksAccountsManager::resolveBankKeys(const std::string& xml) {
  dpx::DPX_LogScope scope("DPX_HouseBanksAccountsManager::resolveBankKeys");
  const std::string bankCode = Child(xml, "BankCode");
  const std::string account = Child(xml, "DfltAcct");
  const std::string country = Child(xml, "CountryCod");
  if (bankCode.empty() || account.empty()) return;
  auto target = dpx::records::TargetCompany(m_context);
  const int32_t serverType = target->DbServerType();
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2, bankCode, account);
  try {
    DPX_SqlStatement bank(serverType);
    bank.setTable("ODSC");
    bank.addColumn("AbsEntry");
    bank.addValue("BankCode", bankCode, DPX_SqlStatement::kAlpha);
    // A record of a file written before the country travelled names the bank by its code alone.
    if (!country.empty()) bank.addValue("CountryCod", country, DPX_SqlStatement::kAlpha);
    const dpx::Variant bankKey = FirstValue(*target, bank.buildSelect());
    if (bankKey.isEmpty()) return;

    DPX_SqlStatement accounts(serverType);
    accounts.setTable("DSC1");
    accounts.addColumn("AbsEntry");
    accounts.addValue("BankKey", bankKey.toText(), DPX_SqlStatement::kNumeric);
    accounts.addValue("Account", account, DPX_SqlStatement::kAlpha);
    const dpx::Variant accountKey = FirstValue(*target, accounts.buildSelect());
    if (accountKey.isEmpty()) return;

    auto object = target->NewBusinessObject(3);
    if (!dpx::records::GetByKey(*object, {bankKey})) return;
    dpx::categories::PutProperty(object, "DefaultBankAccountKey", accountKey, target.get());
    if (object->Update() == 0) return;
    line.fail(dpx::records::LastErrorText(*target));
  } catch (const dpx::HostError& e) {
    line.fail(dpx::categories::ErrorText(e));
  }
  line.targetCode(bankCode);
  line.write(m_logRecords);
}
