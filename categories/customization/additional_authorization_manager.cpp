// Additional authorizations: a business-object category in level order.
#include "categories/customization/additional_authorization_manager.h"

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
