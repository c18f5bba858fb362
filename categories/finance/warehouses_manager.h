// Warehouses (table OWHS, business object 64): found in the target by code.
// Every location of the base travels with them and updates the target's
// location of the same name before the warehouses are written (none is
// added, none logged); the location reference travels always, the 37
// accounts under the host's account flag.
#pragma once

#include "categories/object_category.h"

class DPX_WarehousesManager : public DPX_ObjectCategory {
 public:
  DPX_WarehousesManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
