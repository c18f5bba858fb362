// The copy driver: the file it saves and reads back, the removal pass of
// Replace All (last category first), the write pass (first category first)
// with each category's effective copy method, and a copy that goes on when a
// category fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <stdexcept>

#include "engine/category_factory.h"
#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "engine/copy_stop.h"
#include "engine/di_interface.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "tests/support/demo_server.h"
#include "tests/support/test_dir.h"
#include "worksheet/component_logger.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet.h"

namespace {

using dpx::test::TestDir;

// What the fake managers were asked to do, in order: "KEY method items".
struct Journal {
  std::vector<std::string> calls;
  std::vector<std::string> texts;  // the record XML handed to writeData
  std::set<std::string> throwing;
  std::set<std::string> unknown;
  std::set<std::string> unreadable;  // readFromDB throws
  std::set<std::string> failing;     // writeData logs its record failed
  std::set<std::string> slicing;     // the manager takes its records in slices
  std::function<void(const std::string& letter)> beforeWrite;
};

// The three categories of the tests: the first three rows of the factory.
std::string Key(char letter) { return DPX_CategoryFactory::categories()[static_cast<size_t>(letter - 'A')].key; }
std::string Letter(const std::string& key) {
  for (char c : {'A', 'B', 'C'})
    if (Key(c) == key) return std::string(1, c);
  return key;
}

class FakeManager : public DPX_DIInterface {
 public:
  FakeManager(DPX_ConnectionContext* context, const std::string& key, Journal& journal)
      : DPX_DIInterface(context, key), journal_(journal) {
    m_keyColumns = {"Code"};
    m_columns = {"Name"};
  }
  // A company base holds one record of the category.
  int32_t readFromDB(std::vector<DPX_OperationArgs>& out, std::vector<DPX_DetailRecord>) override {
    const std::string letter = Letter(getCategoryKey());
    if (journal_.unreadable.count(letter)) throw std::runtime_error("base refused");
    DPX_OperationArgs record;
    record.set(getCategoryKey(), "T" + letter, 1, DPX_OperationArgs::kTableRows);
    DPX_OperationArgs::DataItem item;
    item.xml = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><BO><T><row><Code>" + letter + "</Code></row></T></BO></BOM>";
    record.dataItems.push_back(std::move(item));
    out.push_back(std::move(record));
    return 0;
  }
  DPX_TableInfo* collectDetails() override { return &getTableInfo(); }
  bool writesInSlices() const override { return journal_.slicing.count(Letter(getCategoryKey())) != 0; }
  // A call is journalled "letter method items", each block of records after
  // the first as " + items", with "..." for a block that continues its table.
  void writeData(std::vector<DPX_OperationArgs> records, uint8_t method) override {
    std::string items;
    for (const auto& record : records) {
      items += (items.empty() ? "" : " + ") + std::string(record.continuesTable ? "..." : "") +
               std::to_string(record.dataItems.size());
      for (const auto& item : record.dataItems) journal_.texts.push_back(item.xml);
    }
    if (items.empty()) items = "0";
    const std::string letter = Letter(getCategoryKey());
    if (journal_.beforeWrite) journal_.beforeWrite(letter);
    journal_.calls.push_back(letter + " " + std::to_string(method) + " " + items);
    if (journal_.throwing.count(letter)) throw std::runtime_error("category refused");
    if (journal_.failing.count(letter)) {
      DPX_CopyLog* log = getContext()->copyLog;
      log->clearRecord();
      log->setCategoryNo(getCategoryKey());
      log->setResult("403");
      log->setError("record refused");
      log->writeRecord(true);
    }
  }

