// The worksheet properties dialog: its checks and questions on OK, what it
// hands to the connection context and which company objects it releases, the
// default target file, the force-backup setting each opening writes, and a new
// worksheet that gets its base and target through the dialogs.
#include <fstream>

#include <QFileDialog>
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "engine/settings_manager.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/server_catalogue.h"
#include "tests/ui/dialog_driving.h"
#include "tests/ui/worksheet_fixture.h"
#include "ui/worksheet_properties_form_dlg.h"

namespace dpx::test {
namespace {

constexpr const char* kCurrencies = "2.2.1.1";
constexpr const char* kYes = "6";
constexpr const char* kNo = "7";

// A configuration file with a header only.
void WriteConfigurationFile(const std::filesystem::path& path, bool partial) {
  const std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n<duploraConfigurationFile version=\"1.0\">\n<header>\n"
      "<configurationName>base.xml</configurationName>\n<dbVersion>930100</dbVersion>\n"
      "<localization>GB</localization>\n<creationUser>manager</creationUser>\n<creationDate></creationDate>\n"
      "<additionalDescr></additionalDescr>\n<partialConfiguration>" +
      std::string(partial ? "true" : "false") +
      "</partialConfiguration>\n<backup>false</backup>\n<approval>false</approval>\n<copyMethod>1</copyMethod>\n"
      "<RTCF>0</RTCF>\n<FRFMUDF>false</FRFMUDF>\n</header>\n<body>\n</body>\n</duploraConfigurationFile>\n";
  ASSERT_TRUE(WriteUtf16File(path, text, true));
}

class WorksheetProperties : public WorksheetFixture {
 protected:
  void SetUp() override {
    WorksheetFixture::SetUp();
    partialFile = (server.root() / "partial.xml").string();
    WriteConfigurationFile(partialFile, true);
  }

  // What OK led to: the controller's result, whether the dialog stayed open,
  // and the status-bar text.
  struct Outcome {
    HRESULT result = E_FAIL;
    bool stayed = false;
    std::string status;
  };
  // The properties dialog, `act` on it, then OK; the handlers of the modal
  // windows that open meanwhile follow in the driver's script.
  Outcome properties(std::function<void(DPX_WorksheetPropertiesFormDlg*)> act,
                     std::vector<ModalDriver::Handler> then = {}) {
    Outcome out;
    frame()->setStatusText("", true, 0);
    modals.script.push_back([&, act](QWidget* w) {
      auto* d = qobject_cast<DPX_WorksheetPropertiesFormDlg*>(w);
      ASSERT_NE(d, nullptr) << w->objectName().toStdString();
      Later(d, [&, d, act] {
        if (act) act(d);
        ClickButton(d, "1");
        out.status = frame()->messagePane()->text().toStdString();
        out.stayed = d->isVisible();
        if (out.stayed) d->reject();
      });
    });
    for (auto& h : then) modals.script.push_back(std::move(h));
    out.result = gui().showWorkSheetPropertiesForm();
    return out;
  }
  // A new worksheet on the logged-on company; the context holds nothing else.
  void freshStart(bool worksheetOpen) {
    gui().closeWorksheet(true);
    context()->reset();
    if (!worksheetOpen) return;
    context()->setBaseCompany(context()->getCompany());
    ASSERT_EQ(gui().showWorksheet(), S_OK);
  }
  std::string lastBox() const {
    for (auto it = modals.seen.rbegin(); it != modals.seen.rend(); ++it)
      if (it->objectName == "DPX_MessageBox") return it->text;
    return "";
  }
  std::string header(const char* id) { return Edit(tree(), id).toStdString(); }

