// Credit card payment due dates (table OCDT, business object 71): found in
// the target by their name.
#pragma once

#include "categories/object_category.h"

class DPX_CreditCardPaymentsManager : public DPX_ObjectCategory {
 public:
  DPX_CreditCardPaymentsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
