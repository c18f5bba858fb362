// Column preferences over CPRF. Statements bind every value.
#include "platform/host/column_preferences_service.h"

#include <set>

#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/record_xml.h"

namespace dpx::host {

namespace {

constexpr const char* kRoot = "ColumnsPreferences";
constexpr const char* kEntry = "ColumnPreference";

const std::vector<ServiceProperty>& ParamsProperties() {
  static const std::vector<ServiceProperty> properties = {{"FormID", PropKind::Text, false},
                                                          {"User", PropKind::Int, false}};
  return properties;
}

}  // namespace

ColumnPreferencesService::ColumnPreferencesService(std::shared_ptr<Company> company) : company_(std::move(company)) {}

std::shared_ptr<ServiceObject> ColumnPreferencesService::GetDataInterface(int kind) {
  company_->RequireConnected("GetDataInterface");
  if (kind != kParams) throw HostError(E_INVALIDARG, typeName(), "Unknown data interface " + std::to_string(kind));
  return std::make_shared<ServiceObject>(company_, "ColumnsPreferencesParams", ParamsProperties());
}

int64_t ColumnPreferencesService::requireUser(const std::shared_ptr<ServiceObject>& params, const char* operation) {
  company_->RequireConnected(operation);
  if (!params || params->kind() != "ColumnsPreferencesParams")
    throw HostError(E_INVALIDARG, typeName(), "The call needs column-preferences parameters");
  const int64_t user = params->value("User").toInt64();
  RequireUserKey(*company_, user, typeName());
  return user;
}

std::shared_ptr<ServiceDocument> ColumnPreferencesService::GetColumnsPreferences(
    const std::shared_ptr<ServiceObject>& params) {
  const int64_t user = requireUser(params, "GetColumnsPreferences");
  const std::string form = params->value("FormID").toText();
  auto rows = company_->store().query(
      "SELECT FormID, ItemID, ColID, Width FROM CPRF WHERE UserSign = ? AND (? = '' OR FormID = ?) "
      "ORDER BY FormID, ItemID, ColID",
      {Variant(user), Variant(form), Variant(form)});
  std::string xml = RecordXml::kDeclaration;
  if (rows.rows.empty()) return std::make_shared<ServiceDocument>("ColumnsPreferences", xml + "<" + kRoot + " />");
  xml += std::string("<") + kRoot + ">";
  for (auto& row : rows.rows)
    xml += std::string("<") + kEntry + "><FormID>" + RecordXml::Escape(row[0].toText()) + "</FormID><ItemID>" +
           RecordXml::Escape(row[1].toText()) + "</ItemID><ColID>" + RecordXml::Escape(row[2].toText()) +
           "</ColID><Width>" + row[3].toText() + "</Width></" + kEntry + ">";
  return std::make_shared<ServiceDocument>("ColumnsPreferences", xml + "</" + kRoot + ">");
}

std::shared_ptr<ServiceDocument> ColumnPreferencesService::GetPreferencesFromXML(const std::string& xml) {
  company_->RequireConnected("GetPreferencesFromXML");
  auto doc = RecordXml::Parse(xml);
  if (doc->name != kRoot) throw HostError(kHrInvalidXml, typeName(), "The XML holds no column preferences");
  return std::make_shared<ServiceDocument>("ColumnsPreferences", xml);
}

int ColumnPreferencesService::UpdateColumnsPreferences(const std::shared_ptr<ServiceObject>& params,
                                                       const std::shared_ptr<ServiceDocument>& preferences) {
  const int64_t user = requireUser(params, "UpdateColumnsPreferences");
  int code;
  std::string text;
  if (company_->TakeFault("UpdateColumnsPreferences", code, text)) {
    company_->SetLastError(code, text);
    throw HostError(kHrInjected, typeName(), text);
  }
  if (!preferences) throw HostError(E_INVALIDARG, typeName(), "No preferences to store");
  auto doc = RecordXml::Parse(preferences->GetAsXML());
  struct Entry {
    std::string form, item, column;
    int64_t width;
  };
  std::vector<Entry> entries;
  std::set<std::string> forms;
  for (const auto& node : doc->children) {
    if (node->name != kEntry) continue;
    auto text = [&](const char* name) {
      const XmlNode* child = node->child(name);
      return child ? child->text : std::string();
    };
    Entry e{text("FormID"), text("ItemID"), text("ColID"), 0};
    ParseInt64(text("Width"), e.width);
    if (e.form.empty() || e.item.empty() || e.column.empty())
      throw HostError(kHrInvalidXml, typeName(), "A column preference needs a form, an item and a column");
    forms.insert(e.form);
    entries.push_back(std::move(e));
  }
  CompanyStore& store = company_->store();
  CompanyStore::Savepoint savepoint(store);
  for (const std::string& form : forms)
    store.exec("DELETE FROM CPRF WHERE UserSign = ? AND FormID = ?", {Variant(user), Variant(form)});
  for (const Entry& e : entries)
    store.exec("INSERT OR REPLACE INTO CPRF (FormID, UserSign, ItemID, ColID, Width) VALUES (?, ?, ?, ?, ?)",
               {Variant(e.form), Variant(user), Variant(e.item), Variant(e.column), Variant(e.width)});
  savepoint.commit();
  return 0;
}

}  // namespace dpx::host
