// The category-tree template: what a read worksheet takes from it, what a new
// worksheet gets, how localization transfer spreads, how its substitutes are
// checked, and the program's own WorkSheet.tpl read through it.
#include <gtest/gtest.h>

#include <fstream>

#include <fmt/printf.h>

#include "engine/ui_services.h"
#include "platform/framework/string_table.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_dir.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet_manager.h"
#include "worksheet/worksheet_template_manager.h"

namespace {

using dpx::test::TestDir;

void Write(const std::filesystem::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string File(const std::string& body) {
  return "<?xml version=\"1.0\"?><twinlyWorksheet version=\"1.0\"><header/><body>" + body + "</body></twinlyWorksheet>";
}

// A small template: two groups, a nested group and leaves with rules.
const char* const kTemplateBody =
    "<group leaf_id=\"1\" string_id=\"DPX_TRN_CUSTOMIZATION_100\">"
    "  <category leaf_id=\"1.1\" string_id=\"DPX_TRN_QUERIES_100\" data_area_format=\"T\" allow_selection=\"true\""
    "   prohibited_copyMethods=\"1,3\" substitute_copyMethod=\"4\"/>"
    "  <category leaf_id=\"1.2\" string_id=\"DPX_TRN_UDF_100\" data_area_format=\"T\">"
    "    <dependencies><leaf_id>1.1</leaf_id><leaf_id>4</leaf_id></dependencies>"
    "  </category>"
    "</group>"
    "<group leaf_id=\"4\" string_id=\"DPX_TRN_INITSETTINGS_100\">"
    "  <group leaf_id=\"4.2\" string_id=\"DPX_TRN_GENERAL_100\">"
    "    <category leaf_id=\"4.2.1\" string_id=\"DPX_TRN_ITEMS_100\" localization_transfer=\"true\""
    "     prohibited_copyMethods=\"2\"/>"
    "    <category leaf_id=\"4.2.2\" string_id=\"DPX_TRN_ITEMS_100\" prohibited_copyMethods=\"3\""
    "     substitute_copyMethod=\"0\"/>"
    "    <category leaf_id=\"4.2.3\" string_id=\"DPX_TRN_BP_100\" prohibited_copyMethods=\"3\""
    "     substitute_copyMethod=\"33\"/>"
    "  </group>"
    "  <category leaf_id=\"4.3\" string_id=\"DPX_TRN_USERS_100\"/>"
    "</group>"
    "<group leaf_id=\"7.3\" string_id=\"DPX_TRN_ORPHAN_100\"/>";

class TemplateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Write(dir / "WorkSheet.tpl", File(kTemplateBody));
    DPX_WorksheetTemplateManager::setTemplatePath((dir / "WorkSheet.tpl").string());
  }
  void TearDown() override { DPX_WorksheetTemplateManager::setTemplatePath(""); }
  DPX_WorksheetTemplateManager& tpl() { return DPX_WorksheetTemplateManager::getInstance(nullptr); }

  TestDir dir;
};

TEST_F(TemplateTest, LocalizationTransferIsSpreadToEveryAncestorOnly) {
  ASSERT_TRUE(tpl().isInitialized());
  EXPECT_TRUE(tpl().getNode("4.2.1").isLocalizationTransfer());
  EXPECT_TRUE(tpl().getNode("4.2").isLocalizationTransfer());
  EXPECT_TRUE(tpl().getNode("4").isLocalizationTransfer());
  EXPECT_FALSE(tpl().getNode("4.2.2").isLocalizationTransfer());
  EXPECT_FALSE(tpl().getNode("4.3").isLocalizationTransfer());
  EXPECT_FALSE(tpl().getNode("1").isLocalizationTransfer());
  EXPECT_TRUE(tpl().getNode("1.2").hasDependencies());
  EXPECT_FALSE(tpl().getNode("1.1").hasDependencies());
  EXPECT_TRUE(tpl().hasNode("7.3"));  // a node without its parent is kept (and reported)
}

