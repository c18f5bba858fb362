// A record-list column that shows a host code number as a text of the string
// table, loaded in the host client's language: the text at offset + the
// number, or, for a column with fixed ids, the id of the number or else the
// other id. A number without a text shows as an empty cell.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class DPX_ConnectionContext;

struct DPX_ListText {
  size_t column = 0;                   // index in the record-list row
  int32_t offset = 0;                  // string id = offset + the number
  std::map<int64_t, int32_t> fixedIds; // when given: the id of each number ...
  int32_t otherId = 0;                 // ... and of every other number
};

// Replaces the cells of `row` that the list texts name.
void ApplyListTexts(DPX_ConnectionContext* context, const std::vector<DPX_ListText>& texts,
                    std::vector<std::string>& row);
