// Business partners (table OCRD, business object 2), found in the target by
// code and read in the order of their parent partner, so that a parent is
// written before its children. Indicator codes (OIDC) and 1099 forms (OTNN)
// travel with them: added or updated by name before the partners under every
// method but the removal pass, without copy-log lines.
#pragma once

#include "categories/object_category.h"

class DPX_BPGeneralManager : public DPX_ObjectCategory {
 public:
  DPX_BPGeneralManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  // An indicator code or a 1099 form takes the key of the target's row of the
  // same name, or the target's highest key + 1 when it is new.
  void mapReferences(std::string tableName, std::string& rowXml, int32_t mode) override;
};
