// Posting periods between two simulated companies: categories matched by
// their year start and sub-period type, created where the target lacks them,
// and their periods overwritten position by position, with a copy-log line
// per created category and per period. Each case runs with the target as
// server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/setup/posting_periods_manager.h"
#include "platform/host/company_service.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kKey = "DPX_TRN_POSTPER_100";

// A category as the host makes it (its periods derived from the type), then
// its period names marked with `mark` so that a copy shows where they went.
void Category(dpx::host::Company& company, const std::string& code, const std::string& name, const std::string& start,
              int type, const std::string& mark) {
  auto service = company.GetCompanyService();
  auto category = service->NewPeriodCategory(2);
  category->put("PeriodCategory", dpx::Variant(code));
  category->put("PeriodName", dpx::Variant(code));
  category->put("BeginningofFinancialYear", dpx::Variant(start));
  category->put("SubPeriodType", dpx::Variant(int32_t{type}));
  service->CreatePeriodCategory(category);
  auto quoted = [](std::string text) {
    for (size_t at = text.find('\''); at != std::string::npos; at = text.find('\'', at + 2)) text.insert(at, 1, '\'');
    return "'" + text + "'";
  };
  CopyFixture::Exec(company, "UPDATE OACP SET PeriodName = " + quoted(name) + " WHERE PeriodCat = " + quoted(code) + ";"
                             "UPDATE OFPR SET Name = " + quoted(mark) + " || PeriodIndex WHERE PeriodCat = " + quoted(code) + ";");
}

void Copy(CopyFixture& fx, uint8_t method, std::vector<DPX_DetailRecord> chosen = {}) {
  EXPECT_EQ(dpx::test::CopyCategory<DPX_PostingPeriodsManager>(fx, kKey, method, std::move(chosen)).size(), 2u);
}

std::string Periods(CopyFixture& fx, const std::string& category) {
  return CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name || ':' || RefDateFrom FROM OFPR WHERE PeriodCat = '" +
                                             category + "' ORDER BY PeriodIndex");
}

std::string Categories(CopyFixture& fx) {
  return CopyFixture::Column(*fx.target,
                             "SELECT PeriodCat || ':' || PeriodName || ':' || BeginningofFinancialYear || ':' || "
                             "SubPeriodType FROM OACP ORDER BY PeriodCat");
}

class PostingPeriods : public ::testing::TestWithParam<int> {};

// The record of a category has its fixed form: dates "%Y-%m-%d", names escaped.
TEST_P(PostingPeriods, TheCategoryRecordHasItsFixedForm) {
  CopyFixture fx(GetParam());
  Category(*fx.base, "2024", "Year & <24>", "20240101", 1, "b");
  std::vector<DPX_OperationArgs> blocks;
  DPX_PostingPeriodsManager(&fx.context, kKey).readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].tableName, "OACP");
  ASSERT_EQ(blocks[0].dataItems.size(), 1u);
  EXPECT_EQ(blocks[0].dataItems[0].xml,
            "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><PeriodCat><PeriodCategory>2024</PeriodCategory>"
            "<PeriodName>Year &amp; &lt;24&gt;</PeriodName><BeginningofFinancialYear>2024-01-01"
            "</BeginningofFinancialYear><NumberOfPeriods>4</NumberOfPeriods><SubPeriodType>1</SubPeriodType>"
            "</PeriodCat></BOM>");
  EXPECT_EQ(blocks[1].tableName, "OFPR");
  ASSERT_EQ(blocks[1].dataItems.size(), 4u);
  EXPECT_EQ(blocks[1].dataItems[0].xml.rfind("<BOM><Period>", 0), 0u) << blocks[1].dataItems[0].xml;
}

TEST_P(PostingPeriods, AMissingCategoryIsCreatedAndAMatchedOneKeepsItsOwnCodeAndName) {
  CopyFixture fx(GetParam());
  Category(*fx.base, "2024", "Year 2024", "20240101", 1, "b");
  Category(*fx.base, "2025", "", "20250101", 0, "y");
  // The same year start and sub-period type under other codes: the first one wins.
  Category(*fx.target, "FY24", "Fiscal", "20240101", 1, "t");
  Category(*fx.target, "ZZ24", "Other", "20240101", 1, "z");
  Copy(fx, 4);
  EXPECT_EQ(Categories(fx), "2025:2025:20250101:0,FY24:Fiscal:20240101:1,ZZ24:Other:20240101:1");
  EXPECT_EQ(Periods(fx, "FY24"), "2024-Q1:b0:20240101,2024-Q2:b1:20240401,2024-Q3:b2:20240701,2024-Q4:b3:20241001");
  EXPECT_EQ(Periods(fx, "ZZ24"), "ZZ24-Q1:z0:20240101,ZZ24-Q2:z1:20240401,ZZ24-Q3:z2:20240701,ZZ24-Q4:z3:20241001");
  EXPECT_EQ(Periods(fx, "2025"), "2025:y0:20250101");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_POSTPER_100|213|402|2024-Q1|b0|FY24-Q1|b0|t0|",
                                  "DPX_TRN_POSTPER_100|213|402|2024-Q2|b1|FY24-Q2|b1|t1|",
                                  "DPX_TRN_POSTPER_100|213|402|2024-Q3|b2|FY24-Q3|b2|t2|",
                                  "DPX_TRN_POSTPER_100|213|402|2024-Q4|b3|FY24-Q4|b3|t3|",
                                  "DPX_TRN_POSTPER_100|212|402|2025|2025||||",
                                  "DPX_TRN_POSTPER_100|213|402|2025|y0|2025|y0|2025|"}));
}

