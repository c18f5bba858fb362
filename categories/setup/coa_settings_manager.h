// Chart-of-accounts settings: currencies, budget and blocking options of the
// administration record, and account segmentation and bills of exchange of
// the company information; both objects are written back.
#pragma once

#include "categories/settings_category.h"

class DPX_COASettingsManager : public DPX_SettingsCategory {
 public:
  DPX_COASettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
