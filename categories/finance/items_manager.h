// Items (table OITM, business object 4): found in the target by code. Twenty
// references travel with an item: its cycles, group, commission group, units,
// manufacturer and shipping type always, its per-warehouse accounts under the
// host's account flag. The record list shows the item type, group and
// manufacturer as texts.
#pragma once

#include "categories/object_category.h"

class DPX_ItemsManager : public DPX_ObjectCategory {
 public:
  DPX_ItemsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
