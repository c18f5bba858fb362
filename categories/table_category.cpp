// Shared slots of the table categories.
#include "categories/table_category.h"

#include "categories/key_by_name.h"
#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

DPX_TableCategory::DPX_TableCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                     DPX_TableCategoryDefinition definition)
    : DPX_DIInterface(context, categoryKey), m_definition(std::move(definition)) {
  m_keyColumns = m_definition.keyColumns;
  m_columns = m_definition.columns;
  m_columnFlags = m_definition.columnFlags;
  m_listColumns = m_definition.logColumns;
}

bool DPX_TableCategory::initialize() {
  m_tableInfo.setTableName(m_definition.table);
  m_tableInfo.setContext(m_context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  m_tableInfo.readFieldTypes(m_definition.table, m_columns, headings, types);
  for (size_t column : m_definition.textColumns)
    if (column < types.size()) types[column] = dpx::fieldtype::kAlpha;
  m_tableInfo.setColumns(headings, m_columnFlags, types);
  return true;
}

int32_t DPX_TableCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_TableCategory::readFromDB");
  const bool whole = chosen.empty();
  DPX_OperationArgs block = whole ? readBaseTable(m_definition.table, m_definition.readAllSql, 0)
                                  : readBaseRows(m_definition.table, std::move(chosen));
  if (whole && block.dataItems.empty()) return 0;
  dpx::categories::ResolveReferences(*this, m_context, block, m_definition.references);
  blocks.push_back(std::move(block));
  return 0;
}

DPX_TableInfo* DPX_TableCategory::readFromFile(dpx::ConfigurationSource* configuration) {
  // The rows of a table category carry database column names.
  return readStoredList(configuration, true, m_keyColumns, m_columns, "row");
}

DPX_TableInfo* DPX_TableCategory::collectDetails() {
  dpx::DPX_LogScope scope("DPX_TableCategory::collectDetails");
  initialize();
  auto recordset = queryBaseList(m_definition.listSql);
  recordset->MoveFirst();
  DPX_ListTextObjects objects;
  while (!recordset->EoF()) {
    std::vector<std::string> row = readListRows(*recordset, m_keyColumns, m_columns);
    ApplyListTexts(m_context, m_definition.listTexts, row, &objects);
    adjustListRow(row, objects);
    m_tableInfo.addListRow(std::move(row));
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

void DPX_TableCategory::adjustListRow(std::vector<std::string>&, DPX_ListTextObjects&) {}

const std::vector<std::string>& DPX_TableCategory::matchColumns() const {
  return m_definition.matchColumns.empty() ? m_keyColumns : m_definition.matchColumns;
}

void DPX_TableCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_TableCategory::writeData");
  const std::vector<std::string>& match = matchColumns();
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName != m_definition.table) {
      if (method != 0) logUnknownTable(block.tableName, method);
      continue;
    }
    block.setWithValues(m_categoryKey, m_definition.table, m_context, 1, DPX_OperationArgs::kTableRows);
    if (method != 0) dpx::categories::MapReferencesToTarget(*this, m_context, block, m_definition.references);
    switch (method) {
      case 0:
        if (!m_definition.deleteFilterQuoted.empty() && dpx::records::TargetCompany(m_context)->DbServerType() == 5)
          deleteTargetRows(block, m_listColumns, m_definition.deleteFilterQuoted, 1);
        else
          deleteTargetRows(block, m_listColumns, m_definition.deleteFilter, 0);
        break;
      case 2:
        buildTableXml(block, match, m_listColumns, match, method);
        updateTargetRows(block);
        break;
      case 3:
        buildTableXml(block, match, m_listColumns, match, method);
        addTargetRows(block, m_definition.counterObjectType, m_definition.counterKeyColumn);
        break;
      default:
        buildTableXml(block, match, m_listColumns, match, method);
        copyTableRecords(block, m_definition.counterObjectType, m_definition.counterKeyColumn);
        break;
    }
  }
}

void DPX_TableCategory::mapReferences(std::string table, std::string& xml, int32_t mode) {
  if (!m_definition.newKeys) return;
  // The row's counterpart is the row its match columns find, the same the
  // update writes to: the key written is that row's own, never another's.
  mapByColumnsOrNextNumber(table, xml, mode, m_definition.counterKeyColumn, matchColumns(), {});
}

void DPX_TableCategory::mapByNameOrNextNumber(const std::string& table, std::string& xml, int32_t mode,
                                              const std::string& keyColumn, const std::string& nameColumn,
                                              const std::vector<std::pair<std::string, std::string>>& extraConditions) {
  mapByColumnsOrNextNumber(table, xml, mode, keyColumn, {nameColumn}, extraConditions);
}

void DPX_TableCategory::mapByColumnsOrNextNumber(
    const std::string& table, std::string& xml, int32_t mode, const std::string& keyColumn,
    const std::vector<std::string>& lookupColumns,
    const std::vector<std::pair<std::string, std::string>>& fixedConditions) {
  if (table != m_definition.table || (mode != 2 && mode != 3)) return;
  if (mode == 2 && !m_targetFieldsRead) {
    m_targetFields = dpx::records::ReadFieldList(*dpx::records::TargetCompany(m_context), table);
    m_targetFieldsRead = true;
  }
  dpx::categories::MapKeyByColumnsOrNextNumber(m_context, table, xml, mode, keyColumn, lookupColumns,
                                               fixedConditions, &m_targetFields);
}
