// Banks (table ODSC, business object 3): found in the target by their
// country and bank code. A bank's default account travels by its bank code;
// the house-bank-accounts category sets it again once the accounts are in
// the target. Its initialize and collectDetails work on the lists of the
// manager that runs them, so a category over the banks with lists of its
// own (the G/L settings for banks) reuses them.
#pragma once

#include "categories/object_category.h"

class DPX_BanksManager : public DPX_ObjectCategory {
 public:
  DPX_BanksManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  // The banks' definition: their table, object type, match and reference.
  static DPX_ObjectCategoryDefinition definitionOfBanks();
};
