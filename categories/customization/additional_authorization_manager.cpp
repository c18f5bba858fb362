// Additional authorizations: a business-object category in level order.
#include "categories/customization/additional_authorization_manager.h"

#include <algorithm>

#include "engine/operation_args.h"

DPX_ObjectCategoryDefinition DPX_AdditionalAuthorizationManager::Definition() {
  DPX_ObjectCategoryDefinition d;
  d.objectType = 214;
  d.table = "OUPT";
  d.keyQuery = "SELECT AbsId FROM OUPT ORDER BY Levels";
  d.matchProperty = "PermissionID";
  d.matchColumn = "AbsId";
  d.removalSql = "SELECT AbsId FROM OUPT ORDER BY Levels DESC";
  d.keyColumns = {"AbsId"};
  d.keyProperties = {"PermissionID"};
  d.columns = {"AbsId", "Name", "Levels", "IsItem"};
  d.properties = {"PermissionID", "Name", "Levels", "IsItem"};
  d.columnFlags = {0, 0, 0, 0};
  d.listProperties = {"Name", "Levels"};
  return d;
}

DPX_AdditionalAuthorizationManager::DPX_AdditionalAuthorizationManager(DPX_ConnectionContext* context,
                                                                       const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}

void DPX_AdditionalAuthorizationManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  const auto first = std::find_if(blocks.begin(), blocks.end(),
                                  [](const DPX_OperationArgs& block) { return block.tableName == "OUPT"; });
  if (first == blocks.end()) return DPX_ObjectCategory::writeData(std::move(blocks), method);
  std::vector<DPX_OperationArgs> entries;
  entries.push_back(std::move(*first));
  DPX_ObjectCategory::writeData(std::move(entries), method);
}
