// The user tables that the customization categories never list, read,
// compare or remove: the program's own tables, the version table of its
// user-table set-up, and the tables of other add-ons (exact names and name
// prefixes; none by default). One list, rendered into the conditions that
// the user-table, user-field and table-contents statements append.
#pragma once

#include <string>
#include <vector>

class DPX_UserTableExclusions {
 public:
  // Names as OUTB holds them (without "@").
  static const std::vector<std::string>& ownTables();
  static const std::vector<std::string>& addOnTables();
  static const std::vector<std::string>& addOnPrefixes();

  // " AND <column> <> 'NAME' ..." for every own table and add-on table, and
  // " AND <column> NOT LIKE 'PREFIX%'" for every add-on prefix; prefix goes
  // in front of each name ("@" where the column holds "@" names). Every
  // condition brings its own " AND ", so an empty list adds nothing.
  static std::string conditions(const std::string& column, const std::string& prefix);

  // Whether a name (as OUTB holds it) is excluded.
  static bool excluded(const std::string& tableName);
};
