// Credit card payment methods (table OCRP, business object 70): found in the
// target by their name; the credit card and the payment due date they name
// travel as references. The record list leaves out methods numbered 0 or
// less and shows the card's and the due date's names.
#pragma once

#include "categories/object_category.h"

class DPX_CreditCardPaymentMethodsManager : public DPX_ObjectCategory {
 public:
  DPX_CreditCardPaymentMethodsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
