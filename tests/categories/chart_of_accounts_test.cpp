// The chart of accounts and the categories that hang on it, copied between
// two simulated companies: account segments and their codes, title and
// postable accounts with their categories and the transport account, credit
// cards, budgets and financial report templates. Every case runs with the
// target as server type 5 and with the default dialect; what counts is the
// target's rows and the copy-log lines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/finance/account_segmentation_manager.h"
#include "categories/finance/budget_manager.h"
#include "categories/finance/coa_accounts_manager.h"
#include "categories/finance/coa_titles_manager.h"
#include "categories/finance/credit_cards_manager.h"
#include "categories/finance/financial_reports_template_manager.h"
#include "engine/category_factory.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kSegmentsKey = "DPX_TRN_ACCTSEGMENTATION_100";
constexpr const char* kCodesKey = "DPX_TRN_SEGMENTCODES_100";
constexpr const char* kTitlesKey = "DPX_TRN_COATITLES_100";
constexpr const char* kAccountsKey = "DPX_TRN_ACCOUNTS_100";
constexpr const char* kCardsKey = "DPX_TRN_CREDITCARDS_100";
constexpr const char* kBudgetKey = "DPX_TRN_BUDGET_100";
constexpr const char* kTemplatesKey = "DPX_TRN_FINANCIALREPORTTMPL_100";

void SetAccountFlag(dpx::host::Company& company, bool on) {
  CopyFixture::Exec(company, std::string("UPDATE CINF SET EnableAccountSegmentation = ") + (on ? "1" : "0") + ";");
}

std::vector<DPX_OperationArgs> Copy(CopyFixture& fx, const std::string& key, uint8_t method,
                                    std::vector<DPX_DetailRecord> chosen = {}) {
  return dpx::test::CopyCategory(fx, key, method, std::move(chosen));
}

// Replace All as the copy driver runs it: the removal pass, then the write pass.
void ReplaceAll(CopyFixture& fx, const std::string& key) {
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  std::vector<DPX_OperationArgs> blocks;
  factory.createManager(key)->readFromDB(blocks, {});
  factory.createManager(key)->writeData(blocks, 0);
  factory.createManager(key)->writeData(blocks, 1);
}

Rows List(CopyFixture& fx, const std::string& key) {
  RegisterCategoryClasses();
  return DPX_CategoryFactory(&fx.context).createManager(key)->collectDetails()->getListRows();
}

DPX_DetailRecord Chosen(const std::string& column, const dpx::Variant& key) {
  DPX_DetailRecord record;
  record.addKeyValue(column, key);
  return record;
}

std::string Target(CopyFixture& fx, const std::string& sql) { return CopyFixture::Column(*fx.target, sql); }

int Count(const Lines& lines, const std::string& part) {
  int n = 0;
  for (const std::string& l : lines) n += l.find(part) != std::string::npos;
  return n;
}

class ChartOfAccounts : public ::testing::TestWithParam<int> {};

struct MethodCase {
  uint8_t method;
  std::string rows;  // the target's rows afterwards
  Lines lines;       // the copy-log lines
};

// --- Account segments and their codes.

void SeedSegments(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OASG (AbsId, Name, Size) VALUES (1, 'Main & <acct>', 2), (2, 'Cost''s', 3);"
                    "INSERT INTO OASC (SegmentId, Code, Name, ShortName) VALUES (1, '10', 'Current', 'C'), "
                    "(2, '100', 'Head & <office>', 'HO');");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OASG (AbsId, Name, Size) VALUES (1, 'Branch', 2), (3, 'Main & <acct>', 4);"
                    "INSERT INTO OASC (SegmentId, Code, Name, ShortName) VALUES (1, '10', 'Old', 'O'), "
                    "(1, '20', 'Target''s', 'T');");
}

