// Small stand-ins for the engine tests: a UI that records what it was asked
// to show, and a host client whose answers a test scripts.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/host_application.h"
#include "engine/ui_services.h"
#include "platform/framework/host_error.h"

namespace dpx::test {

class RecordingUi : public NullUiServices {
 public:
  struct Box {
    std::string text, caption;
    uint32_t flags;
  };
  RecordingUi() { SetUi(this); }
  ~RecordingUi() override { SetUi(nullptr); }
  void setStatusText(const std::string& text, bool normalFont, uint32_t timeoutMs) override {
    status.push_back(text);
    lastNormalFont = normalFont;
    lastTimeout = timeoutMs;
  }
  int messageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    boxes.push_back({text, caption, flags});
    if (answers.empty()) return NullUiServices::messageBox(text, caption, flags);
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<std::string> status;
  bool lastNormalFont = true;
  uint32_t lastTimeout = 0;
  std::vector<Box> boxes;
  std::deque<int> answers;
};

class ScriptedApplication : public HostApplication {
 public:
  void probe() override {
    if (gone) throw HostError(goneCode, "Application", "The host client does not answer");
  }
  int language() override {
    probe();
    return 3;
  }
  int messageBox(const std::string& text, int, const std::string& button1, const std::string& button2,
                 const std::string&) override {
    boxes.push_back(text);
    buttons.push_back(button1 + "|" + button2);
    if (answers.empty()) return 1;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void setStatusBarErrorMessage(const std::string& text) override { statusErrors.push_back(text); }

  bool gone = false;
  HRESULT goneCode = static_cast<HRESULT>(0x80040203u);
  std::vector<std::string> boxes;
  std::vector<std::string> buttons;
  std::deque<int> answers;
  std::vector<std::string> statusErrors;
};

}  // namespace dpx::test
