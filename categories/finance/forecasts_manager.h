// Sales forecasts (table OFCT, business object 198): the host numbers them;
// a forecast is found in the target by its code.
#pragma once

#include "categories/object_category.h"

class DPX_ForecastsManager : public DPX_ObjectCategory {
 public:
  DPX_ForecastsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
