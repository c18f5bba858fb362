// Registry: records that name other records. Payment methods (OPYM, 147)
// and the payment formats they name (OFRM, numbered by counter 183); sales
// employees (OSLP, 53) with the employees (OHEM, 171) and the five lookup
// tables of the employee data (OHTY, OHTR, OHST, OHPS, OHED); banks (ODSC,
// 3) and house bank accounts (DSC1, 231); the base list of a price list
// (OPLN, 6) and the parent of a territory (OTER, 200).
//
// A price list may be based on itself and a territory's parent is another
// territory: the host checks those after the row is written, so a new list
// based on itself is accepted and one naming a missing list is refused.
//
// Demo rows: records only one company has, names both have under other
// keys, names with ', & and <; a territory tree whose children are numbered
// lower than their parents; a chain of price lists and a self-based list; a
// two-level manager chain; lookup rows whose keys collide between the
// companies; two banks sharing an account number; one bank code in two
// countries.
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

using K = PropKind;

// The hook that refuses a row whose own-table reference names no row of the
// table (checked once the row is written, so a row may name itself). A
// negative or empty value names nothing.
ObjectHooks SelfReference(const char* table, const char* keyColumn, const char* column) {
  auto check = [table, keyColumn, column](CompanyStore& store, const ObjectTypeDef& type,
                                          const std::map<std::string, Variant>& header, std::string& error) {
    const PropertyDef* p = type.findByColumn(column);
    auto it = p ? header.find(p->property) : header.end();
    if (it == header.end() || it->second.isEmpty() || it->second.toText().empty()) return 0;
    int64_t value = it->second.toInt64();
    if (value < 0) return 0;
    const std::string sql = std::string("SELECT 1 FROM ") + table + " WHERE " + keyColumn + " = ? LIMIT 1";
    if (!store.query(sql, {Variant(value)}).rows.empty()) return 0;
    error = type.name + ": '" + p->property + "' refers to " + table + "." + keyColumn + " = '" +
            std::to_string(value) + "', which does not exist";
    return kErrMissingReference;
  };
  ObjectHooks hooks;
  hooks.afterAdd = check;
  hooks.afterUpdate = check;
  return hooks;
}

void RegisterPaymentMethods(ObjectRegistry& r) {
  r.addTable({"OFRM",
              {KeyCol("AbsEntry", db_Numeric, "Internal Number"), Col("Name", db_Alpha, "Format Name", 100),
               Col("FrmatType", db_Numeric, "Format Type")},
              {"AbsEntry"}});
  r.addTable({"OPYM",
              {KeyCol("PayMethCod", db_Alpha, "Payment Method Code", 15), Col("Descript", db_Alpha, "Description", 50),
               Col("Type", db_Alpha, "Type", 1), Col("Format", db_Numeric, "Payment Format")},
              {"PayMethCod"}});
  ObjectTypeDef methods;
  methods.type = 147;
  methods.name = "Payment Method";
  methods.mainTable = "OPYM";
  methods.headerElement = "WizardPaymentMethods";
  methods.keyProperties = {"PaymentMethodCode"};
  methods.properties = {Prop("PaymentMethodCode", "PayMethCod"), Prop("Description", "Descript"),
                        PropertyDef{"Type", "Type", K::Text, false, false, "I"}, Prop("Format", "Format", K::Int)};
  methods.references = {{"Format", "OFRM", "AbsEntry", true}};
  r.addType(std::move(methods));

  r.addDemoRows({"OFRM",
                 {"AbsEntry", "Name", "FrmatType"},
                 {{"1", "Cheque & <Co>", "1"}, {"2", "O'Brien's transfer", "2"}, {"3", "Shared", "1"}},
                 {{"3", "Shared", "1"}, {"5", "Target only format", "2"}}});
  r.addDemoRows({"OPYM",
                 {"PayMethCod", "Descript", "Type", "Format"},
                 {{"CHK", "Cheque's & <pay>", "O", "1"}, {"TRF", "Transfer", "O", "3"}, {"CASH", "Cash", "I", kNull}},
                 {{"TRF", "Old transfer", "O", "5"}, {"TGT", "Target only", "I", kNull}}});
}

