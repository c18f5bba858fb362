// Shared slots of the business-object categories.
#include "categories/object_category.h"

#include "categories/category_support.h"
#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "platform/framework/log_scope.h"
#include "platform/host/recordset.h"

DPX_ObjectCategory::DPX_ObjectCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                       DPX_ObjectCategoryDefinition definition)
    : DPX_DIInterface(context, categoryKey), m_definition(std::move(definition)) {}

bool DPX_ObjectCategory::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, m_definition.table, m_columns, m_columnFlags);
  return true;
}

int32_t DPX_ObjectCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_ObjectCategory::readFromDB");
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
      ApplyListTexts(m_context, m_definition.listTexts, texts);
      m_tableInfo.addListRow(texts);
    }
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

void DPX_ObjectCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_ObjectCategory::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName != m_definition.table) {
      if (method != 0) logUnknownTable(block.tableName, method);
      continue;
    }
    writeMainBlock(block, method);
  }
}

void DPX_ObjectCategory::writeMainBlock(DPX_OperationArgs& block, uint8_t method) {
  block.context = m_context;
  block.set(m_categoryKey, m_definition.table, 0, m_definition.objectType);
  if (method == 0) {
    removeTargetRecords(block, m_keyColumns, m_listColumns, m_definition.removalSql);
    return;
  }
  if (m_definition.matchProperties.empty())
    compareWithTarget(block, m_definition.matchProperty, m_definition.matchColumn, m_keyColumns, m_listColumns,
                      method);
  else
    compareRecordsWithTarget(block, m_definition.matchProperties, m_definition.matchColumns, m_keyColumns,
                             m_listColumns, method);
  dpx::categories::WriteObjectsByMethod(*this, block, method);
}
