// The bridge: table field lists and user permissions.
#include "platform/host/bridge.h"

#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/recordset.h"

namespace dpx::host {

Bridge::Bridge(std::shared_ptr<Company> company) : company_(std::move(company)) {}

std::shared_ptr<Recordset> Bridge::GetTableFieldList(const std::string& table) {
  company_->RequireConnected("GetTableFieldList");
  CompanyStore& store = company_->store();
  std::string name = table;
  if (!name.empty() && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
  if (!store.tableExists(name)) {
    // A user table may be asked for with or without its "@".
    if (name.empty() || name[0] == '@' || !store.tableExists("@" + name))
      throw HostError(kHrUnknownObject, "Bridge", "Table '" + table + "' does not exist");
    name = "@" + name;
  }
  const TableDef* def = ObjectRegistry::Instance().findTable(name);
  QueryResult r;
  r.columns = {"Name", "TableName", "Type", "Size", "Position", "UserField", "Description"};
  r.types = {db_Alpha, db_Alpha, db_Numeric, db_Numeric, db_Numeric, db_Alpha, db_Alpha};
  int pos = 0;
  for (const ColumnDef& c : store.columnsOf(name)) {
    ColumnDef info = c;
    bool user = c.name.rfind("U_", 0) == 0;
    if (user) {
      auto f = store.query("SELECT Descr, EditSize FROM CUFD WHERE TableID = ? AND AliasID = ?",
                           {Variant(name), Variant(c.name.substr(2))});
      if (!f.rows.empty()) {
        info.description = f.rows[0][0].toText();
        info.size = f.rows[0][1].toInt32();
      }
    } else if (def) {
      for (const ColumnDef& d : def->columns)
        if (d.name == c.name) info = d;
    } else if (name[0] == '@') {
      info.description = c.name;
      info.size = c.name == "Code" ? 50 : 100;
    }
    if (info.description.empty()) info.description = c.name;
    r.rows.push_back({Variant(c.name), Variant(name), Variant(c.type), Variant(info.size), Variant(pos++),
                      Variant(user ? "Y" : "N"), Variant(info.description)});
  }
  auto rs = std::make_shared<Recordset>(company_);
  rs->SetResult(std::move(r), "FieldList");
  return rs;
}

namespace {
void RequireUser(Company& company, const std::string& userCode) {
  if (!company.store().query("SELECT 1 FROM OUSR WHERE USER_CODE = ?", {Variant(userCode)}).rows.empty()) return;
  const std::string text = "User '" + userCode + "' does not exist";
  company.SetLastError(kErrRecordNotFound, text);
  throw HostError(kHrUnknownObject, "Bridge", text);
}
}  // namespace

std::shared_ptr<Recordset> Bridge::GetUserPermission(const std::string& userCode, const std::string& permissionId) {
  company_->RequireConnected("GetUserPermission");
  CompanyStore& store = company_->store();
  RequireUser(*company_, userCode);
  auto r = store.query("SELECT Value FROM HOST_USERPERM WHERE UserCode = ? AND PermId = ?",
                       {Variant(userCode), Variant(permissionId)});
  if (r.rows.empty()) r.rows.push_back({Variant(0)});
  auto rs = std::make_shared<Recordset>(company_);
  rs->SetResult(std::move(r), "Permission");
  return rs;
}

int Bridge::UpdateUserPermission(const std::string& userCode, const std::string& permissionId, int value) {
  company_->RequireConnected("UpdateUserPermission");
  CompanyStore& store = company_->store();
  RequireUser(*company_, userCode);
  int code;
  std::string text;
  if (company_->TakeFault("UpdateUserPermission", code, text)) {
    company_->SetLastError(code, text);
    throw HostError(kHrInjected, "Bridge", text);
  }
  store.exec("INSERT OR REPLACE INTO HOST_USERPERM (UserCode, PermId, Value) VALUES (?, ?, ?)",
             {Variant(userCode), Variant(permissionId), Variant(value)});
  return 0;
}

HRESULT Bridge::invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) {
  out = Variant();
  try {
    if (name == "GetTableFieldList" && args.size() == 1) {
      last_ = GetTableFieldList(args[0].toText());
    } else if (name == "GetUserPermission" && args.size() == 2) {
      last_ = GetUserPermission(args[0].toText(), args[1].toText());
    } else if (name == "UpdateUserPermission" && args.size() == 3) {
      out = Variant(UpdateUserPermission(args[0].toText(), args[1].toText(), args[2].toInt32()));
    } else {
      return hasMember(name) ? E_INVALIDARG : DISP_E_MEMBERNOTFOUND;
    }
  } catch (const HostError& e) {
    return e.code();
  }
  return S_OK;
}

HRESULT Bridge::getObject(const std::string& name, std::shared_ptr<HostObject>& out) {
  if (name != "LastResult") return HostObject::getObject(name, out);
  out = last_;
  return last_ ? S_OK : E_POINTER;
}

bool Bridge::hasMember(const std::string& name) const {
  return name == "GetTableFieldList" || name == "GetUserPermission" || name == "UpdateUserPermission" ||
         name == "LastResult";
}

}  // namespace dpx::host
