// Countries (table OCRY) with all their states (OCST). Countries keep their
// codes; every state of the base travels whichever countries are chosen, is
// added or updated whatever the copy method and names the target's country
// of the same name. The removal pass removes the target's countries together
// with their states.
#pragma once

#include <string>

#include "categories/table_category.h"

class DPX_CountriesManager : public DPX_TableCategory {
 public:
  DPX_CountriesManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  static DPX_TableCategoryDefinition Definition();
};
