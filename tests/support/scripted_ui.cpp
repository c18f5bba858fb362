#include "tests/support/scripted_ui.h"

#include "engine/company_handle.h"

namespace dpx::test {

std::vector<std::string> ScriptedUi::boxTexts() const {
  std::vector<std::string> texts;
  for (const auto& b : boxes) texts.push_back(b.text);
  return texts;
}

std::vector<std::string> ScriptedUi::statusErrors() const {
  std::vector<std::string> texts;
  for (const auto& s : status)
    if (!s.normalFont) texts.push_back(s.text);
  return texts;
}

void ScriptedUi::setStatusText(const std::string& text, bool normalFont, uint32_t timeoutMs) {
  status.push_back({text, normalFont, timeoutMs});
}

void ScriptedUi::setProgressRange(const std::string& text, uint16_t lower, uint16_t upper) {
  progress.push_back({true, text, lower, upper, 0});
}

void ScriptedUi::setProgressPos(int32_t pos) { progress.push_back({false, "", 0, 0, pos}); }

int ScriptedUi::messageBox(const std::string& text, const std::string& caption, uint32_t flags) {
  int answer = 0;
  if (answers.empty()) {
    NullUiServices defaults;
    answer = defaults.messageBox(text, caption, flags);
  } else {
    answer = answers.front();
    answers.pop_front();
  }
  boxes.push_back({text, caption, flags, answer});
  return answer;
}

int ScriptedUi::showSaveFileForm(const std::string& caption, const std::string& initialFolder, std::string& path,
                                 const std::string& extension, uint32_t filterStringId) {
  saveDialogs.push_back({caption, initialFolder, path, extension, filterStringId});
  if (saveAs.empty()) return 1;
  const std::optional<std::string> chosen = saveAs.front();
  saveAs.pop_front();
  if (!chosen) return 1;
  path = *chosen;
  return 0;
}

int ScriptedUi::showChooseCompanyForm(DPX_CompanyHandle& company, const std::string& companyName) {
  companyDialogs.push_back(companyName);
  if (companies.empty()) return 1;
  std::shared_ptr<host::Company> chosen = companies.front();
  companies.pop_front();
  if (!chosen) return 1;
  company.setCompany(std::move(chosen));
  return 0;
}

void ScriptedUi::beginWaitCursor() {
  ++waitCursorDepth;
  ++waitCursorBegins;
}

}  // namespace dpx::test
