// Default report layouts: the users' rows of RDFL and the document types' rows of RTYP.
#include "categories/finance/default_report_layout_manager.h"

#include "platform/framework/log_scope.h"

namespace {

const DPX_ReferenceField kReport{"", "", "RDOC", "DocCode", {"DocName", "TypeCode"}, 0};

DPX_ReferenceField ReportIn(const char* field) {
  DPX_ReferenceField report = kReport;
  report.field = field;
  return report;
}

const DPX_UserRowTable& UserReports() {
  static const DPX_UserRowTable rows{"RDFL",
                                     {"DoumntDode", "UserId", "CardCode"},
                                     {"DfltReport", "UserId"},
                                     "UserId",
                                     {{"UserId", "", "OUSR", "USERID", {"USER_CODE"}, 0}, ReportIn("DfltReport")}};
  return rows;
}

const DPX_UserRowTable& TypeReports() {
  static const DPX_UserRowTable rows{"RTYP", {"CODE"}, {"CODE", "DEFLT_REP"}, "", {ReportIn("DEFLT_REP")}};
  return rows;
}

}  // namespace

DPX_DefaultReportLayoutManager::DPX_DefaultReportLayoutManager(DPX_ConnectionContext* context,
                                                               const std::string& categoryKey)
    : DPX_UserDefaultsCategory(context, categoryKey, false, true) {}

int32_t DPX_DefaultReportLayoutManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                   std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_DefaultReportLayoutManager::readFromDB");
  DPX_OperationArgs users = readAllUsers();
  if (!users.dataItems.empty()) blocks.push_back(std::move(users));
  DPX_OperationArgs userRows = readUserRows(UserReports(), chosen);
  if (!userRows.dataItems.empty()) blocks.push_back(std::move(userRows));
  // The document types' rows go whole, also when there is none.
  DPX_OperationArgs typeRows = readUserRows(TypeReports(), {});
  typeRows.setWithValues(m_categoryKey, "RTYP", m_context, 1, DPX_OperationArgs::kTableRows);
  blocks.push_back(std::move(typeRows));
  return 0;
}

void DPX_DefaultReportLayoutManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_DefaultReportLayoutManager::writeData");
  if (method == 0) return;
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == UserReports().table) {
      m_logRecords = 1;
      writeUserRows(block, UserReports(), 4);
    } else if (block.tableName == TypeReports().table) {
      m_logRecords = 0;
      writeUserRows(block, TypeReports(), 4);
    } else if (block.tableName != m_definition.table) {
      logUnknownTable(block.tableName, method);
    }
  }
  m_logRecords = 1;
}
