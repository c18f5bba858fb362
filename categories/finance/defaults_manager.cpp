// Users' defaults: the groups first, then each existing user's group.
#include "categories/finance/defaults_manager.h"

#include "engine/di_record_support.h"
#include "platform/framework/log_scope.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"

namespace {

constexpr int32_t kUserType = 12;

DPX_DependentBlock Groups() {
  DPX_DependentBlock groups;
  groups.table = "OUDG";
  groups.objectType = 93;
  groups.keyColumns = {"Code"};
  groups.listColumns = {"Code"};
  groups.matchProperty = "Code";
  groups.matchColumn = "Code";
  groups.fixedMethod = 4;
  return groups;
}

}  // namespace

DPX_DefaultsManager::DPX_DefaultsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_UserDefaultsCategory(context, categoryKey, true, false, {Groups()}) {}

void DPX_DefaultsManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_DefaultsManager::writeData");
  if (method == 0) return;
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == m_definition.table)
      writeUsersGroups(block);
    else if (!writeDependentBlocks(block, method))
      logUnknownTable(block.tableName, method);
  }
  m_logRecords = 1;
}

void DPX_DefaultsManager::writeUsersGroups(DPX_OperationArgs& block) {
  dpx::DPX_LogScope scope("DPX_DefaultsManager::writeUsersGroups");
  m_logRecords = 1;
  block.context = m_context;
  block.set(m_categoryKey, m_definition.table, 0, kUserType);
  // Method 2: the users the target lacks are dropped.
  compareWithTarget(block, m_definition.matchProperty, m_definition.matchColumn, m_keyColumns, m_listColumns, 2);
  auto target = dpx::records::TargetCompany(m_context);
  auto user = target->GetBusinessObject(kUserType);
  for (const DPX_OperationArgs::DataItem& item : block.dataItems) {
    dpx::records::LogLine line(dpx::records::CurrentCopyLog(m_context));
    line.start(m_categoryKey, 2);
    try {
      auto record = target->GetBusinessObjectFromXML(item.xml, 0);
      const std::string group = dpx::records::PropertyText(*record, "Defaults");
      line.baseCode(dpx::records::PropertyText(*record, "UserCode"));
      line.baseDescription(group);
      if (item.keyValues.empty() || !dpx::records::GetByKey(*user, item.keyValues)) {
        const std::string text = dpx::records::LastErrorText(*target);
        line.fail(text.empty() ? "The user was not found in the target" : text);
      } else {
        line.targetCode(dpx::records::PropertyText(*user, "UserCode"));
        line.targetDescription(dpx::records::PropertyText(*user, "Defaults"));
        const dpx::HRESULT hr = user->put("Defaults", dpx::Variant(group));
        dpx::Variant result;
        if (dpx::Succeeded(hr) && dpx::Succeeded(user->invoke("Update", {}, result)) && result.toInt32() == 0)
          line.result("402");
        else
          line.fail(dpx::records::LastErrorText(*target));
      }
    } catch (const dpx::HostError& e) {
      scope.LogError("The defaults group of a user was not changed: %s", e.what());
      const std::string text = dpx::records::LastErrorText(*target);
      line.fail(text.empty() ? std::string(e.what()) : text);
    }
    line.write(true);
  }
}
