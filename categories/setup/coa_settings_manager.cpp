// Chart-of-accounts settings: the settings family over two objects.
#include "categories/setup/coa_settings_manager.h"

namespace {

DPX_SettingsCategoryDefinition Definition() {
  constexpr auto T = DPX_SettingsField::kText;
  constexpr auto N = DPX_SettingsField::kNumber;
  constexpr auto Info = DPX_SettingsField::kCompanyInfo;
  DPX_SettingsCategoryDefinition d;
  d.element = "COASettings";
  d.hasCompanyName = true;
  d.fields = {{"LocalCurrency", T},
              {"SystemCurrency", T},
              {"CreditBalancewithMinusSign", N},
              {"CalculateBudget", N},
              {"BlockBudget", N},
              {"BudgetAlert", N},
              {"BlockPurchaseOrders", N},
              {"BlockDelNotesforPurchase", N},
              {"BlockBookkeeping", N},
              {"WholdingTaxDedHierarchy", N},
              {"EnableAccountSegmentation", N, Info},
              {"EnableBillOfExchange", N, Info}};
  return d;
}

}  // namespace

DPX_COASettingsManager::DPX_COASettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_SettingsCategory(context, categoryKey, Definition()) {}
