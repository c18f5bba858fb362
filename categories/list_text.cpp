// Codes of the record list as the texts a user knows.
#include "categories/list_text.h"

#include <optional>

#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/resource_manager.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/text.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

int32_t StringId(const DPX_ListText& text, const std::string& code) {
  // A cell is read by its leading decimal number, 0 when it has none.
  if (text.kind == DPX_ListTextKind::kStringOffset)
    return static_cast<int32_t>(text.offset + DPX_Util::BSTRToInt(code));
  for (const auto& [codes, id] : text.texts)
    for (const std::string& c : codes)
      if (c == code) return static_cast<int32_t>(id);
  return static_cast<int32_t>(text.otherText);
}

std::string LookupText(DPX_ConnectionContext* context, const DPX_ListText& text, const std::string& code) {
  auto base = dpx::records::BaseCompany(context);
  DPX_SqlStatement statement(base->DbServerType());
  statement.setTable(text.table);
  statement.addColumn(text.shownColumn);
  try {
    // Codes are numbers mostly; an account code is text.
    statement.addValue(text.keyColumn, code,
                       DPX_SqlStatement::IsSqlNumber(code) ? DPX_SqlStatement::kNumeric : DPX_SqlStatement::kAlpha);
  } catch (const DPX_SqlValueRefused&) {
    return code;
  }
  auto recordset = base->NewRecordset();
  recordset->DoQuery(statement.buildSelect());
  // A code that names no row stays as it is.
  return recordset->RecordCount() > 0 ? recordset->Field(0).toText() : code;
}

std::string ObjectNameText(DPX_ConnectionContext* context, const DPX_ListText& text, const std::string& code,
                           DPX_ListTextObjects& objects) {
  auto& object = objects.byType[text.objectType];
  if (!object) object = dpx::records::BaseCompany(context)->GetBusinessObject(text.objectType);
  // A code whose record cannot be fetched shows as itself, never as the
  // name of the record the object held before.
  const dpx::Variant key = text.textKey ? dpx::Variant(code) : dpx::Variant(static_cast<int32_t>(dpx::LeadingInt(code)));
  if (!dpx::records::GetByKey(*object, {key})) return text.blankWhenMissing ? std::string() : code;
  return dpx::records::PropertyText(*object, text.nameProperty);
}

// What names a lookup's answer: the lookup itself and the code.
std::string CacheKey(const DPX_ListText& text, const std::string& code) {
  constexpr char kSep = '\x1f';
  std::string key = text.kind == DPX_ListTextKind::kLookup
                        ? text.table + kSep + text.keyColumn + kSep + text.shownColumn
                        : std::to_string(text.objectType) + kSep + text.nameProperty + kSep +
                              (text.textKey ? "t" : "n") + (text.blankWhenMissing ? "b" : "c");
  return key + kSep + code;
}

}  // namespace

void ApplyListTexts(DPX_ConnectionContext* context, const std::vector<DPX_ListText>& texts,
                    std::vector<std::string>& row, DPX_ListTextObjects* objects) {
  std::optional<int> language;
  for (const DPX_ListText& text : texts) {
    if (text.column >= row.size()) continue;
    std::string& value = row[text.column];
    switch (text.kind) {
      case DPX_ListTextKind::kStringTable:
      case DPX_ListTextKind::kStringOffset: {
        if (!language) language = DPX_Util::HostLanguage(context ? context->getApplication() : nullptr);
        std::string loaded;
        DPX_ResourceManager::loadString(StringId(text, value), *language, loaded);
        value = loaded;  // a code without a text shows as an empty cell
        break;
      }
      case DPX_ListTextKind::kLookup:
      case DPX_ListTextKind::kObjectName: {
        if (!objects || value.empty()) break;
        auto [cached, added] = objects->found.try_emplace(CacheKey(text, value));
        if (added)
          cached->second = text.kind == DPX_ListTextKind::kLookup ? LookupText(context, text, value)
                                                                  : ObjectNameText(context, text, value, *objects);
        value = cached->second;
        break;
      }
    }
  }
}
