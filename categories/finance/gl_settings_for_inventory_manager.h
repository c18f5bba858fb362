// G/L settings for inventory: the fifteen inventory accounts of every
// posting-period category, written over the target's matching categories.
// The category has no record list.
#pragma once

#include <string>

#include "categories/finance/period_accounts_category.h"

class DPX_GLSettingsForInventoryManager : public DPX_PeriodAccountsCategory {
 public:
  DPX_GLSettingsForInventoryManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  // A record's account as the target names it; false when the target lacks its format code.
  bool getAcctCode(const std::string& text, std::string& code) const { return accountCodeOf(text, code); }
};
