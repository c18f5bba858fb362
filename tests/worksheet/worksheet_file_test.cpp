// The worksheet file: what is written comes back as it was, the tree nests by
// level, the reader's rules for hand-made files, and a save that cannot be
// completed keeps the old file.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "engine/dom_parser.h"
#include "platform/framework/text.h"
#include "tests/support/test_dir.h"
#include "worksheet/worksheet_manager.h"

namespace {

using dpx::test::TestDir;

DPX_WorksheetNode Node(const std::string& tag, const std::string& leafId, const std::string& key, int selected = 0) {
  DPX_WorksheetNode node;
  node.setElementName(tag);
  node.setLeafId(leafId);
  node.setStringKey(key);
  node.setSelected(selected);
  return node;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteUtf8(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

// A worksheet file around a body, with an optional header.
std::string File(const std::string& body, const std::string& header = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><twinlyWorksheet version=\"1.0\">" + header + "<body>" + body +
         "</body></twinlyWorksheet>";
}

DPX_Worksheet FullWorksheet() {
  DPX_Worksheet ws;
  ws.setWorksheetName("Set-up & <items>");
  ws.setSourceServer("srv1");
  ws.setSourceServerType(5);
  ws.setSourceServerUser("dbu \"main\"");
  ws.setSourceServerUseTrusted(true);
  ws.setSourceDB("BASE_DB");
  ws.setSourceCompanyName("ACME: Test/1");
  ws.setSourceUser("manager");
  ws.setTargetServer("srv2");
  ws.setTargetServerType(3);
  ws.setTargetDB("TARGET_DB");
  ws.setTargetCompanyName("Zielfirma Müller");
  ws.setTargetUser("u2");
  ws.setTargetFile("/tmp/out.xml");
  ws.setCreationUser("manager");
  ws.setAdditionalDescription("line one\nline two  ");
  ws.setBackup(true);
  ws.setCopyMethod(4);
  ws.setRTCF(2);
  ws.setFRFMUDF(true);

  auto& nodes = ws.getNodes();
  nodes.push_back(Node("Customization", "1", "DPX_TRN_CUSTOMIZATION_100", 2));
  nodes.push_back(Node("Queries", "1.1", "DPX_TRN_QUERIES_100", 1));
  nodes.push_back(Node("UserDefined", "1.2", "DPX_TRN_UDEFS_100", 2));
  nodes.push_back(Node("Fields", "1.2.1", "DPX_TRN_UDF_100", 2));
  nodes.push_back(Node("Items", "2", "DPX_TRN_ITEMS_100", 0));

  DPX_SelectionObject edited;
  edited.addKeyField("ItemCode", "A&B <1>", "db_Alpha");
  edited.addSubsKeyField("ItemCode", "A&B <1>", "db_Alpha");
  edited.addAdditionalDataField("ItemName", "  quoted \"name\" 'x'  ", "db_Alpha");
  edited.setTableName("OITM");
  DPX_SelectionObject empty;  // a record whose three parts are empty
  nodes[3].addSelectionObject(edited);
  nodes[3].addSelectionObject(empty);
  return ws;
}

TEST(WorksheetFile, WhatIsSavedIsReadBackWithItsNestingSelectionsAndTableNames) {
  TestDir dir;
  const std::string path = (dir / "w.xml").string();
  DPX_Worksheet saved = FullWorksheet();
  saved.setModified(true);
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.saveWorksheet(saved, path), dpx::S_OK);
  EXPECT_EQ(saved.getFilePath(), path);
  EXPECT_FALSE(saved.isModified());

  // The bytes: byte-order mark, the declaration exactly so, the root at once.
  const std::string bytes = ReadBytes(path);
  const std::string head = std::string("\xFF\xFE") +
                           dpx::Utf8ToUtf16LEBytes("<?xml version=\"1.0\" encoding=\"UTF-16\"?><twinlyWorksheet");
  ASSERT_GE(bytes.size(), head.size());
  EXPECT_EQ(bytes.substr(0, head.size()), head);
  EXPECT_EQ(dpx::Utf16LEBytesToUtf8(bytes.substr(bytes.size() - 36)), "</twinlyWorksheet>");

  // Levels 1, 2, 2, 3, 1: the second and third inside the first, the fourth
  // inside the third, the fifth the first's sibling.
  DPX_DOMParser dom;
  ASSERT_TRUE(dom.parseFile(path));
  ASSERT_EQ(dom.findElement("Fields"), 1u);
  ASSERT_TRUE(dom.move(0, false));
  EXPECT_EQ(dom.getNodeName(), "UserDefined");
  ASSERT_TRUE(dom.move(0, false));
  EXPECT_EQ(dom.getNodeName(), "Customization");
  ASSERT_TRUE(dom.move(0, false));
  EXPECT_EQ(dom.getNodeName(), "body");
  dom.resetCursor();
  ASSERT_EQ(dom.findElement("Items"), 1u);
  ASSERT_TRUE(dom.move(0, false));
  EXPECT_EQ(dom.getNodeName(), "body");
  dom.resetCursor();
  ASSERT_EQ(dom.findElement("Queries"), 1u);
  EXPECT_EQ(dom.countElements(), 0);  // no selection element without selection objects

  DPX_Worksheet read;
  ASSERT_EQ(manager.readWorksheet(read, path), dpx::S_OK);
  EXPECT_EQ(read.getWorksheetName(), saved.getWorksheetName());
  EXPECT_EQ(read.getSourceServer(), "srv1");
  EXPECT_EQ(read.getSourceServerType(), 5);
  EXPECT_EQ(read.getSourceServerUser(), saved.getSourceServerUser());
  EXPECT_TRUE(read.isSourceServerUseTrusted());
  EXPECT_EQ(read.getSourceDB(), "BASE_DB");
  EXPECT_EQ(read.getSourceCompanyName(), "ACME: Test/1");
  EXPECT_EQ(read.getSourceUser(), "manager");
  EXPECT_EQ(read.getTargetServerType(), 3);
  EXPECT_EQ(read.getTargetDB(), "TARGET_DB");
  EXPECT_EQ(read.getTargetCompanyName(), "Zielfirma Müller");
  EXPECT_EQ(read.getTargetFile(), "/tmp/out.xml");
  EXPECT_EQ(read.getAdditionalDescription(), saved.getAdditionalDescription());
  EXPECT_TRUE(read.isBackup());
  EXPECT_FALSE(read.isApproval());
  EXPECT_EQ(read.getCopyMethod(), 4);
  EXPECT_EQ(read.getRTCF(), 2);
  EXPECT_TRUE(read.isFRFMUDF());
  EXPECT_TRUE(read.isFilePathEmpty());  // the path is not stored in the file

  ASSERT_EQ(read.getNodes().size(), saved.getNodes().size());
  for (size_t i = 0; i < saved.getNodes().size(); ++i) {
    const DPX_WorksheetNode& a = saved.getNodes()[i];
    const DPX_WorksheetNode& b = read.getNodes()[i];
    EXPECT_EQ(b.getElementName(), a.getElementName()) << i;
    EXPECT_EQ(b.getLeafId(), a.getLeafId()) << i;
    EXPECT_EQ(b.getStringKey(), a.getStringKey()) << i;
    EXPECT_EQ(b.getSelected(), a.getSelected()) << i;
    EXPECT_EQ(b.getSelectionObjects(), a.getSelectionObjects()) << i;
  }
  const std::vector<bool> leaves = {false, true, false, true, true};
  for (size_t i = 0; i < leaves.size(); ++i) EXPECT_EQ(read.getNodes()[i].isLeaf(), leaves[i]) << i;
  // The table name of the edited record survives, so its edits can be merged after a reopen.
  EXPECT_EQ(read.getNodes()[3].getSelectionObjects()[0].getTableName(), "OITM");
}

TEST(WorksheetFile, AServerTypeWithoutServerIsWrittenEmpty) {
  TestDir dir;
  DPX_Worksheet ws = FullWorksheet();
  ws.setSourceServer("");
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.saveWorksheet(ws, (dir / "w.xml").string()), dpx::S_OK);
  DPX_DOMParser dom;
  ASSERT_TRUE(dom.parseFile((dir / "w.xml").string()));
  ASSERT_EQ(dom.findElement("sourceServerType"), 1u);
  EXPECT_EQ(dom.countElements(), 0);
  EXPECT_EQ(dom.getText(), "");
}

TEST(WorksheetFile, TemplateAttributesAreReadAsTheFormatDefinesThem) {
  TestDir dir;
  const auto path = dir / "t.xml";
  WriteUtf8(path, File(
      "<A leaf_id=\"1\" string_id=\"DPX_TRN_ITEMS_100\" prohibited_copyMethods=\"1,4\" substitute_copyMethod=\"2\""
      " data_area_format=\"T\" allow_selection=\"true\" localization_transfer=\"TRUE\"/>"
      "<B leaf_id=\"2\" prohibited_copyMethods=\"\" data_area_format=\"D\" selected=\"1\"/>"
      "<C leaf_id=\"3\" data_area_format=\"N\" allow_selection=\"yes\"/>"
      "<D leaf_id=\"4\" data_area_format=\"t\" string_id=\"no such key\"/>"));
  DPX_Worksheet ws;
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.readWorksheet(ws, path.string()), dpx::S_OK);
  const auto& n = ws.getNodes();
  ASSERT_EQ(n.size(), 4u);
  EXPECT_EQ(n[0].getProhibitedCopyMethods(), (std::vector<int>{4, 1}));
  EXPECT_EQ(n[0].getSubstituteCopyMethod(), 2);
  EXPECT_EQ(n[0].getDataAreaFormat(), DPX_WorksheetNode::kFormatTable);
  EXPECT_TRUE(n[0].isAllowSelection());
  EXPECT_FALSE(n[0].isLocalizationTransfer());
  EXPECT_EQ(n[0].getStringId(), 801u);
  EXPECT_EQ(n[1].getProhibitedCopyMethods(), (std::vector<int>{0}));
  EXPECT_EQ(n[1].getDataAreaFormat(), DPX_WorksheetNode::kFormatDetail);
  EXPECT_EQ(n[1].getSelected(), 1);
  EXPECT_EQ(n[2].getDataAreaFormat(), DPX_WorksheetNode::kFormatNoRecords);
  EXPECT_FALSE(n[2].isAllowSelection());
  EXPECT_EQ(n[3].getDataAreaFormat(), DPX_WorksheetNode::kFormatNone);
  EXPECT_EQ(n[3].getStringId(), 0u);
  EXPECT_EQ(n[3].getStringKey(), "no such key");
}

