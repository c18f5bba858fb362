// Inventory settings: the settings family with fields of both host objects.
#include "categories/setup/inventory_settings_manager.h"

namespace {

DPX_SettingsCategoryDefinition Definition() {
  constexpr auto T = DPX_SettingsField::kText;
  constexpr auto N = DPX_SettingsField::kNumber;
  constexpr auto Info = DPX_SettingsField::kCompanyInfo;
  DPX_SettingsCategoryDefinition d;
  d.element = "InventorySettings";
  d.hasCompanyName = true;
  d.companyInfoAfterAdminInfo = true;
  d.fields = {{"ContinuousStockManagement", N},
              {"ContinuousStockSystem", N},
              {"PriceSystem", N},
              {"UsePASystem", N},
              {"UniqueSerialNo", N},
              {"DefaultforBatchStatus", N},
              {"DefaultWarehouse", T},
              {"GLMethod", N},
              {"SetItemsWarehouses", N},
              {"WTLiableExpense", N},
              {"EnableStockRelNoCostPrice", N, Info},
              {"SRIManagementSystem", N, Info},
              {"AutoSRICreationOnReceipt", N, Info},
              {"AutoCreateCustomerEqCard", N, Info}};
  return d;
}

}  // namespace

DPX_InventorySettingsManager::DPX_InventorySettingsManager(DPX_ConnectionContext* context,
                                                           const std::string& categoryKey)
    : DPX_SettingsCategory(context, categoryKey, Definition()) {}