 private:
  Journal& journal_;
};

class RecordingLogger : public dpx::ComponentLogger {
 public:
  void Log(int, std::string_view, int, std::string_view, std::string_view message) override {
    messages.emplace_back(message);
  }
  std::vector<std::string> messages;
};

std::string Record(const std::string& code) {
  return "<BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><T><row><Code>" + code + "</Code><Name>n" + code +
         "</Name></row></T></BO></BOM>";
}

// A base file with categories A (two records), B (one) and C (a table of three rows).
std::string BaseFile() {
  return "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n<duploraConfigurationFile version=\"1.0\">\n<header>\n"
         "<copyMethod>1</copyMethod>\n</header>\n<body>\n"
         "<OBJECT string_id=\"" + Key('A') + "\"><table name=\"TA\">" + Record("a1") + Record("a2") +
         "</table></OBJECT>\n<OBJECT string_id=\"" + Key('B') + "\"><table name=\"TB\">" + Record("b1") +
         "</table></OBJECT>\n<OBJECT string_id=\"" + Key('C') + "\"><table name=\"TC\"><BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><TC>"
         "<row><Code>1</Code><Name>one</Name></row><row><Code>2</Code><Name>two</Name></row>"
         "<row><Code>3</Code><Name>three</Name></row></TC></BO></BOM></table></OBJECT>\n"
         "</body>\n</duploraConfigurationFile>\n";
}

struct CopyFixture : ::testing::Test {
  dpx::test::DemoServerFixture server{6, false};
  TestDir dir;
  DPX_ConnectionContext context;
  DPX_CopyLog log{&context};
  DPX_Worksheet worksheet;
  Journal journal;
  std::shared_ptr<RecordingLogger> logger = std::make_shared<RecordingLogger>();

  void SetUp() override {
    ASSERT_TRUE(dpx::WriteUtf16File(dir / "base.xml", BaseFile(), true));
    context.setBaseFile((dir / "base.xml").string());
    context.setTargetFile((dir / "DPX_Config.xml").string());
    context.setTargetCompany(server.target());
    for (char letter : {'A', 'B', 'C'}) {
      DPX_WorksheetNode node;
      node.setLeafId(std::string("1.") + letter);
      node.setStringKey(Key(letter));
      node.setIsLeaf(true);
      node.setSelected(DPX_WorksheetNode::kSelectedWhole);
      worksheet.getNodes().push_back(node);
    }
    for (char letter : {'A', 'B', 'C'}) {
      const auto* row = DPX_CategoryFactory::findCategory(Key(letter));
      DPX_CategoryFactory::registerClass(
          row->className,
          [this](DPX_ConnectionContext* c, const std::string& key, int32_t) -> std::unique_ptr<DPX_DIInterface> {
            if (journal.unknown.count(Letter(key))) return nullptr;
            return std::make_unique<FakeManager>(c, key, journal);
          });
    }
    ASSERT_TRUE(log.openIn(dir.path().string(), "TARGET", true));
    context.copyLog = &log;
  }
  void TearDown() override {
    context.copyLog = nullptr;
    log.close();
    for (char letter : {'A', 'B', 'C'})
      DPX_CategoryFactory::unregisterClass(DPX_CategoryFactory::findCategory(Key(letter))->className);
  }

  // The record lines of the copy log so far.
  std::vector<std::string> logLines() {
    log.close();
    std::ifstream in(log.path(), std::ios::binary);
    const std::string text = dpx::Utf16LEBytesToUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
    std::vector<std::string> lines;
    for (size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
      lines.push_back(text.substr(pos, end - pos));
    return lines;
  }

  DPX_WorksheetNode& node(const std::string& letter) {
    for (auto& n : worksheet.getNodes())
      if (n.getStringKey() == Key(letter[0])) return n;
    throw std::logic_error("no node " + letter);
  }

  dpx::HRESULT copy(int method, bool baseIsFile = true) {
    context.setCopyMethod(method);
    worksheet.setCopyMethod(method);
    DPX_ConfigurationManager manager(&context);
    manager.setLogger(logger);
    return manager.writeConfiguration(worksheet, baseIsFile);
  }
};

}  // namespace

TEST_F(CopyFixture, ReplaceAllEmptiesLastCategoryFirstAndWritesFirstCategoryFirst) {
  node("C").setSelected(DPX_WorksheetNode::kNotSelected);
  EXPECT_EQ(copy(1), dpx::S_OK);
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"B 0 1", "A 0 2", "A 1 2", "B 1 1"}));
  EXPECT_EQ(context.getBaseFile(), (dir / "base.xml").string());
  for (const auto& text : journal.texts) EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM>", 0), 0u);
}

