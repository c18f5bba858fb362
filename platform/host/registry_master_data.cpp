// Registry: master data. Business partners (OCRD, type 2) with their account
// lines, items (OITM, type 4) with cycle and warehouse lines, item groups
// (OITB, type 52), warehouses (OWHS, type 64) and their locations (OLCT, type
// 144), credit cards (OCRC, 36), payment due dates (OCDT, 71) and payment
// methods (OCRP, 70), manufacturers (OMRC, 43), price lists (OPLN, 6), and the
// tables these name: partner groups, commission groups, shipping types, sales
// employees, territories, employees, accounts, cycles, units, indicator codes
// and 1099 forms. Payment terms (OCTG) are the company settings' table.
//
// Every reference a copy translates is a required reference (an empty value
// names nothing), so a record naming a row the company lacks is refused.
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

using K = PropKind;

// A property of the same name as its column, with the column's definition.
struct Field {
  const char* name;
  K kind;
};

int FieldTypeOf(K kind) {
  return kind == K::Int ? db_Numeric : kind == K::Double ? db_Float : db_Alpha;
}

void AddFields(std::vector<ColumnDef>& columns, std::vector<PropertyDef>& properties,
               std::initializer_list<Field> fields) {
  for (const Field& f : fields) {
    columns.push_back(Col(f.name, FieldTypeOf(f.kind), f.name));
    properties.push_back(Prop(f.name, f.name, f.kind));
  }
}

// A code-and-name table with a business object whose key the host numbers.
void AddNamedType(ObjectRegistry& r, int type, const char* name, const char* table, const char* element,
                  const char* keyColumn, const char* keyProperty, const char* nameColumn, const char* nameProperty,
                  const char* nameDescription) {
  r.addTable({table, {Col(keyColumn, db_Numeric, "Code"), Col(nameColumn, db_Alpha, nameDescription, 100)},
              {keyColumn}});
  ObjectTypeDef t;
  t.type = type;
  t.name = name;
  t.mainTable = table;
  t.headerElement = element;
  t.keyProperties = {keyProperty};
  t.keyPolicy = KeyPolicy::NextNumber;
  t.properties = {Prop(keyProperty, keyColumn, K::Int), Prop(nameProperty, nameColumn)};
  r.addType(std::move(t));
}

// A referenced table without a business object: its key and shown columns.
void AddLookupTable(ObjectRegistry& r, const char* table, std::vector<ColumnDef> columns) {
  std::string key = columns.front().name;
  r.addTable({table, std::move(columns), {key}});
}

// The accounts of item groups and warehouses, as the host spells them for each object.
const char* const kItemGroupAccounts[] = {
    "InventoryAccount", "CostAccount", "CostOfGoodsSold", "TransfersAccount", "RevenuesAccount", "VarianceAccount",
    "DecreasingAccount", "IncreasingAccount", "ReturningAccount", "ExpensesAccount", "EURevenuesAccount",
    "EUExpensesAccount", "ForeignRevenuesAccount", "ForeignExpensesAccount", "ExemptRevenuesAccount",
    "PriceDifferencesAccount", "ExchangeRateDifferencesAccount", "GoodsClearingAccount", "PurchaseAccount",
    "PAReturnAccount", "PurchaseOffsetAccount", "DecreaseGLAccount", "IncreaseGLAccount",
    "StockInflationAdjustAccount", "StockInflationOffsetAccount", "WIPMaterialAccount", "WIPMaterialVarianceAccount",
    "CostInflationAccount", "CostInflationOffsetAccount", "ExpenseClearingAct", "ExpenseOffsetAccount",
    "SalesCreditAcc", "SalesCreditForeignAcc", "SalesCreditEUAcc", "PurchaseCreditAcc", "ForeignPurchaseCreditAcc",
    "EUPurchaseCreditAcc", "NegativeInventoryAdjustmentAccount"};
