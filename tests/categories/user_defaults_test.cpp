// The users' defaults copied between two simulated companies: defaults
// groups and each user's group, default report layouts, default series, and
// initial quantities, which copy nothing. Every case runs with the target as
// server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/finance/default_report_layout_manager.h"
#include "categories/finance/default_series_manager.h"
#include "categories/finance/defaults_manager.h"
#include "categories/finance/initial_quantities_manager.h"
#include "platform/host/company.h"
#include "tests/categories/category_copy.h"

namespace {

using dpx::test::CopyCategory;
using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kDefaultsKey = "DPX_TRN_DEFAULTS_100";
constexpr const char* kLayoutsKey = "DPX_TRN_DEFAULTLAYOUTS_100";
constexpr const char* kSeriesKey = "DPX_TRN_DEFAULTSERIES_100";
constexpr const char* kQuantitiesKey = "DPX_TRN_INITIALQUANTITIES_100";

class UserDefaults : public ::testing::TestWithParam<int> {};

// Users besides manager (1) and clerk (2): the base's auditor has the
// internal key 13 and the number 3, and oneil is the base's only; the
// target's auditor is 4, and temp (3) is the target's only.
void SeedUsers(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base, "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER) VALUES "
                              "(13, 3, 'auditor', 'Auditor & <Reviews>', 'N'), (14, 4, 'oneil', 'O''Neil', 'N');");
  CopyFixture::Exec(*fx.target, "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER) VALUES "
                                "(3, 3, 'temp', 'Temp', 'N'), (4, 4, 'auditor', 'Auditor', 'N');");
}

DPX_DetailRecord PickedUser(int32_t internalKey) {
  DPX_DetailRecord pick;
  pick.addKeyValue("INTERNAL_K", dpx::Variant(internalKey));
  return pick;
}

// --- Defaults groups and the users' groups.

const char* kUserGroups = "SELECT USER_CODE || ':' || IFNULL(DfltsGroup, '') FROM OUSR ORDER BY USER_CODE";
const char* kGroups = "SELECT Code || ':' || Name FROM OUDG ORDER BY Code";

TEST_P(UserDefaults, DefaultsChangeOnlyTheGroupsOfTheTargetsUsers) {
  const std::string groups = "G1:Sales & <Desk>,G2:O'Brien's,G9:Target's";
  const std::string users = "auditor:G2,clerk:G1,manager:,temp:G9";
  const Lines lines = {"DPX_TRN_DEFAULTS_100|213|402|manager||manager|||", "DPX_TRN_DEFAULTS_100|213|402|clerk|G1|clerk|||",
                       "DPX_TRN_DEFAULTS_100|213|402|auditor|G2|auditor|G9||"};
  struct Case {
    uint8_t method;
    std::string groups, users;
    Lines lines;
  } cases[] = {{0, "G1:Old,G9:Target's", "auditor:G9,clerk:,manager:,temp:G9", {}},
               {2, groups, users, lines},
               {3, groups, users, lines},
               {4, groups, users, lines}};
  for (const Case& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedUsers(fx);
    CopyFixture::Exec(*fx.base, "INSERT INTO OUDG (Code, Name) VALUES ('G1', 'Sales & <Desk>'), ('G2', 'O''Brien''s');"
                                "UPDATE OUSR SET DfltsGroup = 'G1' WHERE USER_CODE IN ('clerk', 'oneil');"
                                "UPDATE OUSR SET DfltsGroup = 'G2' WHERE USER_CODE = 'auditor';");
    CopyFixture::Exec(*fx.target, "INSERT INTO OUDG (Code, Name) VALUES ('G1', 'Old'), ('G9', 'Target''s');"
                                  "UPDATE OUSR SET DfltsGroup = 'G9' WHERE USER_CODE IN ('auditor', 'temp');");
    CopyCategory<DPX_DefaultsManager>(fx, kDefaultsKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kGroups), c.groups);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kUserGroups), c.users);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

