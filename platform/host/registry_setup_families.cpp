// Registry: the smaller setup tables of a company. Business objects over one
// table each (commission groups, relationships, sales stages, landed costs,
// business-partner priorities, locations, length and weight units, customs
// groups, manufacturers, shipping types, contract templates, package types,
// dunning levels, payment terms) and plain tables without an object (credit
// vendors, payment blocks, projects, partners, competitors, customer and
// vendor groups, business-partner properties, inventory cycles, item
// properties, predefined texts, dunning terms, installments, cash discounts).
//
// The demo rows of every table show the cases a copy meets: a record only the
// base has, one only the target has, one whose name (or code) both have under
// different keys, and names with ', & and <.
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

using K = PropKind;

// One business object over one table, its key numbered by the host (or
// given, for text keys) and its name unique among the type's records.
ObjectTypeDef SimpleType(int type, const char* name, const char* table, const char* element,
                         std::vector<PropertyDef> properties, KeyPolicy keys, const char* uniqueName) {
  ObjectTypeDef def;
  def.type = type;
  def.name = name;
  def.mainTable = table;
  def.headerElement = element;
  def.keyProperties = {properties.front().property};
  def.properties = std::move(properties);
  def.keyPolicy = keys;
  if (uniqueName) def.uniqueProperties = {{uniqueName}};
  return def;
}

