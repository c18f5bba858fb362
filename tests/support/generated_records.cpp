// Clones of demo rows under fresh keys, with hostile texts, same-name pairs,
// target-only records named by the target and parent chains.
#include "tests/support/generated_records.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/framework/variant.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/object_registry.h"

namespace dpx::test {

namespace {

using dpx::host::CompanyStore;
using dpx::host::ObjectRegistry;
using dpx::host::TableDef;
using Q = CompanyStore;

// A table the generator clones rows of, with what it needs to know.
struct Plan {
  const TableDef* table = nullptr;
  std::string key;                       // the one key column
  bool numericKey = false;
  std::vector<std::string> texts;        // free-text columns to rewrite
};

struct Row {
  std::vector<std::string> columns;
  std::vector<Variant> values;
  Variant& operator[](const std::string& column) {
    for (size_t i = 0; i < columns.size(); ++i)
      if (columns[i] == column) return values[i];
    static Variant none;
    return none;
  }
};

std::set<std::string> LineTables() {
  std::set<std::string> out;
  for (const auto& t : ObjectRegistry::Instance().types())
    for (const auto& line : t.lines) out.insert(line.table);
  return out;
}

// Tables whose Add does more than its row (a user table makes its @-table),
// or whose key the host numbers from a counter: plain SQL cannot make those
// records as the host would.
std::set<std::string> HostMadeTables() {
  std::set<std::string> out;
  for (const auto& t : ObjectRegistry::Instance().types())
    if (t.hooks.afterAdd || t.keyPolicy == dpx::host::KeyPolicy::ObjectCounter || t.type < 0) out.insert(t.mainTable);
  // The host's own numbering and settings rows.
  for (const char* table : {"ONNM", "HOST_SETTINGS", "NNM1"}) out.insert(table);
  return out;
}

std::vector<Plan> Plans() {
  const auto& registry = ObjectRegistry::Instance();
  const auto lines = LineTables();
  const auto hostMade = HostMadeTables();
  std::set<std::string> seen;
  std::vector<Plan> plans;
  for (const auto& demo : registry.demoRows()) {
    if (demo.singleRow || demo.base.empty() || demo.target.empty() || !seen.insert(demo.table).second) continue;
    const TableDef* table = registry.findTable(demo.table);
    if (!table || table->primaryKey.size() != 1 || lines.count(table->name) || hostMade.count(table->name) ||
        table->name[0] == '@')
      continue;
    Plan plan{table, table->primaryKey[0], false, {}};
    const auto* type = registry.findTypeByTable(table->name);
    for (const auto& column : table->columns) {
      if (column.name == plan.key) {
        plan.numericKey = column.type == dpx::host::db_Numeric;
        continue;
      }
      if (column.type != dpx::host::db_Alpha && column.type != dpx::host::db_Memo) continue;
      if (column.size != 0 && column.size < 10) continue;  // codes and flags, not texts
      if (type) {
        const auto* property = type->findByColumn(column.name);
        if (property && property->kind != dpx::host::PropKind::Text) continue;
        bool reference = false;
        for (const auto& ref : type->references)
          if (property && ref.property == property->property) reference = true;
        if (reference) continue;
      }
      if (!registry.referencesTo(table->name).empty()) {
        bool named = false;  // a column other tables name the rows by stays as it is
        for (const auto& in : registry.referencesTo(table->name))
          if (in.toColumn == column.name) named = true;
        if (named) continue;
      }
      plan.texts.push_back(column.name);
    }
    plans.push_back(std::move(plan));
  }
  return plans;
}

bool FirstRow(CompanyStore& store, const Plan& plan, Row& row) {
  auto result = store.query("SELECT * FROM " + Q::Quote(plan.table->name) + " ORDER BY rowid LIMIT 1");
  if (result.rows.empty()) return false;
  row.columns = result.columns;
  row.values = result.rows[0];
  return true;
}

void Insert(CompanyStore& store, const std::string& table, Row& row) {
  std::string names, marks;
  for (size_t i = 0; i < row.columns.size(); ++i) {
    names += (i ? ", " : "") + Q::Quote(row.columns[i]);
    marks += i ? ", ?" : "?";
  }
  store.exec("INSERT INTO " + Q::Quote(table) + " (" + names + ") VALUES (" + marks + ")", row.values);
}

void SetTexts(Row& row, const Plan& plan, const std::string& text) {
  for (const auto& column : plan.texts)
    if (!row[column].isEmpty()) row[column] = Variant(text + " " + column);
}

}  // namespace

std::vector<std::string> GeneratedRecords::Add(dpx::host::Company& baseCompany, dpx::host::Company& targetCompany) {
  CompanyStore& base = baseCompany.store();
  CompanyStore& target = targetCompany.store();
  const auto& registry = ObjectRegistry::Instance();
  std::vector<std::string> added;
  // The fresh keys of each table, in the order made: [0] hostile texts, [1]
  // the base's of the pair, [2] the target's of the pair, [3] target only,
  // [4] the base's first row.
  std::map<std::string, std::vector<Variant>> keys;
  int counter = 0;
  for (const Plan& plan : Plans()) {
    Row baseRow, targetRow;
    if (!FirstRow(base, plan, baseRow) || !FirstRow(target, plan, targetRow)) continue;
    int64_t next = 0;
    if (plan.numericKey)
      for (CompanyStore* store : {&base, &target}) {
        auto max = store->query("SELECT MAX(" + Q::Quote(plan.key) + ") FROM " + Q::Quote(plan.table->name));
        next = std::max<int64_t>(next, max.rows.empty() ? 0 : max.rows[0][0].toInt64());
      }
    auto fresh = [&] {
      ++counter;
      return plan.numericKey ? Variant(static_cast<int64_t>(++next)) : Variant("G" + std::to_string(counter) + "'&<");
    };
    auto& made = keys[plan.table->name];
    for (int i = 0; i < 4; ++i) made.push_back(fresh());
    made.push_back(baseRow[plan.key]);
    const std::string n = std::to_string(counter);

    Row hostile = baseRow;
    hostile[plan.key] = made[0];
    SetTexts(hostile, plan, "O'Hara & <Sons> " + n + "\r\nsecond line");
    Row pairBase = baseRow, pairTarget = targetRow, targetOnly = targetRow;
    pairBase[plan.key] = made[1];
    pairTarget[plan.key] = made[2];
    SetTexts(pairBase, plan, "Pair " + n + " 'a' & <b>");
    SetTexts(pairTarget, plan, "Pair " + n + " 'a' & <b>");
    targetOnly[plan.key] = made[3];
    SetTexts(targetOnly, plan, "Target only " + n + " & <'>");
    Insert(base, plan.table->name, hostile);
    Insert(base, plan.table->name, pairBase);
    Insert(target, plan.table->name, pairTarget);
    Insert(target, plan.table->name, targetOnly);
    for (const auto& [company, key] : std::vector<std::pair<const char*, Variant>>{
             {"base", made[0]}, {"base", made[1]}, {"target", made[2]}, {"target", made[3]}})
      added.push_back(plan.table->name + " key '" + key.toText() + "' in the " + company);
  }

  // References among the clones: the target's records name the target-only
  // record of the table they refer to; a table that names itself gets a
  // chain of two parents in each company.
  for (const auto& type : registry.types()) {
    auto from = keys.find(type.mainTable);
    if (from == keys.end()) continue;
    for (const auto& ref : type.references) {
      const auto* property = type.findProperty(ref.property);
      auto to = keys.find(ref.table);
      if (!property || property->column.empty() || to == keys.end()) continue;
      const TableDef* referenced = registry.findTable(ref.table);
      if (!referenced || referenced->primaryKey.size() != 1 || referenced->primaryKey[0] != ref.column) continue;
      const std::string update = "UPDATE " + Q::Quote(type.mainTable) + " SET " + Q::Quote(property->column) +
                                 " = ? WHERE " + Q::Quote(type.keyColumn(0)) + " = ?";
      if (ref.table == type.mainTable) {
        // hostile -> pair -> the base's own first record; target only -> pair.
        base.exec(update, {from->second[1], from->second[0]});
        base.exec(update, {from->second[4], from->second[1]});
        target.exec(update, {from->second[2], from->second[3]});
        continue;
      }
      target.exec(update, {to->second[3], from->second[2]});
      target.exec(update, {to->second[3], from->second[3]});
    }
  }
  return added;
}

}  // namespace dpx::test
