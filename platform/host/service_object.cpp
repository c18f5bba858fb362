// Value objects and lists of the company services.
#include "platform/host/service_object.h"

#include "platform/host/company.h"
#include "platform/host/host_codes.h"
#include "platform/host/record_xml.h"

namespace dpx::host {

namespace {

bool IsEmptyValue(const Variant& v) { return v.isEmpty() || (v.type() == VarType::Text && v.toText().empty()); }

// A text property keeps an empty text apart from NULL; for any other kind
// an empty text means no value.
bool IsNoValue(PropKind kind, const Variant& v) { return v.isEmpty() || (kind != PropKind::Text && IsEmptyValue(v)); }

// The canonical value of a property; false when the value does not fit it.
bool Normalize(PropKind kind, const Variant& v, Variant& out) {
  if (IsNoValue(kind, v)) {
    out = Variant();
    return true;
  }
  if (kind == PropKind::Int) {
    int64_t n;
    if (v.isInteger() || v.type() == VarType::Bool) n = v.toInt64();
    else if (!ParseInt64(v.toText(), n)) return false;
    if (n < INT32_MIN || n > INT32_MAX) return false;
    out = Variant(static_cast<int32_t>(n));
    return true;
  }
  if (kind == PropKind::Date) {
    DateTime d;
    if (v.type() == VarType::Date) d = v.toDate();
    else if (!DateTime::parse(v.toText(), d)) return false;
    out = Variant(DateTime{d.year, d.month, d.day});
    return true;
  }
  out = Variant(v.toText());
  return true;
}

std::string XmlText(PropKind kind, const Variant& v) {
  if (kind == PropKind::Date) return v.toDate().toYmd();
  return v.toText();
}

}  // namespace

ServiceObject::ServiceObject(std::shared_ptr<Company> company, std::string kind,
                             const std::vector<ServiceProperty>& properties)
    : company_(std::move(company)), kind_(std::move(kind)), properties_(&properties) {}

const ServiceProperty* ServiceObject::find(const std::string& name) const {
  for (const ServiceProperty& p : *properties_)
    if (p.name == name) return &p;
  return nullptr;
}

Variant ServiceObject::value(const std::string& name) const {
  auto it = values_.find(name);
  return it == values_.end() ? Variant() : it->second;
}

void ServiceObject::setValue(const std::string& name, const Variant& value) {
  const ServiceProperty* p = find(name);
  Variant v;
  if (p && Normalize(p->kind, value, v)) values_[name] = v;
}

std::string ServiceObject::GetAsXML() const {
  std::string xml = RecordXml::kDeclaration;
  xml += "<" + kind_ + ">";
  for (const ServiceProperty& p : *properties_) {
    const Variant v = value(p.name);
    if (IsNoValue(p.kind, v)) xml += "<" + p.name + " nil=\"true\"/>";
    else xml += "<" + p.name + ">" + RecordXml::Escape(XmlText(p.kind, v)) + "</" + p.name + ">";
  }
  xml += "</" + kind_ + ">";
  return xml;
}

void ServiceObject::ReadXml(const std::string& xml) {
  auto doc = RecordXml::Parse(xml);
  if (doc->name != kind_) throw HostError(kHrInvalidXml, kind_, "The XML is no " + kind_ + " but " + doc->name);
  std::map<std::string, Variant> read;
  for (const auto& child : doc->children) {
    const ServiceProperty* p = find(child->name);
    if (!p) throw HostError(kHrInvalidXml, kind_, "Unknown property '" + child->name + "' of " + kind_);
    if (p->readOnly) continue;
    Variant v;
    if (!child->isNil() && !Normalize(p->kind, Variant(child->text), v))
      throw HostError(kHrInvalidXml, kind_, "Value '" + child->text + "' does not fit property '" + p->name + "' of " + kind_);
    read[p->name] = v;
  }
  for (auto& [name, v] : read) values_[name] = v;
}

HRESULT ServiceObject::get(const std::string& name, Variant& out) {
  out = Variant();
  if (!find(name)) return DISP_E_MEMBERNOTFOUND;
  int code;
  std::string text;
  if (company_->TakeFault("get:" + kind_ + "." + name, code, text)) {
    company_->SetLastError(code, text);
    return kHrInjected;
  }
  out = value(name);
  return S_OK;
}

HRESULT ServiceObject::put(const std::string& name, const Variant& value) {
  const ServiceProperty* p = find(name);
  if (!p || p->readOnly) return DISP_E_MEMBERNOTFOUND;
  int code;
  std::string text;
  if (company_->TakeFault("put:" + kind_ + "." + name, code, text)) {
    company_->SetLastError(code, text);
    return kHrInjected;
  }
  Variant v;
  if (!Normalize(p->kind, value, v)) {
    company_->SetLastError(kErrInvalidValue, "Value '" + value.toText() + "' does not fit property '" + name + "'");
    return E_INVALIDARG;
  }
  values_[name] = v;
  return S_OK;
}

HRESULT ServiceObject::invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) {
  out = Variant();
  try {
    if (name == "GetAsXML" && args.empty()) out = Variant(GetAsXML());
    else if (name == "ReadXml" && args.size() == 1) ReadXml(args[0].toText());
    else if (args.empty()) return get(name, out);
    else return DISP_E_MEMBERNOTFOUND;
  } catch (const HostError& e) {
    return e.code();
  }
  return S_OK;
}

bool ServiceObject::hasMember(const std::string& name) const {
  return name == "GetAsXML" || name == "ReadXml" || find(name) != nullptr;
}

std::shared_ptr<ServiceObject> ServiceList::Item(int index) const {
  if (index < 0 || index >= Count())
    throw HostError(E_INVALIDARG, "List", "Item " + std::to_string(index) + " of a list of " + std::to_string(Count()));
  return items_[static_cast<size_t>(index)];
}

HRESULT ServiceList::get(const std::string& name, Variant& out) {
  out = Variant();
  if (name != "Count") return DISP_E_MEMBERNOTFOUND;
  out = Variant(static_cast<int32_t>(Count()));
  return S_OK;
}

HRESULT ServiceList::getObject(const std::string& name, std::shared_ptr<HostObject>& out) {
  out.reset();
  // "Item(3)" by name.
  if (name.rfind("Item(", 0) != 0 || name.back() != ')') return DISP_E_MEMBERNOTFOUND;
  int64_t i;
  if (!ParseInt64(name.substr(5, name.size() - 6), i) || i < 0 || i >= Count()) return E_INVALIDARG;
  out = items_[static_cast<size_t>(i)];
  return S_OK;
}

}  // namespace dpx::host
