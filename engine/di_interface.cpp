#include "engine/di_interface.h"

#include <algorithm>

#include "engine/configuration_source.h"
#include "engine/copy_log.h"
#include "engine/di_record_support.h"
#include "platform/framework/log_scope.h"

DPX_DIInterface::DPX_DIInterface(DPX_ConnectionContext* context, std::string categoryKey)
    : m_context(context), m_categoryKey(std::move(categoryKey)) {}

bool DPX_DIInterface::initialize() { return true; }

bool DPX_DIInterface::writesInSlices() const { return false; }

int32_t DPX_DIInterface::readSlices(const BlockSink& take, std::vector<DPX_DetailRecord> chosen) {
  std::vector<DPX_OperationArgs> blocks;
  const int32_t status = readFromDB(blocks, std::move(chosen));
  for (DPX_OperationArgs& block : blocks) take(block);
  return status;
}

DPX_TableInfo* DPX_DIInterface::readFromFile(dpx::ConfigurationSource* configuration) {
  dpx::DPX_LogScope log("DPX_DIInterface::readFromFile");
  return readStoredList(configuration, true, m_keyProperties, m_properties, "row");
}

DPX_TableInfo* DPX_DIInterface::readStoredList(dpx::ConfigurationSource* configuration, bool lastBlock,
                                               const std::vector<std::string>& keyNames,
                                               const std::vector<std::string>& textNames, const std::string& rowName) {
  if (!configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  if (blocks.empty()) return &m_tableInfo;
  initialize();
  const DPX_OperationArgs& block = lastBlock ? blocks.back() : blocks.front();
  for (const auto& item : block.dataItems) m_tableInfo.addListRow(parseKeyValues(item, keyNames, textNames, rowName));
  return &m_tableInfo;
}

void DPX_DIInterface::prepareObject(int32_t, const std::shared_ptr<dpx::host::BusinessObject>&, int32_t) {}

void DPX_DIInterface::mapReferences(std::string, std::string&, int32_t) {}

void DPX_DIInterface::adjustXml(int32_t, std::string&) {}

bool DPX_DIInterface::knowsField(const std::string& name) const {
  for (const auto* list : {&m_keyColumns, &m_keyProperties, &m_columns, &m_properties, &m_listColumns})
    if (std::find(list->begin(), list->end(), name) != list->end()) return true;
  return false;
}

std::set<std::string>& DPX_DIInterface::addedMatches(const DPX_OperationArgs& block) {
  std::set<std::string>& added = m_addedMatches[block.tableName];
  if (!block.continuesTable) added.clear();
  return added;
}

void DPX_DIInterface::logUnknownTable(const std::string& table, uint8_t method) const {
  dpx::DPX_LogScope scope("DPX_DIInterface::writeData");
  scope.LogError("The category %s has no table '%s'; its records are not written", m_categoryKey, table);
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  // The line's action is what the copy would have done with the records.
  line.start(m_categoryKey, DPX_CopyLog::actionOfMethod(method));
  line.fail("The category has no table '" + table + "'; its records are not written");
  line.write(true);
}
