// User menus over CUMI. Statements bind every value.
#include "platform/host/user_menu_service.h"

#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/record_xml.h"
#include "platform/host/service_document.h"

namespace dpx::host {

namespace {

const std::vector<ServiceProperty>& ParamsProperties() {
  static const std::vector<ServiceProperty> properties = {{"UserId", PropKind::Int, false}};
  return properties;
}

}  // namespace

std::string UserMenu::GetAsXML() const {
  std::string xml = std::string(RecordXml::kDeclaration) + "<" + kRoot + ">";
  for (const std::string& entry : entries_) xml += entry;
  return xml + "</" + kRoot + ">";
}

void UserMenu::Remove(int index) {
  if (index < 0 || index >= Count())
    throw HostError(E_INVALIDARG, typeName(), "No menu entry " + std::to_string(index));
  entries_.erase(entries_.begin() + index);
}

int UserMenu::Add() {
  entries_.emplace_back();
  return Count() - 1;
}

void UserMenu::SetEntryFromXML(int index, const std::string& xml) {
  if (index < 0 || index >= Count())
    throw HostError(E_INVALIDARG, typeName(), "No menu entry " + std::to_string(index));
  std::string root;
  RootContent(xml, root);
  std::string entry = xml;
  if (entry.rfind("<?", 0) == 0) entry.erase(0, entry.find("?>") + 2);
  entries_[static_cast<size_t>(index)] = entry;
}

HRESULT UserMenu::get(const std::string& name, Variant& out) {
  out = Variant();
  if (name == "Count") out = Variant(static_cast<int32_t>(Count()));
  else if (name == "XML") out = Variant(GetAsXML());
  else return DISP_E_MEMBERNOTFOUND;
  return S_OK;
}

UserMenuService::UserMenuService(std::shared_ptr<Company> company) : company_(std::move(company)) {}

std::shared_ptr<ServiceObject> UserMenuService::GetDataInterface(int kind) {
  company_->RequireConnected("GetDataInterface");
  if (kind != kParams) throw HostError(E_INVALIDARG, typeName(), "Unknown data interface " + std::to_string(kind));
  return std::make_shared<ServiceObject>(company_, "UserMenuParams", ParamsProperties());
}

int64_t UserMenuService::requireUser(const std::shared_ptr<ServiceObject>& params, const char* operation) {
  company_->RequireConnected(operation);
  if (!params || params->kind() != "UserMenuParams")
    throw HostError(E_INVALIDARG, typeName(), "The call needs user-menu parameters");
  const int64_t user = params->value("UserId").toInt64();
  RequireUserKey(*company_, user, typeName());
  return user;
}

std::shared_ptr<UserMenu> UserMenuService::GetUserMenu(const std::shared_ptr<ServiceObject>& params) {
  const int64_t user = requireUser(params, "GetUserMenu");
  std::vector<std::string> entries;
  for (auto& row : company_->store().query("SELECT Entry FROM CUMI WHERE UserSign = ? ORDER BY Position", {Variant(user)}).rows)
    entries.push_back(row[0].toText());
  return std::make_shared<UserMenu>(std::move(entries));
}

int UserMenuService::StoreUserMenu(const std::shared_ptr<ServiceObject>& params, const std::shared_ptr<UserMenu>& menu) {
  const int64_t user = requireUser(params, "StoreUserMenu");
  if (!menu) throw HostError(E_INVALIDARG, typeName(), "No menu to store");
  int code;
  std::string text;
  if (company_->TakeFault("StoreUserMenu", code, text)) {
    company_->SetLastError(code, text);
    throw HostError(kHrInjected, typeName(), text);
  }
  for (const std::string& entry : menu->entries())
    if (entry.empty()) throw HostError(E_INVALIDARG, typeName(), "A menu entry was added but never set");
  CompanyStore& store = company_->store();
  CompanyStore::Savepoint savepoint(store);
  store.exec("DELETE FROM CUMI WHERE UserSign = ?", {Variant(user)});
  int64_t position = 0;
  for (const std::string& entry : menu->entries())
    store.exec("INSERT INTO CUMI (UserSign, Position, Entry) VALUES (?, ?, ?)",
               {Variant(user), Variant(position++), Variant(entry)});
  savepoint.commit();
  return 0;
}

}  // namespace dpx::host
