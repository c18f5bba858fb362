// The configuration file: its exact bytes, reading it back, and the values a
// reader must keep as they are.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include <unistd.h>

#include "engine/connection_context.h"
#include "engine/operation_args.h"
#include "platform/framework/text.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/test_dir.h"
#include "worksheet/component_logger.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/utf16_file_stream.h"
#include "worksheet/worksheet.h"

namespace {

using dpx::test::TestDir;

// Remembers what the configuration code reports.
class RecordingLogger : public dpx::ComponentLogger {
 public:
  void Log(int, std::string_view, int level, std::string_view, std::string_view message) override {
    messages.push_back(std::to_string(level) + " " + std::string(message));
  }
  std::vector<std::string> messages;
};

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteUtf16(const std::filesystem::path& path, const std::string& utf8) {
  ASSERT_TRUE(dpx::WriteUtf16File(path, utf8, true));
}

std::string FileText(const std::string& header, const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n<duploraConfigurationFile version=\"1.0\">\n<header>\n" + header +
         "</header>\n<body>\n" + body + "</body>\n</duploraConfigurationFile>\n";
}

DPX_WorksheetNode Leaf(const std::string& leafId, const std::string& key, int selected) {
  DPX_WorksheetNode node;
  node.setLeafId(leafId);
  node.setStringKey(key);
  node.setIsLeaf(true);
  node.setSelected(selected);
  return node;
}

const char* const kItems =
    "<OBJECT string_id=\"DPX_TRN_ITEMS_100\" extra=\"a&amp;b\"><table name=\"OITM\"><BOM><BO><AdmInfo><Object>4"
    "</Object></AdmInfo><OITM><row><ItemCode>A1</ItemCode><ItemName>Bolt</ItemName></row></OITM></BO></BOM>"
    "<BOM><BO><AdmInfo><Object>4</Object></AdmInfo><OITM><row><ItemCode>B2</ItemCode><ItemName nil=\"true\">"
    "</ItemName></row></OITM></BO></BOM></table></OBJECT>\n";
const char* const kGroups =
    "<OBJECT string_id=\"DPX_TRN_CUSTOMERGROUPS_100\"><table name=\"OCRG\"><BOM><BO><AdmInfo><Object>-1</Object>"
    "</AdmInfo><OCRG><row><GroupCode>1</GroupCode><GroupName>Retail</GroupName></row><row><GroupCode>2</GroupCode>"
    "<GroupName>Trade</GroupName></row></OCRG></BO></BOM></table></OBJECT>\n";

struct Fixture {
  TestDir dir;
  DPX_ConnectionContext context;
  DPX_Worksheet worksheet;
  std::shared_ptr<RecordingLogger> logger = std::make_shared<RecordingLogger>();
  DPX_ConfigurationManager manager{&context};
  Fixture() { manager.setLogger(logger); }
};

}  // namespace

