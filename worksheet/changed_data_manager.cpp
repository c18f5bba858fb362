#include "worksheet/changed_data_manager.h"

#include <algorithm>

#include <stdexcept>
#include <utility>

#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "worksheet/component_logger.h"
#include "engine/record_text.h"
#include "worksheet/selection_object.h"

namespace rt = dpx::recordtext;

namespace {

constexpr uint32_t kStrXmlError = 10024;

struct Range {
  size_t begin = 0;
  size_t end = 0;  // just after the element
};

// The name attribute of the "<table ...>" tag starting at `start`.
std::string TableNameAt(std::string_view text, size_t start) {
  const size_t tagEnd = rt::StartTagEnd(text, start);
  if (tagEnd == rt::npos) return {};
  const std::string_view tag = text.substr(start, tagEnd - start);
  const size_t attr = tag.find(" name=\"");
  if (attr == rt::npos) return {};
  const size_t valueStart = attr + 7;
  const size_t quote = tag.find('"', valueStart);
  if (quote == rt::npos) return {};
  return rt::DecodeXmlText(tag.substr(valueStart, quote - valueStart));
}

// The child elements named `name` of text[from, to), in order.
std::vector<Range> Elements(std::string_view text, std::string_view name, size_t from, size_t to) {
  std::vector<Range> found;
  size_t pos = from;
  while (pos < to) {
    const size_t start = rt::FindStartTag(text, name, pos, to);
    if (start == rt::npos) break;
    const size_t end = rt::ElementEnd(text, start);
    if (end == rt::npos || end > to) break;
    found.push_back({start, end});
    pos = end;
  }
  return found;
}

// True when every subsKey field of the object names the record text.
bool Names(const DPX_SelectionObject& object, std::string_view record) {
  const auto& keys = object.getSubsKey();
  if (keys.empty()) return false;
  for (const auto& field : keys) {
    std::string value;
    if (!rt::ElementValue(record, field.getFieldName(), 0, record.size(), value)) return false;
    if (value != field.getValue()) return false;
  }
  return true;
}

// The number of table elements inside the business object of a "<BOM>" block
// (the children of "BO" other than "AdmInfo").
int TableCount(std::string_view block) {
  const size_t bo = rt::FindStartTag(block, "BO", 0, block.size());
  if (bo == rt::npos) return 0;
  const size_t boEnd = rt::ElementEnd(block, bo);
  const size_t boTagEnd = rt::StartTagEnd(block, bo);
  if (boEnd == rt::npos || boTagEnd == rt::npos) return 0;
  int count = 0;
  size_t pos = boTagEnd + 1;
  while (pos < boEnd) {
    const size_t lt = block.find('<', pos);
    if (lt == rt::npos || lt >= boEnd || block[lt + 1] == '/') break;
    const size_t end = rt::ElementEnd(block, lt);
    if (end == rt::npos) break;
    if (block.substr(lt, 9) != "<AdmInfo>" && block.substr(lt, 9) != "<AdmInfo/" && block.substr(lt, 9) != "<AdmInfo ")
      ++count;
    pos = end;
  }
  return count;
}

// Writes one new value into the element `name` of a record (text that starts
// with the record's start tag and ends with its end tag). The element is
// added before the record's end tag when the record lacks it.
void WriteField(std::string& record, const std::string& name, const std::string& value) {
  const size_t firstTagEnd = rt::StartTagEnd(record, 0);
  size_t start = rt::FindStartTag(record, name, firstTagEnd + 1, record.size());
  const std::string element = "<" + name + ">" + DPX_Util::EscapeXML(value) + "</" + name + ">";
  if (start == rt::npos) {
    const size_t close = record.rfind("</");
    record.insert(close, element);
    return;
  }
  const size_t tagEnd = rt::StartTagEnd(record, start);
  if (tagEnd == rt::npos) throw std::runtime_error("Unterminated start tag of " + name);
  std::string startTag = record.substr(start, tagEnd - start + 1);
  size_t end;
  if (record[tagEnd - 1] == '/') {
    end = tagEnd + 1;
    startTag.erase(startTag.size() - 2, 1);  // drop the "/"
    while (startTag.size() > 2 && startTag[startTag.size() - 2] == ' ') startTag.erase(startTag.size() - 2, 1);
  } else {
    end = rt::ElementEnd(record, start);
    if (end == rt::npos) throw std::runtime_error("End tag of " + name + " not found");
  }
  const size_t nil = startTag.find(" nil=\"true\"");
  if (nil != std::string::npos) startTag.erase(nil, 11);
  record.replace(start, end - start, startTag + DPX_Util::EscapeXML(value) + "</" + name + ">");
}

}  // namespace

DPX_ChangedDataManager::DPX_ChangedDataManager(DPX_ConnectionContext* context,
                                               std::shared_ptr<dpx::ComponentLogger> logger)
    : context_(context), logger_(std::move(logger)) {}

void DPX_ChangedDataManager::log(int level, const char* method, const std::string& message) const {
  if (logger_) logger_->Log(dpx::Ui().getLanguage(), "DPX", level, method, message);
}

long DPX_ChangedDataManager::mergeAll(std::string& objectText, const std::vector<DPX_SelectionObject>& selection) {
  dpx::DPX_LogScope scope("DPX_ChangedDataManager::mergeAll");
  long result = 0;
  for (const auto& object : selection) result = mergeSingle(object, objectText);
  return result;
}

