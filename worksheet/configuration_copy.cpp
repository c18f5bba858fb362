// The copy driver: one copy of a worksheet's selection into the target
// company. The selection is saved as a configuration file and read back;
// then the categories copied with Replace All are emptied in the target, last
// category first, and every selected category is written, first category
// first, by its effective copy method.
#include <algorithm>
#include <exception>
#include <optional>

#include "engine/category_factory.h"
#include "engine/company_transaction.h"
#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "engine/copy_stop.h"
#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "engine/resource_manager.h"
#include "engine/target_guard.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/host/company.h"
#include "worksheet/component_logger.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet.h"

namespace {

constexpr uint32_t kStrCreatingTarget = 10021;
constexpr uint32_t kStrCouldNotOpen = 10023;
constexpr uint32_t kStrWriting = 10073;
constexpr uint32_t kStrReading = 10071;
constexpr const char* kMethod = "DPX_ConfigurationManager::writeConfiguration";
constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>";
constexpr const char* kTablePrefix = "<table name=\"";

std::string CategoryName(const std::string& key) {
  const uint32_t id = DPX_ResourceManager::getInstance().getStringId(key);
  std::string text;
  if (id != 0 && id != DPX_ResourceManager::kTerminatorId)
    DPX_ResourceManager::loadString(static_cast<int32_t>(id), dpx::Ui().getLanguage(), text);
  return text.empty() ? key : text;
}

void RollBackOpenTransaction(DPX_ConnectionContext* context) {
  try {
    const auto target = context->getTargetCompany();
    if (target && target->InTransaction()) target->EndTransaction(dpx::host::kEndRollback);
  } catch (const std::exception&) {
    // A target that cannot answer has no transaction to end.
  }
}

uint16_t ProgressSteps(size_t n) { return static_cast<uint16_t>(std::min<size_t>(n, 0xFFFF)); }

// What a value holds that a configuration file cannot carry.
struct Unwritable {
  enum Kind { kCharacter, kSurrogate, kNotUtf8 } kind = kCharacter;
  uint32_t codePoint = 0;  // of a character or a surrogate; the offending byte otherwise
};

// The length of the UTF-8 sequence that starts at text[i] when it is a
// well-formed one (1 to 4); 0 otherwise, with `surrogate` set when it is the
// three-byte form of a surrogate code point (which no UTF-8 text holds).
size_t Utf8SequenceAt(const std::string& text, size_t i, uint32_t& surrogate) {
  const auto byte = [&](size_t k) { return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u; };
  const auto follows = [&](size_t k) { return (byte(k) & 0xC0) == 0x80; };
  const unsigned c = byte(0);
  surrogate = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) return follows(1) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    const unsigned low = c == 0xE0 ? 0xA0 : 0x80;
    if (byte(1) < low || byte(1) > 0xBF || !follows(2)) return 0;
    if (c == 0xED && byte(1) >= 0xA0) {
      surrogate = 0xD000 | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
      return 0;
    }
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    const unsigned low = c == 0xF0 ? 0x90 : 0x80, high = c == 0xF4 ? 0x8F : 0xBF;
    return byte(1) >= low && byte(1) <= high && follows(2) && follows(3) ? 4 : 0;
  }
  return 0;
}

// The first place of record text that XML 1.0 cannot carry: a control but
// tab, line feed and carriage return; U+FFFE or U+FFFF; a surrogate; bytes
// that are not UTF-8 (the base's text cannot be written as it is, and any
// stand-in would change it). npos when there is none.
size_t FindUnwritable(const std::string& text, size_t from, Unwritable& what) {
  for (size_t i = from; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      what = {Unwritable::kCharacter, c};
      return i;
    }
    uint32_t surrogate = 0;
    const size_t length = Utf8SequenceAt(text, i, surrogate);
    if (length == 0) {
      what = surrogate ? Unwritable{Unwritable::kSurrogate, surrogate} : Unwritable{Unwritable::kNotUtf8, c};
      return i;
    }
    if (c == 0xEF && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
        (static_cast<unsigned char>(text[i + 2]) == 0xBE || static_cast<unsigned char>(text[i + 2]) == 0xBF)) {
      what = {Unwritable::kCharacter, static_cast<unsigned char>(text[i + 2]) == 0xBE ? 0xFFFEu : 0xFFFFu};
      return i;
    }
    i += length;
  }
  return std::string::npos;
}

