// Registry: the chart of accounts and what hangs on it. The accounts object
// (type 1) over OACT, whose table the tax definitions register, with the
// account categories (OACG rows, counter 238); account segments (OASG, 142)
// and their codes (OASC, 143); the credit cards' account (OCRC, 36, the
// master data's type); budgets (OBGT, 77) with their scenarios (OBGS, 91) and
// distribution methods (OBGD, 78); financial report templates (OFRT rows,
// counter 95) with their categories (OFRC) and account lines (FRC1).
//
// An account names its father and its category; a budget names its scenario,
// account and method; a card its account. The host refuses a write that
// names a row the company lacks, and a removal while a row still names the
// record, so a father goes in before its children and the transport account
// stays while a tax record names it.
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

using K = PropKind;

// A business object over one table whose first property is the key the host numbers.
ObjectTypeDef NumberedType(int number, const char* name, const char* table, const char* element,
                           std::vector<PropertyDef> properties) {
  ObjectTypeDef type;
  type.type = number;
  type.name = name;
  type.mainTable = table;
  type.headerElement = element;
  type.keyProperties = {properties.front().property};
  type.keyPolicy = KeyPolicy::NextNumber;
  type.properties = std::move(properties);
  return type;
}

void RegisterAccounts(ObjectRegistry& r) {
  r.extendTable("OACT", {Col("FrgnName", db_Alpha, "Foreign Name", 100), Col("ActCurr", db_Alpha, "Currency", 3),
                         Col("LocManTran", db_Alpha, "Lock Manual Transaction", 1),
                         Col("Finanse", db_Alpha, "Cash Account", 1),
                         Col("RevalMatch", db_Alpha, "Revaluation Coordinated", 1),
                         Col("Project", db_Alpha, "Project", 20), Col("Details", db_Alpha, "Details", 254),
                         Col("Category", db_Numeric, "Account Category"), Col("Postable", db_Alpha, "Postable", 1),
                         Col("Levels", db_Numeric, "Level"), Col("FatherNum", db_Alpha, "Father Account", 15),
                         Col("GrpLine", db_Numeric, "Group Line")});
  ObjectTypeDef accounts;
  accounts.type = 1;
  accounts.name = "Account";
  accounts.mainTable = "OACT";
  accounts.headerElement = "ChartOfAccounts";
  accounts.keyProperties = {"Code"};
  accounts.properties = {Prop("Code", "AcctCode"),
                         Prop("Name", "AcctName"),
                         Prop("FormatCode", "FormatCode"),
                         Prop("ForeignName", "FrgnName"),
                         Prop("AcctCurrency", "ActCurr"),
                         Prop("LockManualTransaction", "LocManTran", K::YesNo),
                         Prop("CashAccount", "Finanse", K::YesNo),
                         Prop("RevaluationCoordinated", "RevalMatch", K::YesNo),
                         Prop("ProjectCode", "Project"),
                         Prop("Details", "Details"),
                         Prop("Category", "Category", K::Int),
                         Prop("ActiveAccount", "Postable", K::YesNo),
                         Prop("AccountLevel", "Levels", K::Int),
                         Prop("FatherAccountKey", "FatherNum"),
                         Prop("GroupLine", "GrpLine", K::Int)};
  accounts.references = {{"FatherAccountKey", "OACT", "AcctCode", true}, {"Category", "OACG", "AbsId", true}};
  r.addType(std::move(accounts));

  r.addTable({"OACG", {KeyCol("AbsId", db_Numeric, "Internal Number"), Col("Name", db_Alpha, "Name", 100)}, {"AbsId"}});
}

void RegisterSegments(ObjectRegistry& r) {
  r.addTable({"OASG",
              {KeyCol("AbsId", db_Numeric, "Segment"), Col("Name", db_Alpha, "Name", 30), Col("Size", db_Numeric, "Size")},
              {"AbsId"}});
  ObjectTypeDef segments =
      NumberedType(142, "Account Segment", "OASG", "AccountSegmentations",
                   {Prop("Numerator", "AbsId", K::Int), Prop("Name", "Name"), Prop("Size", "Size", K::Int)});
  segments.uniqueProperties = {{"Name"}};
  r.addType(std::move(segments));

  r.addTable({"OASC",
              {KeyCol("SegmentId", db_Numeric, "Segment"), KeyCol("Code", db_Alpha, "Code", 20),
               Col("Name", db_Alpha, "Name", 100), Col("ShortName", db_Alpha, "Short Name", 30)},
              {"SegmentId", "Code"}});
  ObjectTypeDef codes;
  codes.type = 143;
  codes.name = "Account Segment Code";
  codes.mainTable = "OASC";
  codes.headerElement = "AccountSegmentationCodes";
  codes.keyProperties = {"SegmentID", "Code"};
  codes.properties = {Prop("SegmentID", "SegmentId", K::Int), Prop("Code", "Code"), Prop("Name", "Name"),
                      Prop("ShortName", "ShortName")};
  codes.references = {{"SegmentID", "OASG", "AbsId", false}};
  r.addType(std::move(codes));
}