void RegisterObjectTables(ObjectRegistry& r) {
  r.addTable({"OCOG",
              {KeyCol("GroupCode", db_Numeric, "Group Code"), Col("GroupName", db_Alpha, "Group Name", 30),
               Col("Commission", db_Float, "Commission %")},
              {"GroupCode"}});
  r.addType(SimpleType(65, "Commission Group", "OCOG", "CommissionGroups",
                       {Prop("CommissionGroupCode", "GroupCode", K::Int), Prop("CommissionGroupName", "GroupName"),
                        Prop("CommissionPercentage", "Commission", K::Double)},
                       KeyPolicy::NextNumber, "CommissionGroupName"));
  r.addDemoRows({"OCOG",
                 {"GroupCode", "GroupName", "Commission"},
                 {{"1", "Retail", "5"}, {"2", "O'Hara & <Partners>", "7.5"}, {"3", "Base only", "1"}},
                 {{"1", "Target only", "2"}, {"4", "Retail", "4"}}});

  r.addTable({"OORL", {KeyCol("OrlCode", db_Numeric, "Code"), Col("OrlDesc", db_Alpha, "Description", 30)}, {"OrlCode"}});
  r.addType(SimpleType(212, "Relationship", "OORL", "Relationships",
                       {Prop("RelationshipCode", "OrlCode", K::Int), Prop("RelationshipDescription", "OrlDesc")},
                       KeyPolicy::NextNumber, "RelationshipDescription"));
  r.addDemoRows({"OORL",
                 {"OrlCode", "OrlDesc"},
                 {{"1", "Reseller"}, {"2", "Smith & <Sons>'s agent"}, {"3", "Base only"}},
                 {{"1", "Target only"}, {"2", "Reseller"}}});

  r.addTable({"OOST", {KeyCol("Num", db_Numeric, "Stage No."), Col("Descript", db_Alpha, "Name", 30)}, {"Num"}});
  r.addType(SimpleType(101, "Sales Stage", "OOST", "SalesStages",
                       {Prop("SequenceNo", "Num", K::Int), Prop("Name", "Descript")}, KeyPolicy::NextNumber, "Name"));
  r.addDemoRows({"OOST",
                 {"Num", "Descript"},
                 {{"1", "Lead"}, {"2", "Proposal & <Quote>'s"}, {"3", "Base only"}},
                 {{"1", "Target only"}, {"5", "Lead"}}});

  // Landed costs keep their code: it is what both companies know them by.
  r.addTable({"OALC",
              {KeyCol("AlcCode", db_Alpha, "Code", 8), Col("AlcName", db_Alpha, "Name", 30),
               Col("OhType", db_Numeric, "Allocation By")},
              {"AlcCode"}});
  r.addType(SimpleType(48, "Landed Cost", "OALC", "LandedCostsCodes",
                       {Prop("Code", "AlcCode"), Prop("Name", "AlcName"), Prop("AllocationBy", "OhType", K::Int)},
                       KeyPolicy::Given, nullptr));
  r.addDemoRows({"OALC",
                 {"AlcCode", "AlcName", "OhType"},
                 {{"CUS", "Customs", "0"}, {"FRT", "Freight & <Ship>'s", "2"}, {"BAS", "Base only", "5"}},
                 {{"CUS", "Customs duty", "1"}, {"TGT", "Target only", "3"}}});

  r.addTable({"OBPP", {KeyCol("PrioCode", db_Numeric, "Priority"), Col("PrioDesc", db_Alpha, "Description", 30)},
              {"PrioCode"}});
  r.addType(SimpleType(150, "Business Partner Priority", "OBPP", "BPPriorities",
                       {Prop("Priority", "PrioCode", K::Int), Prop("PriorityDescription", "PrioDesc")},
                       KeyPolicy::NextNumber, "PriorityDescription"));
  r.addDemoRows({"OBPP",
                 {"PrioCode", "PrioDesc"},
                 {{"1", "High"}, {"2", "Low & <Slow>'s"}, {"3", "Base only"}},
                 {{"1", "Target only"}, {"2", "High"}}});

  r.addTable({"OLCT", {KeyCol("Code", db_Numeric, "Code"), Col("Location", db_Alpha, "Location", 50)}, {"Code"}});
  r.addType(SimpleType(144, "Warehouse Location", "OLCT", "WarehouseLocations",
                       {Prop("Code", "Code", K::Int), Prop("Name", "Location")}, KeyPolicy::NextNumber, "Name"));
  r.addDemoRows({"OLCT",
                 {"Code", "Location"},
                 {{"1", "Main"}, {"2", "O'Neil & <Rack>"}, {"3", "Base only"}},
                 {{"1", "Target only"}, {"3", "Main"}}});

  r.addTable({"OLGT",
              {KeyCol("UnitCode", db_Numeric, "Unit Code"), Col("UnitDisply", db_Alpha, "Unit Display", 10),
               Col("UnitName", db_Alpha, "Unit Name", 30), Col("SizeInMM", db_Float, "Length in mm")},
              {"UnitCode"}});
  r.addType(SimpleType(50, "Length Measure", "OLGT", "LengthMeasures",
                       {Prop("UnitCode", "UnitCode", K::Int), Prop("UnitDisplay", "UnitDisply"),
                        Prop("UnitName", "UnitName"), Prop("UnitLengthinmm", "SizeInMM", K::Double)},
                       KeyPolicy::NextNumber, "UnitDisplay"));
  r.addDemoRows({"OLGT",
                 {"UnitCode", "UnitDisply", "UnitName", "SizeInMM"},
                 {{"1", "cm", "Centimetre", "10"}, {"2", "in", "Inch & <Imperial>'s", "25.4"},
                  {"3", "bm", "Base metre", "1000"}},
                 {{"1", "tu", "Target unit", "5"}, {"2", "cm", "Centimeter", "10"}}});

  r.addTable({"OWGT",
              {KeyCol("UnitCode", db_Numeric, "Unit Code"), Col("UnitDisply", db_Alpha, "Unit Display", 10),
               Col("UnitName", db_Alpha, "Unit Name", 30), Col("WightInMG", db_Float, "Weight in mg")},
              {"UnitCode"}});
  r.addType(SimpleType(51, "Weight Measure", "OWGT", "WeightMeasures",
                       {Prop("UnitCode", "UnitCode", K::Int), Prop("UnitDisplay", "UnitDisply"),
                        Prop("UnitName", "UnitName"), Prop("UnitWeightinmg", "WightInMG", K::Double)},
                       KeyPolicy::NextNumber, "UnitDisplay"));
  r.addDemoRows({"OWGT",
                 {"UnitCode", "UnitDisply", "UnitName", "WightInMG"},
                 {{"1", "kg", "Kilogram", "1000000"}, {"2", "lb", "Pound & <Avoir>'s", "453592"},
                  {"3", "bu", "Base unit", "1"}},
                 {{"1", "tu", "Target unit", "7"}, {"2", "kg", "Kilo", "1000000"}}});

  // The customs group -1 is the host's own and in every company.
  r.addTable({"OARG",
              {KeyCol("CstGrpCode", db_Numeric, "Code"), Col("CstGrpName", db_Alpha, "Name", 20),
               Col("GroupNum", db_Numeric, "Number"), Col("Custom", db_Float, "Customs %"),
               Col("BuyTax", db_Float, "Purchase Tax %"), Col("OtherTax", db_Float, "Other Tax %")},
              {"CstGrpCode"}});
  r.addType(SimpleType(56, "Customs Group", "OARG", "CustomsGroups",
                       {Prop("Code", "CstGrpCode", K::Int), Prop("Name", "CstGrpName"), Prop("Number", "GroupNum", K::Int),
                        Prop("Customs", "Custom", K::Double), Prop("Purchase", "BuyTax", K::Double),
                        Prop("Other", "OtherTax", K::Double)},
                       KeyPolicy::NextNumber, "Name"));
  r.addDemoRows({"OARG",
                 {"CstGrpCode", "CstGrpName", "GroupNum", "Custom", "BuyTax", "OtherTax"},
                 {{"-1", "Default", "0", "0", "0", "0"}, {"1", "Textiles", "10", "5", "1", "0"},
                  {"2", "O'Brien & <Tools>", "20", "3", "0", "1"}, {"3", "Base only", "30", "1", "1", "1"}},
                 {{"-1", "Default", "0", "0", "0", "0"}, {"1", "Target only", "90", "2", "2", "2"},
                  {"2", "Textiles", "11", "4", "0", "0"}}});

  r.addTable({"OMRC", {KeyCol("FirmCode", db_Numeric, "Code"), Col("FirmName", db_Alpha, "Name", 30)}, {"FirmCode"}});
  r.addType(SimpleType(43, "Manufacturer", "OMRC", "Manufacturers",
                       {Prop("Code", "FirmCode", K::Int), Prop("ManufacturerName", "FirmName")}, KeyPolicy::NextNumber,
                       "ManufacturerName"));
  r.addDemoRows({"OMRC",
                 {"FirmCode", "FirmName"},
                 {{"1", "Acme"}, {"2", "Smith & <Wesson>'s"}, {"3", "Base only"}},
                 {{"1", "Target only"}, {"2", "Acme"}}});

  r.addTable({"OSHP", {KeyCol("TrnspCode", db_Numeric, "Code"), Col("TrnspName", db_Alpha, "Name", 40)},
              {"TrnspCode"}});
  r.addType(SimpleType(49, "Shipping Type", "OSHP", "ShippingTypes",
                       {Prop("Code", "TrnspCode", K::Int), Prop("Name", "TrnspName")}, KeyPolicy::NextNumber, "Name"));
  r.addDemoRows({"OSHP",
                 {"TrnspCode", "TrnspName"},
                 {{"1", "Courier"}, {"2", "Air & <Sea>'s"}, {"3", "Base only"}},
                 {{"1", "Target only"}, {"4", "Courier"}}});

  // Contract templates may name an attachment of the company; the host
  // refuses one the company lacks.
  r.addTable({"OATC", {KeyCol("AbsEntry", db_Numeric, "Entry"), Col("FileName", db_Alpha, "File Name", 100)},
              {"AbsEntry"}});
  r.addDemoRows({"OATC", {"AbsEntry", "FileName"}, {{"1", "contract.pdf"}}, {{"5", "other.pdf"}}});
  r.addTable({"OCTT",
              {KeyCol("TmpltName", db_Alpha, "Template Name", 50), Col("Descriptio", db_Alpha, "Description", 100),
               Col("AtcEntry", db_Numeric, "Attachment Entry")},
              {"TmpltName"}});
  ObjectTypeDef templates = SimpleType(
      170, "Contract Template", "OCTT", "ContractTemplates",
      {Prop("TemplateName", "TmpltName"), Prop("Description", "Descriptio"), Prop("AttachmentEntry", "AtcEntry", K::Int)},
      KeyPolicy::Given, nullptr);
  templates.references = {{"AttachmentEntry", "OATC", "AbsEntry", true}};
  r.addType(std::move(templates));
  r.addDemoRows({"OCTT",
                 {"TmpltName", "Descriptio", "AtcEntry"},
                 {{"Standard", "Standard contract", "1"}, {"O'Hara & <Co>", "Special terms", kNull},
                  {"Base only", "Base's template", kNull}},
                 {{"Target only", "Target's template", kNull}, {"Standard", "Old standard", "5"}}});

  r.addTable({"OPKG", {KeyCol("PkgCode", db_Numeric, "Code"), Col("PkgType", db_Alpha, "Package Type", 30)},
              {"PkgCode"}});
  r.addType(SimpleType(205, "Package Type", "OPKG", "PackagesTypes",
                       {Prop("Code", "PkgCode", K::Int), Prop("Type", "PkgType")}, KeyPolicy::NextNumber, "Type"));
  r.addDemoRows({"OPKG",
                 {"PkgCode", "PkgType"},
                 {{"1", "Box"}, {"2", "Crate & <Pallet>'s"}, {"3", "Base only"}},
                 {{"1", "Target only"}, {"2", "Box"}}});
}

