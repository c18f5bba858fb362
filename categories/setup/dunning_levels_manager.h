// Dunning levels (table ODUN, business object 151) with the dunning terms
// they name (plain table ODUT). The terms go first, add-or-update by their
// code under every copy method and without copy-log lines; the levels follow
// by the copy method, matched by their level number. Replace All removes every
// level of the target, the highest first.
#pragma once

#include "categories/object_category.h"

class DPX_DunningLevelsManager : public DPX_ObjectCategory {
 public:
  DPX_DunningLevelsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