void RegisterEmployees(ObjectRegistry& r) {
  // The lookup tables of the employee data: keys the host numbers by its counters.
  r.addTable({"OHTY",
              {KeyCol("typeID", db_Numeric, "Type ID"), Col("name", db_Alpha, "Name", 20),
               Col("locked", db_Alpha, "Locked", 1)},
              {"typeID"}});
  r.addTable({"OHTR", {KeyCol("reasonID", db_Numeric, "Reason ID"), Col("name", db_Alpha, "Name", 20)}, {"reasonID"}});
  r.addTable({"OHST", {KeyCol("statusID", db_Numeric, "Status ID"), Col("name", db_Alpha, "Name", 20)}, {"statusID"}});
  r.addTable({"OHPS", {KeyCol("posID", db_Numeric, "Position ID"), Col("name", db_Alpha, "Name", 20)}, {"posID"}});
  r.addTable({"OHED",
              {KeyCol("edType", db_Numeric, "Education Type"), Col("name", db_Alpha, "Name", 20),
               Col("Locked", db_Alpha, "Locked", 1)},
              {"edType"}});

  // OHEM is the master data's table of employees (key, last and first name).
  r.extendTable("OHEM", {Col("manager", db_Numeric, "Manager"), Col("dept", db_Numeric, "Department"),
                         Col("branch", db_Numeric, "Branch"), Col("workCountr", db_Alpha, "Work Country", 3),
                         Col("homeCountr", db_Alpha, "Home Country", 3), Col("citizenshp", db_Alpha, "Citizenship", 3),
                         Col("brthCountr", db_Alpha, "Country of Birth", 3), Col("workState", db_Alpha, "Work State", 3),
                         Col("homeState", db_Alpha, "Home State", 3), Col("userId", db_Numeric, "User Code"),
                         Col("position", db_Numeric, "Position"), Col("jobTitle", db_Alpha, "Job Title", 20)});
  ObjectTypeDef employees;
  employees.type = 171;
  employees.name = "Employee";
  employees.mainTable = "OHEM";
  employees.headerElement = "EmployeesInfo";
  employees.keyProperties = {"EmployeeID"};
  employees.keyPolicy = KeyPolicy::NextNumber;
  employees.properties = {Prop("EmployeeID", "empID", K::Int),
                          Prop("LastName", "lastName"),
                          Prop("FirstName", "firstName"),
                          Prop("Manager", "manager", K::Int),
                          Prop("Department", "dept", K::Int),
                          Prop("Branch", "branch", K::Int),
                          Prop("WorkCountryCode", "workCountr"),
                          Prop("HomeCountry", "homeCountr"),
                          Prop("CitizenshipCountryCode", "citizenshp"),
                          Prop("CountryOfBirth", "brthCountr"),
                          Prop("WorkStateCode", "workState"),
                          Prop("HomeState", "homeState"),
                          Prop("ApplicationUserID", "userId", K::Int),
                          Prop("Position", "position", K::Int),
                          Prop("JobTitle", "jobTitle")};
  employees.references = {{"Manager", "OHEM", "empID", true},
                          {"Department", "OUDP", "Code", true},
                          {"Branch", "OUBR", "Code", true},
                          {"WorkCountryCode", "OCRY", "Code", true},
                          {"HomeCountry", "OCRY", "Code", true},
                          {"CitizenshipCountryCode", "OCRY", "Code", true},
                          {"CountryOfBirth", "OCRY", "Code", true},
                          {"WorkStateCode", "OCST", "Code", true},
                          {"HomeState", "OCST", "Code", true},
                          {"ApplicationUserID", "OUSR", "USERID", true}};
  r.addType(std::move(employees));

  // OSLP is the master data's table of sales employees (key and name).
  r.extendTable("OSLP", {Col("Memo", db_Alpha, "Remarks", 50), Col("GroupCode", db_Numeric, "Commission Group"),
                         Col("Commission", db_Float, "Commission %"), Col("EmployeeID", db_Numeric, "Employee")});
  ObjectTypeDef sales;
  sales.type = 53;
  sales.name = "Sales Employee";
  sales.mainTable = "OSLP";
  sales.headerElement = "SalesPersons";
  sales.keyProperties = {"SalesEmployeeCode"};
  sales.keyPolicy = KeyPolicy::NextNumber;
  sales.properties = {Prop("SalesEmployeeCode", "SlpCode", K::Int), Prop("SalesEmployeeName", "SlpName"),
                      Prop("Remarks", "Memo"), Prop("CommissionGroup", "GroupCode", K::Int),
                      Prop("CommissionForSalesEmployee", "Commission", K::Double),
                      Prop("EmployeeID", "EmployeeID", K::Int)};
  sales.uniqueProperties = {{"SalesEmployeeName"}};
  sales.references = {{"CommissionGroup", "OCOG", "GroupCode", true}, {"EmployeeID", "OHEM", "empID", true}};
  r.addType(std::move(sales));

  r.addDemoRows({"OHTY",
                 {"typeID", "name", "locked"},
                 {{"1", "Full time", "N"}, {"2", "O'Brien's & <part>", "N"}, {"3", "Locked type", "Y"}},
                 {{"1", "Contractor", "N"}, {"4", "Full time", "N"}}});
  r.addDemoRows({"OHTR", {"reasonID", "name"}, {{"1", "Resigned"}, {"2", "Retired & <left>"}},
                 {{"1", "Dismissed"}, {"3", "Resigned"}}});
  r.addDemoRows({"OHST", {"statusID", "name"}, {{"1", "Active"}, {"2", "On leave's"}},
                 {{"1", "Terminated"}, {"2", "Active"}}});
  r.addDemoRows({"OHPS", {"posID", "name"}, {{"1", "Manager"}, {"2", "Clerk & <Assistant>"}},
                 {{"1", "Director"}, {"5", "Manager"}}});
  r.addDemoRows({"OHED",
                 {"edType", "name", "Locked"},
                 {{"1", "Bachelor", "N"}, {"2", "O'Level & <A>", "N"}, {"3", "Locked education", "Y"}},
                 {{"1", "Master", "N"}, {"2", "Bachelor", "N"}}});
  r.addDemoRows({"ONNM",
                 {"ObjectCode", "AutoKey", "DfltSeries"},
                 {{"172", "4", "0"}, {"173", "3", "0"}, {"174", "3", "0"}, {"175", "4", "0"}, {"210", "3", "0"},
                  {"183", "4", "0"}},
                 {{"172", "5", "0"}, {"173", "3", "0"}, {"174", "4", "0"}, {"175", "3", "0"}, {"210", "6", "0"},
                  {"183", "40", "0"}}});
  // Smith is in both (the master data's rows); O'Neil reports to Smith and
  // Brown to O'Neil, and Brown is in the target under another key.
  r.addDemoRows({"OHEM",
                 {"empID", "lastName", "firstName", "manager", "dept", "branch", "workCountr", "homeState", "userId"},
                 {{"2", "O'Neil", "Mary & <Ann>", "1", "3", "2", "IE", "NY", "2"},
                  {"3", "Brown", "Al", "2", "2", kNull, "US", kNull, kNull}},
                 {{"9", "Target-only", "Tim", kNull, kNull, kNull, kNull, kNull, kNull},
                  {"10", "Brown", "Al", "8", kNull, kNull, kNull, kNull, kNull}}});
  r.addDemoRows({"OSLP",
                 {"SlpCode", "SlpName", "Memo", "GroupCode", "Commission", "EmployeeID"},
                 {{"-1", "-No Sales Employee-", kNull, kNull, "0", kNull},
                  {"2", "O'Hara & <Sales>", "Key's account", "1", "2.5", "3"},
                  {"3", "Base only", kNull, kNull, "0", "2"}},
                 {{"-1", "-No Sales Employee-", kNull, kNull, "0", kNull},
                  {"6", "O'Hara & <Sales>", "old", kNull, "1", kNull},
                  {"7", "Target only", kNull, kNull, "0", "9"}}});
}