const std::vector<MethodCase> kSegmentCases = {
    {0, "", {"DPX_TRN_ACCTSEGMENTATION_100|404|402|||Branch|2||", "DPX_TRN_ACCTSEGMENTATION_100|404|402|||Main & <acct>|4||"}},
    {2, "1:Branch:2,3:Main & <acct>:2", {"DPX_TRN_ACCTSEGMENTATION_100|213|402|Main & <acct>|2|Main & <acct>|2|4|"}},
    {3, "1:Branch:2,3:Main & <acct>:4,4:Cost's:3", {"DPX_TRN_ACCTSEGMENTATION_100|212|402|Cost's|3||||"}},
    {4, "1:Branch:2,3:Main & <acct>:2,4:Cost's:3",
     {"DPX_TRN_ACCTSEGMENTATION_100|212|402|Cost's|3||||", "DPX_TRN_ACCTSEGMENTATION_100|213|402|Main & <acct>|2|Main & <acct>|2|4|"}},
};

TEST_P(ChartOfAccounts, SegmentsAreFoundByNameUnderEveryMethod) {
  for (const MethodCase& c : kSegmentCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedSegments(fx);
    CopyFixture::Exec(*fx.target, "DELETE FROM OASC;");  // no code keeps a segment from going
    SetAccountFlag(*fx.base, true);
    Copy(fx, kSegmentsKey, c.method);
    EXPECT_EQ(Target(fx, "SELECT AbsId || ':' || Name || ':' || Size FROM OASG ORDER BY AbsId"), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(ChartOfAccounts, AnUnsegmentedBaseListsAndReadsNoSegments) {
  CopyFixture fx(GetParam());
  SeedSegments(fx);
  SetAccountFlag(*fx.target, true);  // the base's flag decides
  EXPECT_TRUE(List(fx, kSegmentsKey).empty());
  EXPECT_TRUE(Copy(fx, kSegmentsKey, 4).empty());
  EXPECT_TRUE(fx.logLines().empty());
  SetAccountFlag(*fx.base, true);
  EXPECT_EQ(List(fx, kSegmentsKey), (Rows{{"Cost's", "3"}, {"Main & <acct>", "2"}}));
}

TEST_P(ChartOfAccounts, SegmentCodesAreFoundBySegmentAndCodeAndListTheSegmentsName) {
  CopyFixture fx(GetParam());
  SeedSegments(fx);
  EXPECT_EQ(List(fx, kCodesKey), (Rows{{"Main & <acct>", "10", "Current", "C"}, {"Cost's", "100", "Head & <office>", "HO"}}));
  // Segment 2 is not in the target: the host refuses its code, which keeps its segment's number.
  Copy(fx, kCodesKey, 4);
  EXPECT_EQ(Target(fx, "SELECT SegmentId || ':' || Code || ':' || Name FROM OASC ORDER BY SegmentId, Code"),
            "1:10:Current,1:20:Target's");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u) << ::testing::PrintToString(lines);
  EXPECT_EQ(Count(lines, "|213|402|1|10|"), 1) << ::testing::PrintToString(lines);
  EXPECT_EQ(Count(lines, "|212|403|2|100|"), 1) << ::testing::PrintToString(lines);
}

// --- Title and postable accounts.

// Categories of one name under other numbers; a top-level title and a title
// in both charts; postable accounts whose format codes stand under other
// account codes in the target.
void SeedCharts(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OACG (AbsId, Name) VALUES (1, 'Assets'), (2, 'O''Neil''s & <costs>');"
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode, Postable, Levels, FatherNum, GrpLine, Category) "
                    "VALUES ('A1', 'Assets', '1', 'N', 1, NULL, 0, NULL), "
                    "('A10', 'Current & <liquid>', '10', 'N', 2, 'A1', 0, NULL), "
                    "('A101', 'Cash', '10-100', 'Y', 3, 'A10', 0, 1), "
                    "('A102', 'O''Brien''s receivables', '10-200', 'Y', 3, 'A10', 1, 2);");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OACG (AbsId, Name) VALUES (1, 'Liabilities'), (4, 'Assets');"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('238', 5, 0);"
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode, Postable, Levels, FatherNum, GrpLine, Category) "
                    "VALUES ('T1', 'Assets', '1', 'N', 1, NULL, 0, NULL), "
                    "('A10', 'Current', '10', 'N', 2, 'T1', 0, NULL), "
                    "('T101', 'Cash (old)', '10-100', 'Y', 3, 'A10', 0, 4), "
                    "('T900', 'Target''s own', '90-900', 'Y', 3, 'A10', 1, 1);");
}