// A user the host refuses (its group could not be written) gets the host's
// reason; the users after it still take their groups.
TEST_P(UserDefaults, ARefusedUserGetsTheHostsReason) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO OUDG (Code, Name) VALUES ('G1', 'One'), ('G2', 'Two');"
                              "UPDATE OUSR SET DfltsGroup = 'G2' WHERE USER_CODE = 'clerk';"
                              "UPDATE OUSR SET DfltsGroup = 'G1' WHERE USER_CODE = 'auditor';");
  fx.target->InjectFault("Add:93", 2, -99, "Refused by the test");
  CopyCategory<DPX_DefaultsManager>(fx, kDefaultsKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kUserGroups), "auditor:G1,clerk:,manager:,temp:");
  const Lines lines = fx.logLines();
  // The refused group has a line of its own, before the users' lines.
  ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
  EXPECT_NE(lines[0].find("|403|"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("G2"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[2].rfind("DPX_TRN_DEFAULTS_100|213|403|clerk|G2|clerk|||", 0), 0u) << lines[2];
  EXPECT_NE(lines[2].find("OUDG.Code = 'G2', which does not exist"), std::string::npos) << lines[2];
  EXPECT_EQ(lines[3], "DPX_TRN_DEFAULTS_100|213|402|auditor|G1|auditor|||");
}

// --- Default report layouts: users and reports under the target's keys.

// The report "Invoice & <Co>" (type INV1) is R1 in the base and R7 in the
// target, whose R1 is another report.
void SeedLayouts(CopyFixture& fx) {
  SeedUsers(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO RDOC (DocCode, DocName, TypeCode) VALUES ('R1', 'Invoice & <Co>', 'INV1');"
                              "INSERT INTO RTYP (CODE, DEFLT_REP) VALUES ('INV1', 'R1');"
                              "INSERT INTO RDFL (DoumntDode, UserId, CardCode, DfltReport) VALUES "
                              "('INV1', 3, 'C1', 'R1'), ('INV1', 2, 'C1', 'R1'), ('INV1', 4, 'C1', 'R1');");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO RDOC (DocCode, DocName, TypeCode) VALUES ('R1', 'O''Brien''s', 'INV1'), "
                    "('R7', 'Invoice & <Co>', 'INV1');"
                    "INSERT INTO RTYP (CODE, DEFLT_REP) VALUES ('INV1', 'R1');"
                    "INSERT INTO RDFL (DoumntDode, UserId, CardCode, DfltReport) VALUES ('INV1', 4, 'C1', 'R1');");
}

const char* kUserReports = "SELECT DoumntDode || ':' || UserId || ':' || CardCode || ':' || DfltReport FROM RDFL "
                           "ORDER BY UserId";

TEST_P(UserDefaults, LayoutsLandUnderTheTargetsUsersAndReports) {
  for (uint8_t method : {0, 2, 4}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedLayouts(fx);
    CopyCategory<DPX_DefaultReportLayoutManager>(fx, kLayoutsKey, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kUserReports), method == 0 ? "INV1:4:C1:R1" : "INV1:2:C1:R7,INV1:4:C1:R7");
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CODE || ':' || DEFLT_REP FROM RTYP"),
              method == 0 ? "INV1:R1" : "INV1:R7");
    // The users' rows are logged, the document types' row is not; oneil's
    // row has no user in the target and is left out.
    const Lines written = {"DPX_TRN_DEFAULTLAYOUTS_100|213|402|R7|4|R1|4|4|",
                           "DPX_TRN_DEFAULTLAYOUTS_100|212|402|R7|2||||"};
    EXPECT_EQ(fx.logLines(), method == 0 ? Lines{} : written);
  }
}

// --- Default series: update only.

void SeedSeries(CopyFixture& fx) {
  SeedUsers(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO NNM2 (ObjectCode, DocSubType, UserSign, Series) VALUES "
                              "('13', '--', 2, 1), ('22', '--', 3, 3), ('17', '--', 4, 5);");
  CopyFixture::Exec(*fx.target, "INSERT INTO NNM2 (ObjectCode, DocSubType, UserSign, Series) VALUES "
                                "('22', '--', 4, 2), ('13', '--', 3, 1);");
  // The series themselves: "Primary" of document 22 is 3 in the base and 2 in
  // the target; "Base only" of document 13 the target lacks.
  const char* series = "INSERT INTO NNM1 (ObjectCode, Series, SeriesName, InitialNum, NextNumber) VALUES ";
  CopyFixture::Exec(*fx.base, std::string(series) +
                                  "('13', 1, 'Base only', 1, 1), ('22', 3, 'Primary', 1, 1), ('17', 5, 'Primary', 1, 1);");
  CopyFixture::Exec(*fx.target, std::string(series) + "('13', 1, 'Target''s', 1, 1), ('22', 2, 'Primary', 1, 1);");
}

