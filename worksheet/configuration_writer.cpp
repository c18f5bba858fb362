// The configuration manager's writer side: the header from the worksheet,
// the header and body texts, the file itself, and the records of one
// category read from the base company or from the parsed base file.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>

#include "engine/category_factory.h"
#include "engine/connection_context.h"
#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "engine/operation_args.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/framework/variant.h"
#include "platform/host/company.h"
#include "worksheet/changed_data_manager.h"
#include "worksheet/component_logger.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/utf16_file_stream.h"
#include "worksheet/worksheet.h"

namespace {

constexpr uint32_t kStrSavingConfiguration = 10014;
constexpr uint32_t kStrFailedToWriteAll = 10022;

const char* BoolText(bool v) { return v ? "true" : "false"; }

void AppendLine(std::string& buffer, const char* element, const std::string& value) {
  buffer += '<';
  buffer += element;
  buffer += '>';
  buffer += value;
  buffer += "</";
  buffer += element;
  buffer += ">\n";
}

void AppendAttributes(std::string& out, const DPX_ConfigurationManager::Attributes& attributes) {
  for (const auto& [name, value] : attributes) {
    out += ' ';
    out += name;
    out += "=\"";
    out += DPX_Util::EscapeXML(value);
    out += '"';
  }
}

// The file's own lines end in LF alone, and a parser reads a literal CR as
// a line end: any CR a record still holds as it is goes out as "&#13;".
void CarryCarriageReturns(std::string& text) {
  size_t cr = text.find('\r');
  if (cr == std::string::npos) return;
  std::string out;
  out.reserve(text.size() + 16);
  size_t copied = 0;
  for (; cr != std::string::npos; cr = text.find('\r', cr + 1)) {
    out.append(text, copied, cr - copied);
    out += "&#13;";
    copied = cr + 1;
  }
  out.append(text, copied, std::string::npos);
  text.swap(out);
}

// The local time as ISO 8601, "YYYY-MM-DDTHH:MM:SS".
std::string IsoNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

// The last element of a path: after the last "/", else after the last "\".
std::string LastPathElement(const std::string& path) {
  size_t pos = path.rfind('/');
  if (pos == std::string::npos) pos = path.rfind('\\');
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

// A selection field's value text as a value of its host field type; a text
// that does not convert stays text.
dpx::Variant TypedValue(const DPX_SelectionField& field) {
  const std::string& text = field.getValue();
  switch (DPX_Util::DbTypeNameToVariantType(field.getType())) {
    case 3: {
      int64_t v = 0;
      if (dpx::ParseInt64(text, v)) return dpx::Variant::integer(dpx::VarType::I4, v);
      break;
    }
    case 5: {
      double v = 0;
      if (dpx::ParseDouble(text, v)) return dpx::Variant(v);
      break;
    }
    case 7: {
      dpx::DateTime v;
      if (dpx::DateTime::parse(text, v)) return dpx::Variant(v);
      break;
    }
    default:
      break;
  }
  return dpx::Variant(text);
}

// Which picks of a partial selection the records read for it hold: a pick is
// found when every one of its key fields appears as an element with its
// value in one piece of the category's text (a piece never splits a record).
class PickedRecords {
 public:
  PickedRecords(const DPX_WorksheetNode& node, size_t count, bool baseIsFile)
      : node_(node), found_(count, false), baseIsFile_(baseIsFile) {}

  void look(const std::string& text) {
    const auto& objects = node_.getSelectionObjects();
    for (size_t i = 0; i < found_.size(); ++i) {
      if (found_[i]) continue;
      const auto& fields = keyFields(objects[i]);
      found_[i] = !fields.empty() && std::all_of(fields.begin(), fields.end(), [&](const DPX_SelectionField& f) {
        return text.find(Element(f, true)) != std::string::npos || text.find(Element(f, false)) != std::string::npos;
      });
    }
  }

  // Each pick not found, as "Field = 'value'" of its key fields.
  std::vector<std::string> missing() const {
    std::vector<std::string> out;
    const auto& objects = node_.getSelectionObjects();
    for (size_t i = 0; i < found_.size(); ++i) {
      const auto& fields = keyFields(objects[i]);
      if (found_[i] || fields.empty()) continue;  // a pick without keys is reported apart
      std::string text;
      for (const auto& field : fields)
        text += (text.empty() ? "" : ", ") + field.getFieldName() + " = '" + field.getValue() + "'";
      out.push_back(std::move(text));
    }
    return out;
  }

 private:
  const std::vector<DPX_SelectionField>& keyFields(const DPX_SelectionObject& object) const {
    return baseIsFile_ ? object.getSubsKey() : object.getKey();
  }
  // The field's element as a record holds it: quotation marks escaped (as
  // the reader keeps them) or not (as a host writes them).
  static std::string Element(const DPX_SelectionField& field, bool quotesEscaped) {
    std::string value = DPX_Util::EscapeXML(field.getValue());
    if (!quotesEscaped) {
      for (const auto& [escaped, plain] : {std::pair<std::string, std::string>{"&quot;", "\""}, {"&apos;", "'"}})
        for (size_t at = value.find(escaped); at != std::string::npos; at = value.find(escaped, at + 1))
          value.replace(at, escaped.size(), plain);
    }
    return "<" + field.getFieldName() + ">" + value + "</" + field.getFieldName() + ">";
  }

  const DPX_WorksheetNode& node_;
  std::vector<bool> found_;
  bool baseIsFile_;
};

}  // namespace

dpx::HRESULT DPX_ConfigurationManager::updateHeaderFromWorksheet(DPX_Worksheet& worksheet) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::updateHeaderFromWorksheet");
  header_.approval = worksheet.isApproval();
  header_.backup = worksheet.isBackup();
  header_.FRFMUDF = worksheet.isFRFMUDF();
  header_.partialConfiguration = worksheet.isModified();
  header_.copyMethod = worksheet.getCopyMethod();
  header_.RTCF = worksheet.getRTCF();
  if (!worksheet.getAdditionalDescription().empty()) header_.additionalDescr = worksheet.getAdditionalDescription();
  if (!worksheet.getCreationUser().empty()) header_.creationUser = worksheet.getCreationUser();
  header_.creationDate = IsoNow();
  if (const auto base = context_->getBaseCompany()) {
    try {
      header_.dbVersion = fmt::sprintf("%d", base->Version());
    } catch (const dpx::HostError& e) {
      scope.LogError("Cannot read the base company's version: %s", e.what());
    }
  }
  const std::string target = context_->getTargetFile();
  if (!target.empty()) header_.configurationName = LastPathElement(target);
  return dpx::S_OK;
}