TEST_F(CopyFixture, TheWorksheetKeepsItsNameAndCategoriesAfterCopies) {
  DPX_ConfigurationManager manager(&context);
  manager.setLogger(logger);
  ASSERT_EQ(manager.openConfiguration(worksheet, false), dpx::S_OK);  // as opening the worksheet does
  worksheet.setWorksheetName("Monthly");
  worksheet.setCopyMethod(4);
  context.setCopyMethod(4);
  node("C").setSelected(DPX_WorksheetNode::kNotSelected);
  for (int copies = 0; copies < 2; ++copies) {
    EXPECT_EQ(manager.writeConfiguration(worksheet, true), dpx::S_OK);
    EXPECT_EQ(worksheet.getWorksheetName(), "Monthly");
    EXPECT_EQ(worksheet.getCopyMethod(), 4);
    EXPECT_TRUE(node("C").isAvailable());  // the base still has it for the next copy
  }
}

TEST_F(CopyFixture, OtherMethodsOnlyWrite) {
  for (int method : {2, 3, 4}) {
    journal.calls.clear();
    EXPECT_EQ(copy(method), dpx::S_OK);
    const std::string m = std::to_string(method);
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"A " + m + " 2", "B " + m + " 1", "C " + m + " 1"})) << method;
  }
}

TEST_F(CopyFixture, ProhibitedMethodUsesItsSubstituteOrIsSkipped) {
  struct Case {
    int substitute;
    std::vector<std::string> expected;
  } cases[] = {
      {4, {"C 0 1", "A 0 2", "A 1 2", "B 4 1", "C 1 1"}},
      {33, {"C 0 1", "A 0 2", "A 1 2", "C 1 1"}},  // "cannot be copied with this method"
      {DPX_WorksheetNode::kNoSubstitute, {"C 0 1", "A 0 2", "A 1 2", "C 1 1"}},
      {0, {"C 0 1", "A 0 2", "A 1 2", "C 1 1"}},  // never the removal pass in the write pass
  };
  for (const auto& c : cases) {
    journal.calls.clear();
    logger->messages.clear();
    node("B").getProhibitedCopyMethods() = {1};
    node("B").setSubstituteCopyMethod(c.substitute);
    EXPECT_EQ(copy(1), dpx::S_OK);
    EXPECT_EQ(journal.calls, c.expected) << c.substitute;
    // A skipped category is reported, a substituted one is not.
    const bool reported = std::any_of(logger->messages.begin(), logger->messages.end(), [](const std::string& m) {
      return m.rfind("Category " + Key('B') + " not copied", 0) == 0;
    });
    EXPECT_EQ(reported, c.substitute != 4) << c.substitute;
  }
}

TEST_F(CopyFixture, ACategoryThatFailsDoesNotStopTheCopy) {
  journal.throwing = {"A"};
  journal.unknown = {"B"};
  EXPECT_EQ(copy(4), dpx::S_OK);
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"A 4 2", "C 4 1"}));
  const auto& m = logger->messages;
  EXPECT_NE(std::find(m.begin(), m.end(), "Exception from writeData caught!"), m.end());
  EXPECT_NE(std::find(m.begin(), m.end(), "Failed to get DIObject"), m.end());
  // The user sees the failed category in the copy log.
  const auto lines = logLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], Key('A') + "|212|403||||||category refused");
}

