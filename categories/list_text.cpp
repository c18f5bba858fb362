// Code numbers of the record list as string-table texts.
#include "categories/list_text.h"

#include "engine/connection_context.h"
#include "engine/resource_manager.h"
#include "engine/util.h"

void ApplyListTexts(DPX_ConnectionContext* context, const std::vector<DPX_ListText>& texts,
                    std::vector<std::string>& row) {
  if (texts.empty()) return;
  const int language = DPX_Util::HostLanguage(context ? context->getApplication() : nullptr);
  for (const DPX_ListText& text : texts) {
    if (text.column >= row.size()) continue;
    // A cell is read by its leading decimal number, 0 when it has none.
    const int64_t number = DPX_Util::BSTRToInt(row[text.column]);
    int32_t id = static_cast<int32_t>(text.offset + number);
    if (!text.fixedIds.empty()) {
      const auto fixed = text.fixedIds.find(number);
      id = fixed == text.fixedIds.end() ? text.otherId : fixed->second;
    }
    std::string loaded;
    DPX_ResourceManager::loadString(id, language, loaded);
    row[text.column] = loaded;
  }
}
