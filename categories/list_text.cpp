// Numbers of a record list shown as string-table texts.
#include "categories/list_text.h"

#include "engine/connection_context.h"
#include "engine/resource_manager.h"
#include "engine/util.h"
#include "platform/framework/variant.h"

namespace dpx::categories {

void ShowAsListText(std::vector<std::string>& row, int32_t index, int32_t base, DPX_ConnectionContext* context) {
  if (index < 0 || static_cast<size_t>(index) >= row.size()) return;
  int64_t value = 0;
  if (!dpx::ParseInt64(row[static_cast<size_t>(index)], value) || value < 0 || value > 100000) return;
  const int language = DPX_Util::HostLanguage(context ? context->getApplication() : nullptr);
  std::string text;
  if (DPX_ResourceManager::loadString(static_cast<int32_t>(value) + base, language, text) == 0)
    row[static_cast<size_t>(index)] = text;
}

}  // namespace dpx::categories
