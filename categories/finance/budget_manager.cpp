// Budgets: the business-object family with two tables the budgets need.
#include "categories/finance/budget_manager.h"

namespace {

DPX_DependentBlock NamedObjects(const char* table, int32_t objectType, const char* keyColumn, const char* property,
                                const char* column) {
  DPX_DependentBlock block;
  block.table = table;
  block.objectType = objectType;
  block.keyColumns = {keyColumn};
  block.listColumns = {property, property};
  block.matchProperty = property;
  block.matchColumn = column;
  block.fixedMethod = 4;
  return block;
}

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{77, "OBGT", "", "", "", ""};
  d.matchProperties = {"BudgetScenario", "AccountCode"};
  d.matchColumns = {"Instance", "AcctCode", "BgdCode"};
  // An account travels by its name, whatever the charts' account flag.
  d.references = {{"AccountCode", "", "OACT", "AcctCode", {"AcctName"}, 0},
                  {"BudgetScenario", "", "OBGS", "AbsId", {"Name"}, 2},
                  {"DivisionCode", "", "OBGD", "BgdCode", {"BgdName"}, 2}};
  d.dependents = {NamedObjects("OBGS", 91, "AbsId", "Name", "Name"),
                  NamedObjects("OBGD", 78, "BgdCode", "Description", "BgdName")};
  d.listTexts = {DPX_ListText::ObjectName(0, 91, "Name"), DPX_ListText::Lookup(1, "OACT", "AcctCode", "AcctName"),
                 DPX_ListText::ObjectName(2, 78, "Description")};
  return d;
}

}  // namespace

DPX_BudgetManager::DPX_BudgetManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"AbsId"};
  m_keyProperties = {"BudgetScenario", "AccountCode"};
  m_columns = {"Instance", "AcctCode", "BgdCode"};
  m_properties = {"BudgetScenario", "AccountCode", "DivisionCode"};
  m_columnFlags = {0, 0, 0};
  m_listColumns = {"BudgetScenario", "AccountCode"};
}
