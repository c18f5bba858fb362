// Default series: the users' rows of NNM2, update only.
#include "categories/finance/default_series_manager.h"

#include "platform/framework/log_scope.h"

namespace {

const DPX_UserRowTable& UserSeries() {
  static const DPX_UserRowTable rows{"NNM2",
                                     {"ObjectCode", "DocSubType", "UserSign"},
                                     {"Series", "DocSubType"},
                                     "UserSign",
                                     {{"UserSign", "", "OUSR", "USERID", {"USER_CODE"}, 0},
                                      // A series travels by its document and name: its number is the company's own.
                                      {"Series", "", "NNM1", "Series", {"ObjectCode", "SeriesName"}, 2}}};
  return rows;
}

}  // namespace

DPX_DefaultSeriesManager::DPX_DefaultSeriesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_UserDefaultsCategory(context, categoryKey, false, true) {}

int32_t DPX_DefaultSeriesManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                             std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_DefaultSeriesManager::readFromDB");
  DPX_OperationArgs users = readAllUsers();
  if (!users.dataItems.empty()) blocks.push_back(std::move(users));
  DPX_OperationArgs rows = readUserRows(UserSeries(), chosen);
  if (!rows.dataItems.empty()) blocks.push_back(std::move(rows));
  return 0;
}

void DPX_DefaultSeriesManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_DefaultSeriesManager::writeData");
  if (method == 0) return;
  for (DPX_OperationArgs& block : blocks) {
    // Whatever the method: the rows the target has are updated, no row is added.
    if (block.tableName == UserSeries().table)
      writeUserRows(block, UserSeries(), 2);
    else if (block.tableName != m_definition.table)
      logUnknownTable(block.tableName, method);
  }
}
