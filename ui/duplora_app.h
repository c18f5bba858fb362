// The application object: turns the command line into the add-on connection
// string, makes the add-on object and connects it to the host client, makes
// the main window hidden, and installs the engine's user-interface services.
// One exists while the add-on runs; the GUI controller and the engine's status
// operations reach the main window through it.
#pragma once

#include <memory>
#include <string>

#include "platform/framework/host_error.h"

class DPX_Duplora;
class DPX_MainFrame;
class DPX_QtUiServices;

namespace dpx {
class UiServices;
}

class DPX_DuploraApp {
 public:
  static constexpr const char* kCaption = "Vorn Quillon Duplora";
  static constexpr const char* kConnectFailed = "Failed to connect to Vorn Quillon";

  DPX_DuploraApp();
  virtual ~DPX_DuploraApp();
  DPX_DuploraApp(const DPX_DuploraApp&) = delete;
  DPX_DuploraApp& operator=(const DPX_DuploraApp&) = delete;

  // Start-up; false ends the add-on (ExitInstance must still run).
  bool InitInstance(const std::string& commandLine);
  int ExitInstance();

  // The running application object, and its main window (null when none).
  static DPX_DuploraApp* instance();
  static DPX_MainFrame* MainFrame();

  const std::string& connectionString() const { return connectionString_; }
  DPX_Duplora* addOn() const { return addOn_.get(); }
  DPX_MainFrame* mainFrame() const { return frame_.get(); }

 protected:
  // Attaches the add-on to the client (tests put their own results here).
  virtual long connect(DPX_Duplora& addOn);

 private:
  void installUi();
  // The engine's log lines to the program's log in the settings' log folder.
  void openProgramLog();

  std::string connectionString_;
  std::unique_ptr<DPX_Duplora> addOn_;
  std::unique_ptr<DPX_MainFrame> frame_;
  std::unique_ptr<DPX_QtUiServices> ui_;
  dpx::UiServices* previousUi_ = nullptr;
  bool logOpened_ = false;
};