const char* kAccountRows =
    "SELECT AcctCode || ':' || AcctName || ':' || IFNULL(FatherNum, '') || ':' || IFNULL(Category, '') FROM OACT "
    "WHERE Postable = 'Y' ORDER BY AcctCode";

TEST_P(ChartOfAccounts, TheRecordListsShowTitlesBelowTheTopAndPostableAccountsInLevelOrder) {
  CopyFixture fx(GetParam());
  SeedCharts(fx);
  EXPECT_EQ(List(fx, kTitlesKey), (Rows{{"2", "A10", "Current & <liquid>"}}));
  const Rows accounts = List(fx, kAccountsKey);
  ASSERT_EQ(accounts.size(), 2u);
  EXPECT_EQ(accounts[0][1], "A101");
  EXPECT_EQ(accounts[1][1], "A102");
}

// Both charts unsegmented: accounts are found by their code; the categories
// by their name, a new one numbered past the target's highest.
const std::vector<MethodCase> kAccountCases = {
    {2, "T101:Cash (old):A10:4,T900:Target's own:A10:1", {}},
    {3, "A101:Cash:A10:4,A102:O'Brien's receivables:A10:5,T101:Cash (old):A10:4,T900:Target's own:A10:1", {}},
    {4, "A101:Cash:A10:4,A102:O'Brien's receivables:A10:5,T101:Cash (old):A10:4,T900:Target's own:A10:1", {}},
};

