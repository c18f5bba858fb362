// Table categories, reading and listing: rows of a host table without a
// business object are read from the base company by SQL and handed on as one
// data item holding the recordset's XML of all rows; the record list is
// filled from a list SELECT.
#include "engine/connection_context.h"
#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "engine/di_record_support.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

// Runs the text on a new recordset of the company and hands the rows on as
// the block's one data item (none when there is no row).
void ReadRowsInto(dpx::host::Company& company, const std::string& sql, DPX_OperationArgs& block) {
  auto recordset = company.NewRecordset();
  recordset->DoQuery(sql);
  recordset->MoveFirst();
  if (recordset->RecordCount() < 1) return;
  DPX_OperationArgs::DataItem item;
  item.xml = recordset->GetAsXML();
  block.dataItems.push_back(std::move(item));
}

}  // namespace

DPX_OperationArgs DPX_DIInterface::readBaseRows(const std::string& table, std::vector<DPX_DetailRecord> selected) {
  dpx::DPX_LogScope scope("DPX_DIInterface::readBaseRows");
  auto base = dpx::records::BaseCompany(m_context);
  const int32_t serverType = base->DbServerType();
  DPX_SqlStatement select(serverType);
  select.setTable(table);
  std::string sql = select.buildSelect();

  // The picked keys are read a chunk at a time: one statement naming
  // thousands of them would be too large for the server.
  constexpr size_t kKeysPerStatement = 200;
  DPX_OperationArgs block;
  block.setWithValues(m_categoryKey, table, m_context, 1, DPX_OperationArgs::kTableRows);
  std::string condition;
  size_t keysInCondition = 0;
  bool anyCondition = false;
  for (const DPX_DetailRecord& record : selected) {
    if (record.getKeyCount() == 0) continue;  // a record without key would select nothing sensible
    DPX_SqlStatement keys(serverType);
    for (size_t k = 0; k < record.getKeyCount(); ++k) {
      const dpx::Variant value = record.getKeyValue(k);
      const bool quoted = value.type() == dpx::VarType::Text || value.type() == dpx::VarType::Date;
      keys.addValue(record.getKeyName(k), value.toText(),
                    quoted ? DPX_SqlStatement::kAlpha : DPX_SqlStatement::kNumeric);
    }
    std::string where = keys.buildWhere();
    const std::string lead = " WHERE ";
    if (where.compare(0, lead.size(), lead) == 0) where.erase(0, lead.size());
    condition += (condition.empty() ? " WHERE (" : " OR (") + where + ")";
    anyCondition = true;
    if (++keysInCondition == kKeysPerStatement) {
      ReadRowsInto(*base, sql + condition, block);
      condition.clear();
      keysInCondition = 0;
    }
  }
  if (!condition.empty() || !anyCondition) ReadRowsInto(*base, sql + condition, block);
  return block;
}

DPX_OperationArgs DPX_DIInterface::readBaseTable(const std::string& table, const std::string& sql,
                                                 int32_t sqlInDialect) {
  dpx::DPX_LogScope scope("DPX_DIInterface::readBaseTable");
  auto base = dpx::records::BaseCompany(m_context);
  const int32_t serverType = base->DbServerType();
  std::string text = sql;
  if (text.empty()) {
    DPX_SqlStatement select(serverType);
    select.setTable(table);
    text = select.buildSelect();
  } else if (serverType == 5 && sqlInDialect == 0) {
    text = DPX_SqlStatement::parse(text);
  }
  DPX_OperationArgs block;
  block.setWithValues(m_categoryKey, table, m_context, 1, DPX_OperationArgs::kTableRows);
  ReadRowsInto(*base, text, block);
  return block;
}

DPX_DIInterface::RecordsetPtr DPX_DIInterface::queryBaseList(const std::string& sql) {
  auto base = dpx::records::BaseCompany(m_tableInfo.getContext() ? m_tableInfo.getContext() : m_context);
  auto recordset = base->NewRecordset();
  recordset->DoQuery(base->DbServerType() == 5 ? DPX_SqlStatement::parse(sql) : sql);
  return recordset;
}

std::vector<std::string> DPX_DIInterface::readListRows(dpx::host::Recordset& fields,
                                                       const std::vector<std::string>& listColumns,
                                                       const std::vector<std::string>& keyColumns) {
  std::vector<std::string> texts;
  DPX_DetailRecord record;
  for (size_t i = 0; i < listColumns.size(); ++i) {
    const dpx::Variant value = fields.Field(static_cast<int>(i));
    record.addKeyValue(listColumns[i], value);
    record.addValue(listColumns[i], value);
  }
  m_tableInfo.addRow(record);
  for (size_t j = 0; j < keyColumns.size(); ++j)
    texts.push_back(DPX_Util::VariantToDisplayText(fields.Field(static_cast<int>(listColumns.size() + j))));
  m_tableInfo.setTextList(keyColumns);
  return texts;
}