// A prohibited method must never turn into another operation: without a
// valid substitute (1 to 4, or 33 "not copied") the category is not copied
// with it, and a missing or zero substitute never becomes the removal pass.
TEST_F(TemplateTest, SubstitutesAreCheckedWhenTheTemplateLoads) {
  const std::pair<const char*, int> cases[] = {{"1.1", 4},
                                               {"4.2.1", DPX_WorksheetNode::kNoSubstitute},
                                               {"4.2.2", DPX_WorksheetNode::kNoSubstitute},
                                               {"4.2.3", 33}};
  for (const auto& [id, substitute] : cases) EXPECT_EQ(tpl().getNode(id).getSubstituteCopyMethod(), substitute) << id;
}

TEST_F(TemplateTest, AReadWorksheetTakesTheTemplatesRulesAndKeepsTheUsersChoice) {
  // The file names other keys and tags than the template, repeats a
  // dependency and carries copy-method rules of its own.
  Write(dir / "w.xml",
        File("<Custom leaf_id=\"1\" string_id=\"OLD_KEY\" selected=\"2\">"
             "  <Q leaf_id=\"1.1\" string_id=\"OLD_QUERIES\" selected=\"2\" prohibited_copyMethods=\"2,4\""
             "   substitute_copyMethod=\"33\">"
             "    <selection><keyObject tableName=\"OUQR\"><key><fieldName>IntrnalKey</fieldName><value>5</value>"
             "    <type>db_Numeric</type></key></keyObject></selection></Q>"
             "  <F leaf_id=\"1.2\" selected=\"1\" prohibited_copyMethods=\"1,2,3,4\" substitute_copyMethod=\"33\">"
             "   <dependencies><leaf_id>4.2</leaf_id></dependencies></F>"
             "</Custom>"));
  DPX_Worksheet ws;
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.readWorksheet(ws, (dir / "w.xml").string()), dpx::S_OK);
  ASSERT_EQ(tpl().updateWorksheetFromTemplate(ws), dpx::S_OK);

  const auto& n = ws.getNodes();
  ASSERT_EQ(n.size(), 3u);
  EXPECT_EQ(n[0].getStringKey(), "DPX_TRN_CUSTOMIZATION_100");
  EXPECT_EQ(n[0].getStringId(), 700u);
  EXPECT_EQ(n[0].getElementName(), "Custom");
  EXPECT_EQ(n[1].getStringKey(), "DPX_TRN_QUERIES_100");
  EXPECT_TRUE(n[1].isQueriesNode());
  EXPECT_EQ(n[1].getDataAreaFormat(), DPX_WorksheetNode::kFormatTable);
  EXPECT_TRUE(n[1].isAllowSelection());
  EXPECT_EQ(n[1].getProhibitedCopyMethods(), (std::vector<int>{3, 1}));
  EXPECT_EQ(n[1].getSubstituteCopyMethod(), 4);
  EXPECT_EQ(n[1].getLevel(), 2);
  EXPECT_EQ(n[1].getSelected(), 2);
  ASSERT_EQ(n[1].getSelectionObjects().size(), 1u);
  EXPECT_EQ(n[1].getSelectionObjects()[0].getTableName(), "OUQR");
  // The file's 4.2 stays; the template adds 1.1 and 4, which 4.2 does not cover.
  EXPECT_EQ(n[2].getDependencies(), (std::vector<std::string>{"4.2", "1.1", "4"}));
  EXPECT_TRUE(n[2].dependsOn("4.3"));
  EXPECT_TRUE(n[2].hasDependencies());
  EXPECT_EQ(n[2].getSelected(), 1);
  // Only the template's rules decide how a category is copied.
  EXPECT_TRUE(n[2].getProhibitedCopyMethods().empty());
  EXPECT_EQ(n[2].getSubstituteCopyMethod(), DPX_WorksheetNode::kNoSubstitute);
  for (int method = 1; method <= 4; ++method) {
    EXPECT_EQ(DPX_ConfigurationManager::getCopyMethodForObject(ws, "DPX_TRN_UDF_100", method), method);
    EXPECT_EQ(DPX_ConfigurationManager::getCopyMethodForObject(ws, "DPX_TRN_QUERIES_100", method),
              method == 1 || method == 3 ? 4 : method);
  }
}

