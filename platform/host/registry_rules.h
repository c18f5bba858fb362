// Write rules the registry's object types share: checks a hook makes when a
// record is added or updated. A rule is not a reference, so the row it
// checks is not held back from removal by it.
#pragma once

#include <map>
#include <string>

#include "platform/framework/variant.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"

namespace dpx::host {

// The text of a record's value, "" when it has none.
inline std::string HeaderText(const std::map<std::string, Variant>& header, const char* property) {
  auto it = header.find(property);
  return it == header.end() ? std::string() : it->second.toText();
}

// 0 when `table` has a row whose `column` is `value`; otherwise the refusal.
inline int RequireRow(CompanyStore& store, const char* table, const char* column, const std::string& value,
                      const char* what, std::string& error) {
  if (!value.empty()) {
    auto found = store.query(std::string("SELECT 1 FROM ") + table + " WHERE " + column + " = ? LIMIT 1",
                             {Variant(value)});
    if (!found.rows.empty()) return 0;
  }
  error = std::string(what) + " '" + value + "' does not exist";
  return kErrMissingReference;
}

}  // namespace dpx::host