TEST_F(CopyFixture, NoTargetCompanyWritesNothing) {
  context.setTargetCompany(nullptr);
  EXPECT_EQ(copy(1), dpx::E_FAIL);
  EXPECT_TRUE(journal.calls.empty());
  EXPECT_TRUE(std::filesystem::exists(dir / "DPX_Config.xml"));
  EXPECT_EQ(context.getBaseFile(), (dir / "base.xml").string());
}

TEST_F(CopyFixture, PartialSelectionOfAFileBaseCopiesOnlyNamedRecords) {
  auto& c = node("C");
  c.setSelected(DPX_WorksheetNode::kSelectedPartly);
  for (const char* code : {"1", "3"}) {
    DPX_SelectionObject pick;
    pick.addSubsKeyField("Code", code, "db_Alpha");
    pick.setTableName("TC");
    if (std::string(code) == "3") pick.addAdditionalDataField("Name", "THREE & more", "db_Alpha");
    c.addSelectionObject(pick);
  }
  node("A").setSelected(DPX_WorksheetNode::kNotSelected);
  node("B").setSelected(DPX_WorksheetNode::kNotSelected);
  EXPECT_EQ(copy(4), dpx::S_OK);
  ASSERT_EQ(journal.calls, (std::vector<std::string>{"C 4 1"}));
  ASSERT_EQ(journal.texts.size(), 1u);
  const std::string& text = journal.texts[0];
  EXPECT_NE(text.find("<row><Code>1</Code><Name>one</Name></row>"), std::string::npos);
  EXPECT_EQ(text.find("<Code>2</Code>"), std::string::npos);
  EXPECT_NE(text.find("<row><Code>3</Code><Name>THREE &amp; more</Name></row>"), std::string::npos);
}

TEST_F(CopyFixture, PartialSelectionWithoutKeysCopiesNothingOfTheCategory) {
  auto& b = node("B");
  b.setSelected(DPX_WorksheetNode::kSelectedPartly);
  b.addSelectionObject(DPX_SelectionObject{});
  EXPECT_EQ(copy(4), dpx::S_OK);
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"A 4 2", "C 4 1"}));
  EXPECT_EQ(logLines(), std::vector<std::string>{Key('B') + "|212|403||||||No record of the partial selection of " +
                                                 Key('B') + " can be identified; the category is not saved"});
}

// A worksheet may pick a record the base no longer has: the records it has
// are copied, and the missing one gets its line, from a file or a company.
TEST_F(CopyFixture, APickedRecordTheBaseLacksGetsALine) {
  for (bool fileBase : {true, false}) {
    SCOPED_TRACE(fileBase ? "file base" : "company base");
    journal.calls.clear();
    ASSERT_TRUE(log.openIn(dir.path().string(), fileBase ? "FILE" : "COMPANY", true));
    auto& c = node("C");
    c.getSelectionObjects().clear();
    c.setSelected(DPX_WorksheetNode::kSelectedPartly);
    for (const char* code : {fileBase ? "2" : "C", "9"}) {
      DPX_SelectionObject pick;
      (fileBase ? pick.addSubsKeyField("Code", code, "db_Alpha") : pick.addKeyField("Code", code, "db_Alpha"));
      pick.setTableName("TC");
      c.addSelectionObject(pick);
    }
    node("A").setSelected(DPX_WorksheetNode::kNotSelected);
    node("B").setSelected(DPX_WorksheetNode::kNotSelected);
    EXPECT_EQ(copy(4, fileBase), dpx::S_OK);
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"C 4 1"}));
    EXPECT_EQ(logLines(), std::vector<std::string>{Key('C') + "|212|403||||||The record picked in " + Key('C') +
                                                   " with Code = '9' is not in the base; it is not copied"});
  }
}