TEST_P(ChartOfAccounts, AccountsFindTheirCategoryByNameUnderEveryMethod) {
  for (const MethodCase& c : kAccountCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedCharts(fx);
    Copy(fx, kAccountsKey, c.method);
    EXPECT_EQ(Target(fx, kAccountRows), c.rows);
    const Lines lines = fx.logLines();
    EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
    if (c.method == 2) {
      // Only "Assets" has a namesake; no account has a counterpart.
      EXPECT_EQ(Target(fx, "SELECT AbsId || ':' || Name FROM OACG ORDER BY AbsId"), "1:Liabilities,4:Assets");
      EXPECT_EQ(Count(lines, "|212|"), 0);
    } else {
      EXPECT_EQ(Target(fx, "SELECT AbsId || ':' || Name FROM OACG ORDER BY AbsId"),
                "1:Liabilities,4:Assets,5:O'Neil's & <costs>");
      EXPECT_EQ(Target(fx, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '238'"), "6");
      EXPECT_EQ(Count(lines, "|212|402|A101|Cash|"), 1) << ::testing::PrintToString(lines);
    }
  }
}

// The target's chart is segmented: an account is found by its format code
// and updated in place under the target's own code, never added twice.
TEST_P(ChartOfAccounts, ASegmentedTargetUpdatesTheAccountOfTheSameFormatCode) {
  for (bool baseSegmented : {true, false}) {
    SCOPED_TRACE(baseSegmented ? "on/on" : "off/on");
    CopyFixture fx(GetParam());
    SeedCharts(fx);
    SetAccountFlag(*fx.base, baseSegmented);
    SetAccountFlag(*fx.target, true);
    Copy(fx, kAccountsKey, 4);
    EXPECT_EQ(Target(fx, "SELECT COUNT(*) FROM OACT WHERE FormatCode = '10-100'"), "1");
    EXPECT_EQ(Target(fx, "SELECT AcctCode || ':' || AcctName || ':' || Category FROM OACT WHERE FormatCode = '10-100'"),
              "T101:Cash:4");
    const Lines lines = fx.logLines();
    EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
    EXPECT_EQ(Count(lines, "|213|402|A101|Cash|T101|"), 1) << ::testing::PrintToString(lines);
  }
}

// Removal pass: no account is written, and a category an account still names stays.
TEST_P(ChartOfAccounts, TheRemovalPassAddsNoAccountAndKeepsCategoriesInUse) {
  CopyFixture fx(GetParam());
  SeedCharts(fx);
  CopyFixture::Exec(*fx.target, "INSERT INTO OACG (AbsId, Name) VALUES (7, 'Unused');");
  Copy(fx, kAccountsKey, 0);
  EXPECT_EQ(Target(fx, "SELECT AbsId || ':' || Name FROM OACG ORDER BY AbsId"), "1:Liabilities,4:Assets");
  EXPECT_EQ(Target(fx, "SELECT COUNT(*) FROM OACT"), "4");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_ACCOUNTS_100|404|402|||7|Unused||"}));
}

// The titles' removal pass removes titles only: neither the top level nor
// postable accounts, and a title an account still names stays.
TEST_P(ChartOfAccounts, TheTitlesRemovalPassRemovesTitlesOnly) {
  CopyFixture fx(GetParam());
  SeedCharts(fx);
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OACT (AcctCode, AcctName, Postable, Levels, FatherNum) VALUES "
                    "('T20', 'Spare', 'N', 2, 'T1'), ('T21', 'Spare child', 'N', 3, 'T20');");
  Copy(fx, kTitlesKey, 0);
  EXPECT_EQ(Target(fx, "SELECT AcctCode FROM OACT ORDER BY AcctCode"), "A10,T1,T101,T900");
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|404|402|"), 2) << ::testing::PrintToString(lines);
  EXPECT_EQ(Count(lines, "|404|403|||A10|"), 1) << ::testing::PrintToString(lines);
}

// A new father and its new child, chosen child first: the father is written first.
TEST_P(ChartOfAccounts, ANewFatherIsWrittenBeforeItsChild) {
  CopyFixture fx(GetParam());
  SeedCharts(fx);
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode, Postable, Levels, FatherNum, GrpLine) VALUES "
                    "('A11', 'Fixed', '11', 'N', 2, 'A1', 1), ('A110', 'Machines', '11-0', 'N', 3, 'A11', 0);");
  CopyFixture::Exec(*fx.target, "UPDATE OACT SET AcctCode = 'A1' WHERE AcctCode = 'T1';");
  Copy(fx, kTitlesKey, 4, {Chosen("AcctCode", dpx::Variant("A110")), Chosen("AcctCode", dpx::Variant("A11"))});
  EXPECT_EQ(Target(fx, "SELECT AcctCode || ':' || FatherNum FROM OACT WHERE AcctCode IN ('A11', 'A110') ORDER BY AcctCode"),
            "A11:A1,A110:A11");
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|212|402|"), 2) << ::testing::PrintToString(lines);
}

// --- The transport account.

TEST_P(ChartOfAccounts, TheTransportAccountGoesUnlessATaxRecordNamesIt) {
  for (bool named : {false, true}) {
    SCOPED_TRACE(named ? "named by a VAT group" : "unreferenced");
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.target, "INSERT INTO OACT (AcctCode, AcctName) VALUES ('DXTRANSACCT', 'Transport');");
    if (named) CopyFixture::Exec(*fx.target, "INSERT INTO OVTG (Code, Name, TaxAccount) VALUES ('V1', 'VAT', 'DXTRANSACCT');");
    // A write of the accounts category with no data at all still ends with the deletion.
    RegisterCategoryClasses();
    DPX_CategoryFactory(&fx.context).createManager(kAccountsKey)->writeData({}, 4);
    EXPECT_EQ(Target(fx, "SELECT COUNT(*) FROM OACT WHERE AcctCode = 'DXTRANSACCT'"), named ? "1" : "0");
    EXPECT_TRUE(fx.logLines().empty());
  }
}

// --- Credit cards.

