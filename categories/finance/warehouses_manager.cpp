// Warehouses: the business-object family with the locations written first.
#include "categories/finance/warehouses_manager.h"

namespace {

const char* const kAccounts[] = {
    "StockAccount", "CostOfGoodsSold", "TransfersAcc", "RevenuesAccount", "VarianceAccount", "DecreasingAccount",
    "IncreasingAcc", "ReturningAccount", "ExpenseAccount", "EURevenuesAccount", "EUExpensesAccount",
    "ForeignRevenuesAcc", "ForeignExpensesAccount", "ExemptRevenuesAccount", "PriceDifferencesAccount",
    "GoodsClearingAcc", "PurchaseAccount", "PurchaseReturningAccount", "PurchaseOffsetAccount", "DecreaseGLAccount",
    "IncreaseGLAccount", "StockInflationAdjustAccount", "StockInflationOffsetAccount", "WIPMaterialAccount",
    "WIPMaterialVarianceAccount", "CostInflationAccount", "CostInflationOffsetAccount", "ExpensesClearingAccount",
    "ExpenseOffsetingAct", "SalesCreditAcc", "SalesCreditForeignAcc", "SalesCreditEUAcc", "PurchaseCreditAcc",
    "ForeignPurchaseCreditAcc", "EUPurchaseCreditAcc", "NegativeInventoryAdjustmentAccount",
    "ExchangeRateDifferencesAccount"};

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{64, "OWHS", "", "WarehouseCode", "WhsCode", ""};
  d.references = {{"Location", "", "OLCT", "Code", {"Location"}}};
  for (const char* account : kAccounts) d.references.push_back(DPX_AccountReference(account));
  // Locations by name, update only, in every pass.
  DPX_DependentBlock locations;
  locations.table = "OLCT";
  locations.objectType = 144;
  locations.keyColumns = {"Code"};
  locations.listColumns = {"Code", "Name"};
  locations.matchProperty = "Name";
  locations.matchColumn = "Location";
  locations.fixedMethod = 2;
  locations.inRemovalPass = true;
  d.dependents = {locations};
  d.listTexts = {DPX_ListText::ObjectName(2, 144, "Name")};
  return d;
}

}  // namespace

DPX_WarehousesManager::DPX_WarehousesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"WhsCode"};
  m_keyProperties = {"WarehouseCode"};
  m_columns = {"WhsCode", "WhsName", "Location", "DropShip", "UseTax", "Street",
               "County",  "ZipCode", "City",     "Country",  "State",  "FedTaxID"};
  m_properties = {"WarehouseCode", "WarehouseName", "Location", "DropShip", "AllowUseTax", "Street",
                  "County",        "ZipCode",       "City",     "Country",  "State",       "FederalTaxID"};
  m_listColumns = {"WarehouseCode", "WarehouseName"};
  m_columnFlags = {0, 1, 0, 0, 0, 1, 1, 1, 1, 0, 0, 1};
}