TEST(WorksheetFile, HeaderValuesAreReadStrictly) {
  TestDir dir;
  const auto path = dir / "h.xml";
  WriteUtf8(path, File("<A leaf_id=\"1\"/>",
                       "<header><worksheetName>ERROR</worksheetName><sourceServerType></sourceServerType>"
                       "<backup>TRUE</backup><approval>true</approval><copyMethod>3x</copyMethod>"
                       "<RTCF>-1</RTCF><unknown>7</unknown><creationUser>a</creationUser>"
                       "<creationUser>b</creationUser></header>"));
  DPX_Worksheet ws;
  ws.setWorksheetName("kept");
  ws.setSourceServerType(9);
  ws.setBackup(true);
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.readWorksheet(ws, path.string()), dpx::S_OK);
  EXPECT_EQ(ws.getWorksheetName(), "kept");
  EXPECT_EQ(ws.getSourceServerType(), 0);
  EXPECT_FALSE(ws.isBackup());
  EXPECT_TRUE(ws.isApproval());
  EXPECT_EQ(ws.getCopyMethod(), 3);
  EXPECT_EQ(ws.getRTCF(), -1);
  EXPECT_EQ(ws.getCreationUser(), "b");

  // Without a header the fields keep what they had.
  WriteUtf8(path, File("<A leaf_id=\"1\"/>"));
  DPX_Worksheet kept = FullWorksheet();
  kept.getNodes().clear();
  ASSERT_EQ(manager.readWorksheet(kept, path.string()), dpx::S_OK);
  EXPECT_EQ(kept.getSourceCompanyName(), "ACME: Test/1");
  EXPECT_EQ(kept.getCopyMethod(), 4);
}

