// Transaction codes (table OTRC): rows keep the code they have in the base;
// the host's next number (ONNM, object 45) moves past new codes when they are
// numbers and stays as it is when they are not.
#pragma once

#include "categories/table_category.h"

class DPX_TransactionCodeManager : public DPX_TableCategory {
 public:
  DPX_TransactionCodeManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