// A save that cannot read a category names it; whether anything of the
// selection was saved tells the caller how to end.
TEST_F(CopyFixture, ASaveNamesTheCategoriesItCouldNotRead) {
  context.copyLog = nullptr;
  context.setTargetFile((dir / "saved.xml").string());
  for (const auto& [unreadable, everything] :
       {std::pair<std::set<std::string>, bool>{{"B"}, false}, {{"A", "B", "C"}, true}}) {
    journal.unreadable = unreadable;
    DPX_ConfigurationManager manager(&context);
    manager.setLogger(logger);
    ASSERT_EQ(manager.saveConfiguration(worksheet, false), dpx::S_OK);
    ASSERT_EQ(manager.leftOut().size(), unreadable.size());
    EXPECT_EQ(manager.leftOut().front(), "The category " + Key(unreadable.begin()->front()) +
                                             " could not be read from the base company: base refused");
    EXPECT_EQ(manager.leftOutEverything(), everything);
  }
}

TEST_F(CopyFixture, ASecondCopyByTheSameManagerReadsTheBaseFileAgain) {
  // The copy leaves the manager holding the file it wrote, which has only
  // what that copy selected; the next copy must start from the base again.
  DPX_ConfigurationManager manager(&context);
  manager.setLogger(logger);
  context.setCopyMethod(4);
  worksheet.setCopyMethod(4);
  node("B").setSelected(DPX_WorksheetNode::kNotSelected);
  node("C").setSelected(DPX_WorksheetNode::kNotSelected);
  ASSERT_EQ(manager.openConfiguration(worksheet, false), dpx::S_OK);
  EXPECT_EQ(manager.writeConfiguration(worksheet, true), dpx::S_OK);
  node("B").setSelected(DPX_WorksheetNode::kSelectedWhole);
  EXPECT_EQ(manager.writeConfiguration(worksheet, true), dpx::S_OK);
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"A 4 2", "A 4 2", "B 4 1"}));
}

TEST_F(CopyFixture, ACategoryTheBaseCompanyCannotGiveDoesNotStopTheCopy) {
  journal.unreadable = {"B"};
  EXPECT_EQ(copy(4, false), dpx::S_OK);
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"A 4 1", "C 4 1"}));
  const auto& m = logger->messages;
  EXPECT_NE(std::find(m.begin(), m.end(), "Failed to write all BOMs"), m.end());
  EXPECT_EQ(logLines(), std::vector<std::string>{Key('B') + "|212|403||||||base refused"});
}

// A target that cannot be written ends the copy with one line saying why:
// before the first record, or right after the first record that found it so.
TEST_F(CopyFixture, ATargetThatCannotBeWrittenStopsTheCopyWithOneLine) {
  const std::string stopped = "|212|403||||||The target company 'DEMO_TARGET' cannot be written (The company database ";
  {
    SCOPED_TRACE("held by another connection from the start");
    auto other = server.target();
    other->StartTransaction();
    other->store().exec("UPDATE OADM SET CompnyName = CompnyName");
    EXPECT_EQ(copy(1), DPX_E_COPY_STOPPED);
    other->EndTransaction(dpx::host::kEndRollback);
    EXPECT_TRUE(journal.calls.empty());  // not even Replace All's removal ran
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind(stopped + "DEMO_TARGET is locked by another connection); the copy stopped here", 0), 0u)
        << lines[0];
  }
  {
    SCOPED_TRACE("read-only from the second category on");
    ASSERT_TRUE(log.openIn(dir.path().string(), "TARGET2", true));
    journal.failing = {"B", "C"};
    journal.beforeWrite = [this](const std::string& letter) {
      if (letter == "B") context.getTargetCompany()->SetReadOnly(true);
    };
    EXPECT_EQ(copy(4), DPX_E_COPY_STOPPED);
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"A 4 2", "B 4 1"}));
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], Key('B') + "||403||||||record refused");
    EXPECT_EQ(lines[1], Key('B') + "|212|403||||||The target company 'DEMO_TARGET' cannot be written (The company "
                                   "database DEMO_TARGET is read-only); the copy stopped here");
  }
  // A record refused for its own reasons does not stop the copy.
  context.getTargetCompany()->SetReadOnly(false);
  ASSERT_TRUE(log.openIn(dir.path().string(), "TARGET3", true));
  journal.calls.clear();
  journal.beforeWrite = nullptr;
  EXPECT_EQ(copy(4), dpx::S_OK);
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"A 4 2", "B 4 1", "C 4 1"}));
  EXPECT_EQ(logLines().size(), 2u);
}

