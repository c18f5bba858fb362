// DPX_Util's calls of host objects by member name, the field-type lookup in a
// table's field list and the company-level account flag. None of them raises:
// callers test the status.
#include <exception>

#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"
#include "platform/host/recordset.h"

dpx::HRESULT DPX_Util::GetPropertyByName(const ObjectPtr& object, const std::string& name, dpx::Variant& out) {
  out = dpx::Variant();
  if (!object) return dpx::E_POINTER;
  try {
    // A member may be a property or a method without arguments.
    dpx::HRESULT hr = object->get(name, out);
    if (hr == dpx::DISP_E_MEMBERNOTFOUND) hr = object->invoke(name, {}, out);
    return hr;
  } catch (const dpx::HostError& e) {
    return e.code();
  } catch (const std::exception&) {
    return dpx::E_FAIL;
  }
}

dpx::HRESULT DPX_Util::InvokeByName(const ObjectPtr& object, const std::string& name, dpx::Variant& out,
                                    const std::vector<dpx::Variant>& args) {
  out = dpx::Variant();
  if (!object) return dpx::E_POINTER;
  try {
    dpx::HRESULT hr = object->invoke(name, args, out);
    // A member that is a property answers a read instead of a call.
    if (dpx::Failed(hr) && args.empty()) {
      const dpx::HRESULT asProperty = object->get(name, out);
      if (dpx::Succeeded(asProperty)) hr = asProperty;
    }
    return hr;
  } catch (const std::exception&) {
    return dpx::E_FAIL;
  }
}

dpx::HRESULT DPX_Util::PutPropertyByName(const ObjectPtr& object, const std::string& name, const dpx::Variant& value) {
  if (!object) return dpx::E_POINTER;
  try {
    return object->put(name, value);
  } catch (const std::exception&) {
    return dpx::E_FAIL;
  }
}

dpx::HRESULT DPX_Util::CallGetByKeyAsXML(std::string& out, const ObjectPtr& object, const std::vector<dpx::Variant>& keys) {
  out.clear();
  dpx::Variant found;
  dpx::HRESULT hr = InvokeByName(object, "GetByKey", found, keys);
  if (dpx::Failed(hr) || found.toInt64() == 0) return hr;
  dpx::Variant xml;
  hr = InvokeByName(object, "GetAsXML", xml);
  if (dpx::Succeeded(hr)) out = xml.toText();
  return hr;
}

bool DPX_Util::QueryHostFlag(const CompanyPtr& company) {
  if (!company) return false;
  try {
    auto service = company->GetCompanyService();
    if (!service) return false;
    auto settings = service->GetCompanySettings();
    dpx::Variant value;
    if (dpx::Failed(GetPropertyByName(settings, "EnableAccountSegmentation", value))) return false;
    return value.toInt64() != 0;
  } catch (const std::exception&) {
    return false;
  }
}

int32_t DPX_Util::GetFieldType(const std::shared_ptr<dpx::host::Recordset>& fieldList, const std::string& fieldName) {
  if (!fieldList) return dpx::fieldtype::kAlpha;
  try {
    fieldList->MoveFirst();
    for (; !fieldList->EoF(); fieldList->MoveNext()) {
      if (fieldList->Field(0).toText() == fieldName) return fieldList->Field(2).toInt32();
    }
  } catch (const dpx::HostError&) {
  }
  return dpx::fieldtype::kAlpha;
}

bool DPX_Util::LogLastError(dpx::DPX_LogScope& log, const CompanyPtr& company, std::string* text) {
  if (!company) return false;
  int code = 0;
  std::string reason;
  company->GetLastError(code, reason);
  if (code == 0) return false;
  log.LogError("Error code =  %d: %s", code, reason);
  if (text) *text = reason;
  return true;
}

dpx::HRESULT DPX_Util::StatusOf(const std::exception& e) {
  const auto* host = dynamic_cast<const dpx::HostError*>(&e);
  return host ? host->code() : dpx::E_FAIL;
}

std::string DPX_Util::EscapeSqlText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}
