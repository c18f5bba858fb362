// Formatted searches, user-defined object registrations and users copied
// between two simulated companies over the copy methods 0 to 4, against
// records that exist in the target (B, under another key) or not (A),
// beside one only the target has (C). Every case runs with the target as
// server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/customization/formatted_search_manager.h"
#include "categories/customization/user_defined_objects_manager.h"
#include "categories/customization/users_manager.h"
#include "engine/category_factory.h"
#include "engine/host_application.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using dpx::test::MethodCase;
using Lines = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

class CustomizationObjects : public ::testing::TestWithParam<int> {};

// --- Formatted searches.

void SeedSearches(CopyFixture& fx) {
  // "Sales" is query 6 in the base and 4 in the target, "Other" 7 and 5.
  CopyFixture::Exec(*fx.base, "DELETE FROM OUQR; INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                              "(6, -1, 'Sales', 'SELECT 6', 'W'), (7, -1, 'Other', 'SELECT 7', 'W');"
                              "INSERT INTO CSHS (IndexID, FormID, ItemID, ColID, QueryId, FieldID) VALUES "
                              "(1, '134', 'U_AA', '-1', 6, 'U_AA'), (2, '134', 'U_BB', '-1', 7, 'U_BB'),"
                              "(3, '139', '38', '1', 6, 'ItemCode');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OUQR; INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                                "(4, -1, 'Sales', 'SELECT 4', 'W'), (5, -1, 'Other', 'SELECT 5', 'W');"
                                "INSERT INTO CSHS (IndexID, FormID, ItemID, ColID, QueryId, FieldID) VALUES "
                                "(5, '134', 'U_BB', '-1', 4, 'U_BB'), (6, '150', 'U_CC', '-1', 4, 'U_CC'),"
                                "(7, '139', '38', '1', 4, 'ItemCode');");
}

const char* kSearchRows =
    "SELECT IndexID || ':' || FormID || ':' || ItemID || ':' || ColID || ':' || QueryId FROM CSHS ORDER BY IndexID";

const std::vector<MethodCase> kSearchCases = {
    {0, "7:139:38:1:4", {"DPX_TRN_FSUDF_100|404|402|||U_BB|134||", "DPX_TRN_FSUDF_100|404|402|||U_CC|150||"}},
    {1, "5:134:U_BB:-1:5,6:150:U_CC:-1:4,7:139:38:1:4,8:134:U_AA:-1:4",
     {"DPX_TRN_FSUDF_100|212|402|U_AA|134||||", "DPX_TRN_FSUDF_100|213|402|U_BB|134|U_BB|134|134|"}},
    {2, "5:134:U_BB:-1:5,6:150:U_CC:-1:4,7:139:38:1:4", {"DPX_TRN_FSUDF_100|213|402|U_BB|134|U_BB|134|134|"}},
    {3, "5:134:U_BB:-1:4,6:150:U_CC:-1:4,7:139:38:1:4,8:134:U_AA:-1:4", {"DPX_TRN_FSUDF_100|212|402|U_AA|134||||"}},
    {4, "5:134:U_BB:-1:5,6:150:U_CC:-1:4,7:139:38:1:4,8:134:U_AA:-1:4",
     {"DPX_TRN_FSUDF_100|212|402|U_AA|134||||", "DPX_TRN_FSUDF_100|213|402|U_BB|134|U_BB|134|134|"}},
};