void RegisterCreditCardAccount(ObjectRegistry& r) {
  r.extendTable("OCRC", {Col("Phone", db_Alpha, "Telephone", 20), Col("CompanyId", db_Alpha, "Company ID", 20),
                         Col("GLAccount", db_Alpha, "G/L Account", 15)});
  r.extendType(36, {Prop("Telephone", "Phone"), Prop("CompanyID", "CompanyId"), Prop("GLAccount", "GLAccount")});
  r.extendReferences(36, {{"GLAccount", "OACT", "AcctCode", true}});
}

void RegisterBudgets(ObjectRegistry& r) {
  r.addTable({"OBGS", {KeyCol("AbsId", db_Numeric, "Scenario"), Col("Name", db_Alpha, "Name", 30)}, {"AbsId"}});
  ObjectTypeDef scenarios = NumberedType(91, "Budget Scenario", "OBGS", "BudgetScenarios",
                                         {Prop("Numerator", "AbsId", K::Int), Prop("Name", "Name")});
  scenarios.uniqueProperties = {{"Name"}};
  r.addType(std::move(scenarios));

  r.addTable({"OBGD", {KeyCol("BgdCode", db_Numeric, "Method"), Col("BgdName", db_Alpha, "Description", 30)}, {"BgdCode"}});
  ObjectTypeDef methods = NumberedType(78, "Budget Distribution", "OBGD", "BudgetDistribution",
                                       {Prop("DivisionCode", "BgdCode", K::Int), Prop("Description", "BgdName")});
  methods.uniqueProperties = {{"Description"}};
  r.addType(std::move(methods));

  r.addTable({"OBGT",
              {KeyCol("AbsId", db_Numeric, "Budget"), Col("Instance", db_Numeric, "Scenario"),
               Col("AcctCode", db_Alpha, "Account", 15), Col("BgdCode", db_Numeric, "Distribution Method"),
               Col("DebLTotal", db_Float, "Debit Total")},
              {"AbsId"}});
  ObjectTypeDef budgets =
      NumberedType(77, "Budget", "OBGT", "Budget",
                   {Prop("Numerator", "AbsId", K::Int), Prop("BudgetScenario", "Instance", K::Int),
                    Prop("AccountCode", "AcctCode"), Prop("DivisionCode", "BgdCode", K::Int),
                    Prop("TotalAnnualBudgetDebitLoc", "DebLTotal", K::Double)});
  budgets.uniqueProperties = {{"BudgetScenario", "AccountCode"}};
  budgets.references = {{"BudgetScenario", "OBGS", "AbsId", false},
                        {"AccountCode", "OACT", "AcctCode", false},
                        {"DivisionCode", "OBGD", "BgdCode", true}};
  r.addType(std::move(budgets));
}

void RegisterReportTemplates(ObjectRegistry& r) {
  r.addTable({"OFRT", {KeyCol("AbsId", db_Numeric, "Template"), Col("Name", db_Alpha, "Name", 100)}, {"AbsId"}});
  r.addTable({"OFRC",
              {KeyCol("CatId", db_Numeric, "Category"), KeyCol("TemplateId", db_Numeric, "Template"),
               Col("Name", db_Alpha, "Name", 100), Col("FatherNum", db_Numeric, "Father Category")},
              {"CatId", "TemplateId"}});
  r.addTable({"FRC1",
              {KeyCol("AcctCode", db_Alpha, "Account", 15), KeyCol("CatId", db_Numeric, "Category"),
               KeyCol("TemplateId", db_Numeric, "Template"), Col("VisOrder", db_Numeric, "Order")},
              {"AcctCode", "CatId", "TemplateId"}});
}

