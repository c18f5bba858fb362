// Alternative items (table OALI): plain rows keyed by the item and its
// alternative, written as they were read. Replace All clears the target's
// table by one deletion before the base's rows are written.
#pragma once

#include "categories/table_category.h"

class DPX_AlternativeItemsManager : public DPX_TableCategory {
 public:
  DPX_AlternativeItemsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
