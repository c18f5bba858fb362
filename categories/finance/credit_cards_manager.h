// Credit cards (table OCRC, business object 36): found in the target by
// their name; the card's G/L account travels by its format code when the
// charts name accounts so.
#pragma once

#include "categories/object_category.h"

class DPX_CreditCardsManager : public DPX_ObjectCategory {
 public:
  DPX_CreditCardsManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
