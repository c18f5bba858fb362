// Service documents and the raw content of an XML root.
#include "platform/host/service_document.h"

#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/record_xml.h"

namespace dpx::host {

std::string ServiceDocument::property(const std::string& name) const {
  auto it = properties_.find(name);
  return it == properties_.end() ? std::string() : it->second;
}

HRESULT ServiceDocument::get(const std::string& name, Variant& out) {
  out = Variant();
  if (name == "XML" || name == "GetAsXML") {
    out = Variant(xml_);
    return S_OK;
  }
  auto it = properties_.find(name);
  if (it == properties_.end()) return DISP_E_MEMBERNOTFOUND;
  out = Variant(it->second);
  return S_OK;
}

HRESULT ServiceDocument::invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) {
  if (!args.empty()) return DISP_E_MEMBERNOTFOUND;
  return get(name, out);
}

bool ServiceDocument::hasMember(const std::string& name) const {
  return name == "XML" || name == "GetAsXML" || properties_.count(name) > 0;
}

std::string RootContent(const std::string& xml, std::string& root) {
  // The whole text must be well formed before any part of it is taken.
  RecordXml::Parse(xml);
  size_t start = 0;
  for (;;) {
    start = xml.find('<', start);
    if (start == std::string::npos) throw HostError(kHrInvalidXml, "XML", "The text holds no element");
    if (xml.compare(start, 2, "<?") != 0 && xml.compare(start, 2, "<!") != 0) break;
    start = xml.find('>', start);
    if (start == std::string::npos) throw HostError(kHrInvalidXml, "XML", "The text holds no element");
  }
  size_t nameEnd = xml.find_first_of(" \t\r\n/>", start + 1);
  root = xml.substr(start + 1, nameEnd - start - 1);
  const size_t open = xml.find('>', start);
  if (xml[open - 1] == '/') return "";
  const size_t close = xml.rfind("</");
  return xml.substr(open + 1, close - open - 1);
}

void RequireUserKey(Company& company, int64_t user, const std::string& service) {
  if (!company.store().query("SELECT 1 FROM OUSR WHERE INTERNAL_K = ?", {Variant(user)}).rows.empty()) return;
  const std::string text = "Invalid User " + std::to_string(user);
  company.SetLastError(kErrRecordNotFound, text);
  throw HostError(E_FAIL, service, text);
}

}  // namespace dpx::host