struct CardFlagCase {
  bool base;
  bool target;
  std::string account;  // the added card's GLAccount in the target
};

// A segmented base and an unsegmented target: the base's account code names
// nothing sure in the target, so the card takes the target's default (none).

TEST_P(ChartOfAccounts, ACardsAccountTravelsByFormatCodeWhenBothChartsSaySo) {
  const std::vector<CardFlagCase> cases = {{true, true, "T101"}, {false, false, "A101"}, {true, false, ""}};
  for (const CardFlagCase& c : cases) {
    SCOPED_TRACE(std::string(c.base ? "on" : "off") + "/" + (c.target ? "on" : "off"));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base,
                      "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A101', 'Cash', '10-100');"
                      "INSERT INTO OCRC (CreditCard, CardName, Phone, CompanyId, GLAccount) VALUES "
                      "(1, 'Diner''s & <Club>', '555', 'DC', 'A101'), (2, 'Visa', '556', 'VI', NULL);");
    CopyFixture::Exec(*fx.target,
                      "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A101', 'Other', '99-999'), "
                      "('T101', 'Cash', '10-100');"
                      "INSERT INTO OCRC (CreditCard, CardName, Phone) VALUES (5, 'Visa', '000'), (6, 'Visa', '001');");
    SetAccountFlag(*fx.base, c.base);
    SetAccountFlag(*fx.target, c.target);
    Copy(fx, kCardsKey, 4);
    EXPECT_EQ(Target(fx, "SELECT CreditCard || ':' || CardName || ':' || Phone || ':' || IFNULL(GLAccount, '') FROM OCRC "
                         "ORDER BY CreditCard"),
              "5:Visa:556:,6:Visa:001:,7:Diner's & <Club>:555:" + c.account);
    const Lines lines = fx.logLines();
    EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
  }
}

TEST_P(ChartOfAccounts, CardsByCopyMethod) {
  const std::vector<MethodCase> cases = {
      {0, "", {"DPX_TRN_CREDITCARDS_100|404|402|||Visa|T||"}},
      {2, "5:Visa:V", {"DPX_TRN_CREDITCARDS_100|213|402|Visa|V|Visa|V|T|"}},
      {3, "5:Visa:T,6:Amex:A", {"DPX_TRN_CREDITCARDS_100|212|402|Amex|A||||"}},
  };
  for (const MethodCase& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "INSERT INTO OCRC (CreditCard, CardName, CompanyId) VALUES (1, 'Amex', 'A'), (2, 'Visa', 'V');");
    CopyFixture::Exec(*fx.target, "INSERT INTO OCRC (CreditCard, CardName, CompanyId) VALUES (5, 'Visa', 'T');");
    Copy(fx, kCardsKey, c.method);
    EXPECT_EQ(Target(fx, "SELECT CreditCard || ':' || CardName || ':' || CompanyId FROM OCRC ORDER BY CreditCard"), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

// --- Budgets.

void SeedBudgets(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A101', 'Cash', '10-100'), "
                    "('A102', 'O''Brien''s', '10-200');"
                    "INSERT INTO OBGS (AbsId, Name) VALUES (1, 'Main & <plan>'), (2, 'Forecast''s');"
                    "INSERT INTO OBGD (BgdCode, BgdName) VALUES (1, 'Equal'), (2, 'Seasonal');"
                    "INSERT INTO OBGT (AbsId, Instance, AcctCode, BgdCode, DebLTotal) VALUES "
                    "(1, 1, 'A101', 1, 100), (2, 2, 'A102', 2, 200);");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('T1', 'Cash', '1'), "
                    "('T2', 'O''Brien''s', '2');"
                    "INSERT INTO OBGS (AbsId, Name) VALUES (1, 'Target''s'), (3, 'Main & <plan>');"
                    "INSERT INTO OBGD (BgdCode, BgdName) VALUES (1, 'Other'), (2, 'Equal');"
                    "INSERT INTO OBGT (AbsId, Instance, AcctCode, BgdCode, DebLTotal) VALUES "
                    "(1, 3, 'T1', 2, 9), (2, 1, 'T2', 1, 8);");
}

