// The program's user tables: created on a fresh company, notes 1 to 30
// refilled on every load, and each version-check result taking its path.
#include <map>
#include <memory>

#include <gtest/gtest.h>

#include "engine/connection_context.h"
#include "engine/db_def.h"
#include "engine/udt_manager.h"
#include "engine/util.h"
#include "platform/host/company_store.h"
#include "platform/host/host.h"
#include "tests/engine/engine_fakes.h"
#include "tests/support/demo_server.h"

namespace {

using dpx::test::DemoServerFixture;

bool TableExists(const std::shared_ptr<dpx::host::Company>& company, const std::string& table) {
  try {
    company->NewBridge()->GetTableFieldList(table);
    return true;
  } catch (const dpx::HostError&) {
    return false;
  }
}

// Note number -> how many rows carry it, and its key.
std::map<int, std::pair<int, std::string>> Notes(const std::shared_ptr<dpx::host::Company>& company) {
  std::map<int, std::pair<int, std::string>> notes;
  auto rs = company->NewRecordset();
  const int type = company->DbServerType();
  rs->DoQuery("SELECT " + dpx::UserColumn(type, "U_ID") + ", " + dpx::UserColumn(type, "U_String") + " FROM " +
              dpx::UserTableName(type, "@DPXNOTE"));
  for (rs->MoveFirst(); !rs->EoF(); rs->MoveNext()) {
    auto& entry = notes[rs->Field(0).toInt32()];
    ++entry.first;
    entry.second = rs->Field(1).toText();
  }
  return notes;
}

void ExpectNotes1To30Once(const std::shared_ptr<dpx::host::Company>& company) {
  const auto notes = Notes(company);
  ASSERT_EQ(notes.size(), 30u);
  for (int n = 1; n <= 30; ++n) {
    ASSERT_TRUE(notes.count(n)) << n;
    EXPECT_EQ(notes.at(n).first, 1) << "note " << n;
    EXPECT_EQ(notes.at(n).second, "DPX_LMS_NOTE" + std::to_string(n) + "_0");
  }
}

class UserTablesOnServerType : public ::testing::TestWithParam<int> {};

TEST_P(UserTablesOnServerType, FreshCompanyGetsTablesAndNotesOnceEvenAfterASecondLoad) {
  DemoServerFixture server(GetParam(), false);
  auto company = server.base();
  ASSERT_FALSE(TableExists(company, "@DPXSETT"));
  ASSERT_FALSE(TableExists(company, "@DPXNOTE"));

  DPX_ConnectionContext context;
  context.setCompany(company);
  auto app = std::make_shared<dpx::test::ScriptedApplication>();
  context.setApplication(app);

  dpx::DbDef definition(app, company, "DPX", 3);
  int check = -1;
  definition.CheckVersion(check);
  EXPECT_EQ(check, 1);

  EXPECT_EQ(DPX_UDTManager(&context).checkCompany(), 0);
  EXPECT_TRUE(TableExists(company, "@DPXSETT"));
  EXPECT_TRUE(TableExists(company, "@DPXNOTE"));
  ExpectNotes1To30Once(company);
  definition.CheckVersion(check);
  EXPECT_EQ(check, 0);

  EXPECT_EQ(DPX_UDTManager(&context).checkCompany(), 0);
  ExpectNotes1To30Once(company);
  EXPECT_TRUE(app->boxes.empty());

  // DPXNOTI1 keeps one row per note number: a second row of note 5 is refused.
  const std::string insert = "INSERT INTO " + dpx::UserTableName(GetParam(), "@DPXNOTE") + " (" +
                             dpx::UserColumn(GetParam(), "Code") + ", " + dpx::UserColumn(GetParam(), "Name") + ", " +
                             dpx::UserColumn(GetParam(), "U_ID") + ") VALUES ('99999999', '99999999', 5)";
  EXPECT_THROW(company->NewRecordset()->DoQuery(insert), dpx::HostError);
  ExpectNotes1To30Once(company);
  // A company whose notes table lacks its key gets it at the next load.
  company->store().execScript("DELETE FROM OUKD; DELETE FROM UKD1; DROP INDEX \"uk_@DPXNOTE_DPXNOTI1\"");
  company->NewRecordset()->DoQuery(insert);
  definition.CheckVersion(check);
  EXPECT_EQ(check, 1);
  company->NewRecordset()->DoQuery("DELETE FROM " + dpx::UserTableName(GetParam(), "@DPXNOTE") + " WHERE " +
                                   dpx::UserColumn(GetParam(), "Code") + " = '99999999'");
  EXPECT_EQ(DPX_UDTManager(&context).checkCompany(), 0);
  definition.CheckVersion(check);
  EXPECT_EQ(check, 0);
  EXPECT_THROW(company->NewRecordset()->DoQuery(insert), dpx::HostError);

  // The settings table has every field of the definition.
  auto fields = company->NewBridge()->GetTableFieldList("@DPXSETT");
  const std::pair<const char*, int> expected[] = {
      {"U_CpyMethod", dpx::fieldtype::kNumeric}, {"U_RTCF", dpx::fieldtype::kNumeric},
      {"U_FRFMUDF", dpx::fieldtype::kAlpha},     {"U_FBACKUP", dpx::fieldtype::kAlpha},
      {"U_CFFolder", dpx::fieldtype::kAlpha},    {"U_WSFolder", dpx::fieldtype::kAlpha},
      {"U_LFFolder", dpx::fieldtype::kAlpha}};
  int found = 0;
  for (fields->MoveFirst(); !fields->EoF(); fields->MoveNext())
    for (const auto& [name, type] : expected)
      if (fields->Field(0).toText() == name) {
        ++found;
        EXPECT_EQ(fields->Field(2).toInt32(), type) << name;
      }
  EXPECT_EQ(found, 7);
}

INSTANTIATE_TEST_SUITE_P(Dialects, UserTablesOnServerType, ::testing::Values(2, 3, 5, 6));

// Writes the version row as another program (or an interrupted run) left it.
void SetVersionRow(const std::shared_ptr<dpx::host::Company>& company, const std::string& version,
                   const std::string& state) {
  const int type = company->DbServerType();
  const std::string table = dpx::UserTableName(type, "@DPXUDTV");
  company->NewRecordset()->DoQuery("UPDATE " + table + " SET " + dpx::UserColumn(type, "U_Version") + " = " +
                                   dpx::UserText(type, version) + ", " + dpx::UserColumn(type, "U_State") + " = " +
                                   dpx::UserText(type, state));
}

TEST(UserTableDefinition, CheckReadsTheRecordedVersionAndState) {
  DemoServerFixture server(6, false);
  auto company = server.base();
  dpx::DbDef definition(nullptr, company, "DPX", 3);
  ASSERT_EQ(definition.Create(135, false, dpx::DbVersion("0.00.00.00.00")), 0);
  dpx::DbVersion file;
  definition.GetFileVersion(file);
  ASSERT_FALSE(file.isZero());

  struct Case {
    std::string version, state;
    int expected;
  } cases[] = {
      {file.GetVersionAsText(), "C", 0},
      {"0.50.00.00.00", "C", 1},                                    // older: upgrade
      {std::to_string(file.major()) + ".99.00.00.00", "C", 2},     // newer, same major
      {std::to_string(file.major() + 1) + ".00.00.00.00", "C", 3}, // newer major
      {file.GetVersionAsText(), "U", 4},                            // interrupted upgrade
  };
  for (const auto& c : cases) {
    SetVersionRow(company, c.version, c.state);
    int check = -1;
    definition.CheckVersion(check);
    EXPECT_EQ(check, c.expected) << c.version << " " << c.state;
    dpx::DbVersion recorded;
    definition.GetDBVersion(recorded);
    EXPECT_EQ(recorded, dpx::DbVersion(c.version));
  }
  // A field that went missing needs the create again.
  SetVersionRow(company, file.GetVersionAsText(), "C");
  company->NewRecordset()->DoQuery("DELETE FROM CUFD WHERE TableID = N'@DPXSETT' AND AliasID = N'WSFolder'");
  company->store().dropColumn("@DPXSETT", "U_WSFolder");
  int check = -1;
  definition.CheckVersion(check);
  EXPECT_EQ(check, 1);
  EXPECT_EQ(definition.Create(135, false, dpx::DbVersion("0.00.00.00.00")), 0);
  definition.CheckVersion(check);
  EXPECT_EQ(check, 0);
}

// A definition whose check result the test chooses; Create is counted and can fail.
class ScriptedDbDef : public dpx::DbDef {
 public:
  ScriptedDbDef(std::shared_ptr<dpx::host::Company> company, int result, int* creates, bool failCreate)
      : DbDef(nullptr, std::move(company), "DPX", 3), result_(result), creates_(creates), failCreate_(failCreate) {}
  void CheckVersion(int& result) override { result = result_; }
  dpx::HRESULT Create(int id, bool flag, const dpx::DbVersion& version) override {
    ++*creates_;
    if (failCreate_) throw dpx::HostError(dpx::DPX_E_CREATE_FAILED, "DbDef", "refused");
    return DbDef::Create(id, flag, version);
  }

