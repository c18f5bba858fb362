// The company object: connecting, the company list, recordsets and their XML,
// the field list and the company service.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>

#include "platform/host/host.h"
#include "platform/host/company_store.h"
#include "tests/support/demo_server.h"
#include "tests/support/small_disk.h"
#include "tests/support/test_dir.h"

namespace dpx::host {
namespace {

class CompanyTest : public ::testing::Test {
 protected:
  test::DemoServerFixture server{6};
};

TEST_F(CompanyTest, ConnectRefusalsGiveCodeAndText) {
  struct Case {
    std::string db, user, password;
    int type;
    int code;
    std::string text;
  } cases[] = {
      {"DEMO_BASE", "manager", "wrong", 6, kErrLoginFailed, "Invalid user name or password"},
      {"DEMO_BASE", "nobody", "manager", 6, kErrLoginFailed, "Invalid user name or password"},
      {"NO_SUCH_DB", "manager", "manager", 6, kErrCompanyNotFound, "Company database 'NO_SUCH_DB' not found"},
      {"DEMO_BASE", "manager", "manager", 5, kErrServerType, "is not on a server of type 5"},
  };
  for (const Case& c : cases) {
    auto company = server.unconnected(c.db);
    company->SetDbServerType(c.type);
    company->SetUserName(c.user);
    company->SetPassword(c.password);
    EXPECT_EQ(company->Connect(), c.code) << c.text;
    EXPECT_FALSE(company->Connected());
    int code;
    std::string text;
    company->GetLastError(code, text);
    EXPECT_EQ(code, c.code);
    EXPECT_NE(text.find(c.text), std::string::npos) << text;
    EXPECT_THROW(company->CompanyName(), HostError);
  }
  auto missing = CreateCompany();
  missing->SetServer((server.root() / "nothing").string());
  EXPECT_EQ(missing->Connect(), kErrServerNotFound);
}

TEST_F(CompanyTest, ACatalogueEntryLeadingOutOfTheServerFolderIsRefusedWhenOpened) {
  // A company file outside the folder that a catalogue entry (a file like
  // any other) points at with a relative path.
  const std::filesystem::path outside = server.root() / "out";
  std::filesystem::create_directories(outside);
  std::filesystem::copy_file(server.serverDir() / "DEMO_BASE.company", outside / "EVIL.company");
  for (const std::string name : {"../out/EVIL", "..", "a/b", "/tmp/EVIL"}) {
    SCOPED_TRACE(name);
    CompanyStore(server.serverDir() / ServerCatalogue::kCatalogueFile, 0)
        .exec("INSERT INTO COMPANIES VALUES (?, 'Evil', 930100, 'US', 6)", {Variant(name)});
    auto company = server.unconnected(name);
    company->SetUserName("manager");
    company->SetPassword("manager");
    EXPECT_NE(company->Connect(), 0);
    EXPECT_FALSE(company->Connected());
    int code;
    std::string text;
    company->GetLastError(code, text);
    EXPECT_NE(text.find("Invalid company database name '" + name + "'"), std::string::npos) << text;
    EXPECT_THROW(ServerCatalogue(server.serverDir()).addUser(name, "x", "x", "x", false), HostError);
  }
  EXPECT_FALSE(std::filesystem::exists(server.root() / "a"));
}

TEST_F(CompanyTest, ConnectedCompanyKnowsItsUserAndServer) {
  auto c = server.unconnected("demo_base");   // this server type ignores case in names
  c->SetUserName("manager");
  c->SetPassword("manager");
  ASSERT_EQ(c->Connect(), 0);
  EXPECT_TRUE(c->Connected());
  EXPECT_EQ(c->CompanyName(), "Demo Base Ltd.");
  EXPECT_EQ(c->Version(), 930100);
  EXPECT_EQ(c->UserName(), "manager");
  EXPECT_EQ(c->UserSignature(), 1);
  EXPECT_TRUE(std::filesystem::is_directory(c->SharedFolder()));
  EXPECT_TRUE(std::filesystem::exists(c->ClientFolder() / "Vorn Quillon.exe"));
  EXPECT_EQ(c->Disconnect(), 0);
  EXPECT_FALSE(c->Connected());
  EXPECT_EQ(c->Disconnect(), kErrNotConnected);
}

TEST_F(CompanyTest, CompanyListNeedsNoConnection) {
  auto c = CreateCompany();
  c->SetServer(server.serverDir().string());
  c->SetUseTrusted(true);
  auto list = c->GetCompanyList();
  std::string rows;
  for (list->MoveFirst(); !list->EoF(); list->MoveNext())
    rows += list->Field(0).toText() + "|" + list->Field(1).toText() + "|" + list->Field(2).toText() + ";";
  EXPECT_EQ(rows, "DEMO_BASE|Demo Base Ltd.|930100;DEMO_TARGET|Demo Target & Sons|930100;");
  // With database logins recorded, an untrusted wrong login is refused.
  ServerCatalogue(server.serverDir()).addLogin("sa", "pw");
  c->SetUseTrusted(false);
  c->SetDbUserName("sa");
  c->SetDbPassword("bad");
  EXPECT_THROW(c->GetCompanyList(), HostError);
  c->SetDbPassword("pw");
  EXPECT_EQ(c->GetCompanyList()->RecordCount(), 2);
}

TEST_F(CompanyTest, BackupsAreRecordedPerDatabase) {
  ServerCatalogue catalogue(server.serverDir());
  catalogue.recordBackup("DEMO_TARGET", "2026-12-09 20:00:00");
  auto c = server.target();
  ASSERT_EQ(c->Backups().size(), 1u);
  EXPECT_EQ(c->Backups()[0].finished, "2026-12-09 20:00:00");
  EXPECT_TRUE(server.base()->Backups().empty());
}

// The recent-backup question, in the form the copy command asks it.
TEST_F(CompanyTest, BackupHistoryAnswersTheRecentBackupQuery) {
  auto now = [](int minutesAgo) {
    std::time_t t = std::time(nullptr) - minutesAgo * 60;
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return std::string(buf);
  };
  const std::string sql =
      "SELECT 1 AS Expr1 FROM msdb.dbo.backupset WHERE (database_name = 'DEMO_TARGET') AND (GETDATE() <= "
      "DATEADD(minute, 60, (SELECT     MAX(backup_finish_date) FROM msdb..backupset WHERE database_name = "
      "'DEMO_TARGET')))";
  ServerCatalogue catalogue(server.serverDir());
  auto target = server.target();
  auto rs = target->NewRecordset();
  rs->DoQuery(sql);
  EXPECT_EQ(rs->RecordCount(), 0);   // never backed up
  catalogue.recordBackup("DEMO_TARGET", now(90));
  rs->DoQuery(sql);
  EXPECT_EQ(rs->RecordCount(), 0);   // too old
  catalogue.recordBackup("DEMO_TARGET", now(10));
  catalogue.recordBackup("DEMO_BASE", now(200));
  rs->DoQuery(sql);
  EXPECT_GT(rs->RecordCount(), 0);
  test::DemoServerFixture type2(2, false);
  EXPECT_THROW(type2.target()->NewRecordset()->DoQuery(sql), HostError);
}

// Fields come back typed by their column; the XML is the recordset's shape
// with no whitespace, the table named without "@", dates as YYYYMMDD.
TEST_F(CompanyTest, RecordsetFieldsAndXml) {
  auto base = server.base();
  auto rs = base->NewRecordset();
  EXPECT_EQ(rs->DoQuery("SELECT Code, U_Seats, U_Bought, U_Color FROM [@CARS] WHERE Code = N'C1'"), 0);
  ASSERT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->FieldCount(), 4);
  EXPECT_EQ(rs->Field(0).type(), VarType::Text);
  EXPECT_EQ(rs->Field(1).type(), VarType::I4);
  EXPECT_EQ(rs->Field(2).type(), VarType::Date);
  EXPECT_EQ(rs->Field(2).toText(), "20240131");
  EXPECT_THROW(rs->Field(4), HostError);
  rs->MoveNext();
  EXPECT_TRUE(rs->EoF());
  EXPECT_THROW(rs->Field(0), HostError);

