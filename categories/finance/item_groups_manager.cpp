// Item groups: the business-object family with a cycle and account references.
#include "categories/finance/item_groups_manager.h"

namespace {

const char* const kAccounts[] = {
    "InventoryAccount", "CostAccount", "CostOfGoodsSold", "TransfersAccount", "RevenuesAccount", "VarianceAccount",
    "DecreasingAccount", "IncreasingAccount", "ReturningAccount", "ExpensesAccount", "EURevenuesAccount",
    "EUExpensesAccount", "ForeignRevenuesAccount", "ForeignExpensesAccount", "ExemptRevenuesAccount",
    "PriceDifferencesAccount", "ExchangeRateDifferencesAccount", "GoodsClearingAccount", "PurchaseAccount",
    "PAReturnAccount", "PurchaseOffsetAccount", "DecreaseGLAccount", "IncreaseGLAccount",
    "StockInflationAdjustAccount", "StockInflationOffsetAccount", "WIPMaterialAccount", "WIPMaterialVarianceAccount",
    "CostInflationAccount", "CostInflationOffsetAccount", "ExpenseClearingAct", "ExpenseOffsetAccount",
    "SalesCreditAcc", "SalesCreditForeignAcc", "SalesCreditEUAcc", "PurchaseCreditAcc", "ForeignPurchaseCreditAcc",
    "EUPurchaseCreditAcc", "NegativeInventoryAdjustmentAccount"};

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{52, "OITB", "", "GroupName", "ItmsGrpNam", ""};
  d.references = {{"CycleCode", "", "OCYC", "Code", {"Name"}}};
  for (const char* account : kAccounts) d.references.push_back(DPX_AccountReference(account));
  // The same text on every server type.
  d.removalStatement = "DELETE FROM AITB";
  return d;
}

}  // namespace

DPX_ItemGroupsManager::DPX_ItemGroupsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"ItmsGrpCod"};
  m_keyProperties = {"GroupName"};
  m_columns = {"ItmsGrpNam"};
  m_properties = {"GroupName"};
  m_listColumns = {"Number", "GroupName"};
  m_columnFlags = {1};
}
