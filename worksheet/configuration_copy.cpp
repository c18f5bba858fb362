// The copy driver: one copy of a worksheet's selection into the target
// company. The selection is saved as a configuration file and read back;
// then the categories copied with Replace All are emptied in the target, last
// category first, and every selected category is written, first category
// first, by its effective copy method.
#include <exception>

#include "engine/category_factory.h"
#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "engine/operation_args.h"
#include "engine/resource_manager.h"
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

}  // namespace

dpx::HRESULT DPX_ConfigurationManager::GetBOMFromDB(std::string& out, const std::string& key,
                                                    std::vector<DPX_DetailRecord> keys, DPX_WorksheetNode&) {
  dpx::DPX_LogScope scope("DPX_ConfigurationManager::GetBOMFromDB");
  DPX_CategoryFactory factory(context_);
  auto manager = factory.createManager(key);
  if (!manager) {
    log(dpx::ComponentLogger::kError, "DPX_ConfigurationManager::GetBOMFromDB", "Failed to get DIObject");
    return dpx::E_FAIL;
  }
  DPX_Util::ShowInformation(fmt::sprintf(dpx::StringTable::Load(kStrReading, dpx::Ui().getLanguage()), CategoryName(key)),
                            false);
  std::vector<DPX_OperationArgs> records;
  try {
    manager->readFromDB(records, std::move(keys));
  } catch (const DPX_DIFailureAbortException&) {
    throw;  // a manager that ends the whole run is obeyed
  } catch (const std::exception& e) {
    // One category that cannot be read does not stop the save; the save
    // reports it, and a copy shows it failed in its log.
    scope.LogError("Reading %s from the base company failed: %s", key, e.what());
    logCategoryFailure(key, context_->getCopyMethod(), e.what());
    return dpx::E_FAIL;
  }
  std::string text;
  for (const auto& record : records) {
    text += "<table name=\"";
    text += DPX_Util::EscapeXML(record.getTableName());
    text += "\">";
    for (const auto& item : record.dataItems) {
      const size_t bom = item.xml.find("<BOM>");
      if (bom != std::string::npos) text.append(item.xml, bom, std::string::npos);
    }
    text += "</table>";
  }
  records.clear();
  records.shrink_to_fit();
  if (out.empty()) out.swap(text);
  else out += text;
  return dpx::S_OK;
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

std::vector<DPX_OperationArgs> DPX_ConfigurationManager::splitRecords(const std::string& key, const std::string& text) {
  std::vector<DPX_OperationArgs> records;
  const size_t prefixLength = std::char_traits<char>::length(kTablePrefix);
  size_t pos = text.find(kTablePrefix);
  while (pos != std::string::npos) {
    const size_t nameStart = pos + prefixLength;
    const size_t quote = text.find('"', nameStart);
    if (quote == std::string::npos) break;
    const std::string tableName = text.substr(nameStart, quote - nameStart);
    const size_t nextTable = text.find(kTablePrefix, quote);
    DPX_OperationArgs record;
    // A table without records keeps its name: Replace All empties it.
    record.set(key, tableName, 1, DPX_OperationArgs::kTableRows);
    size_t searchFrom = quote;
    size_t end = quote;
    while (true) {
      const size_t bom = text.find("<BOM>", searchFrom);
      if (bom == std::string::npos || (nextTable != std::string::npos && bom > nextTable)) break;
      const size_t close = text.find("</BOM>", bom + 1);
      if (close == std::string::npos) break;
      end = close + 6;
      DPX_OperationArgs::DataItem item;
      item.xml = kDeclaration;
      item.xml.append(text, bom, end - bom);
      record.dataItems.push_back(std::move(item));
      searchFrom = end;
    }
    records.push_back(std::move(record));
    pos = text.find(kTablePrefix, end);
  }
  return records;
}

void DPX_ConfigurationManager::logCategoryFailure(const std::string& key, int method, const std::string& error) const {
  DPX_CopyLog* copyLog = context_->copyLog;
  if (!copyLog) return;
  try {
    copyLog->clearRecord();
    copyLog->setCategoryNo(key);
    copyLog->setAction(method);
    copyLog->setResult("403");
    copyLog->setError(error);
    copyLog->writeRecord(true);
  } catch (const std::exception&) {
    // A log that cannot be written cannot report its own failure.
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
  std::string text;
  DPX_WorksheetNode unfiltered;  // no row filter: the file holds the selection
  bomFromObject(text, object, {}, unfiltered);
  auto records = splitRecords(key, text);
  std::string().swap(text);  // one copy of the category at a time
  try {
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
            scope.LogWarning("Category %s skipped: copy method %d cannot copy it", key, method);
            log(dpx::ComponentLogger::kWarning, kMethod,
                fmt::sprintf("Category %s not copied: no copy method it allows (%d)", key, method));
            continue;
          }
          const std::string status = fmt::sprintf(writingText, CategoryName(key));
          if (writeCategory(*it, key, method, status) == dpx::E_ABORT) result = dpx::E_ABORT;
        }
      }
    }
  } catch (const std::exception& e) {
    log(dpx::ComponentLogger::kError, kMethod, "Exception caught!");
    scope.LogError("Copy ended by an exception: %s", e.what());
    RollBackOpenTransaction(context_);
    result = dpx::E_FAIL;
  }
  if (progressShown) DPX_Util::ResetProgress();
  context_->setBaseFile(keptBaseFile);
  if (result != dpx::S_OK) RollBackOpenTransaction(context_);
  return result;
}