  rs->DoQuery("SELECT Code, Name, U_Bought FROM [@CARS] ORDER BY Code");
  EXPECT_EQ(rs->GetAsXML(),
            "<BOM><BO><AdmInfo><Object>oRecordset</Object></AdmInfo><CARS>"
            "<row><Code>C1</Code><Name>Van &amp; &lt;trailer&gt;</Name><U_Bought>20240131</U_Bought></row>"
            "<row><Code>C2</Code><Name>Boss&apos;s car</Name><U_Bought>20230615</U_Bought></row>"
            "</CARS></BO></BOM>");

  EXPECT_EQ(rs->DoQuery("UPDATE [@CARS] SET U_Seats = 9 WHERE Code = N'C2'"), 0);
  rs->DoQuery("SELECT U_Seats FROM [@CARS] WHERE Code = N'C2'");
  EXPECT_EQ(rs->Field(0).toInt64(), 9);
  EXPECT_THROW(rs->DoQuery("SELECT * FROM NO_TABLE"), HostError);
  EXPECT_THROW(rs->DoQuery("DELETE FROM OQCN; DELETE FROM OUQR"), HostError);   // one statement at a time
  EXPECT_EQ(rs->RecordCount(), 0);
  base->InjectSqlFault("FROM OADF", 2, "deadlock");
  EXPECT_NO_THROW(rs->DoQuery("SELECT * FROM OADF"));
  EXPECT_THROW(rs->DoQuery("SELECT * FROM OADF"), HostError);
}

TEST_F(CompanyTest, FieldListOfHostTable) {
  auto list = server.base()->NewBridge()->GetTableFieldList("OADF");
  std::string rows;
  for (list->MoveFirst(); !list->EoF(); list->MoveNext())
    rows += list->Field(0).toText() + ":" + list->Field(2).toText() + ":" + list->Field(6).toText() + ";";
  EXPECT_EQ(rows, "Code:2:Code;Name:0:Name;Format:1:Address Format;");
  EXPECT_THROW(server.base()->NewBridge()->GetTableFieldList("NOPE"), HostError);
}

TEST_F(CompanyTest, PermissionsReadZeroUntilSet) {
  auto bridge = server.base()->NewBridge();
  EXPECT_EQ(bridge->GetUserPermission("clerk", "P1")->Field(0).toInt64(), 0);
  EXPECT_EQ(bridge->UpdateUserPermission("clerk", "P1", 2), 0);
  EXPECT_EQ(bridge->GetUserPermission("clerk", "P1")->Field(0).toInt64(), 2);
  EXPECT_THROW(bridge->UpdateUserPermission("ghost", "P1", 1), HostError);
}

// Administration info is read and written property by property and stored
// by its update; a reference it holds must exist.
TEST_F(CompanyTest, CompanyService) {
  auto target = server.target();
  auto service = target->GetCompanyService();
  auto admin = service->GetAdminInfo();
  Variant v;
  ASSERT_EQ(admin->GetProperty("CompanyName", v), S_OK);
  EXPECT_EQ(v.toText(), "Demo Target & Sons");
  EXPECT_EQ(admin->SetProperty("CompanyName", Variant("Renamed")), S_OK);
  EXPECT_EQ(admin->SetProperty("PriceAccuracy", Variant(4)), S_OK);
  EXPECT_EQ(admin->SetProperty("NoSuchSetting", Variant(4)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(service->UpdateAdminInfo(admin), 0);
  EXPECT_EQ(target->CompanyName(), "Renamed");
  admin->SetProperty("LocalCurrency", Variant("XYZ"));
  EXPECT_EQ(service->UpdateAdminInfo(admin), kErrMissingReference);
  EXPECT_EQ(target->CompanyName(), "Renamed");

  auto settings = service->GetCompanySettings();
  ASSERT_EQ(settings->GetProperty("EnableAccountSegmentation", v), S_OK);
  EXPECT_EQ(v.toInt64(), 0);
  auto entries = service->GetSettingsEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].code, "6");
  EXPECT_EQ(entries[1].status, 1);

  target->InjectFault("get:CompanyInfo.MinimumAmountForAnnualList", 1, -3, "not available");
  std::shared_ptr<HostObject> info;
  ASSERT_EQ(service->getObject("CompanyInfo", info), S_OK);
  EXPECT_NE(info->get("MinimumAmountForAnnualList", v), S_OK);
  EXPECT_EQ(info->get("MinimumAmountForAnnualList", v), S_OK);

  // A refused put leaves the value as it was and says why in the last error.
  target->InjectFault("put:AdminInfo.PriceAccuracy", 2, -4, "read-only here");
  EXPECT_EQ(admin->put("PriceAccuracy", Variant(5)), S_OK);
  EXPECT_NE(admin->put("PriceAccuracy", Variant(6)), S_OK);
  EXPECT_EQ(target->GetLastErrorDescription(), "read-only here");
  ASSERT_EQ(admin->get("PriceAccuracy", v), S_OK);
  EXPECT_EQ(v.toInt64(), 5);
  EXPECT_EQ(admin->put("PriceAccuracy", Variant(6)), S_OK);
}

// The demo companies show what a copy meets: records in both under other
// internal keys, records in one company only, and names that need escaping.
TEST_F(CompanyTest, DemoRowsShowTheCasesACopyMeets) {
  struct Case {
    std::string sql;
    std::string base, target;   // rows as "a|b;"
  } cases[] = {
      {"SELECT INTERNAL_K, U_NAME FROM OUSR WHERE USER_CODE = N'auditor'", "3|Auditor & <Reviews>;",
       "4|Auditor & <Reviews>;"},
      {"SELECT U_NAME FROM OUSR WHERE USER_CODE IN (N'oneil', N'temp')", "O'Neil (base only);",
       "Temp & <Seasonal> (target only);"},
      {"SELECT Code FROM OADF WHERE Name = N'Standard'", "1;", "2;"},
      {"SELECT CategoryId FROM OQCN WHERE CatName = N'General'", "1;", "2;"},
      {"SELECT CurrCode FROM OCRN WHERE CurrCode IN (N'GBP', N'CHF')", "GBP;", "CHF;"},
      {"SELECT CurrName FROM OCRN WHERE CurrCode = N'GBP'", "Pound's & <Sterling>;", ""},
      {"SELECT FieldID FROM CUFD WHERE TableID = N'@CARS' AND AliasID = N'Color'", "1;", "2;"},
      {"SELECT TableName FROM OUTB WHERE TableName IN (N'BASEONLY', N'TGTONLY')", "BASEONLY;", "TGTONLY;"},
  };
  auto rows = [](Company& c, const std::string& sql) {
    auto rs = c.NewRecordset();
    rs->DoQuery(sql);
    std::string out;
    for (rs->MoveFirst(); !rs->EoF(); rs->MoveNext()) {
      for (int i = 0; i < rs->FieldCount(); ++i) out += (i ? "|" : "") + rs->Field(i).toText();
      out += ";";
    }
    return out;
  };
  auto base = server.base(), target = server.target();
  for (const Case& c : cases) {
    EXPECT_EQ(rows(*base, c.sql), c.base) << c.sql;
    EXPECT_EQ(rows(*target, c.sql), c.target) << c.sql;
  }
  // Every demo user can log on with the password of its code.
  for (const char* user : {"auditor", "oneil"}) EXPECT_NO_THROW(server.connect("DEMO_BASE", user, user)) << user;
  for (const char* user : {"auditor", "temp"}) EXPECT_NO_THROW(server.connect("DEMO_TARGET", user, user)) << user;
}

// A database whose set-up fails is closed again: the sanitizers' leak check
// finds the handle otherwise.
TEST(CompanyStoreSetUp, AFileThatIsNoDatabaseIsRefusedAndLeftClosed) {
  test::TestDir dir;
  const auto file = dir / "broken.company";
  std::ofstream(file) << std::string(2048, 'x');
  EXPECT_THROW(CompanyStore(file, 6), HostError);
}

TEST(DemoServerTool, RefusesToOverwriteWithoutForce) {
  test::TestDir dir;
  DemoServerOptions options;
  DemoServer::Create(dir.path(), options, false);
  EXPECT_THROW(DemoServer::Create(dir.path(), options, false), HostError);
  auto c = CreateCompany();
  c->SetServer(dir.path().string());
  c->SetCompanyDB("DEMO_TARGET");
  c->SetDbServerType(6);
  c->SetUseTrusted(true);
  c->SetUserName("manager");
  c->SetPassword("manager");
  ASSERT_EQ(c->Connect(), 0);
  c->NewRecordset()->DoQuery("DELETE FROM OCRN WHERE CurrCode = N'CHF'");
  c->Disconnect();
  DemoServer::Create(dir.path(), options, true);
  ASSERT_EQ(c->Connect(), 0);
  auto rs = c->NewRecordset();
  rs->DoQuery("SELECT COUNT(*) FROM OCRN WHERE CurrCode = N'CHF'");
  EXPECT_EQ(rs->Field(0).toInt64(), 1);
}

}  // namespace
}  // namespace dpx::host