// Picks on a category whose records cannot be picked one by one copy
// nothing of it, and the user is told; a category that allows picks keeps them.
TEST_F(TemplateTest, PicksOnACategoryThatAllowsNoneCopyNothingAndSaySo) {
  dpx::test::ScriptedUi ui;
  const std::string pick =
      "<selection><keyObject><key><fieldName>Code</fieldName><value>1</value><type>db_Alpha</type></key></keyObject>"
      "</selection>";
  Write(dir / "w.xml", File("<A leaf_id=\"1\" selected=\"2\"><B leaf_id=\"1.1\" selected=\"2\">" + pick +
                            "</B><C leaf_id=\"1.2\" selected=\"2\">" + pick + "</C></A>"));
  DPX_Worksheet ws;
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.readWorksheet(ws, (dir / "w.xml").string()), dpx::S_OK);
  ASSERT_EQ(tpl().updateWorksheetFromTemplate(ws), dpx::S_OK);
  const auto& n = ws.getNodes();
  EXPECT_EQ(n[1].getSelected(), DPX_WorksheetNode::kSelectedPartly);  // 1.1 allows picks
  EXPECT_EQ(n[1].getSelectionObjects().size(), 1u);
  EXPECT_EQ(n[2].getSelected(), DPX_WorksheetNode::kNotSelected);
  EXPECT_TRUE(n[2].getSelectionObjects().empty());
  ASSERT_EQ(ui.statusErrors().size(), 1u);
  EXPECT_EQ(ui.statusErrors()[0],
            "The worksheet picks single records of DPX_TRN_UDF_100, which is copied only as a whole; the category is "
            "not copied");
}

TEST_F(TemplateTest, ANodeTheTemplateLacksMakesTheWorksheetInvalid) {
  dpx::test::ScriptedUi ui;
  Write(dir / "w.xml", File("<A leaf_id=\"1\"><B leaf_id=\"1.1\"/></A><Z leaf_id=\"9.9\"/><C leaf_id=\"4\"/>"));
  DPX_Worksheet ws;
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.readWorksheet(ws, (dir / "w.xml").string()), dpx::S_OK);
  EXPECT_EQ(tpl().updateWorksheetFromTemplate(ws), dpx::E_FAIL);
  ASSERT_EQ(ui.statusErrors().size(), 1u);
  EXPECT_EQ(ui.statusErrors().back(), dpx::StringTable::Load(10036));
  EXPECT_EQ(ws.getNodes()[1].getStringKey(), "DPX_TRN_QUERIES_100");  // nodes before it were stamped

  // Opened as a worksheet, the reason names the node.
  DPX_Worksheet opened;
  opened.setFilePath((dir / "w.xml").string());
  EXPECT_EQ(manager.openWorksheet(opened, 0), dpx::E_FAIL);
  EXPECT_EQ(manager.lastError(), "it holds the unknown leaf id 9.9, which the program's category tree does not have");
}

