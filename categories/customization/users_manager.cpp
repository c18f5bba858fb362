// Users with their departments, branches and additional authorizations.
#include "categories/customization/users_manager.h"

#include <fmt/printf.h>

#include "categories/key_by_name.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr int32_t kUserType = 12;
constexpr int32_t kPermissionType = 214;
constexpr int32_t kDepartmentCounter = 119;
constexpr int32_t kBranchCounter = 118;

// The name of a department or branch by its code; "" for a user without one.
std::string NameOf(dpx::host::Company& base, const std::string& table, const std::string& code) {
  int64_t key = 0;
  if (code.empty() || !dpx::records::ReadIntegerKey(dpx::Variant(code), key)) return "";
  const char* text = base.DbServerType() == 5 ? "SELECT \"Name\" FROM %s WHERE \"Code\" = %lld"
                                              : "SELECT Name FROM %s WHERE Code = %lld";
  auto recordset = base.NewRecordset();
  recordset->DoQuery(fmt::sprintf(text, table, static_cast<long long>(key)));
  if (recordset->RecordCount() < 1) return "";
  recordset->MoveFirst();
  return recordset->Field(0).toText();
}

}  // namespace

DPX_UsersManager::DPX_UsersManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey,
                         {.objectType = kUserType,
                          .table = "OUSR",
                          .matchProperty = "UserCode",
                          .matchColumn = "USER_CODE",
                          // The target's superusers are never candidates for removal.
                          .removalSql = "SELECT INTERNAL_K FROM OUSR WHERE SUPERUSER <> 'Y'",
                          .removalKeepsMatched = true}) {
  m_keyColumns = {"INTERNAL_K"};
  m_keyProperties = {"UserCode", "UserName"};
  m_columns = {"USER_CODE", "U_NAME", "SUPERUSER", "E_Mail", "PortNum", "Fax", "Department", "Branch"};
  m_properties = {"UserCode", "UserName", "Superuser", "eMail", "MobilePhoneNumber", "FaxNumber", "Department",
                  "Branch"};
  m_listColumns = {"UserCode", "UserName"};
  m_columnFlags = {0, 1, 0, 1, 1, 1, 0, 0};
}

bool DPX_UsersManager::initialize() {
  m_tableInfo.setTableName("OUSR");
  m_tableInfo.setContext(m_context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  m_tableInfo.readFieldTypes("OUSR", m_columns, headings, types);
  // The list shows the department's and the branch's names there.
  for (size_t i = 6; i < types.size(); ++i) types[i] = DPX_SqlStatement::kAlpha;
  m_tableInfo.setColumns(headings, m_columnFlags, types);
  return true;
}

DPX_TableInfo* DPX_UsersManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_UsersManager::collectDetails");
  initialize();
  auto base = dpx::records::BaseCompany(m_context);
  auto recordset = listObjectKeys("OUSR", m_keyColumns);
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) {
    std::vector<std::string> texts = readRecordKeys(kUserType, *recordset, m_keyColumns, m_keyProperties, m_properties);
    if (texts.size() < 8) continue;
    texts[6] = NameOf(*base, "OUDP", texts[6]);
    texts[7] = NameOf(*base, "OUBR", texts[7]);
    m_tableInfo.addListRow(texts);
  }
  return &m_tableInfo;
}

int32_t DPX_UsersManager::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_UsersManager::readFromDB");
  // Departments, branches and additional authorizations travel whole, whatever users are chosen.
  for (const char* table : {"OUDP", "OUBR"}) {
    DPX_OperationArgs rows = readBaseTable(table, "", 0);
    if (!rows.dataItems.empty()) blocks.push_back(std::move(rows));
  }
  DPX_OperationArgs permissions =
      readBaseRecords(kPermissionType, "OUPT", {"AbsId"}, "SELECT AbsId FROM OUPT ORDER BY VisOrder");
  if (!permissions.dataItems.empty()) blocks.push_back(std::move(permissions));

  DPX_OperationArgs users = chosen.empty() ? readBaseRecords(kUserType, "OUSR", m_keyColumns, "")
                                           : readBaseObjects(kUserType, "OUSR", chosen);
  resolveDependency(users, "Department", DPX_SqlStatement::kNumeric, "OUDP", "Code", "Name", "row");
  resolveDependency(users, "Branch", DPX_SqlStatement::kNumeric, "OUBR", "Code", "Name", "row");
  if (!users.dataItems.empty()) blocks.push_back(std::move(users));
  return 0;
}

void DPX_UsersManager::writeNamedRows(DPX_OperationArgs& block, int32_t counterObjectType) {
  m_logRecords = 0;
  const std::string table = block.tableName;
  block.setWithValues(m_categoryKey, table, m_context, 1, DPX_OperationArgs::kTableRows);
  buildObjectXml(block, "Name", {"Code", "Name"}, "Name", 4);
  copyTableRecords(block, counterObjectType, "Code");
  m_logRecords = 1;
}

void DPX_UsersManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_UsersManager::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == "OUDP" || block.tableName == "OUBR") {
      if (method == 0) continue;  // the removal pass leaves them
      writeNamedRows(block, block.tableName == "OUDP" ? kDepartmentCounter : kBranchCounter);
    } else if (block.tableName == "OUPT") {
      if (method == 0) continue;
      // Matched by number, so that a second copy updates what the first added.
      m_logRecords = 0;
      block.context = m_context;
      block.set(m_categoryKey, "OUPT", 0, kPermissionType);
      compareWithTarget(block, "PermissionID", "AbsId", {"AbsId"}, {"PermissionID", "Name"}, 4);
      copyRecords(std::move(block));
      m_logRecords = 1;
    } else if (block.tableName == "OUSR") {
      m_logRecords = 1;
      block.context = m_context;
      block.set(m_categoryKey, "OUSR", 0, kUserType);
      if (method != 0) {
        mapDependencyToTarget(block, "Department", "row", {{"OUDP", "Code", {"Name"}}});
        mapDependencyToTarget(block, "Branch", "row", {{"OUBR", "Code", {"Name"}}});
      }
      writeMainBlock(block, method);
    }
  }
}

void DPX_UsersManager::prepareObject(int32_t objectType, const std::shared_ptr<dpx::host::BusinessObject>& object,
                                     int32_t operation) {
  if (objectType != kUserType || operation != 3 || !object) return;
  const dpx::HRESULT hr = object->put("Defaults", dpx::Variant(std::string()));
  if (dpx::Failed(hr)) throw dpx::HostError(hr, "DPX_UsersManager", "No access to property DftlsGroup");
  // The host's answer to the password does not stop the user.
  object->put("UserPassword", dpx::Variant(std::string(kNewUserPassword)));
}

void DPX_UsersManager::mapReferences(std::string tableName, std::string& rowXml, int32_t mode) {
  if (tableName != "OUDP" && tableName != "OUBR") return;
  dpx::categories::MapKeyByNameOrNextNumber(m_context, tableName, rowXml, mode, "Code", "Name");
}
