// Formatted searches: the business-object family with a record list of
// display texts and the query reference mapped by name.
#include "categories/customization/formatted_search_manager.h"

#include <fmt/printf.h>

#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/host_application.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr int32_t kSearchType = 219;

// The statements of each mode: its key list and its removal list.
struct ModeSql {
  const char* keys;
  const char* removal;
};
const ModeSql kModeSql[2] = {
    {"SELECT IndexID FROM CSHS WHERE ItemID NOT LIKE 'U_%'",
     "SELECT IndexID, FieldID, FormID FROM CSHS WHERE ItemID NOT LIKE 'U_%'"},
    {"SELECT IndexID FROM CSHS WHERE ItemID LIKE 'U_%'", "SELECT IndexID, FieldID, FormID FROM CSHS WHERE ItemID LIKE 'U_%'"},
};

namespace rt = dpx::recordtext;

// The record's first row ("" when the record has none).
size_t FirstRow(const std::string& xml) {
  const size_t root = rt::RootElement(xml);
  return root == rt::npos ? rt::npos : rt::FindDescendant(xml, root, "row");
}

// The name of the query a search names by a dependency record, "" when it names none so.
std::string QueryName(const std::string& xml) {
  const size_t row = FirstRow(xml);
  if (row == rt::npos) return {};
  const size_t field = rt::FindChild(xml, row, "QueryID");
  if (field == rt::npos || !rt::HasChildElement(xml, field)) return {};
  const size_t value = rt::FindDescendant(xml, field, "fValue");
  return value == rt::npos ? std::string() : rt::FirstText(xml, value);
}

// Whether the search's first row still names a query.
bool NamesQuery(const std::string& xml) {
  const size_t row = FirstRow(xml);
  return row != rt::npos && rt::FindChild(xml, row, "QueryID") != rt::npos;
}

std::string RowText(const std::string& xml, const char* column) {
  const size_t row = FirstRow(xml);
  std::string value;
  if (row != rt::npos) rt::ElementValue(xml, column, row, rt::ElementEnd(xml, row), value);
  return value;
}

// What identifies a search in any company.
std::vector<std::string> SearchKey(const std::string& xml) {
  return {RowText(xml, "FormID"), RowText(xml, "ItemID"), RowText(xml, "ColumnID")};
}

const ModeSql& SqlOf(int32_t mode) { return kModeSql[mode == 1 ? 1 : 0]; }

// The name and text of the query a search names; two empty texts when the
// search names none (an empty or non-numeric number) or the base lacks it.
std::pair<std::string, std::string> QueryOf(dpx::host::Company& base, const std::string& queryId) {
  int64_t key = 0;
  if (!dpx::records::ReadIntegerKey(dpx::Variant(queryId), key)) return {};
  const char* text = base.DbServerType() == 5
                         ? "SELECT \"QName\", \"QString\" FROM OUQR WHERE \"IntrnalKey\" = %lld AND (\"QCategory\" <> -2 "
                           "OR \"QCategory\" IS NULL)"
                         : "SELECT QName, QString FROM OUQR WHERE IntrnalKey = %lld AND (QCategory <> -2 OR QCategory IS NULL)";
  auto recordset = base.NewRecordset();
  recordset->DoQuery(fmt::sprintf(text, static_cast<long long>(key)));
  if (recordset->RecordCount() < 1) return {};
  recordset->MoveFirst();
  return {recordset->Field(0).toText(), recordset->Field(1).toText()};
}

}  // namespace

DPX_FormattedSearchManager::DPX_FormattedSearchManager(DPX_ConnectionContext* context, const std::string& categoryKey,
                                                       int32_t mode)
    : DPX_ObjectCategory(context, categoryKey,
                         {kSearchType, "CSHS", SqlOf(mode).keys, "", "", SqlOf(mode).removal,
                          {"FormID", "ItemID", "ColumnID"}, {"FormID", "ItemID", "ColID"}, {}}),
      m_mode(mode) {
  m_keyColumns = {"IndexID"};
  m_keyProperties = {"FormID", "ItemID", "ColumnID"};
  m_columns = {"FormID", "ItemID"};
  m_properties = {"FormID", "ItemID", "QueryID"};
  m_listColumns = {"ItemID", "FormID"};
  m_columnFlags = {0, 0, 0, 0};
}

