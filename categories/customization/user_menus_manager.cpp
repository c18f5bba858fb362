// User menus through the user-menu service.
#include "categories/customization/user_menus_manager.h"

#include "categories/customization/user_display_settings_manager.h"
#include "categories/category_support.h"
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
#include "platform/host/user_menu_service.h"

namespace {

constexpr const char* kUserList = "SELECT INTERNAL_K, USER_CODE, USER_CODE, U_NAME FROM OUSR";

void RemoveAll(std::string& text, const std::string& part) {
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
}

}  // namespace

int64_t TargetUserId(DPX_ConnectionContext* context, const std::string& userCode) {
  auto recordset = dpx::records::TargetCompany(context)->NewRecordset();
  recordset->DoQuery("SELECT INTERNAL_K FROM OUSR WHERE USER_CODE = '" + DPX_Util::EscapeSqlText(userCode) + "'");
  if (recordset->RecordCount() < 1) return -1;
  recordset->MoveFirst();
  return recordset->Field(0).toInt64();
}

DPX_UserMenusManager::DPX_UserMenusManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_DIInterface(context, categoryKey) {
  m_keyColumns = {"INTERNAL_K", "USER_CODE"};
  m_columns = {"USER_CODE", "U_NAME"};
  m_columnFlags = {0, 0};
}

bool DPX_UserMenusManager::initialize() {
  dpx::records::DescribeColumns(m_tableInfo, m_context, "OUSR", m_columns, m_columnFlags);
  return true;
}

DPX_TableInfo* DPX_UserMenusManager::collectDetails() {
  dpx::DPX_LogScope scope("DPX_UserMenusManager::collectDetails");
  initialize();
  auto recordset = queryBaseList(kUserList);
  for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext())
    m_tableInfo.addListRow(readListRows(*recordset, m_keyColumns, m_columns));
  return &m_tableInfo;
}

int32_t DPX_UserMenusManager::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_UserMenusManager::readFromDB");
  DPX_OperationArgs block;
  block.setWithValues(m_categoryKey, "CUMI", m_context, 0, DPX_OperationArgs::kTableRows);
  auto base = dpx::records::BaseCompany(m_context);
  auto service = base->GetCompanyService()->GetUserMenuService();
  auto params = service->GetDataInterface(dpx::host::UserMenuService::kParams);
  std::vector<std::pair<int64_t, std::string>> users;
  if (chosen.empty()) {
    auto recordset = queryBaseList(kUserList);
    for (recordset->MoveFirst(); !recordset->EoF(); recordset->MoveNext())
      users.emplace_back(recordset->Field(0).toInt64(), recordset->Field(1).toText());
  } else {
    for (const DPX_DetailRecord& record : chosen)
      if (record.getKeyCount() >= 2)
        users.emplace_back(dpx::LeadingInt(record.getKeyValue(0).toText()), record.getKeyValue(1).toText());
  }
  for (const auto& [id, code] : users) {
    params->setValue("UserId", dpx::Variant(id));
    std::string xml = service->GetUserMenu(params)->GetAsXML();
    DPX_Util::RemoveUpToMarker(xml);
    block.dataItems.push_back(
        dpx::categories::Record("<BOM><User>" + DPX_Util::EscapeXML(code) + "</User>" + xml + "</BOM>"));
  }
  blocks.push_back(std::move(block));
  return 0;
}

DPX_TableInfo* DPX_UserMenusManager::readFromFile(dpx::ConfigurationSource* configuration) {
  if (!configuration) return &m_tableInfo;
  std::vector<DPX_OperationArgs> blocks;
  configuration->getData(m_categoryKey, blocks);
  if (blocks.empty()) return &m_tableInfo;
  initialize();
  for (const DPX_OperationArgs::DataItem& item : blocks.front().dataItems) {
    const std::string code = userCodeOf(item.xml);
    DPX_DetailRecord record;
    record.addKeyValue("USER_CODE", dpx::Variant(code));
    record.addValue("USER_CODE", dpx::Variant(code));
    m_tableInfo.addRow(std::move(record));
    m_tableInfo.addListRow({code, ""});
  }
  return &m_tableInfo;
}

void DPX_UserMenusManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_UserMenusManager::writeData");
  if (method == 0 || blocks.empty()) return;
  for (const DPX_OperationArgs::DataItem& item : blocks.front().dataItems) {
    const std::string code = userCodeOf(item.xml);
    const int64_t id = getUserId(code);
    if (id == -1) continue;  // the target has no such user
    std::string menu = item.xml;
    RemoveAll(menu, "<BOM>");
    RemoveAll(menu, "</BOM>");
    removeUserElement(menu);
    writeUserMenu(id, code, menu);
  }
}

void DPX_UserMenusManager::writeUserMenu(int64_t userId, const std::string& userCode, const std::string& menuXml) {
  dpx::DPX_LogScope scope("DPX_UserMenusManager::writeUserMenu");
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2, std::to_string(userId), userCode);
  line.targetCode(std::to_string(userId));
  line.targetDescription(userCode);
  line.targetFormerDescription(userCode);
  try {
    auto service = dpx::records::TargetCompany(m_context)->GetCompanyService()->GetUserMenuService();
    auto params = service->GetDataInterface(dpx::host::UserMenuService::kParams);
    params->setValue("UserId", dpx::Variant(userId));
    auto menu = service->GetUserMenu(params);
    for (int i = menu->Count() - 1; i >= 0; --i) menu->Remove(i);
    DPX_DOMParser parser;
    if (!parser.loadXML(menuXml))
      throw dpx::HostError(dpx::E_INVALIDARG, "DPX_UserMenusManager", "The stored menu is no XML");
    for (bool entry = parser.move(0, true); entry; entry = parser.move(1, true))
      menu->SetEntryFromXML(menu->Add(), parser.serialize(false));
    line.result(service->StoreUserMenu(params, menu) == 0 ? "402" : "403");
  } catch (const dpx::HostError& e) {
    line.fail(dpx::categories::ErrorText(e));
    scope.LogError("Menu of user %s not written: %s", userCode, e.what());
  }
  line.write(true);
}