namespace dpx::host {
namespace {

// A disk that fills under a schema change: the write is refused with the
// disk's reason and code, nothing of it stays, and no transaction is left
// open behind it (the write's own release is the commit the disk refuses).
// Once there is room again the next write goes through.
TEST_F(CompanyTest, AWriteTheFullDiskRefusesLeavesNoTransactionOpen) {
  const auto file = server.serverDir() / "DEMO_TARGET.company";
  test::SmallDisk disk(server.root() / "disk", std::filesystem::file_size(file) + (1u << 20));
  if (!disk.mounted()) GTEST_SKIP() << disk.why();
  disk.moveOnto(file);
  auto target = server.target();
  auto table = target->NewBusinessObject(153);
  table->SetProperty("TableName", Variant("DPXNOTE"));
  table->SetProperty("TableDescription", Variant("Notes"));
  ASSERT_EQ(table->Add(), 0) << target->GetLastErrorDescription();
  disk.leaveRoom(64 * 1024);

  auto addField = [&](int n) {
    auto field = target->NewBusinessObject(152);
    field->SetProperty("TableName", Variant("@DPXNOTE"));
    field->SetProperty("Name", Variant("Field" + std::to_string(n)));
    field->SetProperty("Description", Variant(std::string(200, 'd')));
    field->SetProperty("Type", Variant(1));
    return field->Add();
  };
  int added = 0;
  int code = 0;
  while (added < 5000 && (code = addField(added + 1)) == 0) ++added;
  ASSERT_EQ(code, kErrCompanyFull) << target->GetLastErrorDescription();
  EXPECT_EQ(target->GetLastErrorDescription(), "The company database DEMO_TARGET has no room left on its disk");
  EXPECT_FALSE(target->InTransaction());
  EXPECT_GT(added, 0);

  disk.makeRoom();
  auto columns = [](const std::shared_ptr<Company>& company) {
    return company->store().columnsOf("@DPXNOTE").size();
  };
  // What another connection sees: the fields before the refused one.
  const size_t before = columns(server.target());
  EXPECT_EQ(columns(target), before);
  EXPECT_EQ(addField(added + 1), 0) << target->GetLastErrorDescription();
  EXPECT_EQ(columns(server.target()), before + 1);
}

}  // namespace
}  // namespace dpx::host
