// Document settings: gross profit, alerts, rounding, blocks and order rules
// of the administration record and eight fields of the company information.
// The row discount is put only where the target's settings entry 11 allows it.
#pragma once

#include "categories/settings_category.h"

class DPX_DocumentSettingsManager : public DPX_SettingsCategory {
 public:
  DPX_DocumentSettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
