// Budgets (table OBGT, business object 77) with the budget scenarios (OBGS,
// 91) and distribution methods (OBGD, 78) they name. Scenarios and methods
// travel whole, found in the target by their names and written first without
// copy-log lines, whatever the copy method; a budget names its scenario,
// account and method by their names and is found in the target by its
// scenario and account. The removal pass removes budgets only.
#pragma once

#include "categories/object_category.h"

class DPX_BudgetManager : public DPX_ObjectCategory {
 public:
  DPX_BudgetManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
