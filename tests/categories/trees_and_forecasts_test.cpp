// Bills of materials (product trees with the cost-accounting rows they
// carry) and sales forecasts copied between two simulated companies. Every
// case runs with the target as server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/finance/bom_manager.h"
#include "categories/finance/forecasts_manager.h"
#include "tests/categories/category_copy.h"

namespace {

using dpx::test::CopyCategory;
using dpx::test::CopyFixture;
using dpx::test::MethodCase;
using Lines = std::vector<std::string>;

constexpr const char* kTreesKey = "DPX_TRN_BILLOFMATERIALS_100";
constexpr const char* kForecastsKey = "DPX_TRN_FORECASTS_100";

class TreesAndForecasts : public ::testing::TestWithParam<int> {};

// Items I1, I2 and I9 in the target; the base's trees of I1 and I2, the
// target's of I1 and I9; a profit centre only the base has.
void SeedTrees(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base, "INSERT INTO OITM (ItemCode, ItemName) VALUES ('I1', 'Bolt & <Nut>'), ('I2', 'Kit');"
                              "INSERT INTO OITT (Code, TreeType, Qauntity) VALUES ('I1', 1, 2), ('I2', 3, 1);"
                              "INSERT INTO OPRC (PrcCode, PrcName) VALUES ('PC1', 'O''Brien''s centre');");
  CopyFixture::Exec(*fx.target, "INSERT INTO OITM (ItemCode, ItemName) VALUES ('I1', 'Bolt'), ('I2', 'Kit'), "
                                "('I9', 'Target''s');"
                                "INSERT INTO OITT (Code, TreeType, Qauntity) VALUES ('I1', 4, 5), ('I9', 2, 1);");
}

const char* kTreeRows = "SELECT Code || ':' || TreeType || ':' || Qauntity FROM OITT ORDER BY Code";
const char* kCentres = "SELECT PrcCode FROM OPRC";

TEST_P(TreesAndForecasts, TreesByMethodWithTheProfitCentresAlways) {
  const Lines updated = {"DPX_TRN_BILLOFMATERIALS_100|213|402|I1|2.00|I1|2.00|5.00|"};
  const Lines added = {"DPX_TRN_BILLOFMATERIALS_100|212|402|I2|1.00||||"};
  const std::vector<MethodCase> cases = {
      // The removal pass removes trees only: the profit centres neither go nor come.
      {0, "", {"DPX_TRN_BILLOFMATERIALS_100|404|402|||I1|5.00||", "DPX_TRN_BILLOFMATERIALS_100|404|402|||I9|1.00||"}},
      {1, "I1:1:2.0,I2:3:1.0,I9:2:1.0", {updated[0], added[0]}},
      {2, "I1:1:2.0,I9:2:1.0", updated},
      {3, "I1:4:5.0,I2:3:1.0,I9:2:1.0", added},
      {4, "I1:1:2.0,I2:3:1.0,I9:2:1.0", {updated[0], added[0]}},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedTrees(fx);
    CopyCategory<DPX_BOMManager>(fx, kTreesKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kTreeRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kCentres), c.method == 0 ? "" : "PC1");
  }
}

// A block of the trees' plain rows beside the trees themselves (as a
// configuration file may hold): the trees are written once, as objects.
TEST_P(TreesAndForecasts, TreesTravelOnceAsObjects) {
  CopyFixture fx(GetParam());
  SeedTrees(fx);
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  std::vector<DPX_OperationArgs> blocks;
  auto reader = factory.createManager(kTreesKey);
  reader->readFromDB(blocks, {});
  // The centres and the trees: no block of plain tree rows is read.
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].tableName, "OPRC");
  blocks.insert(blocks.begin() + 1, reader->readBaseTable("OITT", "", 0));
  factory.createManager(kTreesKey)->writeData(blocks, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kTreeRows), "I1:1:2.0,I2:3:1.0,I9:2:1.0");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_BILLOFMATERIALS_100|213|402|I1|2.00|I1|2.00|5.00|",
                                  "DPX_TRN_BILLOFMATERIALS_100|212|402|I2|1.00||||"}));
}