dpx::HRESULT DPX_ConfigurationManager::writeHeader(std::string& buffer) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::writeHeader");
  buffer = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n";
  buffer += "<duploraConfigurationFile version=\"1.0\">\n<header>\n";
  AppendLine(buffer, "configurationName", DPX_Util::EscapeXML(header_.configurationName));
  AppendLine(buffer, "dbVersion", DPX_Util::EscapeXML(header_.dbVersion));
  AppendLine(buffer, "localization", DPX_Util::EscapeXML(header_.localization));
  AppendLine(buffer, "creationUser", DPX_Util::EscapeXML(header_.creationUser));
  AppendLine(buffer, "creationDate", DPX_Util::EscapeXML(header_.creationDate));
  AppendLine(buffer, "additionalDescr", DPX_Util::EscapeXML(header_.additionalDescr));
  AppendLine(buffer, "partialConfiguration", BoolText(header_.partialConfiguration));
  AppendLine(buffer, "backup", BoolText(header_.backup));
  AppendLine(buffer, "approval", BoolText(header_.approval));
  AppendLine(buffer, "copyMethod", fmt::sprintf("%d", header_.copyMethod));
  AppendLine(buffer, "RTCF", fmt::sprintf("%d", header_.RTCF));
  AppendLine(buffer, "FRFMUDF", BoolText(header_.FRFMUDF));
  buffer += "</header>\n";
  return dpx::S_OK;
}

