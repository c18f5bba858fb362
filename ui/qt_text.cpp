#include "ui/qt_text.h"

#include "platform/framework/string_table.h"
#include "ui/gui_manager.h"

namespace dpx::ui {

QString Text(uint32_t stringId) {
  return Q(StringTable::Load(stringId, DPX_GUIManager::getInstance().getLanguage()));
}

}  // namespace dpx::ui
