// Print layouts, authorizations and additional authorizations copied between
// two simulated companies. Every case runs with the target as server type 5
// and with the default dialect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/customization/additional_authorization_manager.h"
#include "categories/customization/authorizations_manager.h"
#include "categories/customization/print_layouts_manager.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

class UserCategories : public ::testing::TestWithParam<int> {};

// --- Print layouts.

constexpr const char* kDocuments = "DPX_TRN_DOCREP_100";
constexpr const char* kQueries = "DPX_TRN_QUERYLAYOUTS_100";
constexpr const char* kLayoutRows = "SELECT DocCode || ':' || DocName || ':' || TypeCode || ':' || Body FROM RDOC ORDER BY DocCode";

void InsertLayout(dpx::host::Company& company, const std::string& values) {
  CopyFixture::Exec(company, "INSERT INTO RDOC (DocCode, DocName, Author, Notes, TypeCode, Body) VALUES " + values + ";");
}

// "Invoice & <Co>" in both under other codes; "O'Brien's" only in the base;
// the host's own layouts in the target.
void SeedLayouts(CopyFixture& fx) {
  InsertLayout(*fx.base, "('INV11', 'Invoice & <Co>', 'clerk', 'New', 'INV1', '<Page><F a=\"1\">x &amp; y</F></Page>'),"
                         "('DLN12', 'O''Brien''s', 'clerk', '', 'DLN2', ''),"
                         "('USRT3', 'Sales query', 'clerk', '', 'USRT1', '<Q/>')");
  InsertLayout(*fx.target, "('INV17', 'Invoice & <Co>', 'manager', 'Old', 'INV1', '<Page/>'),"
                           "('INV13', 'System invoice', 'System', '', 'INV1', ''),"
                           "('USRP4', 'System query print', 'System', '', 'USRP', ''),"
                           "('USRT9', 'Target query', 'manager', '', 'USRT1', '')");
}

struct LayoutCase {
  uint8_t method;
  std::string rows;
  Lines lines;
};

TEST_P(UserCategories, LayoutsAreMatchedByNameAndTypeAndReplacedUnderNewCodes) {
  const std::string invoice = "Invoice & <Co>";
  const std::vector<LayoutCase> cases = {
      {2,
       "INV13:System invoice:INV1:,INV15:Invoice & <Co>:INV1:<Page><F a=\"1\">x &amp; y</F></Page>,"
       "USRP4:System query print:USRP:,USRT9:Target query:USRT1:",
       {"DPX_TRN_DOCREP_100|404|402|||INV17|||", "DPX_TRN_DOCREP_100|212|402|INV15|" + invoice + "||||"}},
      {3,
       "DLN25:O'Brien's:DLN2:,INV13:System invoice:INV1:,INV17:Invoice & <Co>:INV1:<Page/>,"
       "USRP4:System query print:USRP:,USRT9:Target query:USRT1:",
       {"DPX_TRN_DOCREP_100|212|402|DLN25|O'Brien's||||"}},
      {4,
       "DLN25:O'Brien's:DLN2:,INV13:System invoice:INV1:,"
       "INV15:Invoice & <Co>:INV1:<Page><F a=\"1\">x &amp; y</F></Page>,USRP4:System query print:USRP:,USRT9:Target query:USRT1:",
       {"DPX_TRN_DOCREP_100|404|402|||INV17|||", "DPX_TRN_DOCREP_100|212|402|INV15|" + invoice + "||||",
        "DPX_TRN_DOCREP_100|212|402|DLN25|O'Brien's||||"}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedLayouts(fx);
    dpx::test::CopyCategory<DPX_PrintLayoutsManager>(fx, kDocuments, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kLayoutRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(UserCategories, ReplaceAllRemovesOnlyTheLayoutsOfItsKind) {
  {
    CopyFixture fx(GetParam());
    SeedLayouts(fx);
    dpx::test::CopyCategory<DPX_PrintLayoutsManager>(fx, kDocuments, 0);
    dpx::test::CopyCategory<DPX_PrintLayoutsManager>(fx, kDocuments, 1);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT DocName FROM RDOC ORDER BY DocName"),
              "Invoice & <Co>,O'Brien's,System invoice,System query print,Target query");
    EXPECT_EQ(fx.logLines().front(), "DPX_TRN_DOCREP_100|404|402|||INV17|||");
  }
  {
    // Query layouts: the host's own query print layouts stay, as its own document layouts do.
    CopyFixture fx(GetParam());
    SeedLayouts(fx);
    dpx::test::CopyCategory<DPX_PrintLayoutsManager>(fx, kQueries, 0);
    EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_QUERYLAYOUTS_100|404|402|||USRT9|||"}));
    dpx::test::CopyCategory<DPX_PrintLayoutsManager>(fx, kQueries, 1);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT DocName FROM RDOC ORDER BY DocName"),
              "Invoice & <Co>,Sales query,System invoice,System query print");
  }
}

TEST_P(UserCategories, ARefusedLayoutAddKeepsTheOldLayout) {
  CopyFixture fx(GetParam());
  SeedLayouts(fx);
  fx.target->InjectFault("AddLayout", 1, -99, "Layout store full");
  dpx::test::CopyCategory<DPX_PrintLayoutsManager>(fx, kDocuments, 2);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT DocCode FROM RDOC WHERE DocName = 'Invoice & <Co>'"), "INV17");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_DOCREP_100|212|403||Invoice & <Co>||||Layout store full"}));
}