void RegisterDunningAndPaymentTerms(ObjectRegistry& r) {
  // Dunning levels keep their row number; only the highest level can go,
  // so that the levels that stay are still numbered from 1 without a gap.
  r.addTable({"ODUN", {KeyCol("LineNum", db_Numeric, "Level"), Col("LetrFormat", db_Numeric, "Letter Format")},
              {"LineNum"}});
  ObjectTypeDef levels = SimpleType(151, "Dunning Level", "ODUN", "DunningLevels",
                                    {Prop("RowNumber", "LineNum", K::Int), Prop("LetterFormat", "LetrFormat", K::Int)},
                                    KeyPolicy::Given, nullptr);
  levels.hooks.beforeRemove = [](CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& header,
                                 std::string& error) {
    auto key = header.find("RowNumber");
    if (key == header.end()) return 0;
    auto higher = store.query("SELECT COUNT(*) FROM ODUN WHERE LineNum > ?", {key->second});
    if (higher.rows[0][0].toInt64() == 0) return 0;
    error = "Dunning level " + key->second.toText() + " cannot be removed while a higher level exists";
    return kErrStillReferenced;
  };
  r.addType(std::move(levels));
  r.addDemoRows({"ODUN", {"LineNum", "LetrFormat"}, {{"1", "10"}, {"2", "20"}, {"3", "30"}}, {{"1", "11"}, {"2", "21"}}});
  r.addTable({"ODUT", {KeyCol("TermCode", db_Numeric, "Term Code"), Col("TermName", db_Alpha, "Term Name", 50)},
              {"TermCode"}});
  r.addDemoRows({"ODUT",
                 {"TermCode", "TermName"},
                 {{"1", "Net 30"}, {"2", "O'Hara's & <Co> terms"}, {"3", "Base only"}},
                 {{"1", "Old net 30"}, {"4", "Target only"}}});

  // Installments and cash discounts travel with the payment terms; a term
  // naming a cash discount the company lacks is refused.
  r.addTable({"RIT1", {KeyCol("Code", db_Numeric, "Code"), Col("Name", db_Alpha, "Name", 50)}, {"Code"}});
  r.addDemoRows({"RIT1",
                 {"Code", "Name"},
                 {{"1", "First half"}, {"2", "Second & <last>'s half"}},
                 {{"1", "Old first"}, {"3", "Target only"}}});
  r.addTable({"ORIT", {KeyCol("Code", db_Numeric, "Code"), Col("Name", db_Alpha, "Name", 50)}, {"Code"}});
  r.addDemoRows({"ORIT", {"Code", "Name"}, {{"1", "Two installments"}}, {{"1", "Old"}, {"2", "Target only"}}});
  r.addTable({"OCDC", {KeyCol("Code", db_Alpha, "Code", 8), Col("TableDesc", db_Alpha, "Description", 50)}, {"Code"}});
  r.addDemoRows({"OCDC",
                 {"Code", "TableDesc"},
                 {{"D1", "Early payment"}, {"D2", "O'Hara & <Co> discount"}},
                 {{"D1", "Old early"}, {"T1", "Target only"}}});
  r.addTable({"CDC1",
              {KeyCol("CdcCode", db_Alpha, "Cash Discount Code", 8), KeyCol("LineId", db_Numeric, "Line"),
               Col("Discount", db_Float, "Discount %")},
              {"CdcCode", "LineId"}});
  r.addDemoRows({"CDC1",
                 {"CdcCode", "LineId", "Discount"},
                 {{"D1", "0", "2"}, {"D1", "1", "1"}, {"D2", "0", "3"}},
                 {{"D1", "0", "5"}, {"T1", "0", "1"}}});

  // Payment terms (the table comes with the company settings). Terms with a
  // negative number are the host's own, in every company.
  r.extendTable("OCTG", {Col("DiscCode", db_Alpha, "Cash Discount", 8)});
  ObjectTypeDef terms = SimpleType(40, "Payment Terms", "OCTG", "PaymentTermsTypes",
                                   {Prop("GroupNumber", "GroupNum", K::Int), Prop("PaymentTermsGroupName", "PymntGroup"),
                                    Prop("AdditionalDays", "ExtraDays", K::Int), Prop("DiscountCode", "DiscCode")},
                                   KeyPolicy::NextNumber, "PaymentTermsGroupName");
  terms.references = {{"DiscountCode", "OCDC", "Code", true}};
  r.addType(std::move(terms));
  r.addDemoRows({"OCTG",
                 {"GroupNum", "PymntGroup", "DiscCode"},
                 {{"-1", "Cash Basic", kNull}, {"2", "O'Hara & <Co> terms", "D2"}, {"5", "Base only", kNull}},
                 {{"-1", "Cash Basic", kNull}, {"2", "Target only", kNull}}});
}

