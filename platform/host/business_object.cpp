// The generic business object. Every type's SQL is derived from its registry
// entry; statements use bound parameters only, so no value is ever spliced
// into SQL text.
#include "platform/host/business_object.h"

#include <algorithm>

#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/line_collection.h"
#include "platform/host/property_values.h"
#include "platform/host/record_xml.h"

namespace dpx::host {

namespace {

using Q = CompanyStore;

bool IsEmptyValue(const Variant& v) { return v.isEmpty() || (v.type() == VarType::Text && v.toText().empty()); }

// A text property keeps an empty text apart from NULL; for any other kind
// an empty text means no value.
bool IsNoValue(const PropertyDef& p, const Variant& v) {
  return v.isEmpty() || (p.kind != PropKind::Text && IsEmptyValue(v));
}

// A partner type by its column letter, its number or its record-XML name; -1 for none of them.
int32_t CardTypeOf(const std::string& s) {
  static const char* const letters[] = {"C", "S", "L"};
  static const char* const names[] = {"cCustomer", "cSupplier", "cLid"};
  static const char* const numbers[] = {"0", "1", "2"};
  for (int32_t i = 0; i < 3; ++i)
    if (s == letters[i] || s == names[i] || s == numbers[i]) return i;
  return -1;
}

// Property value (canonical form) from a column value.
Variant FromColumn(const PropertyDef& p, const Variant& c) {
  if (IsNoValue(p, c)) return Variant();
  switch (p.kind) {
    case PropKind::Int: return Variant(static_cast<int32_t>(c.toInt64()));
    case PropKind::Double: return Variant(c.toDouble());
    case PropKind::Date: {
      DateTime d;
      if (c.type() == VarType::Date) return c;
      if (DateTime::parse(c.toText(), d)) return Variant(d);
      return Variant(c.toText());
    }
    case PropKind::YesNo: {
      std::string s = c.toText();
      return Variant(int32_t{s == "Y" || s == "y" || s == "1"});
    }
    case PropKind::TypeLetter: {
      static const std::string letters = "AMNDB";
      std::string s = c.toText();
      size_t i = s.size() == 1 ? letters.find(s[0]) : std::string::npos;
      return i == std::string::npos ? Variant(static_cast<int32_t>(c.toInt64())) : Variant(static_cast<int32_t>(i));
    }
    case PropKind::CardType: {
      const int32_t t = CardTypeOf(c.toText());
      return t < 0 ? Variant(c.toText()) : Variant(t);
    }
    default: return Variant(c.toText());
  }
}

// Canonical property value from any value a caller gives; false when the
// value does not fit the property.
bool Normalize(const PropertyDef& p, const Variant& v, Variant& out) {
  if (IsNoValue(p, v)) {
    out = Variant();
    return true;
  }
  std::string s = v.toText();
  switch (p.kind) {
    case PropKind::Int: {
      if (v.isInteger() || v.type() == VarType::Bool) {
        out = Variant(static_cast<int32_t>(v.toInt64()));
        return true;
      }
      int64_t n;
      double d;
      if (ParseInt64(s, n)) out = Variant(static_cast<int32_t>(n));
      else if (ParseDouble(s, d) && d == static_cast<double>(static_cast<int64_t>(d))) out = Variant(static_cast<int32_t>(d));
      else return false;
      return true;
    }
    case PropKind::Double: {
      if (v.isInteger() || v.isReal()) {
        out = Variant(v.toDouble());
        return true;
      }
      double d;
      if (!ParseDouble(s, d)) return false;
      out = Variant(d);
      return true;
    }
    case PropKind::Date: {
      if (v.type() == VarType::Date) {
        out = v;
        return true;
      }
      DateTime d;
      if (!DateTime::parse(s, d)) return false;
      out = Variant(d);
      return true;
    }
    case PropKind::YesNo: {
      if (v.isInteger() || v.type() == VarType::Bool) {
        int64_t n = v.toInt64();
        if (n != 0 && n != 1) return false;
        out = Variant(static_cast<int32_t>(n));
        return true;
      }
      if (s == "Y" || s == "1" || s == "tYES" || s == "true") out = Variant(int32_t{1});
      else if (s == "N" || s == "0" || s == "tNO" || s == "false") out = Variant(int32_t{0});
      else return false;
      return true;
    }
    case PropKind::TypeLetter: {
      static const std::string letters = "AMNDB";
      int64_t n;
      if (s.size() == 1 && letters.find(s[0]) != std::string::npos) n = static_cast<int64_t>(letters.find(s[0]));
      else if (!ParseInt64(s, n)) return false;
      if (n < 0 || n > 4) return false;
      out = Variant(static_cast<int32_t>(n));
      return true;
    }
    case PropKind::CardType: {
      const int32_t t = CardTypeOf(s);
      if (t < 0) return false;
      out = Variant(t);
      return true;
    }
    default:
      out = Variant(s);
      return true;
  }
}

// Column value to store for a canonical property value.
Variant ToColumn(const PropertyDef& p, const Variant& v) {
  if (IsNoValue(p, v)) return p.defaultValue.empty() ? Variant() : Variant(p.defaultValue);
  switch (p.kind) {
    case PropKind::Int: return Variant(v.toInt64());
    case PropKind::Double: return Variant(v.toDouble());
    case PropKind::Date: return Variant(v.toDate().toYmd());
    case PropKind::YesNo: return Variant(v.toInt64() ? "Y" : "N");
    case PropKind::TypeLetter: return Variant(std::string(1, "AMNDB"[std::clamp<int64_t>(v.toInt64(), 0, 4)]));
    case PropKind::CardType: return Variant(std::string(1, "CSL"[std::clamp<int64_t>(v.toInt64(), 0, 2)]));
    default: return Variant(v.toText());
  }
}

// Text of a canonical value in record XML.
std::string XmlText(const PropertyDef& p, const Variant& v) {
  if (p.kind == PropKind::Double) return FormatDouble(v.toDouble());
  if (p.kind == PropKind::CardType) {
    static const char* const names[] = {"cCustomer", "cSupplier", "cLid"};
    return names[std::clamp<int64_t>(v.toInt64(), 0, 2)];
  }
  return v.toText();
}

bool IsNoReference(const Variant& v) {
  if (IsEmptyValue(v)) return true;
  int64_t n;
  return ParseInt64(v.toText(), n) && n == -1;
}

std::string KeyText(const std::vector<Variant>& key) {
  std::string s;
  for (size_t i = 0; i < key.size(); ++i) s += (i ? ", " : "") + key[i].toText();
  return s;
}

}  // namespace

namespace bo_detail {
Variant ToColumnValue(const PropertyDef& p, const Variant& v) { return ToColumn(p, v); }
bool IsNoReferenceValue(const Variant& v) { return IsNoReference(v); }
bool IsEmptyPropertyValue(const Variant& v) { return IsEmptyValue(v); }
std::string KeyDisplay(const std::vector<Variant>& key) { return KeyText(key); }
}  // namespace bo_detail

BusinessObject::BusinessObject(std::shared_ptr<Company> company, const ObjectTypeDef& type)
    : company_(std::move(company)), type_(&type) {}

std::string BusinessObject::typeName() const { return type_->name; }

bool BusinessObject::GetByKey(const std::vector<Variant>& keys) {
  company_->RequireConnected("GetByKey");
  int code;
  std::string text;
  if (company_->TakeFault("GetByKey", code, text) ||
      company_->TakeFault("GetByKey:" + std::to_string(type_->type), code, text)) {
    company_->SetLastError(code, text);
    throw HostError(kHrInjected, typeName(), text);
  }
  if (company_->TakeFault("GetByKeyNotFound", code, text) ||
      company_->TakeFault("GetByKeyNotFound:" + std::to_string(type_->type), code, text)) {
    header_.clear();
    lines_.clear();
    positioned_ = false;
    return false;
  }
  // A call that fails raises and leaves its reason as the last error, so
  // that it is never mistaken for a record that is not there.
  try {
    const ObjectTypeDef& t = *type_;
    if (keys.size() != t.keyProperties.size())
      throw HostError(E_INVALIDARG, typeName(),
                      "GetByKey of " + t.name + " takes " + std::to_string(t.keyProperties.size()) + " key value(s), not " +
                          std::to_string(keys.size()));
    std::vector<const PropertyDef*> cols;
    std::string sql = "SELECT ";
    for (const PropertyDef& p : t.properties) {
      if (p.column.empty() || p.writeOnly) continue;
      sql += (cols.empty() ? "" : ", ") + Q::Quote(p.column);
      cols.push_back(&p);
    }
    sql += " FROM " + Q::Quote(t.mainTable);
    std::vector<Variant> params;
    for (size_t i = 0; i < keys.size(); ++i) {
      const PropertyDef* kp = t.findProperty(t.keyProperties[i]);
      Variant norm;
      if (!Normalize(*kp, keys[i], norm)) {
        // A key of the wrong kind names no record.
        header_.clear();
        lines_.clear();
        currentLine_.clear();
        positioned_ = false;
        return false;
      }
      sql += (i ? " AND " : " WHERE ") + Q::Quote(kp->column) + " = ?";
      params.push_back(ToColumn(*kp, norm));
    }
    sql += " LIMIT 1";
    CompanyStore& store = company_->store();
    QueryResult r = store.query(sql, params);
    header_.clear();
    lines_.clear();
    currentLine_.clear();
    positioned_ = false;
    fetchedKey_.clear();
    if (r.rows.empty()) return false;
    for (size_t i = 0; i < cols.size(); ++i) header_[cols[i]->property] = FromColumn(*cols[i], r.rows[0][i]);
    for (const std::string& k : t.keyProperties) fetchedKey_.push_back(header_[k]);
    for (const LineDef& line : t.lines) {
      std::vector<const PropertyDef*> lcols;
      std::string lsql = "SELECT ";
      for (const PropertyDef& p : line.properties) {
        if (p.column.empty() || p.writeOnly) continue;
        lsql += (lcols.empty() ? "" : ", ") + Q::Quote(p.column);
        lcols.push_back(&p);
      }
      if (lcols.empty()) continue;
      lsql += " FROM " + Q::Quote(line.table);
      std::vector<Variant> lparams;
      for (size_t i = 0; i < line.parentColumns.size() && i < fetchedKey_.size(); ++i) {
        lsql += (i ? " AND " : " WHERE ") + Q::Quote(line.parentColumns[i]) + " = ?";
        lparams.push_back(ToColumn(*t.findProperty(t.keyProperties[i]), fetchedKey_[i]));
      }
      if (!line.lineNumColumn.empty()) lsql += " ORDER BY " + Q::Quote(line.lineNumColumn);
      auto& rows = lines_[line.element];
      for (auto& row : store.query(lsql, lparams).rows) {
        PropertyValues values;
        for (size_t i = 0; i < lcols.size(); ++i) values[lcols[i]->property] = FromColumn(*lcols[i], row[i]);
        rows.push_back(std::move(values));
      }
    }
    positioned_ = true;
    return true;
  } catch (const HostError& e) {
    header_.clear();
    lines_.clear();
    currentLine_.clear();
    positioned_ = false;
    company_->SetLastError(LastErrorCodeOf(e.code()), e.description());
    throw;
  }
}

std::string BusinessObject::GetAsXML() const {
  company_->RequireConnected("GetAsXML");
  int code;
  std::string text;
  if (company_->TakeFault("GetAsXML", code, text)) {
    company_->SetLastError(code, text);
    throw HostError(kHrInjected, typeName(), text);
  }
  auto writeRow = [](std::string& xml, const std::vector<PropertyDef>& props, const PropertyValues& values) {
    xml += "<row>";
    for (const PropertyDef& p : props) {
      if (p.writeOnly) continue;
      auto it = values.find(p.property);
      if (it == values.end() || IsNoValue(p, it->second)) {
        xml += "<" + p.property + " nil=\"true\"/>";
      } else {
        xml += "<" + p.property + ">" + RecordXml::Escape(XmlText(p, it->second)) + "</" + p.property + ">";
      }
    }
    xml += "</row>";
  };
  std::string xml = RecordXml::kDeclaration;
  xml += "<BOM><BO><AdmInfo><Object>" + std::to_string(type_->type) + "</Object></AdmInfo>";
  xml += "<" + type_->headerElement + ">";
  writeRow(xml, type_->properties, header_);
  xml += "</" + type_->headerElement + ">";
  for (const LineDef& line : type_->lines) {
    xml += "<" + line.element + ">";
    auto it = lines_.find(line.element);
    if (it != lines_.end())
      for (const PropertyValues& row : it->second) writeRow(xml, line.properties, row);
    xml += "</" + line.element + ">";
  }
  xml += "</BO></BOM>";
  return xml;
}

void BusinessObject::ReadXml(const std::string& xml, int index) { ReadDocument(*RecordXml::Parse(xml), index); }

void BusinessObject::ReadDocument(const XmlNode& doc, int index) {
  const ObjectTypeDef& t = *type_;
  auto bad = [&](const std::string& what) { throw HostError(kHrInvalidXml, typeName(), what); };
  if (doc.name != "BOM") bad("Record XML has no BOM root element");
  const XmlNode* bo = nullptr;
  int seen = 0;
  for (auto& c : doc.children)
    if (c->name == "BO" && seen++ == index) bo = c.get();
  if (!bo) bad("Record XML has no BO element " + std::to_string(index));
  auto readRow = [&](const XmlNode& row, const std::vector<PropertyDef>& props, PropertyValues& values,
                     bool header) {
    for (auto& field : row.children) {
      const PropertyDef* p = nullptr;
      for (const PropertyDef& d : props)
        if (d.property == field->name) p = &d;
      if (!p) bad("Unknown property '" + field->name + "' of " + t.name);
      if (p->readOnly) continue;
      if (!field->children.empty()) bad("Property '" + p->property + "' of " + t.name + " holds elements, not a value");
      if (header && positioned_) {
        bool isKey = false;
        for (const std::string& k : t.keyProperties) isKey = isKey || k == p->property;
        if (isKey) continue;   // the fetched record stays the one updated
      }
      Variant v;
      if (!field->isNil() && !Normalize(*p, Variant(field->text), v))
        bad("Value '" + field->text + "' does not fit property '" + p->property + "' of " + t.name);
      values[p->property] = v;
    }
  };
  for (auto& section : bo->children) {
    if (section->name == "AdmInfo") {
      const XmlNode* obj = section->child("Object");
      int64_t type;
      if (obj && ParseInt64(obj->text, type) && type != t.type)
        bad("Record XML holds object type " + obj->text + ", not " + std::to_string(t.type));
      continue;
    }
    if (section->name == t.headerElement) {
      if (const XmlNode* row = section->child("row")) readRow(*row, t.properties, header_, true);
      continue;
    }
    const LineDef* line = nullptr;
    for (const LineDef& l : t.lines)
      if (l.element == section->name) line = &l;
    if (!line) bad("Unknown element '" + section->name + "' in record XML of " + t.name);
    auto& rows = lines_[line->element];
    rows.clear();
    for (auto& row : section->children) {
      if (row->name != "row") continue;
      PropertyValues values;
      readRow(*row, line->properties, values, false);
      rows.push_back(std::move(values));
    }
  }
}

HRESULT BusinessObject::GetProperty(const std::string& property, Variant& out) const {
  out = Variant();
  const PropertyDef* p = type_->findProperty(property);
  if (!p || p->writeOnly) return DISP_E_MEMBERNOTFOUND;
  int code;
  std::string text;
  if (company_->TakeFault("get:" + type_->name + "." + property, code, text)) {
    company_->SetLastError(code, text);
    return kHrInjected;
  }
  auto it = header_.find(property);
  if (it != header_.end()) out = it->second;
  return S_OK;
}

HRESULT BusinessObject::SetProperty(const std::string& property, const Variant& value) {
  const PropertyDef* p = type_->findProperty(property);
  if (!p || p->readOnly) return DISP_E_MEMBERNOTFOUND;
  int code;
  std::string text;
  if (company_->TakeFault("put:" + type_->name + "." + property, code, text)) {
    company_->SetLastError(code, text);
    return kHrInjected;
  }
  Variant v;
  if (!Normalize(*p, value, v)) {
    company_->SetLastError(kErrInvalidValue, "Value '" + value.toText() + "' does not fit property '" + property + "'");
    return E_INVALIDARG;
  }
  if (positioned_) {
    for (const std::string& k : type_->keyProperties)
      if (k == property && !(v == header_[k])) {
        company_->SetLastError(kErrInvalidValue, "The key property '" + property + "' of a fetched record cannot change");
        return E_INVALIDARG;
      }
  }
  header_[property] = v;
  return S_OK;
}

int BusinessObject::LineCount(const std::string& element) const {
  auto it = lines_.find(element);
  return it == lines_.end() ? 0 : static_cast<int>(it->second.size());
}

int BusinessObject::AddLine(const std::string& element) {
  auto& rows = lines_[element];
  rows.emplace_back();
  currentLine_[element] = static_cast<int>(rows.size()) - 1;
  return static_cast<int>(rows.size()) - 1;
}

int BusinessObject::CurrentLine(const std::string& element) const {
  auto it = currentLine_.find(element);
  return it == currentLine_.end() ? 0 : it->second;
}

void BusinessObject::SetCurrentLine(const std::string& element, int line) {
  // A line past the end leaves the current line where it is.
  if (line >= 0 && line < LineCount(element)) currentLine_[element] = line;
}

namespace {
const PropertyDef* FindLineProperty(const ObjectTypeDef& t, const std::string& element, const std::string& property) {
  for (const LineDef& l : t.lines)
    if (l.element == element)
      for (const PropertyDef& p : l.properties)
        if (p.property == property) return &p;
  return nullptr;
}
}  // namespace

HRESULT BusinessObject::GetLineProperty(const std::string& element, int line, const std::string& property,
                                        Variant& out) const {
  out = Variant();
  const PropertyDef* p = FindLineProperty(*type_, element, property);
  if (!p || p->writeOnly) return DISP_E_MEMBERNOTFOUND;
  auto it = lines_.find(element);
  if (it == lines_.end() || line < 0 || line >= static_cast<int>(it->second.size())) return E_INVALIDARG;
  auto v = it->second[static_cast<size_t>(line)].find(property);
  if (v != it->second[static_cast<size_t>(line)].end()) out = v->second;
  return S_OK;
}

HRESULT BusinessObject::SetLineProperty(const std::string& element, int line, const std::string& property,
                                        const Variant& value) {
  const PropertyDef* p = FindLineProperty(*type_, element, property);
  if (!p || p->readOnly) return DISP_E_MEMBERNOTFOUND;
  auto it = lines_.find(element);
  if (it == lines_.end() || line < 0 || line >= static_cast<int>(it->second.size())) return E_INVALIDARG;
  Variant v;
  if (!Normalize(*p, value, v)) return E_INVALIDARG;
  it->second[static_cast<size_t>(line)][property] = v;
  return S_OK;
}

bool BusinessObject::hasBrowser() const { return type_->hasBrowser && company_->BrowserEnabled(type_->type); }

std::shared_ptr<BusinessObjectBrowser> BusinessObject::Browser() {
  if (!hasBrowser()) return nullptr;
  if (!browser_)
    browser_ = std::make_shared<BusinessObjectBrowser>(std::static_pointer_cast<BusinessObject>(shared_from_this()));
  return browser_;
}

void BusinessObjectBrowser::ReadXml(const std::string& xml, int index) {
  auto owner = owner_.lock();
  if (!owner) throw HostError(E_POINTER, "Browser", "The business object of this browser is gone");
  owner->ReadXml(xml, index);
}

HRESULT BusinessObjectBrowser::invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) {
  out = Variant();
  if (name != "ReadXml") return DISP_E_MEMBERNOTFOUND;
  if (args.empty() || args.size() > 2) return E_INVALIDARG;
  try {
    ReadXml(args[0].toText(), args.size() > 1 ? args[1].toInt32() : 0);
  } catch (const HostError& e) {
    return e.code();
  }
  return S_OK;
}

