// Queries and their categories.
#include "categories/customization/query_manager.h"

#include <map>

#include "engine/connection_context.h"
#include "engine/detail_record.h"
#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {
constexpr int32_t kQueryType = 160;
constexpr int32_t kCategoryType = 134;
constexpr const char* kQueryKeys = "SELECT IntrnalKey, QCategory FROM OUQR WHERE QCategory <> -2";
constexpr const char* kCategoryKeys = "SELECT CategoryId FROM OQCN WHERE CategoryId <> -2";
constexpr const char* kQueryRemoval =
    "SELECT IntrnalKey, QCategory, IntrnalKey, QName FROM OUQR WHERE QCategory <> -2";
}  // namespace

DPX_QueryManager::DPX_QueryManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey,
                         {kQueryType, "OUQR", kQueryKeys, "QueryDescription", "QName", kQueryRemoval,
                          // A name is unique only within its category: queries of the same
                          // name in two categories are two queries.
                          {"QueryDescription", "QueryCategory"}, {"QName", "QCategory"}}) {
  m_keyColumns = {"IntrnalKey", "QCategory"};
  m_keyProperties = {"QueryDescription"};
  m_columns = {"QName", "QString"};
  m_columnFlags = {1, 0};
  m_properties = {"QueryDescription", "Query", "QueryCategory"};
  m_listColumns = {"InternalKey", "QueryDescription"};
}

bool DPX_QueryManager::initialize() {
  m_tableInfo.setTableName("OUQR");
  m_tableInfo.setContext(m_context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  m_tableInfo.readFieldTypes("OUQR", {"QName", "QString"}, headings, types);
  // The record list also shows the name of the query's category.
  std::vector<std::string> categoryHeading;
  std::vector<int32_t> categoryType;
  m_tableInfo.readFieldTypes("OQCN", {"CatName"}, categoryHeading, categoryType);
  m_columns = {"QName", "QString", "CatName"};
  m_columnFlags = {1, 0, 0};
  headings.insert(headings.end(), categoryHeading.begin(), categoryHeading.end());
  types.insert(types.end(), categoryType.begin(), categoryType.end());
  m_tableInfo.setColumns(headings, m_columnFlags, types);
  return true;
}

int32_t DPX_QueryManager::readBlocks(const BlockSink& take, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_QueryManager::readFromDB");
  // Every category travels, whatever queries were chosen.
  DPX_OperationArgs categories = readBaseRecords(kCategoryType, "OQCN", {"CategoryId"}, kCategoryKeys);
  if (!categories.dataItems.empty()) take(categories);

  // A query of the system category is never copied, even when a selection names it.
  std::erase_if(chosen, [](const DPX_DetailRecord& record) {
    for (size_t k = 0; k < record.getKeyCount(); ++k)
      if (record.getKeyName(k) == "QCategory" && record.getKeyValue(k).toText() == "-2") return true;
    return false;
  });
  auto resolved = [this, &take](DPX_OperationArgs& queries) {
    resolveDependency(queries, "QueryCategory", DPX_SqlStatement::kNumeric, "OQCN", "CategoryId", "CatName", "row");
    if (!queries.dataItems.empty()) take(queries);
  };
  if (chosen.empty()) {
    readBaseRecordSlices(kQueryType, "OUQR", m_keyColumns, kQueryKeys, resolved);
  } else {
    DPX_OperationArgs queries = readBaseObjects(kQueryType, "OUQR", chosen);
    resolved(queries);
  }
  return 0;
}

DPX_TableInfo* DPX_QueryManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_QueryManager::collectDetails");
  initialize();
  auto base = dpx::records::BaseCompany(m_context);
  // The record list shows a query's category by its name: every name is read
  // once, a number the base lacks shows as "".
  std::map<std::string, std::string> categoryNames;
  {
    DPX_SqlStatement statement(base->DbServerType());
    statement.setTable("OQCN");
    statement.addColumn("CategoryId");
    statement.addColumn("CatName");
    auto names = base->NewRecordset();
    names->DoQuery(statement.buildSelect());
    for (; !names->EoF(); names->MoveNext())
      categoryNames[DPX_Util::VariantToDisplayText(names->Field(0))] = names->Field(1).toText();
  }
  auto recordset = queryBaseList(kQueryKeys);
  recordset->MoveFirst();
  const int count = recordset->RecordCount();
  for (int i = 0; i < count; ++i) {
    std::vector<std::string> texts = readRecordKeys(kQueryType, *recordset, m_keyColumns, m_keyProperties, m_properties);
    if (!texts.empty()) {
      const auto name = categoryNames.find(texts.back());
      texts.back() = name == categoryNames.end() ? std::string() : name->second;
      m_tableInfo.addListRow(texts);
    }
    recordset->MoveNext();
  }
  return &m_tableInfo;
}

void DPX_QueryManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_QueryManager::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == "OQCN") {
      if (method == 0) continue;  // the removal pass leaves the categories
      // Categories go in silently, by add or update whatever the method.
      m_logRecords = 0;
      block.context = m_context;
      block.set(m_categoryKey, "OQCN", 0, kCategoryType);
      compareWithTarget(block, "Name", "CatName", {"CategoryId"}, {"Code", "Name"}, 4);
      copyRecords(std::move(block));
      m_logRecords = 1;
    } else if (block.tableName == "OUQR") {
      m_logRecords = 1;
      block.context = m_context;
      block.set(m_categoryKey, "OUQR", 0, kQueryType);
      if (method != 0) mapDependencyToTarget(block, "QueryCategory", "row", {{"OQCN", "CategoryId", {"CatName"}}});
      writeMainBlock(block, method);
    } else if (method != 0) {
      logUnknownTable(block.tableName, method);
    }
  }
}
