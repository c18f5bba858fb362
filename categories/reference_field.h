// A field of a record that names a row of another table (a group, a price
// list, an account): read from the base with a dependency record that names
// the row by its shown columns, and written into the target with the
// target's key of the row that has the same shown values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/di_interface.h"

class DPX_ConnectionContext;
class DPX_OperationArgs;

// When a reference field travels as a dependency record.
enum class DPX_ReferenceCondition : uint8_t {
  kAlways,    // read from the base and translated into the target's key
  kHostFlag,  // an account: read under the base's account flag, translated under the target's
  kReadOnly,  // read under the base's account flag, written as it stands
};

// A field that names a row of another table: the row is found in the target
// by its shown columns and the field takes the target's key.
struct DPX_ReferenceField {
  std::string field;                      // element in the record XML
  std::string enclosing;                  // sub-record holding the field; empty: the record itself
  std::string table;                      // referenced table
  std::string keyColumn;                  // its key column
  std::vector<std::string> shownColumns;  // the columns that name the row in any company
  int32_t valueKind = 2;                  // host field type of the key: 2 number, 0 text
  DPX_ReferenceCondition condition = DPX_ReferenceCondition::kAlways;

  // What the field's dependency records may name in the target.
  DPX_DeclaredReferences declared() const { return {{table, keyColumn, shownColumns}}; }
};

// An account field: OACT by AcctCode, named by FormatCode, under the host flag.
DPX_ReferenceField DPX_AccountReference(const std::string& field, const std::string& enclosing = "");
// An account field read by its format code or by its name, as the base's
// account flag chose: what its dependency records may name.
DPX_DeclaredReferences DPX_AccountByCodeOrName();

namespace dpx::categories {

// Dependency records of the reference fields, in their order; the account
// fields only under the base's account flag.
void ResolveReferences(DPX_DIInterface& manager, DPX_ConnectionContext* context, DPX_OperationArgs& block,
                       const std::vector<DPX_ReferenceField>& references);
// The target's keys of the referenced rows; the account fields only under
// the target's account flag (without it they are left to the target's default).
void MapReferencesToTarget(DPX_DIInterface& manager, DPX_ConnectionContext* context, DPX_OperationArgs& block,
                           const std::vector<DPX_ReferenceField>& references);

}  // namespace dpx::categories
