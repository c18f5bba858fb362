// Posting-period categories and periods over OACP and OFPR.
#include "platform/host/posting_periods.h"

#include <chrono>

#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"

namespace dpx::host {

namespace {

using K = PropKind;

const std::vector<ServiceProperty>& ItemProperties() {
  static const std::vector<ServiceProperty> p = {{"PeriodCategory", K::Text, true}};
  return p;
}

// The category's own five, then the accounts it carries (columns of their
// names; "DecreaseGLAccount" is a second name of DecreaseGLAcc).
constexpr size_t kOwnProperties = 5;
constexpr const char* kDecreaseAccount = "DecreaseGLAcc";
constexpr const char* kDecreaseAccountAlias = "DecreaseGLAccount";

const std::vector<ServiceProperty>& CategoryProperties() {
  static const std::vector<ServiceProperty> p = [] {
    std::vector<ServiceProperty> properties = {{"PeriodCategory", K::Text, false},
                                               {"PeriodName", K::Text, false},
                                               {"BeginningofFinancialYear", K::Date, false},
                                               {"SubPeriodType", K::Int, false},
                                               {"NumberOfPeriods", K::Int, true},
                                               {"InvoicePaymentBP", K::Text, false}};
    for (const std::string& account : PeriodCategoryAccounts()) properties.push_back({account, K::Text, false});
    properties.push_back({kDecreaseAccountAlias, K::Text, false});
    return properties;
  }();
  return p;
}

// The OACP column of a category property beyond the category's own five.
std::string CategoryColumn(const std::string& property) {
  return property == kDecreaseAccountAlias ? kDecreaseAccount : property;
}

// The period's properties are named after their OFPR columns; the first two
// say which period it is and stay the host's.
const std::vector<ServiceProperty>& PeriodProperties() {
  static const std::vector<ServiceProperty> p = {
      {"PeriodCat", K::Text, true},    {"PeriodIndex", K::Int, true},  {"Status", K::Int, false},
      {"Year", K::Int, false},         {"Code", K::Text, false},       {"Name", K::Text, false},
      {"RefDateFrom", K::Date, false}, {"RefDateTo", K::Date, false},  {"DueDateFrom", K::Date, false},
      {"DueDateTo", K::Date, false},   {"TaxDateFrom", K::Date, false}, {"TaxDateTo", K::Date, false}};
  return p;
}

std::string PeriodColumns() {
  std::string s;
  for (const ServiceProperty& p : PeriodProperties()) s += (s.empty() ? "" : ", ") + CompanyStore::Quote(p.name);
  return s;
}

bool Empty(const Variant& v) { return v.isEmpty() || (v.type() == VarType::Text && v.toText().empty()); }

std::chrono::year_month_day Ymd(const DateTime& d) {
  return std::chrono::year_month_day{std::chrono::year{d.year}, std::chrono::month{static_cast<unsigned>(d.month)},
                                     std::chrono::day{static_cast<unsigned>(d.day)}};
}

DateTime FromYmd(const std::chrono::year_month_day& d) {
  return DateTime{static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
                  static_cast<int>(static_cast<unsigned>(d.day()))};
}

// `start` moved on by whole months (the day stays; a year start is a valid day of its month).
DateTime AddMonths(const DateTime& start, int months) {
  auto ymd = Ymd(start) + std::chrono::months{months};
  if (!ymd.ok()) ymd = ymd.year() / ymd.month() / std::chrono::last;
  return FromYmd(ymd);
}

DateTime DayBefore(const DateTime& d) {
  return FromYmd(std::chrono::year_month_day{std::chrono::sys_days{Ymd(d)} - std::chrono::days{1}});
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

int Refuse(Company& company, int code, const std::string& text) {
  company.SetLastError(code, text);
  return code;
}

}  // namespace

PostingPeriods::PostingPeriods(std::shared_ptr<Company> company) : company_(std::move(company)) {}

std::shared_ptr<ServiceObject> PostingPeriods::item(const std::string& code) {
  auto out = std::make_shared<ServiceObject>(company_, "PeriodCategoryItem", ItemProperties());
  out->setValue("PeriodCategory", Variant(code));
  return out;
}

std::shared_ptr<ServiceList> PostingPeriods::GetPeriodCategoryList() {
  company_->RequireConnected("GetPeriodCategoryList");
  std::vector<std::shared_ptr<ServiceObject>> items;
  // In the order the categories were made: a new category never moves the others' places.
  for (auto& row : company_->store().query("SELECT PeriodCat FROM OACP ORDER BY rowid").rows)
    items.push_back(item(row[0].toText()));
  return std::make_shared<ServiceList>(std::move(items));
}

std::shared_ptr<ServiceObject> PostingPeriods::GetPeriodCategory(const std::shared_ptr<ServiceObject>& listItem) {
  company_->RequireConnected("GetPeriodCategory");
  if (!listItem || listItem->kind() != "PeriodCategoryItem")
    throw HostError(E_INVALIDARG, "PostingPeriods", "GetPeriodCategory needs an item of the category list");
  int faultCode = 0;
  std::string faultText;
  if (company_->TakeFault("GetPeriodCategory", faultCode, faultText)) {
    company_->SetLastError(faultCode, faultText);
    throw HostError(kHrInjected, "PostingPeriods", faultText);
  }
  const std::string code = listItem->value("PeriodCategory").toText();
  std::string accounts;
  for (size_t i = kOwnProperties; i < CategoryProperties().size(); ++i)
    accounts += ", " + CompanyStore::Quote(CategoryColumn(CategoryProperties()[i].name));
  auto rows = company_->store().query(
      "SELECT PeriodCat, PeriodName, BeginningofFinancialYear, SubPeriodType, "
      "(SELECT COUNT(*) FROM OFPR WHERE OFPR.PeriodCat = OACP.PeriodCat)" + accounts + " FROM OACP WHERE PeriodCat = ?",
      {Variant(code)});
  if (rows.rows.empty()) {
    company_->SetLastError(kErrRecordNotFound, "Period category '" + code + "' does not exist");
    throw HostError(E_FAIL, "PostingPeriods", "Period category '" + code + "' does not exist");
  }
  auto category = std::make_shared<ServiceObject>(company_, "PeriodCategory", CategoryProperties());
  for (size_t i = 0; i < CategoryProperties().size(); ++i)
    category->setValue(CategoryProperties()[i].name, rows.rows[0][i]);
  return category;
}

int PostingPeriods::UpdatePeriodCategory(const std::shared_ptr<ServiceObject>& category) {
  company_->RequireConnected("UpdatePeriodCategory");
  if (!category || category->kind() != "PeriodCategory")
    throw HostError(E_INVALIDARG, "PostingPeriods", "UpdatePeriodCategory needs a period category");
  int code = 0;
  std::string text;
  if (company_->TakeFault("UpdatePeriodCategory", code, text)) return Refuse(*company_, code, text);
  CompanyStore& store = company_->store();
  const Variant cat = category->value("PeriodCategory");
  auto stored = store.query("SELECT " + CompanyStore::Quote(kDecreaseAccount) + " FROM OACP WHERE PeriodCat = ?", {cat});
  if (stored.rows.empty())
    return Refuse(*company_, kErrRecordNotFound, "Period category '" + cat.toText() + "' does not exist");
  // Of the decrease account's two names, the one that was changed counts.
  const Variant alias = category->value(kDecreaseAccountAlias);
  const Variant decrease = alias.toText() != stored.rows[0][0].toText() ? alias : category->value(kDecreaseAccount);

  std::string sets = CompanyStore::Quote("InvoicePaymentBP") + " = ?";
  std::vector<Variant> params = {category->value("InvoicePaymentBP")};
  for (const std::string& account : PeriodCategoryAccounts()) {
    const Variant value = account == kDecreaseAccount ? decrease : category->value(account);
    // An account must be one of the company's (or none).
    if (!Empty(value) &&
        store.query("SELECT 1 FROM OACT WHERE AcctCode = ? LIMIT 1", {Variant(value.toText())}).rows.empty())
      return Refuse(*company_, kErrMissingReference,
                    "Period category '" + cat.toText() + "': '" + account + "' refers to account '" +
                        value.toText() + "', which does not exist");
    sets += ", " + CompanyStore::Quote(account) + " = ?";
    params.push_back(Empty(value) ? Variant() : Variant(value.toText()));
  }
  params.push_back(cat);
  store.exec("UPDATE OACP SET " + sets + " WHERE PeriodCat = ?", params);
  company_->SetLastError(0, "");
  return 0;
}

std::shared_ptr<ServiceList> PostingPeriods::GetPeriodsList(const std::shared_ptr<ServiceObject>& listItem) {
  company_->RequireConnected("GetPeriodsList");
  if (!listItem || listItem->kind() != "PeriodCategoryItem")
    throw HostError(E_INVALIDARG, "PostingPeriods", "GetPeriodsList needs an item of the category list");
  std::vector<std::shared_ptr<ServiceObject>> periods;
  auto rows = company_->store().query("SELECT " + PeriodColumns() + " FROM OFPR WHERE PeriodCat = ? ORDER BY PeriodIndex",
                                      {listItem->value("PeriodCategory")});
  for (auto& row : rows.rows) {
    auto period = std::make_shared<ServiceObject>(company_, "Period", PeriodProperties());
    for (size_t i = 0; i < PeriodProperties().size(); ++i) period->setValue(PeriodProperties()[i].name, row[i]);
    periods.push_back(std::move(period));
  }
  return std::make_shared<ServiceList>(std::move(periods));
}

std::shared_ptr<ServiceObject> PostingPeriods::NewPeriodCategory(int kind) {
  company_->RequireConnected("NewPeriodCategory");
  if (kind != 2) throw HostError(E_INVALIDARG, "PostingPeriods", "Unknown period object kind " + std::to_string(kind));
  return std::make_shared<ServiceObject>(company_, "PeriodCategory", CategoryProperties());
}

std::shared_ptr<ServiceObject> PostingPeriods::CreatePeriodCategory(const std::shared_ptr<ServiceObject>& category) {
  company_->RequireConnected("CreatePeriodCategory");
  int code;
  std::string text;
  if (company_->TakeFault("CreatePeriodCategory", code, text)) {
    company_->SetLastError(code, text);
    throw HostError(kHrInjected, "PostingPeriods", text);
  }
  if (!category || category->kind() != "PeriodCategory")
    throw HostError(E_INVALIDARG, "PostingPeriods", "CreatePeriodCategory needs a period category");
  auto refuse = [&](int c, const std::string& why) {
    company_->SetLastError(c, why);
    throw HostError(E_FAIL, "PostingPeriods", why);
  };
  const std::string cat = category->value("PeriodCategory").toText();
  const std::string name = category->value("PeriodName").toText();
  const Variant begin = category->value("BeginningofFinancialYear");
  const int type = category->value("SubPeriodType").toInt32();
  if (cat.empty()) refuse(kErrInvalidValue, "The period category has no code");
  if (name.empty()) refuse(kErrInvalidValue, "Period category '" + cat + "' has no name");
  if (Empty(begin) || !Ymd(begin.toDate()).ok())
    refuse(kErrInvalidValue, "Period category '" + cat + "' has no beginning of the financial year");
  if (Empty(category->value("SubPeriodType")) || type < 0 || type > 2)
    refuse(kErrInvalidValue, "Period category '" + cat + "' has an unknown sub-period type " +
                                 category->value("SubPeriodType").toText());
  CompanyStore& store = company_->store();
  if (!store.query("SELECT 1 FROM OACP WHERE PeriodCat = ?", {Variant(cat)}).rows.empty())
    refuse(kErrDuplicateKey, "Period category '" + cat + "' exists");

  const int count = type == 0 ? 1 : type == 1 ? 4 : 12;
  const int months = 12 / count;
  const DateTime start = begin.toDate();
  CompanyStore::Savepoint savepoint(store);
  store.exec("INSERT INTO OACP (PeriodCat, PeriodName, BeginningofFinancialYear, SubPeriodType, NumberOfPeriods) "
             "VALUES (?, ?, ?, ?, ?)",
             {Variant(cat), Variant(name), Variant(DateTime{start.year, start.month, start.day}.toYmd()),
              Variant(int32_t{type}), Variant(int32_t{count})});
  for (int i = 0; i < count; ++i) {
    const DateTime from = AddMonths(start, i * months);
    const DateTime to = DayBefore(AddMonths(start, (i + 1) * months));
    const std::string periodCode =
        type == 0 ? cat : cat + "-" + (type == 1 ? "Q" + std::to_string(i + 1) : TwoDigits(i + 1));
    const Variant f(from.toYmd()), t(to.toYmd());
    store.exec("INSERT INTO OFPR (" + PeriodColumns() + ") VALUES (?, ?, 0, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
               {Variant(cat), Variant(int32_t{i}), Variant(int32_t{start.year}), Variant(periodCode),
                Variant(periodCode), f, t, f, t, f, t});
  }
  savepoint.commit();
  company_->SetLastError(0, "");
  return item(cat);
}

std::shared_ptr<ServiceObject> PostingPeriods::PeriodFromXml(const std::string& xml) {
  company_->RequireConnected("PeriodFromXml");
  auto period = std::make_shared<ServiceObject>(company_, "Period", PeriodProperties());
  period->ReadXml(xml);
  return period;
}

int PostingPeriods::UpdatePeriod(const std::shared_ptr<ServiceObject>& period) {
  company_->RequireConnected("UpdatePeriod");
  int code;
  std::string text;
  if (company_->TakeFault("UpdatePeriod", code, text)) return Refuse(*company_, code, text);
  if (!period || period->kind() != "Period") throw HostError(E_INVALIDARG, "PostingPeriods", "UpdatePeriod needs a period");
  CompanyStore& store = company_->store();
  const Variant cat = period->value("PeriodCat"), index = period->value("PeriodIndex");
  if (Empty(cat) || store.query("SELECT 1 FROM OFPR WHERE PeriodCat = ? AND PeriodIndex = ?", {cat, index}).rows.empty())
    return Refuse(*company_, kErrNotPositioned, "The period is not one of the company's periods");
  const std::string periodCode = period->value("Code").toText();
  if (periodCode.empty() || period->value("Name").toText().empty())
    return Refuse(*company_, kErrInvalidValue, "A period needs a code and a name");
  for (const char* range : {"RefDate", "DueDate", "TaxDate"}) {
    const Variant from = period->value(std::string(range) + "From"), to = period->value(std::string(range) + "To");
    if (Empty(from) || Empty(to) || !Ymd(from.toDate()).ok() || !Ymd(to.toDate()).ok() ||
        to.toDate().toYmd() < from.toDate().toYmd())
      return Refuse(*company_, kErrInvalidValue,
                    "Period '" + periodCode + "': the " + range + " range is empty or runs backwards");
  }
  std::string sets;
  std::vector<Variant> values;
  for (const ServiceProperty& p : PeriodProperties()) {
    if (p.readOnly) continue;
    sets += (sets.empty() ? "" : ", ") + CompanyStore::Quote(p.name) + " = ?";
    const Variant v = period->value(p.name);
    values.push_back(p.kind == K::Date ? Variant(v.toDate().toYmd()) : v);
  }
  values.push_back(cat);
  values.push_back(index);
  store.exec("UPDATE OFPR SET " + sets + " WHERE PeriodCat = ? AND PeriodIndex = ?", values);
  company_->SetLastError(0, "");
  return 0;
}

}  // namespace dpx::host
