// A user interface for tests: records every status text, progress call, message
// box and dialog, and answers questions and dialogs from a script. Made, it
// installs itself as the process's UI; destroyed, it puts back the one before.
//
//   dpx::test::ScriptedUi ui;
//   ui.answers = {dpx::mb::kIdYes};          // the next message box says Yes
//   ... run the operation ...
//   EXPECT_EQ(ui.boxes.at(0).caption, "Vorn Quillon Duplora");
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ui_services.h"
#include "platform/framework/string_table.h"

namespace dpx::host {
class Company;
}

namespace dpx::test {

// Installs a UI for the life of the object and restores the previous one.
class ScopedUi {
 public:
  explicit ScopedUi(UiServices& ui) : previous_(&Ui()) { SetUi(&ui); }
  ~ScopedUi() { SetUi(previous_); }
  ScopedUi(const ScopedUi&) = delete;
  ScopedUi& operator=(const ScopedUi&) = delete;

 private:
  UiServices* previous_;
};

class ScriptedUi : public UiServices {
 public:
  struct Status {
    std::string text;
    bool normalFont;
    uint32_t timeoutMs;
  };
  struct Progress {
    bool isRange;  // setProgressRange, else setProgressPos
    std::string text;
    uint16_t lower, upper;
    int32_t pos;
  };
  struct Box {
    std::string text, caption;
    uint32_t flags;
    int answer;
  };
  struct SaveDialog {
    std::string caption, folder, proposedPath, extension;
    uint32_t filterStringId;
  };

  ScriptedUi() : installed_(*this) {}

  // The script. Message boxes take answers from the front of `answers`; with
  // none left a box gets its default button. A save dialog takes the next path
  // of `saveAs` (nullopt cancels; none left cancels). A company dialog takes the
  // next company of `companies` (null cancels; none left cancels).
  std::deque<int> answers;
  std::deque<std::optional<std::string>> saveAs;
  std::deque<std::shared_ptr<host::Company>> companies;
  int language = kHostLanguageEnglish;
  DPX_ConfigurationManager* configurationManager = nullptr;

  // What was shown.
  std::vector<Status> status;
  std::vector<Progress> progress;
  std::vector<Box> boxes;
  std::vector<SaveDialog> saveDialogs;
  std::vector<std::string> companyDialogs;  // the company name each one showed
  int worksheetUpdates = 0;
  int waitCursorDepth = 0;  // begin minus end: 0 again after a balanced operation
  int waitCursorBegins = 0;

  // The texts of the boxes, and the texts shown in bold (errors) in the status bar.
  std::vector<std::string> boxTexts() const;
  std::vector<std::string> statusErrors() const;

  void setStatusText(const std::string& text, bool normalFont, uint32_t timeoutMs) override;
  void setProgressRange(const std::string& text, uint16_t lower, uint16_t upper) override;
  void setProgressPos(int32_t pos) override;
  int messageBox(const std::string& text, const std::string& caption, uint32_t flags) override;
  int getLanguage() override { return language; }
  DPX_ConfigurationManager* getConfigurationManager() override { return configurationManager; }
  int showSaveFileForm(const std::string& caption, const std::string& initialFolder, std::string& path,
                       const std::string& extension, uint32_t filterStringId) override;
  int showChooseCompanyForm(DPX_CompanyHandle& company, const std::string& companyName) override;
  void updateCurrentWorksheet() override { ++worksheetUpdates; }
  void beginWaitCursor() override;
  void endWaitCursor() override { --waitCursorDepth; }

 private:
  ScopedUi installed_;
};

}  // namespace dpx::test
