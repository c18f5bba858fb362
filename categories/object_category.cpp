// Shared slots of the business-object categories.
#include "categories/object_category.h"

#include "categories/list_text.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "platform/framework/log_scope.h"
#include "platform/host/recordset.h"

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
  dpx::records::DescribeColumns(m_tableInfo, m_context, m_definition.table, m_columns, m_columnFlags);
  return true;
}

int32_t DPX_ObjectCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_ObjectCategory::readFromDB");
  // The accompanying tables go whole, whichever records were chosen, and
  // before the records that may refer to them.
  for (const DPX_AccompanyingTable& table : m_definition.accompanyingTables) {
    DPX_OperationArgs rows = readBaseTable(table.table, "", 0);
    if (!rows.dataItems.empty()) blocks.push_back(std::move(rows));
  }
  DPX_OperationArgs block =
      chosen.empty()
          ? readBaseRecords(m_definition.objectType, m_definition.table, m_keyColumns, m_definition.keyQuery)
          : readBaseObjects(m_definition.objectType, m_definition.table, chosen);
  if (!block.dataItems.empty()) blocks.push_back(std::move(block));
  return 0;
}

DPX_TableInfo* DPX_ObjectCategory::collectDetails() {
  dpx::DPX_LogScope scope("DPX_ObjectCategory::collectDetails");
  initialize();
  auto recordset = m_definition.keyQuery.empty() ? listObjectKeys(m_definition.table, m_keyColumns)
                                                  : queryBaseList(m_definition.keyQuery);
  recordset->MoveFirst();
  const int count = recordset->RecordCount();
  for (int i = 0; i < count; ++i) {
    std::vector<std::string> texts =
        readRecordKeys(m_definition.objectType, *recordset, m_keyColumns, m_keyProperties, m_properties);
    if (!texts.empty()) {
      dpx::categories::ShowAsListText(texts, m_definition.listTextIndex, m_definition.listTextBase, m_context);
      m_tableInfo.addListRow(texts);
    }
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

void DPX_ObjectCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_ObjectCategory::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == m_definition.table) {
      m_logRecords = 1;
      writeMainBlock(block, method);
      continue;
    }
    if (method == 0) continue;  // the removal pass leaves the accompanying tables alone
    for (const DPX_AccompanyingTable& table : m_definition.accompanyingTables)
      if (block.tableName == table.table) writeAccompanyingBlock(block, table);
  }
  m_logRecords = 1;
}

void DPX_ObjectCategory::writeMainBlock(DPX_OperationArgs& block, uint8_t method) {
  block.context = m_context;
  block.set(m_categoryKey, m_definition.table, 0, m_definition.objectType);
  if (method == 0) {
    removeTargetRecords(block, m_keyColumns, m_listColumns, m_definition.removalSql);
    return;
  }
  compareWithTarget(block, m_definition.matchProperty, m_definition.matchColumn, m_keyColumns, m_listColumns, method);
  switch (method) {
    case 2:
      updateTargetRecords(block);
      break;
    case 3:
      addTargetRecords(block);
      break;
    default:
      copyRecords(block);
      break;
  }
}

void DPX_ObjectCategory::writeAccompanyingBlock(DPX_OperationArgs& block, const DPX_AccompanyingTable& table) {
  m_logRecords = 0;
  block.setWithValues(m_categoryKey, table.table, m_context, 1, DPX_OperationArgs::kTableRows);
  // Existing rows are overwritten and new ones added under every copy method.
  buildTableXml(block, table.matchColumns, table.logColumns, table.matchColumns, 4);
  copyTableRecords(block, table.counterObjectType, table.counterKeyColumn);
  m_logRecords = 1;
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
