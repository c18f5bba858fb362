// Registry: what items and partners carry beside their master records.
// Special prices and price hierarchies (OSPP, type 7), the partners' catalog
// numbers of items (OSCN, type 73), the item properties as a business object
// (OITG, type 8, the setup families' table), and the plain tables of item
// prices (ITM1), discount groups (OSPG) and alternative items (OALI).
//
// Special prices and catalog numbers check the item and the partner they
// name when they are written; the check is a write rule, not a reference,
// so an item or partner is not held back from removal by them.
#include <string>

#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/object_registry.h"
#include "platform/host/registry_rules.h"

namespace dpx::host {

namespace {

using K = PropKind;

ColumnDef KeyColumn(const char* name, int type, const char* description, int size = 0) {
  ColumnDef column = Col(name, type, description, size);
  column.notNull = true;
  return column;
}

// A special price names an item, and a partner unless it is a price
// hierarchy (its CardCode begins with "*").
int CheckSpecialPrice(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& header,
                      std::string& error) {
  if (int refused = RequireRow(store, "OITM", "ItemCode", HeaderText(header, "ItemCode"), "Item", error)) return refused;
  const std::string card = HeaderText(header, "CardCode");
  if (!card.empty() && card[0] == '*') return 0;
  return RequireRow(store, "OCRD", "CardCode", card, "Business partner", error);
}

int CheckCatalogNumber(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& header,
                       std::string& error) {
  if (int refused = RequireRow(store, "OITM", "ItemCode", HeaderText(header, "ItemCode"), "Item", error)) return refused;
  return RequireRow(store, "OCRD", "CardCode", HeaderText(header, "CardCode"), "Business partner", error);
}

void RegisterSpecialPrices(ObjectRegistry& r) {
  r.addTable({"OSPP",
              {KeyColumn("ItemCode", db_Alpha, "Item No.", 50), KeyColumn("CardCode", db_Alpha, "BP Code", 15),
               Col("Price", db_Float, "Price"), Col("Currency", db_Alpha, "Currency", 3),
               Col("Discount", db_Float, "Discount %"), Col("ListNum", db_Numeric, "Price List")},
              {"ItemCode", "CardCode"}});
  ObjectTypeDef prices;
  prices.type = 7;
  prices.name = "Special Price";
  prices.mainTable = "OSPP";
  prices.headerElement = "SpecialPrices";
  prices.keyProperties = {"ItemCode", "CardCode"};
  prices.properties = {Prop("ItemCode", "ItemCode"),          Prop("CardCode", "CardCode"),
                       Prop("Price", "Price", K::Double),     Prop("Currency", "Currency"),
                       Prop("DiscountPercent", "Discount", K::Double), Prop("PriceListNum", "ListNum", K::Int)};
  prices.references = {{"PriceListNum", "OPLN", "ListNum", false}};
  prices.hooks.afterAdd = CheckSpecialPrice;
  prices.hooks.afterUpdate = CheckSpecialPrice;
  r.addType(std::move(prices));

  r.addTable({"OSCN",
              {KeyColumn("ItemCode", db_Alpha, "Item No.", 50), KeyColumn("CardCode", db_Alpha, "BP Code", 15),
               KeyColumn("Substitute", db_Alpha, "BP Catalog No.", 20)},
              {"ItemCode", "CardCode", "Substitute"}});
  ObjectTypeDef catalog;
  catalog.type = 73;
  catalog.name = "BP Catalog Number";
  catalog.mainTable = "OSCN";
  catalog.headerElement = "AlternateCatNum";
  catalog.keyProperties = {"ItemCode", "CardCode", "Substitute"};
  catalog.properties = {Prop("ItemCode", "ItemCode"), Prop("CardCode", "CardCode"), Prop("Substitute", "Substitute")};
  catalog.hooks.afterAdd = CheckCatalogNumber;
  catalog.hooks.afterUpdate = CheckCatalogNumber;
  r.addType(std::move(catalog));

  // The item properties' table is the setup families'; this is its object.
  ObjectTypeDef properties;
  properties.type = 8;
  properties.name = "Item Property";
  properties.mainTable = "OITG";
  properties.headerElement = "ItemProperties";
  properties.keyProperties = {"Number"};
  properties.keyPolicy = KeyPolicy::NextNumber;
  properties.properties = {Prop("Number", "ItmsTypCod", K::Int), Prop("PropertyName", "ItmsGrpNam")};
  properties.uniqueProperties = {{"PropertyName"}};
  r.addType(std::move(properties));
}

void RegisterPriceTables(ObjectRegistry& r) {
  r.addTable({"ITM1",
              {KeyColumn("ItemCode", db_Alpha, "Item No.", 50), KeyColumn("PriceList", db_Numeric, "Price List"),
               Col("Price", db_Float, "Price"), Col("Currency", db_Alpha, "Currency", 3)},
              {"ItemCode", "PriceList"}});
  r.addTable({"OSPG",
              {KeyColumn("CardCode", db_Alpha, "BP Code", 15), KeyColumn("ObjType", db_Alpha, "Object Type", 20),
               KeyColumn("ObjKey", db_Alpha, "Object Key", 20), Col("Discount", db_Float, "Discount %")},
              {"CardCode", "ObjType", "ObjKey"}});
  r.addTable({"OALI",
              {KeyColumn("OrigItem", db_Alpha, "Original Item", 50), KeyColumn("AltItem", db_Alpha, "Alternative Item", 50),
               Col("Match", db_Float, "Match Factor")},
              {"OrigItem", "AltItem"}});
}

// Demo rows over the master data's partners C200 and A100, items I001 and
// I002 and price lists "Base Price" (1 in the base, 3 in the target) and
// "Retail" (2 and 1).
void AddPriceDemoRows(ObjectRegistry& r) {
  r.addDemoRows({"OSPP",
                 {"ItemCode", "CardCode", "Price", "Currency", "Discount", "ListNum"},
                 {{"I001", "C200", "12.5", "USD", "0", "1"},
                  {"I002", "A100", "20", "EUR", "5", "2"},
                  {"I001", "*1", "10", "USD", "0", "1"}},
                 {{"I001", "C200", "11", "USD", "0", "1"}, {"I001", "*1", "9", "USD", "1", "3"},
                  {"I001", "*2", "8", "USD", "0", "3"}}});
  r.addDemoRows({"OSCN",
                 {"ItemCode", "CardCode", "Substitute"},
                 {{"I001", "C200", "C-1"}, {"I001", "C200", "C-1 O'Neil & <alt>"}},
                 {{"I001", "C200", "C-1"}}});
  r.addDemoRows({"ITM1",
                 {"ItemCode", "PriceList", "Price", "Currency"},
                 {{"I001", "1", "10", "USD"}, {"I001", "2", "12", "USD"}, {"I002", "1", "50", "EUR"}},
                 {{"I001", "1", "99", "USD"}, {"I001", "3", "8", "USD"}}});
  // The item property "Owner's & <kit>" is 2 in the base and 4 in the target.
  r.addDemoRows({"OITG", {"ItmsTypCod", "ItmsGrpNam"}, {}, {{"4", "Owner's & <kit>"}}});
  r.addDemoRows({"OSPG",
                 {"CardCode", "ObjType", "ObjKey", "Discount"},
                 {{"C200", "52", "103", "5"},
                  {"C200", "8", "2", "3"},
                  {"C200", "43", "1", "2.5"},
                  {"C200", "99", "7", "1"},
                  {"C200", "52", "555", "4"}},
                 {{"C200", "52", "107", "1"}}});
  r.addDemoRows({"OALI", {"OrigItem", "AltItem", "Match"}, {{"I001", "I002", "80"}}, {{"I001", "I009", "50"}}});
}

}  // namespace

void RegisterPrices(ObjectRegistry& r) {
  RegisterSpecialPrices(r);
  RegisterPriceTables(r);
  AddPriceDemoRows(r);
}

}  // namespace dpx::host