std::string Describe(const Unwritable& what) {
  switch (what.kind) {
    case Unwritable::kSurrogate:
      return fmt::sprintf("a lone surrogate (U+%04X), which is not text", what.codePoint);
    case Unwritable::kNotUtf8:
      return fmt::sprintf("bytes that are not UTF-8 text (0x%02X)", what.codePoint);
    default:
      return fmt::sprintf("the character U+%04X, which a configuration file cannot carry", what.codePoint);
  }
}

// The record's code for its log line: the text of the first of its key
// elements inside xml[from, to).
std::string RecordCode(const std::string& xml, size_t from, size_t to, const std::vector<std::string>& keyNames) {
  for (const std::string& name : keyNames) {
    std::string value;
    if (dpx::recordtext::ElementValue(xml, name, from, to, value)) return value;
  }
  return {};
}

// The name of the element whose text holds the position.
std::string FieldAt(const std::string& xml, size_t position) {
  const size_t open = xml.rfind('<', position);
  if (open == std::string::npos) return {};
  const size_t end = xml.find_first_of(" />", open + 1);
  return xml.substr(open + 1, (end == std::string::npos ? xml.size() : end) - open - 1);
}

// The text with every character XML cannot carry shown as U+FFFD, so that
// a value holding one can name its record in the copy log.
std::string Printable(std::string text) {
  Unwritable what;
  for (size_t bad = FindUnwritable(text, 0, what); bad != std::string::npos; bad = FindUnwritable(text, bad + 3, what)) {
    const size_t length = what.kind == Unwritable::kSurrogate || what.codePoint >= 0xFFFE ? 3 : 1;
    text.replace(bad, length, "\xEF\xBF\xBD");
  }
  return text;
}

// The value of the field `name` in text[from, to), printable; "" without one.
std::string PrintableValue(const std::string& xml, const std::string& name, size_t from, size_t to) {
  std::string value;
  if (!dpx::recordtext::ElementValue(xml, name, from, to, value)) return {};
  return Printable(value);
}

// Whether every table of the object has its name as its first attribute.
bool NamedTables(const DPX_ConfigurationManager::Object& object) {
  return std::all_of(object.tables.begin(), object.tables.end(), [](const DPX_ConfigurationManager::Table& table) {
    return !table.attributes.empty() && table.attributes.front().first == "name";
  });
}

}  // namespace

// A record whose value holds what XML 1.0 cannot carry would make the whole
// file unreadable, and a stand-in for it would change the value: it is left
// out (a row of a table block alone, else the whole record), each with a
// "403" line naming the record by its code and description and the field.
// False when nothing of the record is left.
bool DPX_ConfigurationManager::leaveOutUnwritable(const std::string& key, bool tableRows, std::string& xml,
                                                  const std::vector<std::string>& listColumns,
                                                  const std::vector<std::string>& keyNames) {
  Unwritable what;
  for (size_t bad = FindUnwritable(xml, 0, what); bad != std::string::npos; bad = FindUnwritable(xml, 0, what)) {
    const std::string field = FieldAt(xml, bad);
    const size_t rowStart = tableRows ? xml.rfind("<row>", bad) : std::string::npos;
    const size_t rowEnd = rowStart == std::string::npos ? rowStart : xml.find("</row>", rowStart);
    const bool oneRow = rowEnd != std::string::npos && rowEnd > bad;
    // The line names the record left out by its code and description: the
    // row's own, or the record's first.
    const size_t from = oneRow ? rowStart : 0;
    const size_t to = oneRow ? rowEnd : xml.size();
    std::string code = listColumns.empty() ? std::string() : PrintableValue(xml, listColumns[0], from, to);
    if (code.empty()) code = Printable(RecordCode(xml, from, to, keyNames));
    const std::string description =
        listColumns.size() < 2 ? std::string() : PrintableValue(xml, listColumns[1], from, to);
    const std::string message =
        fmt::sprintf("A record of %s is left out: its field '%s' holds %s", key, field, Describe(what));
    leaveOutPart(key, message, "DPX_ConfigurationManager::GetBOMFromDB", code, description);
    if (!oneRow) return false;
    xml.erase(rowStart, rowEnd + 6 - rowStart);
  }
  return true;
}

