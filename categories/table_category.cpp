// Shared slots of the table categories.
#include "categories/table_category.h"

#include <algorithm>

#include "categories/key_by_name.h"
#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/host_error.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace rt = dpx::recordtext;

namespace {

// Calls `visit` with the start and end of every "row" of a table record.
template <class Visit>
void ForEachRow(const std::string& xml, Visit visit) {
  const size_t root = rt::RootElement(xml);
  if (root == rt::npos) return;
  for (size_t row = rt::FindDescendant(xml, root, "row"); row != rt::npos && rt::TagName(xml, row) == "row";) {
    const size_t end = rt::ElementEnd(xml, row);
    if (end == rt::npos) return;
    const size_t next = rt::NextSiblingElement(xml, row);
    visit(row, end);
    row = next;
  }
}

// The values of one column in the rows of a table record.
std::vector<std::string> ColumnValues(const std::string& xml, const std::string& column) {
  std::vector<std::string> values;
  ForEachRow(xml, [&](size_t row, size_t end) {
    std::string value;
    if (rt::ElementValue(xml, column, row, end, value)) values.push_back(value);
  });
  return values;
}

// Each row's parent column takes the key its parent got in the target; a
// row whose parent has no such key would belong to another row there, so it
// is dropped.
std::string FollowParentKeys(const std::string& xml, const std::string& column,
                             const std::map<std::string, std::string>& keys) {
  std::string out;
  size_t copied = 0;
  ForEachRow(xml, [&](size_t row, size_t end) {
    out.append(xml, copied, row - copied);
    copied = end;
    std::string value;
    const size_t field = rt::FindChild(xml, row, column);
    size_t begin = 0, contentEnd = 0, after = 0;
    if (!rt::ElementValue(xml, column, row, end, value) || field == rt::npos ||
        !rt::ElementContent(xml, field, begin, contentEnd, after))
      return;
    const auto key = keys.find(value);
    if (key == keys.end()) return;
    out.append(xml, row, field - row);
    out += rt::TextElement(column, key->second);
    out.append(xml, after, end - after);
  });
  out.append(xml, copied, std::string::npos);
  return out;
}

// An IN list of keys: numbers as they are, any other text as a quoted literal.
std::string KeyList(const std::vector<std::string>& keys, bool quoted) {
  std::string list;
  for (const std::string& key : keys) {
    int64_t number = 0;
    list += list.empty() ? "" : ", ";
    if (dpx::records::ReadIntegerKey(dpx::Variant(key), number)) list += std::to_string(number);
    else list += (quoted ? "'" : "N'") + DPX_Util::EscapeSqlText(key) + "'";
  }
  return list;
}

}  // namespace

DPX_TableCategory::DPX_TableCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                                     DPX_TableCategoryDefinition definition)
    : DPX_DIInterface(context, categoryKey), m_definition(std::move(definition)) {
  m_keyColumns = m_definition.keyColumns;
  m_columns = m_definition.columns;
  m_columnFlags = m_definition.columnFlags;
  m_listColumns = m_definition.logColumns;
}

bool DPX_TableCategory::initialize() {
  m_tableInfo.setTableName(m_definition.table);
  m_tableInfo.setContext(m_context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  m_tableInfo.readFieldTypes(m_definition.table, m_columns, headings, types);
  for (size_t column : m_definition.textColumns)
    if (column < types.size()) types[column] = dpx::fieldtype::kAlpha;
  m_tableInfo.setColumns(headings, m_columnFlags, types);
  return true;
}

int32_t DPX_TableCategory::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_TableCategory::readFromDB");
  const bool whole = chosen.empty();
  DPX_OperationArgs block = whole ? readBaseTable(m_definition.table, m_definition.readAllSql, 0)
                                  : readBaseRows(m_definition.table, std::move(chosen));
  if (whole && block.dataItems.empty()) return 0;
  dpx::categories::ResolveReferences(*this, m_context, block, m_definition.references);
  blocks.push_back(std::move(block));
  if (!m_definition.dependents.empty()) readDependents(blocks, blocks.size() - 1);
  return 0;
}