TEST(ConfigurationFile, SavedFromAFileBaseByteForByte) {
  Fixture f;
  const std::string header =
      "<configurationName>base.xml</configurationName>\n<dbVersion>930</dbVersion>\n<localization>DE</localization>\n"
      "<creationUser>manager</creationUser>\n<creationDate>2026-01-02T03:04:05</creationDate>\n"
      "<additionalDescr>old</additionalDescr>\n<partialConfiguration>false</partialConfiguration>\n"
      "<backup>false</backup>\n<approval>false</approval>\n<copyMethod>2</copyMethod>\n<RTCF>0</RTCF>\n"
      "<FRFMUDF>false</FRFMUDF>\n";
  WriteUtf16(f.dir / "base.xml", FileText(header, std::string(kItems) + kGroups));
  f.context.setBaseFile((f.dir / "base.xml").string());
  f.context.setTargetFile((f.dir / "out.xml").string());
  auto& nodes = f.worksheet.getNodes();
  nodes.push_back(Leaf("1", "DPX_TRN_CUSTOMERGROUPS_100", 1));
  nodes.push_back(Leaf("2", "DPX_TRN_ITEMS_100", 1));
  // Opening the base takes its header into the worksheet; the user then changes it.
  ASSERT_EQ(f.manager.openConfiguration(f.worksheet, false), dpx::S_OK);
  EXPECT_EQ(f.worksheet.getCopyMethod(), 2);
  f.worksheet.setAdditionalDescription("R&D <2006>");
  f.worksheet.setCopyMethod(4);
  f.worksheet.setRTCF(1);
  f.worksheet.setBackup(true);
  f.worksheet.setModified(true);

  ASSERT_EQ(f.manager.saveConfiguration(f.worksheet, true), dpx::S_OK);

  std::string bytes = ReadBytes(f.dir / "out.xml");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::string text = dpx::Utf16LEBytesToUtf8(bytes.substr(2));
  std::smatch date;
  ASSERT_TRUE(std::regex_search(text, date, std::regex("<creationDate>(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)</")));
  text.replace(static_cast<size_t>(date.position(1)), static_cast<size_t>(date.length(1)), "DATE");
  const std::string expected = FileText(
      "<configurationName>out.xml</configurationName>\n<dbVersion>930</dbVersion>\n<localization>DE</localization>\n"
      "<creationUser>manager</creationUser>\n<creationDate>DATE</creationDate>\n"
      "<additionalDescr>R&amp;D &lt;2006&gt;</additionalDescr>\n<partialConfiguration>true</partialConfiguration>\n"
      "<backup>true</backup>\n<approval>false</approval>\n<copyMethod>4</copyMethod>\n<RTCF>1</RTCF>\n"
      "<FRFMUDF>false</FRFMUDF>\n",
      std::string(kItems) + kGroups);
  EXPECT_EQ(text, expected);
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(ConfigurationFile, TrickyValuesRoundTrip) {
  // Values a careless reader damages: markup characters, quotes, blanks-only
  // values, blanks between entities, and fields named like header elements.
  const std::string record =
      "<BOM><BO><AdmInfo><Object>4</Object></AdmInfo><OITM><row><ItemCode>A&amp;B &lt;1&gt;</ItemCode>"
      "<ItemName>&quot;quoted&quot; &apos;single&apos;</ItemName><FrgnName>   </FrgnName>"
      "<UserText>a &amp; &amp; b</UserText><copyMethod>7</copyMethod><backup>kept</backup>"
      "<localization>XX</localization><Note attr=\"x &amp; &lt;y&gt;\">line1\nline2</Note></row></OITM></BO></BOM>";
  const std::string object =
      "<OBJECT string_id=\"DPX_TRN_ITEMS_100\"><table name=\"OITM\">" + record + "</table></OBJECT>\n";
  const std::string header =
      "<configurationName>c</configurationName>\n<dbVersion></dbVersion>\n<localization>DE</localization>\n"
      "<creationUser></creationUser>\n<creationDate></creationDate>\n<additionalDescr></additionalDescr>\n"
      "<partialConfiguration>false</partialConfiguration>\n<backup>false</backup>\n<approval>false</approval>\n"
      "<copyMethod>2</copyMethod>\n<RTCF>0</RTCF>\n<FRFMUDF>false</FRFMUDF>\n";
  Fixture f;
  WriteUtf16(f.dir / "tricky.xml", FileText(header, object));
  ASSERT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "tricky.xml").string()), dpx::S_OK);
  ASSERT_EQ(f.manager.objects().size(), 1u);
  ASSERT_EQ(f.manager.objects()[0].tables.size(), 1u);
  EXPECT_EQ(f.manager.tableXml(f.manager.objects()[0].tables[0]), record);
  EXPECT_EQ(f.manager.header().copyMethod, 2);
  EXPECT_FALSE(f.manager.header().backup);
  EXPECT_EQ(f.manager.header().localization, "DE");

  // Written again and read again, nothing changes.
  f.worksheet.getNodes().push_back(Leaf("1", "DPX_TRN_ITEMS_100", 1));
  f.context.setBaseFile((f.dir / "tricky.xml").string());
  f.context.setTargetFile((f.dir / "again.xml").string());
  ASSERT_EQ(f.manager.saveConfiguration(f.worksheet, true), dpx::S_OK);
  DPX_ConfigurationManager second(&f.context);
  ASSERT_EQ(second.readConfigurationFile(f.worksheet, (f.dir / "again.xml").string()), dpx::S_OK);
  ASSERT_EQ(second.objects().size(), 1u);
  EXPECT_EQ(second.tableXml(second.objects()[0].tables[0]), record);
}

