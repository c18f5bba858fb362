// Item groups (table OITB, business object 52): found in the target by name;
// the inventory cycle travels always, the 38 accounts under the host's
// account flag. The removal pass of Replace All first empties the item
// groups' history (AITB).
#pragma once

#include "categories/object_category.h"

class DPX_ItemGroupsManager : public DPX_ObjectCategory {
 public:
  DPX_ItemGroupsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