long DPX_ChangedDataManager::mergeSingle(const DPX_SelectionObject& selection, std::string& objectText) {
  dpx::DPX_LogScope scope("DPX_ChangedDataManager::mergeSingle");
  bool changed = false;
  // Each record is edited in a copy of its own and put back whole, so the
  // text only ever holds complete edits, also after a failure.
  std::string& work = objectText;
  try {
    if (selection.getSubsKey().empty() || selection.getAdditionalData().empty()) return dpx::E_FAIL;
    size_t pos = 0;
    // Only the first record that the selection names takes the edits: two
    // records of one key (two queries of one name) are two records, and the
    // user edited one of them.
    while (!changed) {
      const size_t table = rt::FindStartTag(work, "table", pos, work.size());
      if (table == rt::npos) break;
      const size_t tableEnd = rt::ElementEnd(work, table);
      if (tableEnd == rt::npos) throw std::runtime_error("End tag for table not found");
      if (!selection.getTableName().empty() && TableNameAt(work, table) != selection.getTableName()) {
        pos = tableEnd;
        continue;
      }
      size_t limit = tableEnd;
      size_t blockPos = rt::StartTagEnd(work, table) + 1;
      while (blockPos < limit && !changed) {
        const size_t block = rt::FindStartTag(work, "BOM", blockPos, limit);
        if (block == rt::npos) break;
        const size_t blockEnd = rt::ElementEnd(work, block);
        if (blockEnd == rt::npos || blockEnd > limit) break;
        std::vector<Range> records = Elements(work, "row", rt::StartTagEnd(work, block) + 1, blockEnd);
        if (records.empty()) records.push_back({block, blockEnd});
        size_t nextBlock = blockEnd;
        for (const Range& r : records) {
          const std::string_view record(work.data() + r.begin, r.end - r.begin);
          if (!Names(selection, record)) continue;
          std::string edited(record);
          for (const auto& field : selection.getAdditionalData()) WriteField(edited, field.getFieldName(), field.getValue());
          const long delta = static_cast<long>(edited.size()) - static_cast<long>(r.end - r.begin);
          work.replace(r.begin, r.end - r.begin, edited);
          changed = true;
          nextBlock = static_cast<size_t>(static_cast<long>(blockEnd) + delta);
          limit = static_cast<size_t>(static_cast<long>(limit) + delta);
          break;
        }
        blockPos = nextBlock;
      }
      pos = limit;
    }
  } catch (const std::exception& e) {
    scope.LogError("%s", e.what());
    log(dpx::ComponentLogger::kError, "DPX_ChangedDataManager::mergeSingle", "Failed to merge data changed by user");
    DPX_Util::ShowError(dpx::StringTable::Load(kStrXmlError, dpx::Ui().getLanguage()), false);
  }
  return changed ? 0 : dpx::E_FAIL;
}

long DPX_ChangedDataManager::removeUnselected(std::string& tableText, const std::vector<DPX_SelectionObject>& selection) {
  dpx::DPX_LogScope scope("DPX_ChangedDataManager::removeUnselected");
  if (selection.empty()) {
    tableText.clear();
    return 0;
  }
  const std::string_view text(tableText);
  const size_t table = rt::FindStartTag(text, "table", 0, text.size());
  if (table == rt::npos) return 0;
  const size_t tableEnd = rt::ElementEnd(text, table);
  if (tableEnd == rt::npos) return 0;
  const std::string tableName = TableNameAt(text, table);

  // A pick is for the table it names. A worksheet file keeps no table name,
  // so a pick read back from one is for the table whose records carry its
  // key fields. A table that no pick is for (the query categories beside
  // picked queries) is not filtered: its records go with the picked ones.
  const size_t firstRow = rt::FindStartTag(text, "row", table, tableEnd);
  const size_t firstRowEnd = firstRow == rt::npos ? rt::npos : rt::ElementEnd(text, firstRow);
  const std::string_view firstRowText =
      firstRowEnd == rt::npos || firstRowEnd > tableEnd ? std::string_view() : text.substr(firstRow, firstRowEnd - firstRow);
  auto isFor = [&](const DPX_SelectionObject& o) {
    if (!o.getTableName().empty()) return o.getTableName() == tableName;
    return std::all_of(o.getSubsKey().begin(), o.getSubsKey().end(), [&](const auto& field) {
      return rt::FindStartTag(firstRowText, field.getFieldName(), 0, firstRowText.size()) != rt::npos;
    });
  };
  if (std::none_of(selection.begin(), selection.end(), isFor)) return 0;
  std::vector<const DPX_SelectionObject*> usable;
  for (const auto& object : selection)
    if (!object.getSubsKey().empty() && isFor(object)) usable.push_back(&object);
  auto selected = [&](std::string_view record) {
    for (const auto* object : usable)
      if (Names(*object, record)) return true;
    return false;
  };

  std::vector<Range> removals;
  for (const Range& block : Elements(text, "BOM", rt::StartTagEnd(text, table) + 1, tableEnd)) {
    const std::string_view blockText = text.substr(block.begin, block.end - block.begin);
    const std::vector<Range> rows = Elements(text, "row", block.begin, block.end);
    if (rows.empty()) continue;
    if (TableCount(blockText) > 1) {
      // A business object with lines: its first row identifies it.
      if (!selected(text.substr(rows[0].begin, rows[0].end - rows[0].begin))) removals.push_back(block);
      continue;
    }
    std::vector<Range> unselected;
    for (const Range& row : rows)
      if (!selected(text.substr(row.begin, row.end - row.begin))) unselected.push_back(row);
    if (unselected.size() == rows.size()) {
      removals.push_back(block);
    } else {
      removals.insert(removals.end(), unselected.begin(), unselected.end());
    }
  }
  if (removals.empty()) return 0;
  std::string out;
  out.reserve(tableText.size());
  size_t pos = 0;
  for (const Range& r : removals) {
    out.append(tableText, pos, r.begin - pos);
    pos = r.end;
  }
  out.append(tableText, pos, std::string::npos);
  tableText = std::move(out);
  return 0;
}
