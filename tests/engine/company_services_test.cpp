// Company services, notes rows, calls by member name and the field list,
// against a simulated server.
#include <memory>

#include <gtest/gtest.h>

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "engine/db_def.h"
#include "engine/table_info.h"
#include "engine/util.h"
#include "platform/framework/string_table.h"
#include "platform/host/host.h"
#include "tests/engine/engine_fakes.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/demo_server.h"

namespace {

using dpx::test::DemoServerFixture;

TEST(CompanyServices, SuperuserGate) {
  DemoServerFixture server(6, false);
  bool super = false;
  EXPECT_EQ(DPX_Util::CheckSuperUser(0, server.base(), super), 0);
  EXPECT_TRUE(super);
  EXPECT_EQ(DPX_Util::CheckSuperUser(0, server.connect("DEMO_BASE", "clerk", "clerk"), super), 0);
  EXPECT_FALSE(super);

  // A user whose record vanished after the login cannot be read.
  auto clerk = server.connect("DEMO_BASE", "clerk", "clerk");
  server.base()->NewRecordset()->DoQuery("DELETE FROM OUSR WHERE USER_CODE = N'clerk'");
  super = true;
  EXPECT_EQ(DPX_Util::CheckSuperUser(0, clerk, super), 1);
  EXPECT_FALSE(super);

  EXPECT_LT(DPX_Util::CheckSuperUser(0, nullptr, super), 0);
  EXPECT_FALSE(super);
}

TEST(CompanyServices, SameCompanyAndSameConnection) {
  DemoServerFixture server(6, false);
  auto manager = server.base();
  auto clerk = server.connect("DEMO_BASE", "clerk", "clerk");
  auto target = server.target();
  EXPECT_TRUE(DPX_Util::SameCompany(manager, clerk));
  EXPECT_FALSE(DPX_Util::SameConnection(manager, clerk));
  EXPECT_TRUE(DPX_Util::SameConnection(manager, server.base()));
  EXPECT_FALSE(DPX_Util::SameCompany(manager, target));
  EXPECT_TRUE(DPX_Util::SameCompany(nullptr, nullptr));
  EXPECT_TRUE(DPX_Util::SameConnection(DPX_CompanyHandle(), DPX_CompanyHandle()));
  EXPECT_FALSE(DPX_Util::SameCompany(manager, nullptr));
}

TEST(CompanyServices, ConnectShowsTheHostsReasonAndDisconnectOfNothingIsFine) {
  dpx::test::ScriptedUi ui;
  DemoServerFixture server(6, false);
  DPX_CompanyHandle handle(server.unconnected("DEMO_BASE"));
  handle.setUserName("manager");
  handle.setPassword("wrong");
  DPX_ConnectionContext context;
  const dpx::HRESULT refused = DPX_Util::Connect(handle, &context);
  EXPECT_NE(refused, 0);
  ASSERT_EQ(ui.boxes.size(), 1u);
  int code = 0;
  std::string reason;
  handle.getCompany()->GetLastError(code, reason);
  ASSERT_NE(code, 0);
  EXPECT_EQ(ui.boxes[0].text, dpx::StringTable::Load(10027) + "\r\n'" + reason + "'");
  EXPECT_EQ(ui.boxes[0].flags, 0x10010u);

  EXPECT_EQ(DPX_Util::Disconnect(handle, &context), 0);  // not connected: nothing to do
  handle.setPassword("manager");
  EXPECT_EQ(DPX_Util::Connect(handle, &context), 0);
  EXPECT_TRUE(handle.getCompany()->Connected());
  EXPECT_EQ(DPX_Util::Disconnect(handle, &context), 0);
  EXPECT_FALSE(handle.getCompany()->Connected());
  EXPECT_EQ(ui.boxes.size(), 1u);
}

TEST(CompanyServices, CompanyListAndLocalization) {
  DemoServerFixture server(6, false);
  DPX_Util::CompanyList list;
  EXPECT_GE(DPX_Util::GetCompanyList(server.unconnected("DEMO_BASE"), list, true), 0);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0][1], "DEMO_BASE");  // name, database, version
  EXPECT_EQ(list[0].size(), 3u);

  auto company = server.base();
  std::string localization;
  EXPECT_EQ(DPX_Util::GetLocalization(0, company, localization), 0);
  EXPECT_FALSE(localization.empty());
  company->NewRecordset()->DoQuery("DELETE FROM CINF");
  EXPECT_EQ(DPX_Util::GetLocalization(0, company, localization), 1);
  EXPECT_EQ(localization, "");

  std::string folder;
  EXPECT_EQ(DPX_Util::GetLocalQuillonFolder(company, folder), 0);
  EXPECT_EQ(folder, company->ClientFolder().string());
}

class NotesOnServerType : public ::testing::TestWithParam<int> {};