bool BusinessObjectBrowser::hasMember(const std::string& name) const { return name == "ReadXml"; }

// By name.

HRESULT BusinessObject::get(const std::string& name, Variant& out) { return GetProperty(name, out); }

HRESULT BusinessObject::put(const std::string& name, const Variant& value) { return SetProperty(name, value); }

HRESULT BusinessObject::invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) {
  out = Variant();
  try {
    if (name == "GetByKey") out = Variant(GetByKey(args));
    else if (name == "GetAsXML") out = Variant(GetAsXML());
    else if (name == "Add") {
      if (!args.empty()) return E_INVALIDARG;
      out = Variant(Add());
    } else if (name == "Update") {
      if (!args.empty()) return E_INVALIDARG;
      out = Variant(Update());
    } else if (name == "Remove") {
      if (!args.empty()) return E_INVALIDARG;
      out = Variant(Remove());
    } else if (name == "ReadXml") {
      if (args.empty() || args.size() > 2) return E_INVALIDARG;
      ReadXml(args[0].toText(), args.size() > 1 ? args[1].toInt32() : 0);
    } else if (args.empty()) {
      return GetProperty(name, out);
    } else {
      return DISP_E_MEMBERNOTFOUND;
    }
  } catch (const HostError& e) {
    return e.code();
  }
  return S_OK;
}

HRESULT BusinessObject::getObject(const std::string& name, std::shared_ptr<HostObject>& out) {
  if (name == "Browser" && hasBrowser()) {
    out = Browser();
    return S_OK;
  }
  for (const LineDef& line : type_->lines)
    if (line.element == name) {
      out = std::make_shared<LineCollection>(std::static_pointer_cast<BusinessObject>(shared_from_this()), name);
      return S_OK;
    }
  return HostObject::getObject(name, out);
}

bool BusinessObject::hasMember(const std::string& name) const {
  if (name == "GetByKey" || name == "GetAsXML" || name == "Add" || name == "Update" || name == "Remove" ||
      name == "ReadXml")
    return true;
  if (name == "Browser") return hasBrowser();
  for (const LineDef& line : type_->lines)
    if (line.element == name) return true;
  const PropertyDef* p = type_->findProperty(name);
  return p != nullptr;
}

}  // namespace dpx::host