const char* const kWarehouseAccounts[] = {
    "StockAccount", "CostOfGoodsSold", "TransfersAcc", "RevenuesAccount", "VarianceAccount", "DecreasingAccount",
    "IncreasingAcc", "ReturningAccount", "ExpenseAccount", "EURevenuesAccount", "EUExpensesAccount",
    "ForeignRevenuesAcc", "ForeignExpensesAccount", "ExemptRevenuesAccount", "PriceDifferencesAccount",
    "GoodsClearingAcc", "PurchaseAccount", "PurchaseReturningAccount", "PurchaseOffsetAccount", "DecreaseGLAccount",
    "IncreaseGLAccount", "StockInflationAdjustAccount", "StockInflationOffsetAccount", "WIPMaterialAccount",
    "WIPMaterialVarianceAccount", "CostInflationAccount", "CostInflationOffsetAccount", "ExpensesClearingAccount",
    "ExpenseOffsetingAct", "SalesCreditAcc", "SalesCreditForeignAcc", "SalesCreditEUAcc", "PurchaseCreditAcc",
    "ForeignPurchaseCreditAcc", "EUPurchaseCreditAcc", "NegativeInventoryAdjustmentAccount",
    "ExchangeRateDifferencesAccount"};

// Account columns of their property's name, each a reference to an account.
template <size_t N>
void AddAccounts(ObjectTypeDef& type, TableDef& table, const char* const (&accounts)[N]) {
  for (const char* account : accounts) {
    table.columns.push_back(Col(account, db_Alpha, account, 15));
    type.properties.push_back(Prop(account, account));
    type.references.push_back({account, "OACT", "AcctCode", true});
  }
}

void RegisterReferencedTables(ObjectRegistry& r) {
  AddLookupTable(r, "OSLP", {Col("SlpCode", db_Numeric, "Code"), Col("SlpName", db_Alpha, "Name", 155)});
  AddLookupTable(r, "OTER", {Col("territryID", db_Numeric, "Territory"), Col("descript", db_Alpha, "Description", 100)});
  AddLookupTable(r, "OHEM",
                 {Col("empID", db_Numeric, "Employee"), Col("lastName", db_Alpha, "Last Name", 50),
                  Col("firstName", db_Alpha, "First Name", 50)});
  // OACT, the chart of accounts, is the tax definitions' table (registered before this one).
  // Indicator codes and 1099 forms have no business object; the host
  // numbers them by its counters 138 and 145.
  AddLookupTable(r, "OIDC", {Col("Code", db_Numeric, "Code"), Col("Name", db_Alpha, "Name", 100)});
  AddLookupTable(r, "OTNN", {Col("FormCode", db_Numeric, "Form Code"), Col("Form1099", db_Alpha, "1099 Form", 20)});

  AddNamedType(r, 36, "Credit Card", "OCRC", "CreditCards", "CreditCard", "CreditCardCode", "CardName",
               "CreditCardName", "Credit Card Name");
  AddNamedType(r, 6, "Price List", "OPLN", "PriceLists", "ListNum", "PriceListNo", "ListName", "PriceListName",
               "Price List Name");
  AddNamedType(r, 71, "Payment Due Date", "OCDT", "CreditPaymentDueDates", "Code", "DueDateCode", "Name",
               "DueDateName", "Name");

  // Payment methods name a credit card and a payment due date.
  r.addTable({"OCRP",
              {Col("CrTypeCode", db_Numeric, "Code"), Col("CrTypeName", db_Alpha, "Name", 100),
               Col("CreditCard", db_Numeric, "Credit Card"), Col("DueTerms", db_Numeric, "Payment Due Date")},
              {"CrTypeCode"}});
  ObjectTypeDef methods;
  methods.type = 70;
  methods.name = "Credit Card Payment Method";
  methods.mainTable = "OCRP";
  methods.headerElement = "CreditPaymentMethods";
  methods.keyProperties = {"PaymentMethodCode"};
  methods.keyPolicy = KeyPolicy::NextNumber;
  methods.properties = {Prop("PaymentMethodCode", "CrTypeCode", K::Int), Prop("Name", "CrTypeName"),
                        Prop("AssignedtoCreditCard", "CreditCard", K::Int), Prop("PaymentCode", "DueTerms", K::Int)};
  methods.uniqueProperties = {{"Name"}};
  methods.references = {{"AssignedtoCreditCard", "OCRC", "CreditCard", true}, {"PaymentCode", "OCDT", "Code", true}};
  r.addType(std::move(methods));
}

