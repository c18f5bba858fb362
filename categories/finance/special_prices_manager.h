// Special prices (table OSPP, business object 7). The table holds two kinds
// of record: a partner's special prices, and price hierarchies, whose
// CardCode begins with "*". Each kind is a category of its own, served by
// this one class from its row of a definition table; the rows differ only in
// the key query, which also bounds the removal pass of Replace All, so that
// replacing one kind keeps the target's records of the other. The price list
// travels by its name. The record list shows prices and discounts with six
// decimals and the item's and the partner's names.
#pragma once

#include <string>

#include "categories/object_category.h"

class DPX_SpecialPricesManager : public DPX_ObjectCategory {
 public:
  DPX_SpecialPricesManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  DPX_TableInfo* collectDetails() override;
};
