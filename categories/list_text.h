// A record-list column that shows a code in place of the text a user knows:
// a text of the string table (by a list of codes, or at an offset plus the
// code's number), a column of the row the code names, or the name of the
// business object it names.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class DPX_ConnectionContext;
namespace dpx::host {
class HostObject;
}

enum class DPX_ListTextKind : uint8_t {
  kStringTable,   // the text of the listed codes, or the other text
  kStringOffset,  // the text at offset + the code's number
  kLookup,        // a column of the row the code names, read by SQL
  kObjectName,    // a property of the business object the code names
};

struct DPX_ListText {
  size_t column = 0;  // position in the list row
  DPX_ListTextKind kind = DPX_ListTextKind::kStringTable;
  // String table: the texts whose codes are listed, and the text of any other code.
  std::vector<std::pair<std::vector<std::string>, uint32_t>> texts;
  uint32_t otherText = 0;
  int32_t offset = 0;  // string offset: id = offset + the number
  // Lookup: table, key column and shown column; object: type and name property.
  std::string table;
  std::string keyColumn;
  std::string shownColumn;
  int32_t objectType = 0;
  std::string nameProperty;
  bool textKey = false;           // object: fetched by the code as text (an item code), not as a number
  bool blankWhenMissing = false;  // object: a code that names no record shows as an empty cell

  static DPX_ListText StringTable(size_t column, std::vector<std::pair<std::vector<std::string>, uint32_t>> texts,
                                  uint32_t otherText) {
    DPX_ListText t;
    t.column = column;
    t.texts = std::move(texts);
    t.otherText = otherText;
    return t;
  }
  static DPX_ListText StringOffset(size_t column, int32_t offset) {
    DPX_ListText t;
    t.column = column;
    t.kind = DPX_ListTextKind::kStringOffset;
    t.offset = offset;
    return t;
  }
  static DPX_ListText Lookup(size_t column, std::string table, std::string keyColumn, std::string shownColumn) {
    DPX_ListText t;
    t.column = column;
    t.kind = DPX_ListTextKind::kLookup;
    t.table = std::move(table);
    t.keyColumn = std::move(keyColumn);
    t.shownColumn = std::move(shownColumn);
    return t;
  }
  static DPX_ListText ObjectName(size_t column, int32_t objectType, std::string nameProperty) {
    DPX_ListText t;
    t.column = column;
    t.kind = DPX_ListTextKind::kObjectName;
    t.objectType = objectType;
    t.nameProperty = std::move(nameProperty);
    return t;
  }
  static DPX_ListText ObjectNameByCode(size_t column, int32_t objectType, std::string nameProperty,
                                       bool blankWhenMissing = false) {
    DPX_ListText t = ObjectName(column, objectType, std::move(nameProperty));
    t.textKey = true;
    t.blankWhenMissing = blankWhenMissing;
    return t;
  }
};

// What a list keeps for all its rows: the business objects it fetches names
// with, one per type, and the texts already found, so that a code shown on
// many rows is looked up once.
struct DPX_ListTextObjects {
  std::map<int32_t, std::shared_ptr<dpx::host::HostObject>> byType;
  std::map<std::string, std::string> found;  // by the lookup and the code
};

// Replaces the cells of `row` that the list texts name. Without `objects`
// (a row read from a configuration file, whose base may be no company) only
// the string-table texts apply.
void ApplyListTexts(DPX_ConnectionContext* context, const std::vector<DPX_ListText>& texts,
                    std::vector<std::string>& row, DPX_ListTextObjects* objects = nullptr);