TEST(ConfigurationFile, ReaderNormalisesLayoutButNotValues) {
  const std::string file =
      "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<duploraConfigurationFile version=\"1.0\">\n<header>\n"
      "<partialConfiguration>FALSE</partialConfiguration><backup>no</backup><copyMethod> 3</copyMethod>"
      "<RTCF>   </RTCF><!-- note --></header>\n<body>\n"
      "<OBJECT><table name=\"X\"><BOM><row/></BOM></table></OBJECT>\n"
      "<OBJECT string_id=\"K1\" a=\"1\">\n  <table name=\"T\">\n    <BOM kind=\"x\">\n      <BO>\n"
      "        <Empty/>\n        <Nil nil=\"true\"/>\n      </BO>\n    </BOM>\n  </table>\n"
      "  <table name=\"U\"></table>\n</OBJECT>\n"
      "<OBJECT string_id=\"K1\"><table name=\"T2\"></table></OBJECT>\n</body>\n</duploraConfigurationFile>\n";
  Fixture f;
  WriteUtf16(f.dir / "layout.xml", file);
  ASSERT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "layout.xml").string()), dpx::S_OK);
  EXPECT_FALSE(f.manager.header().partialConfiguration);
  EXPECT_TRUE(f.manager.header().backup);
  EXPECT_EQ(f.manager.header().copyMethod, 3);
  EXPECT_EQ(f.manager.header().RTCF, 0);  // blanks only: no value
  const auto& objects = f.manager.objects();
  // The object without string_id is skipped; a category's second element too.
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(objects[0].attributes, (DPX_ConfigurationManager::Attributes{{"string_id", "K1"}, {"a", "1"}}));
  ASSERT_EQ(objects[0].tables.size(), 2u);
  EXPECT_EQ(f.manager.tableXml(objects[0].tables[0]), "<BOM><BO><Empty></Empty><Nil nil=\"true\"></Nil></BO></BOM>");
  EXPECT_EQ(f.manager.tableXml(objects[0].tables[1]), "");
  EXPECT_EQ(f.manager.findObject("K1"), &objects[0]);
  EXPECT_EQ(f.logger->messages,
            (std::vector<std::string>{"1 string_id missing for object",
                                      "2 The category K1 appears again in the file; only its first element is read"}));
}

TEST(ConfigurationFile, BrokenFilesFailCleanly) {
  Fixture f;
  WriteUtf16(f.dir / "broken.xml", FileText("", "<OBJECT string_id=\"K\"><table name=\"T\"><BOM>"));
  EXPECT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "broken.xml").string()), dpx::E_FAIL);
  EXPECT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "missing.xml").string()), dpx::E_FAIL);
  // An external entity is never fetched into a record.
  std::ofstream(f.dir / "secret.txt") << "secret";
  WriteUtf16(f.dir / "entity.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n<!DOCTYPE d [<!ENTITY e SYSTEM \"file://" +
                 (f.dir / "secret.txt").string() +
                 "\">]>\n<duploraConfigurationFile><body><OBJECT string_id=\"K\"><table name=\"T\"><BOM><a>&e;</a>"
                 "</BOM></table></OBJECT></body></duploraConfigurationFile>\n");
  f.manager.readConfigurationFile(f.worksheet, (f.dir / "entity.xml").string());
  for (const auto& object : f.manager.objects())
    for (const auto& table : object.tables) EXPECT_EQ(f.manager.tableXml(table).find("secret"), std::string::npos);
}

