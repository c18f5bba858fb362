// General settings: restrictions, commissions, default payment terms and
// other options of the administration record, and the four folder paths of
// OADP. The payment terms travel by their name and take the target's number
// of the same payment terms.
#pragma once

#include "categories/settings_category.h"

class DPX_GeneralSettingsManager : public DPX_SettingsCategory {
 public:
  DPX_GeneralSettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
