// User-defined tables: the business-object family over the user-table object.
#include "categories/customization/user_defined_tables_manager.h"

#include "categories/customization/user_table_exclusions.h"

namespace {
constexpr int32_t kUserTableType = 153;
}  // namespace

const DPX_ListText DPX_UserDefinedTablesManager::kTypeText = DPX_ListText::StringOffset(2, 38);

std::string DPX_UserDefinedTablesManager::listSql() {
  // The own tables always bring a condition, whose " AND " gives way to the WHERE.
  return "SELECT TableName FROM OUTB WHERE" + DPX_UserTableExclusions::conditions("TableName", "").substr(4);
}

DPX_UserDefinedTablesManager::DPX_UserDefinedTablesManager(DPX_ConnectionContext* context,
                                                           const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey,
                         {.objectType = kUserTableType,
                          .table = "OUTB",
                          .keyQuery = listSql(),
                          .matchProperty = "TableName",
                          .matchColumn = "TableName",
                          .removalSql = listSql(),
                          .listTexts = {kTypeText},
                          .removalKeepsMatched = true}) {
  m_keyColumns = {"TableName"};
  m_keyProperties = {"TableName"};
  m_columns = {"TableName", "Descr", "ObjectType"};
  m_properties = {"TableName", "TableDescription", "TableType"};
  m_listColumns = {"TableName", "TableName"};
  m_columnFlags = {0, 0, 0};
}
