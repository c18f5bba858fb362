// Item prices (table ITM1): one plain row per item and price list. The price
// list travels by its name, so a price lands in the target's list of the
// same name whatever its number there. The record list shows the item's and
// the price list's names.
#pragma once

#include "categories/table_category.h"

class DPX_PriceListManager : public DPX_TableCategory {
 public:
  DPX_PriceListManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
