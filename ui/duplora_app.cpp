#include "ui/duplora_app.h"

#include <QMessageBox>

#include "categories/category_classes.h"
#include "engine/settings_manager.h"
#include "engine/ui_services.h"
#include "platform/framework/log_scope.h"
#include "ui/duplora.h"
#include "ui/gui_manager.h"
#include "ui/main_frame.h"
#include "ui/qt_ui_services.h"

namespace {
DPX_DuploraApp* g_app = nullptr;
}

DPX_DuploraApp::DPX_DuploraApp() { g_app = this; }

DPX_DuploraApp::~DPX_DuploraApp() {
  ExitInstance();
  if (g_app == this) g_app = nullptr;
}

DPX_DuploraApp* DPX_DuploraApp::instance() { return g_app; }

DPX_MainFrame* DPX_DuploraApp::MainFrame() { return g_app ? g_app->mainFrame() : nullptr; }

long DPX_DuploraApp::connect(DPX_Duplora& addOn) { return addOn.Connect(0); }

void DPX_DuploraApp::installUi() {
  if (ui_) return;
  ui_ = std::make_unique<DPX_QtUiServices>();
  previousUi_ = &dpx::Ui();
  dpx::SetUi(ui_.get());
}

bool DPX_DuploraApp::InitInstance(const std::string& commandLine) {
  dpx::DPX_LogScope log("DPX_DuploraApp::InitInstance");
  connectionString_ = commandLine;
  if (connectionString_.empty()) return false;
  RegisterCategoryClasses();
  installUi();

  addOn_ = std::make_unique<DPX_Duplora>(connectionString_);
  long result = 0;
  std::string message;
  try {
    result = connect(*addOn_);
  } catch (const dpx::HostError& e) {
    result = e.code();
    message = e.description().empty() ? dpx::StatusMessage(e.code()) : e.description();
  } catch (const std::exception& e) {
    log.LogError("Connect failed: %s", e.what());
    result = dpx::E_FAIL;
  }
  if (result < 0 || result == 1) {
    addOn_.reset();
    QMessageBox box(QMessageBox::Critical, kCaption, message.empty() ? kConnectFailed : QString::fromStdString(message));
    box.setObjectName("DPX_DuploraAppError");
    box.exec();
    return false;
  }
  // An application load that failed (the superuser gate) left no context:
  // the add-on ends here; the client has already said why.
  if (!DPX_GUIManager::getInstance().getContext()) {
    addOn_.reset();
    return false;
  }
  openProgramLog();

  frame_ = std::make_unique<DPX_MainFrame>();
  DPX_GUIManager::getInstance().initializeMainWindow();
  addOn_->SetWndHandle(frame_.get());
  return true;
}

void DPX_DuploraApp::openProgramLog() {
  // The engine's own lines go to the program's log in the settings' log
  // folder; only when that log cannot be written do its errors reach stderr.
  DPX_SettingsManager settings(DPX_GUIManager::getInstance().getContext());
  if (settings.getSettingsFromDatabase() < 0) return;
  constexpr auto kNothing = static_cast<dpx::LogLevel>(-1);
  dpx::LogSink::Configure(settings.getLogFileFolder(), dpx::LogLevel::Warning, kNothing);
  if (dpx::LogSink::FilePath().empty()) dpx::LogSink::SetStderrLevel(dpx::LogLevel::Error);
  logOpened_ = true;
}

int DPX_DuploraApp::ExitInstance() {
  // The window and the controller go before the add-on, whose sink owns the
  // connection context they use.
  frame_.reset();
  DPX_GUIManager::destroyInstance();
  addOn_.reset();
  if (ui_) {
    dpx::SetUi(previousUi_);
    ui_.reset();
  }
  if (logOpened_) {
    dpx::LogSink::Configure({}, dpx::LogLevel::Info, dpx::LogLevel::Error);
    logOpened_ = false;
  }
  return 0;
}
