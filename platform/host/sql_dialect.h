// The SQL dialects of the database server types, and their translation into
// what SQLite runs. A tokenizer that respects string literals and quoted
// identifiers turns the dialect's own forms into SQLite's:
//   N'x'                                  -> 'x'         (not type 5)
//   bare @TABLE                           -> "@TABLE"    (types 2 and 5)
//   [@TABLE]                              -> "@TABLE"    (types other than 2 and 5)
//   CONVERT(datetime,'YYYYMMDD',112)      -> 'YYYYMMDD'  (default types)
//   TIMESTAMP_ISO('YYYY-MM-DD')           -> 'YYYYMMDD'  (type 2)
//   'YYYY-MM-DD 00:00:00.000000'          -> 'YYYYMMDD'  (type 5)
//   unquoted YYYYMMDD dates               -> kept; date columns hold text (type 3)
// A form that belongs to another server type raises HostError(kHrDialectError)
// naming the form, so that SQL built for the wrong type fails in tests.
#pragma once

#include <string>

namespace dpx::host {

class SqlDialect {
 public:
  // Translates one statement of `serverType`'s dialect. Raises HostError.
  // When `mainTable` is given it receives the first table named after FROM,
  // INTO or UPDATE, without quotes or brackets ("" when there is none).
  static std::string Translate(int serverType, const std::string& sql, std::string* mainTable = nullptr);
  // Whether text compares case-sensitively on that server type (2, 3, 5 yes).
  static bool CaseSensitive(int serverType);
  // The dialect family: 2, 3, 5, or 0 for every other type.
  static int Family(int serverType);
};

}  // namespace dpx::host
