// Shared slots of the table categories.
#include "categories/table_category.h"

#include "categories/list_text.h"
#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
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
  dpx::records::DescribeColumns(m_tableInfo, m_context, m_definition.table, m_columns, m_columnFlags);
  return true;
}

int32_t DPX_TableCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_TableCategory::readFromDB");
  if (chosen.empty()) {
    DPX_OperationArgs block = readBaseTable(m_definition.table, m_definition.readAllSql, 0);
    if (!block.dataItems.empty()) blocks.push_back(std::move(block));
  } else {
    blocks.push_back(readBaseRows(m_definition.table, std::move(chosen)));
  }
  return 0;
}

DPX_TableInfo* DPX_TableCategory::readFromFile(dpx::ConfigurationSource* configuration) {
  std::vector<DPX_OperationArgs> blocks;
  if (!configuration) return &m_tableInfo;
  configuration->getData(m_categoryKey, blocks);
  if (blocks.empty())
    return &m_tableInfo;
  initialize();
  // The rows of a table category carry database column names.
  for (const DPX_OperationArgs::DataItem& item : blocks.back().dataItems) {
    std::vector<std::string> row = parseKeyValues(item, m_keyColumns, m_columns, "row");
    m_tableInfo.addListRow(row);
  }
  return &m_tableInfo;
}

DPX_TableInfo* DPX_TableCategory::collectDetails() {
  dpx::DPX_LogScope scope("DPX_TableCategory::collectDetails");
  initialize();
  auto recordset = queryBaseList(m_definition.listSql);
  recordset->MoveFirst();
  while (!recordset->EoF()) {
    std::vector<std::string> row = readListRows(*recordset, m_keyColumns, m_columns);
    dpx::categories::ShowAsListText(row, m_definition.listTextIndex, m_definition.listTextBase, m_context);
    m_tableInfo.addListRow(std::move(row));
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

const std::vector<std::string>& DPX_TableCategory::matchColumns() const {
  return m_definition.matchColumns.empty() ? m_keyColumns : m_definition.matchColumns;
}

void DPX_TableCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_TableCategory::writeData");
  const std::vector<std::string>& match = matchColumns();
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName != m_definition.table) continue;  // not this category's table
    block.setWithValues(m_categoryKey, m_definition.table, m_context, 1, DPX_OperationArgs::kTableRows);
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
  dpx::DPX_LogScope scope("DPX_TableCategory::mapReferences");
  if (table != m_definition.table || (mode != 2 && mode != 3)) return;
  auto target = dpx::records::TargetCompany(m_context);
  const int32_t serverType = target->DbServerType();
  DPX_DOMParser parser;
  if (!parser.loadXML(xml)) return;
  auto* root = parser.getCursor();
  if (parser.findElement("row") == 0) return;

  auto recordset = target->NewRecordset();
  DPX_SqlStatement statement(serverType);
  statement.setTable(table);
  if (mode == 2) {
    if (!m_targetFieldsRead) {
      m_targetFields = dpx::records::ReadFieldList(*target, table);
      m_targetFieldsRead = true;
    }
    // The values go through the statement builder, so a name with "'" works.
    statement.addColumn(keyColumn);
    for (const std::string& column : lookupColumns) {
      const dpx::records::FieldInfo* field = dpx::records::FindField(m_targetFields, column);
      statement.addValue(column, getChildText(parser, column), field ? field->type : DPX_SqlStatement::kAlpha);
    }
    for (const auto& [column, value] : fixedConditions) statement.addValue(column, value, DPX_SqlStatement::kAlpha);
    recordset->DoQuery(statement.buildSelect());
    if (recordset->RecordCount() < 1) return;  // no such row: the row keeps its base key
  } else {
    recordset->DoQuery(fmt::sprintf("SELECT MAX(%s) FROM %s", serverType == 5 ? "\"" + keyColumn + "\"" : keyColumn,
                                    table));
  }
  int64_t key = 0;
  if (recordset->RecordCount() > 0 && !recordset->Field(0).isEmpty() &&
      !dpx::records::ReadIntegerKey(recordset->Field(0), key)) {
    scope.LogWarning("Key %s of %s is not a number; the row keeps its key", keyColumn, table);
    return;
  }
  if (mode == 3) ++key;

  const std::string text = fmt::sprintf("%d", static_cast<long long>(key));
  std::string ignored;
  if (findChildElement(parser, keyColumn, ignored) != -1) {
    parser.findElement(keyColumn);
    replaceElement(parser, 1, keyColumn, text);
  } else {
    parser.addElement(keyColumn, text, "", "", false);
  }
  parser.setCursor(root);
  xml = parser.serialize(true);
}
