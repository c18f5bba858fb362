// The record-by-record writer of the categories whose records name records
// of their own table, and their definition table.
#include "categories/setup/referenced_first_category.h"

#include <fmt/printf.h>

#include <map>
#include <memory>

#include "categories/category_support.h"
#include "categories/setup/setup_category_tables.h"
#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace rt = dpx::recordtext;

namespace {

// The value of an element of the record's first row ("" when absent); for a
// field holding a dependency record, the first value that names the record.
std::string RowValue(const std::string& xml, const std::string& name) {
  std::string value;
  rt::ElementValue(xml, name, 0, xml.size(), value);
  return value;
}

// Whether the record's first row carries a dependency record for the field.
bool HasDependency(const std::string& xml, const std::string& field) {
  const size_t row = rt::FindStartTag(xml, "row", 0, xml.size());
  if (row == rt::npos) return false;
  const size_t at = rt::FindChild(xml, row, field);
  return at != rt::npos && rt::HasChildElement(xml, at);
}

// Appends a field to the record's first row.
void AppendField(std::string& xml, const std::string& field, const std::string& text) {
  const size_t row = rt::FindStartTag(xml, "row", 0, xml.size());
  size_t begin = 0, end = 0, after = 0;
  if (row == rt::npos || !rt::ElementContent(xml, row, begin, end, after)) return;
  if (begin == end && xml[rt::StartTagEnd(xml, row) - 1] == '/') {  // <row/>
    xml.replace(row, after - row, "<row>" + rt::TextElement(field, text) + "</row>");
    return;
  }
  xml.insert(end, rt::TextElement(field, text));
}

DPX_ReferencedFirstRow Row(const char* key, const char* className, int32_t type, const char* table,
                           const char* keyQuery, const char* keyColumn, const char* nameColumn,
                           const char* numberProperty, const char* nameProperty, const char* reference,
                           DPX_MissingReference missing, const char* missingText) {
  DPX_ObjectCategoryDefinition d{type, table, keyQuery, nameProperty, nameColumn, ""};
  d.references = {{reference, "", table, keyColumn, {nameColumn}, 2}};
  d.keyColumns = {keyColumn};
  d.keyProperties = {nameProperty};
  d.columns = {keyColumn, nameColumn};
  d.properties = {numberProperty, nameProperty};
  d.columnFlags = {0, 1};
  d.listProperties = {nameProperty, nameProperty};
  return {key, className, {std::move(d), missing, missingText}};
}

}  // namespace

const std::vector<DPX_ReferencedFirstRow>& ReferencedFirstCategories() {
  static const std::vector<DPX_ReferencedFirstRow> rows = {
      Row("DPX_TRN_PRICELISTDEFS_100", "DPX_PriceListSetupManager", 6, "OPLN",
          "SELECT ListNum FROM OPLN ORDER BY BASE_NUM", "ListNum", "ListName", "PriceListNo", "PriceListName",
          "BasePriceList", DPX_MissingReference::kNextNumberWhenItself,
          "The base price list '%s' is not in the target"),
      Row("DPX_TRN_TERRITORIES_100", "DPX_TerritoriesManager", 200, "OTER",
          "SELECT territryID FROM OTER ORDER BY parent", "territryID", "descript", "TerritoryID", "Description",
          "Parent", DPX_MissingReference::kLeftOut, ""),
  };
  return rows;
}

void RegisterReferencedFirstCategories() {
  for (const DPX_ReferencedFirstRow& row : ReferencedFirstCategories())
    DPX_CategoryFactory::registerClass(row.className,
                                       [&row](DPX_ConnectionContext* context, const std::string& key, int32_t) {
                                         return std::make_unique<DPX_ReferencedFirstCategory>(context, key,
                                                                                              row.definition);
                                       });
}

DPX_ReferencedFirstCategory::DPX_ReferencedFirstCategory(DPX_ConnectionContext* context,
                                                         const std::string& categoryKey,
                                                         const DPX_ReferencedFirstDefinition& definition)
    : DPX_ObjectCategory(context, categoryKey, definition.records),
      m_missing(definition.missing),
      m_missingText(definition.missingText) {}