bool DPX_ConfigurationManager::refuseUnknownFields(const std::string& key, const DPX_WorksheetNode& node,
                                                   DPX_WorksheetNode& filtered) {
  auto manager = DPX_CategoryFactory(context_).createManager(key);
  if (!manager) return false;
  std::vector<DPX_SelectionObject> accepted;
  bool refused = false;
  for (const auto& object : node.getSelectionObjects()) {
    std::string unknown;
    for (const auto* fields : {&object.getKey(), &object.getSubsKey(), &object.getAdditionalData()})
      for (const auto& field : *fields)
        if (unknown.empty() && !manager->knowsField(field.getFieldName())) unknown = field.getFieldName();
    if (unknown.empty()) {
      accepted.push_back(object);
      continue;
    }
    refused = true;
    const std::string message =
        fmt::sprintf("A record picked in %s is left out: the worksheet names the field '%s', which the category does "
                     "not have",
                     key, unknown);
    leaveOutPart(key, message);
  }
  if (!refused) return false;
  filtered = node;
  filtered.getSelectionObjects() = std::move(accepted);
  return true;
}

dpx::HRESULT DPX_ConfigurationManager::writeBody(std::string& buffer, std::vector<DPX_WorksheetNode>& nodes,
                                                 bool baseIsFile, const std::function<bool(std::string&)>& flush) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::writeBody");
  const char* const method = "DPX_ConfigurationManager::writeBody";
  buffer += "<body>\n";
  int32_t counter = 1;
  bool failureSeen = false;
  for (auto it = objects_.cbegin(); it != objects_.cend(); ++it) {
    DPX_Util::SetProgressPosition(counter++);
    std::string key;
    if (!getObjectStringId(it, key)) continue;
    size_t position = 0;
    const int state = findNode(nodes, key, &position);
    if (baseIsFile && position == nodes.size() && !DPX_CategoryFactory::findCategory(key)) {
      // A file may name any category; one this program does not know is
      // reported, not silently dropped.
      ++selectedCategories_;
      leaveOutCategory(key, fmt::sprintf("The file holds the category %s, which this program does not know", key));
      continue;
    }
    if (state == DPX_WorksheetNode::kNotSelected) continue;
    ++selectedCategories_;
    if (baseIsFile) {
      for (const std::string& stray : it->strayElements)
        leaveOutPart(key, fmt::sprintf("Part of %s is left out: %s", key, stray));
    }
    DPX_WorksheetNode* used = &nodes[position];
    DPX_WorksheetNode filtered;

    std::string text = "<OBJECT";
    AppendAttributes(text, it->attributes);
    text += '>';

    std::vector<DPX_DetailRecord> keys;
    if (state == DPX_WorksheetNode::kSelectedPartly) {
      if (refuseUnknownFields(key, *used, filtered)) used = &filtered;
      for (const auto& object : used->getSelectionObjects()) {
        const auto& fields = baseIsFile ? object.getSubsKey() : object.getKey();
        if (fields.empty()) {
          log(dpx::ComponentLogger::kError, method, "No keys in list of selection object (partial selection)");
          continue;
        }
        DPX_DetailRecord entry;
        for (const auto& field : fields) entry.addKeyValue(field.getFieldName(), TypedValue(field));
        keys.push_back(std::move(entry));
      }
      if (keys.empty()) {
        // An empty key list would mean "every record": a partial selection
        // that names no record copies nothing of the category.
        scope.LogWarning("Category %s: partial selection without keys, nothing saved", key);
        leaveOutCategory(
            key, fmt::sprintf("No record of the partial selection of %s can be identified; the category is not saved", key));
        failureSeen = true;
        continue;
      }
    }

    DPX_WorksheetNode& node = *used;
    // Changed values are merged into the category's whole text; without
    // them the records read from the base go out a piece at a time, the
    // category's opening written only once it has a record.
    const bool merges = std::any_of(node.getSelectionObjects().begin(), node.getSelectionObjects().end(),
                                    [](const auto& object) { return !object.getAdditionalData().empty(); });
    // The picks whose record the read gave; a pick the base lacks is named.
    PickedRecords picked(node, keys.empty() ? 0 : node.getSelectionObjects().size(), baseIsFile);
    bool streamed = false;
    bool written = true;
    std::function<bool(std::string&)> piece;
    if (flush && !baseIsFile && !merges) {
      piece = [&](std::string& part) {
        if (!streamed && !buffer.empty()) {
          if (!flush(buffer)) return written = false;
        }
        streamed = true;
        picked.look(part);
        return written = flush(part);
      };
    }
    const dpx::HRESULT read =
        baseIsFile ? GetBOMFromXML(text, it, keys, node) : GetBOMFromDB(text, key, keys, node, piece);
    if (!written) return dpx::E_FAIL;
    if (read != dpx::S_OK) failureSeen = true;  // GetBOMFromDB named the category
    picked.look(text);
    if (read == dpx::S_OK) {
      for (const std::string& missing : picked.missing())
        leaveOutPart(key, fmt::sprintf("The record picked in %s with %s is not in the base; it is not copied", key,
                                       missing));
    }
    if (!streamed && text.find("<BOM>") == std::string::npos) continue;
    text += "</OBJECT>\n";

    DPX_ChangedDataManager merger(context_, logger_);
    for (const auto& object : node.getSelectionObjects()) {
      if (object.getAdditionalData().empty()) continue;
      if (merger.mergeSingle(object, text) != dpx::S_OK) {
        log(dpx::ComponentLogger::kWarning, method,
            fmt::sprintf("The changed values of a record of %s were not written: its record was not found", key));
      }
    }
    if (buffer.empty()) buffer.swap(text);  // flushed after every category: no copy needed
    else buffer += text;
    if (flush && !flush(buffer)) return dpx::E_FAIL;
  }
  buffer += "</body>\n</duploraConfigurationFile>\n";
  if (failureSeen) {
    log(dpx::ComponentLogger::kError, method, "Failed to write all BOMs");
    DPX_Util::ShowError(dpx::StringTable::Load(kStrFailedToWriteAll, dpx::Ui().getLanguage()), false);
  }
  return dpx::S_OK;
}