TEST_P(TreesAndForecasts, TheListShowsATreesTypeAsItsText) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OITT (Code, TreeType, Qauntity) VALUES ('A', 0, 1), ('B', 3, 1), "
                              "('C', 4, 1), ('D', 7, 1), ('E', NULL, 1);");
  RegisterCategoryClasses();
  const auto rows = DPX_CategoryFactory(&fx.context).createManager(kTreesKey)->collectDetails()->getListRows();
  std::vector<std::string> types;
  for (const auto& row : rows) types.push_back(row.at(1));
  // Type 7 shows whatever text 23 is; a tree without a type is "Not A Tree".
  EXPECT_EQ(types, (std::vector<std::string>{"Not A Tree", "Production Tree", "Template Tree", "Every 4 Weeks",
                                             "Not A Tree"}));
}

TEST_P(TreesAndForecasts, ForecastsByMethodFoundByCode) {
  const std::vector<MethodCase> cases = {
      {0, "", {"DPX_TRN_FORECASTS_100|404|402|||F1|Old||"}},
      {1, "1:F1:Alpha,2:F2:Beta & <b>",
       {"DPX_TRN_FORECASTS_100|212|402|F1|Alpha||||", "DPX_TRN_FORECASTS_100|212|402|F2|Beta & <b>||||"}},
      {2, "5:F1:Alpha", {"DPX_TRN_FORECASTS_100|213|402|F1|Alpha|F1|Alpha|Old|"}},
      {3, "5:F1:Old,6:F2:Beta & <b>", {"DPX_TRN_FORECASTS_100|212|402|F2|Beta & <b>||||"}},
      {4, "5:F1:Alpha,6:F2:Beta & <b>",
       {"DPX_TRN_FORECASTS_100|213|402|F1|Alpha|F1|Alpha|Old|", "DPX_TRN_FORECASTS_100|212|402|F2|Beta & <b>||||"}},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "INSERT INTO OFCT (AbsID, Code, Name, StartDate, EndDate) VALUES "
                                "(1, 'F1', 'Alpha', '20260101', '20261231'), (2, 'F2', 'Beta & <b>', '20260101', "
                                "'20260331');");
    CopyFixture::Exec(*fx.target, "INSERT INTO OFCT (AbsID, Code, Name, StartDate, EndDate) VALUES "
                                  "(5, 'F1', 'Old', '20250101', '20251231');");
    // Replace All's write pass follows its removal pass.
    if (c.method == 1) CopyCategory<DPX_ForecastsManager>(fx, kForecastsKey, 0);
    CopyCategory<DPX_ForecastsManager>(fx, kForecastsKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AbsID || ':' || Code || ':' || Name FROM OFCT ORDER BY AbsID"),
              c.rows);
    Lines lines = fx.logLines();
    if (c.method == 1) lines.erase(lines.begin());
    EXPECT_EQ(lines, c.lines);
  }
}

TEST_P(TreesAndForecasts, PickedForecastsAloneAreRead) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OFCT (AbsID, Code, Name) VALUES (1, 'F1', 'Alpha'), (2, 'F2', 'Beta');");
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  auto manager = factory.createManager(kForecastsKey);
  const auto& listed = manager->collectDetails()->getListRows();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[1].at(1), "Beta");
  DPX_DetailRecord picked;
  picked.addKeyValue("AbsID", dpx::Variant(int32_t{2}));
  std::vector<DPX_OperationArgs> blocks;
  factory.createManager(kForecastsKey)->readFromDB(blocks, {picked});
  ASSERT_EQ(blocks.size(), 1u);
  ASSERT_EQ(blocks[0].dataItems.size(), 1u);
  EXPECT_NE(blocks[0].dataItems[0].xml.find("<ForecastName>Beta</ForecastName>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, TreesAndForecasts, ::testing::ValuesIn(dpx::test::kServerTypes));

}  // namespace
