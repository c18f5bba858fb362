// User-defined table contents: rows by SQL, a record list of tables.
#include "categories/customization/user_defined_tables_content_manager.h"

#include "categories/customization/user_defined_tables_manager.h"
#include "categories/customization/user_table_exclusions.h"
#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {
constexpr int32_t kUserTableType = 153;

// The copy-log action of a write by the method: removal, update or add.
int32_t ActionOf(uint8_t method) { return method == 0 ? 0 : method == 2 ? 2 : 3; }
}  // namespace

std::string DPX_UserDefinedTablesContentManager::listSql() {
  return "SELECT TableName FROM OUTB WHERE ObjectType = '0'" + DPX_UserTableExclusions::conditions("TableName", "");
}

DPX_UserDefinedTablesContentManager::DPX_UserDefinedTablesContentManager(DPX_ConnectionContext* context,
                                                                         const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {
  m_keyColumns = {"TableName"};
  m_keyProperties = {"TableName"};
  m_columns = {"TableName", "Descr", "ObjectType"};
  m_properties = {"TableName", "TableDescription", "TableType"};
  m_listColumns = {"Code", "Name"};
  m_columnFlags = {0, 0, 0};
}

bool DPX_UserDefinedTablesContentManager::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, "OUTB", m_columns, m_columnFlags);
  return true;
}

DPX_TableInfo* DPX_UserDefinedTablesContentManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_UserDefinedTablesContentManager::collectDetails");
  initialize();
  auto recordset = queryBaseList(listSql());
  recordset->MoveFirst();
  for (; !recordset->EoF(); recordset->MoveNext()) {
    std::vector<std::string> texts = readRecordKeys(kUserTableType, *recordset, m_keyColumns, m_keyProperties, m_properties);
    if (texts.empty()) continue;
    ApplyListTexts(m_context, {DPX_UserDefinedTablesManager::kTypeText}, texts);
    m_tableInfo.addListRow(texts);
  }
  return &m_tableInfo;
}

int32_t DPX_UserDefinedTablesContentManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                        std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_UserDefinedTablesContentManager::readFromDB");
  std::vector<std::string> names;
  if (chosen.empty()) {
    auto recordset = queryBaseList(listSql());
    for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) names.push_back(recordset->Field(0).toText());
  } else {
    for (const DPX_DetailRecord& record : chosen)
      if (record.getKeyCount() > 0) names.push_back(record.getKeyValue(0).toText());
  }
  // A chosen table with no rows still travels, so that Replace All empties it.
  for (const std::string& name : names) {
    // The base's list names its tables as its rows hold them: one that no
    // host table can be called is not read, and costs only itself.
    if (!DPX_SqlStatement::IsHostName("@" + name)) {
      refuseTable("@" + name, ActionOf(static_cast<uint8_t>(m_context->getCopyMethod())), "'@" + name + "' is not a user table name; its rows are not read");
      continue;
    }
    blocks.push_back(readBaseTable("@" + name, "", 0));
  }
  return 0;
}

DPX_TableInfo* DPX_UserDefinedTablesContentManager::readFromFile(dpx::ConfigurationSource* configuration) {
  std::vector<DPX_OperationArgs> blocks;
  if (!configuration) return &m_tableInfo;
  configuration->getData(m_categoryKey, blocks);
  if (blocks.empty()) return &m_tableInfo;
  dpx::records::DescribeColumns(m_tableInfo, m_context, "OUTB", {"TableName"}, {0});
  for (const DPX_OperationArgs& block : blocks) {
    // The list shows the stored name; the record's key is the table's own name, as a company lists it.
    DPX_DetailRecord record;
    const std::string& name = block.tableName;
    record.addKeyValue("TableName", dpx::Variant(name.rfind('@', 0) == 0 ? name.substr(1) : name));
    m_tableInfo.addRow(record);
    m_tableInfo.addListRow({name});
  }
  return &m_tableInfo;
}

bool DPX_UserDefinedTablesContentManager::targetHasTable(const std::string& name) {
  auto target = dpx::records::TargetCompany(m_context);
  DPX_SqlStatement statement(target->DbServerType());
  statement.setTable("OUTB");
  statement.addColumn("TableName");
  statement.addValue("TableName", name, DPX_SqlStatement::kAlpha);
  auto recordset = target->NewRecordset();
  recordset->DoQuery(statement.buildSelect());
  return recordset->RecordCount() > 0;
}

std::set<std::string> DPX_UserDefinedTablesContentManager::writableTables() {
  auto target = dpx::records::TargetCompany(m_context);
  auto recordset = target->NewRecordset();
  recordset->DoQuery(target->DbServerType() == 5 ? DPX_SqlStatement::parse(listSql()) : listSql());
  std::set<std::string> names;
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) names.insert(recordset->Field(0).toText());
  return names;
}

void DPX_UserDefinedTablesContentManager::refuseTable(const std::string& table, int32_t action,
                                                      const std::string& reason) {
  dpx::DPX_LogScope scope("DPX_UserDefinedTablesContentManager::refuseTable");
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, action, table, "");
  line.fail(reason);
  line.write(true);
  scope.LogError("Rows of %s refused: %s", table, reason);
}

void DPX_UserDefinedTablesContentManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_UserDefinedTablesContentManager::writeData");
  if (blocks.empty()) return;
  const std::set<std::string> writable = writableTables();
  for (DPX_OperationArgs& block : blocks) {
    const std::string& table = block.tableName;
    if (!DPX_SqlStatement::IsHostName(table)) {
      refuseTable(table, ActionOf(method), "'" + table + "' is not a user table name; its rows are not written");
      continue;
    }
    const bool userTable = table.size() > 1 && table[0] == '@';
    const bool absent = userTable && !DPX_UserTableExclusions::excluded(table.substr(1)) &&
                        !writable.contains(table.substr(1)) && !targetHasTable(table.substr(1));
    // A table the target does not have holds nothing to empty or update
    // (Replace All removes before the user tables are added).
    if (absent && (method == 0 || method == 2)) continue;
    if (!userTable || !writable.contains(table.substr(1))) {
      // A block of any other table (a host table, an excluded one, one with an object) is never written.
      refuseTable(table, ActionOf(method),
                  absent ? "The target has no user table '" + table + "'; its rows are not written"
                         : "'" + table + "' is not a user table without an object in the target; its rows are not written");
      continue;
    }
    block.setWithValues(m_categoryKey, table, m_context, 1, DPX_OperationArgs::kTableRows);
    switch (method) {
      case 0:
        deleteTargetRows(block, m_listColumns, "", 0);
        break;
      case 2:
        buildTableXml(block, {"Code"}, m_listColumns, {"Code"}, method);
        updateTargetRows(block);
        break;
      case 3:
        buildTableXml(block, {"Code"}, m_listColumns, {"Code"}, method);
        addTargetRows(block, -1, "Code");
        break;
      default:
        buildTableXml(block, {"Code"}, m_listColumns, {"Code"}, method);
        copyTableRecords(block, -1, "Code");
        break;
    }
  }
}
