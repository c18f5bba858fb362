// Report layouts over RDOC. Statements bind every value.
#include "platform/host/report_layout_service.h"

#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/record_xml.h"

namespace dpx::host {

namespace {

const std::vector<ServiceProperty>& ParamsProperties() {
  static const std::vector<ServiceProperty> properties = {{"LayoutCode", PropKind::Text, false}};
  return properties;
}

// The four fields of a layout, by element and by RDOC column.
struct LayoutField {
  const char* element;
  const char* column;
};
constexpr LayoutField kFields[] = {
    {"Name", "DocName"}, {"Author", "Author"}, {"Remarks", "Notes"}, {"TypeCode", "TypeCode"}};

// The root's content less the first element of each field: what is left is the body.
std::string BodyOf(std::string content) {
  for (const LayoutField& f : kFields) {
    const std::string name = f.element;
    for (const std::string& open : {"<" + name + ">", "<" + name + "/>", "<" + name + " />"}) {
      const size_t at = content.find(open);
      if (at == std::string::npos) continue;
      size_t end = at + open.size();
      if (open.back() == '>' && open[open.size() - 2] != '/') {
        const size_t close = content.find("</" + name + ">", end);
        if (close == std::string::npos) continue;
        end = close + name.size() + 3;
      }
      content.erase(at, end - at);
      break;
    }
  }
  return content;
}

std::string Render(const std::map<std::string, std::string>& fields, const std::string& body) {
  std::string xml = std::string(RecordXml::kDeclaration) + "<" + ReportLayoutService::kRoot + ">";
  for (const LayoutField& f : kFields) {
    auto it = fields.find(f.element);
    xml += std::string("<") + f.element + ">" + RecordXml::Escape(it == fields.end() ? "" : it->second) + "</" +
           f.element + ">";
  }
  return xml + body + "</" + ReportLayoutService::kRoot + ">";
}

std::string CodeOf(const std::shared_ptr<ServiceObject>& params) {
  if (!params || params->kind() != "LayoutParams")
    throw HostError(E_INVALIDARG, "ReportLayoutService", "The call needs layout parameters");
  return params->value("LayoutCode").toText();
}

}  // namespace

ReportLayoutService::ReportLayoutService(std::shared_ptr<Company> company) : company_(std::move(company)) {}

std::shared_ptr<ServiceObject> ReportLayoutService::GetDataInterface(int kind) {
  company_->RequireConnected("GetDataInterface");
  if (kind != kLayoutParams) throw HostError(E_INVALIDARG, typeName(), "Unknown data interface " + std::to_string(kind));
  return std::make_shared<ServiceObject>(company_, "LayoutParams", ParamsProperties());
}

std::shared_ptr<ServiceDocument> ReportLayoutService::GetLayoutFromXML(const std::string& xml) {
  company_->RequireConnected("GetLayoutFromXML");
  std::string root;
  const std::string content = RootContent(xml, root);
  if (root != kRoot) throw HostError(kHrInvalidXml, typeName(), "The XML is no report layout: root <" + root + ">");
  auto doc = RecordXml::Parse(xml);
  std::map<std::string, std::string> fields;
  for (const LayoutField& f : kFields)
    if (const XmlNode* node = doc->child(f.element)) fields[f.element] = node->text;
  const std::string body = BodyOf(content);
  return std::make_shared<ServiceDocument>("Layout", Render(fields, body), fields);
}

std::shared_ptr<ServiceDocument> ReportLayoutService::GetLayout(const std::shared_ptr<ServiceObject>& params) {
  company_->RequireConnected("GetLayout");
  const std::string code = CodeOf(params);
  auto rows = company_->store().query("SELECT DocName, Author, Notes, TypeCode, Body FROM RDOC WHERE DocCode = ?",
                                      {Variant(code)});
  if (code.empty() || rows.rows.empty()) {
    const std::string text = "No layout with code '" + code + "'";
    company_->SetLastError(kErrRecordNotFound, text);
    throw HostError(E_FAIL, typeName(), text);
  }
  std::map<std::string, std::string> fields;
  for (size_t i = 0; i < 4; ++i) fields[kFields[i].element] = rows.rows[0][i].toText();
  return std::make_shared<ServiceDocument>("Layout", Render(fields, rows.rows[0][4].toText()), fields);
}

std::shared_ptr<ServiceObject> ReportLayoutService::AddLayout(const std::shared_ptr<ServiceDocument>& layout) {
  company_->RequireConnected("AddLayout");
  auto params = GetDataInterface(kLayoutParams);
  if (!layout || layout->kind() != "Layout") throw HostError(E_INVALIDARG, typeName(), "AddLayout needs a layout");
  int code;
  std::string text;
  if (company_->TakeFault("AddLayout", code, text)) {
    company_->SetLastError(code, text);
    return params;
  }
  const std::string name = layout->property("Name"), type = layout->property("TypeCode");
  if (name.empty() || type.empty()) {
    company_->SetLastError(kErrInvalidValue, "A layout needs a name and a type code");
    return params;
  }
  std::string root;
  const std::string body = BodyOf(RootContent(layout->GetAsXML(), root));
  CompanyStore& store = company_->store();
  // The host's code: the type code's first four letters and a number no layout has.
  const std::string prefix = type.substr(0, 4);
  int64_t number = store.query("SELECT COUNT(*) FROM RDOC").rows[0][0].toInt64() + 1;
  while (!store.query("SELECT 1 FROM RDOC WHERE DocCode = ?", {Variant(prefix + std::to_string(number))}).rows.empty())
    ++number;
  const std::string newCode = prefix + std::to_string(number);
  store.exec("INSERT INTO RDOC (DocCode, DocName, Author, Notes, TypeCode, Body) VALUES (?, ?, ?, ?, ?, ?)",
             {Variant(newCode), Variant(name), Variant(layout->property("Author")), Variant(layout->property("Remarks")),
              Variant(type), Variant(body)});
  params->setValue("LayoutCode", Variant(newCode));
  return params;
}

void ReportLayoutService::DeleteLayout(const std::shared_ptr<ServiceObject>& params) {
  company_->RequireConnected("DeleteLayout");
  const std::string code = CodeOf(params);
  int errorCode;
  std::string text;
  if (company_->TakeFault("DeleteLayout", errorCode, text)) {
    company_->SetLastError(errorCode, text);
    throw HostError(kHrInjected, typeName(), text);
  }
  if (company_->store().exec("DELETE FROM RDOC WHERE DocCode = ?", {Variant(code)}) == 0) {
    text = "No layout with code '" + code + "'";
    company_->SetLastError(kErrRecordNotFound, text);
    throw HostError(E_FAIL, typeName(), text);
  }
}

}  // namespace dpx::host
