// What the record families share: field lists, last errors, element
// walking and null-safe copy-log lines.
#include "engine/di_record_support.h"

#include <algorithm>

#include <xercesc/dom/DOMNode.hpp>

#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "engine/dom_parser.h"
#include "engine/table_info.h"
#include "engine/util.h"
#include "platform/framework/text.h"
#include "platform/host/bridge.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace dpx::records {

namespace {
std::shared_ptr<dpx::host::Company> Require(std::shared_ptr<dpx::host::Company> company, const char* which) {
  if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_DIInterface", std::string("No ") + which + " company");
  return company;
}
}  // namespace

std::shared_ptr<dpx::host::Company> BaseCompany(DPX_ConnectionContext* context) {
  if (!context) throw dpx::HostError(dpx::E_POINTER, "DPX_DIInterface", "No connection context");
  return Require(context->getBaseCompany(), "base");
}

std::shared_ptr<dpx::host::Company> TargetCompany(DPX_ConnectionContext* context) {
  if (!context) throw dpx::HostError(dpx::E_POINTER, "DPX_DIInterface", "No connection context");
  return Require(context->getTargetCompany(), "target");
}

DPX_CopyLog* CurrentCopyLog(DPX_ConnectionContext* context) { return context ? context->copyLog : nullptr; }

void DescribeColumns(DPX_TableInfo& info, DPX_ConnectionContext* context, const std::string& table,
                     const std::vector<std::string>& columns, const std::vector<int32_t>& editableFlags) {
  info.setTableName(table);
  info.setContext(context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  info.readFieldTypes(table, columns, headings, types);
  info.setColumns(headings, editableFlags, types);
}

std::vector<FieldInfo> ReadFieldList(dpx::host::Company& company, const std::string& table) {
  std::vector<FieldInfo> fields;
  std::shared_ptr<dpx::host::Recordset> list;
  try {
    list = company.NewBridge()->GetTableFieldList(table);
  } catch (const dpx::HostError&) {
    return fields;  // a table the host does not know has no fields
  }
  if (!list) return fields;
  list->MoveFirst();
  while (!list->EoF()) {
    fields.push_back({list->Field(0).toText(), list->Field(2).toInt32()});
    list->MoveNext();
  }
  return fields;
}

const FieldInfo* FindFieldExact(const std::vector<FieldInfo>& fields, const std::string& name) {
  for (const FieldInfo& f : fields)
    if (f.name == name) return &f;
  return nullptr;
}

const FieldInfo* FindField(const std::vector<FieldInfo>& fields, const std::string& name) {
  if (const FieldInfo* exact = FindFieldExact(fields, name)) return exact;
  for (const FieldInfo& f : fields)
    if (dpx::EqualsIgnoreCase(f.name, name)) return &f;
  return nullptr;
}

std::string PropertyText(dpx::host::HostObject& object, const std::string& property) {
  if (property.empty()) return {};
  dpx::Variant value;
  if (dpx::Failed(object.get(property, value))) return {};
  return DPX_Util::VariantToDisplayText(value);
}

bool GetByKey(dpx::host::HostObject& object, const std::vector<dpx::Variant>& keys) {
  dpx::Variant found;
  const dpx::HRESULT hr = object.invoke("GetByKey", keys, found);
  if (dpx::Failed(hr)) throw dpx::HostError(hr, object.typeName(), "Call of GetByKey failed");
  return found.toBool();
}

std::string LastErrorText(dpx::host::Company& company) {
  int code = 0;
  std::string text;
  company.GetLastError(code, text);
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  return text;
}

std::vector<dpx::Variant> RowValues(dpx::host::Recordset& recordset, size_t count) {
  std::vector<dpx::Variant> values;
  values.reserve(count);
  for (size_t i = 0; i < count; ++i) values.push_back(recordset.Field(static_cast<int>(i)));
  return values;
}

bool ReadIntegerKey(const dpx::Variant& value, int64_t& out) {
  if (value.isInteger()) {
    out = value.toInt64();
    return true;
  }
  if (value.isReal()) {
    double d = value.toDouble();
    if (d != static_cast<double>(static_cast<int64_t>(d))) return false;
    out = static_cast<int64_t>(d);
    return true;
  }
  if (value.type() == dpx::VarType::Text) return dpx::ParseInt64(value.toText(), out);
  return false;
}

std::string UpperAscii(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool FirstChildElement(DPX_DOMParser& parser) {
  auto* start = parser.getCursor();
  if (!parser.move(0, true)) return false;
  if (parser.getCursor()->getNodeType() == xercesc::DOMNode::ELEMENT_NODE) return true;
  if (NextSiblingElement(parser)) return true;
  parser.setCursor(start);
  return false;
}

bool NextSiblingElement(DPX_DOMParser& parser) {
  auto* start = parser.getCursor();
  while (parser.move(1, true)) {
    if (parser.getCursor()->getNodeType() == xercesc::DOMNode::ELEMENT_NODE) return true;
  }
  parser.setCursor(start);
  return false;
}

void LogLine::start(const std::string& categoryKey, int32_t action) {
  if (!log_) return;
  log_->clearRecord();
  log_->setCategoryNo(categoryKey);
  log_->setAction(action);
}
void LogLine::start(const std::string& categoryKey, int32_t action, const std::string& baseCode,
                    const std::string& baseDescription) {
  start(categoryKey, action);
  this->baseCode(baseCode);
  this->baseDescription(baseDescription);
}
void LogLine::leftOut(const std::vector<DPX_LeftOutField>& fields) { NoteLeftOut(log_, fields); }
void LogLine::fail(const std::string& text) {
  result("403");
  error(text);
}
void LogLine::result(const std::string& result) {
  if (log_) log_->setResult(result);
}
void LogLine::error(const std::string& text) {
  if (log_) log_->setError(text);
}
void LogLine::baseCode(const std::string& text) {
  if (log_) log_->setBaseCode(text);
}
void LogLine::baseDescription(const std::string& text) {
  if (log_) log_->setBaseDescription(text);
}
void LogLine::targetCode(const std::string& text) {
  if (log_) log_->setTargetCode(text);
}
void LogLine::targetDescription(const std::string& text) {
  if (log_) log_->setTargetDescription(text);
}
void LogLine::targetFormerDescription(const std::string& text) {
  if (log_) log_->setTargetFormerDescription(text);
}
void LogLine::write(bool write) {
  if (log_) log_->writeRecord(write);
}

}  // namespace dpx::records
