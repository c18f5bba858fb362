// User-defined fields: the business-object family over the user-field object.
#include "categories/customization/user_defined_fields_manager.h"

#include "categories/customization/user_table_exclusions.h"

namespace {
constexpr int32_t kUserFieldType = 152;
}  // namespace

std::string DPX_UserDefinedFieldsManager::listSql() {
  // Blanks around "<>": the statement is put into the quoting dialect token by token.
  return "SELECT TableID, FieldID FROM CUFD WHERE TableID NOT LIKE 'A%'" +
         DPX_UserTableExclusions::conditions("TableID", "@") + " AND SYS <> 'Y' ";
}

DPX_UserDefinedFieldsManager::DPX_UserDefinedFieldsManager(DPX_ConnectionContext* context,
                                                           const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey,
                         {.objectType = kUserFieldType,
                          .table = "CUFD",
                          .keyQuery = listSql(),
                          .removalSql = listSql(),
                          .matchProperties = {"TableName", "Name"},
                          .matchColumns = {"TableID", "AliasID"},
                          .listTexts = {DPX_ListText::StringOffset(3, 43)},
                          .removalKeepsMatched = true}) {
  m_keyColumns = {"TableID", "FieldID"};
  m_keyProperties = {"TableName", "Name"};
  m_columns = {"TableID", "AliasID", "Descr", "TypeID"};
  m_properties = {"TableName", "Name", "Description", "Type"};
  m_listColumns = {"TableName", "Name"};
  m_columnFlags = {0, 0, 0, 0};
}
