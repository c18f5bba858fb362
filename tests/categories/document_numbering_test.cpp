// Document numbering between two simulated companies: series matched by
// document and initial number under every copy method, the next-number rule,
// default series, the prefix setting, a partial selection and the document
// names. Each case runs with the target as server type 5 and with the
// default dialect.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/setup/document_numbering_manager.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"
#include "worksheet/configuration_manager.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kKey = "DPX_TRN_DOCNUMBERING_100";

// Documents 13 and 22 in both companies, matched by initial number 1 (the
// target numbers them otherwise); one more series of each only in the base.
void Seed(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OPID (Code, Indicator) VALUES (1, 'Default');"
                    "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, InitialNum, NextNumber, Indicator, Prefix) VALUES "
                    "('13', 1, 'Primary', 1, 120, 'Default', 'AR-'), ('13', 2, 'Export', 5000, 5000, 'Default', NULL),"
                    "('22', 3, 'Primary', 1, 50, 'Default', 'PO-'), ('22', 4, 'O''Brien & <Co>', 9000, 9005, 'Default', NULL),"
                    "('68', 6, 'Never', 1, 1, 'Default', NULL);"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('13', 1, 1), ('22', 1, 3);"
                    "INSERT INTO HOST_SETTINGS (Code, Status) VALUES ('6', 0);"
                    "UPDATE OADM SET PorName = 'Orders', PdnName = 'Receipts', RpdName = 'Returns', "
                    "PchName = 'Invoices', RpcName = 'Memo''s & <credits>';");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OPID (Code, Indicator) VALUES (1, 'Default');"
                    "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, InitialNum, NextNumber, Indicator, Prefix) VALUES "
                    "('13', 1, 'Primary', 1, 80, 'Default', 'T-'), ('22', 2, 'Primary', 1, 30, 'Default', NULL),"
                    "('22', 7, 'Target', 8000, 8010, 'Default', NULL);"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('13', 1, 1), ('17', 1, 0), ('22', 1, 2);"
                    "INSERT INTO HOST_SETTINGS (Code, Status) VALUES ('6', 0);"
                    "UPDATE OADM SET PorName = 'PO', PdnName = 'GR', RpdName = 'GRet', PchName = 'API', RpcName = 'APC';");
}

void Copy(CopyFixture& fx, uint8_t method, std::vector<DPX_DetailRecord> chosen = {}) {
  dpx::test::CopyCategory<DPX_DocumentNumberingManager>(fx, kKey, method, std::move(chosen));
}

const char* kSeriesRows =
    "SELECT ObjectCode || ':' || Series || ':' || SeriesName || ':' || InitialNum || ':' || NextNumber || ':' || "
    "IFNULL(Prefix, '') FROM NNM1 ORDER BY Series";

std::string Line(const std::string& rest) { return std::string(kKey) + "|" + rest; }

struct MethodCase {
  uint8_t method;
  std::string rows;
  Lines lines;
};

const std::string kUnchanged = "13:1:Primary:1:80:T-,22:2:Primary:1:30:,22:7:Target:8000:8010:";
// Document 13 keeps the target's next number (80 < 120); document 22 takes
// the base's higher one (50 > 30); the new series get the target's next numbers.
const std::string kUpdated = "13:1:Primary:1:80:AR-,22:2:Primary:1:50:PO-,22:7:Target:8000:8010:";
const Lines kUpdateLines = {Line("213|402|1|A/R Invoices|1|A/R Invoices|A/R Invoices|"),
                            Line("213|402|2|Purchase Order|2|Purchase Order|Purchase Order|")};
const Lines kAddLines = {Line("212|402|8|A/R Invoices||||"), Line("212|402|9|Purchase Order||||")};

const std::vector<MethodCase> kCases = {
    {0, kUnchanged, {}},
    {2, kUpdated, kUpdateLines},
    {3, kUnchanged + ",13:8:Export:5000:5000:,22:9:O'Brien & <Co>:9000:9005:", kAddLines},
    {4, kUpdated + ",13:8:Export:5000:5000:,22:9:O'Brien & <Co>:9000:9005:",
     {kUpdateLines[0], kAddLines[0], kUpdateLines[1], kAddLines[1]}},
    {1, kUpdated + ",13:8:Export:5000:5000:,22:9:O'Brien & <Co>:9000:9005:",
     {kUpdateLines[0], kAddLines[0], kUpdateLines[1], kAddLines[1]}},
};

// A series of document 17 that is the base's default; the target has none of 17.
void SeedBaseDefaultSeries(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, InitialNum, NextNumber, Indicator) VALUES "
                    "('17', 5, 'Orders', 100, 100, 'Default');"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('17', 1, 5);");
}

const char* kDefaults =
    "SELECT ObjectCode || ':' || DfltSeries FROM ONNM WHERE ObjectCode IN ('13', '17', '22') ORDER BY ObjectCode";

class DocumentNumbering : public ::testing::TestWithParam<int> {};

TEST_P(DocumentNumbering, SeriesByCopyMethod) {
  for (const MethodCase& c : kCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    Seed(fx);
    Copy(fx, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kSeriesRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
    // The names of the administration record go with every method but the removal pass.
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT PorName || '|' || RpcName FROM OADM"),
              c.method == 0 ? "PO|APC" : "Orders|Memo's & <credits>");
  }
}