TEST(WorksheetFile, UnidentifiedNodesAreSkippedAndLateSelectionsGoToTheNodeReadLast) {
  TestDir dir;
  const auto path = dir / "s.xml";
  WriteUtf8(path, File(
      "<A leaf_id=\"1\">"
      "  <X><Y leaf_id=\"1.9\"/></X>"
      "  <B leaf_id=\"1.1\"/>"
      "  <selection><keyObject><key><fieldName>Code</fieldName><value>7</value><type>db_Numeric</type></key>"
      "  </keyObject></selection>"
      "</A>"
      "<!-- a comment --><C leaf_id=\"2\"/>"));
  DPX_Worksheet ws;
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.readWorksheet(ws, path.string()), dpx::S_OK);
  const auto& n = ws.getNodes();
  ASSERT_EQ(n.size(), 3u);
  EXPECT_EQ(n[0].getLeafId(), "1");
  EXPECT_EQ(n[1].getLeafId(), "1.1");
  EXPECT_EQ(n[2].getLeafId(), "2");
  EXPECT_TRUE(n[0].getSelectionObjects().empty());
  ASSERT_EQ(n[1].getSelectionObjects().size(), 1u);
  EXPECT_EQ(n[1].getSelectionObjects()[0].getKey()[0], DPX_SelectionField("Code", "7", "db_Numeric"));
}

