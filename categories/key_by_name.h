// The key of a row that the host numbers, found by the row's name in the
// target (update) or made the target's highest key + 1 (insert), for the
// mapReferences hook of the managers that write such rows by SQL.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class DPX_ConnectionContext;

namespace dpx::categories {

// Mode 2: the key of the target's row whose nameColumn equals the row's
// (and every extra condition); the row keeps its key when there is none.
// Mode 3: the target's highest key + 1. Other modes leave the XML as it is.
void MapKeyByNameOrNextNumber(DPX_ConnectionContext* context, const std::string& table, std::string& xml,
                              int32_t mode, const std::string& keyColumn, const std::string& nameColumn,
                              const std::vector<std::pair<std::string, std::string>>& extraConditions = {});

}  // namespace dpx::categories