void RegisterBanks(ObjectRegistry& r) {
  r.addTable({"ODSC",
              {KeyCol("AbsEntry", db_Numeric, "Internal Number"), Col("CountryCod", db_Alpha, "Country", 3),
               Col("BankCode", db_Alpha, "Bank Code", 30), Col("BankName", db_Alpha, "Bank Name", 250),
               Col("PostOffice", db_Alpha, "Post Office", 1), Col("DfltBranch", db_Alpha, "Default Branch", 50),
               Col("DfltAcct", db_Alpha, "Default Account", 50),
               Col("DfltActKey", db_Numeric, "Default Account Key")},
              {"AbsEntry"}});
  ObjectTypeDef banks;
  banks.type = 3;
  banks.name = "Bank";
  banks.mainTable = "ODSC";
  banks.headerElement = "Banks";
  banks.keyProperties = {"AbsoluteEntry"};
  banks.keyPolicy = KeyPolicy::NextNumber;
  banks.properties = {Prop("AbsoluteEntry", "AbsEntry", K::Int),
                      Prop("CountryCode", "CountryCod"),
                      Prop("BankCode", "BankCode"),
                      Prop("BankName", "BankName"),
                      PropertyDef{"PostOffice", "PostOffice", K::Text, false, false, "N"},
                      Prop("BranchforOutgoingChecks", "DfltBranch"),
                      Prop("AccountforOutgoingChecks", "DfltAcct"),
                      Prop("DefaultBankAccountKey", "DfltActKey", K::Int)};
  banks.uniqueProperties = {{"CountryCode", "BankCode"}};
  banks.references = {{"DefaultBankAccountKey", "DSC1", "AbsEntry", true}};
  r.addType(std::move(banks));

  r.addTable({"DSC1",
              {KeyCol("AbsEntry", db_Numeric, "Internal Number"), Col("BankCode", db_Alpha, "Bank Code", 30),
               Col("Account", db_Alpha, "Account No.", 50), Col("Branch", db_Alpha, "Branch", 50),
               Col("BankKey", db_Numeric, "Bank Key"), Col("GLAccount", db_Alpha, "G/L Account", 15),
               Col("GLIntAcct", db_Alpha, "G/L Interim Account", 15),
               Col("TemplateName", db_Alpha, "Template", 20)},
              {"AbsEntry"}});
  ObjectTypeDef accounts;
  accounts.type = 231;
  accounts.name = "House Bank Account";
  accounts.mainTable = "DSC1";
  accounts.headerElement = "HouseBankAccounts";
  accounts.keyProperties = {"AbsoluteEntry"};
  accounts.keyPolicy = KeyPolicy::NextNumber;
  accounts.properties = {Prop("AbsoluteEntry", "AbsEntry", K::Int), Prop("BankCode", "BankCode"),
                         Prop("AccNo", "Account"),        Prop("Branch", "Branch"),
                         Prop("BankKey", "BankKey", K::Int), Prop("GLAccount", "GLAccount"),
                         Prop("GLInterimAccount", "GLIntAcct"), Prop("TemplateName", "TemplateName")};
  accounts.uniqueProperties = {{"BankKey", "AccNo"}};
  accounts.references = {{"BankKey", "ODSC", "AbsEntry", false},
                         {"GLAccount", "OACT", "AcctCode", true},
                         {"GLInterimAccount", "OACT", "AcctCode", true},
                         {"TemplateName", "RDOC", "DocCode", true}};
  r.addType(std::move(accounts));

  // AIB is a bank in Ireland and in Germany; the Irish AIB and the American
  // bank both use account number 1001. The target's banks name no default
  // account, so Replace All may remove the target's accounts.
  r.addDemoRows({"ODSC",
                 {"AbsEntry", "CountryCod", "BankCode", "BankName", "DfltBranch", "DfltAcct", "DfltActKey"},
                 {{"1", "US", "BOA", "Bank of America", "Main", "1001", "1"},
                  {"2", "IE", "AIB", "Allied Irish & <O'Brien's>", "Dublin", "1001", "2"},
                  {"3", "DE", "AIB", "AIB Germany", "Berlin", "3003", "3"}},
                 {{"1", "IE", "AIB", "AIB (old)", kNull, kNull, kNull},
                  {"4", "FR", "TGT", "Target only bank", kNull, kNull, kNull}}});
  r.addDemoRows({"DSC1",
                 {"AbsEntry", "BankCode", "Account", "Branch", "BankKey", "GLAccount", "TemplateName"},
                 {{"1", "BOA", "1001", "Main", "1", "_SYS01", "INV11"},
                  {"2", "AIB", "1001", "Dublin", "2", "_SYS01", kNull},
                  {"3", "AIB", "3003", "Berlin", "3", kNull, kNull}},
                 {{"1", "AIB", "1001", "Old branch", "1", kNull, kNull},
                  {"2", "TGT", "9009", "Target only", "4", kNull, kNull}}});
}