const char* kBudgetRows =
    "SELECT Instance || ':' || AcctCode || ':' || BgdCode || ':' || DebLTotal FROM OBGT ORDER BY Instance, AcctCode";

TEST_P(ChartOfAccounts, BudgetsListScenarioAccountAndMethodByName) {
  CopyFixture fx(GetParam());
  SeedBudgets(fx);
  EXPECT_EQ(List(fx, kBudgetKey), (Rows{{"Main & <plan>", "Cash", "Equal"}, {"Forecast's", "O'Brien's", "Seasonal"}}));
}

TEST_P(ChartOfAccounts, BudgetsBringEveryScenarioAndMethodWhateverIsChosen) {
  for (uint8_t method : {uint8_t{2}, uint8_t{4}}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedBudgets(fx);
    // Only the second budget, which has no counterpart in the target.
    Copy(fx, kBudgetKey, method, {Chosen("AbsId", dpx::Variant(int32_t{2}))});
    EXPECT_EQ(Target(fx, "SELECT AbsId || ':' || Name FROM OBGS ORDER BY AbsId"), "1:Target's,3:Main & <plan>,4:Forecast's");
    EXPECT_EQ(Target(fx, "SELECT BgdCode || ':' || BgdName FROM OBGD ORDER BY BgdCode"), "1:Other,2:Equal,3:Seasonal");
    const Lines lines = fx.logLines();
    if (method == 2) {
      EXPECT_EQ(Target(fx, kBudgetRows), "1:T2:1:8.0,3:T1:2:9.0");
      EXPECT_TRUE(lines.empty()) << ::testing::PrintToString(lines);
    } else {
      EXPECT_EQ(Target(fx, kBudgetRows), "1:T2:1:8.0,3:T1:2:9.0,4:T2:3:200.0");
      EXPECT_EQ(Count(lines, "|212|402|"), 1) << ::testing::PrintToString(lines);
      EXPECT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
    }
  }
}

TEST_P(ChartOfAccounts, BudgetsAreFoundByScenarioAndAccountAndReplaceAllRemovesBudgetsOnly) {
  CopyFixture fx(GetParam());
  SeedBudgets(fx);
  CopyFixture::Exec(*fx.target, "INSERT INTO OBGS (AbsId, Name) VALUES (9, 'Kept');");
  ReplaceAll(fx, kBudgetKey);
  EXPECT_EQ(Target(fx, "SELECT AbsId || ':' || Name FROM OBGS ORDER BY AbsId"),
            "1:Target's,3:Main & <plan>,9:Kept,10:Forecast's");
  EXPECT_EQ(Target(fx, kBudgetRows), "3:T1:2:100.0,10:T2:3:200.0");
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|404|402|"), 2) << ::testing::PrintToString(lines);
  EXPECT_EQ(Count(lines, "|212|402|"), 2) << ::testing::PrintToString(lines);
  EXPECT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
  // Under Add New Records and Update, the budget of the same scenario and account is updated.
  CopyFixture again(GetParam());
  SeedBudgets(again);
  Copy(again, kBudgetKey, 4);
  EXPECT_EQ(Target(again, kBudgetRows), "1:T2:1:8.0,3:T1:2:100.0,4:T2:3:200.0");
}

// --- Financial report templates.

void SeedTemplates(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A101', 'Cash', '10-100'), "
                    "('A102', 'O''Brien''s', '10-200');"
                    "INSERT INTO OFRT (AbsId, Name) VALUES (1, 'O''Connor''s & <sheet>'), (2, 'New one');"
                    "INSERT INTO OFRC (CatId, TemplateId, Name) VALUES (1, 1, 'Assets'), (2, 1, 'Cash'), (1, 2, 'Revenue');"
                    "INSERT INTO FRC1 (AcctCode, CatId, TemplateId) VALUES ('A101', 2, 1), ('A102', 1, 2);");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('T1', 'Cash', '10-100'), "
                    "('T2', 'O''Brien''s', '10-200'), ('A102', 'Other', '99');"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('95', 3, 0);"
                    "INSERT INTO OFRT (AbsId, Name) VALUES (1, 'Target''s'), (4, 'O''Connor''s & <sheet>');"
                    "INSERT INTO OFRC (CatId, TemplateId, Name) VALUES (1, 1, 'Kept'), (1, 4, 'Old');"
                    "INSERT INTO FRC1 (AcctCode, CatId, TemplateId) VALUES ('T1', 1, 4);");
}