void RegisterBusinessPartners(ObjectRegistry& r) {
  TableDef ocrd{"OCRD",
                {Col("CardCode", db_Alpha, "BP Code", 15), Col("CardType", db_Alpha, "BP Type", 1),
                 Col("CardName", db_Alpha, "BP Name", 100), Col("CardFName", db_Alpha, "Foreign Name", 100),
                 Col("GroupCode", db_Numeric, "Group Code"), Col("Currency", db_Alpha, "Currency", 3),
                 Col("GroupNum", db_Numeric, "Payment Terms Code"), Col("ListNum", db_Numeric, "Price List"),
                 Col("Priority", db_Numeric, "Priority"), Col("WTCode", db_Alpha, "WTax Code", 4),
                 Col("validFor", db_Alpha, "Active", 1), Col("frozenFor", db_Alpha, "Inactive", 1),
                 Col("FatherCard", db_Alpha, "Father Card", 15), Col("ChannlBP", db_Alpha, "Channel BP", 15)},
                {"CardCode"}};
  ObjectTypeDef partners;
  partners.type = 2;
  partners.name = "Business Partner";
  partners.mainTable = "OCRD";
  partners.headerElement = "BusinessPartners";
  partners.keyProperties = {"CardCode"};
  partners.properties = {Prop("CardCode", "CardCode"),
                         PropertyDef{"CardType", "CardType", K::CardType, false, false, "C"},
                         Prop("CardName", "CardName"),
                         Prop("CardForeignName", "CardFName"),
                         Prop("GroupCode", "GroupCode", K::Int),
                         Prop("Currency", "Currency"),
                         Prop("PayTermsGrpCode", "GroupNum", K::Int),
                         Prop("PriceListNum", "ListNum", K::Int),
                         Prop("Priority", "Priority", K::Int),
                         Prop("WTCode", "WTCode"),
                         PropertyDef{"Valid", "validFor", K::YesNo, false, false, "Y"},
                         PropertyDef{"Frozen", "frozenFor", K::YesNo, false, false, "N"},
                         Prop("FatherCard", "FatherCard"),
                         Prop("ChannlBP", "ChannlBP")};
  AddFields(ocrd.columns, partners.properties,
            {{"CommissionGroupCode", K::Int}, {"CreditCardCode", K::Int}, {"ShippingType", K::Int},
             {"SalesPersonCode", K::Int}, {"Territory", K::Int}, {"DebitorAccount", K::Text},
             {"DownPaymentClearAct", K::Text}, {"DefaultTechnician", K::Int}});
  r.addTable(std::move(ocrd));
  r.addTable({"CRD3",
              {Col("CardCode", db_Alpha, "BP Code", 15), Col("LineNum", db_Numeric, "Line"),
               Col("AcctType", db_Alpha, "Account Type", 1), Col("AcctCode", db_Alpha, "Account Code", 15)},
              {"CardCode", "LineNum"}});
  partners.lines = {LineDef{"CRD3",
                            "BPAccountReceivablePayble",
                            {"CardCode"},
                            "LineNum",
                            {Prop("AccountType", "AcctType"), Prop("AccountCode", "AcctCode")}}};
  partners.uniqueProperties = {};
  partners.references = {{"GroupCode", "OCRG", "GroupCode", true},
                         {"CommissionGroupCode", "OCOG", "GroupCode", true},
                         {"CreditCardCode", "OCRC", "CreditCard", true},
                         {"PayTermsGrpCode", "OCTG", "GroupNum", true},
                         {"PriceListNum", "OPLN", "ListNum", true},
                         {"ShippingType", "OSHP", "TrnspCode", true},
                         {"SalesPersonCode", "OSLP", "SlpCode", true},
                         {"Territory", "OTER", "territryID", true},
                         {"DefaultTechnician", "OHEM", "empID", true},
                         {"DebitorAccount", "OACT", "AcctCode", true},
                         {"DownPaymentClearAct", "OACT", "AcctCode", true},
                         {"AccountCode", "OACT", "AcctCode", true},
                         {"FatherCard", "OCRD", "CardCode", true}};
  r.addType(std::move(partners));
}

