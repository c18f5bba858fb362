// Registry: the company's administration records, numbering, users and the
// host's own bookkeeping tables.
#include "platform/host/object_registry.h"

#include "platform/host/company_store.h"

namespace dpx::host {

namespace {


// A single-row record whose properties are columns of the same name.
void AddSameNamed(TableDef& table, ObjectTypeDef& type, std::initializer_list<std::pair<const char*, PropKind>> props) {
  for (auto& [name, kind] : props) {
    int ft = kind == PropKind::Int ? db_Numeric : kind == PropKind::Double ? db_Float : kind == PropKind::Date ? db_Date : db_Alpha;
    table.columns.push_back(Col(name, ft, name));
    type.properties.push_back(Prop(name, name, kind));
  }
}

}  // namespace

void RegisterAdministration(ObjectRegistry& r) {
  using K = PropKind;

  // Administration info: one row. The columns the program reads by SQL keep
  // the host's column names; the rest are named after their property.
  TableDef oadm{"OADM",
                {Col("CompnyName", db_Alpha, "Company Name", 100), Col("CompnyAddr", db_Memo, "Company Address"),
                 Col("Country", db_Alpha, "Country", 3), Col("MainCurncy", db_Alpha, "Local Currency", 3),
                 Col("SysCurrncy", db_Alpha, "System Currency", 3), Col("CurrPeriod", db_Alpha, "Current Period", 10),
                 Col("PorName", db_Alpha, "Purchase Order Name", 20), Col("PdnName", db_Alpha, "Goods Receipt Name", 20),
                 Col("RpdName", db_Alpha, "Goods Return Name", 20), Col("PchName", db_Alpha, "A/P Invoice Name", 20),
                 Col("RpcName", db_Alpha, "A/P Credit Memo Name", 20)},
                {}};
  ObjectTypeDef adminInfo;
  adminInfo.type = kTypeAdminInfo;
  adminInfo.name = "AdminInfo";
  adminInfo.mainTable = "OADM";
  adminInfo.headerElement = "AdminInfo";
  adminInfo.hasBrowser = false;
  adminInfo.properties = {Prop("CompanyName", "CompnyName"), Prop("Address", "CompnyAddr"), Prop("Country", "Country"),
                          Prop("LocalCurrency", "MainCurncy"), Prop("SystemCurrency", "SysCurrncy"),
                          Prop("CurrentPeriod", "CurrPeriod")};
  AddSameNamed(oadm, adminInfo,
               {{"CompanyColor", K::Int}, {"StandardUnitofLength", K::Int}, {"WeightUnitDefault", K::Int},
                {"TimeTemplate", K::Int}, {"DateTemplate", K::Int}, {"DateSeparator", K::Text},
                {"TotalsAccuracy", K::Int}, {"PriceAccuracy", K::Int}, {"RateAccuracy", K::Int},
                {"AccuracyofQuantities", K::Int}, {"PercentageAccuracy", K::Int}, {"MeasuringAccuracy", K::Int},
                {"DecimalSeparator", K::Text}, {"ThousandsSeparator", K::Text},
                {"DisplayCurrencyontheRight", K::Int}, {"DirectIndirectRate", K::Int},
                {"AccountSegmentsSeparator", K::Text}});
  // The local and system currencies must exist, and keep their currencies
  // from being removed.
  adminInfo.references = {{"LocalCurrency", "OCRN", "CurrCode", true}, {"SystemCurrency", "OCRN", "CurrCode", true}};
  r.addTable(std::move(oadm));
  r.addType(std::move(adminInfo));

  // Company information and the company settings object share CINF.
  TableDef cinf{"CINF", {Col("LawsSet", db_Alpha, "Localization", 10)}, {}};
  ObjectTypeDef companyInfo;
  companyInfo.type = kTypeCompanyInfo;
  companyInfo.name = "CompanyInfo";
  companyInfo.mainTable = "CINF";
  companyInfo.headerElement = "CompanyInfo";
  companyInfo.hasBrowser = false;
  AddSameNamed(cinf, companyInfo,
               {{"EnableAccountSegmentation", K::Int}, {"EnableBillOfExchange", K::Int},
                {"MinimumBaseAmountPerDoc", K::Double}, {"MinimumAmountForAppndixOP", K::Double},
                {"MinimumAmountForAnnualList", K::Double}});
  ObjectTypeDef settings;
  settings.type = kTypeCompanySettings;
  settings.name = "CompanySettings";
  settings.mainTable = "CINF";
  settings.headerElement = "CompanySettings";
  settings.hasBrowser = false;
  settings.properties = {Prop("EnableAccountSegmentation", "EnableAccountSegmentation", K::Int),
                         Prop("Localization", "LawsSet")};
  r.addTable(std::move(cinf));
  r.addType(std::move(companyInfo));
  r.addType(std::move(settings));

  // Next numbers per object code.
  r.addTable({"ONNM",
              {Col("ObjectCode", db_Alpha, "Object Code", 20), Col("AutoKey", db_Numeric, "Next Key"),
               Col("DfltSeries", db_Numeric, "Default Series")},
              {"ObjectCode"}});
  r.addDemoRows({"ONNM",
                 {"ObjectCode", "AutoKey", "DfltSeries"},
                 {{"12", "3", "0"}, {"131", "4", "0"}, {"38", "1", "0"}, {"45", "1", "0"}, {"160", "7", "0"}},
                 {{"12", "3", "0"}, {"131", "3", "0"}, {"38", "1", "0"}, {"45", "1", "0"}, {"160", "5", "0"}}});

  // Users (object type 12). The superuser flag is 'Y'/'N' in the table and
  // 1/0 as a property.
  r.addTable({"OUSR",
              {Col("INTERNAL_K", db_Numeric, "Internal Key"), Col("USERID", db_Numeric, "User ID"),
               Col("USER_CODE", db_Alpha, "User Code", 25), Col("U_NAME", db_Alpha, "User Name", 155),
               Col("SUPERUSER", db_Alpha, "Superuser", 1), Col("PASSWORD", db_Alpha, "Password", 254),
               Col("E_Mail", db_Alpha, "E-Mail", 100), Col("PortNum", db_Alpha, "Mobile Phone", 50),
               Col("Fax", db_Alpha, "Fax", 20), Col("Department", db_Numeric, "Department"),
               Col("Branch", db_Numeric, "Branch"), Col("DfltsGroup", db_Alpha, "Defaults", 8),
               Col("Locked", db_Alpha, "Locked", 1)},
              {"INTERNAL_K"}});
  ObjectTypeDef users;
  users.type = 12;
  users.name = "User";
  users.mainTable = "OUSR";
  users.headerElement = "Users";
  users.keyProperties = {"InternalKey"};
  users.keyPolicy = KeyPolicy::ObjectCounter;
  users.objectCode = "12";
  users.properties = {Prop("InternalKey", "INTERNAL_K", K::Int),
                      Prop("UserCode", "USER_CODE"),
                      Prop("UserName", "U_NAME"),
                      Prop("Superuser", "SUPERUSER", K::YesNo),
                      Prop("eMail", "E_Mail"),
                      Prop("MobilePhoneNumber", "PortNum"),
                      Prop("FaxNumber", "Fax"),
                      Prop("Department", "Department", K::Int),
                      Prop("Branch", "Branch", K::Int),
                      Prop("Defaults", "DfltsGroup"),
                      Prop("Locked", "Locked", K::YesNo),
                      PropertyDef{"UserPassword", "PASSWORD", K::Text, true, false, ""}};
  users.uniqueProperties = {{"UserCode"}};
  // USERID is the user's number everywhere the host lists users; it follows
  // the internal key.
  users.hooks.afterAdd = [](CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& header,
                            std::string&) {
    auto key = header.find("InternalKey");
    if (key != header.end()) store.exec("UPDATE OUSR SET USERID = INTERNAL_K WHERE INTERNAL_K = ?", {key->second});
    return 0;
  };
  r.addType(std::move(users));

  // The host's own bookkeeping: settings entries and user permissions.
  r.addTable({"HOST_SETTINGS", {Col("Code", db_Alpha, "Code", 10), Col("Status", db_Numeric, "Status")}, {"Code"}});
  r.addDemoRows({"HOST_SETTINGS",
                 {"Code", "Status"},
                 {{"1", "1"}, {"6", "0"}, {"11", "1"}},
                 {{"1", "1"}, {"6", "1"}, {"11", "0"}}});
  r.addTable({"HOST_USERPERM",
              {Col("UserCode", db_Alpha, "User Code", 25), Col("PermId", db_Alpha, "Permission", 20),
               Col("Value", db_Numeric, "Value")},
              {"UserCode", "PermId"}});
  r.addDemoRows({"HOST_USERPERM",
                 {"UserCode", "PermId", "Value"},
                 {{"clerk", "1", "1"}, {"clerk", "2", "2"}},
                 {{"clerk", "1", "2"}}});
}

}  // namespace dpx::host
