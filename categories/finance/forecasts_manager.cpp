// Sales forecasts: the business-object family with its lists.
#include "categories/finance/forecasts_manager.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{198, "OFCT", "", "ForecastCode", "Code", ""};
  d.keyColumns = {"AbsID"};
  d.keyProperties = {"ForecastCode"};
  d.columns = {"Code", "Name", "StartDate", "EndDate"};
  d.properties = {"ForecastCode", "ForecastName", "ForecastStartDate", "ForecastEndDate"};
  d.columnFlags = {0, 0, 0, 0};
  d.listProperties = {"ForecastCode", "ForecastName"};
  return d;
}

}  // namespace

DPX_ForecastsManager::DPX_ForecastsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}
