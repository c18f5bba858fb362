// What items and partners carry beside their master records, copied between
// two simulated companies: item prices, special prices and price
// hierarchies, discount groups, catalog numbers and alternative items. Every
// case runs with the target as server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/finance/alternative_items_manager.h"
#include "categories/finance/bp_catalog_numbers_manager.h"
#include "categories/finance/discount_groups_manager.h"
#include "categories/finance/price_hierarchies_manager.h"
#include "categories/finance/price_list_manager.h"
#include "categories/finance/special_prices_manager.h"
#include "tests/categories/category_copy.h"

namespace {

using dpx::test::CopyCategory;
using dpx::test::CopyFixture;
using dpx::test::MethodCase;
using dpx::test::StoredBlocks;
using Lines = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kPricesKey = "DPX_TRN_PRICELISTSLEAF_100";
constexpr const char* kSpecialKey = "DPX_TRN_SPECIALPRICESBP_100";
constexpr const char* kHierarchiesKey = "DPX_TRN_PRICEHIERARCHIES_100";
constexpr const char* kDiscountsKey = "DPX_TRN_DISCOUNTGROUPS_100";
constexpr const char* kCatalogKey = "DPX_TRN_BPCATALOGNUMBERS_100";
constexpr const char* kAlternativesKey = "DPX_TRN_ALTERNATIVEITEMS_100";

class Prices : public ::testing::TestWithParam<int> {};

// Items, a partner and price lists in both companies: the list "X" is 3 in
// the base and 5 in the target, whose list 3 is another; "Y" is 2 and 7.
void SeedMasterData(CopyFixture& fx) {
  for (auto* company : {fx.base.get(), fx.target.get()})
    CopyFixture::Exec(*company,
                      "INSERT INTO OITM (ItemCode, ItemName) VALUES ('I1', 'Bolt & <Nut>'), ('I2', 'Fitter''s hour');"
                      "INSERT INTO OCRD (CardCode, CardType, CardName) VALUES ('C1', 'C', 'O''Brien & <Co>');");
  CopyFixture::Exec(*fx.base, "INSERT INTO OPLN (ListNum, ListName) VALUES (3, 'X'), (2, 'Y');");
  CopyFixture::Exec(*fx.target, "INSERT INTO OPLN (ListNum, ListName) VALUES (5, 'X'), (3, 'Other'), (7, 'Y');");
}

Rows List(CopyFixture& fx, const std::string& key) {
  RegisterCategoryClasses();
  return DPX_CategoryFactory(&fx.context).createManager(key)->collectDetails()->getListRows();
}

// --- Item prices: the price list travels by its name.

const char* kPriceRows = "SELECT ItemCode || ':' || PriceList || ':' || Price FROM ITM1 ORDER BY ItemCode, PriceList";

TEST_P(Prices, ItemPricesLandInTheTargetsListOfTheSameName) {
  const std::vector<MethodCase> cases = {
      // The removal pass deletes every row of the target, not only those of the base's items.
      {0, "",
       {"DPX_TRN_PRICELISTSLEAF_100|404|402|||I1|3||", "DPX_TRN_PRICELISTSLEAF_100|404|402|||I1|5||",
        "DPX_TRN_PRICELISTSLEAF_100|404|402|||I2|7||"}},
      {1, "I1:3:1.0,I1:5:10.0,I2:5:20.0,I2:7:2.0",
       {"DPX_TRN_PRICELISTSLEAF_100|213|402|I1|5|I1|5|5|", "DPX_TRN_PRICELISTSLEAF_100|212|402|I2|5||||"}},
      {2, "I1:3:1.0,I1:5:10.0,I2:7:2.0", {"DPX_TRN_PRICELISTSLEAF_100|213|402|I1|5|I1|5|5|"}},
      {3, "I1:3:1.0,I1:5:99.0,I2:5:20.0,I2:7:2.0", {"DPX_TRN_PRICELISTSLEAF_100|212|402|I2|5||||"}},
      {4, "I1:3:1.0,I1:5:10.0,I2:5:20.0,I2:7:2.0",
       {"DPX_TRN_PRICELISTSLEAF_100|213|402|I1|5|I1|5|5|", "DPX_TRN_PRICELISTSLEAF_100|212|402|I2|5||||"}},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedMasterData(fx);
    CopyFixture::Exec(*fx.base, "INSERT INTO ITM1 (ItemCode, PriceList, Price, Currency) VALUES "
                                "('I1', 3, 10, 'USD'), ('I2', 3, 20, 'EUR');");
    CopyFixture::Exec(*fx.target, "INSERT INTO ITM1 (ItemCode, PriceList, Price, Currency) VALUES "
                                  "('I1', 5, 99, 'USD'), ('I1', 3, 1, 'USD'), ('I2', 7, 2, 'USD');");
    CopyCategory<DPX_PriceListManager>(fx, kPricesKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kPriceRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(Prices, ItemPriceListShowsTheItemsAndTheListsNames) {
  CopyFixture fx(GetParam());
  SeedMasterData(fx);
  // An item and a list the base lacks show as their codes, not as the row before's names.
  CopyFixture::Exec(*fx.base, "INSERT INTO ITM1 (ItemCode, PriceList, Price, Currency) VALUES "
                              "('I1', 3, 10.5, 'USD'), ('I404', 404, 1, 'EUR');");
  EXPECT_EQ(List(fx, kPricesKey),
            (Rows{{"Bolt & <Nut>", "X", "10.50", "USD"}, {"I404", "404", "1.00", "EUR"}}));
}

// --- Special prices and price hierarchies: one table, two categories.

void SeedSpecialPrices(CopyFixture& fx) {
  SeedMasterData(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO OSPP (ItemCode, CardCode, Price, Currency, Discount, ListNum) VALUES "
                              "('I1', 'C1', 12.5, 'USD', 0, 2), ('I1', '*1', 10, 'USD', 0, 3);");
  CopyFixture::Exec(*fx.target, "INSERT INTO OSPP (ItemCode, CardCode, Price, Currency, Discount, ListNum) VALUES "
                                "('I2', 'C1', 1, 'USD', 0, 7), ('I2', '*1', 2, 'USD', 0, 5);");
}

const char* kSpecialRows = "SELECT ItemCode || ':' || CardCode || ':' || ListNum FROM OSPP ORDER BY ItemCode, CardCode";

TEST_P(Prices, ReplaceAllOfOneKindKeepsTheTargetsRecordsOfTheOther) {
  struct Case {
    const char* key;
    std::string rows;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {kSpecialKey, "I1:C1:7,I2:*1:5",
       {"DPX_TRN_SPECIALPRICESBP_100|404|402|||I2|C1||", "DPX_TRN_SPECIALPRICESBP_100|212|402|I1|C1||||"}},
      {kHierarchiesKey, "I1:*1:5,I2:C1:7",
       {"DPX_TRN_PRICEHIERARCHIES_100|404|402|||I2|*1||", "DPX_TRN_PRICEHIERARCHIES_100|212|402|I1|*1||||"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    CopyFixture fx(GetParam());
    SeedSpecialPrices(fx);
    const auto blocks = CopyCategory<DPX_SpecialPricesManager>(fx, c.key, 0);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].dataItems.size(), 1u);  // only its own kind is read
    CopyCategory<DPX_SpecialPricesManager>(fx, c.key, 1);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kSpecialRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(Prices, SpecialPriceListShowsSixDecimalsAndNames) {
  CopyFixture fx(GetParam());
  SeedSpecialPrices(fx);
  // The item I404 is not in the base: its code shows, not the row before's name.
  CopyFixture::Exec(*fx.base, "INSERT INTO OSPP (ItemCode, CardCode, Price, Currency, Discount, ListNum) VALUES "
                              "('I404', 'C1', 3, 'USD', 2.25, 2);");
  EXPECT_EQ(List(fx, kSpecialKey), (Rows{{"Bolt & <Nut>", "O'Brien & <Co>", "12.500000", "USD", "0.000000"},
                                         {"I404", "O'Brien & <Co>", "3.000000", "USD", "2.250000"}}));
  // A hierarchy names no partner: an empty cell, never the partner of another row.
  EXPECT_EQ(List(fx, kHierarchiesKey), (Rows{{"Bolt & <Nut>", "", "10.000000", "USD", "0.000000"}}));
}

TEST_P(Prices, ASpecialPriceForAPartnerTheTargetLacksIsRefusedAndTheNextWritten) {
  CopyFixture fx(GetParam());
  SeedMasterData(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO OCRD (CardCode, CardType, CardName) VALUES ('C9', 'C', 'Base only');"
                              "INSERT INTO OSPP (ItemCode, CardCode, Price, Currency, Discount, ListNum) VALUES "
                              "('I1', 'C9', 1, 'USD', 0, 2), ('I2', 'C1', 2, 'USD', 0, 2);");
  CopyCategory<DPX_SpecialPricesManager>(fx, kSpecialKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kSpecialRows), "I2:C1:7");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("DPX_TRN_SPECIALPRICESBP_100|212|403|I1|C9|", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("Business partner 'C9' does not exist"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1], "DPX_TRN_SPECIALPRICESBP_100|212|402|I2|C1||||");
}

// --- Discount groups: the object each row names travels by its name.

void SeedDiscountGroups(CopyFixture& fx) {
  SeedMasterData(fx);
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (3, 'Tools & <Parts>');"
                    "INSERT INTO OITG (ItmsTypCod, ItmsGrpNam) VALUES (2, 'Owner''s kit');"
                    "INSERT INTO OMRC (FirmCode, FirmName) VALUES (1, 'Acme');"
                    "INSERT INTO OSPG (CardCode, ObjType, ObjKey, Discount) VALUES "
                    "('C1', '52', '3', 5), ('C1', '8', '2', 3), ('C1', '43', '1', 2.5), ('C1', '99', '7', 1), "
                    "('C1', '52', '555', 4);");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (3, 'Other'), (7, 'Tools & <Parts>');"
                    "INSERT INTO OITG (ItmsTypCod, ItmsGrpNam) VALUES (2, 'Other'), (4, 'Owner''s kit');"
                    "INSERT INTO OMRC (FirmCode, FirmName) VALUES (1, 'Other'), (2, 'Acme');");
}

const char* kDiscountRows =
    "SELECT CardCode || ':' || ObjType || ':' || ObjKey || ':' || Discount FROM OSPG ORDER BY ObjType, ObjKey";

TEST_P(Prices, DiscountGroupsTakeTheTargetsKeyOfTheObjectOfTheSameName) {
  CopyFixture fx(GetParam());
  SeedDiscountGroups(fx);
  CopyCategory<DPX_DiscountGroupsManager>(fx, kDiscountsKey, 4);
  // Kind 99 and the group the base lacks keep their keys.
  EXPECT_EQ(CopyFixture::Column(*fx.target, kDiscountRows),
            "C1:43:2:2.5,C1:52:555:4.0,C1:52:7:5.0,C1:8:4:3.0,C1:99:7:1.0");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 5u);
  for (const std::string& line : lines) EXPECT_NE(line.find("|212|402|C1|"), std::string::npos) << line;
}

TEST_P(Prices, DiscountGroupListShowsKindsAndNames) {
  CopyFixture fx(GetParam());
  SeedDiscountGroups(fx);
  EXPECT_EQ(List(fx, kDiscountsKey), (Rows{{"O'Brien & <Co>", "Item Groups", "Tools & <Parts>", "5.00"},
                                           {"O'Brien & <Co>", "Item Properties", "Owner's kit", "3.00"},
                                           {"O'Brien & <Co>", "Manufactures", "Acme", "2.50"},
                                           {"O'Brien & <Co>", "99", "7", "1.00"},
                                           {"O'Brien & <Co>", "Item Groups", "555", "4.00"}}));
}

TEST_P(Prices, DiscountGroupsFromAConfigurationFileHaveKeysAndAPartialSelectionCopiesItsRows) {
  CopyFixture fx(GetParam());
  SeedDiscountGroups(fx);
  RegisterCategoryClasses();
  std::vector<DPX_OperationArgs> blocks;
  DPX_DiscountGroupsManager(&fx.context, kDiscountsKey).readFromDB(blocks, {});
  StoredBlocks file(blocks);
  DPX_DiscountGroupsManager listing(&fx.context, kDiscountsKey);
  const DPX_TableInfo* stored = listing.readFromFile(&file);
  // Every row has its keys; an object the file names by its name is keyed by that name.
  ASSERT_EQ(stored->getDetailRecords().size(), 5u);
  const DPX_DetailRecord& property = stored->getDetailRecords()[1];
  EXPECT_EQ(property.getKeyValue(0).toText(), "C1");
  EXPECT_EQ(property.getKeyValue(1).toText(), "8");
  EXPECT_EQ(property.getKeyValue(2).toText(), "Owner's kit");
  EXPECT_EQ(stored->getDetailRecords()[3].getKeyValue(2).toText(), "7");
  EXPECT_EQ(stored->getListRows()[3], (std::vector<std::string>{"C1", "99", "7", "1"}));

  // A partial selection of the listed rows copies those rows alone.
  DPX_DiscountGroupsManager picking(&fx.context, kDiscountsKey);
  const DPX_DetailRecord chosen = picking.collectDetails()->getDetailRecords().at(1);
  CopyCategory<DPX_DiscountGroupsManager>(fx, kDiscountsKey, 4, {chosen});
  EXPECT_EQ(CopyFixture::Column(*fx.target, kDiscountRows), "C1:8:4:3.0");
}

// --- Catalog numbers: a record is its three key values.

TEST_P(Prices, CatalogNumbersDifferingInTheirNumberAreTwoRecords) {
  const std::vector<MethodCase> cases = {
      // Replace All removes the target's numbers one by one.
      {0, "", {"DPX_TRN_BPCATALOGNUMBERS_100|404|402|||I1|C1||", "DPX_TRN_BPCATALOGNUMBERS_100|404|402|||I2|C1||"}},
      {3, "I1:C1:A,I1:C1:A & <b>'s,I2:C1:Z", {"DPX_TRN_BPCATALOGNUMBERS_100|212|402|I1|C1||||"}},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedMasterData(fx);
    CopyFixture::Exec(*fx.base, "INSERT INTO OSCN (ItemCode, CardCode, Substitute) VALUES "
                                "('I1', 'C1', 'A'), ('I1', 'C1', 'A & <b>''s');");
    CopyFixture::Exec(*fx.target, "INSERT INTO OSCN (ItemCode, CardCode, Substitute) VALUES "
                                  "('I1', 'C1', 'A'), ('I2', 'C1', 'Z');");
    CopyCategory<DPX_BPCatalogNumbersManager>(fx, kCatalogKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT ItemCode || ':' || CardCode || ':' || Substitute FROM OSCN "
                                              "ORDER BY ItemCode, Substitute"),
              c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(Prices, CatalogNumberListShowsTheKeyRowsAsTheyStand) {
  CopyFixture fx(GetParam());
  SeedMasterData(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO OSCN (ItemCode, CardCode, Substitute) VALUES ('I1', 'C1', 'A & <b>''s');");
  EXPECT_EQ(List(fx, kCatalogKey), (Rows{{"I1", "C1", "A & <b>'s"}}));
}

// --- Alternative items: Replace All empties the table by one deletion.

TEST_P(Prices, AlternativeItemsReplaceAllDeletesOnceThenWritesTheBasesRows) {
  CopyFixture fx(GetParam());
  SeedMasterData(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO OALI (OrigItem, AltItem, Match) VALUES ('I1', 'I2', 80), ('I2', 'I1', 70);");
  CopyFixture::Exec(*fx.target, "INSERT INTO OALI (OrigItem, AltItem, Match) VALUES ('I1', 'I9', 50), ('I9', 'I1', 5);");
  CopyCategory<DPX_AlternativeItemsManager>(fx, kAlternativesKey, 0);
  CopyCategory<DPX_AlternativeItemsManager>(fx, kAlternativesKey, 1);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT OrigItem || ':' || AltItem || ':' || Match FROM OALI "
                                            "ORDER BY OrigItem"),
            "I1:I2:80.0,I2:I1:70.0");
  EXPECT_EQ(fx.logLines(),
            (Lines{"DPX_TRN_ALTERNATIVEITEMS_100|404|402|||I1|I9||", "DPX_TRN_ALTERNATIVEITEMS_100|404|402|||I9|I1||",
                   "DPX_TRN_ALTERNATIVEITEMS_100|212|402|I1|I2||||", "DPX_TRN_ALTERNATIVEITEMS_100|212|402|I2|I1||||"}));
}

}  // namespace

namespace {

// A price list or a discount object the target lacks: the row is not written
// under another list's or object's key; the host's refusal is logged.
TEST_P(Prices, ARowNamingWhatTheTargetLacksIsRefusedAndTheNextWritten) {
  CopyFixture fx(GetParam());
  SeedDiscountGroups(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO OPLN (ListNum, ListName) VALUES (4, 'Base only');"
                              "INSERT INTO ITM1 (ItemCode, PriceList, Price, Currency) VALUES "
                              "('I1', 4, 1, 'USD'), ('I2', 3, 2, 'USD');"
                              "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (4, 'Base only');"
                              "DELETE FROM OSPG; INSERT INTO OSPG (CardCode, ObjType, ObjKey, Discount) VALUES "
                              "('C1', '52', '4', 1), ('C1', '52', '3', 2);");
  CopyCategory<DPX_PriceListManager>(fx, kPricesKey, 4);
  CopyCategory<DPX_DiscountGroupsManager>(fx, kDiscountsKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kPriceRows), "I2:5:2.0");
  EXPECT_EQ(CopyFixture::Column(*fx.target, kDiscountRows), "C1:52:7:2.0");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "DPX_TRN_PRICELISTSLEAF_100||403|I1|||||The row has no value for its key field 'PriceList'");
  EXPECT_EQ(lines[1], "DPX_TRN_PRICELISTSLEAF_100|212|402|I2|5||||");
  EXPECT_EQ(lines[2], "DPX_TRN_DISCOUNTGROUPS_100||403|C1|52||||The row has no value for its key field 'ObjKey'");
  EXPECT_EQ(lines[3], "DPX_TRN_DISCOUNTGROUPS_100|212|402|C1|52||||");
}

}  // namespace

namespace {

INSTANTIATE_TEST_SUITE_P(PricesCopy, Prices, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) { return "Type" + std::to_string(info.param); });

}  // namespace
