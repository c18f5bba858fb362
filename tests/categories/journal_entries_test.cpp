// Journal entries, opening balances and stock postings copied between two
// simulated companies, with the profit centres and distribution rules they
// carry. Every case runs with the target as server type 5 and with the
// default dialect; what counts is the target's rows and the copy-log lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/finance/manual_journal_entries_manager.h"
#include "engine/dom_parser.h"
#include "tests/categories/category_copy.h"

namespace {

using dpx::test::CopyCategory;
using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kEntriesKey = "DPX_TRN_MANUALJOURNALENTRIES_100";
constexpr const char* kOpeningKey = "DPX_TRN_OPENINGBALANCES_100";
constexpr const char* kPostingsKey = "DPX_TRN_STOCKPOSTINGS_100";

class JournalEntries : public ::testing::TestWithParam<int> {};

// Accounts in both companies; the base's series "S" of entries is 3, the
// target's is 8 (its 3 is another series of entries).
void SeedAccountsAndSeries(CopyFixture& fx) {
  for (auto* company : {fx.base.get(), fx.target.get()})
    CopyFixture::Exec(*company, "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES "
                                "('110', 'Cash', '110'), ('400', 'Revenue', '400');");
  CopyFixture::Exec(*fx.base, "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, NextNumber) VALUES ('30', 3, 'S', 40);");
}

// An entry of two lines, of `debit` and `credit`.
void AddEntry(dpx::host::Company& company, int id, const std::string& type, const std::string& memo,
              const std::string& series = "NULL", int debit = 100, int credit = 100) {
  const std::string key = std::to_string(id);
  CopyFixture::Exec(company, "INSERT INTO OJDT (TransId, TransType, CreateDate, Number, Memo, Series) VALUES (" + key +
                                 ", '" + type + "', '20260105', " + key + ", '" + memo + "', " + series + ");"
                                 "INSERT INTO JDT1 (TransId, LineNum, Account, Debit, Credit) VALUES (" + key +
                                 ", 0, '110', " + std::to_string(debit) + ", 0), (" + key + ", 1, '400', 0, " +
                                 std::to_string(credit) + ");");
}

const char* kEntryRows =
    "SELECT TransId || ':' || TransType || ':' || Memo || ':' || IFNULL(Series, '') || ':' || IFNULL(Number, '') "
    "FROM OJDT ORDER BY TransId";

TEST_P(JournalEntries, EveryMethodButTheRemovalPassAddsEveryEntry) {
  const std::string added = "1:30:Target's:8:1,2:30:Rent & <office>:8:1,3:30:O'Neil's:8:2";
  const Lines lines = {"DPX_TRN_MANUALJOURNALENTRIES_100|212|402|1|Rent & <office>||||",
                       "DPX_TRN_MANUALJOURNALENTRIES_100|212|402|4|O'Neil's||||"};
  struct Case {
    uint8_t method;
    std::string rows;
    Lines lines;
  } cases[] = {{0, "1:30:Target's:8:1", {}}, {1, added, lines}, {2, added, lines}, {3, added, lines}, {4, added, lines}};
  for (const Case& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedAccountsAndSeries(fx);
    CopyFixture::Exec(*fx.target, "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, NextNumber) VALUES "
                                  "('30', 3, 'Other', 70), ('30', 8, 'S', 1);");
    AddEntry(*fx.base, 1, "30", "Rent & <office>", "3");
    AddEntry(*fx.base, 2, "-2", "Opening");
    AddEntry(*fx.base, 4, "30", "O''Neil''s", "3");
    AddEntry(*fx.target, 1, "30", "Target''s", "8", 50, 50);
    CopyCategory<DPX_ManualJournalEntriesManager>(fx, kEntriesKey, c.method);
    // The series is the target's "S", whose next numbers the entries take.
    EXPECT_EQ(CopyFixture::Column(*fx.target, kEntryRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT NextNumber FROM NNM1 WHERE Series = 8"),
              c.method == 0 ? "1" : "3");
  }
}

// A copy run twice posts nothing twice: an entry whose posting the target
// already holds is not added again and its line names the target's entry; an
// entry that differs in an amount is added. Two equal base entries need two
// equal target entries.
TEST_P(JournalEntries, ASecondCopyAddsNoEntryTheTargetAlreadyHolds) {
  for (uint8_t method : {1, 2, 3, 4}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedAccountsAndSeries(fx);
    CopyFixture::Exec(*fx.target, "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, NextNumber) VALUES "
                                  "('30', 8, 'S', 1);");
    AddEntry(*fx.base, 1, "30", "Rent & <office>", "3");
    AddEntry(*fx.base, 2, "30", "Rent & <office>", "3");
    AddEntry(*fx.base, 3, "30", "O''Neil''s", "3");
    // The target holds one rent entry already, and O'Neil's with other amounts:
    // the first copy adds the second rent and O'Neil's.
    AddEntry(*fx.target, 7, "30", "Rent & <office>", "8");
    AddEntry(*fx.target, 9, "30", "O''Neil''s", "8", 50, 50);
    CopyCategory<DPX_ManualJournalEntriesManager>(fx, kEntriesKey, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM OJDT"), "4");
    const Lines first = fx.logLines();
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(std::count_if(first.begin(), first.end(),
                            [](const std::string& l) { return l.find("Already in the target as entry 7") != std::string::npos; }),
              1);
    CopyCategory<DPX_ManualJournalEntriesManager>(fx, kEntriesKey, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM OJDT"), "4");
    const Lines second = fx.logLines();
    ASSERT_EQ(second.size(), 6u);
    for (size_t i = 3; i < second.size(); ++i) {
      EXPECT_NE(second[i].find("|212|402|"), std::string::npos) << second[i];
      EXPECT_NE(second[i].find("Already in the target as entry"), std::string::npos) << second[i];
    }
  }
}

// The target's series counter of entries says nothing about the entries'
// keys: only the entries this copy added take the kind's type, never the
// target's own entry above the counter, never an entry the host refused.
TEST_P(JournalEntries, OnlyTheEntriesThisCopyAddedTakeTheirType) {
  struct Case {
    const char* key;
    const char* type;
    bool targetSeries;  // the target has a series of entries (next number 1)
    std::string rows;
  } cases[] = {
      {kOpeningKey, "-2", true, "950:30:Target's::950,951:-2:First::1,952:-2:Third::3"},
      {kOpeningKey, "-2", false, "950:30:Target's::950,951:-2:First::1,952:-2:Third::3"},
      {kPostingsKey, "58", true, "950:30:Target's::950,951:58:First::1,952:58:Third::3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + (c.targetSeries ? " with" : " without") + " a series");
    CopyFixture fx(GetParam());
    SeedAccountsAndSeries(fx);
    if (c.targetSeries)
      CopyFixture::Exec(*fx.target,
                        "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, NextNumber) VALUES ('30', 8, 'S', 1);");
    AddEntry(*fx.target, 950, "30", "Target''s");
    AddEntry(*fx.base, 1, c.type, "First");
    AddEntry(*fx.base, 2, c.type, "Unbalanced", "NULL", 100, 90);
    AddEntry(*fx.base, 3, c.type, "Third");
    AddEntry(*fx.base, 4, "30", "A manual entry");
    // Picked records make no difference: these kinds are copied whole.
    DPX_DetailRecord picked;
    picked.addKeyValue("TransId", dpx::Variant(int32_t{3}));
    CopyCategory<DPX_ManualJournalEntriesManager>(fx, c.key, 4, {picked});
    EXPECT_EQ(CopyFixture::Column(*fx.target, kEntryRows), c.rows);
    const std::string key = c.key;
    EXPECT_EQ(fx.logLines(), (Lines{key + "|212|402|1|First||||",
                                    key + "|212|403|2|Unbalanced||||Journal entry: the lines do not balance "
                                          "(debit 100, credit 90)",
                                    key + "|212|402|3|Third||||"}));
  }
}

// Profit centres, distribution rules and their lines travel whole and are
// added or updated by key whatever the method, without lines, and never in
// the removal pass; without entries nothing is re-typed.
TEST_P(JournalEntries, CostAccountingRowsAloneAreWrittenByKey) {
  const std::string written = "PC1:Sales & <Marketing>,PC2:O'Brien's,PC9:Target only|DR1:Split,DR9:Other|DR1:PC1,"
                              "DR1:PC2,DR9:PC9";
  for (uint8_t method : {0, 2, 3, 4}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "INSERT INTO OPRC (PrcCode, PrcName) VALUES ('PC1', 'Sales & <Marketing>'), "
                                "('PC2', 'O''Brien''s');"
                                "INSERT INTO OOCR (OcrCode, OcrName) VALUES ('DR1', 'Split');"
                                "INSERT INTO OCR1 (OcrCode, PrcCode) VALUES ('DR1', 'PC1'), ('DR1', 'PC2');");
    CopyFixture::Exec(*fx.target, "INSERT INTO OPRC (PrcCode, PrcName) VALUES ('PC1', 'Old'), ('PC9', 'Target only');"
                                  "INSERT INTO OOCR (OcrCode, OcrName) VALUES ('DR1', 'Split'), ('DR9', 'Other');"
                                  "INSERT INTO OCR1 (OcrCode, PrcCode) VALUES ('DR1', 'PC1'), ('DR9', 'PC9');"
                                  "INSERT INTO OACT (AcctCode, AcctName) VALUES ('110', 'Cash'), ('400', 'Revenue');");
    AddEntry(*fx.target, 950, "30", "Target''s");
    const auto blocks = CopyCategory<DPX_ManualJournalEntriesManager>(fx, kOpeningKey, method);
    ASSERT_EQ(blocks.size(), 3u);
    const std::string rows =
        CopyFixture::Column(*fx.target, "SELECT PrcCode || ':' || PrcName FROM OPRC ORDER BY 1") + "|" +
        CopyFixture::Column(*fx.target, "SELECT OcrCode || ':' || OcrName FROM OOCR ORDER BY 1") + "|" +
        CopyFixture::Column(*fx.target, "SELECT OcrCode || ':' || PrcCode FROM OCR1 ORDER BY 1");
    EXPECT_EQ(rows, method == 0 ? "PC1:Old,PC9:Target only|DR1:Split,DR9:Other|DR1:PC1,DR9:PC9" : written);
    EXPECT_EQ(fx.logLines(), Lines{});
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT TransType FROM OJDT"), "30");
  }
}

TEST_P(JournalEntries, OnlyManualEntriesAreListed) {
  CopyFixture fx(GetParam());
  SeedAccountsAndSeries(fx);
  AddEntry(*fx.base, 1, "30", "Rent & <office>", "3");
  AddEntry(*fx.base, 2, "-2", "Opening");
  AddEntry(*fx.base, 3, "58", "Posting");
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  const auto rows = factory.createManager(kEntriesKey)->collectDetails()->getListRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].back(), "Rent & <office>");
  for (const char* key : {kOpeningKey, kPostingsKey}) {
    SCOPED_TRACE(key);
    auto manager = factory.createManager(key);
    EXPECT_EQ(manager->getCategoryKey(), key);
    EXPECT_TRUE(manager->collectDetails()->getListRows().empty());
    std::vector<DPX_OperationArgs> blocks;
    manager->readFromDB(blocks, {});
    dpx::test::StoredBlocks stored(blocks);
    EXPECT_TRUE(factory.createManager(key)->readFromFile(&stored)->getListRows().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, JournalEntries, ::testing::ValuesIn(dpx::test::kServerTypes));

// The system-currency amounts leave the lines from the first line that has
// "CreditSys" up to the first following line without one; "DebitSys" goes
// only from the lines whose "CreditSys" went.
TEST(JournalEntryLines, SystemAmountsLeaveTheFirstRunOfLinesThatHaveThem) {
  // Per line: "D" it has DebitSys, "C" it has CreditSys.
  struct Case {
    std::vector<std::string> lines, expected;
  } cases[] = {
      {{"DC", "DC", "DC"}, {"", "", ""}},
      {{"DC", "", "DC"}, {"", "", "DC"}},  // a gap ends the run
      {{"", "DC", "C", "D"}, {"", "", "", "D"}},
      {{"D", "D"}, {"D", "D"}},  // DebitSys alone stays
  };
  DPX_ManualJournalEntriesManager manager(nullptr, kEntriesKey, 0);
  for (const Case& c : cases) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><BOM><BO><AdmInfo><Object>30</Object></AdmInfo>"
                      "<JournalEntries><row><Memo>A &amp; B</Memo></row></JournalEntries><JournalEntries_Lines>";
    for (const std::string& line : c.lines)
      xml += std::string("<row><Debit>1</Debit>") + (line.find('D') != std::string::npos ? "<DebitSys>1</DebitSys>" : "") +
             (line.find('C') != std::string::npos ? "<CreditSys>1</CreditSys>" : "") + "</row>";
    xml += "</JournalEntries_Lines></BO></BOM>";
    const std::string original = xml;
    std::string other = xml;
    manager.adjustXml(30, xml);
    manager.adjustXml(4, other);  // another object's record is left alone
    std::vector<std::string> seen;
    for (size_t at = xml.find("<JournalEntries_Lines>"); (at = xml.find("<row>", at + 1)) != std::string::npos;) {
      const std::string row = xml.substr(at, xml.find("</row>", at) - at);
      seen.push_back(std::string(row.find("<DebitSys>") != std::string::npos ? "D" : "") +
                     (row.find("<CreditSys>") != std::string::npos ? "C" : ""));
    }
    EXPECT_EQ(seen, c.expected) << xml;
    EXPECT_NE(xml.find("A &amp; B"), std::string::npos);
    EXPECT_EQ(other, original);
  }
}

}  // namespace