TEST_P(NotesOnServerType, ReadWriteAndReplaceNoteRows) {
  DemoServerFixture server(GetParam(), false);
  auto company = server.base();
  ASSERT_EQ(dpx::DbDef(nullptr, company, "DPX", 3).Create(135, false, dpx::DbVersion()), 0);
  std::string key = "x";
  EXPECT_EQ(DPX_Util::GetNoteFromDB(0, company, 0, key), 0);
  EXPECT_EQ(key, "");
  EXPECT_EQ(DPX_Util::GetNoteFromDB(0, company, 5, key), 1);
  EXPECT_EQ(DPX_Util::DeleteNoteFromDB(0, company, 0), 0);

  EXPECT_GE(DPX_Util::WriteNoteToDB(0, company, 5, "DPX_LMS_NOTE5_0"), 0);
  EXPECT_GE(DPX_Util::WriteNoteToDB(0, company, 5, "O'Neil's note"), 0);
  EXPECT_EQ(DPX_Util::GetNoteFromDB(0, company, 5, key), 0);
  EXPECT_EQ(key, "O'Neil's note");
  const int type = company->DbServerType();
  auto rs = company->NewRecordset();
  rs->DoQuery("SELECT " + dpx::UserColumn(type, "Code") + " FROM " + dpx::UserTableName(type, "@DPXNOTE"));
  ASSERT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->Field(0).toText(), "00000001");  // the old row went first, so its code is free again

  EXPECT_EQ(DPX_Util::DeleteNoteFromDB(0, company, 5), 0);
  EXPECT_EQ(DPX_Util::GetNoteFromDB(0, company, 5, key), 1);
}

INSTANTIATE_TEST_SUITE_P(Dialects, NotesOnServerType, ::testing::Values(2, 3, 5, 6));

TEST(Notes, WithoutTheTableEveryOperationFailsWithoutRaising) {
  DemoServerFixture server(6, false);
  auto company = server.base();
  std::string key;
  EXPECT_LT(DPX_Util::GetNoteFromDB(0, company, 3, key), 0);
  EXPECT_LT(DPX_Util::DeleteNoteFromDB(0, company, 3), 0);
  EXPECT_LT(DPX_Util::WriteNoteToDB(0, company, 3, "k"), 0);
  EXPECT_FALSE(company->InTransaction());
}

TEST(ByName, StatusesOfCallsByMemberName) {
  DemoServerFixture server(6, true);
  auto company = server.base();
  dpx::Variant out;
  EXPECT_EQ(DPX_Util::GetPropertyByName(nullptr, "X", out), dpx::E_POINTER);
  EXPECT_EQ(DPX_Util::InvokeByName(nullptr, "X", out), dpx::E_POINTER);
  EXPECT_EQ(DPX_Util::PutPropertyByName(nullptr, "X", out), dpx::E_POINTER);

  std::shared_ptr<dpx::host::HostObject> users = company->NewBusinessObject(dpx::host::kObjectUsers);
  EXPECT_LT(DPX_Util::GetPropertyByName(users, "NoSuchProperty", out), 0);
  EXPECT_LT(DPX_Util::InvokeByName(users, "NoSuchMethod", out), 0);
  EXPECT_LT(DPX_Util::PutPropertyByName(users, "NoSuchProperty", dpx::Variant("x")), 0);

  const dpx::Variant key(int32_t{company->UserSignature()});
  std::string xml;
  EXPECT_EQ(DPX_Util::CallGetByKeyAsXML(xml, users, {key}), 0);
  EXPECT_NE(xml.find("<BOM>"), std::string::npos);
  EXPECT_EQ(DPX_Util::GetPropertyByName(users, "UserCode", out), 0);
  EXPECT_EQ(out.toText(), "manager");
  EXPECT_EQ(DPX_Util::CallGetByKeyAsXML(xml, users, {dpx::Variant(int32_t{999999})}), 0);
  EXPECT_EQ(xml, "");
  // A failing call is told apart from "not found": a status, and no text.
  EXPECT_LT(DPX_Util::CallGetByKeyAsXML(xml, users, {key, key, key}), 0);
  EXPECT_EQ(xml, "");

  EXPECT_FALSE(DPX_Util::QueryHostFlag(nullptr));
  dpx::Variant flag;
  ASSERT_EQ(company->GetCompanyService()->GetCompanySettings()->GetProperty("EnableAccountSegmentation", flag), 0);
  EXPECT_EQ(DPX_Util::QueryHostFlag(company), flag.toInt64() != 0);
  // The flag follows the company's setting both ways.
  for (int value : {1, 0}) {
    ASSERT_EQ(company->NewRecordset()->DoQuery("UPDATE CINF SET EnableAccountSegmentation = " + std::to_string(value)), 0);
    EXPECT_EQ(DPX_Util::QueryHostFlag(company), value != 0) << value;
  }
}

TEST(TableInfo, AColumnTheHostLacksKeepsHeadingsAndTypesParallel) {
  DemoServerFixture server(6, false);
  DPX_ConnectionContext context;
  context.setCompany(server.base());
  DPX_TableInfo info;
  info.setContext(&context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  EXPECT_EQ(info.readFieldTypes("OUSR", {"USER_CODE", "NO_SUCH_COLUMN", "SUPERUSER"}, headings, types), 1);
  ASSERT_EQ(headings.size(), 3u);
  ASSERT_EQ(types.size(), 3u);
  EXPECT_EQ(headings[1], "NO_SUCH_COLUMN");
  EXPECT_EQ(types[1], dpx::fieldtype::kAlpha);
  auto fields = server.base()->NewBridge()->GetTableFieldList("OUSR");
  EXPECT_EQ(types[2], DPX_Util::GetFieldType(fields, "SUPERUSER"));
  EXPECT_EQ(DPX_Util::GetFieldType(fields, "superuser"), dpx::fieldtype::kAlpha);  // names compare exactly
}

}  // namespace