void DPX_ReferencedFirstCategory::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_ReferencedFirstCategory::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName != m_definition.table) {
      if (method != 0) logUnknownTable(block.tableName, method);
      continue;
    }
    if (method == 0) {
      writeMainBlock(block, method);
      continue;
    }
    m_logRecords = 1;
    block.context = m_context;
    block.set(m_categoryKey, m_definition.table, 0, m_definition.objectType);
    // One record at a time, so a record finds in the target the record it
    // names, written just before it.
    for (DPX_OperationArgs::DataItem& item : referencedFirst(std::move(block.dataItems))) {
      DPX_OperationArgs record = block;
      record.dataItems = {std::move(item)};
      compareWithTarget(record, m_definition.matchProperty, m_definition.matchColumn, m_keyColumns, m_listColumns,
                        method);
      if (record.dataItems.empty() || !translateReference(record)) continue;
      dpx::categories::WriteObjectsByMethod(*this, record, method);
    }
  }
}

std::vector<DPX_OperationArgs::DataItem> DPX_ReferencedFirstCategory::referencedFirst(
    std::vector<DPX_OperationArgs::DataItem> items) const {
  const std::string& field = m_definition.references.front().field;
  std::map<std::string, size_t> byName;
  std::vector<std::string> named(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    byName.emplace(RowValue(items[i].xml, m_definition.matchProperty), i);
    if (HasDependency(items[i].xml, field)) named[i] = RowValue(items[i].xml, field);
  }
  enum State : uint8_t { kNew, kVisiting, kPlaced };
  std::vector<State> state(items.size(), kNew);
  std::vector<size_t> order;
  // Each record's chain of named records, placed from its far end; a record
  // met again while its chain is walked closes a cycle and stops the walk.
  for (size_t start = 0; start < items.size(); ++start) {
    std::vector<size_t> chain;
    for (size_t i = start; state[i] == kNew;) {
      state[i] = kVisiting;
      chain.push_back(i);
      auto next = named[i].empty() ? byName.end() : byName.find(named[i]);
      if (next == byName.end()) break;
      i = next->second;
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      state[*it] = kPlaced;
      order.push_back(*it);
    }
  }
  std::vector<DPX_OperationArgs::DataItem> sorted;
  sorted.reserve(items.size());
  for (size_t i : order) sorted.push_back(std::move(items[i]));
  return sorted;
}

bool DPX_ReferencedFirstCategory::translateReference(DPX_OperationArgs& record) {
  const std::string& field = m_definition.references.front().field;
  DPX_OperationArgs::DataItem& item = record.dataItems.front();
  // A record that names no record (no reference, or a negative one) goes as it is.
  if (!HasDependency(item.xml, field)) return true;
  const std::string named = RowValue(item.xml, field);
  mapDependencyToTarget(record, field, "row", m_definition.references.front().declared());
  if (record.dataItems.empty()) return false;  // a reference it may not carry: refused on its own line
  std::string ignored;
  if (rt::ElementValue(item.xml, field, 0, item.xml.size(), ignored)) return true;  // found in the target
  if (m_missing == DPX_MissingReference::kLeftOut) return true;

  // A new price list based on itself is based on the number the target gives it.
  if (!item.exists && named == RowValue(item.xml, m_definition.matchProperty)) {
    auto target = dpx::records::TargetCompany(m_context);
    const std::string& key = m_keyColumns.front();
    auto recordset = target->NewRecordset();
    const int32_t type = target->DbServerType();
    recordset->DoQuery("SELECT MAX(" + DPX_SqlStatement::ColumnName(type, key) + ") FROM " +
                       DPX_SqlStatement::TableName(type, m_definition.table));
    const int64_t largest = recordset->RecordCount() > 0 ? recordset->Field(0).toInt64() : 0;
    AppendField(item.xml, field, std::to_string(largest + 1));
    std::erase_if(item.leftOut, [&field](const DPX_LeftOutField& left) { return left.field == field; });
    return true;
  }
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, item.exists ? 2 : 3, item.baseCode, item.baseDescription);
  if (item.exists) line.targetCode(item.targetCode);
  line.fail(fmt::sprintf(m_missingText, named));
  line.write(m_logRecords);
  return false;
}
