// The reader and writer of the categories that carry accounts of the
// posting-period categories.
#include "categories/finance/period_accounts_category.h"

#include <algorithm>

#include "categories/category_support.h"
#include "engine/configuration_source.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"
#include "platform/host/recordset.h"
#include "platform/host/service_object.h"

namespace {

constexpr const char* kCategories = "OACP";
constexpr const char* kSettings = "OADM";
constexpr const char* kStart = "PeriodCategory";
constexpr const char* kStartProperty = "BeginningofFinancialYear";

// The first column of the first row the statement gives in the company; false when there is none.
bool FirstText(dpx::host::Company& company, const DPX_SqlText& sql, std::string& text) {
  auto recordset = company.NewRecordset();
  recordset->DoQuery(sql);
  if (recordset->RecordCount() < 1) return false;
  const dpx::Variant value = recordset->Field(0);
  text = value.isEmpty() ? std::string() : DPX_Util::VariantToString(value);
  return true;
}

// SELECT wanted FROM OACT WHERE given = code, through the statement builder.
bool LookUpAccount(dpx::host::Company& company, const char* wanted, const char* given, const std::string& code,
                   std::string& text) {
  DPX_SqlStatement statement(company.DbServerType());
  statement.setTable("OACT");
  statement.addColumn(wanted);
  statement.addValue(given, code, DPX_SqlStatement::kAlpha);
  return FirstText(company, statement.buildSelect(), text);
}

// A property as text; one that is not set reads as an empty text.
std::string PropertyText(const std::shared_ptr<dpx::host::HostObject>& object, const std::string& name) {
  const dpx::Variant value = dpx::categories::GetProperty(object, name);
  return value.isEmpty() ? std::string() : DPX_Util::VariantToString(value);
}

}  // namespace

DPX_PeriodAccountsCategory::DPX_PeriodAccountsCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                                       DPX_PeriodAccountsDefinition definition)
    : DPX_DIInterface(context, categoryKey), m_definition(std::move(definition)) {
  if (!m_definition.listsCategories) return;
  m_keyColumns = {"PeriodCat"};
  m_keyProperties = {kStart};
  m_columns = {"PeriodCat"};
  m_properties = {kStart};
  m_listColumns = {kStart};
  m_columnFlags = {0};
}

bool DPX_PeriodAccountsCategory::initialize() {
  if (m_definition.listsCategories)
    dpx::records::DescribeColumns(m_tableInfo, m_context, kCategories, m_columns, m_columnFlags);
  return true;
}