const char* kTemplateRows = "SELECT AbsId || ':' || Name FROM OFRT ORDER BY AbsId";
const char* kCategoryRows = "SELECT TemplateId || ':' || CatId || ':' || Name FROM OFRC ORDER BY TemplateId, CatId";
const char* kLineRows = "SELECT TemplateId || ':' || CatId || ':' || AcctCode FROM FRC1 ORDER BY TemplateId, CatId, AcctCode";

TEST_P(ChartOfAccounts, ANewTemplateTakesTheNextNumberAndItsRowsFollowIt) {
  for (bool segmented : {false, true}) {
    SCOPED_TRACE(segmented ? "segmented base" : "unsegmented base");
    CopyFixture fx(GetParam());
    SeedTemplates(fx);
    SetAccountFlag(*fx.base, segmented);
    Copy(fx, kTemplatesKey, 4);
    EXPECT_EQ(Target(fx, kTemplateRows), "1:Target's,4:O'Connor's & <sheet>,5:New one");
    EXPECT_EQ(Target(fx, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '95'"), "6");
    EXPECT_EQ(Target(fx, kCategoryRows), "1:1:Kept,4:1:Assets,4:2:Cash,5:1:Revenue");
    // The line's account by its name or by its format code: both are T2 here, never the target's own A102.
    EXPECT_EQ(Target(fx, kLineRows), "4:1:T1,4:2:T1,5:1:T2");
    const Lines lines = fx.logLines();
    EXPECT_EQ(lines, (Lines{"DPX_TRN_FINANCIALREPORTTMPL_100|213|402|1|O'Connor's & <sheet>|4|O'Connor's & <sheet>|O'Connor's & <sheet>|",
                            "DPX_TRN_FINANCIALREPORTTMPL_100|212|402|2|New one||||"}));
  }
}

TEST_P(ChartOfAccounts, ReplaceAllLeavesNoOrphanedOrDoubledTemplateRows) {
  CopyFixture fx(GetParam());
  SeedTemplates(fx);
  ReplaceAll(fx, kTemplatesKey);
  // An emptied table numbers from 1 again.
  EXPECT_EQ(Target(fx, kTemplateRows), "1:O'Connor's & <sheet>,2:New one");
  EXPECT_EQ(Target(fx, kCategoryRows), "1:1:Assets,1:2:Cash,2:1:Revenue");
  EXPECT_EQ(Target(fx, kLineRows), "1:2:T1,2:1:T2");
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|404|402|"), 2) << ::testing::PrintToString(lines);
  EXPECT_EQ(Count(lines, "|212|402|"), 2) << ::testing::PrintToString(lines);
}

TEST_P(ChartOfAccounts, AChosenTemplateBringsOnlyItsOwnRows) {
  CopyFixture fx(GetParam());
  SeedTemplates(fx);
  Copy(fx, kTemplatesKey, 4, {Chosen("AbsId", dpx::Variant(int32_t{2}))});
  EXPECT_EQ(Target(fx, kTemplateRows), "1:Target's,4:O'Connor's & <sheet>,5:New one");
  EXPECT_EQ(Target(fx, kCategoryRows), "1:1:Kept,4:1:Old,5:1:Revenue");
  EXPECT_EQ(Target(fx, kLineRows), "4:1:T1,5:1:T2");
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, ChartOfAccounts, ::testing::ValuesIn(dpx::test::kServerTypes));

}  // namespace
