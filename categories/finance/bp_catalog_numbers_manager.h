// The partners' catalog numbers of items (table OSCN, business object 73): a
// record is its item, partner and catalog number together, found in the
// target by all three; codes are written as they were read. The record list
// shows the key rows as they stand.
#pragma once

#include "categories/object_category.h"

class DPX_BPCatalogNumbersManager : public DPX_ObjectCategory {
 public:
  DPX_BPCatalogNumbersManager(DPX_ConnectionContext* context, const std::string& categoryKey);
};