TEST_P(DocumentNumbering, ABaseDefaultSeriesBecomesTheTargetsDefaultByItsNewNumber) {
  CopyFixture fx(GetParam());
  Seed(fx);
  SeedBaseDefaultSeries(fx);
  Copy(fx, 3);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Series FROM NNM1 WHERE ObjectCode = '17'"), "10");
  EXPECT_EQ(CopyFixture::Column(*fx.target, kDefaults),
            "13:1,17:10,22:2");
}

// A refused add is a failed line and names no default series.
TEST_P(DocumentNumbering, ARefusedAddLeavesTheDefaultSeriesAlone) {
  CopyFixture fx(GetParam());
  Seed(fx);
  SeedBaseDefaultSeries(fx);
  fx.target->InjectFault("AddSeries", 3, -70, "Numbering is locked");
  Copy(fx, 3);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kDefaults),
            "13:1,17:0,22:2");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM NNM1 WHERE ObjectCode = '17'"), "0");
  EXPECT_EQ(fx.logLines(), (Lines{kAddLines[0], kAddLines[1], Line("212|403||Sales Orders||||Numbering is locked")}));
}

TEST_P(DocumentNumbering, WithSettingsEntrySixOnPrefixAndSuffixAreNotCarried) {
  CopyFixture fx(GetParam());
  Seed(fx);
  CopyFixture::Exec(*fx.base, "UPDATE NNM1 SET Prefix = 'EX-', Suffix = '-X' WHERE Series = 2;");
  CopyFixture::Exec(*fx.target, "UPDATE HOST_SETTINGS SET Status = 1 WHERE Code = '6';");
  Copy(fx, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target,
                                "SELECT Series || ':' || IFNULL(Prefix, '') || ':' || IFNULL(Suffix, '') FROM NNM1 "
                                "WHERE Series IN (1, 8) ORDER BY Series"),
            "1:T-:,8::");
}

TEST_P(DocumentNumbering, APartialSelectionWritesOnlyTheDocumentNames) {
  CopyFixture fx(GetParam());
  Seed(fx);
  DPX_DetailRecord chosen;
  chosen.addKeyValue("ObjectCode", dpx::Variant("13"));
  chosen.addKeyValue("Series", dpx::Variant(int32_t{2}));
  Copy(fx, 4, {chosen});
  EXPECT_EQ(CopyFixture::Column(*fx.target, kSeriesRows), kUnchanged);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT PdnName || '|' || RpcName FROM OADM"), "Receipts|Memo's & <credits>");
  EXPECT_TRUE(fx.logLines().empty());
}

// A file whose series names no number as its initial number: that series
// fails, the others are written.
TEST_P(DocumentNumbering, AnInitialNumberThatIsNoNumberFailsOnlyItsSeries) {
  CopyFixture fx(GetParam());
  Seed(fx);
  std::vector<DPX_OperationArgs> blocks;
  DPX_DocumentNumberingManager(&fx.context, kKey).readFromDB(blocks, {});
  ASSERT_EQ(blocks.back().tableName, "NNM1");
  std::string& xml = blocks.back().dataItems.at(1).xml;
  const size_t at = xml.find("<InitialNumber>5000</InitialNumber>");
  ASSERT_NE(at, std::string::npos) << xml;
  xml.replace(at, 35, "<InitialNumber>1 OR 1=1</InitialNumber>");
  DPX_DocumentNumberingManager(&fx.context, kKey).writeData(blocks, 3);
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind(Line("212|403|Export|A/R Invoices|||"), 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], Line("212|402|8|Purchase Order||||"));
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT SeriesName FROM NNM1 WHERE Series = 8"), "O'Brien & <Co>");
}

TEST_P(DocumentNumbering, TheRecordListShowsDocumentNames) {
  CopyFixture fx(GetParam());
  Seed(fx);
  DPX_DocumentNumberingManager manager(&fx.context, kKey);
  DPX_TableInfo* info = manager.collectDetails();
  ASSERT_EQ(info->getListRows().size(), 4u);  // document 68 is not listed
  EXPECT_EQ(info->getListRows()[0][0], "A/R Invoices");
  EXPECT_EQ(info->getListRows()[3][0], "Purchase Order");
  EXPECT_EQ(info->getListRows()[3][2], "O'Brien & <Co>");
  EXPECT_EQ(info->getColumnTypes().at(0), 0);
  EXPECT_EQ(manager.getDocumentName(68), "68");
  EXPECT_EQ(manager.getDocumentName(132), "132");
  EXPECT_EQ(manager.getDocumentName(999), "Unknown Document Code");
  EXPECT_EQ(manager.getDocumentName(204), "A/P Down Payment");
}

TEST_P(DocumentNumbering, StoredSeriesAreListedFromTheFile) {
  CopyFixture fx(GetParam());
  Seed(fx);
  std::vector<DPX_OperationArgs> blocks;
  DPX_DocumentNumberingManager(&fx.context, kKey).readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 3u);  // the names, the period indicators, the series
  dpx::test::StoredBlocks file(blocks);
  DPX_DocumentNumberingManager manager(&fx.context, kKey);
  const auto& rows = manager.readFromFile(&file)->getListRows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3], (std::vector<std::string>{"22", "4", "O'Brien & <Co>", "9000", "9005", "", "", "", "Default"}));
  EXPECT_EQ(manager.getTableInfo().getDetailRecords().at(3).getKeyValue(1).toText(), "4");
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, DocumentNumbering, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const auto& info) { return "ServerType" + std::to_string(info.param); });

}  // namespace
