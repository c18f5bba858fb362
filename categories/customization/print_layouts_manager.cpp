// Print layouts through the report-layout service.
#include "categories/customization/print_layouts_manager.h"

#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"
#include "platform/host/recordset.h"
#include "platform/host/report_layout_service.h"

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

std::shared_ptr<dpx::host::ServiceObject> Params(const DPX_PrintLayoutsManager::ServicePtr& service,
                                                 const std::string& code) {
  auto params = service->GetDataInterface(dpx::host::ReportLayoutService::kLayoutParams);
  params->setValue("LayoutCode", dpx::Variant(code));
  return params;
}

// The layout element of a record, cursor on it; false when the record holds none.
bool LoadLayout(DPX_DOMParser& parser, const std::string& record) {
  return parser.loadXML(record) && parser.move(0, true);
}

}  // namespace

DPX_PrintLayoutsManager::DPX_PrintLayoutsManager(DPX_ConnectionContext* context, const std::string& categoryKey,
                                                 int32_t mode)
    : DPX_DIInterface(context, categoryKey), m_mode(mode) {
  if (m_mode == 1) {
    m_columns = {"DocName", "Author", "Notes", "TypeCode"};
    m_columnFlags = {1, 0, 1, 0};
  } else {
    m_columns = {"DocName", "Notes"};
    m_columnFlags = {1, 1};
  }
}

bool DPX_PrintLayoutsManager::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, "RDOC", m_columns, m_columnFlags);
  return true;
}

void DPX_PrintLayoutsManager::listLayouts(dpx::host::Company& company, std::vector<std::string>& codes,
                                          bool removable) {
  const bool quoted = company.DbServerType() == 5;
  // The host's own query layouts are listed, yet never removed.
  const char* sql =
      removable && m_mode != 1
          ? (quoted ? "SELECT \"DocCode\" FROM RDOC WHERE \"Author\" <> 'System' AND (\"TypeCode\" LIKE 'USRT%' "
                      "OR \"TypeCode\" LIKE 'USRP%')"
                    : "SELECT DocCode FROM RDOC WHERE Author <> 'System' AND (TypeCode LIKE 'USRT%' OR TypeCode "
                      "LIKE 'USRP%')")
      : m_mode == 1
          ? (quoted ? "SELECT \"DocCode\" FROM RDOC WHERE (\"Author\" <> 'System' AND (\"TypeCode\" NOT LIKE 'USR%'))"
                    : "SELECT DocCode FROM RDOC WHERE (Author <> 'System' AND  (TypeCode NOT LIKE 'USR%'))")
          : (quoted ? "SELECT \"DocCode\" FROM RDOC WHERE (\"Author\" <> 'System'  AND (\"TypeCode\" LIKE 'USRT%')) "
                      "OR \"TypeCode\" LIKE 'USRP%'"
                    : "SELECT DocCode FROM RDOC WHERE (Author <> 'System'  AND (TypeCode LIKE 'USRT%')) OR TypeCode "
                      "LIKE 'USRP%'");
  auto recordset = company.NewRecordset();
  recordset->DoQuery(sql);
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) {
    const std::string code = recordset->Field(0).toText();
    if (!code.empty()) codes.push_back(code);
  }
}

std::string DPX_PrintLayoutsManager::findTargetLayout(dpx::host::Company& company, const std::string& name,
                                                      const std::string& typeCode) {
  const bool quoted = company.DbServerType() == 5;
  // Both texts come from a record: neither may end the literal it stands in.
  const std::string sql = quoted ? "SELECT \"DocCode\" FROM RDOC WHERE (\"DocName\" = '" +
                                       DPX_Util::EscapeSqlText(name) + "' AND \"TypeCode\" = '" +
                                       DPX_Util::EscapeSqlText(typeCode) + "')"
                                 : "SELECT DocCode FROM RDOC WHERE (DocName = N'" + DPX_Util::EscapeSqlText(name) +
                                       "' AND TypeCode = '" + DPX_Util::EscapeSqlText(typeCode) + "')";
  auto recordset = company.NewRecordset();
  recordset->DoQuery(sql);
  if (recordset->RecordCount() < 1) return "";
  recordset->MoveFirst();
  return recordset->Field(0).toText();
}

std::shared_ptr<dpx::host::ServiceDocument> DPX_PrintLayoutsManager::getLayout(const ServicePtr& service,
                                                                               const std::string& code) {
  return service->GetLayout(Params(service, code));
}

std::string DPX_PrintLayoutsManager::unescapeXml(const ServicePtr& service, const std::string& code) {
  if (code.empty()) return "";
  auto layout = getLayout(service, code);
  std::string text;
  try {
    text = layout->GetAsXML();
  } catch (const dpx::HostError& e) {
    dpx::DPX_LogScope("DPX_PrintLayoutsManager::unescapeXml").LogError("Layout %s not rendered: %s", code, e.what());
    return "";
  }
  ReplaceAll(text, "&amp;gt;", "&gt;");
  ReplaceAll(text, "&amp;lt;", "&lt;");
  ReplaceAll(text, "&amp;quot;", "&quot;");
  return text;
}

void DPX_PrintLayoutsManager::writeAddLine(const std::string& code, const std::string& name, const std::string& error) {
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 3, code, name);
  if (code.empty()) line.fail(error);
  else line.result("402");
  line.write(true);
}

