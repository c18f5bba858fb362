// Records picked from a configuration file base: a worksheet read back from
// its file knows a pick by its key fields only, not by its table. The picked
// records are copied with the other tables of their category whole (the query
// categories the picked queries name), and an edited value lands on the one
// record the pick names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "tests/support/copy_fixture.h"
#include "tests/support/test_dir.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet.h"

namespace {

using dpx::test::CopyFixture;

const char* const kQueries = "DPX_TRN_QUERIES_100";

DPX_Worksheet QueryWorksheet(int selected, std::vector<DPX_SelectionObject> picks = {}) {
  DPX_Worksheet worksheet;
  worksheet.setCopyMethod(4);
  DPX_WorksheetNode node;
  node.setLeafId("1");
  node.setStringKey(kQueries);
  node.setIsLeaf(true);
  node.setSelected(selected);
  for (DPX_SelectionObject& pick : picks) node.addSelectionObject(std::move(pick));
  worksheet.getNodes().push_back(node);
  return worksheet;
}

TEST(FileBasePicks, APickedQueryIsCopiedWithTheCategoryItNames) {
  for (int serverType : dpx::test::kServerTypes) {
    SCOPED_TRACE(serverType);
    CopyFixture fx(serverType);
    CopyFixture::Exec(*fx.base,
                      "DELETE FROM OUQR; DELETE FROM OQCN;"
                      "INSERT INTO OQCN (CategoryId, CatName) VALUES (1, 'General'), (3, 'Sales');"
                      "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES"
                      " (1, 1, 'Open orders', 'SELECT 1', 'W'), (2, 3, 'Sales by month', 'SELECT 2', 'W'),"
                      " (3, 1, 'Dup', 'SELECT 3', 'W'), (4, 3, 'Dup', 'SELECT 4', 'W');");
    CopyFixture::Exec(*fx.target, "DELETE FROM OUQR; DELETE FROM OQCN;"
                                  "INSERT INTO OQCN (CategoryId, CatName) VALUES (5, 'General');");
    RegisterCategoryClasses();
    dpx::test::TestDir dir;
    const std::string baseFile = (dir / "base.xml").string();
    fx.context.setTargetFile(baseFile);
    DPX_Worksheet whole = QueryWorksheet(DPX_WorksheetNode::kSelectedWhole);
    ASSERT_EQ(DPX_ConfigurationManager(&fx.context).saveConfiguration(whole, false), dpx::S_OK);

    // The picks as a worksheet file gives them back: no table name.
    DPX_SelectionObject sales;
    sales.addSubsKeyField("QueryDescription", "Sales by month", "db_Alpha");
    DPX_SelectionObject dup;
    dup.addSubsKeyField("QueryDescription", "Dup", "db_Alpha");
    dup.addAdditionalDataField("Query", "SELECT 'edited'", "db_Alpha");
    DPX_Worksheet picked = QueryWorksheet(DPX_WorksheetNode::kSelectedPartly, {sales, dup});
    fx.context.setBaseCompany(nullptr);
    fx.context.setBaseFile(baseFile);
    fx.context.setTargetFile((dir / "DPX_Config.xml").string());
    fx.context.setCopyMethod(4);
    ASSERT_EQ(DPX_ConfigurationManager(&fx.context).writeConfiguration(picked, true), dpx::S_OK);

    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT QName || ':' || CatName || ':' || QString FROM OUQR JOIN OQCN"
                                              " ON QCategory = CategoryId ORDER BY QName, QString"),
              "Dup:General:SELECT 'edited',Dup:Sales:SELECT 4,Sales by month:Sales:SELECT 2");
    const std::vector<std::string> lines = fx.logLines();
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) EXPECT_NE(line.find("|402|"), std::string::npos) << line;
  }
}

}  // namespace
