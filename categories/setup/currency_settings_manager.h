// Currency settings (table OCRN, business object 37): currencies are matched
// in the target by their code and written through the currency object.
#pragma once

#include "categories/object_category.h"

class DPX_CurrencySettingsManager : public DPX_ObjectCategory {
 public:
  DPX_CurrencySettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