bool DPX_FormattedSearchManager::initialize() {
  m_tableInfo.setTableName("CSHS");
  m_tableInfo.setContext(m_context);
  std::vector<std::string> headings, queryHeadings;
  std::vector<int32_t> types, queryTypes;
  m_tableInfo.readFieldTypes("CSHS", m_columns, headings, types);
  // The list also shows the query's name and text.
  m_tableInfo.readFieldTypes("OUQR", {"QName", "QString"}, queryHeadings, queryTypes);
  headings.insert(headings.end(), queryHeadings.begin(), queryHeadings.end());
  types.insert(types.end(), queryTypes.begin(), queryTypes.end());
  m_tableInfo.setColumns(headings, m_columnFlags, types);
  return true;
}

DPX_TableInfo* DPX_FormattedSearchManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_FormattedSearchManager::collectDetails");
  initialize();
  auto base = dpx::records::BaseCompany(m_context);
  auto application = m_context ? m_context->getApplication() : nullptr;
  auto recordset = queryBaseList(m_definition.keyQuery);
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) {
    std::vector<std::string> texts = readRecordKeys(kSearchType, *recordset, m_keyColumns, m_keyProperties, m_properties);
    if (texts.size() < 3) continue;
    // The client's descriptions of the form and the item; an id the client
    // cannot describe stays as it is.
    if (application) {
      const std::string formId = texts[0];
      try {
        texts[0] = application->formDescription(formId);
        texts[1] = application->itemDescription(formId, texts[1], "-1");
      } catch (const dpx::HostError& e) {
        scope.LogInfo("No description of form %s, item %s: %s", formId, texts[1], e.what());
      }
    }
    auto [name, text] = QueryOf(*base, texts[2]);
    texts[2] = name;
    texts.push_back(text);
    m_tableInfo.addListRow(texts);
  }
  return &m_tableInfo;
}

int32_t DPX_FormattedSearchManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                               std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_FormattedSearchManager::readFromDB");
  DPX_OperationArgs block = chosen.empty() ? readBaseRecords(kSearchType, "CSHS", m_keyColumns, m_definition.keyQuery)
                                           : readBaseObjects(kSearchType, "CSHS", chosen);
  resolveDependency(block, "QueryID", DPX_SqlStatement::kNumeric, "OUQR", "IntrnalKey", "QName", "row");
  if (!block.dataItems.empty()) blocks.push_back(std::move(block));
  return 0;
}

void DPX_FormattedSearchManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_FormattedSearchManager::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName != "CSHS") continue;
    block.context = m_context;
    block.set(m_categoryKey, "CSHS", 0, kSearchType);
    m_queryNames.clear();
    if (method != 0) {
      for (const DPX_OperationArgs::DataItem& item : block.dataItems)
        m_queryNames[SearchKey(item.xml)] = QueryName(item.xml);
      mapDependencyToTarget(block, "QueryID", "row", {{"OUQR", "IntrnalKey", {"QName"}}});
    }
    writeMainBlock(block, method);
    m_queryNames.clear();
  }
}

void DPX_FormattedSearchManager::refuseCompared(DPX_OperationArgs& block, uint8_t /*method*/) {
  std::vector<DPX_OperationArgs::DataItem> kept;
  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    const auto query = m_queryNames.find(SearchKey(item.xml));
    if (query == m_queryNames.end() || query->second.empty() || NamesQuery(item.xml)) {
      kept.push_back(std::move(item));
      continue;
    }
    // A search without its query would search with nothing.
    dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
    line.start(m_categoryKey, item.exists ? 2 : 3, RowText(item.xml, "ItemID"), RowText(item.xml, "FormID"));
    line.fail("The target has no query '" + query->second + "'");
    line.write(m_logRecords != 0);
  }
  block.dataItems = std::move(kept);
}
