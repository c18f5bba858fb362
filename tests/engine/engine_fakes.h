// A host client for the engine tests: its answers are scripted, and it can be
// told to stop answering.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/host_application.h"
#include "platform/framework/host_error.h"

namespace dpx::test {

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
