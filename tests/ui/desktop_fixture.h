// Test fixture for the desktop tool: a demo server, a host client logged on to
// DEMO_BASE, and the add-on started in it. Modal dialogs and boxes are driven
// by a ModalDriver, which acts on QApplication::activeModalWidget().
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSplitter>
#include <QTimer>

#include "platform/framework/string_table.h"
#include "platform/hostclient/host_client.h"
#include "tests/support/demo_server.h"
#include "ui/duplora_app.h"
#include "ui/gui_manager.h"
#include "ui/main_frame.h"

namespace dpx::test {

// What a modal window showed: its objectName, and its text when it is a box.
struct ModalSeen {
  std::string objectName;
  std::string text;
};

// Acts on each modal window as it appears: the next handler of the script,
// or, with none left, the window is rejected (a box gets its escape button).
//
// A modal window that stays the active one for kPatienceMs while no handler
// is at work on it (its answer did not close it, or it opened from inside a
// handler, where the driver's poll cannot run) fails the test with its name
// and is closed, so that no test waits for ever on a dialog. The watch runs
// on a timer of its own, which fires also while a handler waits in a
// window's event loop.
class ModalDriver {
 public:
  using Handler = std::function<void(QWidget*)>;
  static constexpr int kPatienceMs = 120000;

  ModalDriver() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start();
    watch_.setInterval(500);
    QObject::connect(&watch_, &QTimer::timeout, [this] { watch(); });
    watch_.start();
  }

  std::deque<Handler> script;
  std::vector<ModalSeen> seen;

  // A handler that clicks the child button with that objectName.
  static Handler Click(const std::string& buttonName) {
    return [buttonName](QWidget* w) {
      if (auto* b = w->findChild<QAbstractButton*>(QString::fromStdString(buttonName))) b->click();
    };
  }

  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& s : seen) out.push_back(s.objectName);
    return out;
  }

 private:
  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == last_) return;
    last_ = modal;
    ModalSeen s{modal->objectName().toStdString(), {}};
    if (auto* box = qobject_cast<QMessageBox*>(modal)) s.text = box->text().toStdString();
    seen.push_back(s);
    ++answering_;
    if (!script.empty()) {
      Handler h = std::move(script.front());
      script.pop_front();
      h(modal);
    } else {
      Dismiss(modal);
    }
    --answering_;
  }

  static void Dismiss(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      if (box->escapeButton()) box->escapeButton()->click();
      else if (!box->buttons().isEmpty()) box->buttons().first()->click();
      return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  }

  void watch() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      watched_ = nullptr;
      return;
    }
    // A window whose handler is still at work (it may run a whole copy) is waited for.
    if (modal != watched_ || (modal == last_ && answering_ > 0)) {
      watched_ = modal;
      since_.start();
      return;
    }
    if (since_.elapsed() < kPatienceMs) return;
    ADD_FAILURE() << "the modal window '" << modal->objectName().toStdString() << "' was still open "
                  << kPatienceMs / 1000 << " s after it appeared or was answered";
    since_.start();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
    else modal->close();
  }

  QTimer timer_;
  QTimer watch_;
  QPointer<QWidget> last_;
  QPointer<QWidget> watched_;
  QElapsedTimer since_;
  int answering_ = 0;
};

// The application object with the result of Connect put by the test.
class TestApp : public DPX_DuploraApp {
 public:
  std::function<long(DPX_Duplora&)> connectWith;

 protected:
  long connect(DPX_Duplora& addOn) override {
    return connectWith ? connectWith(addOn) : DPX_DuploraApp::connect(addOn);
  }
};

class DesktopFixture : public ::testing::Test {
 protected:
  static constexpr const char* kEntry = "DPX_@DPX_MNU_MO_OPENAPPLICATION_100";

  DesktopFixture() = default;
  // The demo server's companies on another server type.
  explicit DesktopFixture(int serverType) : server(serverType) {}

  void SetUp() override {
    std::string error;
    ASSERT_TRUE(client.logOn(server.serverDir().string(), user(), user(), "DEMO_BASE", error)) << error;
  }
  void TearDown() override {
    app.reset();
    DPX_GUIManager::destroyInstance();
  }
  virtual std::string user() const { return "manager"; }

  // Starts the add-on in the client.
  bool start() {
    app = std::make_unique<TestApp>();
    return app->InitInstance(client.connectionString());
  }
  DPX_MainFrame* frame() const { return app ? app->mainFrame() : nullptr; }
  QAction* entry() const { return client.menuItem(kEntry); }
  // Chooses "Open Duplora" in the client; the welcome dialog is driven by
  // the driver's script (cancelled when it has none).
  void open() {
    ASSERT_NE(entry(), nullptr);
    entry()->trigger();
  }
  int addOnEntries() const {
    auto* menu = client.findChild<QMenu*>(hostclient::HostClient::kAddOnMenuUid);
    return menu ? static_cast<int>(menu->actions().size()) : -1;
  }
  std::filesystem::path screenshot(const std::string& name) const {
    const auto dir = ProgramFolder() / "screenshots";
    std::filesystem::create_directories(dir);
    return dir / name;
  }

  DemoServerFixture server;
  hostclient::HostClient client;
  ModalDriver modals;
  std::unique_ptr<TestApp> app;
};

}  // namespace dpx::test
