// Indexes: the table family with the base's own codes.
#include "categories/setup/indexes_manager.h"

DPX_IndexesManager::DPX_IndexesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey,
                        {"OIDX", "SELECT IdexCode, IndexName FROM OIDX", 38, "IdexCode", /*matchColumns: the key*/ {}, ""}) {
  m_keyColumns = {"IdexCode"};
  m_columns = {"IndexName"};
  m_columnFlags = {1};
  m_listColumns = {"IdexCode", "IndexName"};
}
