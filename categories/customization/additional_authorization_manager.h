// Additional authorizations (table OUPT, business object 214): entries of
// the user-defined permission tree. An entry may hang below one of a lower
// level, so entries are read and added from the lowest level up and removed
// from the highest level down.
#pragma once

#include "categories/object_category.h"

class DPX_AdditionalAuthorizationManager : public DPX_ObjectCategory {
 public:
  DPX_AdditionalAuthorizationManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  static DPX_ObjectCategoryDefinition Definition();
  // Only the first block of entries is written: a file holding a second
  // would have the entries written twice, the second over the first.
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once, so that the first block is known.
  bool writesInSlices() const override { return false; }
};