TEST_F(CopyFixture, AnInterruptedCopyStopsAtItsNextRecordWithALineSayingSo) {
  journal.failing = {"A"};
  journal.beforeWrite = [](const std::string& letter) {
    if (letter == "A") dpx::RequestCopyInterruption();
  };
  EXPECT_EQ(copy(4), DPX_E_COPY_STOPPED);
  dpx::ClearCopyInterruption();
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"A 4 2"}));
  EXPECT_EQ(logLines(), (std::vector<std::string>{Key('A') + "||403||||||record refused",
                                                  Key('A') + "|212|403||||||The copy was interrupted; the records after "
                                                             "this line were not copied"}));
}

// A manager that takes slices gets the category a bounded slice at a time
// (2,000 records, or about 1 MB of them), table by table, every record once
// and in the file's order; a table without records still reaches it; one that
// does not gets the whole category in one call, as before.
TEST_F(CopyFixture, AManagerThatTakesSlicesGetsTheCategoryInBoundedSlices) {
  std::string many, large;
  for (int i = 0; i < 4500; ++i) many += Record("a" + std::to_string(i));
  for (int i = 0; i < 3; ++i) large += Record(std::string(300000, static_cast<char>('x' + i)));  // 600 kB each
  const std::string file =
      "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n<duploraConfigurationFile version=\"1.0\">\n<header>\n"
      "<copyMethod>1</copyMethod>\n</header>\n<body>\n"
      "<OBJECT string_id=\"" + Key('A') + "\"><table name=\"TA\">" + many + "</table></OBJECT>\n"
      "<OBJECT string_id=\"" + Key('B') + "\"><table name=\"TB\">" + large + "</table><table name=\"TB2\"></table>"
      "<table name=\"TB3\">" + Record("b1") + "</table></OBJECT>\n"
      "<OBJECT string_id=\"" + Key('C') + "\"><table name=\"TC\">" + many + "</table></OBJECT>\n"
      "</body>\n</duploraConfigurationFile>\n";
  ASSERT_TRUE(dpx::WriteUtf16File(dir / "base.xml", file, true));

  journal.slicing = {"A", "B"};
  node("C").setSelected(DPX_WorksheetNode::kNotSelected);
  EXPECT_EQ(copy(1), dpx::S_OK);
  EXPECT_EQ(journal.calls, (std::vector<std::string>{
                               // the removal pass, last category first
                               "B 0 2", "B 0 ...1", "B 0 0", "B 0 1", "A 0 2000", "A 0 ...2000", "A 0 ...500",
                               // the write pass
                               "A 1 2000", "A 1 ...2000", "A 1 ...500", "B 1 2", "B 1 ...1", "B 1 0", "B 1 1"}));
  const std::vector<std::string> slicedTexts = journal.texts;

  // The whole category in one call gives the same records in the same order.
  journal.slicing.clear();
  journal.calls.clear();
  journal.texts.clear();
  node("C").setSelected(DPX_WorksheetNode::kSelectedWhole);
  EXPECT_EQ(copy(4), dpx::S_OK);
  EXPECT_EQ(journal.calls, (std::vector<std::string>{"A 4 4500", "B 4 3 + 0 + 1", "C 4 4500"}));
  const size_t removalTexts = 4500 + 4;
  ASSERT_EQ(slicedTexts.size(), removalTexts + 4500 + 4);
  EXPECT_TRUE(std::equal(slicedTexts.begin() + removalTexts, slicedTexts.end(), journal.texts.begin()));
}