void DPX_ConfigurationManager::leaveOutPart(const std::string& key, const std::string& message, const char* method,
                                            const std::string& baseCode, const std::string& baseDescription) {
  log(dpx::ComponentLogger::kError, method, message);
  if (context_->copyLog) logCategoryFailure(key, context_->getCopyMethod(), message, baseCode, baseDescription);
  else DPX_Util::ShowError(message + (baseCode.empty() ? "" : " (" + baseCode + ")"), false);
  leftOut_.push_back(message);
}

void DPX_ConfigurationManager::leaveOutCategory(const std::string& key, const std::string& message) {
  leaveOutPart(key, message);
  failedCategories_.insert(key);
}

dpx::HRESULT DPX_ConfigurationManager::writeToFile(const std::string& buffer, const std::string& path) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::writeToFile");
  std::error_code ec;
  const std::filesystem::path file(path);
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  if (path.empty() || !std::filesystem::is_directory(folder, ec) || std::filesystem::is_directory(file, ec)) {
    scope.LogError("Cannot open '%s' for writing", path);
    log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::writeToFile", "Failed to open output configuration file");
    return dpx::E_INVALIDARG;
  }
  // Written beside the file and renamed over it, so a failed write never
  // leaves a truncated file behind.
  std::string carried;
  if (buffer.find('\r') != std::string::npos) {
    carried = buffer;
    CarryCarriageReturns(carried);
  }
  if (!dpx::WriteUtf16File(file, carried.empty() ? buffer : carried, true)) {
    scope.LogError("Cannot write '%s'", path);
    log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::writeToFile", "Failed to write configuration file");
    return dpx::E_FAIL;
  }
  return dpx::S_OK;
}

