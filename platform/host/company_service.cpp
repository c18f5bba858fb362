// The company service: single-row administration records and settings.
#include "platform/host/company_service.h"

#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"

namespace dpx::host {

namespace {
std::shared_ptr<BusinessObject> SingleRow(const std::shared_ptr<Company>& company, int type) {
  company->RequireConnected("GetCompanyService");
  const ObjectTypeDef* def = ObjectRegistry::Instance().findType(type);
  if (!def) throw HostError(kHrUnknownObject, "CompanyService", "Unknown service object");
  auto object = std::make_shared<BusinessObject>(company, *def);
  if (!object->GetByKey({}))
    throw HostError(E_FAIL, "CompanyService", "The company has no " + def->name + " record");
  return object;
}
}  // namespace

CompanyService::CompanyService(std::shared_ptr<Company> company) : company_(company), periods_(std::move(company)) {}

std::shared_ptr<BusinessObject> CompanyService::GetAdminInfo() {
  adminInfo_ = SingleRow(company_, kTypeAdminInfo);
  // The account flag is the company settings' one; the administration info shows it too.
  Variant flag;
  SingleRow(company_, kTypeCompanySettings)->GetProperty("EnableAccountSegmentation", flag);
  adminInfo_->SetHostValue("EnableAccountSegmentation", flag);
  return adminInfo_;
}

std::shared_ptr<BusinessObject> CompanyService::GetCompanyInfo() {
  return companyInfo_ = SingleRow(company_, kTypeCompanyInfo);
}

std::shared_ptr<BusinessObject> CompanyService::GetCompanySettings() { return SingleRow(company_, kTypeCompanySettings); }

namespace {
int UpdateSingle(Company& company, const std::shared_ptr<BusinessObject>& object, int type, const char* operation) {
  company.RequireConnected(operation);
  int code;
  std::string text;
  if (company.TakeFault(operation, code, text)) {
    company.SetLastError(code, text);
    throw HostError(kHrInjected, "CompanyService", text);
  }
  if (!object || object->ObjectType() != type) throw HostError(E_INVALIDARG, "CompanyService", std::string(operation) + ": wrong object");
  return object->Update();
}
}  // namespace

int CompanyService::UpdateAdminInfo(const std::shared_ptr<BusinessObject>& adminInfo) {
  return UpdateSingle(*company_, adminInfo, kTypeAdminInfo, "UpdateAdminInfo");
}

int CompanyService::UpdateCompanyInfo(const std::shared_ptr<BusinessObject>& companyInfo) {
  return UpdateSingle(*company_, companyInfo, kTypeCompanyInfo, "UpdateCompanyInfo");
}

std::vector<SettingsEntry> CompanyService::GetSettingsEntries() {
  company_->RequireConnected("GetSettingsEntries");
  std::vector<SettingsEntry> out;
  auto r = company_->store().query("SELECT Code, Status FROM HOST_SETTINGS ORDER BY CAST(Code AS INTEGER), Code");
  for (auto& row : r.rows) out.push_back({row[0].toText(), row[1].toInt32()});
  return out;
}

std::shared_ptr<HostObject> CompanyService::GetBusinessService(int number) {
  company_->RequireConnected("GetBusinessService");
  if (number == SeriesService::kNumber) return GetSeriesService();
  if (number == ColumnPreferencesService::kNumber) return GetColumnPreferencesService();
  if (number == ReportLayoutService::kNumber) return GetReportLayoutService();
  if (number == UserMenuService::kNumber) return GetUserMenuService();
  return nullptr;
}

std::shared_ptr<ColumnPreferencesService> CompanyService::GetColumnPreferencesService() {
  company_->RequireConnected("GetBusinessService");
  return std::make_shared<ColumnPreferencesService>(company_);
}

std::shared_ptr<ReportLayoutService> CompanyService::GetReportLayoutService() {
  company_->RequireConnected("GetBusinessService");
  return std::make_shared<ReportLayoutService>(company_);
}

std::shared_ptr<UserMenuService> CompanyService::GetUserMenuService() {
  company_->RequireConnected("GetBusinessService");
  return std::make_shared<UserMenuService>(company_);
}

std::shared_ptr<SeriesService> CompanyService::GetSeriesService() {
  company_->RequireConnected("GetBusinessService");
  return std::make_shared<SeriesService>(company_);
}

HRESULT CompanyService::invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) {
  out = Variant();
  try {
    if (name == "UpdateAdminInfo") out = Variant(UpdateAdminInfo(adminInfo_));
    else if (name == "UpdateCompanyInfo") out = Variant(UpdateCompanyInfo(companyInfo_));
    else if (name == "SettingsEntryCount") out = Variant(static_cast<int32_t>(GetSettingsEntries().size()));
    else if (name == "SettingsEntryCode" || name == "SettingsEntryStatus") {
      auto entries = GetSettingsEntries();
      if (args.size() != 1) return E_INVALIDARG;
      int i = args[0].toInt32();
      if (i < 0 || i >= static_cast<int>(entries.size())) return E_INVALIDARG;
      const SettingsEntry& e = entries[static_cast<size_t>(i)];
      if (name == "SettingsEntryCode") out = Variant(e.code);
      else out = Variant(e.status);
    } else {
      return DISP_E_MEMBERNOTFOUND;
    }
  } catch (const HostError& e) {
    return e.code();
  }
  return S_OK;
}

HRESULT CompanyService::getObject(const std::string& name, std::shared_ptr<HostObject>& out) {
  out.reset();
  try {
    if (name == "GetAdminInfo" || name == "AdminInfo") out = GetAdminInfo();
    else if (name == "GetCompanyInfo" || name == "CompanyInfo") out = GetCompanyInfo();
    else if (name == "GetCompanySettings" || name == "CompanySettings") out = GetCompanySettings();
    else return HostObject::getObject(name, out);
  } catch (const HostError& e) {
    return e.code();
  }
  return S_OK;
}

bool CompanyService::hasMember(const std::string& name) const {
  static const char* names[] = {"GetAdminInfo", "AdminInfo", "GetCompanyInfo", "CompanyInfo", "GetCompanySettings",
                                "CompanySettings", "UpdateAdminInfo", "UpdateCompanyInfo", "SettingsEntryCount",
                                "SettingsEntryCode", "SettingsEntryStatus"};
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

}  // namespace dpx::host
