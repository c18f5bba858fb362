// Company details: the settings family with accompanying table rows, a saved
// company-information record and a record list of its own.
#include "categories/setup/company_details_manager.h"

#include "engine/configuration_source.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"

namespace {

constexpr const char* kCompanyNameColumn = "CompnyName";
constexpr const char* kCompanyName = "CompanyName";

DPX_SettingsCategoryDefinition Definition() {
  constexpr auto T = DPX_SettingsField::kText;
  constexpr auto N = DPX_SettingsField::kNumber;
  constexpr auto R = DPX_SettingsField::kDouble;
  constexpr auto Admin = DPX_SettingsField::kAdminInfo;
  constexpr auto Info = DPX_SettingsField::kCompanyInfo;
  DPX_SettingsCategoryDefinition d;
  d.element = "AdminInfo";
  d.hasCompanyName = true;
  d.writesCompanyName = true;
  // The addresses are saved and shown, never written: the target keeps its own.
  d.fields = {{"Address", T, Admin, false},
              {"Country", T},
              {"PrintingHeader", T},
              {"ManagingDirector", T},
              {"PhoneNumber1", T},
              {"PhoneNumber2", T},
              {"FaxNumber", T},
              {"eMail", T},
              {"AddressinForeignLanguage", T, Admin, false},
              {"LetterHeaderinForeignLangu", T},
              {"ManagingDirectorForeignLan", T},
              {"PhoneNumber1ForeignLang", T},
              {"PhoneNumber2ForeignLang", T},
              {"FaxNumberForeignLang", T},
              {"UseTax", N},
              {"DefaultTaxCode", T},
              {"TaxOffice", T},
              {"FederalTaxID", T},
              {"FederalTaxID2", T},
              {"FederalTaxID3", T},
              {"AdditionalIdNumber", T},
              {"FileNumberinIncomeTax", T},
              {"WithholdingTaxDdctOffice", T},
              {"HolidaysName", T},
              {"UniqueTaxPayerRef", T},
              {"EmployerReference", T},
              {"State", T},
              {"OrganizationNumber", T},
              {"BPTypeCode", T},
              {"PBSGroupNumber", T},
              {"PBSNumber", T},
              {"MinimumAmountfor347Report", R},
              {"CustomerIdNumber", T},
              {"ISRBillerID", T},
              {"ISRType", N},
              {"WithTax", R},
              {"TaxPercentage", R},
              {"TaxCollection", N},
              {"AdvancesonCorpIncomeTax", R}};
  d.savedRecords = {{"CINF",
                     "CompanyInfo",
                     {{"MinimumBaseAmountPerDoc", R, Info},
                      {"MinimumAmountForAppndixOP", R, Info},
                      {.name = "MinimumAmountForAnnualList", .kind = R, .object = Info, .optional = true},
                      {"BISRBankCountry", T, Info},
                      {"BISRBankNo", T, Info},
                      {"BISRBankAccount", T, Info},
                      {"BISRBranch", T, Info}}}};

  // Holidays, their periods and the current period's address lines go
  // first, silently, added or updated whatever the copy method.
  DPX_SettingsRows holidays;
  holidays.table = "OHLD";
  holidays.keyColumns = {"HldCode"};
  holidays.descriptionColumns = {"HldCode", "HldCode"};
  holidays.matchColumns = {"HldCode"};
  holidays.counterObjectType = 186;
  holidays.counterKeyColumn = "HldCode";
  DPX_SettingsRows periods;
  periods.table = "HLD1";
  periods.keyColumns = {"HldCode", "StrDate", "EndDate"};
  periods.descriptionColumns = {"HldCode", "StrDate"};
  periods.matchColumns = {"HldCode", "StrDate", "EndDate"};
  DPX_SettingsRows addressLines;
  addressLines.table = "ADM1";
  addressLines.keyColumns = {"Code"};
  addressLines.descriptionColumns = {"Code", "CurrPeriod"};
  addressLines.matchColumns = {"Code"};
  addressLines.periodColumn = "CurrPeriod";
  d.rowsFirst = {holidays, periods, addressLines};
  return d;
}

}  // namespace

DPX_CompanyDetailsManager::DPX_CompanyDetailsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_SettingsCategory(context, categoryKey, Definition()) {
  m_columns = {"CompnyAddr", "CmpnyAddrF", "CompnyName", "FreeZoneNo", "Phone1",   "Phone2",    "E_Mail",   "Fax",
               "PrintHeadr", "Phone1F",    "Phone2F",    "FaxF",       "TaxIdNum", "TaxIdNum2", "TaxIdNum3"};
  m_properties = {"Address",       "AddressinForeignLanguage", "CompanyName",  "AdditionalIdNumber",
                  "PhoneNumber1",  "PhoneNumber2",             "eMail",        "FaxNumber",
                  "PrintingHeader", "PhoneNumber1ForeignLang", "PhoneNumber2ForeignLang", "FaxNumberForeignLang",
                  "FederalTaxID",  "FederalTaxID2",            "FederalTaxID3"};
  m_columnFlags.assign(m_columns.size(), 1);
}

std::string DPX_CompanyDetailsManager::cleanText(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

bool DPX_CompanyDetailsManager::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, "OADM", m_columns, m_columnFlags);
  return true;
}

template <typename ValueOf>
void DPX_CompanyDetailsManager::addCompanyRow(const std::string& companyName, ValueOf valueOf) {
  DPX_DetailRecord record;
  record.addKeyValue(kCompanyNameColumn, dpx::Variant(companyName));
  record.addValue(kCompanyName, dpx::Variant(companyName));
  m_tableInfo.addRow(record);
  std::vector<std::string> row;
  for (const std::string& property : m_properties) row.push_back(cleanText(valueOf(property)));
  m_tableInfo.addListRow(std::move(row));
  m_tableInfo.setTextList(m_properties);
}

DPX_TableInfo* DPX_CompanyDetailsManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_CompanyDetailsManager::collectDetails");
  initialize();
  std::shared_ptr<dpx::host::HostObject> adminInfo =
      dpx::records::BaseCompany(m_context)->GetCompanyService()->GetAdminInfo();
  // The values as the host holds them: the row's cleaning is the record list's own.
  auto text = [&](const std::string& property) {
    dpx::Variant value;
    if (dpx::Failed(DPX_Util::GetPropertyByName(adminInfo, property, value)))
      throw dpx::HostError(dpx::E_FAIL, "AdminInfo", "The company detail '" + property + "' could not be read");
    return value.toText();
  };
  addCompanyRow(text(kCompanyName), text);
  return &m_tableInfo;
}

DPX_TableInfo* DPX_CompanyDetailsManager::readFromFile(dpx::ConfigurationSource* configuration) {
  dpx::DPX_LogScope scope("DPX_CompanyDetailsManager::readFromFile");
  if (!configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  // The administration record of the last stored copy of the category.
  const DPX_OperationArgs* record = nullptr;
  for (const DPX_OperationArgs& block : blocks)
    if (block.tableName == "OADM" && !block.dataItems.empty()) record = &block;
  if (!record) return &m_tableInfo;
  initialize();
  DPX_DOMParser parser;
  if (!parser.loadXML(record->dataItems.front().xml) || parser.findElement(m_definition.element) == 0) {
    scope.LogError("The stored company details hold no element '%s'", m_definition.element);
    return &m_tableInfo;
  }
  addCompanyRow(cleanText(getChildText(parser, kCompanyName)),
                [&](const std::string& property) { return getChildText(parser, property); });
  return &m_tableInfo;
}