TEST(WorksheetFile, CommentsAndInstructionsBeforeTheRootAreReadLikeAnyOtherFile) {
  TestDir dir;
  WriteUtf8(dir / "c.xml",
            "<?xml version=\"1.0\"?><!-- made by hand --><?editor keep?>\n<twinlyWorksheet>"
            "<header><worksheetName>Hand-made</worksheetName></header>"
            "<body>\n  <!-- first -->\n  <A leaf_id=\"1\"/>\n</body></twinlyWorksheet>");
  DPX_Worksheet ws;
  DPX_WorksheetManager manager(nullptr);
  ASSERT_EQ(manager.readWorksheet(ws, (dir / "c.xml").string()), dpx::S_OK);
  EXPECT_EQ(ws.getWorksheetName(), "Hand-made");
  ASSERT_EQ(ws.getNodes().size(), 1u);
  EXPECT_TRUE(ws.getNodes()[0].isLeaf());
}

TEST(WorksheetFile, FilesWithoutReadableSelectionDataFail) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"body with text only", File("just text")},
      {"no body", "<twinlyWorksheet><header/></twinlyWorksheet>"},
      {"dependencies first", File("<dependencies><leaf_id>1</leaf_id></dependencies><A leaf_id=\"1\"/>")},
      {"selection first", File("<selection/><A leaf_id=\"1\"/>")},
      {"no node identified", File("<A/><B/>")},
      {"not well-formed", File("<A leaf_id=\"1\">")},
  };
  TestDir dir;
  DPX_WorksheetManager manager(nullptr);
  for (const auto& [name, text] : cases) {
    WriteUtf8(dir / "f.xml", text);
    DPX_Worksheet ws;
    EXPECT_EQ(manager.readWorksheet(ws, (dir / "f.xml").string()), dpx::E_FAIL) << name;
  }
  DPX_Worksheet ws;
  EXPECT_EQ(manager.readWorksheet(ws, (dir / "missing.xml").string()), dpx::E_FAIL);
}

TEST(WorksheetFile, ExternalEntitiesAndDtdsAreNotLoaded) {
  TestDir dir;
  WriteUtf8(dir / "secret.txt", "TOP-SECRET");
  WriteUtf8(dir / "evil.dtd", "<!ENTITY leak SYSTEM \"" + (dir / "secret.txt").string() + "\">");
  const auto path = dir / "e.xml";
  WriteUtf8(path,
            "<?xml version=\"1.0\"?><!DOCTYPE twinlyWorksheet SYSTEM \"" + (dir / "evil.dtd").string() +
                "\" [<!ENTITY file SYSTEM \"" + (dir / "secret.txt").string() +
                "\">]><twinlyWorksheet><header><worksheetName>&file;</worksheetName></header>"
                "<body><A leaf_id=\"1\"><selection><keyObject><key><fieldName>F</fieldName><value>&file;&leak;"
                "</value></key></keyObject></selection></A></body></twinlyWorksheet>");
  DPX_Worksheet ws;
  DPX_WorksheetManager manager(nullptr);
  manager.readWorksheet(ws, path.string());  // may fail; it must not read the file
  EXPECT_EQ(ws.getWorksheetName().find("TOP-SECRET"), std::string::npos);
  for (const auto& node : ws.getNodes()) {
    for (const auto& object : node.getSelectionObjects()) {
      for (const auto& field : object.getKey()) EXPECT_EQ(field.getValue().find("TOP-SECRET"), std::string::npos);
    }
  }
}

