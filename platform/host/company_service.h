// The company service: the administration-info and company-information
// objects (single-row records, read and written property by property and
// stored by their updates), the settings entries, the company settings object
// that tells whether account references travel by format code, and the
// numbered business services that categories register.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host/business_object.h"
#include "platform/host/column_preferences_service.h"
#include "platform/host/host_object.h"
#include "platform/host/posting_periods.h"
#include "platform/host/report_layout_service.h"
#include "platform/host/series_service.h"
#include "platform/host/user_menu_service.h"

namespace dpx::host {

class Company;

struct SettingsEntry {
  std::string code;   // a number as text
  int status = 0;
};

class CompanyService : public HostObject {
 public:
  explicit CompanyService(std::shared_ptr<Company> company);

  // A fresh copy of the administration info (table OADM). Properties by name.
  std::shared_ptr<BusinessObject> GetAdminInfo();
  // Stores every property of the object; 0, or a kErr* code with last error.
  int UpdateAdminInfo(const std::shared_ptr<BusinessObject>& adminInfo);
  // The company information (table CINF), likewise.
  std::shared_ptr<BusinessObject> GetCompanyInfo();
  int UpdateCompanyInfo(const std::shared_ptr<BusinessObject>& companyInfo);
  // The settings entries (code, status), in code order.
  std::vector<SettingsEntry> GetSettingsEntries();
  // The company settings object; its integer property
  // "EnableAccountSegmentation" is non-zero when account references travel
  // by format code.
  std::shared_ptr<BusinessObject> GetCompanySettings();
  // A numbered business service (35 the numbering series, 41 the users'
  // column preferences, 232 the report layouts, 2002 the user menus); null
  // for a number the host does not offer.
  std::shared_ptr<HostObject> GetBusinessService(int number);
  std::shared_ptr<SeriesService> GetSeriesService();
  std::shared_ptr<ColumnPreferencesService> GetColumnPreferencesService();
  std::shared_ptr<ReportLayoutService> GetReportLayoutService();
  std::shared_ptr<UserMenuService> GetUserMenuService();

  // The posting-period operations (see PostingPeriods).
  std::shared_ptr<ServiceList> GetPeriodCategoryList() { return periods_.GetPeriodCategoryList(); }
  std::shared_ptr<ServiceObject> GetPeriodCategory(const std::shared_ptr<ServiceObject>& item) {
    return periods_.GetPeriodCategory(item);
  }
  int UpdatePeriodCategory(const std::shared_ptr<ServiceObject>& category) {
    return periods_.UpdatePeriodCategory(category);
  }
  std::shared_ptr<ServiceList> GetPeriodsList(const std::shared_ptr<ServiceObject>& item) {
    return periods_.GetPeriodsList(item);
  }
  std::shared_ptr<ServiceObject> NewPeriodCategory(int kind) { return periods_.NewPeriodCategory(kind); }
  std::shared_ptr<ServiceObject> CreatePeriodCategory(const std::shared_ptr<ServiceObject>& category) {
    return periods_.CreatePeriodCategory(category);
  }
  std::shared_ptr<ServiceObject> PeriodFromXml(const std::string& xml) { return periods_.PeriodFromXml(xml); }
  int UpdatePeriod(const std::shared_ptr<ServiceObject>& period) { return periods_.UpdatePeriod(period); }

  // By name: GetAdminInfo/GetCompanyInfo/GetCompanySettings (objects, through
  // getObject), UpdateAdminInfo/UpdateCompanyInfo (apply the last object got),
  // SettingsEntryCount, SettingsEntryCode(i), SettingsEntryStatus(i).
  HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) override;
  HRESULT getObject(const std::string& name, std::shared_ptr<HostObject>& out) override;
  bool hasMember(const std::string& name) const override;
  std::string typeName() const override { return "CompanyService"; }

 private:
  std::shared_ptr<Company> company_;
  std::shared_ptr<BusinessObject> adminInfo_, companyInfo_;
  PostingPeriods periods_;
};

}  // namespace dpx::host
