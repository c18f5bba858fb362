// Item prices: the table family with the price list as a reference.
#include "categories/finance/price_list_manager.h"

namespace {

DPX_TableCategoryDefinition Definition() {
  DPX_TableCategoryDefinition d;
  d.table = "ITM1";
  d.listSql = "SELECT ItemCode, PriceList, ItemCode, PriceList, Price, Currency FROM ITM1";
  d.counterKeyColumn = "Code";
  d.references = {{"PriceList", "", "OPLN", "ListNum", {"ListName"}}};
  d.listTexts = {DPX_ListText::ObjectNameByCode(0, 4, "ItemName"), DPX_ListText::ObjectName(1, 6, "PriceListName")};
  d.textColumns = {1};
  d.keyColumns = {"ItemCode", "PriceList"};
  d.columns = {"ItemCode", "PriceList", "Price", "Currency"};
  d.columnFlags = {0, 0, 1, 0};
  d.logColumns = {"ItemCode", "PriceList"};
  return d;
}

}  // namespace

DPX_PriceListManager::DPX_PriceListManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey, Definition()) {}
