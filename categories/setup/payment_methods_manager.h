// Payment methods (table OPYM, business object 147): found in the target by
// their code. A method's payment format travels by its name and format type
// and takes the target's format of the same name and type.
#pragma once

#include "categories/object_category.h"

class DPX_PaymentMethodsManager : public DPX_ObjectCategory {
 public:
  DPX_PaymentMethodsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
