// Test support: records nobody picked by hand, added by plain SQL to a demo
// server's two companies, table by table from the registry. For every table
// of one key column that has demo rows (and whose records the host makes
// with no side effects), each company gets clones of its own first row under
// fresh keys:
//   - in the base, one whose texts carry ', & and < and a CR LF inside;
//   - a same-name pair: a base and a target record with the same texts
//     under different keys;
//   - in the target, a record the base does not have, which the target's
//     records of tables that refer to it name;
//   - where a table refers to itself, two-level parent chains in both.
// Every reference the clones hold names a row of their own company, so a
// company stays one that a careful host could hold.
#pragma once

#include <string>
#include <vector>

namespace dpx::host {
class Company;
}

namespace dpx::test {

class GeneratedRecords {
 public:
  // Adds the records; gives one line per record added ("OCRG key 'G3'&<' in the base").
  static std::vector<std::string> Add(dpx::host::Company& base, dpx::host::Company& target);
};

}  // namespace dpx::test
