// Document settings: the settings family over two objects, one field gated
// by a settings entry of the target.
#include "categories/setup/document_settings_manager.h"

namespace {

DPX_SettingsCategoryDefinition Definition() {
  constexpr auto T = DPX_SettingsField::kText;
  constexpr auto N = DPX_SettingsField::kNumber;
  constexpr auto Info = DPX_SettingsField::kCompanyInfo;
  DPX_SettingsCategoryDefinition d;
  d.element = "DocumentSettings";
  d.hasCompanyName = true;
  d.fields = {{"CalculateGrossProfitperTra", N},
              {"PriceListforCostPrice", N},
              {"GrossProfitAfterSale", N},
              {"BaseField", N},
              {"DisplayPriceforPriceOnly", N},
              {"AlertTypeforWHStock", N},
              {"AlertbyWarehouse", N},
              {"RoundingMethod", N},
              {"RoundTaxAmounts", N},
              {"DisplayRoundingRemark", N},
              {"AdressFromWH", N},
              {"OrderBlock", T},
              {"AllowFuturePostingDate", N},
              {"CalculateTaxinSalesQuotati", N},
              {"AllowClosedSalesQuotations", N},
              {"ChangedExistingOrders", N},
              {"SplitPO", N},
              {"PurchaseOrderConfirmed", N},
              {"FCCheckAccount", N},
              {"MultiCurrencyCheck", N},
              {"BlockSystemCurrencyEditing", N},
              {"BlockPostingDateEditing", N},
              {"BlockTaxDate", N},
              {"CreateAutoVATLineinJDT", N},
              {.name = "CalculateRowDiscount", .kind = N, .blockedByEntry = 11},
              {"BlockStockNegativeQuantity", N, Info},
              {"BaseDateForExchangeRate", N, Info},
              {"EnableExpensesManagement", N, Info},
              {"DefaultDaysForOrdCanc", N, Info},
              {"EnableCheckQuantityInRDR", N, Info},
              {"MaxNumberOfDocumentsInPmt", N, Info},
              {"DisplayTransactionsByDflt", N, Info},
              {"DefaultStampTax", T, Info}};
  return d;
}

}  // namespace

DPX_DocumentSettingsManager::DPX_DocumentSettingsManager(DPX_ConnectionContext* context,
                                                         const std::string& categoryKey)
    : DPX_SettingsCategory(context, categoryKey, Definition()) {}