// Update only writes the periods of matched categories; add only creates.
TEST_P(PostingPeriods, UpdateAndAddOnlyLeaveTheOtherKindAlone) {
  for (uint8_t method : {2, 3}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    Category(*fx.base, "2024", "Year 2024", "20240101", 1, "b");
    Category(*fx.base, "2026", "Year 2026", "20260101", 0, "n");
    Category(*fx.target, "FY24", "Fiscal", "20240101", 1, "t");
    Copy(fx, method);
    if (method == 2) {
      EXPECT_EQ(Categories(fx), "FY24:Fiscal:20240101:1");
      EXPECT_EQ(fx.logLines().size(), 4u);
    } else {
      EXPECT_EQ(Categories(fx), "2026:Year 2026:20260101:0,FY24:Fiscal:20240101:1");
      EXPECT_EQ(Periods(fx, "FY24"), "FY24-Q1:t0:20240101,FY24-Q2:t1:20240401,FY24-Q3:t2:20240701,FY24-Q4:t3:20241001");
      EXPECT_EQ(Periods(fx, "2026"), "2026:n0:20260101");
      EXPECT_EQ(fx.logLines().size(), 2u);
    }
  }
}

TEST_P(PostingPeriods, ATargetCategoryWithFewerPeriodsFailsTheSurplusPeriods) {
  CopyFixture fx(GetParam());
  Category(*fx.base, "2025", "Quarters", "20250101", 1, "b");
  Category(*fx.target, "2025", "Quarters", "20250101", 1, "t");
  CopyFixture::Exec(*fx.target, "DELETE FROM OFPR WHERE PeriodCat = '2025' AND PeriodIndex >= 2;");
  Copy(fx, 4);
  EXPECT_EQ(Periods(fx, "2025"), "2025-Q1:b0:20250101,2025-Q2:b1:20250401");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[1].find("|402|"), std::string::npos) << lines[1];
  for (size_t i : {2u, 3u}) {
    EXPECT_EQ(lines[i].rfind("DPX_TRN_POSTPER_100|213|403|2025-Q", 0), 0u) << lines[i];
    EXPECT_NE(lines[i].find("has no period"), std::string::npos) << lines[i];
  }
}

// Three chosen categories, in another order than the base lists them: each
// category gets its own periods.
TEST_P(PostingPeriods, ChosenCategoriesKeepTheirPeriodsAligned) {
  CopyFixture fx(GetParam());
  Category(*fx.base, "A", "A", "20230101", 2, "a");
  Category(*fx.base, "B", "B", "20240101", 0, "b");
  Category(*fx.base, "C", "C", "20250101", 1, "c");
  Category(*fx.target, "B", "B", "20240101", 0, "t");
  auto pick = [](const char* code) {
    DPX_DetailRecord r;
    r.addKeyValue("PeriodCat", dpx::Variant(code));
    return r;
  };
  Copy(fx, 4, {pick("C"), pick("A"), pick("B"), pick("NONE")});
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT GROUP_CONCAT(DISTINCT SUBSTR(Name, 1, 1)) FROM OFPR WHERE PeriodCat = 'A'"), "a");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM OFPR WHERE PeriodCat = 'A'"), "12");
  EXPECT_EQ(Periods(fx, "B"), "B:b0:20240101");
  EXPECT_EQ(Periods(fx, "C"), "C-Q1:c0:20250101,C-Q2:c1:20250401,C-Q3:c2:20250701,C-Q4:c3:20251001");
  EXPECT_EQ(fx.logLines().size(), 2u + 4 + 12 + 1);
}