void DPX_TableCategory::readDependents(std::vector<DPX_OperationArgs>& blocks, size_t mainBlock) {
  const int32_t serverType = dpx::records::BaseCompany(m_context)->DbServerType();
  const bool quoted = serverType == 5;
  for (const DPX_DependentBlock& dependent : m_definition.dependents) {
    DPX_OperationArgs rows;
    if (dependent.parentColumn.empty()) {
      rows = readBaseTable(dependent.table, "", 0);
    } else {
      // Only the rows of the main rows read.
      std::vector<std::string> keys;
      for (const DPX_OperationArgs::DataItem& item : blocks[mainBlock].dataItems)
        for (std::string& key : ColumnValues(item.xml, m_definition.counterKeyColumn)) keys.push_back(std::move(key));
      if (keys.empty()) continue;
      const std::string column = DPX_SqlStatement::ColumnName(serverType, dependent.parentColumn);
      rows = readBaseTable(dependent.table,
                           "SELECT * FROM " + DPX_SqlStatement::TableName(serverType, dependent.table) + " WHERE " + column + " IN (" + KeyList(keys, quoted) + ")",
                           quoted ? 1 : 0);
    }
    for (const DPX_ReferenceField& ref : dependent.references)
      resolveDependencies(rows, ref.field, ref.valueKind, ref.table, ref.keyColumn, ref.shownColumns, "row",
                          ref.enclosing);
    if (!rows.dataItems.empty()) blocks.push_back(std::move(rows));
  }
}

DPX_TableInfo* DPX_TableCategory::readFromFile(dpx::ConfigurationSource* configuration) {
  // The rows of a table category carry database column names. With tables
  // that follow the main table, the main table's block is the first.
  return readStoredList(configuration, m_definition.dependents.empty(), m_keyColumns, m_columns, "row");
}

DPX_TableInfo* DPX_TableCategory::collectDetails() {
  dpx::DPX_LogScope scope("DPX_TableCategory::collectDetails");
  initialize();
  auto recordset = queryBaseList(m_definition.listSql);
  recordset->MoveFirst();
  DPX_ListTextObjects objects;
  while (!recordset->EoF()) {
    std::vector<std::string> row = readListRows(*recordset, m_keyColumns, m_columns);
    ApplyListTexts(m_context, m_definition.listTexts, row, &objects);
    adjustListRow(row, objects);
    m_tableInfo.addListRow(std::move(row));
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

void DPX_TableCategory::adjustListRow(std::vector<std::string>&, DPX_ListTextObjects&) {}

const std::vector<std::string>& DPX_TableCategory::matchColumns() const {
  return m_definition.matchColumns.empty() ? m_keyColumns : m_definition.matchColumns;
}

void DPX_TableCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_TableCategory::writeData");
  const std::vector<std::string>& match = matchColumns();
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName != m_definition.table) {
      const DPX_DependentBlock* dependent = nullptr;
      for (const DPX_DependentBlock& d : m_definition.dependents)
        if (d.table == block.tableName) dependent = &d;
      if (dependent && method != 0) writeDependent(block, *dependent);
      else if (!dependent && method != 0) logUnknownTable(block.tableName, method);
      continue;
    }
    block.setWithValues(m_categoryKey, m_definition.table, m_context, 1, DPX_OperationArgs::kTableRows);
    if (method == 0) {
      if (block.continuesTable) continue;  // the first slice emptied the table
      removeDependents();
      removeRows(block);
      continue;
    }
    dpx::categories::MapReferencesToTarget(*this, m_context, block, m_definition.references);
    // The rows are matched and written a bounded slice at a time, unless
    // the category needs them all at once.
    if (writesInSlices())
      sliceTableRows(block, [this, &match, method](DPX_OperationArgs& slice) { writeRows(slice, match, method); });
    else
      writeRows(block, match, method);
  }
}

bool DPX_TableCategory::writesInSlices() const {
  // A row that names another row of its own table must meet the target as
  // the whole category's comparison met it.
  return std::none_of(m_definition.references.begin(), m_definition.references.end(),
                      [this](const DPX_ReferenceField& ref) { return ref.table == m_definition.table; });
}