void RegisterItemGroupsAndWarehouses(ObjectRegistry& r) {
  TableDef oitb{"OITB",
                {Col("ItmsGrpCod", db_Numeric, "Group Number"), Col("ItmsGrpNam", db_Alpha, "Group Name", 20),
                 Col("CycleCode", db_Numeric, "Cycle")},
                {"ItmsGrpCod"}};
  ObjectTypeDef groups;
  groups.type = 52;
  groups.name = "Item Group";
  groups.mainTable = "OITB";
  groups.headerElement = "ItemGroups";
  groups.keyProperties = {"Number"};
  groups.keyPolicy = KeyPolicy::NextNumber;
  groups.properties = {Prop("Number", "ItmsGrpCod", K::Int), Prop("GroupName", "ItmsGrpNam"),
                       Prop("CycleCode", "CycleCode", K::Int)};
  groups.uniqueProperties = {{"GroupName"}};
  groups.references = {{"CycleCode", "OCYC", "Code", true}};
  AddAccounts(groups, oitb, kItemGroupAccounts);
  // The item groups' history: rows the removal of item groups clears first.
  r.addTable({"AITB",
              {Col("ItmsGrpCod", db_Numeric, "Group Number"), Col("LogInstanc", db_Numeric, "Log Instance"),
               Col("ItmsGrpNam", db_Alpha, "Group Name", 20), Col("CycleCode", db_Numeric, "Cycle")},
              {"ItmsGrpCod", "LogInstanc"}});
  r.addTable(std::move(oitb));
  r.addType(std::move(groups));

  TableDef owhs{"OWHS",
                {Col("WhsCode", db_Alpha, "Warehouse Code", 8), Col("WhsName", db_Alpha, "Warehouse Name", 100),
                 Col("Location", db_Numeric, "Location"), Col("DropShip", db_Alpha, "Drop-Ship", 1),
                 Col("UseTax", db_Alpha, "Use Tax", 1), Col("Street", db_Alpha, "Street", 100),
                 Col("County", db_Alpha, "County", 100), Col("ZipCode", db_Alpha, "Zip Code", 20),
                 Col("City", db_Alpha, "City", 100), Col("Country", db_Alpha, "Country", 3),
                 Col("State", db_Alpha, "State", 3), Col("FedTaxID", db_Alpha, "Federal Tax ID", 32)},
                {"WhsCode"}};
  ObjectTypeDef warehouses;
  warehouses.type = 64;
  warehouses.name = "Warehouse";
  warehouses.mainTable = "OWHS";
  warehouses.headerElement = "Warehouses";
  warehouses.keyProperties = {"WarehouseCode"};
  warehouses.properties = {Prop("WarehouseCode", "WhsCode"),
                           Prop("WarehouseName", "WhsName"),
                           Prop("Location", "Location", K::Int),
                           PropertyDef{"DropShip", "DropShip", K::YesNo, false, false, "N"},
                           PropertyDef{"AllowUseTax", "UseTax", K::YesNo, false, false, "N"},
                           Prop("Street", "Street"),
                           Prop("County", "County"),
                           Prop("ZipCode", "ZipCode"),
                           Prop("City", "City"),
                           Prop("Country", "Country"),
                           Prop("State", "State"),
                           Prop("FederalTaxID", "FedTaxID")};
  warehouses.references = {{"Location", "OLCT", "Code", true}};
  AddAccounts(warehouses, owhs, kWarehouseAccounts);
  r.addTable(std::move(owhs));
  r.addType(std::move(warehouses));
}