  std::string partialFile;
};

TEST_F(WorksheetProperties, OkChecksAsksAndCommitsAsATable) {
  host::ServerCatalogue catalogue(server.serverDir());
  for (const auto& [db, version] : {std::pair{"V1000", 1000}, {"V999", 999}, {"V930150", 930150}}) {
    catalogue.createCompany({db, std::string("Version ") + db, version, "GB", 6});
    catalogue.addUser(db, "manager", "Manager", "manager", true);
  }
  std::shared_ptr<host::Company> target;
  struct Case {
    const char* name;
    bool worksheetOpen;
    std::function<void()> arrange;  // the context before the dialog
    std::function<void(DPX_WorksheetPropertiesFormDlg*)> act;
    std::vector<ModalDriver::Handler> then;
    std::string shown;  // the status text, or the last question
    bool accepted;
    std::function<void()> check;  // afterwards
  };
  const std::string selectionsRemoved =
      "Changing the base configuration / company (database) will remove all the selections made in the worksheet.  "
      "Continue?";
  const Case cases[] = {
      {"nothing changed", true, [&] { tick(kCurrencies); worksheet()->setModified(false); }, {}, {}, "", false,
       [&] {
         EXPECT_FALSE(worksheet()->isModified());
         EXPECT_EQ(state(kCurrencies), 1) << "nothing re-read";
       }},
      {"company base without a name", false, {}, {}, {}, "Select a source company", false, {}},
      {"file base without a file", false, {}, [](auto* d) { d->template findChild<QRadioButton*>("1012")->setChecked(true); },
       {}, "Select a source file", false, {}},
      {"target the same company as the base", false,
       [&] {
         context()->setBaseCompany(context()->getCompany());
         context()->setTargetCompany(server.base());
       },
       {}, {}, "Choose a target different from the source.", false, {}},
      {"base version 1000, target 999", false,
       [&] {
         context()->setBaseCompany(server.connect("V1000"));
         context()->setTargetCompany(server.connect("V999"));
       },
       {}, {}, "Cannot copy when base version is higher than target version.", false, {}},
      {"930150 against 930100", false,
       [&] {
         context()->setBaseCompany(server.connect("V930150"));
         context()->setTargetCompany(target = server.target());
       },
       {}, {}, "", true, [&] { EXPECT_EQ(context()->getTargetCompany(), target); }},
      {"base change with a modified worksheet, No", true, [&] { worksheet()->setModified(true); },
       [](auto* d) { ClickButton(d, "1015"); }, {ChooseCompany("DEMO_TARGET"), ModalDriver::Click(kNo)},
       selectionsRemoved, false, [&] { EXPECT_EQ(context()->getBaseCompany(), context()->getCompany()); }},
      {"localizations differ, Yes", false,
       [&] {
         context()->setBaseCompany(context()->getCompany());
         context()->setTargetCompany(target = server.target());
       },
       {}, {ModalDriver::Click(kYes)},
       "Target and base localizations are different. To avoid corruption of the target database, certain categories "
       "cannot be copied between different localizations and will be disabled. Continue?",
       true,
       [&] {
         EXPECT_EQ(context()->getTargetCompany(), target);
         EXPECT_TRUE(target->Connected());
         EXPECT_EQ(context()->getTargetName(), "Demo Target & Sons");
       }},
      {"partial configuration file as a new base", false, {},
       [&](auto* d) {
         d->template findChild<QRadioButton*>("1012")->setChecked(true);
         SetEdit(d, "1014", QString::fromStdString(partialFile));
       },
       {ModalDriver::Click(kNo)},
       "Some content is saved in the XML file without additional information it may depend on. This may result in a "
       "failure to copy the content to target databases. Continue?",
       false, [&] { EXPECT_EQ(context()->getBaseFile(), ""); }},
      {"partial configuration file kept as the base", false,
       [&] {
         context()->setBaseFile(partialFile);
         ASSERT_EQ(gui().showWorksheet(), S_OK);
       },
       [](auto* d) { SetEdit(d, "1017", "Elsewhere"); }, {}, "", true,
       [&] { EXPECT_EQ(context()->getBaseFile(), partialFile); }},
      {"target typed by hand", true,
       [&] {
         context()->setTargetCompany(target = server.target());
         tick(kCurrencies);
       },
       [](auto* d) { SetEdit(d, "1017", "Somewhere Else"); }, {}, "", true,
       [&] {
         EXPECT_EQ(context()->getTargetName(), "Somewhere Else");
         EXPECT_EQ(context()->getTargetCompany(), nullptr);
         EXPECT_FALSE(target->Connected()) << "the context's target is released";
         EXPECT_EQ(header("906"), "Somewhere Else") << "the header is refreshed";
         EXPECT_EQ(state(kCurrencies), 1) << "the tree is not refilled";
         EXPECT_TRUE(worksheet()->isModified());
       }},
      {"base changed", true, [&] { tick(kCurrencies); worksheet()->setModified(false); },
       [](auto* d) { ClickButton(d, "1015"); }, {ChooseCompany("DEMO_TARGET")}, "", true,
       [&] {
         EXPECT_EQ(context()->getBaseCompany()->CompanyDB(), "DEMO_TARGET");
         EXPECT_EQ(header("903"), "Demo Target & Sons");
         EXPECT_EQ(worksheet()->getSourceDB(), "DEMO_TARGET");
         EXPECT_EQ(state(kCurrencies), 0) << "the worksheet was re-read";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    freshStart(c.worksheetOpen);
    if (c.arrange) c.arrange();
    const size_t seen = modals.seen.size();
    const Outcome out = properties(c.act, c.then);
    EXPECT_EQ(out.result == S_OK, c.accepted);
    EXPECT_EQ(out.stayed, !c.accepted && !c.shown.empty());
    const bool asked = modals.seen.size() > seen + 1 && modals.seen.back().objectName == "DPX_MessageBox";
    EXPECT_EQ(asked ? lastBox() : out.status, c.shown);
    if (c.check) c.check();
    EXPECT_TRUE(context()->getCompany()->Connected()) << "the logged-on company stays connected";
  }
}

TEST_F(WorksheetProperties, OkReleasesExactlyWhatTheContextDidNotTakeAndCancelNothing) {
  host::ServerCatalogue(server.serverDir()).createCompany({"THIRD", "Third Ltd.", 930100, "GB", 6});
  host::ServerCatalogue(server.serverDir()).addUser("THIRD", "manager", "Manager", "manager", true);
  freshStart(false);
  const auto oldBase = server.connect("DEMO_BASE", "clerk", "clerk");  // not the logged-on connection
  const auto oldTarget = server.target();
  context()->setBaseCompany(oldBase);
  context()->setTargetCompany(oldTarget);
  context()->setTargetName("Demo Target & Sons");

  // Cancel after choosing another base and typing another target.
  modals.script.push_back([&](QWidget* w) {
    Later(w, [&, w] {
      ClickButton(w, "1015");
      SetEdit(w, "1017", "Typed");
      static_cast<QDialog*>(w)->reject();
    });
  });
  modals.script.push_back(ChooseCompany("THIRD"));
  EXPECT_EQ(gui().showWorkSheetPropertiesForm(), S_FALSE);
  EXPECT_EQ(context()->getBaseCompany(), oldBase);
  EXPECT_EQ(context()->getTargetCompany(), oldTarget);
  EXPECT_EQ(context()->getTargetName(), "Demo Target & Sons");
  EXPECT_TRUE(oldBase->Connected());
  EXPECT_TRUE(oldTarget->Connected());

  // A new base company: the old base is released, the target kept.
  Outcome out = properties([](auto* d) { ClickButton(d, "1015"); }, {ChooseCompany("THIRD")});
  ASSERT_EQ(out.result, S_OK) << out.status;
  const auto third = context()->getBaseCompany();
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->CompanyDB(), "THIRD");
  EXPECT_TRUE(third->Connected());
  EXPECT_FALSE(oldBase->Connected());
  EXPECT_EQ(context()->getTargetCompany(), oldTarget);
  EXPECT_TRUE(oldTarget->Connected());

  // A file base and a typed target: both companies are released.
  out = properties(
      [&](auto* d) {
        d->template findChild<QRadioButton*>("1012")->setChecked(true);
        SetEdit(d, "1014", QString::fromStdString(partialFile));
        SetEdit(d, "1017", "Typed");
      },
      {ModalDriver::Click(kYes)});
  ASSERT_EQ(out.result, S_OK) << out.status;
  EXPECT_EQ(context()->getBaseCompany(), nullptr);
  EXPECT_EQ(context()->getBaseFile(), partialFile);
  EXPECT_EQ(context()->getTargetCompany(), nullptr);
  EXPECT_FALSE(third->Connected());
  EXPECT_FALSE(oldTarget->Connected());
  EXPECT_TRUE(context()->getCompany()->Connected());
}

TEST_F(WorksheetProperties, TheDefaultTargetFileFollowsTheBase) {
  freshStart(false);
  context()->setBaseCompany(context()->getCompany());
  std::vector<std::string> proposed;
  auto readProposal = [&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr) << w->objectName().toStdString();
    proposed.push_back(std::filesystem::path(dialog->selectedFiles().value(0).toStdString()).filename().string());
    static_cast<QDialog*>(dialog)->reject();
  };
  modals.script.push_back([&](QWidget* w) {
    Later(w, [&, w] {
      ClickButton(w, "1020");
      w->findChild<QRadioButton*>("1012")->setChecked(true);
      SetEdit(w, "1014", QString::fromStdString(partialFile));
      ClickButton(w, "1020");
      w->show();
      QTest::qWait(20);
      EXPECT_TRUE(w->grab().save(QString::fromStdString(screenshot("worksheet-properties.png").string())));
      static_cast<QDialog*>(w)->reject();
    });
  });
  modals.script.push_back(readProposal);
  modals.script.push_back(readProposal);
  EXPECT_EQ(gui().showWorkSheetPropertiesForm(), S_FALSE);
  EXPECT_EQ(proposed, (std::vector<std::string>{"Demo Base Ltd._config.xml", "partial.xml_config.xml"}));
}

TEST_F(WorksheetProperties, ANewWorksheetGetsItsBaseAndTargetThroughTheDialogs) {
  freshStart(false);
  modals.script.push_back(ModalDriver::Click("1"));  // welcome: a new worksheet
  modals.script.push_back([&](QWidget* w) {
    Later(w, [w] {
      ClickButton(w, "1015");
      ClickButton(w, "1019");
      ClickButton(w, "1");
    });
  });
  modals.script.push_back(ChooseCompany("DEMO_BASE"));
  modals.script.push_back(ChooseCompany("DEMO_TARGET"));
  modals.script.push_back(ModalDriver::Click(kYes));  // the localizations differ
  ASSERT_EQ(gui().showWelcomeForm(), S_OK);
  ASSERT_TRUE(gui().isWorksheetOpen());
  EXPECT_EQ(header("903"), "Demo Base Ltd.");
  EXPECT_EQ(header("906"), "Demo Target & Sons");

  const auto sheet = server.root() / "new-sheet.xml";
  modals.script = {ChooseFile(sheet.string())};
  ASSERT_EQ(gui().saveWorksheet(true, true), S_OK);
  const std::string text = ReadUtf16Text(sheet);
  for (const char* element : {"<sourceDB>DEMO_BASE</sourceDB>", "<targetDB>DEMO_TARGET</targetDB>",
                              "<targetCompanyName>Demo Target &amp; Sons</targetCompanyName>",
                              "<copyMethod>1</copyMethod>"})
    EXPECT_NE(text.find(element), std::string::npos) << element << "\n" << text;

  // Opened again, the worksheet asks for its target, which is not the logged-on company.
  ASSERT_EQ(gui().closeWorksheet(true), S_OK);
  modals.script = {ChooseFile(sheet.string()), ChooseCompany("DEMO_TARGET")};
  ASSERT_EQ(gui().openWorksheet(), S_OK);
  EXPECT_EQ(modals.names().back(), "DPX_ChooseCompanyFormDlg");
  ASSERT_NE(context()->getTargetCompany(), nullptr);
  EXPECT_TRUE(context()->getTargetCompany()->Connected());
  EXPECT_EQ(header("906"), "Demo Target & Sons");
}

// Each opening of the dialog writes the force-backup flag by the server type of
// the logged-on company: off where the server keeps no backup history.
class ForceBackupOnOpening : public DesktopFixture, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(client.logOn(typed.serverDir().string(), "manager", "manager", "DEMO_BASE", error)) << error;
  }
  DemoServerFixture typed{GetParam(), false};
};

TEST_P(ForceBackupOnOpening, TheFlagFollowsTheServerType) {
  ASSERT_TRUE(start());
  auto* context = DPX_GUIManager::getInstance().getContext();
  const bool expected = GetParam() != 5;
  DPX_SettingsManager settings(context);
  ASSERT_EQ(settings.getSettingsFromDatabase(), S_OK);
  settings.setForceBackup(!expected);
  ASSERT_EQ(settings.saveSettingsToDatabase(), S_OK);
  EXPECT_EQ(DPX_GUIManager::getInstance().showWorkSheetPropertiesForm(), S_FALSE);  // cancelled by the driver
  ASSERT_EQ(settings.getSettingsFromDatabase(), S_OK);
  EXPECT_EQ(settings.getForceBackup(), expected);
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, ForceBackupOnOpening, ::testing::Values(5, 6));

}  // namespace
}  // namespace dpx::test
