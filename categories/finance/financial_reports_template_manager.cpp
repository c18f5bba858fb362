// Financial report templates: the table family for the templates, with
// their categories and lines following them.
#include "categories/finance/financial_reports_template_manager.h"

#include <utility>

#include "engine/connection_context.h"
#include "engine/detail_record.h"
#include "engine/di_record_support.h"
#include "engine/operation_args.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"

namespace {

DPX_TableCategoryDefinition Definition() {
  DPX_TableCategoryDefinition d;
  d.table = "OFRT";
  d.listSql = "SELECT AbsId, Name FROM OFRT";
  d.counterObjectType = 95;
  d.counterKeyColumn = "AbsId";
  d.matchColumns = {"Name"};
  d.newKeys = true;
  d.keyColumns = {"AbsId"};
  d.columns = {"Name"};
  d.columnFlags = {0};
  d.logColumns = {"AbsId", "Name"};
  return d;
}

}  // namespace

DPX_FinancialReportsTemplateManager::DPX_FinancialReportsTemplateManager(DPX_ConnectionContext* context,
                                                                         const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey, Definition()) {}

DPX_TableInfo* DPX_FinancialReportsTemplateManager::readFromFile(dpx::ConfigurationSource* configuration) {
  return readStoredList(configuration, false, m_keyColumns, m_columns, "row");
}

DPX_OperationArgs DPX_FinancialReportsTemplateManager::readTemplateRows(const std::string& table,
                                                                        const std::vector<DPX_DetailRecord>& chosen) {
  if (chosen.empty()) return readBaseTable(table, "", 0);
  // Rows of templates that are not copied would name a template the target
  // may number otherwise: only the chosen templates' rows travel.
  std::string numbers;
  for (const DPX_DetailRecord& record : chosen) {
    if (record.getKeyValues().empty()) continue;
    numbers += (numbers.empty() ? "" : ", ") + std::to_string(record.getKeyValue(0).toInt64());
  }
  if (numbers.empty()) numbers = "NULL";
  const bool quoted = dpx::records::BaseCompany(m_context)->DbServerType() == 5;
  return readBaseTable(table,
                       "SELECT * FROM " + table + (quoted ? " WHERE \"TemplateId\" IN (" : " WHERE TemplateId IN (") +
                           numbers + ")",
                       1);
}

int32_t DPX_FinancialReportsTemplateManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                        std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_FinancialReportsTemplateManager::readFromDB");
  DPX_OperationArgs templates = chosen.empty() ? readBaseTable("OFRT", "", 0) : readBaseRows("OFRT", chosen);
  if (!templates.dataItems.empty()) blocks.push_back(std::move(templates));

  DPX_OperationArgs categories = readTemplateRows("OFRC", chosen);
  resolveDependency(categories, "TemplateId", 2, "OFRT", "AbsId", "Name", "row");
  if (!categories.dataItems.empty()) blocks.push_back(std::move(categories));

  DPX_OperationArgs lines = readTemplateRows("FRC1", chosen);
  resolveDependency(lines, "TemplateId", 2, "OFRT", "AbsId", "Name", "row");
  const bool segmented = DPX_Util::QueryHostFlag(dpx::records::BaseCompany(m_context));
  resolveDependency(lines, "AcctCode", 0, "OACT", "AcctCode", segmented ? "FormatCode" : "AcctName", "row");
  if (!lines.dataItems.empty()) blocks.push_back(std::move(lines));
  return 0;
}

void DPX_FinancialReportsTemplateManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_FinancialReportsTemplateManager::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == "OFRT") {
      writeTemplates(block, method);
    } else if (method == 0) {
      // The removal pass removed the categories and lines with their templates;
      // the write pass writes them once their templates have their numbers.
      continue;
    } else if (block.tableName == "OFRC") {
      writeTemplateRows(block, {"TemplateId"}, {"CatId", "TemplateId"}, {"TemplateId", "Name"});
    } else if (block.tableName == "FRC1") {
      writeTemplateRows(block, {"TemplateId", "AcctCode"}, {"AcctCode", "CatId", "TemplateId"},
                        {"TemplateId", "AcctCode"});
    } else {
      logUnknownTable(block.tableName, method);
    }
  }
  m_logRecords = 1;
}

void DPX_FinancialReportsTemplateManager::writeTemplates(DPX_OperationArgs& block, uint8_t method) {
  m_logRecords = 1;
  block.setWithValues(m_categoryKey, "OFRT", m_context, 1, DPX_OperationArgs::kTableRows);
  if (method == 0) {
    deleteTargetRows(block, m_listColumns, "", 0);
    // Categories and lines of removed templates would name nothing.
    m_logRecords = 0;
    for (const char* table : {"FRC1", "OFRC"}) {
      DPX_OperationArgs rows;
      rows.setWithValues(m_categoryKey, table, m_context, 1, DPX_OperationArgs::kTableRows);
      deleteTargetRows(rows, {"TemplateId", "CatId"}, "", 0);
    }
    m_logRecords = 1;
    return;
  }
  buildObjectXml(block, "Name", m_listColumns, "Name", method);
  if (method == 2)
    updateTargetRows(block);
  else if (method == 3)
    addTargetRows(block, 95, "AbsId");
  else
    copyTableRecords(block, 95, "AbsId");
}

void DPX_FinancialReportsTemplateManager::writeTemplateRows(DPX_OperationArgs& block,
                                                            const std::vector<std::string>& references,
                                                            const std::vector<std::string>& matchColumns,
                                                            const std::vector<std::string>& logColumns) {
  m_logRecords = 0;
  const std::string table = block.tableName;
  block.setWithValues(m_categoryKey, table, m_context, 1, DPX_OperationArgs::kTableRows);
  // A row whose template or account the target lacks is not written.
  for (const std::string& field : references)
    mapDependenciesToTarget(block, field, "row",
                            field == "AcctCode" ? DPX_AccountByCodeOrName()
                                                : DPX_DeclaredReferences{{"OFRT", "AbsId", {"Name"}}});
  buildTableXml(block, matchColumns, logColumns, matchColumns, 4);
  copyTableRecords(block, -1, "Code");
  m_logRecords = 1;
}
