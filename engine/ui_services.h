// What the engine and the worksheet layer need of the desktop user interface:
// the main frame's status bar and progress display, message boxes, the host
// client's language, two dialogs, the tree form and the wait cursor.
// The desktop UI implements this interface; headless programs and tests
// install their own. Everything runs on the one GUI thread.
#pragma once

#include <cstdint>
#include <string>

class DPX_CompanyHandle;
class DPX_ConfigurationManager;

namespace dpx {

// Message-box styles and answers, as the host's message box numbers them.
namespace mb {
constexpr uint32_t kOk = 0x0;
constexpr uint32_t kYesNoCancel = 0x3;
constexpr uint32_t kYesNo = 0x4;
constexpr uint32_t kIconError = 0x10;
constexpr uint32_t kIconQuestion = 0x20;
constexpr uint32_t kIconWarning = 0x30;
constexpr uint32_t kIconInformation = 0x40;
constexpr uint32_t kDefaultButton2 = 0x100;
constexpr uint32_t kDefaultButton3 = 0x200;
constexpr uint32_t kSetForeground = 0x10000;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;
}  // namespace mb

class UiServices {
 public:
  virtual ~UiServices() = default;

  // Status bar: text, normal (true) or bold font, time-out in ms (0 keeps it).
  virtual void setStatusText(const std::string& text, bool normalFont, uint32_t timeoutMs) = 0;
  virtual void setProgressRange(const std::string& text, uint16_t lower, uint16_t upper) = 0;
  virtual void setProgressPos(int32_t pos) = 0;

  // A message box with the given style flags; returns the answer (mb::kId...).
  virtual int messageBox(const std::string& text, const std::string& caption, uint32_t flags) = 0;

  // The host client's current language.
  virtual int getLanguage() = 0;

  // The configuration manager the GUI keeps for the open worksheet (may be null).
  virtual DPX_ConfigurationManager* getConfigurationManager() = 0;

  // Save-file dialog: 0 with the chosen path in `path`, 1 when cancelled.
  virtual int showSaveFileForm(const std::string& caption, const std::string& initialFolder, std::string& path,
                               const std::string& extension, uint32_t filterStringId) = 0;

  // Choose-company dialog: 0 after OK (the handle then describes the chosen,
  // connected company), 1 otherwise.
  virtual int showChooseCompanyForm(DPX_CompanyHandle& company, const std::string& companyName) = 0;

  // Brings the open worksheet up to date with the tree's state before a save.
  virtual void updateCurrentWorksheet() = 0;

  virtual void beginWaitCursor() = 0;
  virtual void endWaitCursor() = 0;
};

// A UI that shows nothing: status and progress are dropped, every question is
// answered with its default button, dialogs are cancelled.
class NullUiServices : public UiServices {
 public:
  void setStatusText(const std::string&, bool, uint32_t) override {}
  void setProgressRange(const std::string&, uint16_t, uint16_t) override {}
  void setProgressPos(int32_t) override {}
  int messageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  int getLanguage() override;
  DPX_ConfigurationManager* getConfigurationManager() override { return nullptr; }
  int showSaveFileForm(const std::string&, const std::string&, std::string&, const std::string&, uint32_t) override {
    return 1;
  }
  int showChooseCompanyForm(DPX_CompanyHandle&, const std::string&) override { return 1; }
  void updateCurrentWorksheet() override {}
  void beginWaitCursor() override {}
  void endWaitCursor() override {}
};

// The process-wide UI services. Never null: a NullUiServices until a UI
// installs itself. The caller keeps ownership of what it installs.
UiServices& Ui();
void SetUi(UiServices* ui);

// Brackets a long operation with the wait cursor.
class WaitCursor {
 public:
  WaitCursor() { Ui().beginWaitCursor(); }
  ~WaitCursor() { Ui().endWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace dpx