dpx::HRESULT DPX_ConfigurationManager::GetBOMFromDB(std::string& out, const std::string& key,
                                                    std::vector<DPX_DetailRecord> keys, DPX_WorksheetNode&,
                                                    const std::function<bool(std::string&)>& flush) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::GetBOMFromDB");
  dpx::StopIfInterrupted();
  DPX_CategoryFactory factory(context_);
  auto manager = factory.createManager(key);
  if (!manager) {
    log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::GetBOMFromDB", "Failed to get DIObject");
    leaveOutCategory(key, fmt::sprintf("The category %s cannot be read: this program has no manager for it", key));
    return dpx::E_FAIL;
  }
  DPX_Util::ShowInformation(fmt::sprintf(dpx::StringTable::Load(kStrReading, dpx::Ui().getLanguage()), CategoryName(key)),
                            false);
  // With `flush` the records come from the manager a slice at a time and
  // their text goes out a piece at a time, each record's text released as it
  // is copied: memory holds neither the category's records nor its text.
  // Without it the whole category is read first and its text sized once (with
  // room for the caller's opening and closing), so that it never holds a grown
  // buffer and its copy at the same time.
  constexpr size_t kPiece = size_t{1} << 20;
  const size_t opening = out.size();
  std::string text;
  text.swap(out);
  bool tableOpen = false;
  bool flushed = false;
  bool written = true;
  auto take = [&](DPX_OperationArgs& block) {
    if (!written) return;  // the file could not be written: the rest is only read
    if (!block.continuesTable || !tableOpen) {
      if (tableOpen) text += "</table>";
      text += "<table name=\"";
      text += DPX_Util::EscapeXML(block.getTableName());
      text += "\">";
      tableOpen = true;
    }
    for (auto& item : block.dataItems) {
      if (!leaveOutUnwritable(key, block.severalRows != 0, item.xml, manager->getListColumns(),
                              manager->recordKeyNames()))
        continue;
      const size_t bom = item.xml.find("<BOM>");
      if (bom != std::string::npos) text.append(item.xml, bom, std::string::npos);
      std::string().swap(item.xml);
      if (flush && text.size() >= kPiece) {
        flushed = true;
        if (!flush(text)) {
          written = false;
          return;
        }
      }
    }
    std::vector<DPX_OperationArgs::DataItem>().swap(block.dataItems);
  };
  try {
    // The category is read as one state of the base: one read transaction,
    // not one for each statement.
    const auto base = context_->getBaseCompany();
    std::optional<dpx::CompanyTransaction> reading;
    if (base && base->Connected()) reading.emplace(base);
    if (flush) {
      text.reserve(text.size() + 2 * kPiece);
      manager->readSlices(take, std::move(keys));
    } else {
      std::vector<DPX_OperationArgs> records;
      manager->readFromDB(records, std::move(keys));
      size_t size = text.size() + 64;
      for (const auto& record : records) {
        size += record.getTableName().size() + 64;
        for (const auto& item : record.dataItems) size += item.xml.size();
      }
      text.reserve(size);
      for (auto& record : records) take(record);
    }
    if (reading) reading->commit();
  } catch (const DPX_DIFailureAbortException&) {
    throw;  // a manager that ends the whole run is obeyed
  } catch (const std::exception& e) {
    // One category that cannot be read does not stop the save; the save
    // reports it, and a copy shows it failed in its log. Records already
    // written to the file stay there, their table closed; otherwise none
    // of the category is kept.
    scope.LogError("Reading %s from the base company failed: %s", key, e.what());
    logCategoryFailure(key, context_->getCopyMethod(), e.what());
    const std::string message = fmt::sprintf("The category %s could not be read from the base company%s: %s", key,
                                             flushed ? " to its end" : "", e.what());
    if (!context_->copyLog) DPX_Util::ShowError(message, false);
    leftOut_.push_back(message);
    failedCategories_.insert(key);
    if (flushed) {
      if (tableOpen) text += "</table>";
      out.swap(text);
    } else {
      text.resize(std::min(opening, text.size()));
      out.swap(text);
    }
    return dpx::E_FAIL;
  }
  if (!written) return dpx::E_FAIL;
  if (tableOpen) text += "</table>";
  out.swap(text);
  return dpx::S_OK;
}

std::string DPX_ConfigurationManager::notCopiedNotice() const {
  if (notCopied_.empty()) return {};
  std::string notice = fmt::sprintf("Not copied by method %d: ", notCopiedMethod_);
  for (size_t i = 0; i < notCopied_.size(); ++i) notice += (i == 0 ? "" : ", ") + notCopied_[i];
  return notice;
}

