// Registry: the rest of the tax set-up beside the sales tax types and codes:
// sales tax authorities (OSTA, type 126, keyed by code and tax type), VAT
// groups (OVTG, type 5), deduction groups (ODDG, type 117), withholding
// taxes (OWHT, type 178), the indicators (OIND rows, object code 135), and
// the chart of accounts table (OACT) that their account properties name.
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

// Account properties live in columns of their own names and must name an
// account of the company (or nothing).
void AddAccounts(TableDef& table, ObjectTypeDef& type, std::initializer_list<const char*> accounts) {
  for (const char* name : accounts) {
    table.columns.push_back(Col(name, db_Alpha, name, 15));
    type.properties.push_back(Prop(name, name));
    type.references.push_back({name, "OACT", "AcctCode", true});
  }
}

}  // namespace

void RegisterTaxDefinitions(ObjectRegistry& r) {
  using K = PropKind;
  r.addTable({"OACT",
              {Col("AcctCode", db_Alpha, "Account Code", 15), Col("AcctName", db_Alpha, "Account Name", 100),
               Col("FormatCode", db_Alpha, "Account Number", 210)},
              {"AcctCode"}});
  r.addTable({"OIND", {Col("Code", db_Alpha, "Code", 2), Col("Name", db_Alpha, "Description", 30)}, {"Code"}});

  TableDef osta{"OSTA",
                {Col("Code", db_Alpha, "Code", 8), Col("Type", db_Numeric, "Tax Type"),
                 Col("Name", db_Alpha, "Name", 50), Col("Rate", db_Float, "Rate")},
                {"Code", "Type"}};
  ObjectTypeDef authorities;
  authorities.type = 126;
  authorities.name = "Sales Tax Authority";
  authorities.mainTable = "OSTA";
  authorities.headerElement = "SalesTaxAuthorities";
  authorities.keyProperties = {"Code", "Type"};
  authorities.properties = {Prop("Code", "Code"), Prop("Type", "Type", K::Int), Prop("Name", "Name"),
                            Prop("Rate", "Rate", K::Double)};
  authorities.references = {{"Type", "OSTT", "AbsId", false}};
  AddAccounts(osta, authorities,
              {"AOrPTaxAccount", "AOrRTaxAccount", "DeferredTaxAccount", "NonDeductibleAccount", "UseTaxAccount"});
  r.addTable(std::move(osta));
  r.addType(std::move(authorities));

  TableDef ovtg{"OVTG", {Col("Code", db_Alpha, "Code", 8), Col("Name", db_Alpha, "Name", 30), Col("Rate", db_Float, "Rate")},
                {"Code"}};
  ObjectTypeDef vatGroups;
  vatGroups.type = 5;
  vatGroups.name = "VAT Group";
  vatGroups.mainTable = "OVTG";
  vatGroups.headerElement = "VatGroups";
  vatGroups.keyProperties = {"Code"};
  vatGroups.properties = {Prop("Code", "Code"), Prop("Name", "Name"), Prop("Rate", "Rate", K::Double)};
  AddAccounts(ovtg, vatGroups, {"AquisitionTax", "DeferredTaxAcc", "NonDeductAcc", "TaxAccount"});
  r.addTable(std::move(ovtg));
  r.addType(std::move(vatGroups));

  r.addTable({"ODDG",
              {Col("Numerator", db_Numeric, "Internal Number"), Col("DdgCode", db_Alpha, "Group Code", 8),
               Col("DdgName", db_Alpha, "Group Name", 30)},
              {"Numerator"}});
  ObjectTypeDef deductionGroups;
  deductionGroups.type = 117;
  deductionGroups.name = "Deduction Group";
  deductionGroups.mainTable = "ODDG";
  deductionGroups.headerElement = "DeductionTaxGroups";
  deductionGroups.keyProperties = {"Numerator"};
  deductionGroups.keyPolicy = KeyPolicy::NextNumber;
  deductionGroups.properties = {Prop("Numerator", "Numerator", K::Int), Prop("GroupCode", "DdgCode"),
                                Prop("GroupName", "DdgName")};
  deductionGroups.uniqueProperties = {{"GroupCode"}};
  r.addType(std::move(deductionGroups));

  TableDef owht{"OWHT",
                {Col("WTCode", db_Alpha, "Code", 4), Col("WTName", db_Alpha, "Name", 50), Col("Rate", db_Float, "Rate")},
                {"WTCode"}};
  ObjectTypeDef withholding;
  withholding.type = 178;
  withholding.name = "Withholding Tax";
  withholding.mainTable = "OWHT";
  withholding.headerElement = "WithholdingTaxCodes";
  withholding.keyProperties = {"WTCode"};
  withholding.properties = {Prop("WTCode", "WTCode"), Prop("WTName", "WTName"), Prop("Rate", "Rate", K::Double)};
  AddAccounts(owht, withholding, {"Account"});
  r.addTable(std::move(owht));
  r.addType(std::move(withholding));

  // The tax accounts. Without account segmentation an account's code is its
  // number, so both companies hold them under the same codes.
  r.addDemoRows({"OACT",
                 {"AcctCode", "AcctName", "FormatCode"},
                 {{"1100", "Tax payable", "1100"}, {"1200", "Deferred tax", "1200"},
                  {"1300", "VAT & <input>", "1300"}, {"1400", "Withholding", "1400"}},
                 {{"1100", "Tax payable", "1100"}, {"1300", "VAT & <input>", "1300"},
                  {"1400", "Withholding's", "1400"}, {"1200", "Deferred tax", "1200"}}});
  r.addDemoRows({"OIND",
                 {"Code", "Name"},
                 {{"AB", "Alpha & <Beta>"}, {"I1", "Index one"}},
                 {{"I1", "Index one"}, {"X9", "Target's index"}}});
  // Types of one name under other AbsIds (OSTT: State is 1 in the base and 2 in the target).
  r.addDemoRows({"OSTA",
                 {"Code", "Type", "Name", "Rate", "AOrPTaxAccount", "AOrRTaxAccount", "DeferredTaxAccount",
                  "NonDeductibleAccount", "UseTaxAccount"},
                 {{"NY", "1", "New York State", "4", "1100", kNull, "1200", kNull, kNull},
                  {"CTY", "2", "County & <City>", "4.875", kNull, kNull, kNull, kNull, kNull},
                  {"OWN", "3", "O'Brien's authority", "1.5", "1100", "1100", kNull, kNull, "1400"}},
                 {{"NY", "2", "New York (old)", "3.5", "1100", kNull, kNull, kNull, kNull},
                  {"TGT", "1", "Target only", "2", kNull, kNull, kNull, kNull, kNull}}});
  r.addDemoRows({"OVTG",
                 {"Code", "Name", "Rate", "AquisitionTax", "DeferredTaxAcc", "NonDeductAcc", "TaxAccount"},
                 {{"V1", "VAT 19%", "19", kNull, kNull, kNull, "1300"},
                  {"V2", "Reduced & <7%>", "7", "1300", kNull, kNull, "1300"}},
                 {{"V1", "VAT (old)", "16", kNull, kNull, kNull, "1300"}, {"VT", "Target's VAT", "5", kNull, kNull, kNull, kNull}}});
  r.addDemoRows({"ODDG",
                 {"Numerator", "DdgCode", "DdgName"},
                 {{"1", "DG1", "Deduction & 1"}, {"2", "DG2", "Base's group"}},
                 {{"5", "DG1", "Deduction & 1"}, {"6", "DGT", "Target <group>"}}});
  r.addDemoRows({"OWHT",
                 {"WTCode", "WTName", "Rate", "Account"},
                 {{"W1", "Withholding 10%", "10", "1400"}, {"W2", "O'Neil's <none>", "5", kNull}},
                 {{"W1", "Withholding (old)", "8", "1400"}, {"WT", "Target only", "3", kNull}}});
}

}  // namespace dpx::host