TEST_P(UserCategories, LayoutListsShowTheKindsColumnsAndKeyByNameAndType) {
  CopyFixture fx(GetParam());
  SeedLayouts(fx);
  DPX_PrintLayoutsManager documents(&fx.context, kDocuments, 1);
  EXPECT_EQ(documents.collectDetails()->getListRows(),
            (Rows{{"Invoice & <Co>", "clerk", "New", "INV1"}, {"O'Brien's", "clerk", "", "DLN2"}}));
  // A chosen layout is found again by its name and type code.
  const DPX_DetailRecord chosen = documents.getTableInfo().getDetailRecords().at(1);
  EXPECT_EQ(chosen.getKeyValue(0).toText(), "O'Brien's");
  std::vector<DPX_OperationArgs> blocks;
  DPX_PrintLayoutsManager reader(&fx.context, kDocuments, 1);
  reader.readFromDB(blocks, {chosen});
  ASSERT_EQ(blocks.size(), 1u);
  ASSERT_EQ(blocks[0].dataItems.size(), 1u);
  EXPECT_EQ(blocks[0].dataItems[0].xml,
            "<BOM><ReportLayout><Name>O&apos;Brien&apos;s</Name><Author>clerk</Author><Remarks></Remarks>"
            "<TypeCode>DLN2</TypeCode></ReportLayout></BOM>");
  DPX_PrintLayoutsManager queries(&fx.context, kQueries, 2);
  EXPECT_EQ(queries.collectDetails()->getListRows(), (Rows{{"Sales query", ""}}));
}

