#include "engine/ui_services.h"

#include "platform/framework/string_table.h"

namespace dpx {

namespace {
UiServices* g_ui = nullptr;
}

int NullUiServices::messageBox(const std::string&, const std::string&, uint32_t flags) {
  const uint32_t buttons = flags & 0xF;
  const uint32_t defaultButton = (flags >> 8) & 0x3;
  if (buttons == mb::kYesNoCancel) return defaultButton == 0 ? mb::kIdYes : defaultButton == 1 ? mb::kIdNo : mb::kIdCancel;
  if (buttons == mb::kYesNo) return defaultButton == 0 ? mb::kIdYes : mb::kIdNo;
  return mb::kIdOk;
}

int NullUiServices::getLanguage() { return kHostLanguageEnglish; }

UiServices& Ui() {
  static NullUiServices none;
  return g_ui ? *g_ui : none;
}

void SetUi(UiServices* ui) { g_ui = ui; }

}  // namespace dpx
