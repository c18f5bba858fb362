// The secondary indexes of a company's tables. Every Add checks the key and
// each unique property set, every Remove counts the rows that still refer to
// the record, and a copy looks up each record of the base in the target by its
// name: without indexes each of these scans the table, and copying n records
// costs n^2. The indexes follow from the registry, so a new object type gets
// them without a line of its own:
//   - the key columns of each object type over the table,
//   - each unique property set, its name column first, so that the same index
//     serves a lookup by the name alone,
//   - the table's name column: its first text column outside the key (the
//     name or description a record is found by),
//   - columns that refer to another table, and the referenced columns,
//   - the header-key columns of line tables, and the columns within which
//     the host numbers keys.
// A column list whose columns lead the primary key or an earlier index is left
// out. Indexes carry no COLLATE of their own: they take the column's, which is
// the one an "=" on the column uses (NOCASE on the case-insensitive server
// types, binary on the others), so the lookups of every dialect can use them.
// None is UNIQUE: the host's refusals stay its own, with their texts, and a
// company made before keeps opening whatever rows it holds.
#pragma once

#include <string>
#include <vector>

#include "platform/host/object_registry.h"

namespace dpx::host {

class CompanyStore;

class TableIndexes {
 public:
  struct Index {
    std::string name;                  // "ix_OUQR_QName_QCategory"
    std::string table;
    std::vector<std::string> columns;  // as the table names them
    std::string createSql() const;     // CREATE INDEX IF NOT EXISTS ...
  };

  // The indexes `table` carries besides its primary key.
  static std::vector<Index> Of(const TableDef& table);
  // Creates them; runs right after the table is created. Raises HostError.
  static void Create(CompanyStore& store, const TableDef& table);
  // For a company made before the host created indexes: creates those of the
  // registered tables that are missing, in one transaction. Costs one look at
  // the schema when nothing is missing. A failure (another connection holding
  // the database) is logged and leaves the company usable, only slower.
  static void Ensure(CompanyStore& store);
};

}  // namespace dpx::host
