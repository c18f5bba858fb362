// Record lists that show a number as a word: an allocation method, a cycle's
// frequency. The word is a text of the string table whose id is the number
// plus a base, in the host client's language.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DPX_ConnectionContext;

namespace dpx::categories {

// Replaces the value at `index` of a listed row by its text. A value that is
// no whole number, or whose id has no text, stays as it is.
void ShowAsListText(std::vector<std::string>& row, int32_t index, int32_t base, DPX_ConnectionContext* context);

}  // namespace dpx::categories