// Whatever keeps a file from being read, the reason names the file and, for a
// file that cannot be parsed, the line, the column and the parser's message.
TEST(ConfigurationFile, AFileThatCannotBeReadSaysWhy) {
  Fixture f;
  struct Case {
    const char* name;
    std::string text;  // empty: no file is written
    std::string reason;
  };
  const std::string broken = f.dir.path().string() + "/broken.xml";
  const Case cases[] = {
      {"broken.xml", FileText("", "<OBJECT string_id=\"K\">\n<table name=\"T\"></OBJECT>\n"),
       "the configuration file '" + broken + "' cannot be read: line 7, column 19: expected end of tag 'table'"},
      {"worksheet.xml", "<?xml version=\"1.0\"?>\n<twinlyWorksheet><header/></twinlyWorksheet>",
       "is not a configuration file (its root element is 'twinlyWorksheet')"},
      {"doctype.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE d>\n<duploraConfigurationFile/>",
       "line 2, column 13: the file holds a document type declaration (DOCTYPE)"},
      // The inner category would take the outer one's place and drop it.
      {"nested.xml",
       FileText("", "<OBJECT string_id=\"DPX_TRN_ITEMS_100\"><table name=\"OITM\"></table>\n"
                    "<OBJECT string_id=\"DPX_TRN_BP_100\"></OBJECT></OBJECT>\n"),
       "line 7, column 36: an OBJECT inside another category"},
      {"missing.xml", "", "does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = f.dir / c.name;
    if (!c.text.empty()) WriteUtf16(path, c.text);
    EXPECT_EQ(f.manager.readConfigurationFile(f.worksheet, path.string()), dpx::E_FAIL);
    EXPECT_NE(f.manager.lastError().find(c.reason), std::string::npos) << f.manager.lastError();
    EXPECT_NE(f.manager.lastError().find(path.string()), std::string::npos) << f.manager.lastError();
  }
  std::filesystem::create_directory(f.dir / "folder.xml");
  EXPECT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "folder.xml").string()), dpx::E_FAIL);
  EXPECT_EQ(f.manager.lastError(), "'" + (f.dir / "folder.xml").string() + "' is not a file");

  WriteUtf16(f.dir / "good.xml", FileText("", kItems));
  EXPECT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "good.xml").string()), dpx::S_OK);
  EXPECT_EQ(f.manager.lastError(), "");
}

// What is not a record inside a table is left out of the category, and
// every save or copy of the category names it; the records around it stay.
TEST(ConfigurationFile, AnElementInATableThatIsNoRecordIsNamedWhenTheCategoryIsSaved) {
  Fixture f;
  WriteUtf16(f.dir / "base.xml",
             FileText("", "<OBJECT string_id=\"DPX_TRN_CUSTOMERGROUPS_100\"><table name=\"OCRG\">\n"
                          "<note>keep me</note><BOM><BO><OCRG><row><GroupCode>1</GroupCode></row></OCRG></BO></BOM>"
                          "</table></OBJECT>\n"));
  f.context.setBaseFile((f.dir / "base.xml").string());
  f.context.setTargetFile((f.dir / "out.xml").string());
  f.worksheet.getNodes().push_back(Leaf("1", "DPX_TRN_CUSTOMERGROUPS_100", 1));
  ASSERT_EQ(f.manager.openConfiguration(f.worksheet, false), dpx::S_OK);
  ASSERT_EQ(f.manager.saveConfiguration(f.worksheet, true), dpx::S_OK);
  ASSERT_EQ(f.manager.leftOut().size(), 1u);
  EXPECT_EQ(f.manager.leftOut()[0],
            "Part of DPX_TRN_CUSTOMERGROUPS_100 is left out: line 7, column 7: the table OCRG holds the element "
            "'note', which is not a record; it is left out");
  EXPECT_FALSE(f.manager.leftOutEverything());
  const std::string saved = dpx::Utf16LEBytesToUtf8(ReadBytes(f.dir / "out.xml").substr(2));
  EXPECT_NE(saved.find("<GroupCode>1</GroupCode>"), std::string::npos);
  EXPECT_EQ(saved.find("keep me"), std::string::npos);
}

TEST(ConfigurationFile, AvailabilityFollowsTheFile) {
  Fixture f;
  WriteUtf16(f.dir / "a.xml", FileText("", "<OBJECT string_id=\"K3\"></OBJECT>\n"));
  auto& nodes = f.worksheet.getNodes();
  DPX_WorksheetNode group;
  group.setLeafId("1");
  nodes.push_back(group);
  DPX_WorksheetNode sub;
  sub.setLeafId("1.2");
  nodes.push_back(sub);
  nodes.push_back(Leaf("1.2.3", "K3", 0));
  nodes.push_back(Leaf("1.2.4", "K4", 0));
  DPX_WorksheetNode other;
  other.setLeafId("2");
  nodes.push_back(other);
  nodes.push_back(Leaf("2.1", "K5", 0));
  ASSERT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "a.xml").string()), dpx::S_OK);
  std::vector<bool> available;
  for (const auto& node : nodes) available.push_back(node.isAvailable());
  EXPECT_EQ(available, (std::vector<bool>{true, true, true, false, false, false}));
}

