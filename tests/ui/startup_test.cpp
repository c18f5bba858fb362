// Start-up of the desktop tool inside the host client: the connection, the
// superuser gate, the host's events, the menus and the main frame.
#include <set>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QTest>

#include "engine/connection_context.h"
#include "engine/settings_manager.h"
#include "platform/host/company.h"
#include "tests/ui/desktop_fixture.h"
#include "ui/duplora.h"
#include "ui/my_dispatch.h"
#include "ui/tools_manager.h"

namespace dpx::test {
namespace {

using Startup = DesktopFixture;

TEST_F(Startup, AnEmptyConnectionStringMakesNoAddOnAndNoWindow) {
  app = std::make_unique<TestApp>();
  bool tried = false;
  app->connectWith = [&](DPX_Duplora&) {
    tried = true;
    return 0L;
  };
  EXPECT_FALSE(app->InitInstance(""));
  EXPECT_FALSE(tried);
  EXPECT_EQ(app->addOn(), nullptr);
  EXPECT_EQ(app->mainFrame(), nullptr);
  EXPECT_TRUE(modals.seen.empty());
}

TEST_F(Startup, ConnectResultsDecideWhetherTheWindowIsMade) {
  struct Case {
    const char* name;
    std::function<long(DPX_Duplora&)> connect;
    bool started;
    std::string box;
  };
  const Case cases[] = {
      {"one", [](DPX_Duplora& a) { a.Connect(0); return 1L; }, false, DPX_DuploraApp::kConnectFailed},
      {"negative", [](DPX_Duplora&) { return -1L; }, false, DPX_DuploraApp::kConnectFailed},
      {"host error", [](DPX_Duplora&) -> long { throw HostError(E_FAIL, "x", "The client said no"); }, false,
       "The client said no"},
      {"other exception", [](DPX_Duplora&) -> long { throw std::runtime_error("boom"); }, false,
       DPX_DuploraApp::kConnectFailed},
      {"zero", [](DPX_Duplora& a) { return a.Connect(0); }, true, ""},
      {"two", [](DPX_Duplora& a) { a.Connect(0); return 2L; }, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    modals.seen.clear();
    app = std::make_unique<TestApp>();
    app->connectWith = c.connect;
    EXPECT_EQ(app->InitInstance(client.connectionString()), c.started);
    if (c.started) {
      ASSERT_NE(frame(), nullptr);
      EXPECT_FALSE(frame()->isVisible());
      EXPECT_TRUE(modals.seen.empty());
    } else {
      EXPECT_EQ(frame(), nullptr);
      EXPECT_EQ(app->addOn(), nullptr);
      ASSERT_EQ(modals.seen.size(), 1u);
      EXPECT_EQ(modals.seen[0].objectName, "DPX_DuploraAppError");
      EXPECT_EQ(modals.seen[0].text, c.box);
    }
    app.reset();
    DPX_GUIManager::destroyInstance();
  }
}

TEST_F(Startup, AConnectionStringNamingNoClientShowsTheFrameworksText) {
  app = std::make_unique<TestApp>();
  EXPECT_FALSE(app->InitInstance("HostClient:nobody"));
  ASSERT_EQ(modals.seen.size(), 1u);
  EXPECT_NE(modals.seen[0].text.find("HostClient:nobody"), std::string::npos) << modals.seen[0].text;
}

TEST_F(Startup, StartedItAddsTheEntryAndKeepsTheFrameHidden) {
  ASSERT_TRUE(start());
  ASSERT_NE(entry(), nullptr);
  EXPECT_EQ(entry()->text(), "Open Duplora");
  EXPECT_TRUE(entry()->isEnabled());
  EXPECT_FALSE(frame()->isVisible());
  const auto& form = client.form(hostclient::HostClient::kMenuForm, 1);
  EXPECT_EQ(form.freezeDepth, 0) << "the form is thawed after every batch";
  EXPECT_GE(form.updates, 2) << "the removal and the add batch";
}

class ClerkStartup : public DesktopFixture {
  std::string user() const override { return "clerk"; }
};

TEST_F(ClerkStartup, AnOrdinaryUserIsToldOnceAndNothingElseHappens) {
  EXPECT_FALSE(start());
  ASSERT_EQ(modals.seen.size(), 1u);
  EXPECT_EQ(modals.seen[0].objectName, "HostClientMessageBox");
  EXPECT_EQ(modals.seen[0].text, "User 'clerk' is not a superuser. Access is denied.");
  EXPECT_EQ(frame(), nullptr);
  EXPECT_EQ(addOnEntries(), 0);
  EXPECT_TRUE(client.company()->Connected()) << "the gate never logs the client off";
  client.setLanguage(kHostLanguageGerman);
  client.exitClient();
  EXPECT_EQ(modals.seen.size(), 1u);
}

TEST_F(ClerkStartup, TheSinkWithoutAContextIgnoresEveryLaterEvent) {
  MyDispatch sink;
  auto company = client.newAddOnCompany();
  EXPECT_EQ(sink.OnApplicationLoad(&client, company), E_FAIL);
  EXPECT_FALSE(company->Connected());
  EXPECT_EQ(sink.context(), nullptr);
  bool bubble = true;
  EXPECT_EQ(sink.OnMenuEvent({kEntry, true}, bubble), S_OK);
  EXPECT_EQ(sink.OnChangeLanguage(), S_OK);
  EXPECT_EQ(sink.OnApplicationUnload(), S_OK);
  EXPECT_EQ(sink.OnCompanyEvent(client.newAddOnCompany()), S_OK);
  EXPECT_FALSE(DPX_GUIManager::getInstance().isStarted());
  EXPECT_EQ(modals.seen.size(), 1u);
}

TEST_F(Startup, OnlyTheEntrysOwnMenuEventBeforeActionStartsTheWindow) {
  ASSERT_TRUE(start());
  auto* sink = static_cast<MyDispatch*>(app->addOn()->sink());
  auto& gui = DPX_GUIManager::getInstance();
  struct Case {
    std::string uid;
    bool before;
  };
  for (const Case& c : {Case{kEntry, false}, Case{"DPX_@OTHER", true},
                        Case{"dpx_@dpx_mnu_mo_openapplication_100", true}}) {
    SCOPED_TRACE(c.uid);
    bool bubble = true;
    EXPECT_EQ(sink->OnMenuEvent({c.uid, c.before}, bubble), S_OK);
    EXPECT_TRUE(bubble);
    EXPECT_FALSE(gui.isStarted());
  }
  bool bubble = true;
  EXPECT_EQ(sink->OnMenuEvent({kEntry, true}, bubble), S_OK);
  EXPECT_TRUE(gui.isStarted());
  EXPECT_TRUE(frame()->isVisible());
  EXPECT_EQ(modals.names(), std::vector<std::string>{"DPX_WelcomeFormDlg"});
  EXPECT_EQ(sink->OnMenuEvent({kEntry, true}, bubble), S_OK) << "already started";
  EXPECT_EQ(modals.seen.size(), 1u);
}

TEST_F(Startup, AfterStartWithoutAWorksheetTheRulesDecideEveryCommand) {
  ASSERT_TRUE(start());
  open();
  ASSERT_TRUE(frame()->isVisible());
  EXPECT_TRUE(frame()->isMaximized());
  EXPECT_EQ(frame()->windowTitle(), "Vorn Quillon Duplora");
  const std::set<uint32_t> expected = {500, 504, 506, 507, 508, 515, 516, 523, 524};
  for (const auto& e : DPX_GUIManager::getInstance().menuStateTable().entries()) {
    SCOPED_TRACE(e.id);
    EXPECT_EQ(e.enabled, expected.count(e.id) > 0);
    if (QAction* command = frame()->command(e.id)) {
      EXPECT_EQ(command->isEnabled(), e.enabled);
    }
  }
  EXPECT_FALSE(entry()->isEnabled());
  EXPECT_TRUE(frame()->findChild<QMenu*>("500")->isEnabled());
  EXPECT_FALSE(frame()->findChild<QMenu*>("501")->isEnabled()) << "the Edit menu waits for a worksheet";
  EXPECT_EQ(frame()->command(512)->text(), "Copy Configuration to Target Company...");
  EXPECT_FALSE(frame()->command(513)->isEnabled()) << "Print stays off";
}

TEST_F(Startup, ExitAndTheCloseBoxHideTheFrameAndEnableTheEntryAgain) {
  ASSERT_TRUE(start());
  for (const char* how : {"exit", "close box"}) {
    SCOPED_TRACE(how);
    open();
    ASSERT_TRUE(frame()->isVisible());
    QPointer<DPX_MainFrame> kept = frame();
    if (std::string(how) == "exit") frame()->command(516)->trigger();
    else frame()->close();
    ASSERT_FALSE(kept.isNull()) << "never destroyed";
    EXPECT_FALSE(frame()->isVisible());
    EXPECT_TRUE(entry()->isEnabled());
    EXPECT_FALSE(DPX_GUIManager::getInstance().isStarted());
  }
}

TEST_F(Startup, ALanguageChangeRelabelsTheOneEntryAndTheFiveMenus) {
  ASSERT_TRUE(start());
  open();
  client.setLanguage(kHostLanguageGerman);
  EXPECT_EQ(addOnEntries(), 1);
  ASSERT_NE(entry(), nullptr);
  EXPECT_EQ(entry()->text(), "Duplora öffnen");
  EXPECT_FALSE(entry()->isEnabled()) << "the window is still open";
  const QStringList german = {"Datei", "Bearbeiten", "Ansicht", "Daten", "Hilfe"};
  const auto items = frame()->menuBar()->actions();
  ASSERT_EQ(items.size(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(items[i]->text(), german[i]);
  EXPECT_EQ(frame()->command(516)->text(), "Beenden");
}

TEST_F(Startup, TheMenuStateTableDecidesTheMenusAndEveryEntryOf505) {
  ASSERT_TRUE(start());
  std::vector<bool> states;
  QObject::connect(entry(), &QAction::changed, [&] { states.push_back(entry()->isEnabled()); });
  DPX_MenuStateTable table;
  table.add(505, false);
  table.add(505, true);
  table.add(506, true);
  ASSERT_EQ(DPX_GUIManager::getInstance().getToolsManager()->enableMenu(table), S_OK);
  EXPECT_EQ(states, (std::vector<bool>{false, true})) << "two client calls, in table order";
  for (const char* menu : {"500", "501", "502", "503", "504"}) EXPECT_FALSE(frame()->findChild<QMenu*>(menu)->isEnabled());
  EXPECT_TRUE(frame()->command(506)->isEnabled());
}

TEST_F(Startup, ATimedStatusTextClearsItselfAndANewTextCancelsThePendingClear) {
  ASSERT_TRUE(start());
  QLabel* pane = frame()->findChild<QLabel*>("messagePane");
  ASSERT_NE(pane, nullptr);
  const QFont normal = pane->font();
  frame()->setStatusText("Copying", false, 30);
  EXPECT_EQ(pane->text(), "Copying");
  EXPECT_TRUE(pane->font().bold());
  QTRY_COMPARE_WITH_TIMEOUT(pane->text(), QString(), 2000);
  EXPECT_FALSE(pane->font().bold());

  frame()->setStatusText("first", true, 30);
  frame()->setStatusText("second", true, 0);
  EXPECT_FALSE(frame()->statusTimerActive());
  QTest::qWait(80);
  EXPECT_EQ(pane->text(), "second");

  frame()->setProgressRange("Reading", 0, 40);
  frame()->setProgressPos(10);
  auto* progress = frame()->findChild<QProgressBar*>("499");
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->maximum(), 40);
  EXPECT_EQ(progress->value(), 10);
}

TEST_F(Startup, HelpOpensTheFileOfTheHostLanguageOrTheEnglishOne) {
  EXPECT_EQ(DPX_GUIManager::helpFilePath("/opt/p", "pt"), "/opt/p/Help_DPXDuplora_EN.chm");
  EXPECT_EQ(DPX_GUIManager::helpFilePath("/opt/p/", "PT"), "/opt/p/Help_DPXDuplora_PT.chm");
  ASSERT_TRUE(start());
  std::vector<std::string> opened;
  DPX_GUIManager::getInstance().setHelpOpener([&](const std::string& t) { opened.push_back(t); });
  client.setLanguage(kHostLanguageGerman);
  frame()->command(523)->trigger();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "file:///" + (ProgramFolder() / "Help_DPXDuplora_DE.chm").string());
}

TEST_F(Startup, TheWelcomeDialogsDefaultTakesTheNewWorksheetRoadAndCancelDoesNothing) {
  ASSERT_TRUE(start());
  auto* context = DPX_GUIManager::getInstance().getContext();
  DPX_SettingsManager settings(context);
  ASSERT_EQ(settings.getSettingsFromDatabase(), S_OK);
  settings.setCopyMethod(4);
  settings.setForceBackup(false);
  ASSERT_EQ(settings.saveSettingsToDatabase(), S_OK);

  modals.script.push_back(ModalDriver::Click("2"));
  EXPECT_EQ(DPX_GUIManager::getInstance().showWelcomeForm(), S_FALSE);
  DPX_SettingsManager after(context);
  ASSERT_EQ(after.getSettingsFromDatabase(), S_OK);
  EXPECT_EQ(after.getCopyMethod(), 4) << "Cancel changes nothing";

  modals.script.push_back([](QWidget* w) {
    EXPECT_EQ(w->windowTitle(), "Welcome to Duplora");
    EXPECT_EQ(w->findChild<QAbstractButton*>("1010")->text(), "Existing Duplora Worksheet");
    w->findChild<QAbstractButton*>("1")->click();
  });
  // The worksheet properties dialog comes next; cancelled, the road stops there with 1.
  EXPECT_EQ(DPX_GUIManager::getInstance().showWelcomeForm(), S_FALSE);
  ASSERT_EQ(after.getSettingsFromDatabase(), S_OK);
  EXPECT_EQ(after.getCopyMethod(), 1);
  EXPECT_TRUE(after.getForceBackup());
}

TEST_F(Startup, UnloadDisablesThenRemovesTheEntry) {
  ASSERT_TRUE(start());
  open();
  std::vector<std::string> steps;
  QObject::connect(entry(), &QAction::changed, [&, e = entry()] { steps.push_back(e->isEnabled() ? "on" : "off"); });
  QObject::connect(entry(), &QObject::destroyed, [&] { steps.push_back("removed"); });
  client.exitClient();
  EXPECT_EQ(steps.back(), "removed");
  EXPECT_EQ(std::count(steps.begin(), steps.end(), std::string("removed")), 1);
  EXPECT_FALSE(frame()->isVisible());
  EXPECT_EQ(addOnEntries(), 0);
}

TEST_F(Startup, ACompanyChangeUnloadsAndAddsNoNewEntry) {
  ASSERT_TRUE(start());
  std::string error;
  ASSERT_TRUE(client.changeCompany("DEMO_TARGET", error)) << error;
  EXPECT_EQ(addOnEntries(), 0);
  EXPECT_FALSE(DPX_GUIManager::getInstance().isStarted());
}

TEST_F(Startup, ScreenshotOfTheStartedMainWindow) {
  ASSERT_TRUE(start());
  open();
  frame()->setStatusText("Ready", true, 0);
  QTest::qWait(20);
  EXPECT_TRUE(frame()->grab().save(QString::fromStdString(screenshot("main-window.png").string())));
}

}  // namespace
}  // namespace dpx::test