int DPX_ConfigurationManager::getCopyMethodForObject(const DPX_Worksheet& worksheet, const std::string& key,
                                                     int copyMethod) {
  for (const auto& node : worksheet.getNodes()) {
    if (node.getStringKey() != key) continue;
    for (int prohibited : node.getProhibitedCopyMethods())
      if (prohibited == copyMethod) return node.getSubstituteCopyMethod();
  }
  return copyMethod;
}

int DPX_ConfigurationManager::findNode(const std::vector<DPX_WorksheetNode>& nodes, const std::string& key,
                                       size_t* position) {
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].getStringKey() != key) continue;
    if (position) *position = i;
    return nodes[i].getSelected();
  }
  if (position) *position = nodes.size();
  return DPX_WorksheetNode::kNotSelected;
}

size_t DPX_ConfigurationManager::appendTableRecords(const std::string& key, const std::string& tableName,
                                                   const std::string& text, size_t from, size_t nextTable,
                                                   std::vector<DPX_OperationArgs>& records) {
  DPX_OperationArgs record;
  // A table without records keeps its name: Replace All empties it.
  record.set(key, tableName, 1, DPX_OperationArgs::kTableRows);
  const size_t end = cutRecords(text, from, nextTable, record);
  records.push_back(std::move(record));
  return end;
}

size_t DPX_ConfigurationManager::cutRecords(const std::string& text, size_t from, size_t nextTable,
                                            DPX_OperationArgs& record, size_t limit) {
  size_t searchFrom = from;
  size_t end = from;
  for (size_t cut = 0; cut < limit; ++cut) {
    const size_t bom = text.find("<BOM>", searchFrom);
    if (bom == std::string::npos || (nextTable != std::string::npos && bom > nextTable)) break;
    const size_t close = text.find("</BOM>", bom + 1);
    if (close == std::string::npos) break;
    end = close + 6;
    DPX_OperationArgs::DataItem item;
    item.xml.reserve(std::char_traits<char>::length(kDeclaration) + end - bom);
    item.xml = kDeclaration;
    item.xml.append(text, bom, end - bom);
    record.dataItems.push_back(std::move(item));
    searchFrom = end;
  }
  return end;
}

std::vector<DPX_OperationArgs> DPX_ConfigurationManager::splitRecords(const std::string& key, const std::string& text) {
  std::vector<DPX_OperationArgs> records;
  const size_t prefixLength = std::char_traits<char>::length(kTablePrefix);
  size_t pos = text.find(kTablePrefix);
  while (pos != std::string::npos) {
    const size_t nameStart = pos + prefixLength;
    const size_t quote = text.find('"', nameStart);
    if (quote == std::string::npos) break;
    const std::string tableName = text.substr(nameStart, quote - nameStart);
    const size_t end = appendTableRecords(key, tableName, text, quote, text.find(kTablePrefix, quote), records);
    pos = text.find(kTablePrefix, end);
  }
  return records;
}

std::vector<DPX_OperationArgs> DPX_ConfigurationManager::categoryRecords(const Object& object, const std::string& key) {
  // A table whose first attribute is not its name is read as the whole
  // category's text would be read.
  if (!NamedTables(object)) {
    std::string text;
    DPX_WorksheetNode unfiltered;  // no row filter: the file holds the selection
    bomFromObject(text, object, {}, unfiltered);
    return splitRecords(key, text);
  }
  // Table by table, a piece of its text at a time: memory holds the records
  // and one piece (or the one record that is larger).
  constexpr size_t kPiece = size_t{1} << 20;
  std::vector<DPX_OperationArgs> records;
  for (const Table& table : object.tables) {
    DPX_OperationArgs record;
    // A table without records keeps its name: Replace All empties it.
    record.set(key, DPX_Util::EscapeXML(table.attributes.front().second), 1, DPX_OperationArgs::kTableRows);
    record.dataItems.reserve(static_cast<size_t>(table.records));
    std::string window;
    readTablePieces(table, kPiece, window,
                    [&record](std::string& text) { text.erase(0, cutRecords(text, 0, std::string::npos, record)); });
    records.push_back(std::move(record));
  }
  return records;
}