// A configuration without the periods, or with fewer periods than its
// categories count, writes nothing beyond what it holds.
TEST_P(PostingPeriods, MissingBlocksAndPeriodsWriteNothingAndFailThePeriodsThatAreNotThere) {
  CopyFixture fx(GetParam());
  Category(*fx.base, "2024", "Year 2024", "20240101", 1, "b");
  Category(*fx.target, "FY24", "Fiscal", "20240101", 1, "t");
  std::vector<DPX_OperationArgs> blocks;
  DPX_PostingPeriodsManager(&fx.context, kKey).readFromDB(blocks, {});
  DPX_PostingPeriodsManager(&fx.context, kKey).writeData({}, 4);
  DPX_PostingPeriodsManager(&fx.context, kKey).writeData({blocks[0]}, 4);
  EXPECT_TRUE(fx.logLines().empty());

  blocks[1].dataItems.resize(3);
  DPX_PostingPeriodsManager(&fx.context, kKey).writeData(blocks, 4);
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "DPX_TRN_POSTPER_100|213|403||||||The configuration holds 3 of the category's 4 periods");
  EXPECT_EQ(Periods(fx, "FY24"), "2024-Q1:b0:20240101,2024-Q2:b1:20240401,2024-Q3:b2:20240701,FY24-Q4:t3:20241001");
}

// A file's count of periods is trusted only as far as its periods go.
TEST_P(PostingPeriods, AHugePeriodCountGivesOneLineForTheShortfall) {
  for (const char* count : {"200000", "2147483647"}) {
    SCOPED_TRACE(count);
    CopyFixture fx(GetParam());
    Category(*fx.base, "2024", "Year 2024", "20240101", 1, "b");
    Category(*fx.target, "FY24", "Fiscal", "20240101", 1, "t");
    std::vector<DPX_OperationArgs> blocks;
    DPX_PostingPeriodsManager(&fx.context, kKey).readFromDB(blocks, {});
    ASSERT_EQ(blocks.size(), 2u);
    std::string& record = blocks[0].dataItems.at(0).xml;
    const std::string from = "<NumberOfPeriods>4</NumberOfPeriods>";
    ASSERT_NE(record.find(from), std::string::npos);
    record.replace(record.find(from), from.size(), std::string("<NumberOfPeriods>") + count + "</NumberOfPeriods>");
    DPX_PostingPeriodsManager(&fx.context, kKey).writeData(blocks, 4);
    const Lines lines = fx.logLines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[4], std::string("DPX_TRN_POSTPER_100|213|403||||||The configuration holds 4 of the category's ") +
                            count + " periods");
    EXPECT_EQ(Periods(fx, "FY24"), "2024-Q1:b0:20240101,2024-Q2:b1:20240401,2024-Q3:b2:20240701,2024-Q4:b3:20241001");
  }
}

TEST_P(PostingPeriods, ACategoryTheTargetRefusesFailsAndItsPeriodsAreSkipped) {
  CopyFixture fx(GetParam());
  Category(*fx.base, "2023", "Old", "20230101", 0, "o");
  Category(*fx.base, "2024", "Year 2024", "20240101", 0, "b");
  fx.target->InjectFault("CreatePeriodCategory", 1, -71, "Periods are locked");
  Copy(fx, 4);
  EXPECT_EQ(Categories(fx), "2024:Year 2024:20240101:0");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_POSTPER_100|212|403|2023|Old||||Periods are locked",
                                  "DPX_TRN_POSTPER_100|212|402|2024|Year 2024||||",
                                  "DPX_TRN_POSTPER_100|213|402|2024|b0|2024|b0|2024|"}));
}

TEST_P(PostingPeriods, TheRecordListShowsTheCategoryCodes) {
  CopyFixture fx(GetParam());
  Category(*fx.base, "2024", "Year 2024", "20240101", 1, "b");
  Category(*fx.base, "O'Neil", "Own", "20250101", 0, "o");
  DPX_PostingPeriodsManager manager(&fx.context, kKey);
  const auto& rows = manager.collectDetails()->getListRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], std::vector<std::string>{"2024"});
  EXPECT_EQ(rows[1], std::vector<std::string>{"O'Neil"});
}

TEST_P(PostingPeriods, StoredCategoriesAreListedFromTheFirstBlock) {
  CopyFixture fx(GetParam());
  Category(*fx.base, "2024", "Year 2024", "20240101", 1, "b");
  Category(*fx.base, "2025", "Year 2025", "20250101", 0, "c");
  std::vector<DPX_OperationArgs> blocks;
  DPX_PostingPeriodsManager(&fx.context, kKey).readFromDB(blocks, {});
  dpx::test::StoredBlocks file(blocks);
  DPX_PostingPeriodsManager manager(&fx.context, kKey);
  EXPECT_EQ(manager.readFromFile(&file)->getListRows(), (std::vector<std::vector<std::string>>{{"2024"}, {"2025"}}));
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, PostingPeriods, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const auto& info) { return "ServerType" + std::to_string(info.param); });

}  // namespace