TEST(ConfigurationFile, BaseFileOfAWorksheetIsFoundBesideIt) {
  Fixture f;
  std::filesystem::create_directories(f.dir / "Duplora/Worksheets");
  std::filesystem::create_directories(f.dir / "Duplora/Company configuration files");
  WriteUtf16(f.dir / "Duplora/Company configuration files/a.xml", FileText("", "<OBJECT string_id=\"REL\"></OBJECT>\n"));
  WriteUtf16(f.dir / "other.xml", FileText("", "<OBJECT string_id=\"CTX\"></OBJECT>\n"));
  f.context.setBaseFile((f.dir / "other.xml").string());
  f.context.setWorksheetFile((f.dir / "Duplora/Worksheets/w.xml").string());
  f.worksheet.setSourceFile("..\\Company configuration files\\a.xml");
  ASSERT_EQ(f.manager.openConfiguration(f.worksheet, false), dpx::S_OK);
  EXPECT_NE(f.manager.findObject("REL"), nullptr);
  // Without a worksheet file the context's base file is read.
  f.context.setWorksheetFile("");
  ASSERT_EQ(f.manager.openConfiguration(f.worksheet, false), dpx::S_OK);
  EXPECT_NE(f.manager.findObject("CTX"), nullptr);
}

TEST(ConfigurationFile, WriteToFileReportsWhatFailed) {
  Fixture f;
  EXPECT_EQ(f.manager.writeToFile("x", (f.dir / "no/such/folder/c.xml").string()), dpx::E_INVALIDARG);
  EXPECT_FALSE(std::filesystem::exists(f.dir / "no"));
  EXPECT_EQ(f.logger->messages, std::vector<std::string>{"1 Failed to open output configuration file"});
  // A file that cannot be replaced keeps its old content and the save fails.
  std::filesystem::create_directories(f.dir / "ro");
  WriteUtf16(f.dir / "ro/c.xml", "old");
  std::filesystem::permissions(f.dir / "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::geteuid() != 0) {
    EXPECT_EQ(f.manager.writeToFile("new", (f.dir / "ro/c.xml").string()), dpx::E_FAIL);
    std::string text;
    ASSERT_TRUE(dpx::ReadTextFile(f.dir / "ro/c.xml", text));
    EXPECT_EQ(text, "old");
  }
  std::filesystem::permissions(f.dir / "ro", std::filesystem::perms::owner_all);
  // A write that stops half-way (a full disk) fails too, for any user.
  {
    dpx::test::FileSizeLimit full(4);
    EXPECT_EQ(f.manager.writeToFile("new content", (f.dir / "ro/c.xml").string()), dpx::E_FAIL);
  }
  std::string text;
  ASSERT_TRUE(dpx::ReadTextFile(f.dir / "ro/c.xml", text));
  EXPECT_EQ(text, "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir / "ro"), {}), 1);  // no temporary file left
}

TEST(ConfigurationFile, AFileLackingHeaderElementsShowsNothingOfTheFileReadBefore) {
  Fixture f;
  const std::string full =
      "<configurationName>first</configurationName>\n<dbVersion>930</dbVersion>\n<localization>DE</localization>\n"
      "<creationUser>manager</creationUser>\n<creationDate>2026-01-02T03:04:05</creationDate>\n"
      "<additionalDescr>d</additionalDescr>\n<partialConfiguration>true</partialConfiguration>\n"
      "<backup>true</backup>\n<approval>true</approval>\n<copyMethod>2</copyMethod>\n<RTCF>1</RTCF>\n"
      "<FRFMUDF>true</FRFMUDF>\n";
  WriteUtf16(f.dir / "full.xml", FileText(full, ""));
  WriteUtf16(f.dir / "bare.xml", FileText("<configurationName>second</configurationName>\n<RTCF>  </RTCF>\n", ""));
  ASSERT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "full.xml").string()), dpx::S_OK);
  EXPECT_EQ(f.manager.header().localization, "DE");
  EXPECT_TRUE(f.manager.header().partialConfiguration);
  f.context.setBaseFile((f.dir / "bare.xml").string());
  for (const bool preview : {false, true}) {
    ASSERT_EQ(preview ? f.manager.previewConfiguration()
                      : f.manager.readConfigurationFile(f.worksheet, (f.dir / "bare.xml").string()),
              dpx::S_OK);
    const auto& h = f.manager.header();
    EXPECT_EQ(h.configurationName, "second");
    EXPECT_EQ(h.dbVersion + h.localization + h.creationUser + h.creationDate + h.additionalDescr, "") << preview;
    EXPECT_FALSE(h.partialConfiguration || h.backup || h.approval || h.FRFMUDF) << preview;
    EXPECT_EQ(h.copyMethod, 0) << preview;
    EXPECT_EQ(h.RTCF, 0) << preview;
    ASSERT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "full.xml").string()), dpx::S_OK);
  }
  // The worksheet takes the file's own values too.
  ASSERT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "bare.xml").string()), dpx::S_OK);
  EXPECT_EQ(f.worksheet.getAdditionalDescription(), "");
  EXPECT_FALSE(f.worksheet.isBackup());
}

