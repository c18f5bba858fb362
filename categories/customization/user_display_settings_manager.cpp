// User display settings through the column-preferences service.
#include "categories/customization/user_display_settings_manager.h"

#include "categories/category_support.h"
#include "categories/customization/user_menus_manager.h"
#include "engine/configuration_source.h"
#include "engine/connection_context.h"
#include "engine/di_record_support.h"
#include "engine/host_application.h"
#include "engine/operation_args.h"
#include "engine/resource_manager.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/column_preferences_service.h"
#include "platform/host/company.h"
#include "platform/host/company_service.h"
#include "platform/host/recordset.h"

namespace {

constexpr const char* kFirstTag = "<ColumnsPreferences>";
constexpr const char* kLastTag = "</ColumnsPreferences>";

void RemoveAll(std::string& text, const std::string& part) {
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
}

std::string Unescape(const std::string& text) {
  static const std::pair<const char*, char> entities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [entity, c] : entities)
      if (text.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
        out += c;
        i += std::char_traits<char>::length(entity);
        replaced = true;
        break;
      }
    if (!replaced) out += text[i++];
  }
  return out;
}

// Every pair of form and user; the statement is given in the company's own dialect.
std::shared_ptr<dpx::host::Recordset> QueryPairs(dpx::host::Company& company) {
  auto recordset = company.NewRecordset();
  recordset->DoQuery(company.DbServerType() == 5
             ? "SELECT CPRF.\"FormID\", CPRF.\"UserSign\", OUSR.USER_CODE, OUSR.U_NAME, CPRF.\"FormID\" FROM CPRF "
               "INNER JOIN OUSR ON CPRF.\"UserSign\" = OUSR.INTERNAL_K GROUP BY CPRF.\"FormID\", CPRF.\"UserSign\", "
               "OUSR.USER_CODE, OUSR.U_NAME"
             : "SELECT CPRF.FormID, CPRF.UserSign, OUSR.USER_CODE, OUSR.U_NAME, CPRF.FormID FROM CPRF INNER JOIN "
               "OUSR ON CPRF.UserSign = OUSR.INTERNAL_K GROUP BY CPRF.FormID, CPRF.UserSign, OUSR.USER_CODE, "
               "OUSR.U_NAME");
  return recordset;
}

}  // namespace

void insertUserElement(std::string& text, const std::string& userCode) {
  const size_t at = text.find(kFirstTag);
  if (at == std::string::npos) return;
  text.insert(at + std::char_traits<char>::length(kFirstTag), "<User>" + userCode + "</User>");
}

void removeUserElement(std::string& text) {
  const size_t open = text.find("<User>");
  if (open == std::string::npos) return;
  const size_t close = text.find("</User>", open);
  if (close == std::string::npos) return;
  RemoveAll(text, text.substr(open, close + 7 - open));
}

void wrapColumnsPreferences(std::string& text) { text = kFirstTag + text + kLastTag; }

std::string extractFormId(const std::string& text) {
  const size_t open = text.find("<FormID>");
  if (open == std::string::npos) return "";
  const size_t close = text.find("</FormID>", open);
  return close == std::string::npos ? "" : text.substr(open + 8, close - open - 8);
}

std::string userCodeOf(const std::string& record) {
  const size_t open = record.find("<User>");
  if (open == std::string::npos) return "";
  const size_t close = record.find("</User>", open);
  return close == std::string::npos ? "" : Unescape(record.substr(open + 6, close - open - 6));
}

DPX_UserDisplaySettingsManager::DPX_UserDisplaySettingsManager(DPX_ConnectionContext* context,
                                                               const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {
  m_keyColumns = {"FormID", "UserSign", "U_NAME"};
  m_columns = {"U_NAME", "FormID"};
  m_columnFlags = {0, 0};
}

bool DPX_UserDisplaySettingsManager::initialize() {
  m_tableInfo.setTableName("OUSR");
  m_tableInfo.setContext(m_context);
  std::vector<std::string> headings;
  std::vector<int32_t> types;
  m_tableInfo.readFieldTypes("OUSR", {"U_NAME"}, headings, types);
  m_tableInfo.readFieldTypes("CPRF", {"FormID"}, headings, types);
  // The form shows as its label.
  types.back() = DPX_SqlStatement::kAlpha;
  m_tableInfo.setColumns(headings, m_columnFlags, types);
  return true;
}

int32_t DPX_UserDisplaySettingsManager::formLabel(const std::string& formId, std::string& label) {
  const int64_t n = dpx::LeadingInt(formId);
  const std::string key = n < 0 ? std::to_string(-n) : formId;
  int32_t described = 0;
  auto application = m_context ? m_context->getApplication() : nullptr;
  if (application) {
    try {
      label = application->formDescription(key);
      described = 1;
    } catch (const dpx::HostError& e) {
      dpx::DPX_LogScope("DPX_UserDisplaySettingsManager::formLabel").LogInfo("Form %s not described: %s", key, e.what());
    }
  }
  if (n < 0) {
    std::string text;
    DPX_ResourceManager::loadString(147, DPX_Util::HostLanguage(application), text);
    label += " [" + text + "]";
  }
  label += " (" + formId + ")";
  return described;
}

DPX_TableInfo* DPX_UserDisplaySettingsManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_UserDisplaySettingsManager::collectDetails");
  initialize();
  auto recordset = QueryPairs(*dpx::records::BaseCompany(m_context));
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext()) {
    std::vector<std::string> row = readListRows(*recordset, m_keyColumns, m_columns);
    if (row.size() < 2) continue;
    std::string label = row[1];
    formLabel(row[1], label);
    row[1] = label;
    m_tableInfo.addListRow(std::move(row));
  }
  return &m_tableInfo;
}

