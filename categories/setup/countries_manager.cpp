// Countries with their states: a table category with a dependent table.
#include "categories/setup/countries_manager.h"

DPX_TableCategoryDefinition DPX_CountriesManager::Definition() {
  DPX_TableCategoryDefinition d;
  d.table = "OCRY";
  d.listSql = "SELECT Code, Name, ReportCode, IsEC, TaxIdDigts FROM OCRY";
  d.counterObjectType = -1;
  d.counterKeyColumn = "Code";
  DPX_DependentBlock states = DPX_PlainRows("OCST", {"Code", "Country"}, {"Code", "Name"}, -1, "Code");
  states.afterMainTable = true;
  // A state names its country by the country's code: a name may change or repeat.
  states.references = {{"Country", "", "OCRY", "Code", {"Code"}, 0}};
  states.removalFilter = "WHERE Country IN (SELECT Code FROM OCRY)";
  states.removalFilterQuoted = "WHERE \"Country\" IN (SELECT \"Code\" FROM OCRY)";
  d.dependents = {states};
  d.keyColumns = {"Code"};
  d.columns = {"Name", "ReportCode", "IsEC", "TaxIdDigts"};
  d.columnFlags = {1, 0, 0, 0};
  d.logColumns = {"Code", "Name"};
  return d;
}

DPX_CountriesManager::DPX_CountriesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey, Definition()) {}
