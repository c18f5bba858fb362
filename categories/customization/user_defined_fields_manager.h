// User-defined fields (table CUFD, business object 152): a field is found in
// the target by its table and name, whatever its field number there. Fields
// of the excluded tables, of tables whose name begins with "A" and the
// host's system fields are never listed, read or removed. Adding a field in
// the target adds its "U_" column; removing it drops the column.
#pragma once

#include "categories/object_category.h"

class DPX_UserDefinedFieldsManager : public DPX_ObjectCategory {
 public:
  DPX_UserDefinedFieldsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  static std::string listSql();
};
