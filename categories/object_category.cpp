// Shared slots of the business-object categories. Beyond the main table a
// definition may name reference fields (dependency records on reading, the
// target's keys on writing), tables the records need (written first, without
// copy-log lines) and codes the record list shows as texts.
#include "categories/object_category.h"

#include <algorithm>
#include <iterator>

#include "categories/category_support.h"
#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

DPX_DependentBlock DPX_PlainRows(std::string table, std::vector<std::string> matchColumns,
                                 std::vector<std::string> listColumns, int32_t counterObjectType,
                                 std::string counterKeyColumn) {
  DPX_DependentBlock rows;
  rows.table = std::move(table);
  rows.objectType = DPX_OperationArgs::kTableRows;
  rows.keyColumns = {std::move(counterKeyColumn)};
  rows.listColumns = std::move(listColumns);
  rows.fixedMethod = 4;
  rows.counterObjectType = counterObjectType;
  rows.matchColumns = std::move(matchColumns);
  return rows;
}

DPX_ObjectCategory::DPX_ObjectCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                       DPX_ObjectCategoryDefinition definition)
    : DPX_DIInterface(context, categoryKey), m_definition(std::move(definition)) {
  m_keyColumns = m_definition.keyColumns;
  m_keyProperties = m_definition.keyProperties;
  m_columns = m_definition.columns;
  m_properties = m_definition.properties;
  m_columnFlags = m_definition.columnFlags;
  m_listColumns = m_definition.listProperties;
}

bool DPX_ObjectCategory::initialize() {
  if (m_definition.listTexts.empty()) {
    dpx::records::DescribeColumns(m_tableInfo, m_context, m_definition.table, m_columns, m_columnFlags);
    return true;
  }
  m_tableInfo.setTableName(m_definition.table);
  m_tableInfo.setContext(m_context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  m_tableInfo.readFieldTypes(m_definition.table, m_columns, headings, types);
  // A column that shows names in place of codes sorts as text.
  for (const DPX_ListText& text : m_definition.listTexts)
    if (text.column < types.size()) types[text.column] = dpx::fieldtype::kAlpha;
  m_tableInfo.setColumns(headings, m_columnFlags, types);
  return true;
}

int32_t DPX_ObjectCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  return readBlocks(
      [&blocks](DPX_OperationArgs& block) {
        if (!block.continuesTable || blocks.empty()) {
          blocks.push_back(std::move(block));
          return;
        }
        std::vector<DPX_OperationArgs::DataItem>& items = blocks.back().dataItems;
        std::move(block.dataItems.begin(), block.dataItems.end(), std::back_inserter(items));
      },
      std::move(chosen));
}

int32_t DPX_ObjectCategory::readSlices(const BlockSink& take, std::vector<DPX_DetailRecord> chosen) {
  if (!readsInSlices()) return DPX_DIInterface::readSlices(take, std::move(chosen));
  return readBlocks(take, std::move(chosen));
}

int32_t DPX_ObjectCategory::readBlocks(const BlockSink& take, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_ObjectCategory::readFromDB");
  // The tables the records need go whole, whichever records were chosen,
  // and before the records that may refer to them.
  for (const DPX_DependentBlock& dependent : m_definition.dependents) {
    if (dependent.afterMainTable) continue;
    DPX_OperationArgs rows = dependent.objectType == DPX_OperationArgs::kTableRows
                                 ? readBaseTable(dependent.table, "", 0)
                                 : readBaseRecords(dependent.objectType, dependent.table, dependent.keyColumns, "");
    if (!rows.dataItems.empty()) take(rows);
  }
  bool any = false;
  auto resolved = [this, &take, &any](DPX_OperationArgs& block) {
    if (block.dataItems.empty()) return;
    resolveReferences(block);
    take(block);
    any = true;
  };
  if (chosen.empty()) {
    readBaseRecordSlices(m_definition.objectType, m_definition.table, m_keyColumns, m_definition.keyQuery, resolved);
  } else {
    DPX_OperationArgs block = readBaseObjects(m_definition.objectType, m_definition.table, chosen);
    resolved(block);
  }
  if (!any) return 0;
  for (const DPX_DependentBlock& dependent : m_definition.dependents) {
    if (!dependent.afterMainTable) continue;
    DPX_OperationArgs rows = readBaseTable(dependent.table, "", 0);
    if (!rows.dataItems.empty()) take(rows);
  }
  return 0;
}

