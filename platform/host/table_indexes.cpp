// The secondary indexes of a company's tables, derived from the registry.
#include "platform/host/table_indexes.h"

#include <algorithm>
#include <set>

#include "platform/framework/host_error.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/text.h"
#include "platform/host/company_store.h"

namespace dpx::host {

namespace {

using Columns = std::vector<std::string>;

bool Contains(const Columns& list, const std::string& column) {
  return std::any_of(list.begin(), list.end(), [&](const std::string& c) { return EqualsIgnoreCase(c, column); });
}

// Whether an index on `have` serves equality lookups on `want`: the columns of
// `want` are the leading columns of `have`, in any order.
bool Covers(const Columns& have, const Columns& want) {
  if (want.size() > have.size()) return false;
  Columns lead(have.begin(), have.begin() + static_cast<std::ptrdiff_t>(want.size()));
  return std::all_of(want.begin(), want.end(), [&](const std::string& c) { return Contains(lead, c); });
}

// The table's spelling of `column`, or "" when the table has no such column.
std::string ColumnOf(const TableDef& table, const std::string& column) {
  for (const ColumnDef& c : table.columns)
    if (EqualsIgnoreCase(c.name, column)) return c.name;
  return "";
}

// Columns of the given properties of a type ("" for one without a column).
Columns PropertyColumns(const ObjectTypeDef& type, const std::vector<std::string>& properties) {
  Columns out;
  for (const std::string& p : properties) {
    const PropertyDef* def = type.findProperty(p);
    out.push_back(def ? def->column : "");
  }
  return out;
}

// The column a record of the table is found by when not by its key: the
// first text column outside the key. Only keyed tables have one.
std::string NameColumn(const TableDef& table, const ObjectRegistry& registry) {
  if (table.primaryKey.empty()) return "";
  Columns keys = table.primaryKey;
  for (const ObjectTypeDef& t : registry.types())
    if (t.type > 0 && EqualsIgnoreCase(t.mainTable, table.name))
      for (const std::string& c : PropertyColumns(t, t.keyProperties)) keys.push_back(c);
  for (const ColumnDef& c : table.columns)
    if (c.type == db_Alpha && !Contains(keys, c.name)) return c.name;
  return "";
}

std::string IndexName(const std::string& table, const Columns& columns) {
  std::string name = "ix_" + table;
  for (const std::string& c : columns) name += "_" + c;
  return name;
}

}  // namespace

std::string TableIndexes::Index::createSql() const {
  std::string sql = "CREATE INDEX IF NOT EXISTS " + CompanyStore::Quote(name) + " ON " + CompanyStore::Quote(table) + " (";
  for (size_t i = 0; i < columns.size(); ++i) sql += (i ? ", " : "") + CompanyStore::Quote(columns[i]);
  return sql + ")";
}

std::vector<TableIndexes::Index> TableIndexes::Of(const TableDef& table) {
  const ObjectRegistry& registry = ObjectRegistry::Instance();
  const std::string name = NameColumn(table, registry);

  // The wanted column lists, most specific first so that shorter ones can
  // ride on them.
  std::vector<Columns> wanted;
  for (const ObjectTypeDef& t : registry.types()) {
    if (EqualsIgnoreCase(t.mainTable, table.name)) {
      wanted.push_back(PropertyColumns(t, t.keyProperties));
      for (const auto& set : t.uniqueProperties) {
        Columns cols = PropertyColumns(t, set);
        auto at = std::find_if(cols.begin(), cols.end(), [&](const std::string& c) { return EqualsIgnoreCase(c, name); });
        if (at != cols.end()) std::rotate(cols.begin(), at, at + 1);
        wanted.push_back(std::move(cols));
      }
      Columns within = PropertyColumns(t, t.numberWithin);
      if (!within.empty()) {
        const std::string numbered = t.numberedProperty.empty() && !t.keyProperties.empty() ? t.keyProperties[0]
                                                                                          : t.numberedProperty;
        within.push_back(PropertyColumns(t, {numbered})[0]);
        wanted.push_back(std::move(within));
      }
    }
    for (const LineDef& line : t.lines)
      if (EqualsIgnoreCase(line.table, table.name)) wanted.push_back(line.parentColumns);
  }
  if (!name.empty()) wanted.push_back({name});
  // Columns that refer to another table (the "still referenced" count of a
  // Remove), and the columns referred to (the existence check of an Add).
  for (const TableDef& other : registry.tables())
    for (const ObjectRegistry::Inbound& in : registry.referencesTo(other.name)) {
      if (EqualsIgnoreCase(in.fromTable, table.name)) wanted.push_back({in.fromColumn});
      if (EqualsIgnoreCase(other.name, table.name)) wanted.push_back({in.toColumn});
    }

  std::vector<Index> out;
  std::vector<Columns> existing;
  if (!table.primaryKey.empty()) existing.push_back(table.primaryKey);
  for (const Columns& want : wanted) {
    Columns cols;
    for (const std::string& c : want) {
      std::string real = ColumnOf(table, c);
      if (real.empty() || Contains(cols, real)) {
        cols.clear();
        break;
      }
      cols.push_back(real);
    }
    if (cols.empty()) continue;
    if (std::any_of(existing.begin(), existing.end(), [&](const Columns& have) { return Covers(have, cols); })) continue;
    existing.push_back(cols);
    out.push_back(Index{IndexName(table.name, cols), table.name, cols});
  }
  return out;
}

void TableIndexes::Create(CompanyStore& store, const TableDef& table) {
  for (const Index& index : Of(table)) store.execScript(index.createSql());
}

void TableIndexes::Ensure(CompanyStore& store) {
  // The plan of the registered tables is the same for every company.
  static const std::vector<Index> plan = [] {
    std::vector<Index> all;
    for (const TableDef& t : ObjectRegistry::Instance().tables())
      for (Index& index : Of(t)) all.push_back(std::move(index));
    return all;
  }();
  DPX_LogScope scope("TableIndexes::Ensure");
  try {
    std::set<std::string> tables, indexes;
    std::vector<std::string> userTables;
    for (const auto& row : store.query("SELECT type, name FROM sqlite_master WHERE type IN ('table', 'index')").rows) {
      const std::string name = row[1].toText();
      (row[0].toText() == "table" ? tables : indexes).insert(ToLowerAscii(name));
      if (row[0].toText() == "table" && name.rfind('@', 0) == 0 && !ObjectRegistry::Instance().findTable(name))
        userTables.push_back(name);
    }
    std::vector<const Index*> missing;
    for (const Index& index : plan)
      if (tables.count(ToLowerAscii(index.table)) && !indexes.count(ToLowerAscii(index.name))) missing.push_back(&index);
    // The user tables the program or the user made: keyed by Code, found by
    // Name. Their columns are read only when an index is missing.
    std::vector<Index> user;
    for (const std::string& name : userTables) {
      if (indexes.count(ToLowerAscii(IndexName(name, {"Name"})))) continue;
      TableDef def{name, store.columnsOf(name), {}};
      if (ColumnOf(def, "Code").empty()) continue;
      def.primaryKey = {ColumnOf(def, "Code")};
      for (Index& index : Of(def))
        if (!indexes.count(ToLowerAscii(index.name))) user.push_back(std::move(index));
    }
    for (const Index& index : user) missing.push_back(&index);
    if (missing.empty()) return;
    const bool own = !store.inTransaction();
    if (own) store.begin();
    try {
      for (const Index* index : missing) store.execScript(index->createSql());
      if (own) store.commit();
    } catch (...) {
      if (own) store.rollback();
      throw;
    }
  } catch (const HostError& e) {
    scope.LogError("Indexes of company database %s not created; lookups scan their tables: %s", store.file().string(),
                   e.description());
  }
}

}  // namespace dpx::host
