// The company's own audit of its references: every value that the registry
// declares as naming a record of another table, and that names none. A
// careful host refuses such values on Add and Update, but plain SQL (the
// removal of a table category's rows, a script of an administrator) goes
// round those checks; this finds what it left behind.
#pragma once

#include <string>
#include <vector>

namespace dpx::host {

class CompanyStore;

struct DanglingReference {
  std::string table;             // the table holding the reference
  std::string column;            // its column
  std::string value;             // the value, which names no record
  std::string referencedTable;   // where it should name one
  std::string referencedColumn;
  std::string record;            // the key of the row holding it: "ItemCode 'A1'"

  // One line: "OITM.FirmCode '7' names no OMRC.FirmCode (record ItemCode 'A1')".
  std::string text() const;
  bool operator==(const DanglingReference&) const = default;
};

class ReferenceCheck {
 public:
  // Every dangling reference of the company, table by table in the
  // registry's order. An empty value (or -1) names nothing and is no
  // reference, unless the registry says the reference must be given.
  static std::vector<DanglingReference> Run(CompanyStore& store);
};

}  // namespace dpx::host
