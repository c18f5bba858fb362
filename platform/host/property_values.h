// Value conversions that the business object's reading and writing halves
// (business_object.cpp, business_object_write.cpp) share.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/variant.h"
#include "platform/host/object_registry.h"

namespace dpx::host::bo_detail {

// The column value stored for a property value (defaults and codes applied).
Variant ToColumnValue(const PropertyDef& p, const Variant& v);
// An empty value, or -1: a reference that names no record.
bool IsNoReferenceValue(const Variant& v);
// No value at all, or empty text.
bool IsEmptyPropertyValue(const Variant& v);
// Key values for messages: "a, b".
std::string KeyDisplay(const std::vector<Variant>& key);

}  // namespace dpx::host::bo_detail
