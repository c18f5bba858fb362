// Sales employees: the business-object family for OSLP, with the lookup
// tables and the employees read and written ahead of it.
#include "categories/setup/sales_employees_manager.h"

#include "categories/key_by_name.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "platform/framework/log_scope.h"

namespace {

constexpr const char* kSalesEmployees = "SELECT SlpCode FROM OSLP WHERE SlpCode <> -1";

// The employee's references other than its manager, translated before it is written.
const std::vector<DPX_ReferenceField>& EmployeeReferences() {
  static const std::vector<DPX_ReferenceField> references = {
      {"Department", "", "OUDP", "Code", {"Name"}, 2},
      {"Branch", "", "OUBR", "Code", {"Name"}, 2},
      {"WorkCountryCode", "", "OCRY", "Code", {"Name"}, 0},
      {"HomeCountry", "", "OCRY", "Code", {"Name"}, 0},
      {"CitizenshipCountryCode", "", "OCRY", "Code", {"Name"}, 0},
      {"CountryOfBirth", "", "OCRY", "Code", {"Name"}, 0},
      {"WorkStateCode", "", "OCST", "Code", {"Name"}, 0},
      {"HomeState", "", "OCST", "Code", {"Name"}, 0},
      {"ApplicationUserID", "", "OUSR", "USERID", {"U_NAME"}, 2}};
  return references;
}

const DPX_ReferenceField kManager{"Manager", "", "OHEM", "empID", {"lastName", "firstName"}, 2};

const std::vector<std::string> kEmployeeNames = {"LastName", "FirstName"};
const std::vector<std::string> kEmployeeNameColumns = {"lastName", "firstName"};

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{53, "OSLP", kSalesEmployees, "SalesEmployeeName", "SlpName", kSalesEmployees};
  d.references = {{"CommissionGroup", "", "OCOG", "GroupCode", {"GroupName"}, 2},
                  {"EmployeeID", "", "OHEM", "empID", {"lastName", "firstName"}, 2}};
  // The record list shows the commission group by its name.
  d.listTexts = {DPX_ListText::ObjectName(3, 65, "CommissionGroupName")};
  d.keyColumns = {"SlpCode"};
  d.keyProperties = {"SalesEmployeeName"};
  d.columns = {"SlpCode", "SlpName", "Memo", "GroupCode", "Commission"};
  d.properties = {"SalesEmployeeCode", "SalesEmployeeName", "Remarks", "CommissionGroup",
                  "CommissionForSalesEmployee"};
  d.columnFlags = {0, 1, 1, 0, 0};
  d.listProperties = {"SalesEmployeeName", "Remarks"};
  return d;
}

const DPX_SalesEmployeesManager::LookupTable* FindLookup(const std::string& table) {
  for (const auto& lookup : DPX_SalesEmployeesManager::lookupTables())
    if (table == lookup.table) return &lookup;
  return nullptr;
}

}  // namespace

const std::vector<DPX_SalesEmployeesManager::LookupTable>& DPX_SalesEmployeesManager::lookupTables() {
  static const std::vector<LookupTable> tables = {
      {"OHTY", "typeID", "SELECT * FROM OHTY WHERE locked = 'N'", 172},
      {"OHTR", "reasonID", "", 174},
      {"OHST", "statusID", "", 173},
      {"OHPS", "posID", "", 210},
      {"OHED", "edType", "SELECT * FROM OHED WHERE Locked = 'N'", 175}};
  return tables;
}

DPX_SalesEmployeesManager::DPX_SalesEmployeesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}

int32_t DPX_SalesEmployeesManager::readFromDB(std::vector<DPX_OperationArgs>& blocks,
                                              std::vector<DPX_DetailRecord> chosen) {
  dpx::DPX_LogScope scope("DPX_SalesEmployeesManager::readFromDB");
  // Every lookup row and every employee travels, whichever sales employees were chosen.
  for (const LookupTable& lookup : lookupTables()) {
    DPX_OperationArgs rows = readBaseTable(lookup.table, lookup.readSql, 0);
    if (!rows.dataItems.empty()) blocks.push_back(std::move(rows));
  }
  DPX_OperationArgs employees = readBaseRecords(171, "OHEM", {"empID"}, "SELECT empID FROM OHEM ORDER BY manager");
  if (!employees.dataItems.empty()) {
    std::vector<DPX_ReferenceField> references = EmployeeReferences();
    references.push_back(kManager);
    dpx::categories::ResolveReferences(*this, m_context, employees, references);
    blocks.push_back(std::move(employees));
  }
  return DPX_ObjectCategory::readFromDB(blocks, std::move(chosen));
}

void DPX_SalesEmployeesManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_SalesEmployeesManager::writeData");
  for (DPX_OperationArgs& block : blocks) {
    if (block.tableName == m_definition.table) {
      writeMainBlock(block, method);
    } else if (method == 0) {
      continue;  // the removal pass removes sales employees only
    } else if (const LookupTable* lookup = FindLookup(block.tableName)) {
      writeLookupRows(block, *lookup);
    } else if (block.tableName == "OHEM") {
      writeEmployees(block);
    } else {
      logUnknownTable(block.tableName, method);
    }
  }
  m_logRecords = 1;
}

void DPX_SalesEmployeesManager::writeLookupRows(DPX_OperationArgs& block, const LookupTable& lookup) {
  m_logRecords = 0;
  block.setWithValues(m_categoryKey, lookup.table, m_context, 1, DPX_OperationArgs::kTableRows);
  // Every row stays, marked found or not by its name; the key follows in mapReferences.
  buildTableXml(block, {"name"}, {lookup.keyColumn, "name"}, {"name"}, 4);
  copyTableRecords(block, lookup.counterObjectType, lookup.keyColumn);
  m_logRecords = 1;
}

void DPX_SalesEmployeesManager::writeEmployees(DPX_OperationArgs& block) {
  m_logRecords = 0;
  block.context = m_context;
  block.set(m_categoryKey, "OHEM", 0, 171);
  dpx::categories::MapReferencesToTarget(*this, m_context, block, EmployeeReferences());

  // A manager can be found only once it is in the target: the employees go
  // in without the managers their records name, ...
  DPX_OperationArgs managed = block;
  managed.dataItems.clear();
  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    std::string without = dpx::recordtext::WithoutDependencyRecords(item.xml, kManager.field);
    if (without != item.xml) managed.dataItems.push_back(item);
    item.xml = std::move(without);
  }
  compareRecordsWithTarget(block, kEmployeeNames, kEmployeeNameColumns, {"empID"}, kEmployeeNames, 4);
  copyRecords(block);

  // ... and those that name one are given it when all of them are there.
  if (!managed.dataItems.empty()) {
    mapDependencyToTarget(managed, kManager.field, "row", kManager.declared());
    compareRecordsWithTarget(managed, kEmployeeNames, kEmployeeNameColumns, {"empID"}, kEmployeeNames, 2);
    updateTargetRecords(managed);
  }
  m_logRecords = 1;
}

void DPX_SalesEmployeesManager::mapReferences(std::string table, std::string& xml, int32_t mode) {
  const LookupTable* lookup = FindLookup(table);
  if (!lookup) return;
  dpx::categories::MapKeyByNameOrNextNumber(m_context, lookup->table, xml, mode, lookup->keyColumn, "name");
}