void RegisterItems(ObjectRegistry& r) {
  TableDef oitm{"OITM",
                {Col("ItemCode", db_Alpha, "Item No.", 50), Col("ItemType", db_Numeric, "Item Type"),
                 Col("ItemName", db_Alpha, "Item Description", 100), Col("FrgnName", db_Alpha, "Foreign Name", 100),
                 Col("ItmsGrpCod", db_Numeric, "Item Group"), Col("FirmCode", db_Numeric, "Manufacturer"),
                 Col("CodeBars", db_Alpha, "Bar Code", 254), Col("PrchseItem", db_Alpha, "Purchase Item", 1),
                 Col("SellItem", db_Alpha, "Sales Item", 1), Col("InvntItem", db_Alpha, "Inventory Item", 1),
                 Col("AssetItem", db_Alpha, "Fixed Asset", 1), Col("WTLiable", db_Alpha, "WTax Liable", 1),
                 Col("validFor", db_Alpha, "Active", 1), Col("frozenFor", db_Alpha, "Inactive", 1)},
                {"ItemCode"}};
  auto yesNo = [](const char* property, const char* column, const char* dflt) {
    return PropertyDef{property, column, K::YesNo, false, false, dflt};
  };
  ObjectTypeDef items;
  items.type = 4;
  items.name = "Item";
  items.mainTable = "OITM";
  items.headerElement = "Items";
  items.keyProperties = {"ItemCode"};
  items.properties = {Prop("ItemCode", "ItemCode"),       Prop("ItemType", "ItemType", K::Int),
                      Prop("ItemName", "ItemName"),       Prop("ForeignName", "FrgnName"),
                      Prop("ItemsGroupCode", "ItmsGrpCod", K::Int), Prop("Manufacturer", "FirmCode", K::Int),
                      Prop("BarCode", "CodeBars"),        yesNo("PurchaseItem", "PrchseItem", "Y"),
                      yesNo("SalesItem", "SellItem", "Y"), yesNo("InventoryItem", "InvntItem", "Y"),
                      yesNo("AssetItem", "AssetItem", "N"), yesNo("WTLiable", "WTLiable", "N"),
                      yesNo("ValidTo", "validFor", "Y"),  yesNo("FrozenTo", "frozenFor", "N")};
  AddFields(oitm.columns, items.properties,
            {{"CommissionGroupCode", K::Int}, {"PurchaseWeightUnit", K::Int}, {"SalesWeightUnit", K::Int},
             {"PurchaseVolumeUnit", K::Int}, {"PurchaseLengthUnit", K::Int}, {"PurchaseWidthUnit", K::Int},
             {"PurchaseHeightUnit", K::Int}, {"SalesVolumeUnit", K::Int}, {"SalesLengthUnit", K::Int},
             {"SalesWidthUnit", K::Int}, {"SalesHeightUnit", K::Int}, {"ShipType", K::Int},
             {"OrderIntervals", K::Int}});
  r.addTable(std::move(oitm));
  r.addTable({"ITM5",
              {Col("ItemCode", db_Alpha, "Item No.", 50), Col("LineNum", db_Numeric, "Line"),
               Col("CycleCode", db_Numeric, "Cycle")},
              {"ItemCode", "LineNum"}});
  r.addTable({"OITW",
              {Col("ItemCode", db_Alpha, "Item No.", 50), Col("WhsCode", db_Alpha, "Warehouse Code", 8),
               Col("RevenuesAccount", db_Alpha, "Revenue Account", 15),
               Col("ExpensesAccount", db_Alpha, "Expense Account", 15),
               Col("PurchaseCreditAcc", db_Alpha, "Purchase Credit Account", 15),
               Col("SalesCreditAcc", db_Alpha, "Sales Credit Account", 15)},
              {"ItemCode", "WhsCode"}});
  items.lines = {LineDef{"ITM5", "ItemCycleCount", {"ItemCode"}, "LineNum", {Prop("CycleCode", "CycleCode", K::Int)}},
                 LineDef{"OITW",
                         "ItemWarehouseInfo",
                         {"ItemCode"},
                         "",
                         {Prop("WarehouseCode", "WhsCode"), Prop("RevenuesAccount", "RevenuesAccount"),
                          Prop("ExpensesAccount", "ExpensesAccount"), Prop("PurchaseCreditAcc", "PurchaseCreditAcc"),
                          Prop("SalesCreditAcc", "SalesCreditAcc")}}};
  items.references = {{"ItemsGroupCode", "OITB", "ItmsGrpCod", true}, {"Manufacturer", "OMRC", "FirmCode", true},
                      {"CycleCode", "OCYC", "Code", true},             {"OrderIntervals", "OCYC", "Code", true},
                      {"CommissionGroupCode", "OCOG", "GroupCode", true}, {"ShipType", "OSHP", "TrnspCode", true},
                      {"PurchaseWeightUnit", "OWGT", "UnitCode", true}, {"SalesWeightUnit", "OWGT", "UnitCode", true},
                      {"WarehouseCode", "OWHS", "WhsCode", false}};
  for (const char* unit : {"PurchaseVolumeUnit", "PurchaseLengthUnit", "PurchaseWidthUnit", "PurchaseHeightUnit",
                           "SalesVolumeUnit", "SalesLengthUnit", "SalesWidthUnit", "SalesHeightUnit"})
    items.references.push_back({unit, "OLGT", "UnitCode", true});
  for (const char* account : {"RevenuesAccount", "ExpensesAccount", "PurchaseCreditAcc", "SalesCreditAcc"})
    items.references.push_back({account, "OACT", "AcctCode", true});
  r.addType(std::move(items));
}

