// Finds the references of a company that name no record, from the
// references the registry declares on its object types.
#include "platform/host/reference_check.h"

#include <set>
#include <tuple>

#include "platform/host/company_store.h"
#include "platform/host/object_registry.h"

namespace dpx::host {

namespace {

// One declared reference as columns: a header property is a column of the
// main table, a line property a column of its line table.
struct ReferenceColumn {
  std::string table, column, toTable, toColumn;
  bool emptyAllowed = true;
  std::vector<std::string> keyColumns;  // what names the row holding it
};

std::vector<ReferenceColumn> DeclaredReferences() {
  std::vector<ReferenceColumn> out;
  std::set<std::tuple<std::string, std::string, std::string, std::string>> seen;
  auto add = [&](ReferenceColumn column) {
    if (column.column.empty()) return;
    if (!seen.insert({column.table, column.column, column.toTable, column.toColumn}).second) return;
    out.push_back(std::move(column));
  };
  for (const ObjectTypeDef& t : ObjectRegistry::Instance().types()) {
    for (const ReferenceDef& ref : t.references) {
      if (const PropertyDef* p = t.findProperty(ref.property)) {
        std::vector<std::string> keys;
        for (size_t i = 0; i < t.keyProperties.size(); ++i)
          if (!t.keyColumn(i).empty()) keys.push_back(t.keyColumn(i));
        add({t.mainTable, p->column, ref.table, ref.column, ref.emptyAllowed, keys});
        continue;
      }
      for (const LineDef& line : t.lines)
        for (const PropertyDef& p : line.properties) {
          if (p.property != ref.property) continue;
          std::vector<std::string> keys = line.parentColumns;
          if (!line.lineNumColumn.empty()) keys.push_back(line.lineNumColumn);
          add({line.table, p.column, ref.table, ref.column, ref.emptyAllowed, keys});
        }
    }
  }
  return out;
}

bool NamesNothing(const Variant& value) {
  if (value.isEmpty()) return true;
  const std::string text = value.toText();
  int64_t n;
  return text.empty() || (ParseInt64(text, n) && n == -1);
}

}  // namespace

std::string DanglingReference::text() const {
  return table + "." + column + " '" + value + "' names no " + referencedTable + "." + referencedColumn +
         " (record " + record + ")";
}

std::vector<DanglingReference> ReferenceCheck::Run(CompanyStore& store) {
  using Q = CompanyStore;
  std::vector<DanglingReference> found;
  for (const ReferenceColumn& ref : DeclaredReferences()) {
    if (!store.tableExists(ref.table) || !store.tableExists(ref.toTable)) continue;
    // The referenced row is looked for as the host's own check on Add looks
    // for it, so that the company's comparison rules hold for both.
    std::string select = "SELECT f." + Q::Quote(ref.column);
    for (const std::string& key : ref.keyColumns) select += ", f." + Q::Quote(key);
    if (ref.keyColumns.empty()) select += ", f.rowid";
    select += " FROM " + Q::Quote(ref.table) + " f WHERE NOT EXISTS (SELECT 1 FROM " + Q::Quote(ref.toTable) +
              " r WHERE r." + Q::Quote(ref.toColumn) + " = f." + Q::Quote(ref.column) + ") ORDER BY f.rowid";
    for (const auto& row : store.query(select).rows) {
      if (ref.emptyAllowed && NamesNothing(row[0])) continue;
      DanglingReference d{ref.table, ref.column, row[0].toText(), ref.toTable, ref.toColumn, ""};
      for (size_t i = 1; i < row.size(); ++i) {
        const std::string name = ref.keyColumns.empty() ? "rowid" : ref.keyColumns[i - 1];
        d.record += (i > 1 ? ", " : "") + name + " '" + row[i].toText() + "'";
      }
      found.push_back(std::move(d));
    }
  }
  return found;
}

}  // namespace dpx::host
