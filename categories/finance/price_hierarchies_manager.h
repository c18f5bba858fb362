// Price hierarchies: the special prices whose CardCode begins with "*",
// served by the special prices' class from the hierarchies' definition row.
#pragma once

#include "categories/finance/special_prices_manager.h"

class DPX_PriceHierarchiesManager : public DPX_SpecialPricesManager {
 public:
  using DPX_SpecialPricesManager::DPX_SpecialPricesManager;
};
