// The excluded user tables.
#include "categories/customization/user_table_exclusions.h"

#include "engine/util.h"

const std::vector<std::string>& DPX_UserTableExclusions::ownTables() {
  // The settings and notes tables, the program's user-table version table,
  // and the framework's version table of earlier installations.
  static const std::vector<std::string> names = {"DPXNOTE", "DPXSETT", "DPXUDTV", "ZKEXTDBVERSION"};
  return names;
}

const std::vector<std::string>& DPX_UserTableExclusions::addOnTables() {
  static const std::vector<std::string> names;
  return names;
}

const std::vector<std::string>& DPX_UserTableExclusions::addOnPrefixes() {
  static const std::vector<std::string> prefixes;
  return prefixes;
}

std::string DPX_UserTableExclusions::conditions(const std::string& column, const std::string& prefix) {
  std::string sql;
  for (const auto* names : {&ownTables(), &addOnTables()})
    for (const std::string& name : *names) sql += " AND " + column + " <> '" + DPX_Util::EscapeSqlText(prefix + name) + "'";
  for (const std::string& start : addOnPrefixes())
    sql += " AND " + column + " NOT LIKE '" + DPX_Util::EscapeSqlText(prefix + start) + "%'";
  return sql;
}

bool DPX_UserTableExclusions::excluded(const std::string& tableName) {
  for (const auto* names : {&ownTables(), &addOnTables()})
    for (const std::string& name : *names)
      if (tableName == name) return true;
  for (const std::string& start : addOnPrefixes())
    if (tableName.compare(0, start.size(), start) == 0) return true;
  return false;
}
