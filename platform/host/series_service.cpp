// The numbering-series service over NNM1. Statements bind every value.
#include "platform/host/series_service.h"

#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"

namespace dpx::host {

namespace {

using K = PropKind;

// Property, column. The number is the host's: put and ReadXml leave it.
struct SeriesColumn {
  ServiceProperty property;
  const char* column;
};

const std::vector<SeriesColumn>& Columns() {
  static const std::vector<SeriesColumn> columns = {
      {{"Document", K::Text, false}, "ObjectCode"},     {{"DocumentSubType", K::Text, false}, "DocumentSubType"},
      {{"Series", K::Int, true}, "Series"},             {{"Name", K::Text, false}, "SeriesName"},
      {{"InitialNumber", K::Int, false}, "InitialNum"}, {{"NextNumber", K::Int, false}, "NextNumber"},
      {{"LastNumber", K::Int, false}, "LastNum"},       {{"Prefix", K::Text, false}, "Prefix"},
      {{"Suffix", K::Text, false}, "Suffix"},           {{"Remarks", K::Text, false}, "Remarks"},
      {{"GroupCode", K::Int, false}, "GroupCode"},      {{"Locked", K::Text, false}, "Locked"},
      {{"PeriodIndicator", K::Text, false}, "Indicator"},
  };
  return columns;
}

const std::vector<ServiceProperty>& ParamsProperties() {
  static const std::vector<ServiceProperty> properties = {{"Series", K::Int, false}};
  return properties;
}

std::string SelectList() {
  std::string s;
  for (const SeriesColumn& c : Columns()) s += (s.empty() ? "" : ", ") + CompanyStore::Quote(c.column);
  return s;
}

bool Empty(const Variant& v) { return v.isEmpty() || (v.type() == VarType::Text && v.toText().empty()); }

}  // namespace

const std::vector<ServiceProperty>& SeriesService::SeriesProperties() {
  static const std::vector<ServiceProperty> properties = [] {
    std::vector<ServiceProperty> out;
    for (const SeriesColumn& c : Columns()) out.push_back(c.property);
    return out;
  }();
  return properties;
}

SeriesService::SeriesService(std::shared_ptr<Company> company) : company_(std::move(company)) {}

std::shared_ptr<ServiceObject> SeriesService::GetDataInterface(int kind) {
  company_->RequireConnected("GetDataInterface");
  if (kind == kSeries) return std::make_shared<ServiceObject>(company_, "Series", SeriesProperties());
  if (kind == kSeriesParams) return std::make_shared<ServiceObject>(company_, "SeriesParams", ParamsProperties());
  throw HostError(E_INVALIDARG, typeName(), "Unknown data interface " + std::to_string(kind));
}

std::shared_ptr<ServiceObject> SeriesService::GetSeries(const std::shared_ptr<ServiceObject>& params) {
  company_->RequireConnected("GetSeries");
  if (!params || params->kind() != "SeriesParams") throw HostError(E_INVALIDARG, typeName(), "GetSeries needs series parameters");
  const Variant number = params->value("Series");
  auto rows = company_->store().query("SELECT " + SelectList() + " FROM NNM1 WHERE Series = ?", {Variant(number.toInt64())});
  if (Empty(number) || rows.rows.empty()) {
    const std::string text = "No matching records found: series " + number.toText();
    company_->SetLastError(kErrRecordNotFound, text);
    throw HostError(E_FAIL, typeName(), text);
  }
  auto series = GetDataInterface(kSeries);
  for (size_t i = 0; i < Columns().size(); ++i) series->setValue(Columns()[i].property.name, rows.rows[0][i]);
  return series;
}

int SeriesService::check(const ServiceObject& series, int number, std::string& error) {
  CompanyStore& store = company_->store();
  const std::string document = series.value("Document").toText();
  int64_t code;
  if (!ParseInt64(document, code) || code <= 0) {
    error = "The series names no document: '" + document + "'";
    return kErrInvalidValue;
  }
  const std::string name = series.value("Name").toText();
  if (name.empty()) {
    error = "The series has no name";
    return kErrInvalidValue;
  }
  if (!store.query("SELECT 1 FROM NNM1 WHERE ObjectCode = ? AND SeriesName = ? AND Series <> ?",
                   {Variant(document), Variant(name), Variant(int64_t{number})})
           .rows.empty()) {
    error = "Document " + document + " already has a series named '" + name + "'";
    return kErrDuplicateKey;
  }
  const std::string indicator = series.value("PeriodIndicator").toText();
  if (store.query("SELECT 1 FROM OPID WHERE Indicator = ?", {Variant(indicator.empty() ? "Default" : indicator)})
          .rows.empty()) {
    error = "Period indicator '" + indicator + "' does not exist";
    return kErrMissingReference;
  }
  const int64_t first = series.value("InitialNumber").toInt64();
  const Variant nextValue = series.value("NextNumber");
  const int64_t next = Empty(nextValue) ? first : nextValue.toInt64();
  const int64_t last = series.value("LastNumber").toInt64();
  if (first < 0 || next < first || (last > 0 && last < next - 1)) {
    error = "The numbers of series '" + name + "' are out of order (first " + std::to_string(first) + ", next " +
            std::to_string(next) + ", last " + std::to_string(last) + ")";
    return kErrInvalidValue;
  }
  return 0;
}

std::shared_ptr<ServiceObject> SeriesService::AddSeries(const std::shared_ptr<ServiceObject>& series) {
  company_->RequireConnected("AddSeries");
  int code;
  std::string text;
  if (company_->TakeFault("AddSeries", code, text)) {
    company_->SetLastError(code, text);
    throw HostError(kHrInjected, typeName(), text);
  }
  if (!series || series->kind() != "Series") throw HostError(E_INVALIDARG, typeName(), "AddSeries needs a series");
  CompanyStore& store = company_->store();
  CompanyStore::Savepoint savepoint(store);
  const int number = static_cast<int>(store.query("SELECT IFNULL(MAX(Series), 0) + 1 FROM NNM1").rows.at(0).at(0).toInt64());
  code = check(*series, number, text);
  if (code != 0) {
    company_->SetLastError(code, text);
    throw HostError(E_FAIL, typeName(), text);
  }
  std::string columns, marks;
  std::vector<Variant> values;
  for (const SeriesColumn& c : Columns()) {
    columns += (columns.empty() ? "" : ", ") + CompanyStore::Quote(c.column);
    marks += values.empty() ? "?" : ", ?";
    Variant v = series->value(c.property.name);
    const std::string p = c.property.name;
    if (p == "Series") v = Variant(int32_t{number});
    else if (p == "NextNumber" && Empty(v)) v = series->value("InitialNumber");
    else if (p == "PeriodIndicator" && Empty(v)) v = Variant("Default");
    else if (p == "Locked" && Empty(v)) v = Variant("N");
    else if (p == "GroupCode" && Empty(v)) v = Variant(int32_t{1});
    values.push_back(v);
  }
  store.exec("INSERT INTO NNM1 (" + columns + ") VALUES (" + marks + ")", values);
  savepoint.commit();
  company_->SetLastError(0, "");
  auto params = GetDataInterface(kSeriesParams);
  params->setValue("Series", Variant(int32_t{number}));
  return params;
}

int SeriesService::UpdateSeries(const std::shared_ptr<ServiceObject>& series) {
  company_->RequireConnected("UpdateSeries");
  int code;
  std::string text;
  if (company_->TakeFault("UpdateSeries", code, text)) {
    company_->SetLastError(code, text);
    return code;
  }
  if (!series || series->kind() != "Series") throw HostError(E_INVALIDARG, typeName(), "UpdateSeries needs a series");
  CompanyStore& store = company_->store();
  const int number = static_cast<int>(series->value("Series").toInt64());
  auto stored = store.query("SELECT ObjectCode FROM NNM1 WHERE Series = ?", {Variant(int64_t{number})});
  if (stored.rows.empty()) {
    company_->SetLastError(kErrRecordNotFound, "Series " + std::to_string(number) + " does not exist");
    return kErrRecordNotFound;
  }
  if (stored.rows[0][0].toText() != series->value("Document").toText()) {
    company_->SetLastError(kErrInvalidValue, "Series " + std::to_string(number) + " belongs to document " +
                                                 stored.rows[0][0].toText() + " and cannot move to another");
    return kErrInvalidValue;
  }
  code = check(*series, number, text);
  if (code != 0) {
    company_->SetLastError(code, text);
    return code;
  }
  std::string sets;
  std::vector<Variant> values;
  for (const SeriesColumn& c : Columns()) {
    if (c.property.readOnly || c.property.name == "Document") continue;
    sets += (sets.empty() ? "" : ", ") + CompanyStore::Quote(c.column) + " = ?";
    values.push_back(series->value(c.property.name));
  }
  const Variant key(int64_t{number});
  values.push_back(key);
  store.exec("UPDATE NNM1 SET " + sets + " WHERE Series = ?", values);
  company_->SetLastError(0, "");
  return 0;
}

}  // namespace dpx::host
