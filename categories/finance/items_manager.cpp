// Items: the business-object family with twenty references.
#include "categories/finance/items_manager.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{4, "OITM", "", "ItemCode", "ItemCode", ""};
  d.references = {{"CycleCode", "ItemCycleCount", "OCYC", "Code", {"Name"}},
                  {"ItemsGroupCode", "", "OITB", "ItmsGrpCod", {"ItmsGrpNam"}},
                  {"CommissionGroupCode", "", "OCOG", "GroupCode", {"GroupName"}}};
  for (const char* unit : {"PurchaseWeightUnit", "SalesWeightUnit"})
    d.references.push_back({unit, "", "OWGT", "UnitCode", {"UnitName"}});
  for (const char* unit : {"PurchaseVolumeUnit", "PurchaseLengthUnit", "PurchaseWidthUnit", "PurchaseHeightUnit",
                           "SalesVolumeUnit", "SalesLengthUnit", "SalesWidthUnit", "SalesHeightUnit"})
    d.references.push_back({unit, "", "OLGT", "UnitCode", {"UnitName"}});
  d.references.push_back({"Manufacturer", "", "OMRC", "FirmCode", {"FirmName"}});
  d.references.push_back({"ShipType", "", "OSHP", "TrnspCode", {"TrnspName"}});
  d.references.push_back({"OrderIntervals", "", "OCYC", "Code", {"Name"}});
  for (const char* account : {"RevenuesAccount", "ExpensesAccount", "PurchaseCreditAcc", "SalesCreditAcc"})
    d.references.push_back(DPX_AccountReference(account, "ItemWarehouseInfo"));
  // Item, Labor, Travel.
  d.listTexts = {DPX_ListText::StringTable(1, {{{"0"}, 13}, {{"1"}, 14}}, 15),
                 DPX_ListText::ObjectName(4, 52, "GroupName"), DPX_ListText::ObjectName(5, 43, "ManufacturerName")};
  return d;
}

}  // namespace

DPX_ItemsManager::DPX_ItemsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"ItemCode"};
  m_keyProperties = {"ItemCode"};
  m_columns = {"ItemCode",   "ItemType", "ItemName",  "FrgnName",  "ItmsGrpCod", "FirmCode",  "CodeBars",
               "PrchseItem", "SellItem", "InvntItem", "AssetItem", "WTLiable",   "validFor", "frozenFor"};
  m_properties = {"ItemCode",     "ItemType",  "ItemName",      "ForeignName", "ItemsGroupCode",
                  "Manufacturer", "BarCode",   "PurchaseItem",  "SalesItem",   "InventoryItem",
                  "AssetItem",    "WTLiable",  "ValidTo",       "FrozenTo"};
  m_listColumns = {"ItemCode", "ItemName"};
  m_columnFlags = {0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
}
