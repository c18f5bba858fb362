// User-defined tables (table OUTB, business object 153): the definitions of
// the user tables, matched in the target by name. The program's own tables
// and the other excluded tables are never listed, read or removed. Adding a
// table in the target makes its "@" table; removing it drops that table.
#pragma once

#include "categories/object_category.h"

class DPX_UserDefinedTablesManager : public DPX_ObjectCategory {
 public:
  DPX_UserDefinedTablesManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  // The tables the category lists, reads and removes.
  static std::string listSql();
  // The record list's type column: the table type's text (38 + type).
  static const DPX_ListText kTypeText;
};