DPX_TableInfo* DPX_UserDisplaySettingsManager::readFromFile(dpx::ConfigurationSource* configuration) {
  if (!configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  if (blocks.empty()) return &m_tableInfo;
  initialize();
  for (const DPX_OperationArgs::DataItem& item : blocks.front().dataItems) {
    std::string label;
    formLabel(extractFormId(item.xml), label);
    m_tableInfo.addListRow({userCodeOf(item.xml), label});
  }
  m_tableInfo.setTextList(m_columns);
  return &m_tableInfo;
}

int32_t DPX_UserDisplaySettingsManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                                   std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_UserDisplaySettingsManager::readFromDB");
  DPX_OperationArgs block;
  block.set(m_categoryKey, "CPRF", 1, DPX_OperationArgs::kTableRows);
  auto base = dpx::records::BaseCompany(m_context);
  auto service = base->GetCompanyService()->GetColumnPreferencesService();
  auto params = service->GetDataInterface(dpx::host::ColumnPreferencesService::kParams);
  struct Pair {
    std::string form;
    int64_t user;
    std::string code;
  };
  std::vector<Pair> pairs;
  if (chosen.empty()) {
    auto recordset = QueryPairs(*base);
    for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext())
      pairs.push_back({recordset->Field(0).toText(), recordset->Field(1).toInt64(), recordset->Field(2).toText()});
  } else {
    for (const DPX_DetailRecord& record : chosen)
      if (record.getKeyCount() >= 3)
        pairs.push_back({record.getKeyValue(0).toText(), dpx::LeadingInt(record.getKeyValue(1).toText()),
                         record.getKeyValue(2).toText()});
  }
  for (const Pair& pair : pairs) {
    params->setValue("FormID", dpx::Variant(pair.form));
    params->setValue("User", dpx::Variant(pair.user));
    std::string xml = service->GetColumnsPreferences(params)->GetAsXML();
    DPX_Util::RemoveUpToMarker(xml);
    if (xml == "<ColumnsPreferences />") continue;
    std::string record = "<BOM>" + xml + "</BOM>";
    insertUserElement(record, DPX_Util::EscapeXML(pair.code));
    block.dataItems.push_back(dpx::categories::Record(std::move(record)));
  }
  blocks.push_back(std::move(block));
  return 0;
}

void DPX_UserDisplaySettingsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_UserDisplaySettingsManager::writeData");
  if (method == 0 || blocks.empty()) return;
  DPX_UserColumnsPreferences group;
  std::string groupCode;
  bool open = false;
  auto flush = [&] {
    if (open && group.user != -1) writeUserPreferences(groupCode, group);
  };
  for (const DPX_OperationArgs::DataItem& item : blocks.front().dataItems) {
    const std::string code = userCodeOf(item.xml);
    const int64_t user = TargetUserId(m_context, code);
    if (!open || user != group.user) {
      flush();
      group = {user, ""};
      groupCode = code;
      open = true;
    }
    std::string entries = item.xml;
    RemoveAll(entries, "<BOM>");
    RemoveAll(entries, "</BOM>");
    removeUserElement(entries);
    DPX_Util::RemoveUpToMarker(entries);
    RemoveAll(entries, kFirstTag);
    RemoveAll(entries, kLastTag);
    group.text += entries;
  }
  flush();
}

int32_t DPX_UserDisplaySettingsManager::writeUserPreferences(const std::string& userCode,
                                                             const DPX_UserColumnsPreferences& group) {
  dpx::DPX_LogScope scope("DPX_UserDisplaySettingsManager::writeUserPreferences");
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2);
  line.baseCode(userCode);
  line.targetCode(userCode);
  int32_t result = -1;
  try {
    auto service = dpx::records::TargetCompany(m_context)->GetCompanyService()->GetColumnPreferencesService();
    auto params = service->GetDataInterface(dpx::host::ColumnPreferencesService::kParams);
    params->setValue("User", dpx::Variant(group.user));
    std::string text = group.text;
    wrapColumnsPreferences(text);
    result = service->UpdateColumnsPreferences(
        params, service->GetPreferencesFromXML("<?xml version=\"1.0\" encoding=\"UTF-16\" ?>" + text));
    line.result(result == 0 ? "402" : "403");
  } catch (const dpx::HostError& e) {
    const std::string description = dpx::categories::ErrorText(e);
    line.fail(description.empty() ? "Invalid User" : description);
    scope.LogError("Preferences of user %s not written: %s", userCode, e.what());
  }
  line.write(true);
  return result;
}
