// The key of a row that the host numbers, found by the row's name in the
// target (update) or made the target's highest key + 1 (insert), for the
// mapReferences hook of the managers that write such rows by SQL.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/di_record_support.h"

class DPX_ConnectionContext;

namespace dpx::categories {

// Mode 2: the key of the target's row whose lookupColumns equal the row's
// (and every fixed condition); the row keeps its key when there is none. The
// values are bound as the target's fields type them (text without fields).
// Mode 3: the target's highest key + 1. Other modes leave the XML as it is.
void MapKeyByColumnsOrNextNumber(DPX_ConnectionContext* context, const std::string& table, std::string& xml,
                                 int32_t mode, const std::string& keyColumn,
                                 const std::vector<std::string>& lookupColumns,
                                 const std::vector<std::pair<std::string, std::string>>& fixedConditions = {},
                                 const std::vector<dpx::records::FieldInfo>* targetFields = nullptr);

// The same with the row found by its name.
inline void MapKeyByNameOrNextNumber(DPX_ConnectionContext* context, const std::string& table, std::string& xml,
                                     int32_t mode, const std::string& keyColumn, const std::string& nameColumn,
                                     const std::vector<std::pair<std::string, std::string>>& extraConditions = {}) {
  MapKeyByColumnsOrNextNumber(context, table, xml, mode, keyColumn, {nameColumn}, extraConditions);
}

}  // namespace dpx::categories
