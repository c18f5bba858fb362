// G/L settings for inventory: the element table of the inventory accounts.
#include "categories/finance/gl_settings_for_inventory_manager.h"

namespace {

DPX_PeriodAccountsDefinition Inventory() {
  DPX_PeriodAccountsDefinition d;
  d.root = "GLSettingsInventory";
  d.elements = {{"StockAccount"},           {"CostOfGoodsSold"},          {"AllocationAcc"},
                {"VarianceAcc"},            {"PriceDifferenceAccount"},   {"InventoryOffsetDecrease"},
                {"InventoryOffsetIncrease"}, {"SalesReturns"},            {"ExchangeRateDifferencesAcct"},
                {"GoodsClearingAcc"},       {"IncreaseGLAccount"},        {"DecreaseGLAccount"},
                {"WIPMaterialAccount"},     {"WIPMaterialVarianceAccount"}, {"ExpenseClearingAccount"}};
  return d;
}

}  // namespace

DPX_GLSettingsForInventoryManager::DPX_GLSettingsForInventoryManager(DPX_ConnectionContext* context,
                                                                     const std::string& categoryKey)
    : DPX_PeriodAccountsCategory(context, categoryKey, Inventory()) {}