TEST_F(TemplateTest, NewWorksheetsGetAFreshTreeAndTheLogViewerItsNames) {
  DPX_Worksheet ws;
  ws.getNodes().push_back(DPX_WorksheetNode());
  ws.setWorksheetName("kept");
  ASSERT_EQ(tpl().getWorksheetTemplate(ws), dpx::S_OK);
  ASSERT_EQ(ws.getNodes().size(), tpl().getTemplate().getNodes().size());
  EXPECT_EQ(ws.getWorksheetName(), "kept");
  EXPECT_EQ(ws.getNodes()[3].getLeafId(), "4");

  std::string leafId;
  EXPECT_EQ(tpl().getLeafIdFromStringKey("DPX_TRN_ITEMS_100", leafId), dpx::S_OK);
  EXPECT_EQ(leafId, "4.2.1");  // the first of two leaves with that key
  EXPECT_EQ(tpl().getLeafIdFromStringKey("DPX_TRN_CUSTOMIZATION_100", leafId), dpx::E_FAIL);  // a group
  EXPECT_EQ(leafId, "");

  // Names in the host language, reloaded as after a language change.
  std::filesystem::create_directories(dir / "strings");
  Write(dir / "strings" / "1033.txt", "700\tCustomization\n719\tSetup\n720\tFinancials\n801\tItems\n");
  dpx::StringTable::SetFolder(dir / "strings");
  tpl().updateStrings();
  dpx::StringTable::SetFolder("");
  std::string name, path;
  ASSERT_EQ(tpl().getNodeNameFromID("4.2.1", name, path), dpx::S_OK);
  EXPECT_EQ(name, "Items");
  EXPECT_EQ(path, "Setup>Financials");
  ASSERT_EQ(tpl().getNodeNameFromID("1", name, path), dpx::S_OK);
  EXPECT_EQ(path, "");
  EXPECT_EQ(tpl().getNodeNameFromID("7.3", name, path), dpx::E_FAIL);  // its parent is missing
  EXPECT_EQ(tpl().getNodeNameFromID("8", name, path), dpx::E_FAIL);
  EXPECT_EQ(name, "");
}

TEST(TemplateMissing, AMissingTemplateIsReadAgainOnTheNextUse) {
  dpx::test::ScriptedUi ui;
  TestDir dir;
  DPX_WorksheetTemplateManager::setTemplatePath((dir / "WorkSheet.tpl").string());
  DPX_WorksheetTemplateManager& tpl = DPX_WorksheetTemplateManager::getInstance(nullptr);
  EXPECT_FALSE(tpl.isInitialized());
  ASSERT_EQ(ui.statusErrors().size(), 1u);
  EXPECT_EQ(ui.statusErrors().back(), fmt::sprintf(dpx::StringTable::Load(10008), (dir / "WorkSheet.tpl").string()));
  DPX_Worksheet ws;
  tpl.getWorksheetTemplate(ws);
  EXPECT_TRUE(ws.getNodes().empty());

  Write(dir / "WorkSheet.tpl", File(kTemplateBody));
  EXPECT_TRUE(DPX_WorksheetTemplateManager::getInstance(nullptr).isInitialized());
  DPX_WorksheetTemplateManager::setTemplatePath("");
}

// The program's own template, read as the program reads it: every node
// identified, every leaf a category with a name, no rule left without a
// substitute the copy can act on.
TEST(ProgramTemplate, IsReadCompletelyWithValidRules) {
  DPX_WorksheetTemplateManager::setTemplatePath("");
  DPX_WorksheetTemplateManager& tpl = DPX_WorksheetTemplateManager::getInstance(nullptr);
  ASSERT_TRUE(tpl.isInitialized());
  const auto& nodes = tpl.getTemplate().getNodes();
  ASSERT_GT(nodes.size(), 90u);
  for (const DPX_WorksheetNode& node : nodes) {
    EXPECT_NE(node.getStringId(), 0u) << node.getLeafId() << " " << node.getStringKey();
    if (!node.getProhibitedCopyMethods().empty()) {
      EXPECT_NE(node.getSubstituteCopyMethod(), DPX_WorksheetNode::kNoSubstitute) << node.getLeafId();
    }
    for (const std::string& dependency : node.getDependencies()) {
      EXPECT_TRUE(tpl.hasNode(dependency)) << node.getLeafId() << " -> " << dependency;
    }
  }
}

}  // namespace