TEST(WorksheetFile, DeeplyNestedFilesFailWithoutExhaustingTheStack) {
  TestDir dir;
  std::string body;
  const int depth = 20000;
  for (int i = 0; i < depth; ++i) body += "<N leaf_id=\"1\">";
  for (int i = 0; i < depth; ++i) body += "</N>";
  WriteUtf8(dir / "deep.xml", File(body));
  DPX_Worksheet ws;
  DPX_WorksheetManager manager(nullptr);
  EXPECT_EQ(manager.readWorksheet(ws, (dir / "deep.xml").string()), dpx::E_FAIL);
}

// A file the worksheet door refuses says why.
TEST(WorksheetFile, AFileThatIsNoWorksheetSaysWhy) {
  TestDir dir;
  auto nested = [](int depth) {
    std::string body;
    for (int i = 0; i < depth; ++i) body += "<N leaf_id=\"1\">";
    for (int i = 0; i < depth; ++i) body += "</N>";
    return File(body);
  };
  const std::pair<std::string, std::string> cases[] = {
      {"<?xml version=\"1.0\"?><!DOCTYPE twinlyWorksheet><twinlyWorksheet/>",
       "the file holds a document type declaration (DOCTYPE)"},
      {nested(300), "the file nests elements more than 256 levels deep"},
      {nested(100), "its category tree nests more than 64 levels"},
      {"<twinlyWorksheet><header/></twinlyWorksheet>", "it holds no category tree"},
      {File("<N string_id=\"DPX_TRN_ITEMS_100\"/>"), "not one node of its category tree has a leaf_id"},
      {"this is no worksheet", "line 1, column 1: "},
      {"", "the file does not exist"},
  };
  for (const auto& [text, reason] : cases) {
    SCOPED_TRACE(reason);
    const auto path = dir / "w.xml";
    std::filesystem::remove(path);
    if (!text.empty()) WriteUtf8(path, text);
    DPX_Worksheet ws;
    DPX_WorksheetManager manager(nullptr);
    EXPECT_EQ(manager.readWorksheet(ws, path.string()), dpx::E_FAIL);
    EXPECT_NE(manager.lastError().find(reason), std::string::npos) << manager.lastError();
  }
}

// A save that cannot write the whole file (here: a file-size limit, as a full
// disk would) fails, and the previous file, the path and the modified flag stay.
TEST(WorksheetFile, ASaveThatCannotBeCompletedKeepsTheOldFile) {
  TestDir dir;
  const std::string path = (dir / "w.xml").string();
  DPX_WorksheetManager manager(nullptr);
  DPX_Worksheet small;
  small.getNodes().push_back(Node("A", "1", "DPX_TRN_ITEMS_100"));
  ASSERT_EQ(manager.saveWorksheet(small, path), dpx::S_OK);
  const std::string before = ReadBytes(path);

  DPX_Worksheet big = FullWorksheet();
  for (int i = 0; i < 2000; ++i) big.getNodes().push_back(Node("Items", "3." + std::to_string(i), "DPX_TRN_ITEMS_100"));
  big.setFilePath("/elsewhere/old.xml");
  big.setModified(true);

  struct rlimit old {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = old;
  limited.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const dpx::HRESULT hr = manager.saveWorksheet(big, path);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(hr, dpx::E_FAIL);
  EXPECT_EQ(manager.lastError(), "the file '" + path + "' could not be written: File too large");
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(big.getFilePath(), "/elsewhere/old.xml");
  EXPECT_TRUE(big.isModified());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left behind
}

}  // namespace