void DPX_TableCategory::writeRows(DPX_OperationArgs& block, const std::vector<std::string>& match, uint8_t method) {
  buildTableXml(block, match, m_listColumns, match, method);
  switch (method) {
    case 2:
      updateTargetRows(std::move(block));
      break;
    case 3:
      addTargetRows(std::move(block), m_definition.counterObjectType, m_definition.counterKeyColumn);
      break;
    default:
      copyTableRecords(std::move(block), m_definition.counterObjectType, m_definition.counterKeyColumn);
      break;
  }
  keepPendingKey();
}

void DPX_TableCategory::keepPendingKey() {
  if (!m_pendingKey) return;
  const PendingKey pending = std::move(*m_pendingKey);
  m_pendingKey.reset();
  if (pending.mode == 3) {
    // A new row's key was free before its insert: it is taken now only if the insert went in.
    auto target = dpx::records::TargetCompany(m_context);
    DPX_SqlStatement select(target->DbServerType());
    select.setTable(m_definition.table);
    select.addColumn(m_definition.counterKeyColumn);
    int64_t number = 0;
    const bool numeric = dpx::records::ReadIntegerKey(dpx::Variant(pending.targetKey), number);
    select.addValue(m_definition.counterKeyColumn, pending.targetKey,
                    numeric ? DPX_SqlStatement::kNumeric : DPX_SqlStatement::kAlpha);
    auto recordset = target->NewRecordset();
    recordset->DoQuery(select.buildSelect());
    if (recordset->RecordCount() < 1) return;
  }
  m_writtenKeys.emplace(pending.baseKey, pending.targetKey);
}

void DPX_TableCategory::writeDependent(DPX_OperationArgs& block, const DPX_DependentBlock& dependent) {
  keepPendingKey();
  m_logRecords = 0;
  block.setWithValues(m_categoryKey, dependent.table, m_context, 1, DPX_OperationArgs::kTableRows);
  for (const DPX_ReferenceField& ref : dependent.references) mapDependenciesToTarget(block, ref.field, "row", ref.declared());
  if (!dependent.parentColumn.empty())
    for (DPX_OperationArgs::DataItem& item : block.dataItems)
      item.xml = FollowParentKeys(item.xml, dependent.parentColumn, m_writtenKeys);
  const std::vector<std::string> match =
      dependent.matchColumns.empty() ? std::vector<std::string>{dependent.matchColumn} : dependent.matchColumns;
  buildTableXml(block, match, dependent.listColumns, match, dependent.fixedMethod);
  if (dependent.fixedMethod == 2)
    updateTargetRows(block);
  else if (dependent.fixedMethod == 3)
    addTargetRows(block, dependent.counterObjectType, dependent.keyColumns.front());
  else
    copyTableRecords(block, dependent.counterObjectType, dependent.keyColumns.front());
  m_logRecords = 1;
}

void DPX_TableCategory::removeDependents() {
  const bool quoted = dpx::records::TargetCompany(m_context)->DbServerType() == 5;
  for (const DPX_DependentBlock& dependent : m_definition.dependents) {
    if (dependent.removalFilter.empty()) continue;
    DPX_OperationArgs rows;
    rows.setWithValues(m_categoryKey, dependent.table, m_context, 1, DPX_OperationArgs::kTableRows);
    m_logRecords = 0;
    if (quoted && !dependent.removalFilterQuoted.empty())
      deleteTargetRows(rows, dependent.listColumns, dependent.removalFilterQuoted, 1);
    else
      deleteTargetRows(rows, dependent.listColumns, dependent.removalFilter, 0);
    m_logRecords = 1;
  }
}

