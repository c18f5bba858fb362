// Inventory settings: the stock rules of the administration record and the
// company information, copied as one record over the target's values. The
// administration record is stored first; the company information only when
// that succeeded.
#pragma once

#include "categories/settings_category.h"

class DPX_InventorySettingsManager : public DPX_SettingsCategory {
 public:
  DPX_InventorySettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