// Demo rows: names the companies share under other keys, rows only one of
// them has, and names with ', & and <.
void AddMasterDataDemoRows(ObjectRegistry& r) {
  r.addDemoRows({"OCRG",
                 {"GroupCode", "GroupName", "GroupType"},
                 {{"930", "Customers", "C"}, {"931", "Vendors", "S"}, {"921", "O'Neil & <Partners>", "C"}},
                 {{"930", "Customers", "C"}, {"931", "Vendors", "S"}, {"927", "O'Neil & <Partners>", "C"}}});
  r.addDemoRows({"OSLP", {"SlpCode", "SlpName"}, {{"1", "Ann"}}, {{"5", "Ann"}}});
  r.addDemoRows({"OTER", {"territryID", "descript"}, {{"1", "North"}}, {{"3", "North"}}});
  r.addDemoRows({"OHEM", {"empID", "lastName", "firstName"}, {{"1", "Smith", "Jo"}}, {{"8", "Smith", "Jo"}}});
  r.addDemoRows({"OACT",
                 {"AcctCode", "AcctName", "FormatCode"},
                 {{"_SYS01", "Receivables", "1100-00"}, {"_SYS02", "Stock", "1300-00"}, {"_SYS03", "Revenue", "4000-00"}},
                 {{"_SYS01", "Bank", "1000-00"}, {"_SYS02", "Stock (old)", "9999-99"}, {"_SYS03", "Revenue", "4000-01"},
                  {"_SYS11", "Receivables", "1100-00"}, {"_SYS12", "Stock", "1300-00"},
                  {"_SYS13", "Revenue", "4000-00"}}});
  r.addDemoRows({"OIDC", {"Code", "Name"}, {{"1", "Export"}, {"2", "Domestic & <EU>"}}, {{"5", "Export"}}});
  r.addDemoRows({"OTNN",
                 {"FormCode", "Form1099"},
                 {{"1", "1099-MISC"}, {"2", "O'Reilly's 1099"}},
                 {{"6", "1099-MISC"}}});
  r.addDemoRows({"ONNM", {"ObjectCode", "AutoKey", "DfltSeries"}, {{"138", "3", "0"}, {"145", "3", "0"}},
                 {{"138", "6", "0"}, {"145", "7", "0"}}});
  r.addDemoRows({"OCRC", {"CreditCard", "CardName"}, {{"1", "Visa"}, {"2", "Master & <Card>"}},
                 {{"3", "Master & <Card>"}, {"4", "Visa"}}});
  r.addDemoRows({"OCDT", {"Code", "Name"}, {{"1", "Monthly"}, {"2", "Quarterly"}}, {{"5", "Quarterly"}, {"6", "Yearly"}}});
  r.addDemoRows({"OCRP",
                 {"CrTypeCode", "CrTypeName", "CreditCard", "DueTerms"},
                 {{"1", "Visa monthly", "1", "1"}, {"2", "Card's quarter", "2", "2"}},
                 {{"4", "Card's quarter", "3", "5"}, {"5", "Target's own", "4", "6"}}});
  r.addDemoRows({"OPLN", {"ListNum", "ListName"}, {{"1", "Base Price"}, {"2", "Retail"}}, {{"1", "Retail"}, {"3", "Base Price"}}});
  r.addDemoRows({"OITB",
                 {"ItmsGrpCod", "ItmsGrpNam", "CycleCode", "InventoryAccount"},
                 {{"100", "Items", "1", "_SYS02"}, {"103", "Tools & <Parts>", kNull, kNull}},
                 {{"100", "Items (old)", "4", "_SYS12"}, {"107", "Tools & <Parts>", kNull, kNull}}});
  r.addDemoRows({"AITB", {"ItmsGrpCod", "LogInstanc", "ItmsGrpNam"}, {}, {{"107", "1", "Tools"}, {"107", "2", "Tools & <Parts>"}}});
  r.addDemoRows({"OWHS",
                 {"WhsCode", "WhsName", "Location", "StockAccount"},
                 {{"01", "General", "1", "_SYS02"}, {"02", "O'Hare & <Yard>", "2", kNull}},
                 {{"01", "General (old)", "3", "_SYS12"}}});
  // ProjectCod is the setup families' column of OCRD: a project a partner uses.
  r.addDemoRows({"OCRD",
                 {"CardCode", "CardType", "CardName", "GroupCode", "GroupNum", "ListNum", "FatherCard", "DebitorAccount", "ProjectCod"},
                 {{"A100", "C", "Child of P", "921", "3", "1", "P100", "_SYS01", "P1"},
                  {"C200", "C", "Same code & <name>", "930", "1", "2", kNull, kNull, kNull},
                  {"P100", "C", "O'Brien Parent", "921", "3", "1", kNull, "_SYS01", kNull},
                  {"V300", "S", "Base-only vendor", "931", kNull, kNull, kNull, kNull, kNull},
                  {"L400", "L", "A lead", kNull, kNull, kNull, kNull, kNull, kNull}},
                 {{"C200", "C", "Other name in target", "930", "1", "1", kNull, kNull, "P1"},
                  {"T900", "S", "Target-only", "931", kNull, kNull, kNull, kNull, "P8"}}});
  r.addDemoRows({"OITM",
                 {"ItemCode", "ItemType", "ItemName", "ItmsGrpCod", "FirmCode"},
                 {{"I001", "0", "Bolt & <Nut>", "100", "1"}, {"I002", "1", "Fitter's hour", "103", kNull}},
                 {{"I001", "0", "Bolt (old)", "100", "2"}}});
}

}  // namespace

void RegisterMasterData(ObjectRegistry& r) {
  RegisterReferencedTables(r);
  RegisterBusinessPartners(r);
  RegisterItemGroupsAndWarehouses(r);
  RegisterItems(r);
  AddMasterDataDemoRows(r);
}

}  // namespace dpx::host
