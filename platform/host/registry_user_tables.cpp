// Registry: user-defined tables (OUTB, type 153) and fields (CUFD, type 152).
// Adding a user table makes its "@" table with Code and Name; adding a user
// field adds its "U_" column to the table; removing them drops what they made.
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

bool ValidName(const std::string& s, size_t max) {
  if (s.empty() || s.size() > max) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

int AddUserTable(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& h, std::string& error) {
  std::string name = Text(h, "TableName");
  if (!ValidName(name, 19)) {
    error = "Invalid user table name '" + name + "'";
    return kErrInvalidValue;
  }
  std::string table = "@" + name;
  if (store.tableExists(table)) {
    error = "Table '" + table + "' already exists";
    return kErrDuplicateKey;
  }
  TableDef def{table, {Col("Code", db_Alpha, "Code", 50), Col("Name", db_Alpha, "Name", 100)}, {"Code"}};
  def.columns[0].notNull = true;
  store.createTable(def);
  return 0;
}

int RemoveUserTable(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& h, std::string&) {
  std::string table = std::string("@").append(Text(h, "TableName"));
  store.exec("DELETE FROM CUFD WHERE TableID = ?", {Variant(table)});
  if (store.tableExists(table)) store.dropTable(table);
  return 0;
}

ColumnDef FieldColumn(const std::map<std::string, Variant>& h) {
  ColumnDef c;
  c.name = "U_" + Text(h, "Name");
  auto t = h.find("Type");
  c.type = t == h.end() ? db_Alpha : static_cast<int>(t->second.toInt64());
  auto s = h.find("EditSize");
  c.size = s == h.end() ? 0 : static_cast<int>(s->second.toInt64());
  c.description = Text(h, "Description");
  return c;
}

int AddUserField(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& h, std::string& error) {
  std::string table = Text(h, "TableName");
  std::string name = Text(h, "Name");
  if (!ValidName(name, 18)) {
    error = "Invalid user field name '" + name + "'";
    return kErrInvalidValue;
  }
  auto t = h.find("Type");
  int64_t type = t == h.end() ? 0 : t->second.toInt64();
  if (type < 0 || type > 4) {
    error = "Invalid user field type " + std::to_string(type);
    return kErrInvalidValue;
  }
  if (table.empty() || !store.tableExists(table)) {
    error = "Table '" + table + "' does not exist; cannot add field '" + name + "'";
    return kErrMissingReference;
  }
  // Column names never differ by case alone, whatever the server type.
  for (const ColumnDef& c : store.columnsOf(table))
    if (EqualsIgnoreCase(c.name, "U_" + name)) {
      error = "Field 'U_" + name + "' already exists in table '" + table + "'";
      return kErrDuplicateKey;
    }
  store.addColumn(table, FieldColumn(h));
  return 0;
}

int RemoveUserField(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& h, std::string&) {
  std::string table = Text(h, "TableName");
  std::string column = "U_" + Text(h, "Name");
  if (!store.tableExists(table)) return 0;
  for (const ColumnDef& c : store.columnsOf(table))
    if (EqualsIgnoreCase(c.name, column)) store.dropColumn(table, c.name);
  return 0;
}

}  // namespace

void RegisterUserTables(ObjectRegistry& r) {
  using K = PropKind;
  r.addTable({"OUTB",
              {Col("TableName", db_Alpha, "Table Name", 19), Col("Descr", db_Alpha, "Description", 30),
               Col("ObjectType", db_Alpha, "Object Type", 1), Col("Archivable", db_Alpha, "Archivable", 1)},
              {"TableName"}});
  ObjectTypeDef tables;
  tables.type = 153;
  tables.name = "User Table";
  tables.mainTable = "OUTB";
  tables.headerElement = "UserTablesMD";
  tables.keyProperties = {"TableName"};
  tables.properties = {Prop("TableName", "TableName"), Prop("TableDescription", "Descr"),
                       Prop("TableType", "ObjectType", K::Int), Prop("Archivable", "Archivable", K::YesNo)};
  tables.hooks.afterAdd = AddUserTable;
  tables.hooks.beforeRemove = RemoveUserTable;
  r.addType(std::move(tables));

  r.addTable({"CUFD",
              {Col("TableID", db_Alpha, "Table", 20), Col("FieldID", db_Numeric, "Field Number"),
               Col("AliasID", db_Alpha, "Field Name", 18), Col("Descr", db_Alpha, "Description", 80),
               Col("TypeID", db_Alpha, "Type", 1), Col("EditType", db_Alpha, "Sub Type", 1),
               Col("EditSize", db_Numeric, "Size"), Col("Dflt", db_Alpha, "Default Value", 254),
               Col("NotNull", db_Alpha, "Mandatory", 1), Col("SYS", db_Alpha, "System Field", 1)},
              {"TableID", "FieldID"}});
  ObjectTypeDef fields;
  fields.type = 152;
  fields.name = "User Field";
  fields.mainTable = "CUFD";
  fields.headerElement = "UserFieldsMD";
  fields.keyProperties = {"TableName", "FieldID"};
  fields.keyPolicy = KeyPolicy::NextNumber;
  fields.numberedProperty = "FieldID";
  fields.numberWithin = {"TableName"};
  fields.properties = {Prop("TableName", "TableID"),     Prop("FieldID", "FieldID", K::Int),
                       Prop("Name", "AliasID"),          Prop("Description", "Descr"),
                       Prop("Type", "TypeID", K::TypeLetter), Prop("SubType", "EditType"),
                       Prop("EditSize", "EditSize", K::Int), Prop("DefaultValue", "Dflt"),
                       PropertyDef{"Mandatory", "NotNull", K::YesNo, false, false, "N"}, PropertyDef{"SystemField", "SYS", K::YesNo, false, false, "N"}};
  fields.uniqueProperties = {{"TableName", "Name"}};
  fields.hooks.afterAdd = AddUserField;
  fields.hooks.beforeRemove = RemoveUserField;
  r.addType(std::move(fields));
}

}  // namespace dpx::host