 private:
  int result_;
  int* creates_;
  bool failCreate_;
};

struct PathCase {
  const char* name;
  int check;
  std::vector<int> answers;  // to the upgrade questions (1 Exit, 2 Upgrade)
  bool failCreate;
  dpx::HRESULT result;
  int creates;
  size_t questions;
  bool notesWritten;
};

TEST(UserTablesCheck, EachVersionCheckResultTakesItsPath) {
  const PathCase cases[] = {
      {"current", 0, {}, false, 0, 0, 0, true},
      {"missing", 1, {}, false, 0, 1, 0, true},
      {"missing, create refused", 1, {}, true, dpx::DPX_E_CREATE_FAILED, 1, 0, false},
      {"newer", 2, {}, false, 0, 0, 0, true},
      {"leave alone", 3, {}, false, 0, 0, 0, false},
      {"interrupted, exit", 4, {1}, false, dpx::DPX_E_HOST_REFUSED, 0, 1, false},
      {"interrupted, upgrade then exit", 4, {2, 1}, false, dpx::DPX_E_HOST_REFUSED, 0, 2, false},
      {"interrupted, upgrade twice", 4, {2, 2}, false, 0, 1, 2, true},
      {"unknown", 7, {}, false, dpx::E_INVALIDARG, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DemoServerFixture server(6, false);
    auto company = server.base();
    // The tables exist (without notes) so that every path can write notes.
    ASSERT_EQ(dpx::DbDef(nullptr, company, "DPX", 3).Create(135, false, dpx::DbVersion()), 0);
    DPX_ConnectionContext context;
    context.setCompany(company);
    auto app = std::make_shared<dpx::test::ScriptedApplication>();
    app->answers.assign(c.answers.begin(), c.answers.end());
    context.setApplication(app);
    int creates = 0;
    DPX_UDTManager::SetDbDefFactory([&](auto, auto co) {
      return std::make_unique<ScriptedDbDef>(co, c.check, &creates, c.failCreate);
    });
    const dpx::HRESULT result = DPX_UDTManager(&context).checkCompany();
    DPX_UDTManager::SetDbDefFactory(nullptr);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(creates, c.creates);
    EXPECT_EQ(app->boxes.size(), c.questions);
    EXPECT_EQ(Notes(company).size(), c.notesWritten ? 30u : 0u);
  }
}

TEST(UserTablesCheck, EveryFailedNoteIsReportedAndTheCheckStillSucceeds) {
  DemoServerFixture server(6, false);
  auto company = server.base();  // no tables: every note write fails
  DPX_ConnectionContext context;
  context.setCompany(company);
  auto app = std::make_shared<dpx::test::ScriptedApplication>();
  context.setApplication(app);
  int creates = 0;
  DPX_UDTManager::SetDbDefFactory([&](auto, auto co) { return std::make_unique<ScriptedDbDef>(co, 0, &creates, false); });
  EXPECT_EQ(DPX_UDTManager(&context).checkCompany(), 0);
  DPX_UDTManager::SetDbDefFactory(nullptr);
  EXPECT_EQ(app->boxes.size(), 30u);
  EXPECT_EQ(creates, 0);
}

}  // namespace