TEST_P(UserCategories, LayoutsWithoutBlocksWriteNothing) {
  CopyFixture fx(GetParam());
  SeedLayouts(fx);
  DPX_PrintLayoutsManager writer(&fx.context, kDocuments, 1);
  writer.writeData({}, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM RDOC"), "4");
  EXPECT_TRUE(fx.logLines().empty());
}

// --- Authorizations.

constexpr const char* kAuthorizations = "DPX_TRN_AUTHORIZATIONSLEAF_100";

void AddUser(dpx::host::Company& company, int key, const std::string& code, const std::string& name,
             bool superuser = false) {
  CopyFixture::Exec(company, "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER, Locked) VALUES (" +
                                 std::to_string(key) + ", " + std::to_string(key) + ", '" + code + "', '" + name +
                                 "', '" + (superuser ? "Y" : "N") + "', 'N');");
}

std::string Permissions(dpx::host::Company& company, const std::string& user) {
  return CopyFixture::Column(company, "SELECT PermId || '=' || Value FROM HOST_USERPERM WHERE UserCode = '" + user +
                                          "' AND Value <> 0 ORDER BY PermId");
}

TEST_P(UserCategories, AuthorizationsGoToTheUserOfTheSameCode) {
  CopyFixture fx(GetParam());
  AddUser(*fx.base, 10, "auditor", "Auditor & <Reviews>");
  AddUser(*fx.target, 20, "auditor", "Auditor (target)");
  CopyFixture::Exec(*fx.base, "INSERT INTO HOST_USERPERM VALUES ('auditor', '142', 1), ('auditor', '331', 2),"
                              "('manager', '142', 2);");
  CopyFixture::Exec(*fx.target, "INSERT INTO HOST_USERPERM VALUES ('auditor', '203', 1);");
  // Add-only overwrites too: permissions always belong to an existing user.
  dpx::test::CopyCategory<DPX_AuthorizationsManager>(fx, kAuthorizations, 3);
  EXPECT_EQ(Permissions(*fx.target, "auditor"), "142=1,331=2");
  EXPECT_EQ(Permissions(*fx.target, "manager"), "");  // superusers are never copied
  EXPECT_EQ(fx.logLines(),
            (Lines{"DPX_TRN_AUTHORIZATIONSLEAF_100|213|402|clerk|Clerk O'Hara|clerk|Clerk O'Hara|Clerk O'Hara|",
                   "DPX_TRN_AUTHORIZATIONSLEAF_100|213|402|auditor|Auditor & <Reviews>|auditor|Auditor & "
                   "<Reviews>|Auditor & <Reviews>|"}));
  dpx::test::CopyCategory<DPX_AuthorizationsManager>(fx, kAuthorizations, 0);
  EXPECT_EQ(fx.logLines().size(), 2u);  // the removal pass leaves every permission
}

std::string AuthorizationRecord(const std::string& user, const std::string& elements) {
  return "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><Authorizations><USER_CODE>" + user +
         "</USER_CODE><U_NAME>" + user + "</U_NAME>" + elements + "</Authorizations></BOM>";
}

TEST_P(UserCategories, AuthorizationRecordsOfSuperusersUnknownUsersAndRefusals) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.target, "INSERT INTO HOST_USERPERM VALUES ('clerk', '142', 5), ('manager', '142', 3);");
  DPX_OperationArgs block;
  block.set(kAuthorizations, "OPRM", 1, 300);
  for (const char* user : {"manager", "nobody"}) {
    DPX_OperationArgs::DataItem item;
    item.xml = AuthorizationRecord(user, "<A142>1</A142>");
    block.dataItems.push_back(item);
  }
  DPX_AuthorizationsManager(&fx.context, kAuthorizations).writeData({block}, 4);
  EXPECT_EQ(Permissions(*fx.target, "manager"), "142=3");
  // The target's superuser keeps its permissions, and its line says why.
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_AUTHORIZATIONSLEAF_100|213|402|manager|manager|manager|||Not written: a "
                                  "superuser in the target, who has every permission",
                                  "DPX_TRN_AUTHORIZATIONSLEAF_100|213|403|nobody|nobody|nobody|nobody|nobody|User "
                                  "'nobody' does not exist"}));

  // A missing element writes 0; one refused update fails the user's line.
  block.dataItems.resize(1);
  block.dataItems[0].xml = AuthorizationRecord("clerk", "<A203> 7x</A203>");
  fx.target->InjectFault("UpdateUserPermission", 5, -99, "Permission locked");
  DPX_AuthorizationsManager(&fx.context, kAuthorizations).writeData({block}, 2);
  EXPECT_EQ(Permissions(*fx.target, "clerk"), "203=7");
  EXPECT_EQ(fx.logLines().back(),
            "DPX_TRN_AUTHORIZATIONSLEAF_100|213|403|clerk|clerk|clerk|clerk|clerk|Permission locked");
}