void DPX_TableCategory::removeRows(DPX_OperationArgs& block) {
  const int32_t serverType = dpx::records::TargetCompany(m_context)->DbServerType();
  const bool quoted = serverType == 5;
  if (m_definition.keptWhileNamed.empty()) {
    if (quoted && !m_definition.deleteFilterQuoted.empty())
      deleteTargetRows(block, m_listColumns, m_definition.deleteFilterQuoted, 1);
    else
      deleteTargetRows(block, m_listColumns, m_definition.deleteFilter, 0);
    return;
  }
  // The category's own filter as a condition in the target's dialect.
  std::string condition;
  if (quoted && !m_definition.deleteFilterQuoted.empty())
    condition = m_definition.deleteFilterQuoted.substr(m_definition.deleteFilterQuoted.find("WHERE") + 5);
  else if (quoted)
    condition = DPX_SqlStatement::splitClauses(m_definition.deleteFilter);
  else if (!m_definition.deleteFilter.empty())
    condition = m_definition.deleteFilter.substr(m_definition.deleteFilter.find("WHERE") + 5);
  const std::string own = condition.find_first_not_of(' ') == std::string::npos ? "" : "(" + condition + ") AND ";

  std::string named;
  std::string namers;
  for (const DPX_NamingColumn& naming : m_definition.keptWhileNamed) {
    const std::string column = DPX_SqlStatement::ColumnName(serverType, naming.column);
    named += (named.empty() ? "" : " OR ") + DPX_SqlStatement::ColumnName(serverType, naming.keyColumn) +
             " IN (SELECT " + column + " FROM " + DPX_SqlStatement::TableName(serverType, naming.table) +
             " WHERE " + column + " IS NOT NULL)";
    if (namers.find(naming.table) == std::string::npos) namers += (namers.empty() ? "" : ", ") + naming.table;
  }

  // The rows kept get their line first: Replace All asked for them to go.
  try {
    auto target = dpx::records::TargetCompany(m_context);
    DPX_SqlStatement select(serverType);
    for (const std::string& column : m_listColumns) select.addColumn(column);
    select.setTable(block.tableName);
    auto recordset = target->NewRecordset();
    recordset->DoQuery(select.buildSelect() + " WHERE " + own + "(" + named + ")");
    for (; !recordset->EoF(); recordset->MoveNext()) {
      dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
      line.start(m_categoryKey, 0);
      if (recordset->FieldCount() > 0) line.targetCode(DPX_Util::VariantToDisplayText(recordset->Field(0)));
      if (recordset->FieldCount() > 1) line.targetDescription(DPX_Util::VariantToDisplayText(recordset->Field(1)));
      line.fail("Kept while used: records of " + namers + " in the target still name it");
      line.write(m_logRecords != 0);
    }
  } catch (const dpx::HostError& e) {
    // They stay all the same; the line says which could not be named.
    dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
    line.start(m_categoryKey, 0);
    line.fail("The rows kept while records of " + namers + " in the target name them could not be listed: " +
              e.what());
    line.write(true);
  }
  deleteTargetRows(block, m_listColumns, "WHERE " + own + "NOT (" + named + ")", 1);
}

void DPX_TableCategory::mapReferences(std::string table, std::string& xml, int32_t mode) {
  if (table != m_definition.table || (mode != 2 && mode != 3)) return;
  // The row before this one is written by now.
  keepPendingKey();
  // The keys written are kept only for dependent rows that follow them: a
  // table of many rows must not hold a key pair for each.
  const bool followed = std::any_of(m_definition.dependents.begin(), m_definition.dependents.end(),
                                    [](const DPX_DependentBlock& dependent) { return !dependent.parentColumn.empty(); });
  std::string baseKey;
  const bool keyed = followed && !m_definition.counterKeyColumn.empty() &&
                     rt::ElementValue(xml, m_definition.counterKeyColumn, 0, xml.size(), baseKey);
  // The row's counterpart is the row its match columns find, the same the
  // update writes to: the key written is that row's own, never another's.
  if (m_definition.newKeys)
    mapByColumnsOrNextNumber(table, xml, mode, m_definition.counterKeyColumn, matchColumns(), {});
  std::string targetKey;
  if (keyed && rt::ElementValue(xml, m_definition.counterKeyColumn, 0, xml.size(), targetKey))
    m_pendingKey = PendingKey{baseKey, targetKey, mode};
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
  if (table != m_definition.table || (mode != 2 && mode != 3)) return;
  if (mode == 2 && !m_targetFieldsRead) {
    m_targetFields = dpx::records::ReadFieldList(*dpx::records::TargetCompany(m_context), table);
    m_targetFieldsRead = true;
  }
  dpx::categories::MapKeyByColumnsOrNextNumber(m_context, table, xml, mode, keyColumn, lookupColumns,
                                               fixedConditions, &m_targetFields);
}