TEST(ConfigurationFile, PreviewReadsOnlyTheHeader) {
  Fixture f;
  WriteUtf16(f.dir / "p.xml", FileText("<configurationName>Name</configurationName>\n<copyMethod>3</copyMethod>\n",
                                       std::string(kItems)));
  f.context.setBaseFile((f.dir / "p.xml").string());
  ASSERT_EQ(f.manager.previewConfiguration(), dpx::S_OK);
  EXPECT_EQ(f.manager.header().configurationName, "Name");
  EXPECT_EQ(f.manager.header().copyMethod, 3);
  EXPECT_TRUE(f.manager.objects().empty());
}

TEST(ConfigurationFile, GetDataHandsOutStoredRecords) {
  Fixture f;
  WriteUtf16(f.dir / "d.xml", FileText("", std::string(kItems) + kGroups));
  ASSERT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "d.xml").string()), dpx::S_OK);
  std::vector<DPX_OperationArgs> records;
  ASSERT_EQ(f.manager.getData("DPX_TRN_ITEMS_100", records), dpx::S_OK);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].getTableName(), "OITM");
  ASSERT_EQ(records[0].dataItems.size(), 2u);
  EXPECT_EQ(records[0].dataItems[0].xml.rfind("<BOM>", 0), 0u);
  EXPECT_EQ(f.manager.getData("NOPE", records), dpx::E_FAIL);
  EXPECT_TRUE(records.empty());
}

TEST(ConfigurationFile, SplitsTablesIntoRecordsWithDeclarations) {
  const std::string text = std::string("<OBJECT string_id=\"K\">") +
                           "<table name=\"A\"><BOM><x>1</x></BOM><BOM><x>2</x></BOM><BOM><x>3</x></BOM></table>"
                           "<table name=\"B\"></table><table name=\"C\"><BOM><y/></BOM></table></OBJECT>";
  const auto records = DPX_ConfigurationManager::splitRecords("K", text);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].tableName, "A");
  EXPECT_EQ(records[0].categoryKey, "K");
  EXPECT_EQ(records[0].hostObjectType, 300);
  ASSERT_EQ(records[0].dataItems.size(), 3u);
  EXPECT_EQ(records[0].dataItems[2].xml, "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><x>3</x></BOM>");
  EXPECT_TRUE(records[1].dataItems.empty());
  EXPECT_EQ(records[1].tableName, "B");  // a table without records keeps its name, so Replace All can empty it
  ASSERT_EQ(records[2].dataItems.size(), 1u);
  EXPECT_EQ(records[2].tableName, "C");
}

// A copy cuts a table's records from the temporary file a piece at a time:
// a record cut by a piece's end, a tag cut by it and a record larger than a
// piece all come back whole, and the next table keeps its own records.
TEST(ConfigurationFile, StoredRecordsComeBackWholeFromPiecesOfTheTemporaryFile) {
  Fixture f;
  auto record = [](size_t length, char fill) {
    return "<BOM><BO><x>" + std::string(length, fill) + "</x></BO></BOM>";
  };
  // The second record's "<BOM>" starts two bytes before the first piece ends.
  const std::vector<std::string> first = {record((size_t{4} << 20) - 2 - 27, 'a'), record(10, 'b'),
                                          record(size_t{5} << 20, 'c'), record(1, 'd')};
  std::string body = "<OBJECT string_id=\"K\"><table name=\"T1\">";
  for (const std::string& r : first) body += r;
  body += "</table><table name=\"T2\">" + record(3, 'e') + "</table></OBJECT>\n";
  WriteUtf16(f.dir / "big.xml", FileText("", body));
  ASSERT_EQ(f.manager.readConfigurationFile(f.worksheet, (f.dir / "big.xml").string()), dpx::S_OK);
  ASSERT_FALSE(f.manager.objects().empty());
  const auto records = f.manager.categoryRecords(f.manager.objects().front(), "K");
  ASSERT_EQ(records.size(), 2u);
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>";
  ASSERT_EQ(records[0].dataItems.size(), first.size());
  for (size_t i = 0; i < first.size(); ++i)
    EXPECT_TRUE(records[0].dataItems[i].xml == declaration + first[i]) << "record " << i;
  EXPECT_EQ(records[0].tableName, "T1");
  ASSERT_EQ(records[1].dataItems.size(), 1u);
  EXPECT_EQ(records[1].dataItems[0].xml, declaration + record(3, 'e'));
}

