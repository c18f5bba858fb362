// Shared slots of the table categories.
#include "categories/table_category.h"

#include "categories/key_by_name.h"

#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"
#include "engine/configuration_source.h"

DPX_TableCategory::DPX_TableCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                     DPX_TableCategoryDefinition definition)
    : DPX_DIInterface(context, categoryKey), m_definition(std::move(definition)) {}

bool DPX_TableCategory::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, m_definition.table, m_columns, m_columnFlags);
  return true;
}

int32_t DPX_TableCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_TableCategory::readFromDB");
  if (chosen.empty()) {
    DPX_OperationArgs block = readBaseTable(m_definition.table, "", 0);
    if (!block.dataItems.empty()) blocks.push_back(std::move(block));
  } else {
    blocks.push_back(readBaseRows(m_definition.table, std::move(chosen)));
  }
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
  while (!recordset->EoF()) {
    m_tableInfo.addListRow(readListRows(*recordset, m_keyColumns, m_columns));
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

void DPX_TableCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_TableCategory::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName != m_definition.table) {
      if (method != 0) logUnknownTable(block.tableName, method);
      continue;
    }
    block.setWithValues(m_categoryKey, m_definition.table, m_context, 1, DPX_OperationArgs::kTableRows);
    const std::vector<std::string>& match = m_definition.matchByColumns ? m_columns : m_keyColumns;
    switch (method) {
      case 0:
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

void DPX_TableCategory::mapByNameOrNextNumber(const std::string& table, std::string& xml, int32_t mode,
                                              const std::string& keyColumn, const std::string& nameColumn,
                                              const std::vector<std::pair<std::string, std::string>>& extraConditions) {
  if (table != m_definition.table) return;
  dpx::categories::MapKeyByNameOrNextNumber(m_context, table, xml, mode, keyColumn, nameColumn, extraConditions);
}
