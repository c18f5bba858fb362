// The copy command: the questions before the copy, the backup check of the
// target, the copy log, and what a failure leaves behind.
#include <QLabel>

#include "engine/settings_manager.h"
#include "platform/host/company.h"
#include "platform/host/server_catalogue.h"
#include "tests/ui/dialog_driving.h"
#include "tests/ui/worksheet_fixture.h"

namespace dpx::test {
namespace {

size_t FilesIn(const std::filesystem::path& folder) {
  size_t n = 0;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
       it.increment(ec))
    ++n;
  return n;
}

class CopyCommand : public WorksheetFixture {
 protected:
  void SetUp() override {
    WorksheetFixture::SetUp();
    target = server.target();
    context()->setTargetCompany(target);
    context()->setTargetName("Demo Target & Sons");
    context()->setCopyMethod(4);
    for (const auto& node : worksheet()->getNodes())
      if (node.isLeaf() && node.isQueriesNode() && itemOf(node.getLeafId()) >= 0) queries = node.getLeafId();
    ASSERT_FALSE(queries.empty()) << "the template has a queries category";
    DPX_SettingsManager settings(context());
    ASSERT_EQ(settings.getSettingsFromDatabase(), S_OK);
    logFolder = settings.getLogFileFolder();
  }

  std::shared_ptr<host::Company> target;
  std::string queries;
  std::string logFolder;
};

TEST_F(CopyCommand, QuestionsBackupAndLogAsATable) {
  const std::string copyMethodQuestion =
      "Queries and Print layouts should be copied as default with copy method of 'Add new records without updating "
      "existing records'. Change the copy method accordingly?";
  const std::string recommendBackup =
      "We highly recommend that you backup the target company before performing the copy process. Continue?";
  const std::string mustBackup = "You must backup your target database before performing the copy process";
  struct Case {
    const char* name;
    bool forceBackup;
    std::vector<std::string> backups;           // finish times of the target's backups
    // The buttons clicked in the windows as they come: "1" OK of the copy
    // dialog, of a box or of the completed notice, "6" Yes, "7" No.
    std::vector<const char*> clicks;
    std::vector<std::string> asked;             // the boxes' texts, in order
    bool copied;                                // the completed dialog shows
    int method;                                 // the copy method afterwards (context and settings)
  };
  const Case cases[] = {
      {"queries only, No", false, {}, {"7", "1", "6", "1"}, {copyMethodQuestion, recommendBackup}, true, 4},
      {"queries only, Yes", false, {}, {"6", "1", "6", "1"}, {copyMethodQuestion, recommendBackup}, true, 3},
      {"method 3 already", false, {}, {"1", "6", "1"}, {recommendBackup}, true, 3},
      {"force backup off, No", false, {}, {"1", "7"}, {recommendBackup}, false, 3},
      {"no backup", true, {}, {"1", "1"}, {mustBackup}, false, 3},
      {"backup 61 minutes ago", true, {MinutesAgo(61)}, {"1", "1"}, {mustBackup}, false, 3},
      {"backup 59 minutes ago", true, {MinutesAgo(59)}, {"1", "1"}, {}, true, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tree()->selectAll(false);
    tick(queries);
    context()->setForceBackup(c.forceBackup);
    for (const auto& b : c.backups) host::ServerCatalogue(server.serverDir()).recordBackup("DEMO_TARGET", b);
    const size_t logs = FilesIn(logFolder);
    const size_t seen = modals.seen.size();
    for (const char* button : c.clicks) modals.script.push_back(ModalDriver::Click(button));
    const HRESULT result = gui().showCopyConfigForm();
    std::vector<std::string> boxes;
    bool completed = false;
    for (size_t i = seen; i < modals.seen.size(); ++i) {
      if (modals.seen[i].objectName == "DPX_MessageBox") boxes.push_back(modals.seen[i].text);
      completed = completed || modals.seen[i].objectName == "DPX_CopyCompletedFormDlg";
    }
    EXPECT_EQ(boxes, c.asked);
    EXPECT_EQ(completed, c.copied);
    EXPECT_EQ(result, c.copied ? S_OK : S_FALSE);
    EXPECT_EQ(FilesIn(logFolder), logs + (c.copied ? 1 : 0)) << "a log only for a copy that ran";
    EXPECT_EQ(context()->getCopyMethod(), c.method);
    EXPECT_EQ(worksheet()->getCopyMethod() == 3, c.method == 3);
    DPX_SettingsManager settings(context());
    ASSERT_EQ(settings.getSettingsFromDatabase(), S_OK);
    if (c.method == 3) {
      EXPECT_EQ(settings.getCopyMethod(), 3);
    }
    modals.script.clear();
  }
}

TEST_F(CopyCommand, AnUnusableLogFolderLeadsToTheOptions) {
  context()->setForceBackup(false);
  tick(queries);
  context()->setCopyMethod(3);
  DPX_SettingsManager settings(context());
  ASSERT_EQ(settings.getSettingsFromDatabase(), S_OK);
  const auto file = server.root() / "plain-file";
  std::ofstream(file) << "x";
  settings.setLogFileFolder((file / "logs").string() + "/");
  ASSERT_EQ(settings.saveSettingsToDatabase(), S_OK);
  modals.script = {ModalDriver::Click("1"), ModalDriver::Click("6"), ModalDriver::Click("1")};
  EXPECT_EQ(gui().showCopyConfigForm(), S_FALSE) << "the options dialog was cancelled";
  const auto names = modals.names();
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[names.size() - 1], "DPX_CopyOptionsFormDlg");
  EXPECT_EQ(modals.seen[names.size() - 2].text,
            "Failed to create default folders for application files. Check options for default folder assignment.");
}

TEST_F(CopyCommand, AFailedCopyEndsItsLogAndRestoresTheTargetFile) {
  context()->setForceBackup(false);
  context()->setCopyMethod(3);
  tick(queries);
  context()->setTargetFile("/kept/target.xml");
  target->InjectFault("EndTransaction", 1);
  modals.script = {ModalDriver::Click("1"), ModalDriver::Click("6")};
  const HRESULT result = gui().showCopyConfigForm();
  EXPECT_LT(result, 0) << modals.names().back();
  const auto names = modals.names();
  EXPECT_EQ(std::count(names.begin(), names.end(), "DPX_CopyCompletedFormDlg"), 0);
  EXPECT_EQ(context()->getTargetFile(), "/kept/target.xml");
  EXPECT_EQ(context()->copyLog, nullptr);
  const std::string log = ReadUtf16Text(context()->getLogFile());
  EXPECT_NE(log.find("<DPX_LOG_END>"), std::string::npos) << log;
}

TEST_F(CopyCommand, UnselectedDependenciesAndCategoriesTheMethodCannotCopyAreAskedFor) {
  context()->setForceBackup(false);
  context()->setCopyMethod(3);
  tree()->selectAll(false);
  std::vector<std::string> names;
  for (const auto& node : worksheet()->getNodes()) {
    const auto& prohibited = node.getProhibitedCopyMethods();
    if (!node.isLeaf() || node.getSubstituteCopyMethod() != 33 || itemOf(node.getLeafId()) < 0 ||
        std::find(prohibited.begin(), prohibited.end(), 3) == prohibited.end())
      continue;
    tick(node.getLeafId());
    names.push_back(node.getDisplayName());
    if (names.size() == 2) break;
  }
  ASSERT_FALSE(names.empty()) << "the template has settings categories that method 3 leaves alone";
  std::string list;
  for (const auto& name : names) list += "\r\n " + name;
  // They depend on categories left unticked: No to that question stops the copy.
  modals.script = {ModalDriver::Click("1"), ModalDriver::Click("7")};
  EXPECT_EQ(gui().showCopyConfigForm(), S_FALSE);
  EXPECT_EQ(modals.seen.back().text,
            "Some selected categories may depend on other unselected categories. This may result in a failure to copy "
            "the content to target databases. Continue?");
  modals.script = {ModalDriver::Click("1"), ModalDriver::Click("6"), ModalDriver::Click("7")};
  EXPECT_EQ(gui().showCopyConfigForm(), S_FALSE);
  EXPECT_EQ(modals.seen.back().text,
            "The following selected categories cannot be copied with copy method 'Add new records without updating "
            "existing records' and will not be copied:\r\n" + list + "\r\n\r\n Continue?");

  // Yes to both: the copy runs, and its completed notice names what it did not copy.
  std::string notice = "(no notice)";
  modals.script = {ModalDriver::Click("1"), ModalDriver::Click("6"), ModalDriver::Click("6"), ModalDriver::Click("6"),
                   [&notice](QWidget* w) {
                     if (w->objectName() == "DPX_CopyCompletedFormDlg") {
                       auto* label = w->findChild<QLabel*>("notCopied");
                       notice = label ? label->text().toStdString() : "";
                     }
                     if (auto* dialog = qobject_cast<QDialog*>(w)) dialog->accept();
                   }};
  EXPECT_EQ(gui().showCopyConfigForm(), S_OK);
  std::string named;
  for (const auto& name : names) named += (named.empty() ? "" : ", ") + name;
  EXPECT_EQ(notice, "Not copied by method 3: " + named);
}

TEST_F(CopyCommand, ServersWithoutBackupHistoryAreNotAskedForIt) {
  context()->setForceBackup(true);
  for (const int type : {2, 3, 5, 6}) {
    SCOPED_TRACE(type);
    // A query of the history fails here: only type 6 may ask for it.
    target->InjectSqlFault("backupset", 1);
    target->SetDbServerType(type);
    EXPECT_EQ(gui().checkRecentBackup(), type != 6);
  }
  target->SetDbServerType(6);
  host::ServerCatalogue(server.serverDir()).recordBackup("DEMO_TARGET", MinutesAgo(30));
  EXPECT_TRUE(gui().checkRecentBackup());
  context()->setForceBackup(false);
  target->InjectSqlFault("backupset", 1);
  EXPECT_TRUE(gui().checkRecentBackup()) << "force backup off: no query";
}

}  // namespace
}  // namespace dpx::test