void DPX_ConfigurationManager::writeSlices(const Object& object, const std::string& key, DPX_DIInterface& manager,
                                           uint8_t method) {
  constexpr size_t kPiece = size_t{1} << 20;  // read from the file at a time
  for (const Table& table : object.tables) {
    const std::string tableName = DPX_Util::EscapeXML(table.attributes.front().second);
    DPX_OperationArgs slice;
    size_t bytes = 0;
    bool handed = false;
    auto start = [&] {
      slice = DPX_OperationArgs();
      slice.set(key, tableName, 1, DPX_OperationArgs::kTableRows);
      slice.continuesTable = handed;
      bytes = 0;
    };
    auto handOn = [&] {
      std::vector<DPX_OperationArgs> blocks;
      blocks.push_back(std::move(slice));
      manager.writeData(std::move(blocks), method);
      handed = true;
      start();
    };
    start();
    std::string window;
    readTablePieces(table, kPiece, window, [&](std::string& text) {
      size_t from = 0;
      for (size_t end = cutRecords(text, from, std::string::npos, slice, 1); end != from;
           end = cutRecords(text, from, std::string::npos, slice, 1)) {
        from = end;
        bytes += slice.dataItems.back().xml.size();
        if (bytes >= DPX_OperationArgs::kSliceBytes || slice.dataItems.size() >= DPX_OperationArgs::kSliceRecords)
          handOn();
      }
      text.erase(0, from);
    });
    // A table without records is handed on all the same: Replace All empties it.
    if (!handed || !slice.dataItems.empty()) handOn();
  }
}

void DPX_ConfigurationManager::logCategoryFailure(const std::string& key, int method, const std::string& error,
                                                  const std::string& baseCode,
                                                  const std::string& baseDescription) const {
  DPX_CopyLog* copyLog = context_->copyLog;
  if (!copyLog) return;
  try {
    copyLog->clearRecord();
    copyLog->setCategoryNo(key);
    copyLog->setAction(DPX_CopyLog::actionOfMethod(method));
    copyLog->setBaseCode(baseCode);
    copyLog->setBaseDescription(baseDescription);
    copyLog->setResult("403");
    copyLog->setError(error);
    copyLog->writeRecord(true);
  } catch (const std::exception&) {
    // No line can be written without a log. A log whose disk refuses the
    // line raises DPX_CopyStopped instead: the copy stops.
  }
}

dpx::HRESULT DPX_ConfigurationManager::writeCategory(const Object& object, const std::string& key, int method,
                                                    const std::string& status) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::writeCategory");
  DPX_CategoryFactory factory(context_);
  auto manager = factory.createManager(key);
  if (!manager) {
    log(dpx::ComponentLogger::kError, kMethod, "Failed to get DIObject");
    return dpx::S_OK;
  }
  try {
    if (manager->writesInSlices() && NamedTables(object)) {
      if (!status.empty()) DPX_Util::ShowInformation(status, false);
      writeSlices(object, key, *manager, static_cast<uint8_t>(method));
      return dpx::S_OK;
    }
    auto records = categoryRecords(object, key);
    if (!status.empty()) DPX_Util::ShowInformation(status, false);
    manager->writeData(std::move(records), static_cast<uint8_t>(method));
  } catch (const DPX_DIFailureAbortException&) {
    return dpx::E_ABORT;
  } catch (const std::exception& e) {
    // The copy goes on with the next category; the user finds this one
    // failed in the copy log.
    log(dpx::ComponentLogger::kWarning, kMethod, "Exception from writeData caught!");
    scope.LogError("Writing %s with method %d failed: %s", key, method, e.what());
    logCategoryFailure(key, method, e.what());
  }
  return dpx::S_OK;
}