std::string DPX_PrintLayoutsManager::addLayout(const ServicePtr& service, const std::string& xml, bool writeLine,
                                               std::string& name, std::string& error) {
  auto layout = service->GetLayoutFromXML(xml);
  name = layout->property("Name");
  const std::string code = service->AddLayout(layout)->value("LayoutCode").toText();
  if (code.empty()) error = dpx::records::LastErrorText(*dpx::records::TargetCompany(m_context));
  if (writeLine) writeAddLine(code, name, error);
  return code;
}

std::string DPX_PrintLayoutsManager::addLayout(const ServicePtr& service, const std::string& xml) {
  std::string name, error;
  return addLayout(service, xml, true, name, error);
}

void DPX_PrintLayoutsManager::deleteLayout(const ServicePtr& service, const std::string& code) {
  service->DeleteLayout(Params(service, code));
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 0);
  line.result("402");
  line.targetCode(code);
  line.write(true);
}

int32_t DPX_PrintLayoutsManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                            std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_PrintLayoutsManager::readFromDB");
  DPX_OperationArgs block;
  block.set(m_categoryKey, "RDOC", 1, DPX_OperationArgs::kTableRows);
  auto base = dpx::records::BaseCompany(m_context);
  auto service = base->GetCompanyService()->GetReportLayoutService();
  std::vector<std::string> codes;
  if (chosen.empty()) {
    listLayouts(*base, codes);
  } else {
    for (const DPX_DetailRecord& record : chosen) {
      if (record.getKeyCount() < 2) continue;
      const std::string code =
          findTargetLayout(*base, record.getKeyValue(0).toText(), record.getKeyValue(1).toText());
      if (!code.empty()) codes.push_back(code);
    }
  }
  for (const std::string& code : codes) {
    std::string text = unescapeXml(service, code);
    if (text.empty()) continue;
    DPX_Util::RemoveUpToMarker(text);
    DPX_OperationArgs::DataItem item;
    item.xml = "<BOM>" + text + "</BOM>";
    block.dataItems.push_back(std::move(item));
  }
  blocks.push_back(std::move(block));
  return 0;
}

void DPX_PrintLayoutsManager::addLayoutRow(const std::string& name, const std::string& author,
                                           const std::string& remarks, const std::string& typeCode,
                                           const char* keyName, const char* valueName) {
  std::vector<std::string> row = {name};
  if (m_mode == 1) row.push_back(author);
  row.push_back(remarks);
  if (m_mode == 1) row.push_back(typeCode);
  m_tableInfo.setTextList(m_columns);
  m_tableInfo.addListRow(std::move(row));
  DPX_DetailRecord record;
  record.addKeyValue(keyName, dpx::Variant(name));
  record.addKeyValue("TypeCode", dpx::Variant(typeCode));
  record.addValue(valueName, dpx::Variant(name));
  record.addValue("TypeCode", dpx::Variant(typeCode));
  m_tableInfo.addRow(std::move(record));
}

DPX_TableInfo* DPX_PrintLayoutsManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_PrintLayoutsManager::collectDetails");
  initialize();
  auto base = dpx::records::BaseCompany(m_context);
  auto service = base->GetCompanyService()->GetReportLayoutService();
  std::vector<std::string> codes;
  listLayouts(*base, codes);
  for (const std::string& code : codes) {
    auto layout = getLayout(service, code);
    addLayoutRow(layout->property("Name"), layout->property("Author"), layout->property("Remarks"),
                 layout->property("TypeCode"), "CodeName", "Name");
  }
  return &m_tableInfo;
}

DPX_TableInfo* DPX_PrintLayoutsManager::readFromFile(dpx::ConfigurationSource* configuration) {
  dpx::DPX_LogScope scope("DPX_PrintLayoutsManager::readFromFile");
  initialize();
  if (!configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  if (blocks.empty()) return &m_tableInfo;
  for (const DPX_OperationArgs::DataItem& item : blocks.front().dataItems) {
    DPX_DOMParser parser;
    if (!LoadLayout(parser, item.xml)) {
      scope.LogError("A stored layout of %s could not be read", m_categoryKey);
      continue;
    }
    addLayoutRow(getChildText(parser, "Name"), m_mode == 1 ? getChildText(parser, "Author") : "",
                 getChildText(parser, "Remarks"), getChildText(parser, "TypeCode"), "DocName", "DocName");
  }
  return &m_tableInfo;
}

void DPX_PrintLayoutsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_PrintLayoutsManager::writeData");
  auto target = dpx::records::TargetCompany(m_context);
  auto service = target->GetCompanyService()->GetReportLayoutService();
  if (method == 0) {
    std::vector<std::string> codes;
    listLayouts(*target, codes, true);
    for (const std::string& code : codes) deleteLayout(service, code);
    return;
  }
  if (blocks.empty() || method > 4) return;
  for (const DPX_OperationArgs::DataItem& item : blocks.front().dataItems) {
    DPX_DOMParser parser;
    if (!LoadLayout(parser, item.xml)) {
      dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
      line.start(m_categoryKey, 3);
      line.fail("The stored layout is no XML");
      line.write(true);
      continue;
    }
    const std::string layoutXml = parser.serialize(true);
    if (method == 1) {
      addLayout(service, layoutXml);
      continue;
    }
    const std::string code = findTargetLayout(*target, getChildText(parser, "Name"), getChildText(parser, "TypeCode"));
    if (code.empty()) {
      if (method != 2) addLayout(service, layoutXml);
      continue;
    }
    if (method == 3) continue;
    // The old layout goes only once its replacement is there.
    std::string name, error;
    const std::string newCode = addLayout(service, layoutXml, false, name, error);
    if (!newCode.empty()) deleteLayout(service, code);
    writeAddLine(newCode, name, error);
  }
}
