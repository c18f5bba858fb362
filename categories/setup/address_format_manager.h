// Address formats (table OADF): matched in the target by their name; a new
// format gets the target's next code, and the host's next number (ONNM,
// object 131) moves past it.
#pragma once

#include "categories/table_category.h"

class DPX_AddressFormatManager : public DPX_TableCategory {
 public:
  DPX_AddressFormatManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  void mapReferences(std::string table, std::string& xml, int32_t mode) override;
};
