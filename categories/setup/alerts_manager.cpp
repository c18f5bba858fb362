// Alerts with their recipients: a table category with a dependent table.
#include "categories/setup/alerts_manager.h"

#include "engine/detail_record.h"
#include "engine/operation_args.h"

DPX_TableCategoryDefinition DPX_AlertsManager::Definition() {
  DPX_TableCategoryDefinition d;
  d.table = "OALT";
  // Keyed by name: a chosen alert is read again by its name.
  d.listSql = "SELECT Name, Name, Type, Priority FROM OALT WHERE Type = 'U'";
  d.counterObjectType = 80;
  d.counterKeyColumn = "Code";
  // A system alert may bear a user alert's name: only user alerts are counterparts.
  d.matchColumns = {"Name", "Type"};
  d.deleteFilter = "WHERE Type = 'U'";
  d.deleteFilterQuoted = "WHERE \"Type\" = 'U'";
  d.readAllSql = "SELECT * FROM OALT WHERE Type = 'U'";
  d.newKeys = true;
  d.references = {{"QueryId", "", "OUQR", "IntrnalKey", {"QName"}}};
  DPX_DependentBlock recipients =
      DPX_PlainRows("ALT1", {"Code", "UserSign"}, {"Code", "UserSign"}, -1, "Code");
  recipients.afterMainTable = true;
  recipients.parentColumn = "Code";
  recipients.references = {{"UserSign", "", "OUSR", "USERID", {"USER_CODE"}}};
  recipients.removalFilter = "WHERE Code IN (SELECT Code FROM OALT WHERE Type = 'U')";
  recipients.removalFilterQuoted = "WHERE \"Code\" IN (SELECT \"Code\" FROM OALT WHERE \"Type\" = 'U')";
  d.dependents = {recipients};
  d.keyColumns = {"Name"};
  d.columns = {"Name", "Type", "Priority"};
  d.columnFlags = {1, 0, 0};
  d.logColumns = {"Code", "Name"};
  return d;
}

DPX_AlertsManager::DPX_AlertsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey, Definition()) {}

int32_t DPX_AlertsManager::readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) {
  // A chosen alert is read again by its name, among the user alerts only.
  for (DPX_DetailRecord& record : chosen)
    if (record.getKeyCount() > 0) record.addKeyValue("Type", dpx::Variant(std::string("U")));
  return DPX_TableCategory::readFromDB(blocks, std::move(chosen));
}
