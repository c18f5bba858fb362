// The users' list and reads shared by the categories of the users' defaults.
#include "categories/finance/user_defaults_category.h"

#include "engine/di_record_support.h"
#include "engine/sql_statement.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr int32_t kUserType = 12;

DPX_ObjectCategoryDefinition UsersDefinition(bool withGroup, std::vector<DPX_DependentBlock> dependents) {
  DPX_ObjectCategoryDefinition d{kUserType, "OUSR", "", "UserCode", "USER_CODE", ""};
  d.dependents = std::move(dependents);
  d.keyColumns = {"INTERNAL_K"};
  d.keyProperties = {"UserCode", "UserName"};
  d.columns = {"USER_CODE", "U_NAME"};
  d.properties = {"UserCode", "UserName"};
  d.columnFlags = {0, 0};
  if (withGroup) {
    d.columns.push_back("DfltsGroup");
    d.properties.push_back("Defaults");
    d.columnFlags.push_back(0);
  }
  d.listProperties = {"UserCode", "UserName"};
  return d;
}

}  // namespace

DPX_UserDefaultsCategory::DPX_UserDefaultsCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                                   bool withGroup, bool firstBlock,
                                                   std::vector<DPX_DependentBlock> dependents)
    : DPX_ObjectCategory(context, categoryKey, UsersDefinition(withGroup, std::move(dependents))),
      m_firstBlock(firstBlock) {}

DPX_TableInfo* DPX_UserDefaultsCategory::readFromFile(dpx::ConfigurationSource* configuration) {
  if (!m_firstBlock) return DPX_ObjectCategory::readFromFile(configuration);
  return readStoredList(configuration, false, m_keyProperties, m_properties, "row");
}

DPX_OperationArgs DPX_UserDefaultsCategory::readAllUsers() {
  return readBaseRecords(kUserType, "OUSR", m_keyColumns, "");
}

DPX_OperationArgs DPX_UserDefaultsCategory::readUserRows(const DPX_UserRowTable& rows,
                                                         const std::vector<DPX_DetailRecord>& chosen) {
  dpx::DPX_LogScope scope("DPX_UserDefaultsCategory::readUserRows");
  DPX_OperationArgs block;
  if (chosen.empty()) {
    block = readBaseTable(rows.table, "", 0);
  } else {
    // The picks name users by their internal key; the table names them by
    // their number.
    auto base = dpx::records::BaseCompany(m_context);
    std::vector<DPX_DetailRecord> users;
    for (const DPX_DetailRecord& pick : chosen) {
      int64_t key = 0;
      if (pick.getKeyCount() == 0 || !dpx::records::ReadIntegerKey(pick.getKeyValue(0), key)) continue;
      DPX_SqlStatement select(base->DbServerType());
      select.setTable("OUSR");
      select.addColumn("USERID");
      select.addValue("INTERNAL_K", std::to_string(key), DPX_SqlStatement::kNumeric);
      auto recordset = base->NewRecordset();
      recordset->DoQuery(select.buildSelect());
      recordset->MoveFirst();
      if (recordset->RecordCount() < 1) {
        scope.LogError("User %lld not found; its rows of %s are not read", static_cast<long long>(key), rows.table);
        continue;
      }
      DPX_DetailRecord user;
      user.addKeyValue(rows.userColumn, dpx::Variant(recordset->Field(0).toInt64()));
      users.push_back(std::move(user));
    }
    // No user to read: no row either (an empty pick list would read them all).
    if (users.empty()) return block;
    block = readBaseRows(rows.table, std::move(users));
  }
  dpx::categories::ResolveReferences(*this, m_context, block, rows.references);
  return block;
}

void DPX_UserDefaultsCategory::writeUserRows(DPX_OperationArgs& block, const DPX_UserRowTable& rows, uint8_t method) {
  block.context = m_context;
  block.setWithValues(m_categoryKey, rows.table, m_context, 1, DPX_OperationArgs::kTableRows);
  // A row of a user the target lacks is not written: nothing is made for such a user.
  std::vector<DPX_ReferenceField> others;
  for (const DPX_ReferenceField& reference : rows.references)
    if (reference.field == rows.userColumn)
      mapDependenciesToTarget(block, reference.field, "row", reference.declared());
    else
      others.push_back(reference);
  dpx::categories::MapReferencesToTarget(*this, m_context, block, others);
  buildTableXml(block, rows.keyColumns, rows.columns, rows.keyColumns, method);
  if (method == 2)
    updateTargetRows(std::move(block));
  else
    copyTableRecords(std::move(block), -1, "Code");
}