TEST_P(UserCategories, AChosenKeyThatNamesNoUserIsSkipped) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO HOST_USERPERM VALUES ('clerk', '142', 1);");
  DPX_DetailRecord clerk, missing;
  clerk.addKeyValue("INTERNAL_K", dpx::Variant("2"));
  missing.addKeyValue("INTERNAL_K", dpx::Variant("77"));
  std::vector<DPX_OperationArgs> blocks;
  DPX_AuthorizationsManager(&fx.context, kAuthorizations).readFromDB(blocks, {clerk, missing});
  ASSERT_EQ(blocks.size(), 1u);
  ASSERT_EQ(blocks[0].dataItems.size(), 1u);
  EXPECT_NE(blocks[0].dataItems[0].xml.find("<USER_CODE>clerk</USER_CODE><U_NAME>Clerk O&apos;Hara</U_NAME><A142>1</A142>"),
            std::string::npos);
}

// --- Additional authorizations.

TEST_P(UserCategories, ReplaceAllRemovesHighLevelsFirstAndAddsLowLevelsFirst) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OUPT (AbsId, Name, Levels, IsItem) VALUES (5, 'Leaf', 3, 'Y'),"
                              "(6, 'Root', 1, 'N'), (7, 'Branch & <twig>', 2, 'N');");
  CopyFixture::Exec(*fx.target, "INSERT INTO OUPT (AbsId, Name, Levels, IsItem) VALUES (1, 'Old root', 1, 'N'),"
                                "(2, 'Old leaf', 2, 'Y');");
  dpx::test::CopyCategory<DPX_AdditionalAuthorizationManager>(fx, "DPX_TRN_ADDITIONALAUT_100", 0);
  dpx::test::CopyCategory<DPX_AdditionalAuthorizationManager>(fx, "DPX_TRN_ADDITIONALAUT_100", 1);
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_NE(lines[0].find("|404|402|"), std::string::npos);
  EXPECT_NE(lines[0].find("Old leaf"), std::string::npos);
  EXPECT_NE(lines[1].find("Old root"), std::string::npos);
  EXPECT_NE(lines[2].find("|212|402|Root|1"), std::string::npos);
  EXPECT_NE(lines[3].find("|212|402|Branch & <twig>|2"), std::string::npos);
  EXPECT_NE(lines[4].find("|212|402|Leaf|3"), std::string::npos);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AbsId || ':' || Name FROM OUPT ORDER BY AbsId"),
            "5:Leaf,6:Root,7:Branch & <twig>");
}

TEST_P(UserCategories, OnlyTheFirstBlockOfAdditionalAuthorizationsIsWritten) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OUPT (AbsId, Name, Levels, IsItem) VALUES (5, 'First', 1, 'N');");
  std::vector<DPX_OperationArgs> blocks;
  DPX_AdditionalAuthorizationManager(&fx.context, "DPX_TRN_ADDITIONALAUT_100").readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 1u);
  // A file's second block holds the same entry under another name.
  blocks.push_back(blocks[0]);
  const std::string from = "<Name>First</Name>";
  std::string& second = blocks[1].dataItems[0].xml;
  ASSERT_NE(second.find(from), std::string::npos);
  second.replace(second.find(from), from.size(), "<Name>Second</Name>");
  DPX_AdditionalAuthorizationManager(&fx.context, "DPX_TRN_ADDITIONALAUT_100").writeData(blocks, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AbsId || ':' || Name FROM OUPT ORDER BY AbsId"), "5:First");
  EXPECT_EQ(fx.logLines().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(UserServices, UserCategories, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
