// Registry: keys of user-defined tables (OUKD, type 10151) with their elements
// (UKD1). Adding a key makes its index over the elements' "U_" columns,
// unique when the key says so; a table whose rows break the uniqueness
// refuses it. Removing the key drops the index.
#include "platform/host/object_registry.h"

#include "platform/framework/text.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"

namespace dpx::host {

namespace {

std::string Text(const std::map<std::string, Variant>& h, const char* name) {
  auto it = h.find(name);
  return it == h.end() ? std::string() : it->second.toText();
}

std::string IndexName(const std::map<std::string, Variant>& h) {
  return "uk_" + Text(h, "TableName") + "_" + Text(h, "KeyName");
}

int AddUserKey(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& h, std::string& error) {
  const std::string table = Text(h, "TableName");
  const std::string name = Text(h, "KeyName");
  if (name.empty()) {
    error = "A user key needs a name";
    return kErrInvalidValue;
  }
  if (table.empty() || !store.tableExists(table)) {
    error = "Table '" + table + "' does not exist; cannot add key '" + name + "'";
    return kErrMissingReference;
  }
  const auto elements = store.query("SELECT ColAlias FROM UKD1 WHERE TableName = ? AND KeyId = ? ORDER BY LineNum",
                                    {Variant(table), h.at("KeyIndex")});
  if (elements.rows.empty()) {
    error = "The key '" + name + "' of table '" + table + "' has no element";
    return kErrInvalidValue;
  }
  const std::vector<ColumnDef> columns = store.columnsOf(table);
  std::string list;
  for (const auto& row : elements.rows) {
    const std::string column = "U_" + row[0].toText();
    const ColumnDef* found = nullptr;
    for (const ColumnDef& c : columns)
      if (EqualsIgnoreCase(c.name, column)) found = &c;
    if (!found) {
      error = "Table '" + table + "' has no field '" + column + "' for its key '" + name + "'";
      return kErrMissingReference;
    }
    list += (list.empty() ? "" : ", ") + CompanyStore::Quote(found->name);
  }
  // The property holds 1 for yes (the column 'Y').
  auto flag = h.find("Unique");
  const bool unique = flag != h.end() && (flag->second.toText() == "Y" || flag->second.toText() == "1");
  store.execScript(std::string(unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                   CompanyStore::Quote(IndexName(h)) + " ON " + CompanyStore::Quote(table) + " (" + list + ")");
  return 0;
}

int RemoveUserKey(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& h, std::string&) {
  store.execScript("DROP INDEX IF EXISTS " + CompanyStore::Quote(IndexName(h)));
  return 0;
}

}  // namespace

void RegisterUserKeys(ObjectRegistry& r) {
  using K = PropKind;
  r.addTable({"OUKD",
              {Col("TableName", db_Alpha, "Table Name", 20), Col("KeyId", db_Numeric, "Key Number"),
               Col("KeyName", db_Alpha, "Key Name", 50), Col("UniqueKey", db_Alpha, "Unique", 1)},
              {"TableName", "KeyId"}});
  r.addTable({"UKD1",
              {Col("TableName", db_Alpha, "Table Name", 20), Col("KeyId", db_Numeric, "Key Number"),
               Col("LineNum", db_Numeric, "Line Number"), Col("ColAlias", db_Alpha, "Field Name", 18)},
              {"TableName", "KeyId", "LineNum"}});
  ObjectTypeDef keys;
  keys.type = 10151;
  keys.name = "User Key";
  keys.mainTable = "OUKD";
  keys.headerElement = "UserKeysMD";
  keys.keyProperties = {"TableName", "KeyIndex"};
  keys.keyPolicy = KeyPolicy::NextNumber;
  keys.numberedProperty = "KeyIndex";
  keys.numberWithin = {"TableName"};
  keys.properties = {Prop("TableName", "TableName"), Prop("KeyIndex", "KeyId", K::Int), Prop("KeyName", "KeyName"),
                     PropertyDef{"Unique", "UniqueKey", K::YesNo, false, false, "N"}};
  keys.uniqueProperties = {{"TableName", "KeyName"}};
  keys.lines = {LineDef{"UKD1", "UserKeysMD_Elements", {"TableName", "KeyId"}, "LineNum", {Prop("ColumnAlias", "ColAlias")}}};
  keys.hooks.afterAdd = AddUserKey;
  keys.hooks.beforeRemove = RemoveUserKey;
  r.addType(std::move(keys));
}

}  // namespace dpx::host
