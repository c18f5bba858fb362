// G/L account determination: the accounts of every posting-period category
// and ten tax and reconciliation settings of the administration record,
// written over the target's matching categories and settings.
#pragma once

#include <string>

#include "categories/finance/period_accounts_category.h"

class DPX_GLAccountDeterminationManager : public DPX_PeriodAccountsCategory {
 public:
  DPX_GLAccountDeterminationManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  // An account code of the base as the record carries it (its format code under the base's flag).
  std::string getFormatCode(const std::string& code) const { return formatCodeOf(code); }
  // A record's account as the target names it; false when the target lacks its format code.
  bool getAcctCode(const std::string& text, std::string& code) const { return accountCodeOf(text, code); }
};