void RegisterPlainSetupTables(ObjectRegistry& r) {
  r.addTable({"OPVL",
              {KeyCol("Code", db_Numeric, "Code"), Col("Name", db_Alpha, "Name", 50),
               Col("ConsolNum", db_Alpha, "Consolidating Vendor", 15)},
              {"Code"}});
  r.addDemoRows({"OPVL",
                 {"Code", "Name", "ConsolNum"},
                 {{"1", "Amex", "V100"}, {"2", "O'Hara & <Co>", "V200"}, {"3", "Base only", "V300"}},
                 {{"1", "Target only", "V900"}, {"5", "Amex card", "V100"}}});

  r.addTable({"OPYB", {KeyCol("AbsEntry", db_Numeric, "Entry"), Col("PayBlock", db_Alpha, "Payment Block", 30)},
              {"AbsEntry"}});
  r.addDemoRows({"OPYB",
                 {"AbsEntry", "PayBlock"},
                 {{"1", "Disputed"}, {"2", "Owner's & <hold>"}, {"3", "Base only"}},
                 {{"1", "Target only"}, {"4", "Disputed"}}});

  r.addTable({"OPRJ", {KeyCol("PrjCode", db_Alpha, "Project Code", 20), Col("PrjName", db_Alpha, "Project Name", 100)},
              {"PrjCode"}});
  r.addDemoRows({"OPRJ",
                 {"PrjCode", "PrjName"},
                 {{"P1", "Alpha"}, {"P2", "O'Hara & <Co> build"}, {"P3", "Base only"}},
                 {{"P1", "Old alpha"}, {"P8", "Used by a partner"}, {"P9", "Target only"}}});
  // Business partners (the master data's OCRD) name their project; the demo
  // partners that use P1 and P8 are the master data's.
  r.extendTable("OCRD", {Col("ProjectCod", db_Alpha, "Project", 20)});

  r.addTable({"OPRT",
              {KeyCol("PrtId", db_Numeric, "Partner ID"), Col("Name", db_Alpha, "Name", 50),
               Col("RelatnType", db_Numeric, "Relationship"), Col("RelatCard", db_Alpha, "Related BP", 15),
               Col("Memo", db_Alpha, "Details", 254)},
              {"PrtId"}});
  r.addDemoRows({"OPRT",
                 {"PrtId", "Name", "RelatnType", "RelatCard", "Memo"},
                 {{"1", "Partner A", "1", "C1", "Memo A"}, {"2", "O'Hara & <Co>", "2", kNull, "Our O'Hara"},
                  {"3", "Base only", "1", kNull, "Base's"}},
                 {{"1", "Target only", "1", kNull, "Target's"}, {"7", "Partner A", "2", kNull, "Old memo"},
                  {"8", "O'Hara & <Co>", "1", kNull, "Old O'Hara"}}});

  r.addTable({"OCMT",
              {KeyCol("CompetId", db_Numeric, "Competitor ID"), Col("Name", db_Alpha, "Name", 50),
               Col("ThreatLevl", db_Numeric, "Threat Level"), Col("Memo", db_Alpha, "Details", 254)},
              {"CompetId"}});
  r.addDemoRows({"OCMT",
                 {"CompetId", "Name", "ThreatLevl", "Memo"},
                 {{"1", "Rival Inc", "3", "Strong"}, {"2", "O'Neil & <Sons>", "1", "Small"}, {"3", "Base only", "2", "B"}},
                 {{"1", "Target only", "1", "T"}, {"6", "Rival Inc", "2", "Old"}}});

  // Customer ('C') and vendor ('S') groups share one table and one numbering.
  r.addTable({"OCRG",
              {KeyCol("GroupCode", db_Numeric, "Group Code"), Col("GroupName", db_Alpha, "Group Name", 20),
               Col("GroupType", db_Alpha, "Group Type", 1)},
              {"GroupCode"}});
  r.addDemoRows({"OCRG",
                 {"GroupCode", "GroupName", "GroupType"},
                 {{"100", "Retail", "C"}, {"101", "Retail", "S"}, {"102", "O'Hara & <Co>", "C"}, {"103", "Base only", "S"}},
                 {{"100", "Target only", "C"}, {"104", "Retail", "S"}, {"105", "Wholesale", "C"},
                  {"107", "O'Hara & <Co>", "C"}}});

  r.addTable({"OCQG", {KeyCol("GroupCode", db_Numeric, "Group Code"), Col("GroupName", db_Alpha, "Group Name", 20)},
              {"GroupCode"}});
  r.addDemoRows({"OCQG",
                 {"GroupCode", "GroupName"},
                 {{"1", "Big accounts"}, {"2", "O'Hara & <Co>"}, {"3", "Base only"}},
                 {{"5", "Big accounts"}, {"4", "Target only"}}});

  r.addTable({"OCYC",
              {KeyCol("Code", db_Numeric, "Code"), Col("Name", db_Alpha, "Name", 30),
               Col("Frequency", db_Numeric, "Frequency"), Col("NextDate", db_Date, "Next Date"),
               Col("Hour", db_Numeric, "Time")},
              {"Code"}});
  r.addDemoRows({"OCYC",
                 {"Code", "Name", "Frequency", "NextDate", "Hour"},
                 {{"1", "Daily count", "0", "20260105", "800"}, {"2", "O'Hara & <Co> count", "8", "20260201", "1400"},
                  {"3", "Base only", "1", "20260301", "900"}},
                 {{"1", "Target only", "2", "20260110", "700"}, {"4", "Daily count", "3", "20251231", "600"}}});

  r.addTable({"OITG", {KeyCol("ItmsTypCod", db_Numeric, "Property Code"), Col("ItmsGrpNam", db_Alpha, "Name", 20)},
              {"ItmsTypCod"}});
  r.addDemoRows({"OITG",
                 {"ItmsTypCod", "ItmsGrpNam"},
                 {{"1", "Fragile"}, {"2", "Owner's & <kit>"}, {"3", "Base only"}},
                 {{"1", "Old fragile"}, {"9", "Target only"}}});

  r.addTable({"OPDT",
              {KeyCol("AbsEntry", db_Numeric, "Entry"), Col("TextCode", db_Alpha, "Text Code", 20),
               Col("Text", db_Memo, "Text")},
              {"AbsEntry"}});
  r.addDemoRows({"OPDT",
                 {"AbsEntry", "TextCode", "Text"},
                 {{"1", "T1", "Thank you"}, {"2", "T&2", "O'Hara & <Co> text"}, {"3", "T3", "Base only"}},
                 {{"1", "TX", "Target only"}, {"5", "T1", "Old thanks"}}});

  // The host's next numbers of the plain tables.
  r.addDemoRows({"ONNM",
                 {"ObjectCode", "AutoKey", "DfltSeries"},
                 {{"8", "4", "0"}, {"10", "104", "0"}, {"44", "4", "0"}, {"63", "1", "0"}, {"108", "4", "0"},
                  {"109", "4", "0"}, {"115", "4", "0"}, {"146", "4", "0"}, {"196", "4", "0"}, {"215", "4", "0"}},
                 {{"8", "10", "0"}, {"10", "108", "0"}, {"44", "5", "0"}, {"63", "1", "0"}, {"108", "9", "0"},
                  {"109", "7", "0"}, {"115", "6", "0"}, {"146", "5", "0"}, {"196", "5", "0"}, {"215", "6", "0"}}});
}

}  // namespace

void RegisterSetupFamilies(ObjectRegistry& r) {
  RegisterObjectTables(r);
  RegisterDunningAndPaymentTerms(r);
  RegisterPlainSetupTables(r);
}

}  // namespace dpx::host