const char* kUserSeries = "SELECT ObjectCode || ':' || UserSign || ':' || Series FROM NNM2 ORDER BY ObjectCode";

// A series is the target's own of the same document and name: the auditor's
// "Primary" stays the target's 2, never the base's number 3.
TEST_P(UserDefaults, SeriesUpdateOnlyTheRowsTheTargetHas) {
  for (uint8_t method : {0, 1, 2, 3, 4}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedSeries(fx);
    CopyFixture::Exec(*fx.target, "UPDATE NNM2 SET Series = 7 WHERE ObjectCode = '22';");
    CopyCategory<DPX_DefaultSeriesManager>(fx, kSeriesKey, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kUserSeries), method == 0 ? "13:3:1,22:4:7" : "13:3:1,22:4:2");
    EXPECT_EQ(fx.logLines(), method == 0 ? Lines{} : Lines{"DPX_TRN_DEFAULTSERIES_100|213|402|2|--|7|--|--|"});
  }
}

// A series the target does not have is left out and named: the row keeps the
// target's own series.
TEST_P(UserDefaults, ASeriesTheTargetLacksIsNamedNotCopiedAsANumber) {
  CopyFixture fx(GetParam());
  SeedSeries(fx);
  // The clerk's row of document 13 now exists in the target too.
  CopyFixture::Exec(*fx.target, "UPDATE NNM2 SET UserSign = 2 WHERE ObjectCode = '13';");
  CopyCategory<DPX_DefaultSeriesManager>(fx, kSeriesKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kUserSeries), "13:2:1,22:4:2");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("|402|"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("Written without Series"), std::string::npos) << lines[0];
}

// Picked users read their own rows of the layouts and series, found by the
// user's number (not its internal key).
TEST_P(UserDefaults, PickedUsersCarryTheirOwnRows) {
  {
    CopyFixture fx(GetParam());
    SeedLayouts(fx);
    CopyCategory<DPX_DefaultReportLayoutManager>(fx, kLayoutsKey, 4, {PickedUser(13)});
    EXPECT_EQ(CopyFixture::Column(*fx.target, kUserReports), "INV1:4:C1:R7");
  }
  for (int32_t picked : {2, 13, 99}) {
    SCOPED_TRACE(picked);
    CopyFixture fx(GetParam());
    SeedSeries(fx);
    CopyFixture::Exec(*fx.target, "UPDATE NNM2 SET Series = 7 WHERE ObjectCode = '22';");
    const auto blocks = CopyCategory<DPX_DefaultSeriesManager>(fx, kSeriesKey, 4, {PickedUser(picked)});
    // The users' block always, the series rows of the picked user only.
    EXPECT_EQ(blocks.size(), picked == 99 ? 1u : 2u);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kUserSeries), picked == 13 ? "13:3:1,22:4:2" : "13:3:1,22:4:7");
  }
}

// The three list the base's users; a configuration file gives them back.
TEST_P(UserDefaults, TheListsShowTheBaseUsers) {
  CopyFixture fx(GetParam());
  SeedSeries(fx);
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  for (const char* key : {kDefaultsKey, kLayoutsKey, kSeriesKey}) {
    SCOPED_TRACE(key);
    const auto listed = factory.createManager(key)->collectDetails()->getListRows();
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_EQ(listed[2].at(1), "Auditor & <Reviews>");
    std::vector<DPX_OperationArgs> blocks;
    factory.createManager(key)->readFromDB(blocks, {});
    dpx::test::StoredBlocks stored(blocks);
    const auto read = factory.createManager(key)->readFromFile(&stored)->getListRows();
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[2].at(0), "auditor");
  }
}

// --- Initial quantities copy nothing.

TEST_P(UserDefaults, InitialQuantitiesCopyNothing) {
  for (uint8_t method : {0, 1, 2, 3, 4}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedSeries(fx);
    EXPECT_TRUE(CopyCategory<DPX_InitialQuantitiesManager>(fx, kQuantitiesKey, method).empty());
    EXPECT_EQ(fx.logLines(), Lines{});
    EXPECT_EQ(CopyFixture::Column(*fx.target, kUserSeries), "13:3:1,22:4:2");
    RegisterCategoryClasses();
    EXPECT_TRUE(DPX_CategoryFactory(&fx.context).createManager(kQuantitiesKey)->collectDetails()->getListRows().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, UserDefaults, ::testing::ValuesIn(dpx::test::kServerTypes));

}  // namespace
