// One statement whose values travel apart from its text: each "?" outside
// quotes stands for the next value. The text of a statement repeats from
// record to record, so the host translates and prepares it once and binds
// each record's values to the prepared statement.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/variant.h"

namespace dpx::host {

struct BoundSql {
  std::string text;
  std::vector<Variant> values;
};

}  // namespace dpx::host
