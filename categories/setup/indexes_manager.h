// Indexes (table OIDX): rows keep the code they have in the base; the host's
// next number (ONNM, object 38) moves past new codes.
#pragma once

#include "categories/table_category.h"

class DPX_IndexesManager : public DPX_TableCategory {
 public:
  DPX_IndexesManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