void RegisterSelfReferences(ObjectRegistry& r) {
  // OPLN (6) is the master data's table of price lists; OTER the master data's territories.
  r.extendTable("OPLN", {Col("BASE_NUM", db_Numeric, "Base Price List")});
  r.extendType(6, {Prop("BasePriceList", "BASE_NUM", K::Int)});
  r.hooksOf(6) = SelfReference("OPLN", "ListNum", "BASE_NUM");

  r.extendTable("OTER", {Col("parent", db_Numeric, "Parent")});
  ObjectTypeDef territories;
  territories.type = 200;
  territories.name = "Territory";
  territories.mainTable = "OTER";
  territories.headerElement = "Territories";
  territories.keyProperties = {"TerritoryID"};
  territories.keyPolicy = KeyPolicy::NextNumber;
  territories.properties = {Prop("TerritoryID", "territryID", K::Int), Prop("Description", "descript"),
                            Prop("Parent", "parent", K::Int)};
  territories.hooks = SelfReference("OTER", "territryID", "parent");
  r.addType(std::move(territories));

  // Wholesale is based on Dealer, Dealer on Base Price; Own list on itself.
  r.addDemoRows({"OPLN",
                 {"ListNum", "ListName", "BASE_NUM"},
                 {{"4", "Wholesale & <Co>'s", "5"}, {"5", "Dealer", "1"}, {"6", "Own list", "6"}},
                 {{"7", "Dealer", "7"}, {"8", "Target only list", "8"}}});
  // Dublin (2) lies in Ireland (6), Ireland in Europe (9): children are numbered lower.
  r.addDemoRows({"OTER",
                 {"territryID", "descript", "parent"},
                 {{"9", "Europe", "-1"}, {"6", "O'Neill's & <Ireland>", "9"}, {"2", "Dublin", "6"}},
                 {{"4", "Europe", "-1"}, {"8", "Target only", "-1"}}});
}

}  // namespace

void RegisterRecordsThatNameRecords(ObjectRegistry& r) {
  RegisterPaymentMethods(r);
  RegisterEmployees(r);
  RegisterBanks(r);
  RegisterSelfReferences(r);
}

}  // namespace dpx::host