DPX_TableInfo* DPX_PeriodAccountsCategory::collectDetails() {
  if (!m_definition.listsCategories) return &m_tableInfo;
  initialize();
  auto recordset = queryBaseList("SELECT PeriodCat, PeriodCat FROM OACP");
  recordset->MoveFirst();
  while (!recordset->EoF()) {
    m_tableInfo.addListRow(readListRows(*recordset, m_properties, m_keyProperties));
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

DPX_TableInfo* DPX_PeriodAccountsCategory::readFromFile(dpx::ConfigurationSource* configuration) {
  if (!m_definition.listsCategories || !configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  // The period categories' block, not the settings' block after it: each
  // category by the start of its financial year.
  auto categories = std::find_if(blocks.begin(), blocks.end(),
                                 [](const DPX_OperationArgs& block) { return block.tableName == kCategories; });
  if (categories == blocks.end()) return &m_tableInfo;
  initialize();
  for (const auto& item : categories->dataItems)
    m_tableInfo.addListRow(parseKeyValues(item, m_keyProperties, m_properties, m_definition.root));
  return &m_tableInfo;
}

std::string DPX_PeriodAccountsCategory::formatCodeOf(const std::string& code) const {
  if (!m_accountFlag || code.empty()) return code;
  std::string formatCode;
  return LookUpAccount(*dpx::records::BaseCompany(m_context), "FormatCode", "AcctCode", code, formatCode) ? formatCode
                                                                                                         : code;
}

bool DPX_PeriodAccountsCategory::accountCodeOf(const std::string& text, std::string& code) const {
  code = text;
  if (!m_accountFlag || text.empty()) return true;
  return LookUpAccount(*dpx::records::TargetCompany(m_context), "AcctCode", "FormatCode", text, code);
}

std::string DPX_PeriodAccountsCategory::buildCategory(const std::shared_ptr<dpx::host::ServiceObject>& category) const {
  std::string xml;
  const dpx::Variant start = dpx::categories::GetProperty(category, kStartProperty);
  std::string date = start.toDate().toYmd();
  if (date.size() == 8) date = date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
  DPX_Util::WrapInBOM(xml, kStart, date, m_definition.root);
  for (const DPX_PeriodElement& element : m_definition.elements) {
    const std::string text = PropertyText(category, element.name);
    DPX_Util::WrapInBOM(xml, element.name, element.kind == DPX_PeriodElement::kAccount ? formatCodeOf(text) : text, "");
  }
  DPX_Util::WrapInBOM(xml, "", "", m_definition.root);
  return xml;
}

int32_t DPX_PeriodAccountsCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                               std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_PeriodAccountsCategory::readFromDB");
  auto base = dpx::records::BaseCompany(m_context);
  auto service = base->GetCompanyService();
  auto list = service->GetPeriodCategoryList();
  m_accountFlag = DPX_Util::QueryHostFlag(base);

  DPX_OperationArgs categories;
  categories.setWithValues(m_categoryKey, kCategories, m_context, 1, DPX_OperationArgs::kTableRows);
  std::vector<std::pair<std::string, std::shared_ptr<dpx::host::ServiceObject>>> all;
  for (int i = 0; i < list->Count(); ++i) {
    auto category = service->GetPeriodCategory(list->Item(i));
    all.emplace_back(PropertyText(category, "PeriodCategory"), category);
  }
  if (!m_definition.listsCategories || chosen.empty()) {
    for (const auto& entry : all) categories.dataItems.push_back(dpx::categories::Record(buildCategory(entry.second)));
  } else {
    for (const DPX_DetailRecord& record : chosen) {
      const std::string code = DPX_Util::VariantToString(record.getKeyValue(0));
      auto it = std::find_if(all.begin(), all.end(), [&](const auto& entry) { return entry.first == code; });
      if (it != all.end()) categories.dataItems.push_back(dpx::categories::Record(buildCategory(it->second)));
    }
  }
  // The settings' categories read their block also when there is no period category.
  if (!categories.dataItems.empty() || !m_definition.settings.empty()) blocks.push_back(std::move(categories));
  if (m_definition.settings.empty()) return 0;

  const std::string xml = dpx::categories::ReadAdminSettings(m_context, m_definition.root, m_definition.settings);
  DPX_OperationArgs settings;
  settings.setWithValues(m_categoryKey, kSettings, m_context, 1, DPX_OperationArgs::kTableRows);
  settings.dataItems.push_back(dpx::categories::Record(xml));
  blocks.push_back(std::move(settings));
  return 0;
}

void DPX_PeriodAccountsCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_PeriodAccountsCategory::writeData");
  if (method == 0 || blocks.empty()) return;  // the removal pass changes nothing
  m_accountFlag = DPX_Util::QueryHostFlag(dpx::records::TargetCompany(m_context));
  for (const DPX_OperationArgs& block : blocks) {
    if (block.tableName == kCategories) {
      for (const DPX_OperationArgs::DataItem& item : block.dataItems) writeCategory(item.xml);
    } else if (block.tableName == kSettings && !m_definition.settings.empty()) {
      dpx::categories::WriteAdminSettings(m_context, m_categoryKey, block, m_definition.root, m_definition.settings);
    } else {
      logUnknownTable(block.tableName, method);
    }
  }
}

void DPX_PeriodAccountsCategory::writeCategory(const std::string& xml) {
  dpx::DPX_LogScope scope("DPX_PeriodAccountsCategory::writeCategory");
  DPX_DOMParser parser;
  dpx::DateTime start;
  // A record that does not parse, or whose start is no date, matches no category.
  if (!parser.loadXML(xml) || parser.findElement(m_definition.root) == 0 ||
      !dpx::DateTime::parse(getChildText(parser, kStart), start))
    return;
  auto target = dpx::records::TargetCompany(m_context);
  auto service = target->GetCompanyService();
  auto list = service->GetPeriodCategoryList();
  for (int i = 0; i < list->Count(); ++i) {
    std::shared_ptr<dpx::host::ServiceObject> category;
    try {
      category = service->GetPeriodCategory(list->Item(i));
    } catch (const dpx::HostError& e) {
      scope.LogWarning("Period category %d of the target is passed over: %s", i, e.what());
      continue;
    }
    if (dpx::categories::GetProperty(category, kStartProperty).toDate().toYmd() != start.toYmd()) continue;

    const std::string code = PropertyText(category, "PeriodCategory");
    dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
    line.start(m_categoryKey, 2);
    line.baseCode(code);
    line.targetCode(code);
    std::string missing;  // format codes the target lacks: those accounts stay as they were
    for (const DPX_PeriodElement& element : m_definition.elements) {
      if (!element.written) continue;
      std::string account;
      const std::string text = getChildText(parser, element.name);
      if (!accountCodeOf(text, account)) {
        if (missing.find("'" + text + "'") == std::string::npos) missing += (missing.empty() ? "'" : ", '") + text + "'";
        continue;
      }
      dpx::categories::PutProperty(category, element.name, dpx::Variant(account), target.get());
    }
    try {
      const int result = service->UpdatePeriodCategory(category);
      if (result != 0)
        line.fail(dpx::records::LastErrorText(*target));
      else if (!missing.empty())
        line.fail("The target has no account of the format codes " + missing);
      else
        line.result("402");
    } catch (const dpx::HostError& e) {
      line.fail(dpx::categories::ErrorText(e));
    }
    line.write(true);
    return;  // a record updates the first category of its start only
  }
}

namespace dpx::categories {

std::string ReadAdminSettings(DPX_ConnectionContext* context, const std::string& root,
                              const std::vector<DPX_AdminSetting>& settings) {
  auto adminInfo = dpx::records::BaseCompany(context)->GetCompanyService()->GetAdminInfo();
  std::string xml;
  bool first = true;
  for (const DPX_AdminSetting& setting : settings) {
    const dpx::Variant value = GetProperty(adminInfo, setting.name);
    const std::string text = setting.rule == DPX_AdminSetting::kNumber ? DPX_Util::IntToBSTR(value.toInt32())
                                                                        : PropertyText(adminInfo, setting.name);
    DPX_Util::WrapInBOM(xml, setting.name, text, first ? root : "");
    first = false;
  }
  DPX_Util::WrapInBOM(xml, "", "", root);
  return xml;
}

void WriteAdminSettings(DPX_ConnectionContext* context, const std::string& categoryKey,
                        const DPX_OperationArgs& block, const std::string& root,
                        const std::vector<DPX_AdminSetting>& settings) {
  dpx::DPX_LogScope scope("WriteAdminSettings");
  auto target = dpx::records::TargetCompany(context);
  auto service = target->GetCompanyService();
  auto adminInfo = service->GetAdminInfo();
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(context));
  line.start(categoryKey, 2);
  line.baseCode(kSettings);
  line.targetCode(kSettings);
  line.targetDescription(PropertyText(adminInfo, "CompanyName"));
  DPX_DOMParser parser;
  if (block.dataItems.empty() || !parser.loadXML(block.dataItems.front().xml) ||
      parser.findElement(root) == 0) {
    line.fail("The settings record holds no element '" + root + "'");
    line.write(true);
    return;
  }
  try {
    for (const DPX_AdminSetting& setting : settings) {
      if (setting.rule == DPX_AdminSetting::kNotWritten) continue;
      const std::string text = DPX_DIInterface::getChildText(parser, setting.name);
      if (setting.rule == DPX_AdminSetting::kNumber)
        PutProperty(adminInfo, setting.name, dpx::Variant(DPX_Util::BSTRToInt(text)), target.get());
      else if (setting.rule == DPX_AdminSetting::kTextAlways || !text.empty())
        PutProperty(adminInfo, setting.name, dpx::Variant(text), target.get());
    }
    if (service->UpdateAdminInfo(adminInfo) == 0)
      line.result("402");
    else
      line.fail(dpx::records::LastErrorText(*target));
  } catch (const dpx::HostError& e) {
    line.fail(ErrorText(e));
  }
  line.write(true);
}

}  // namespace dpx::categories