dpx::HRESULT DPX_ConfigurationManager::writeConfiguration(DPX_Worksheet& worksheet, bool baseIsFile) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::writeConfiguration");
  const std::string keptBaseFile = context_->getBaseFile();
  const int language = dpx::Ui().getLanguage();
  const std::string writingText = dpx::StringTable::Load(kStrWriting, language);
  dpx::HRESULT result = dpx::S_OK;
  bool progressShown = false;
  DPX_CopyLog* copyLog = context_->copyLog;
  std::string current;  // the category being written
  notCopied_.clear();
  notCopiedMethod_ = context_->getCopyMethod();
  try {
    result = saveConfiguration(worksheet, baseIsFile);
    if (result == dpx::S_OK) {
      const std::string copyFile = context_->getTargetFile();
      context_->setBaseFile(copyFile);
      // Read back exactly the file just written, whatever worksheet is open.
      // The worksheet stays as the user made it: the copy's file is named
      // after itself and lacks every category this copy did not select.
      const dpx::HRESULT read = readFile(copyFile);
      // The manager now holds the copy's own file, which has only what this
      // copy selected; the next save from a base file reads that file again.
      holdsCopyFile_ = true;
      if (read != dpx::S_OK || !context_->getTargetCompany()) {
        const std::string message = fmt::sprintf(dpx::StringTable::Load(kStrCouldNotOpen, language), copyFile);
        log(dpx::ComponentLogger::kError, kMethod, message);
        DPX_Util::ShowError(message, false);
        RollBackOpenTransaction(context_);
        result = dpx::E_FAIL;
      }
    }
    if (result == dpx::S_OK) {
      const std::string creating = dpx::StringTable::Load(kStrCreatingTarget, language);
      const int chosen = context_->getCopyMethod();

      // A target that cannot be written stops the copy before its first
      // record, and after the first record that finds it so: every other
      // record would only wait for it and fail in turn.
      const auto target = context_->getTargetCompany();
      DPX_TargetGuard::StopUnlessWritable(target);
      if (copyLog) {
        copyLog->setRecordCheck([target](const DPX_CopyLogRecord& record) {
          dpx::StopIfInterrupted();
          if (record.get(DPX_CopyLogRecord::kResult) == "403") DPX_TargetGuard::StopUnlessWritable(target);
        });
      }

      // Removal pass: the Replace All categories, last category first.
      DPX_Util::SetProgress(creating, 0, ProgressSteps(objects_.size()));
      progressShown = true;
      {
        dpx::WaitCursor wait;
        int32_t counter = 0;
        for (auto it = objects_.crbegin(); it != objects_.crend(); ++it) {
          DPX_Util::SetProgressPosition(counter++);
          std::string key;
          if (!getObjectStringId(it, key)) continue;
          if (getCopyMethodForObject(worksheet, key, chosen) != 1) continue;
          if (findNode(worksheet.getNodes(), key) == DPX_WorksheetNode::kNotSelected) continue;
          dpx::StopIfInterrupted();
          current = key;
          if (writeCategory(*it, key, 0, "") == dpx::E_ABORT) result = dpx::E_ABORT;
        }
      }
      DPX_Util::ResetProgress();

      // Write pass: every selected category, first category first.
      DPX_Util::SetProgress(creating, 0, ProgressSteps(objects_.size()));
      {
        dpx::WaitCursor wait;
        int32_t counter = 0;
        for (auto it = objects_.cbegin(); it != objects_.cend(); ++it) {
          DPX_Util::SetProgressPosition(counter++);
          std::string key;
          if (!getObjectStringId(it, key)) continue;
          if (findNode(worksheet.getNodes(), key) == DPX_WorksheetNode::kNotSelected) continue;
          const int method = getCopyMethodForObject(worksheet, key, chosen);
          if (method < 1 || method > 4) {
            // A substitute meaning "not copied" (or none at all) must never
            // reach writeData, where 0 would empty the category.
            // The user learns which: the copy's notice names them.
            scope.LogWarning("Category %s skipped: copy method %d cannot copy it", key, method);
            log(dpx::ComponentLogger::kWarning, kMethod,
                fmt::sprintf("Category %s not copied: no copy method it allows (%d)", key, method));
            notCopied_.push_back(CategoryName(key));
            continue;
          }
          const std::string status = fmt::sprintf(writingText, CategoryName(key));
          dpx::StopIfInterrupted();
          current = key;
          if (writeCategory(*it, key, method, status) == dpx::E_ABORT) result = dpx::E_ABORT;
        }
      }
    }
  } catch (const DPX_CopyStopped& stop) {
    // One line says why, after the last record the copy reached.
    if (copyLog) copyLog->setRecordCheck({});
    scope.LogError("Copy stopped: %s", stop.reason());
    log(dpx::ComponentLogger::kError, kMethod, stop.reason());
    RollBackOpenTransaction(context_);
    try {
      logCategoryFailure(current, context_->getCopyMethod(), stop.reason());
    } catch (const DPX_CopyStopped&) {
      // A log that cannot be written cannot say why it stopped: the message does.
    }
    DPX_Util::ShowError(stop.reason(), false);
    result = DPX_E_COPY_STOPPED;
  } catch (const std::exception& e) {
    log(dpx::ComponentLogger::kError, kMethod, "Exception caught!");
    scope.LogError("Copy ended by an exception: %s", e.what());
    RollBackOpenTransaction(context_);
    result = dpx::E_FAIL;
  }
  if (copyLog) copyLog->setRecordCheck({});
  if (progressShown) DPX_Util::ResetProgress();
  context_->setBaseFile(keptBaseFile);
  if (result != dpx::S_OK) RollBackOpenTransaction(context_);
  return result;
}
