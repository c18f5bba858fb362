// The settings row @DPXSETT: defaults written once, folders under the
// server's shared folder, texts with "'" kept as they are, and a failed save
// that keeps the old row.
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "engine/connection_context.h"
#include "engine/db_def.h"
#include "engine/settings_manager.h"
#include "platform/framework/text.h"
#include "platform/host/host.h"
#include "tests/engine/engine_fakes.h"
#include "tests/support/demo_server.h"

namespace {

using dpx::test::DemoServerFixture;

struct Fixture {
  explicit Fixture(int serverType = 6) : server(serverType, false), company(server.base()) {
    EXPECT_EQ(dpx::DbDef(nullptr, company, "DPX", 3).Create(135, false, dpx::DbVersion()), 0);
    context.setCompany(company);
    context.setApplication(app);
  }
  int rowCount() {
    auto rs = company->NewRecordset();
    const int type = company->DbServerType();
    rs->DoQuery("SELECT " + dpx::UserColumn(type, "Code") + " FROM " + dpx::UserTableName(type, "@DPXSETT"));
    return rs->RecordCount();
  }
  DemoServerFixture server;
  std::shared_ptr<dpx::host::Company> company;
  std::shared_ptr<dpx::test::ScriptedApplication> app = std::make_shared<dpx::test::ScriptedApplication>();
  DPX_ConnectionContext context;
};

TEST(Settings, FirstCheckWritesDefaultsAndFoldersOnceUnderTheSharedFolder) {
  Fixture f;
  DPX_SettingsManager fresh(&f.context);
  EXPECT_EQ(fresh.getSettingsFromDatabase(), 1);
  EXPECT_EQ(fresh.getCopyMethod(), -1);
  EXPECT_TRUE(fresh.getForceBackup());

  EXPECT_EQ(DPX_SettingsManager(&f.context).checkSettings(), 0);
  DPX_SettingsManager read(&f.context);
  ASSERT_EQ(read.getSettingsFromDatabase(), 0);
  EXPECT_EQ(read.getCopyMethod(), 1);
  EXPECT_EQ(read.getResponseToCopyFailure(), 0);
  EXPECT_FALSE(read.getFailRecordsForMissingFields());
  EXPECT_TRUE(read.getForceBackup());
  const auto program = f.company->SharedFolder() / "Duplora";
  EXPECT_EQ(read.getConfigurationFolder(), (program / "Company configuration files").string());
  EXPECT_EQ(read.getWorksheetFolder(), (program / "Worksheets").string());
  EXPECT_EQ(read.getLogFileFolder(), (program / "Log files").string());
  for (const auto& folder : {read.getConfigurationFolder(), read.getWorksheetFolder(), read.getLogFileFolder()})
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
  EXPECT_TRUE(f.app->statusErrors.empty());

  // The next check finds the row and writes nothing.
  read.setCopyMethod(3);
  ASSERT_EQ(read.saveSettingsToDatabase(), 0);
  EXPECT_EQ(DPX_SettingsManager(&f.context).checkSettings(), 0);
  DPX_SettingsManager again(&f.context);
  ASSERT_EQ(again.getSettingsFromDatabase(), 0);
  EXPECT_EQ(again.getCopyMethod(), 3);
  EXPECT_EQ(f.rowCount(), 1);
}

class SettingsOnServerType : public ::testing::TestWithParam<int> {};

TEST_P(SettingsOnServerType, EveryValueRoundTripsEvenWithApostrophes) {
  Fixture f(GetParam());
  DPX_SettingsManager settings(&f.context);
  settings.setCopyMethod(4);
  settings.setResponseToCopyFailure(2);
  settings.setFailRecordsForMissingFields(true);
  settings.setForceBackup(false);
  settings.setConfigurationFolder("/home/o'brien/config");
  settings.setWorksheetFolder("C:\\Users\\d'Arcy\\Worksheets");
  settings.setLogFileFolder("x'); DELETE FROM [@DPXSETT]; --");
  ASSERT_EQ(settings.saveSettingsToDatabase(), 0);
  ASSERT_EQ(settings.saveSettingsToDatabase(), 0);
  EXPECT_EQ(f.rowCount(), 1);

  DPX_SettingsManager read(&f.context);
  ASSERT_EQ(read.getSettingsFromDatabase(), 0);
  EXPECT_EQ(read.getCopyMethod(), 4);
  EXPECT_EQ(read.getResponseToCopyFailure(), 2);
  EXPECT_TRUE(read.getFailRecordsForMissingFields());
  EXPECT_FALSE(read.getForceBackup());
  EXPECT_EQ(read.getConfigurationFolder(), "/home/o'brien/config");
  EXPECT_EQ(read.getWorksheetFolder(), "C:\\Users\\d'Arcy\\Worksheets");
  EXPECT_EQ(read.getLogFileFolder(), "x'); DELETE FROM [@DPXSETT]; --");
}

INSTANTIATE_TEST_SUITE_P(Dialects, SettingsOnServerType, ::testing::Values(2, 3, 5, 6));

TEST(Settings, AFailedSaveKeepsTheOldRow) {
  Fixture f;
  DPX_SettingsManager settings(&f.context);
  settings.setDefaultSettings();
  settings.setLogFileFolder("/logs/old");
  ASSERT_EQ(settings.saveSettingsToDatabase(), 0);

  // The statement after the delete (the insert) is refused by the server.
  f.company->InjectFault("DoQuery", 2);
  settings.setLogFileFolder("/logs/new");
  EXPECT_LT(settings.saveSettingsToDatabase(), 0);

  DPX_SettingsManager read(&f.context);
  ASSERT_EQ(read.getSettingsFromDatabase(), 0);
  EXPECT_EQ(read.getLogFileFolder(), "/logs/old");
  EXPECT_FALSE(f.company->InTransaction());

  // A refused delete leaves the row as well.
  f.company->InjectFault("DoQuery", 1);
  EXPECT_LT(settings.saveSettingsToDatabase(), 0);
  ASSERT_EQ(read.getSettingsFromDatabase(), 0);
  EXPECT_EQ(read.getLogFileFolder(), "/logs/old");
}

// Without the user table nothing can be read or written: the check fails
// instead of taking the company for one without a row.
TEST(Settings, WithoutTheTableEveryOperationFails) {
  DemoServerFixture server(6, false);
  DPX_ConnectionContext context;
  context.setCompany(server.base());
  DPX_SettingsManager settings(&context);
  EXPECT_LT(settings.getSettingsFromDatabase(), 0);
  EXPECT_LT(settings.updateSettingsFromDatabase(), 0);
  EXPECT_LT(settings.checkSettings(), 0);
  EXPECT_EQ(settings.getCopyMethod(), -1);  // no defaults were taken
  settings.setDefaultSettings();
  EXPECT_LT(settings.saveSettingsToDatabase(), 0);
  EXPECT_EQ(context.getCopyMethod(), -1);
}

TEST(Settings, OnlyAnExactYIsTrue) {
  Fixture f;
  DPX_SettingsManager settings(&f.context);
  settings.setDefaultSettings();
  ASSERT_EQ(settings.saveSettingsToDatabase(), 0);
  for (const char* text : {"y", "Yes", "", "N"}) {
    f.company->NewRecordset()->DoQuery(std::string("UPDATE [@DPXSETT] SET U_FBACKUP = N'") + text + "'");
    DPX_SettingsManager read(&f.context);
    ASSERT_EQ(read.getSettingsFromDatabase(), 0);
    EXPECT_FALSE(read.getForceBackup()) << text;
  }
}

TEST(Settings, AnOpenWorksheetKeepsItsOwnOptionsInTheContext) {
  Fixture f;
  DPX_SettingsManager settings(&f.context);
  settings.setDefaultSettings();
  settings.setCopyMethod(2);
  ASSERT_EQ(settings.saveSettingsToDatabase(), 0);

  f.context.setWorksheetFile("/sheets/a.xml");
  f.context.setCopyMethod(4);
  EXPECT_EQ(DPX_SettingsManager(&f.context).updateSettingsFromDatabase(), 0);
  EXPECT_EQ(f.context.getCopyMethod(), 4);

  f.context.setWorksheetFile("");
  EXPECT_EQ(DPX_SettingsManager(&f.context).updateSettingsFromDatabase(), 0);
  EXPECT_EQ(f.context.getCopyMethod(), 2);
  EXPECT_EQ(f.context.getResponseToCopyFailure(), 0);
  EXPECT_TRUE(f.context.getForceBackup());
}

TEST(Settings, AFolderThatCannotBeMadeStaysUnsetAndTheRowIsStillWritten) {
  Fixture f;
  const auto program = f.company->SharedFolder() / "Duplora";
  std::filesystem::create_directories(program);
  ASSERT_TRUE(dpx::WriteFileAtomically(program / "Worksheets", "a file, not a folder"));
  EXPECT_EQ(DPX_SettingsManager(&f.context).checkSettings(), 0);
  DPX_SettingsManager read(&f.context);
  ASSERT_EQ(read.getSettingsFromDatabase(), 0);
  EXPECT_EQ(read.getWorksheetFolder(), "");
  EXPECT_EQ(read.getLogFileFolder(), (program / "Log files").string());
  EXPECT_TRUE(f.app->statusErrors.empty());
}

TEST(Settings, WithoutASharedFolderTheDefaultsAreWrittenAndTheUserIsTold) {
  Fixture f;
  std::filesystem::remove_all(f.company->SharedFolder());
  EXPECT_EQ(DPX_SettingsManager(&f.context).checkSettings(), 0);
  EXPECT_EQ(f.app->statusErrors.size(), 1u);
  DPX_SettingsManager read(&f.context);
  ASSERT_EQ(read.getSettingsFromDatabase(), 0);
  EXPECT_EQ(read.getCopyMethod(), 1);
  EXPECT_EQ(read.getLogFileFolder(), "");
}

}  // namespace

TEST(Settings, DefaultFoldersAreAbsoluteWhenTheServerIsNamedRelatively) {
  Fixture f;
  const auto kept = std::filesystem::current_path();
  std::filesystem::current_path(f.server.serverDir().parent_path());
  auto company = f.server.unconnected("DEMO_BASE");
  company->SetServer(f.server.serverDir().filename().string());
  company->SetUserName("manager");
  company->SetPassword("manager");
  ASSERT_EQ(company->Connect(), 0);
  DPX_ConnectionContext context;
  context.setCompany(company);
  DPX_SettingsManager settings(&context);
  const auto made = settings.createDefaultFolders();
  std::filesystem::current_path(kept);
  ASSERT_EQ(made, 0);
  // Another run, started in another folder, finds the same folders.
  const auto program = f.company->SharedFolder().lexically_normal() / "Duplora";
  EXPECT_EQ(settings.getLogFileFolder(), (program / "Log files").string());
  EXPECT_EQ(settings.getWorksheetFolder(), (program / "Worksheets").string());
  EXPECT_TRUE(std::filesystem::path(settings.getConfigurationFolder()).is_absolute());
}