dpx::HRESULT DPX_ConfigurationManager::saveConfiguration(DPX_Worksheet& worksheet, bool baseIsFile) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::saveConfiguration");
  const char* const method = "DPX_ConfigurationManager::writeToFile";
  std::string buffer;
  dpx::HRESULT result = dpx::S_OK;
  leftOut_.clear();
  failedCategories_.clear();
  selectedCategories_ = 0;
  if (baseIsFile) {
    if (!parser_) result = openConfiguration(worksheet, false);
    // After a copy the base file is read again; the worksheet stays as it is.
    else if (holdsCopyFile_) result = readFile(baseFilePath(worksheet));
  } else {
    result = openConfiguration(worksheet, true);
  }
  DPX_Util::SetProgress(dpx::StringTable::Load(kStrSavingConfiguration, dpx::Ui().getLanguage()), 0,
                        static_cast<uint16_t>(std::min<size_t>(objects_.size() + 1, 0xFFFF)));
  {
    dpx::WaitCursor wait;
    if (result == dpx::S_OK) {
      updateHeaderFromWorksheet(worksheet);
      result = writeHeader(buffer);
    }
    DPX_Util::SetProgressPosition(1);
    // The file is written category by category into a temporary file beside
    // it, which replaces it only when the whole file was written.
    const std::string path = context_->getTargetFile();
    std::unique_ptr<dpx::Utf16FileStream> out;
    if (result == dpx::S_OK) {
      std::error_code ec;
      const std::filesystem::path file(path);
      if (!path.empty() && !std::filesystem::is_directory(file, ec)) out = std::make_unique<dpx::Utf16FileStream>(file, true);
      if (!out || !out->isOpen()) {
        lastError_ = fmt::sprintf("the configuration file '%s' cannot be written", path);
        if (out && out->error()) lastError_ += std::string(": ") + std::strerror(out->error());
        scope.LogError("Cannot open '%s' for writing", path);
        log(dpx::ComponentLogger::kError, method, "Failed to open output configuration file");
        result = dpx::E_INVALIDARG;
      }
    }
    if (result == dpx::S_OK) {
      auto flush = [&out](std::string& text) {
        CarryCarriageReturns(text);
        const bool written = out->write(text);
        text.clear();
        return written;
      };
      if (!flush(buffer)) result = dpx::E_FAIL;
      try {
        if (result == dpx::S_OK) result = writeBody(buffer, worksheet.getNodes(), baseIsFile, flush);
      } catch (const std::exception& e) {
        // A base file's records that cannot be read back: the file stays as it was.
        lastError_ = fmt::sprintf("the configuration file '%s' cannot be written: %s", path, e.what());
        result = dpx::E_FAIL;
      }
      if (result == dpx::S_OK && !(flush(buffer) && out->commit())) result = dpx::E_FAIL;
      if (result != dpx::S_OK) {
        if (out->error())
          lastError_ = fmt::sprintf("the configuration file '%s' cannot be written: %s", path,
                                    std::strerror(out->error()));
        scope.LogError("Cannot write '%s'", path);
        log(dpx::ComponentLogger::kError, method, "Failed to write configuration file");
      }
    }
  }
  DPX_Util::ResetProgress();
  return result;
}

dpx::HRESULT DPX_ConfigurationManager::bomFromObject(std::string& out, const Object& object,
                                                     const std::vector<DPX_DetailRecord>& keys,
                                                     DPX_WorksheetNode& node) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::GetBOMFromXML");
  for (const Table& table : object.tables) {
    std::string text = "<table";
    AppendAttributes(text, table.attributes);
    text += '>';
    text += tableXml(table);
    text += "</table>";
    if (!keys.empty() && node.getSelected() == DPX_WorksheetNode::kSelectedPartly) {
      DPX_ChangedDataManager(context_, logger_).removeUnselected(text, node.getSelectionObjects());
    }
    out += text;
  }
  return dpx::S_OK;
}

dpx::HRESULT DPX_ConfigurationManager::GetBOMFromXML(std::string& out, Objects::const_iterator position,
                                                     const std::vector<DPX_DetailRecord>& keys,
                                                     DPX_WorksheetNode& node) {
  return bomFromObject(out, *position, keys, node);
}

dpx::HRESULT DPX_ConfigurationManager::GetBOMFromXML(std::string& out, Objects::const_reverse_iterator position,
                                                     const std::vector<DPX_DetailRecord>& keys,
                                                     DPX_WorksheetNode& node) {
  return bomFromObject(out, *position, keys, node);
}

dpx::HRESULT DPX_ConfigurationManager::getData(const std::string& key, std::vector<DPX_OperationArgs>& out) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::getData");
  out.clear();
  const Object* object = findObject(key);
  if (!object) return dpx::E_FAIL;
  for (const Table& table : object->tables) {
    DPX_OperationArgs record;
    std::string name;
    for (const auto& [attr, value] : table.attributes)
      if (attr == "name") {
        name = value;
        break;
      }
    const std::string xml = tableXml(table);
    size_t pos = 0;
    while (true) {
      const size_t begin = xml.find("<BOM>", pos);
      if (begin == std::string::npos) break;
      const size_t end = xml.find("</BOM>", begin);
      if (end == std::string::npos) break;
      record.set(key, name, 1, DPX_OperationArgs::kTableRows);
      DPX_OperationArgs::DataItem item;
      item.xml = xml.substr(begin, end + 6 - begin);
      record.dataItems.push_back(std::move(item));
      pos = end + 6;
    }
    out.push_back(std::move(record));
  }
  return dpx::S_OK;
}