TEST_P(CustomizationObjects, SearchesOnUserFieldsByCopyMethodNameTheTargetsQuery) {
  for (const MethodCase& c : kSearchCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedSearches(fx);
    dpx::test::CopyCategory(fx, "DPX_TRN_FSUDF_100", c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kSearchRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

// U_BB (which the target has) names "Other", U_AA (which it lacks) names
// "Sales". A search whose query the target lacks is refused naming the query,
// but only where the method would write it: an update of the target's
// search, or an add of a new one.
struct MissingQueryCase {
  uint8_t method;
  const char* missing;  // the query the target lacks
  Lines lines;
};
const std::vector<MissingQueryCase> kMissingQueryCases = {
    {2, "Other", {"DPX_TRN_FSUDF_100|213|403|U_BB|134||||The target has no query 'Other'"}},
    {3, "Other", {"DPX_TRN_FSUDF_100|212|402|U_AA|134||||"}},
    {4, "Other",
     {"DPX_TRN_FSUDF_100|213|403|U_BB|134||||The target has no query 'Other'",
      "DPX_TRN_FSUDF_100|212|402|U_AA|134||||"}},
    {2, "Sales", {"DPX_TRN_FSUDF_100|213|402|U_BB|134|U_BB|134|134|"}},
    {3, "Sales", {"DPX_TRN_FSUDF_100|212|403|U_AA|134||||The target has no query 'Sales'"}},
    {4, "Sales",
     {"DPX_TRN_FSUDF_100|212|403|U_AA|134||||The target has no query 'Sales'",
      "DPX_TRN_FSUDF_100|213|402|U_BB|134|U_BB|134|134|"}},
};

TEST_P(CustomizationObjects, ASearchWhoseQueryTheTargetLacksFailsNamingTheQueryWhereTheMethodWouldWriteIt) {
  for (const MissingQueryCase& c : kMissingQueryCases) {
    SCOPED_TRACE("method " + std::to_string(c.method) + ", the target lacks " + c.missing);
    CopyFixture fx(GetParam());
    SeedSearches(fx);
    CopyFixture::Exec(*fx.target, std::string("DELETE FROM OUQR WHERE QName = '") + c.missing + "'");
    // The target's search on 38 names "Sales" too: it goes with the query, not by the copy.
    CopyFixture::Exec(*fx.target, "DELETE FROM CSHS WHERE IndexID = 7");
    dpx::test::CopyCategory(fx, "DPX_TRN_FSUDF_100", c.method);
    // None is written without a query; a refused update leaves the target's search as it was.
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM CSHS WHERE QueryId IS NULL"), "0");
    if (std::string(c.missing) == "Other") {
      EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT QueryId FROM CSHS WHERE IndexID = 5"), "4");
    }
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(CustomizationObjects, StandardSearchesLeaveTheUserFieldSearches) {
  CopyFixture fx(GetParam());
  SeedSearches(fx);
  dpx::test::CopyCategory(fx, "DPX_TRN_FSSTDF_100", 0);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kSearchRows), "5:134:U_BB:-1:4,6:150:U_CC:-1:4");
  dpx::test::CopyCategory(fx, "DPX_TRN_FSSTDF_100", 1);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kSearchRows), "5:134:U_BB:-1:4,6:150:U_CC:-1:4,7:139:38:1:4");
}

// A host client with the default form descriptions.
class Client : public dpx::HostApplication {
 public:
  void probe() override {}
  int language() override { return 0; }
  int messageBox(const std::string&, int, const std::string&, const std::string&, const std::string&) override {
    return 1;
  }
  void setStatusBarErrorMessage(const std::string&) override {}
};

TEST_P(CustomizationObjects, SearchListShowsWhatTheClientDescribesAndRawIdsOtherwise) {
  CopyFixture fx(GetParam());
  SeedSearches(fx);
  // A form the client does not know, and searches without a query or with a system query.
  CopyFixture::Exec(*fx.base, "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                              "(8, -2, 'System', 'SELECT 8', 'W');"
                              "INSERT INTO CSHS (IndexID, FormID, ItemID, ColID, QueryId, FieldID) VALUES "
                              "(4, '9999', 'U_XX', '-1', 8, 'U_XX'), (9, '150', 'U_Seats', '-1', NULL, 'U_Seats');");
  fx.context.setApplication(std::make_shared<Client>());
  DPX_FormattedSearchManager manager(&fx.context, "DPX_TRN_FSUDF_100", 1);
  EXPECT_EQ(manager.collectDetails()->getListRows(),
            (Rows{{"Business Partner Master Data", "U_AA", "Sales", "SELECT 6"},
                  {"Business Partner Master Data", "U_BB", "Other", "SELECT 7"},
                  {"Item Master Data", "Seats", "", ""},
                  {"9999", "U_XX", "", ""}}));
}

// --- User-defined object registrations.

constexpr const char* kObjectsKey = "DPX_TRN_UDO_100";

void InsertRegistration(dpx::host::Company& company, const std::string& code, const std::string& name, int type) {
  CopyFixture::Exec(company, "INSERT INTO OUDO (Code, Name, TYPE, TableName, CanFind) VALUES ('" + code + "', '" + name +
                                 "', '" + std::to_string(type) + "', '" + code + "TAB', 1);");
}

void SeedRegistrations(CopyFixture& fx) {
  InsertRegistration(*fx.base, "AA", "Alpha & <co>", 1);
  InsertRegistration(*fx.base, "BB", "Beta", 3);
  InsertRegistration(*fx.base, "DD", "Delta", 2);
  CopyFixture::Exec(*fx.base, "INSERT INTO UDO1 (Code, LineId, TableName, LogName, SonNumber) VALUES "
                              "('AA', 0, 'AALINES', NULL, 1), ('AA', 1, 'AANOTES', 'AALOG', 2);"
                              "INSERT INTO UDO3 (Code, LineId, ColAlias, ColDesc, SonNumber) VALUES "
                              "('AA', 0, 'Code', 'Code', 0);");
  InsertRegistration(*fx.target, "BB", "Beta old", 3);
  InsertRegistration(*fx.target, "CC", "Gamma", 1);
  InsertRegistration(*fx.target, "DD", "Delta old", 2);
}

const char* kObjectRows =
    "SELECT Code || ':' || Name || ':' || IFNULL(TYPE, '') || ':' || (SELECT COUNT(*) FROM UDO1 WHERE UDO1.Code = OUDO.Code) "
    "FROM OUDO ORDER BY Code";

const std::vector<MethodCase> kObjectCases = {
    {0, "", {"DPX_TRN_UDO_100|404|402|||BB|Beta old||", "DPX_TRN_UDO_100|404|402|||CC|Gamma||",
             "DPX_TRN_UDO_100|404|402|||DD|Delta old||"}},
    {1, "AA:Alpha & <co>:1:2,BB:Beta:3:0,CC:Gamma:1:0,DD:Delta:0:0",
     {"DPX_TRN_UDO_100|212|402|AA|Alpha & <co>||||", "DPX_TRN_UDO_100|213|402|BB|Beta||||",
      "DPX_TRN_UDO_100|213|402|DD|Delta||||"}},
    {2, "BB:Beta:3:0,CC:Gamma:1:0,DD:Delta:0:0",
     {"DPX_TRN_UDO_100|213|402|BB|Beta||||", "DPX_TRN_UDO_100|213|402|DD|Delta||||"}},
    {3, "AA:Alpha & <co>:1:2,BB:Beta old:3:0,CC:Gamma:1:0,DD:Delta old:2:0",
     {"DPX_TRN_UDO_100|212|402|AA|Alpha & <co>||||"}},
    {4, "AA:Alpha & <co>:1:2,BB:Beta:3:0,CC:Gamma:1:0,DD:Delta:0:0",
     {"DPX_TRN_UDO_100|212|402|AA|Alpha & <co>||||", "DPX_TRN_UDO_100|213|402|BB|Beta||||",
      "DPX_TRN_UDO_100|213|402|DD|Delta||||"}},
};

TEST_P(CustomizationObjects, RegistrationsByCopyMethod) {
  for (const MethodCase& c : kObjectCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedRegistrations(fx);
    dpx::test::CopyCategory(fx, kObjectsKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kObjectRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(CustomizationObjects, RegistrationDocumentBytes) {
  CopyFixture fx(GetParam());
  SeedRegistrations(fx);
  DPX_UserDefinedObjectsManager manager(&fx.context, kObjectsKey);
  const DPX_OperationArgs block = manager.readAllObjects();
  ASSERT_EQ(block.dataItems.size(), 3u);
  EXPECT_EQ(block.dataItems[0].xml,
            "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><UDO><CanCancel>0</CanCancel><CanClose>0</CanClose>"
            "<CanCreateDefaultForm>0</CanCreateDefaultForm><CanDelete>0</CanDelete><CanFind>1</CanFind><CanLog>0</CanLog>"
            "<CanYearTransfer>0</CanYearTransfer><Code>AA</Code><ExtensionName></ExtensionName>"
            "<LogTableName></LogTableName><ManageSeries>0</ManageSeries><Name>Alpha &amp; &lt;co&gt;</Name>"
            "<ObjectType>1</ObjectType><OverwriteDllfile>0</OverwriteDllfile><TableName>AATAB</TableName>"
            "<ChildTables><CT_0><Code>AA</Code><Count>2</Count><LogTableName></LogTableName><SonNumber>1</SonNumber>"
            "<TableName>AALINES</TableName></CT_0><CT_1><Code>AA</Code><Count>2</Count>"
            "<LogTableName>AALOG</LogTableName><SonNumber>2</SonNumber><TableName>AANOTES</TableName></CT_1>"
            "</ChildTables><FindColumns></FindColumns><FormColumns><FoC_0><Code>AA</Code>"
            "<FormColumnAlias>Code</FormColumnAlias><FormColumnDescription>Code</FormColumnDescription>"
            "<SonNumber>0</SonNumber></FoC_0></FormColumns></UDO></BOM>");
  // Object type 3 is written; any other type is left out.
  EXPECT_NE(block.dataItems[1].xml.find("<Name>Beta</Name><ObjectType>3</ObjectType>"), std::string::npos);
  EXPECT_NE(block.dataItems[2].xml.find("<Name>Delta</Name><OverwriteDllfile>"), std::string::npos);
  EXPECT_NE(block.dataItems[2].xml.find("<ChildTables></ChildTables><FindColumns></FindColumns>"
                                        "<FormColumns></FormColumns></UDO></BOM>"),
            std::string::npos);
}

TEST_P(CustomizationObjects, ALineWithoutCodeIsSkippedAndTheOthersKeepTheirValues) {
  CopyFixture fx(GetParam());
  SeedRegistrations(fx);
  DPX_UserDefinedObjectsManager manager(&fx.context, kObjectsKey);
  DPX_OperationArgs block = manager.readChosenObjects({});
  DPX_OperationArgs::DataItem record;
  record.xml = "<BOM><UDO><Code>EE</Code><Name>Lines</Name><ObjectType>1</ObjectType><TableName>EETAB</TableName>"
               "<FindColumns><FiC_0><Code>EE</Code><ColumnAlias>A1</ColumnAlias><ColumnDescription>D1</ColumnDescription>"
               "</FiC_0><FiC_1><Code></Code><ColumnAlias>skip</ColumnAlias></FiC_1><FiC_2><Code>EE</Code>"
               "<ColumnAlias>A3</ColumnAlias><ColumnDescription>D3</ColumnDescription></FiC_2></FindColumns></UDO></BOM>";
  block.dataItems = {record};
  manager.writeData({block}, 3);
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_UDO_100|212|402|EE|Lines||||"}));
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT LineId || ':' || ColAlias || ':' || ColDesc FROM UDO2 "
                                            "WHERE Code = 'EE' ORDER BY LineId"),
            "0:A1:D1,1:A3:D3");
}

TEST_P(CustomizationObjects, ARegistrationTheBaseCannotReadIsLeftOut) {
  CopyFixture fx(GetParam());
  SeedRegistrations(fx);
  fx.base->InjectFault("GetByKey:206", 2, -99, "Unreadable");
  const DPX_OperationArgs block = DPX_UserDefinedObjectsManager(&fx.context, kObjectsKey).readAllObjects();
  ASSERT_EQ(block.dataItems.size(), 2u);
  EXPECT_NE(block.dataItems[0].xml.find("<Code>AA</Code>"), std::string::npos);
  EXPECT_NE(block.dataItems[1].xml.find("<Code>DD</Code>"), std::string::npos);
}

TEST_P(CustomizationObjects, ARegistrationCodeWithAnApostropheIsFound) {
  CopyFixture fx(GetParam());
  InsertRegistration(*fx.base, "OWN''S", "Base name", 1);
  InsertRegistration(*fx.target, "OWN''S", "Target name", 1);
  dpx::test::CopyCategory(fx, kObjectsKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OUDO"), "OWN'S:Base name");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_UDO_100|213|402|OWN'S|Base name||||"}));
}

// --- Users.

constexpr const char* kUsersKey = "DPX_TRN_USERSLEAF_100";

void SeedUsers(CopyFixture& fx) {
  // Departments: "Sales" is 2 in the base and 4 in the target; branches only in the base.
  CopyFixture::Exec(*fx.base,
                    "DELETE FROM OUSR; DELETE FROM OUDP; DELETE FROM OUBR; DELETE FROM OUPT;"
                    "INSERT INTO OUDP (Code, Name) VALUES (1, 'General'), (2, 'Sales'), (3, 'O''Brien''s');"
                    "INSERT INTO OUBR (Code, Name) VALUES (1, 'Main');"
                    "INSERT INTO OUPT (AbsId, Name, Levels, IsItem, VisOrder) VALUES (1, 'Reports', 1, 'N', 2),"
                    "(2, 'Fleet & <cars>', 2, 'Y', 1);"
                    "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER, PASSWORD, Department, Branch) "
                    "VALUES (3, 3, 'aa', 'Alpha', 'N', 'a', 2, NULL), (4, 4, 'bb', 'Beta', 'N', 'b', 3, 1);");
  CopyFixture::Exec(*fx.target,
                    "DELETE FROM OUDP; DELETE FROM OUBR; DELETE FROM OUPT;"
                    "INSERT INTO OUDP (Code, Name) VALUES (4, 'Sales'), (9, 'Other');"
                    "INSERT INTO OUPT (AbsId, Name, Levels, IsItem, VisOrder) VALUES (1, 'Reports (old)', 1, 'N', 1);"
                    "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER, PASSWORD, Department) "
                    "VALUES (7, 7, 'bb', 'Beta old', 'N', 'secret', 9), (8, 8, 'cc', 'Gamma', 'N', 'c', 9);"
                    "DELETE FROM ONNM WHERE ObjectCode IN ('119', '118', '12');"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('119', 5, 0), ('118', 1, 0), ('12', 9, 0);");
}

const char* kUserRows =
    "SELECT USER_CODE || ':' || U_NAME || ':' || IFNULL(Department, '') || ':' || IFNULL(Branch, '') FROM OUSR "
    "ORDER BY USER_CODE";

const std::vector<MethodCase> kUserCases = {
    // The removal pass leaves the superuser and the user the base also has.
    {0, "bb:Beta old:9:,manager:Manager::",
     {"DPX_TRN_USERSLEAF_100|404|402|||clerk|Clerk O'Hara||", "DPX_TRN_USERSLEAF_100|404|402|||cc|Gamma||"}},
    {1, "aa:Alpha:4:,bb:Beta:11:1,cc:Gamma:9:,clerk:Clerk O'Hara::,manager:Manager::",
     {"DPX_TRN_USERSLEAF_100|212|402|aa|Alpha||||", "DPX_TRN_USERSLEAF_100|213|402|bb|Beta|bb|Beta|Beta old|"}},
    {2, "bb:Beta:11:1,cc:Gamma:9:,clerk:Clerk O'Hara::,manager:Manager::",
     {"DPX_TRN_USERSLEAF_100|213|402|bb|Beta|bb|Beta|Beta old|"}},
    {3, "aa:Alpha:4:,bb:Beta old:9:,cc:Gamma:9:,clerk:Clerk O'Hara::,manager:Manager::",
     {"DPX_TRN_USERSLEAF_100|212|402|aa|Alpha||||"}},
    {4, "aa:Alpha:4:,bb:Beta:11:1,cc:Gamma:9:,clerk:Clerk O'Hara::,manager:Manager::",
     {"DPX_TRN_USERSLEAF_100|212|402|aa|Alpha||||", "DPX_TRN_USERSLEAF_100|213|402|bb|Beta|bb|Beta|Beta old|"}},
};

TEST_P(CustomizationObjects, UsersByCopyMethodWithTheirDepartmentsAndBranches) {
  for (const MethodCase& c : kUserCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedUsers(fx);
    dpx::test::CopyCategory(fx, kUsersKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kUserRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
    // Departments by name, new ones under MAX + 1; never removed.
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OUDP ORDER BY Code"),
              c.method == 0 ? "4:Sales,9:Other" : "4:Sales,9:Other,10:General,11:O'Brien's");
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '119'"),
              c.method == 0 ? "5" : "12");
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AbsId || ':' || Name FROM OUPT ORDER BY AbsId"),
              c.method == 0 ? "1:Reports (old)" : "1:Reports,2:Fleet & <cars>");
  }
}

TEST_P(CustomizationObjects, NewUsersGetThePasswordAndNoDefaultsUpdatedUsersKeepTheirs) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  // A defaults group both companies have.
  for (auto* company : {fx.base.get(), fx.target.get()})
    CopyFixture::Exec(*company, "INSERT INTO OUDG (Code, Name) VALUES ('GRP', 'Group')");
  CopyFixture::Exec(*fx.base, "UPDATE OUSR SET DfltsGroup = 'GRP'");
  dpx::test::CopyCategory(fx, kUsersKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT USER_CODE || ':' || PASSWORD || ':' || IFNULL(DfltsGroup, '') "
                                            "FROM OUSR WHERE USER_CODE IN ('aa', 'bb') ORDER BY 1"),
            "aa:GARNET:,bb:secret:GRP");
  // A second copy adds no department, branch or authorization twice.
  dpx::test::CopyCategory(fx, kUsersKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT (SELECT COUNT(*) FROM OUDP) || ':' || (SELECT COUNT(*) FROM OUBR) "
                                            "|| ':' || (SELECT COUNT(*) FROM OUPT)"),
            "4:1:2");
}