void DPX_ObjectCategory::resolveReferences(DPX_OperationArgs& block) {
  dpx::categories::ResolveReferences(*this, m_context, block, m_definition.references);
}

void DPX_ObjectCategory::mapReferencesToTarget(DPX_OperationArgs& block) {
  dpx::categories::MapReferencesToTarget(*this, m_context, block, m_definition.references);
}

DPX_TableInfo* DPX_ObjectCategory::collectDetails() {
  dpx::DPX_LogScope scope("DPX_ObjectCategory::collectDetails");
  initialize();
  const std::string& query = m_definition.listQuery.empty() ? m_definition.keyQuery : m_definition.listQuery;
  auto recordset = query.empty() ? listObjectKeys(m_definition.table, m_keyColumns) : queryBaseList(query);
  recordset->MoveFirst();
  const int count = recordset->RecordCount();
  DPX_ListTextObjects objects;  // one per named type, for every row
  for (int i = 0; i < count; ++i) {
    std::vector<std::string> texts =
        m_definition.listFromKeys
            ? readKeyRow(*recordset)
            : readRecordKeys(m_definition.objectType, *recordset, m_keyColumns, m_keyProperties, m_properties);
    if (!texts.empty()) {
      ApplyListTexts(m_context, m_definition.listTexts, texts, &objects);
      m_tableInfo.addListRow(texts);
    }
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

std::vector<std::string> DPX_ObjectCategory::readKeyRow(dpx::host::Recordset& fields) {
  DPX_DetailRecord record;
  std::vector<std::string> texts;
  for (size_t j = 0; j < m_keyColumns.size() && j < m_keyProperties.size(); ++j) {
    const dpx::Variant value = fields.Field(static_cast<int>(j));
    record.addKeyValue(m_keyColumns[j], value);
    record.addValue(m_keyProperties[j], value);
    texts.push_back(DPX_Util::VariantToDisplayText(value));
  }
  m_tableInfo.addRow(record);
  m_tableInfo.setTextList(m_keyProperties);
  return texts;
}

DPX_TableInfo* DPX_ObjectCategory::readFromFile(dpx::ConfigurationSource* configuration) {
  dpx::DPX_LogScope log("DPX_ObjectCategory::readFromFile");
  if (!configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  // The records are the main table's block; the blocks of needed tables come before it.
  const DPX_OperationArgs* records = nullptr;
  for (const DPX_OperationArgs& block : blocks)
    if (block.tableName == m_definition.table || block.tableName.empty()) records = &block;
  if (!records) return &m_tableInfo;
  initialize();
  for (const auto& item : records->dataItems) {
    std::vector<std::string> row = parseKeyValues(item, m_keyProperties, m_properties, "row");
    ApplyListTexts(m_context, m_definition.listTexts, row);
    m_tableInfo.addListRow(std::move(row));
  }
  return &m_tableInfo;
}

void DPX_ObjectCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_ObjectCategory::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == m_definition.table) {
      writeMainBlock(block, method);
      continue;
    }
    if (!writeDependentBlocks(block, method) && method != 0) logUnknownTable(block.tableName, method);
  }
  m_logRecords = 1;
}

bool DPX_ObjectCategory::writesInSlices() const {
  // A record that names another record of its own table must meet the
  // target as the whole category's comparison met it, before any of them
  // was written.
  // So must a removal pass that keeps the records the base has: it needs all of them.
  if (m_definition.removalKeepsMatched) return false;
  return std::none_of(m_definition.references.begin(), m_definition.references.end(),
                      [this](const DPX_ReferenceField& ref) { return ref.table == m_definition.table; });
}

bool DPX_ObjectCategory::writeDependentBlocks(DPX_OperationArgs& block, uint8_t method) {
  bool known = false;
  for (const DPX_DependentBlock& dependent : m_definition.dependents)
    if (block.tableName == dependent.table) {
      known = true;
      writeDependentBlock(block, dependent, method);
    }
  return known;
}