TEST(ConfigurationFile, SaveThatCannotWriteLeavesTheOldFile) {
  Fixture f;
  WriteUtf16(f.dir / "base.xml", FileText("", std::string(kItems)));
  f.context.setBaseFile((f.dir / "base.xml").string());
  f.worksheet.getNodes().push_back(Leaf("1", "DPX_TRN_ITEMS_100", 1));
  f.context.setTargetFile((f.dir / "missing/out.xml").string());
  EXPECT_EQ(f.manager.saveConfiguration(f.worksheet, true), dpx::E_INVALIDARG);
  EXPECT_FALSE(std::filesystem::exists(f.dir / "missing"));
  // A folder stands where the file would go: the superuser cannot replace it either.
  std::filesystem::create_directories(f.dir / "ro/out.xml");
  WriteUtf16(f.dir / "ro/out.xml/old", "old");
  f.context.setTargetFile((f.dir / "ro/out.xml").string());
  EXPECT_NE(f.manager.saveConfiguration(f.worksheet, true), dpx::S_OK);
  std::string text;
  ASSERT_TRUE(dpx::ReadTextFile(f.dir / "ro/out.xml/old", text));
  EXPECT_EQ(text, "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir / "ro"), {}), 1);  // no temporary file left
}

// The records of a base file wait in a temporary file; when that cannot be
// written (a full disk), a save fails with a message and leaves the old file.
TEST(ConfigurationFile, SaveWhoseRecordsCannotBeKeptFailsWithAMessage) {
  Fixture f;
  WriteUtf16(f.dir / "base.xml", FileText("", std::string(kItems) + kGroups));
  WriteUtf16(f.dir / "out.xml", "old");
  f.context.setBaseFile((f.dir / "base.xml").string());
  f.context.setTargetFile((f.dir / "out.xml").string());
  f.worksheet.getNodes().push_back(Leaf("1", "DPX_TRN_ITEMS_100", 1));
  dpx::HRESULT result = dpx::S_OK;
  {
    // Fewer bytes than the records: they fit the temporary file's buffer and
    // fail only when it is written out.
    dpx::test::FileSizeLimit full(64);
    EXPECT_NO_THROW(result = f.manager.saveConfiguration(f.worksheet, true));
  }
  EXPECT_NE(result, dpx::S_OK);
  EXPECT_NE(f.manager.lastError().find("the temporary folder has no room for the records of '" +
                                       (f.dir / "base.xml").string() + "'"),
            std::string::npos)
      << f.manager.lastError();
  std::string text;
  ASSERT_TRUE(dpx::ReadTextFile(f.dir / "out.xml", text));
  EXPECT_EQ(text, "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.path()), {}), 2);  // no temporary file left
}

TEST(ConfigurationFile, LargeTextsWithWideCharactersAreWrittenWhole) {
  TestDir dir;
  std::string text;
  while (text.size() < (size_t{3} << 20)) text += "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // a, e-acute, euro, emoji
  {
    dpx::Utf16FileStream out(dir / "big.xml", true);
    ASSERT_TRUE(out.isOpen());
    ASSERT_TRUE(out.write(text));
    ASSERT_TRUE(out.write("<end/>"));
    ASSERT_TRUE(out.commit());
  }
  const std::string bytes = ReadBytes(dir / "big.xml");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_TRUE(dpx::Utf16LEBytesToUtf8(bytes.substr(2)) == text + "<end/>");
}