TEST_P(CustomizationObjects, ReplaceAllOfUsersKeepsThePasswordsOfUsersBothHaveAndFailsNone) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  // The target's superuser is a user the base lacks too.
  const std::string superusers = CopyFixture::Column(*fx.target, "SELECT USER_CODE FROM OUSR WHERE SUPERUSER = 'Y'");
  ASSERT_FALSE(superusers.empty());
  dpx::test::CopyCategory(fx, kUsersKey, 0);
  dpx::test::CopyCategory(fx, kUsersKey, 1);
  for (const std::string& line : fx.logLines()) EXPECT_EQ(line.find("|403|"), std::string::npos) << line;
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT USER_CODE || ':' || PASSWORD FROM OUSR "
                                            "WHERE SUPERUSER <> 'Y' ORDER BY USER_CODE"),
            "aa:GARNET,bb:secret");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT USER_CODE FROM OUSR WHERE SUPERUSER = 'Y'"), superusers);
}

TEST_P(CustomizationObjects, OneChosenUserBringsEveryDepartmentBranchAndAuthorization) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  DPX_DetailRecord chosen;
  chosen.addKeyValue("INTERNAL_K", dpx::Variant(int32_t{4}));
  const std::vector<DPX_OperationArgs> blocks = dpx::test::CopyCategory(fx, kUsersKey, 4, {chosen});
  std::string tables;
  for (const DPX_OperationArgs& block : blocks) tables += (tables.empty() ? "" : ",") + block.tableName;
  EXPECT_EQ(tables, "OUDP,OUBR,OUPT,OUSR");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_USERSLEAF_100|213|402|bb|Beta|bb|Beta|Beta old|"}));
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Name FROM OUDP ORDER BY Code"), "Sales,Other,General,O'Brien's");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OUBR"), "1:Main");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM OUPT"), "2");
}

TEST_P(CustomizationObjects, ARefusedDefaultsGroupFailsThatUserOnly) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER) "
                              "VALUES (5, 5, 'dd', 'Delta', 'N');");
  fx.target->InjectFault("put:User.Defaults", 1, -99, "No access to the defaults group");
  dpx::test::CopyCategory(fx, kUsersKey, 3);
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_USERSLEAF_100|212|403|aa|Alpha||||No access to the defaults group",
                                  "DPX_TRN_USERSLEAF_100|212|402|dd|Delta||||"}));
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT USER_CODE FROM OUSR WHERE USER_CODE IN ('aa', 'dd')"), "dd");
}

TEST_P(CustomizationObjects, UserListShowsDepartmentAndBranchNames) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  DPX_UsersManager manager(&fx.context, kUsersKey);
  EXPECT_EQ(manager.collectDetails()->getListRows(),
            (Rows{{"aa", "Alpha", "0", "", "", "", "Sales", ""}, {"bb", "Beta", "0", "", "", "", "O'Brien's", "Main"}}));
}

INSTANTIATE_TEST_SUITE_P(Customization, CustomizationObjects, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
