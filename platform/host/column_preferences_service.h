// The users' column-preferences service (business service 41 of the company
// service): per user (OUSR INTERNAL_K) and form, the width of each column of
// the form's items (table CPRF, one row per column). The preferences travel
// as "<ColumnsPreferences>" with one "<ColumnPreference>" entry per column,
// each naming its form in "<FormID>"; a user without preferences renders
// exactly "<ColumnsPreferences />". An update replaces the user's columns of
// the forms its text names and leaves the user's other forms as they are.
#pragma once

#include <memory>
#include <string>

#include "platform/host/host_object.h"
#include "platform/host/service_document.h"
#include "platform/host/service_object.h"

namespace dpx::host {

class Company;

class ColumnPreferencesService : public HostObject {
 public:
  static constexpr int kNumber = 41;
  static constexpr int kParams = 1;  // GetDataInterface kind

  explicit ColumnPreferencesService(std::shared_ptr<Company> company);

  // Empty parameters: FormID (text; empty: every form) and User (integer).
  std::shared_ptr<ServiceObject> GetDataInterface(int kind);
  // The user's preferences of the parameters' form. An unknown user raises.
  std::shared_ptr<ServiceDocument> GetColumnsPreferences(const std::shared_ptr<ServiceObject>& params);
  // Preferences from their XML; raises HostError(kHrInvalidXml) for XML that holds none.
  std::shared_ptr<ServiceDocument> GetPreferencesFromXML(const std::string& xml);
  // Stores the preferences for the parameters' user, form by form: 0. An
  // unknown user, or an entry without form, item or column, raises; nothing
  // is stored then.
  int UpdateColumnsPreferences(const std::shared_ptr<ServiceObject>& params,
                               const std::shared_ptr<ServiceDocument>& preferences);

  std::string typeName() const override { return "ColumnPreferencesService"; }

 private:
  int64_t requireUser(const std::shared_ptr<ServiceObject>& params, const char* operation);

  std::shared_ptr<Company> company_;
};

}  // namespace dpx::host