void DPX_ObjectCategory::writeDependentBlock(DPX_OperationArgs& block, const DPX_DependentBlock& dependent,
                                             uint8_t method) {
  if (method == 0 && !dependent.inRemovalPass) return;
  m_logRecords = 0;
  block.context = m_context;
  if (dependent.objectType == DPX_OperationArgs::kTableRows) {
    block.setWithValues(m_categoryKey, dependent.table, m_context, 1, DPX_OperationArgs::kTableRows);
    if (dependent.matchColumns.empty())
      buildObjectXml(block, dependent.matchColumn, dependent.listColumns, dependent.matchColumn,
                     dependent.fixedMethod);
    else
      buildTableXml(block, dependent.matchColumns, dependent.listColumns, dependent.matchColumns,
                    dependent.fixedMethod);
    if (dependent.fixedMethod == 2)
      updateTargetRows(block);
    else if (dependent.fixedMethod == 3)
      addTargetRows(block, dependent.counterObjectType, dependent.keyColumns.front());
    else
      copyTableRecords(block, dependent.counterObjectType, dependent.keyColumns.front());
  } else {
    block.set(m_categoryKey, dependent.table, 0, dependent.objectType);
    compareWithTarget(block, dependent.matchProperty, dependent.matchColumn, dependent.keyColumns,
                      dependent.listColumns, dependent.fixedMethod);
    if (dependent.fixedMethod == 2)
      updateTargetRecords(block);
    else if (dependent.fixedMethod == 3)
      addTargetRecords(block);
    else
      copyRecords(block);
  }
  m_logRecords = 1;
}

void DPX_ObjectCategory::writeMainBlock(DPX_OperationArgs& block, uint8_t method) {
  m_logRecords = 1;
  block.context = m_context;
  block.set(m_categoryKey, m_definition.table, 0, m_definition.objectType);
  if (method == 0) {
    if (block.continuesTable) return;  // the first slice emptied the table
    if (!m_definition.removalStatement.empty())
      dpx::records::TargetCompany(m_context)->NewRecordset()->DoQuery(m_definition.removalStatement);
    if (!m_definition.removalKeepsMatched) {
      removeTargetRecords(block, m_keyColumns, m_listColumns, m_definition.removalSql);
      return;
    }
    const std::set<std::vector<std::string>> matched = matchTexts(block);
    auto target = dpx::records::TargetCompany(m_context);
    auto existing = target->NewBusinessObject(m_definition.objectType);
    const std::vector<std::string> properties = matchProperties();
    removeTargetRecords(block, m_keyColumns, m_listColumns, m_definition.removalSql,
                        [&](const std::vector<dpx::Variant>& keys) {
                          if (!dpx::records::GetByKey(*existing, keys)) return false;
                          std::vector<std::string> texts;
                          for (const std::string& p : properties)
                            texts.push_back(dpx::records::PropertyText(*existing, p));
                          return matched.count(texts) > 0;
                        });
    return;
  }
  mapReferencesToTarget(block);
  if (m_definition.matchProperties.empty())
    compareWithTarget(block, m_definition.matchProperty, m_definition.matchColumn, m_keyColumns, m_listColumns,
                      method);
  else
    compareRecordsWithTarget(block, m_definition.matchProperties, m_definition.matchColumns, m_keyColumns,
                             m_listColumns, method);
  refuseCompared(block, method);
  dpx::categories::WriteObjectsByMethod(*this, block, method);
}

std::vector<std::string> DPX_ObjectCategory::matchProperties() const {
  if (m_definition.matchProperties.empty()) return {m_definition.matchProperty};
  return m_definition.matchProperties;
}

std::set<std::vector<std::string>> DPX_ObjectCategory::matchTexts(const DPX_OperationArgs& block) {
  std::set<std::vector<std::string>> texts;
  auto target = dpx::records::TargetCompany(m_context);
  const std::vector<std::string> properties = matchProperties();
  for (const DPX_OperationArgs::DataItem& item : block.dataItems) {
    try {
      // Read as the comparison reads it: values only, no dependency records.
      auto object = target->GetBusinessObjectFromXML(dpx::recordtext::WithoutDependencyRecords(item.xml), 0);
      std::vector<std::string> values;
      for (const std::string& p : properties) values.push_back(dpx::records::PropertyText(*object, p));
      texts.insert(std::move(values));
    } catch (const dpx::HostError&) {
      // A record the host cannot read matches nothing: the write reports it.
    }
  }
  return texts;
}

void DPX_ObjectCategory::adjustXml(int32_t objectType, std::string& xml) {
  if (m_definition.removedElement.empty() || objectType != m_definition.objectType) return;
  DPX_DOMParser parser;
  if (!parser.loadXML(xml)) return;  // the host reports the broken record when it reads it
  auto* root = parser.getCursor();
  if (parser.findElement(m_definition.removedElement) == 0) return;
  if (!parser.removeCurrent()) return;
  parser.setCursor(root);
  xml = parser.serialize(true);
}