// Demo rows: the two charts name accounts by other codes than their format
// codes, one format code stands under other codes in the two companies, a
// category name under other numbers; cards, budgets and templates only one
// company has, and ones both have under the same name.
void AddDemoRows(ObjectRegistry& r) {
  r.addDemoRows({"OACG", {"AbsId", "Name"}, {{"1", "Assets"}, {"2", "O'Neil's & <costs>"}},
                 {{"1", "Liabilities"}, {"4", "Assets"}}});
  r.addDemoRows({"OACT",
                 {"AcctCode", "AcctName", "FormatCode", "Postable", "Levels", "FatherNum", "GrpLine", "Category",
                  "LocManTran", "Finanse", "RevalMatch"},
                 {{"A1", "Assets", "1", "N", "1", kNull, "0", kNull, "N", "N", "N"},
                  {"A10", "Current & <liquid> assets", "10", "N", "2", "A1", "0", kNull, "N", "N", "N"},
                  {"A101", "Cash", "10-100", "Y", "3", "A10", "0", "1", "N", "Y", "N"},
                  {"A102", "O'Brien's receivables", "10-200", "Y", "3", "A10", "1", "2", "N", "N", "N"}},
                 {{"A1", "Assets", "1", "N", "1", kNull, "0", kNull, "N", "N", "N"},
                  {"T101", "Cash (old)", "10-100", "Y", "2", "A1", "0", "4", "N", "N", "N"},
                  {"T900", "Target's own", "90-900", "Y", "2", "A1", "1", "1", "N", "N", "N"}}});
  // Segment codes keep their segment's number: the segments the codes name
  // have the same numbers in both companies.
  r.addDemoRows({"OASG", {"AbsId", "Name", "Size"}, {{"1", "Main & <account>", "2"}, {"2", "Cost centre", "3"}},
                 {{"1", "Main & <account>", "4"}, {"2", "Branch", "2"}, {"3", "Target's own", "1"}}});
  r.addDemoRows({"OASC", {"SegmentId", "Code", "Name", "ShortName"},
                 {{"1", "10", "Current's", "Cur"}, {"2", "100", "Head office", "HO"}},
                 {{"1", "10", "Current (old)", "C"}, {"2", "20", "Target's", "T"}}});
  r.addDemoRows({"OCRC", {"CreditCard", "CardName", "Phone", "CompanyId", "GLAccount"},
                 {{"7", "Diner's & <Club>", "555-0101", "DC", "_SYS01"}}, {{"8", "Target's card", "555-0199", "TC", kNull}}});
  r.addDemoRows({"OBGS", {"AbsId", "Name"}, {{"1", "Main & <plan>"}, {"2", "O'Hara's forecast"}},
                 {{"1", "Target's plan"}, {"3", "Main & <plan>"}}});
  r.addDemoRows({"OBGD", {"BgdCode", "BgdName"}, {{"1", "Equal"}, {"2", "Seasonal & <peak>"}},
                 {{"1", "Target's method"}, {"2", "Equal"}}});
  r.addDemoRows({"OBGT", {"AbsId", "Instance", "AcctCode", "BgdCode", "DebLTotal"},
                 {{"1", "1", "_SYS02", "1", "1200"}, {"2", "2", "A102", "2", "50.5"}},
                 {{"1", "3", "T101", "2", "900"}, {"2", "1", "T900", "1", "10"}}});
  r.addDemoRows({"OFRT", {"AbsId", "Name"}, {{"1", "Balance & <sheet>"}, {"2", "O'Connor's P&L"}},
                 {{"1", "Target's report"}, {"4", "Balance & <sheet>"}}});
  r.addDemoRows({"OFRC", {"CatId", "TemplateId", "Name", "FatherNum"},
                 {{"1", "1", "Assets", "0"}, {"2", "1", "Cash & <banks>", "1"}, {"1", "2", "Revenue", "0"}},
                 {{"1", "1", "Target's", "0"}, {"1", "4", "Assets (old)", "0"}}});
  r.addDemoRows({"FRC1", {"AcctCode", "CatId", "TemplateId", "VisOrder"},
                 {{"A101", "2", "1", "1"}, {"A102", "2", "1", "2"}}, {{"T101", "1", "4", "1"}}});
  r.addDemoRows({"ONNM", {"ObjectCode", "AutoKey", "DfltSeries"}, {{"95", "3", "0"}, {"238", "3", "0"}},
                 {{"95", "5", "0"}, {"238", "5", "0"}}});
}

}  // namespace

void RegisterChartOfAccounts(ObjectRegistry& r) {
  RegisterAccounts(r);
  RegisterSegments(r);
  RegisterCreditCardAccount(r);
  RegisterBudgets(r);
  RegisterReportTemplates(r);
  AddDemoRows(r);
  // The administration info answers the account flag of the company
  // settings: the host keeps one flag and shows it on both objects.
  PropertyDef flag = Prop("EnableAccountSegmentation", "", K::Int);
  flag.readOnly = true;
  r.extendType(kTypeAdminInfo, {flag});
}

}  // namespace dpx::host
