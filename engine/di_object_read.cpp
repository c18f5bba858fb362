// Business-object categories, reading and listing: records of the base
// company are fetched by key ("GetByKey") and carried as the host's record
// XML ("GetAsXML"); the record list shows properties of each record.
#include <algorithm>
#include <iterator>

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

// The record XML of the record with these keys, "" when the base lacks it.
std::string RecordXml(dpx::host::Company& company, int32_t objectType, const std::vector<dpx::Variant>& keys) {
  auto object = company.GetBusinessObject(objectType);
  if (!dpx::records::GetByKey(*object, keys)) return {};
  dpx::Variant xml;
  const dpx::HRESULT hx = object->invoke("GetAsXML", {}, xml);
  if (dpx::Failed(hx)) throw dpx::HostError(hx, object->typeName(), "Call of GetAsXML failed");
  return xml.toText();
}

}  // namespace

DPX_OperationArgs DPX_DIInterface::readBaseRecords(int32_t objectType, const std::string& table,
                                                   const std::vector<std::string>& keyColumns, const std::string& sql) {
  DPX_OperationArgs block;
  block.context = m_context;
  block.set(m_categoryKey, table, 0, objectType);
  readBaseRecordSlices(objectType, table, keyColumns, sql, [&block](DPX_OperationArgs& slice) {
    std::move(slice.dataItems.begin(), slice.dataItems.end(), std::back_inserter(block.dataItems));
  });
  return block;
}

void DPX_DIInterface::readBaseRecordSlices(int32_t objectType, const std::string& table,
                                           const std::vector<std::string>& keyColumns, const std::string& sql,
                                           const BlockSink& take) {
  dpx::DPX_LogScope scope("DPX_DIInterface::readBaseRecords");
  auto base = dpx::records::BaseCompany(m_context);
  auto recordset = base->NewRecordset();
  const int32_t serverType = base->DbServerType();
  std::string text = sql;
  if (text.empty()) {
    DPX_SqlStatement statement(serverType);
    for (const std::string& k : keyColumns) statement.addColumn(k);
    statement.setTable(table);
    text = statement.buildSelect();
  } else if (serverType == 5) {
    text = DPX_SqlStatement::parse(text);
  }
  recordset->DoQuery(text);

  DPX_OperationArgs slice;
  size_t bytes = 0;
  auto start = [&](bool continues) {
    slice = DPX_OperationArgs();
    slice.context = m_context;
    slice.set(m_categoryKey, table, 0, objectType);
    slice.continuesTable = continues;
    bytes = 0;
  };
  start(false);
  recordset->MoveFirst();
  for (int i = 0; i < recordset->RecordCount(); ++i) {
    DPX_OperationArgs::DataItem item;
    item.xml = RecordXml(*base, objectType, dpx::records::RowValues(*recordset, keyColumns.size()));
    bytes += item.xml.size();
    slice.dataItems.push_back(std::move(item));
    recordset->MoveNext();
    if (bytes >= DPX_OperationArgs::kSliceBytes || slice.dataItems.size() >= DPX_OperationArgs::kSliceRecords) {
      take(slice);
      start(true);
    }
  }
  if (!slice.dataItems.empty()) take(slice);
}

DPX_OperationArgs DPX_DIInterface::readBaseObjects(int32_t objectType, const std::string& table,
                                                   const std::vector<DPX_DetailRecord>& chosen) {
  dpx::DPX_LogScope scope("DPX_DIInterface::readBaseObjects");
  auto base = dpx::records::BaseCompany(m_context);
  DPX_OperationArgs block;
  block.context = m_context;
  block.set(m_categoryKey, table, 0, objectType);
  for (const DPX_DetailRecord& record : chosen) {
    DPX_OperationArgs::DataItem item;
    if (record.getKeyCount() > 0) item.xml = RecordXml(*base, objectType, record.getKeyValues());
    block.dataItems.push_back(std::move(item));
  }
  return block;
}

DPX_DIInterface::RecordsetPtr DPX_DIInterface::listObjectKeys(const std::string& table,
                                                              const std::vector<std::string>& keyColumns) {
  return queryObjectKeys(table, keyColumns, {});
}

std::vector<std::string> DPX_DIInterface::readRecordKeys(int32_t objectType, dpx::host::Recordset& fields,
                                                         const std::vector<std::string>& keyColumns,
                                                         const std::vector<std::string>& keyProperties,
                                                         const std::vector<std::string>& textProperties) {
  std::vector<std::string> texts;
  auto base = dpx::records::BaseCompany(m_tableInfo.getContext() ? m_tableInfo.getContext() : m_context);
  auto object = base->GetBusinessObject(objectType);
  const int count = fields.FieldCount();

  DPX_DetailRecord record;
  std::vector<dpx::Variant> keys;
  for (int j = 0; j < count; ++j) {
    const dpx::Variant value = fields.Field(j);
    record.addKeyValue(keyColumns.at(static_cast<size_t>(j)), value);
    keys.push_back(value);
  }
  dpx::Variant found;
  if (dpx::Failed(object->invoke("GetByKey", keys, found))) return texts;
  if (!found.toBool() && count > 1) {
    // A record of several keys that is not found is asked for once more,
    // with the row's values read again.
    keys.clear();
    for (int j = 0; j < count; ++j) keys.push_back(fields.Field(j));
    if (dpx::Failed(object->invoke("GetByKey", keys, found))) return texts;
  }
  if (!found.toBool()) return texts;

  for (const std::string& property : keyProperties) {
    dpx::Variant value;
    object->get(property, value);
    record.addValue(property, value);
  }
  m_tableInfo.addRow(record);
  for (const std::string& property : textProperties) {
    dpx::Variant value;
    object->get(property, value);
    texts.push_back(DPX_Util::VariantToDisplayText(value));
  }
  m_tableInfo.setTextList(textProperties);
  return texts;
}

std::vector<std::string> DPX_DIInterface::readListRowsWithPeriods(dpx::host::Recordset& fields,
                                                                  const std::vector<std::string>& keyColumns,
                                                                  const std::vector<std::string>& listColumns,
                                                                  const std::vector<std::string>& textColumns) {
  std::vector<std::string> texts;
  DPX_DetailRecord record;
  const size_t k = keyColumns.size();
  const size_t l = listColumns.size();
  for (size_t j = 0; j < k; ++j) record.addKeyValue(keyColumns[j], fields.Field(static_cast<int>(j)));
  for (size_t j = 0; j < l; ++j) record.addValue(listColumns[j], fields.Field(static_cast<int>(k + j)));
  m_tableInfo.addRow(record);
  for (size_t j = 0; j < textColumns.size(); ++j)
    texts.push_back(DPX_Util::VariantToDisplayText(fields.Field(static_cast<int>(k + l + j))));
  m_tableInfo.setTextList(textColumns);
  return texts;
}
