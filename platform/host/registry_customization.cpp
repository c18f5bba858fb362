// Registry: formatted searches (CSHS, type 219), user-defined object
// registrations (OUDO, type 206, with their child-table, find-column and
// form-column lines), departments (OUDP) and branches (OUBR), and additional
// authorizations (OUPT, type 214), which users refer to.
#include "platform/host/object_registry.h"

#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"

namespace dpx::host {

namespace {

// Child tables are numbered from 1 in the order of their lines.
int NumberChildTables(CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& header,
                      std::string&) {
  auto code = header.find("Code");
  if (code != header.end())
    store.exec("UPDATE UDO1 SET SonNumber = LineId + 1 WHERE Code = ?", {code->second});
  return 0;
}

PropertyDef ReadOnly(const char* property, const char* column, PropKind kind = PropKind::Text) {
  PropertyDef p = Prop(property, column, kind);
  p.readOnly = true;
  return p;
}

void RegisterSearches(ObjectRegistry& r) {
  using K = PropKind;
  r.addTable({"CSHS",
              {Col("IndexID", db_Numeric, "Index"), Col("FormID", db_Alpha, "Form", 20),
               Col("ItemID", db_Alpha, "Item", 50), Col("ColID", db_Alpha, "Column", 50),
               Col("QueryId", db_Numeric, "Query"), Col("FieldID", db_Alpha, "Field", 50),
               Col("Refresh", db_Alpha, "Auto Refresh", 1)},
              {"IndexID"}});
  ObjectTypeDef searches;
  searches.type = 219;
  searches.name = "Formatted Search";
  searches.mainTable = "CSHS";
  searches.headerElement = "FormattedSearches";
  searches.keyProperties = {"Index"};
  searches.keyPolicy = KeyPolicy::NextNumber;
  searches.properties = {Prop("Index", "IndexID", K::Int), Prop("FormID", "FormID"), Prop("ItemID", "ItemID"),
                         Prop("ColumnID", "ColID"),        Prop("QueryID", "QueryId", K::Int),
                         Prop("FieldID", "FieldID"),
                         PropertyDef{"Refresh", "Refresh", K::YesNo, false, false, "N"}};
  searches.uniqueProperties = {{"FormID", "ItemID", "ColumnID"}};
  searches.references = {{"QueryID", "OUQR", "IntrnalKey", true}};
  r.addType(std::move(searches));

  // Searches on user-defined items (U_) and on numbered items in both
  // companies; "Sales by month" is query 6 in the base and 4 in the target.
  r.addDemoRows({"CSHS",
                 {"IndexID", "FormID", "ItemID", "ColID", "QueryId", "FieldID"},
                 {{"1", "134", "U_Color", "-1", "6", "U_Color"},
                  {"2", "139", "38", "1", "1", "ItemCode"},
                  {"3", "150", "U_Seats", "-1", "3", "U_Seats"},
                  {"4", "9999", "77", "-1", "2", "Unknown"}},
                 {{"1", "139", "38", "1", "1", "ItemCode"}, {"2", "134", "U_Region", "-1", "2", "U_Region"}}});
}

void RegisterRegistrations(ObjectRegistry& r) {
  using K = PropKind;
  TableDef oudo{"OUDO",
                {Col("Code", db_Alpha, "Code", 20), Col("Name", db_Alpha, "Name", 100), Col("TYPE", db_Alpha, "Type", 1),
                 Col("TableName", db_Alpha, "Table Name", 20), Col("LogTable", db_Alpha, "Log Table Name", 20),
                 Col("ExtName", db_Alpha, "Extension Name", 254)},
                {"Code"}};
  ObjectTypeDef udo;
  udo.type = 206;
  udo.name = "User Object";
  udo.mainTable = "OUDO";
  udo.headerElement = "UserObjectsMD";
  udo.keyProperties = {"Code"};
  udo.updateByKey = true;
  udo.properties = {Prop("Code", "Code"), Prop("Name", "Name"), Prop("ObjectType", "TYPE", K::Int),
                    Prop("TableName", "TableName"), Prop("LogTableName", "LogTable"),
                    Prop("ExtensionName", "ExtName")};
  // One integer column per flag of the registration document.
  for (const char* flag : {"CanCancel", "CanClose", "CanCreateDefaultForm", "CanDelete", "CanFind", "CanLog",
                           "CanYearTransfer", "ManageSeries", "OverwriteDllfile"}) {
    oudo.columns.push_back(Col(flag, db_Numeric, flag));
    udo.properties.push_back(Prop(flag, flag, K::Int));
  }
  LineDef children{"UDO1", "ChildTables", {"Code"}, "LineId",
                   {ReadOnly("Code", "Code"), Prop("TableName", "TableName"), Prop("LogTableName", "LogName"),
                    ReadOnly("SonNumber", "SonNumber", K::Int)}};
  LineDef find{"UDO2", "FindColumns", {"Code"}, "LineId",
               {ReadOnly("Code", "Code"), Prop("ColumnAlias", "ColAlias"), Prop("ColumnDescription", "ColDesc")}};
  LineDef form{"UDO3", "FormColumns", {"Code"}, "LineId",
               {ReadOnly("Code", "Code"), Prop("FormColumnAlias", "ColAlias"),
                Prop("FormColumnDescription", "ColDesc"), Prop("SonNumber", "SonNumber", K::Int)}};
  udo.lines = {children, find, form};
  udo.hooks.afterAdd = NumberChildTables;
  udo.hooks.afterUpdate = NumberChildTables;
  r.addTable(std::move(oudo));
  for (const LineDef& line : udo.lines) {
    TableDef table{line.table, {Col("Code", db_Alpha, "Code", 20), Col("LineId", db_Numeric, "Line")}, {"Code", "LineId"}};
    table.columns[0].notNull = true;
    table.columns[1].notNull = true;
    for (const PropertyDef& p : line.properties)
      if (p.column != "Code")
        table.columns.push_back(Col(p.column.c_str(), p.kind == K::Int ? db_Numeric : db_Alpha, p.property.c_str()));
    r.addTable(std::move(table));
  }
  r.addType(std::move(udo));

  r.addDemoRows({"OUDO",
                 {"Code", "Name", "TYPE", "TableName", "LogTable", "ExtName", "CanCancel", "CanClose", "CanFind",
                  "CanCreateDefaultForm", "CanDelete", "CanLog", "CanYearTransfer", "ManageSeries",
                  "OverwriteDllfile"},
                 {{"FLEET", "Fleet & <Cars>", "1", "CARS", "", "", "0", "0", "1", "1", "1", "0", "0", "0", "0"},
                  {"TRIPS", "Trips", "3", "TRIPS", "TRIPSLOG", "", "1", "1", "1", "0", "1", "1", "0", "1", "0"},
                  {"OWNER'S", "Owner's register", "2", "OWNREG", "", "ext.dll", "0", "0", "0", "0", "0", "0", "0",
                   "0", "1"}},
                 {{"TRIPS", "Trips (old)", "3", "TRIPS", "", "", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
                  {"TGTONLY", "Target only", "1", "TGTONLY", "", "", "0", "0", "0", "0", "0", "0", "0", "0", "0"}}});
  r.addDemoRows({"UDO1",
                 {"Code", "LineId", "TableName", "LogName", "SonNumber"},
                 {{"FLEET", "0", "CARLINES", "", "1"}, {"FLEET", "1", "CARNOTES", "CARNOTESLOG", "2"}},
                 {}});
  r.addDemoRows({"UDO2",
                 {"Code", "LineId", "ColAlias", "ColDesc"},
                 {{"FLEET", "0", "Code", "Code"}, {"FLEET", "1", "U_Color", "Color & <shade>"}},
                 {}});
  r.addDemoRows({"UDO3",
                 {"Code", "LineId", "ColAlias", "ColDesc", "SonNumber"},
                 {{"FLEET", "0", "Code", "Code", "0"}, {"FLEET", "1", "U_Seats", "Seats", "1"}},
                 {}});
}

void RegisterDepartmentsAndBranches(ObjectRegistry& r) {
  for (const char* table : {"OUDP", "OUBR"}) {
    TableDef def{table, {Col("Code", db_Numeric, "Code"), Col("Name", db_Alpha, "Name", 20),
                         Col("Remarks", db_Alpha, "Description", 100)},
                 {"Code"}};
    def.columns[0].notNull = true;
    r.addTable(std::move(def));
  }
  // "Sales" and "Head office" are in both under other codes; "Field & <Service>"
  // and "O'Brien's" only in the base; "Target only" only in the target.
  r.addDemoRows({"OUDP",
                 {"Code", "Name", "Remarks"},
                 {{"1", "General", ""}, {"2", "Sales", ""}, {"3", "Field & <Service>", ""}},
                 {{"1", "Target only", ""}, {"4", "Sales", ""}, {"7", "General", ""}}});
  r.addDemoRows({"OUBR",
                 {"Code", "Name", "Remarks"},
                 {{"1", "Main", ""}, {"2", "O'Brien's", ""}, {"3", "Head office", ""}},
                 {{"1", "Main", ""}, {"5", "Head office", ""}, {"6", "Target only", ""}}});
  r.addDemoRows({"ONNM", {"ObjectCode", "AutoKey", "DfltSeries"}, {{"118", "4", "0"}, {"119", "4", "0"}},
                 {{"118", "7", "0"}, {"119", "8", "0"}}});

  // Users may name a department and a branch.
  r.extendReferences(12, {{"Department", "OUDP", "Code", true}, {"Branch", "OUBR", "Code", true}});
  // A superuser is never removed: the company would be left without one who may administer it.
  r.hooksOf(12).beforeRemove = [](CompanyStore& store, const ObjectTypeDef&, const std::map<std::string, Variant>& h,
                                  std::string& error) {
    auto key = h.find("InternalKey");
    if (key == h.end()) return 0;
    auto row = store.query("SELECT USER_CODE FROM OUSR WHERE INTERNAL_K = ? AND SUPERUSER = 'Y'", {key->second});
    if (row.rows.empty()) return 0;
    error = "The superuser '" + row.rows[0][0].toText() + "' cannot be removed";
    return kErrInvalidValue;
  };
}

void RegisterAdditionalAuthorizations(ObjectRegistry& r) {
  using K = PropKind;
  r.addTable({"OUPT",
              {Col("AbsId", db_Numeric, "Permission ID"), Col("Name", db_Alpha, "Name", 100),
               Col("Levels", db_Numeric, "Level"), Col("IsItem", db_Alpha, "Is Item", 1),
               Col("VisOrder", db_Numeric, "Order"), Col("Father", db_Numeric, "Parent")},
              {"AbsId"}});
  ObjectTypeDef permissions;
  permissions.type = 214;
  permissions.name = "User Permission";
  permissions.mainTable = "OUPT";
  permissions.headerElement = "UserPermissionTree";
  permissions.keyProperties = {"PermissionID"};
  permissions.properties = {Prop("PermissionID", "AbsId", K::Int), Prop("Name", "Name"),
                            Prop("Levels", "Levels", K::Int),
                            PropertyDef{"IsItem", "IsItem", K::YesNo, false, false, "N"},
                            Prop("VisOrder", "VisOrder", K::Int), Prop("ParentID", "Father", K::Int)};
  r.addType(std::move(permissions));
  r.addDemoRows({"OUPT",
                 {"AbsId", "Name", "Levels", "IsItem", "VisOrder", "Father"},
                 {{"1", "Own reports", "1", "N", "1", kNull},
                  {"2", "Fleet & <cars>", "2", "N", "2", "1"},
                  {"3", "Driver's log", "3", "Y", "3", "2"}},
                 {{"1", "Own reports (old)", "1", "N", "1", kNull}, {"9", "Target only", "1", "N", "2", kNull}}});
}

}  // namespace

void RegisterCustomization(ObjectRegistry& r) {
  RegisterSearches(r);
  RegisterRegistrations(r);
  RegisterDepartmentsAndBranches(r);
  RegisterAdditionalAuthorizations(r);
}

}  // namespace dpx::host
