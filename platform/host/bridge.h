// The bridge object (object type 305): table field lists and user permissions.
#pragma once

#include <memory>
#include <string>

#include "platform/host/host_object.h"

namespace dpx::host {

class Company;
class Recordset;

class Bridge : public HostObject {
 public:
  explicit Bridge(std::shared_ptr<Company> company);

  // The field list of a table (user fields and "@" tables included) as a
  // recordset, one row per field: 0 name, 1 table, 2 host type code
  // (0 alpha, 1 memo, 2 numeric, 3 date, 4 float), 3 size, 4 position,
  // 5 user-field flag ('Y'/'N'), 6 description. An unknown table raises.
  std::shared_ptr<Recordset> GetTableFieldList(const std::string& table);
  // The permission value of a user: a recordset whose field 0 of row 0 is
  // the value. An id without stored value reads as 0. An unknown user raises.
  std::shared_ptr<Recordset> GetUserPermission(const std::string& userCode, const std::string& permissionId);
  // Sets a permission value; 0 when done. An unknown user raises.
  int UpdateUserPermission(const std::string& userCode, const std::string& permissionId, int value);

  // By name: GetTableFieldList(table), GetUserPermission(user, id),
  // UpdateUserPermission(user, id, value). Recordsets come through getObject
  // after a call ("LastResult").
  HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) override;
  HRESULT getObject(const std::string& name, std::shared_ptr<HostObject>& out) override;
  bool hasMember(const std::string& name) const override;
  std::string typeName() const override { return "Bridge"; }

 private:
  std::shared_ptr<Company> company_;
  std::shared_ptr<Recordset> last_;
};

}  // namespace dpx::host
