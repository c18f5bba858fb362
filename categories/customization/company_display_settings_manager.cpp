// Company display settings: the settings family with code tables.
#include "categories/customization/company_display_settings_manager.h"

namespace {

DPX_SettingsCategoryDefinition Definition() {
  constexpr auto T = DPX_SettingsField::kText;
  constexpr auto N = DPX_SettingsField::kNumber;
  DPX_SettingsCategoryDefinition d;
  d.element = "AdminInfo";
  d.hasCompanyName = true;
  d.namesInCodes = true;
  d.fields = {{"CompanyColor", N},
              {"StandardUnitofLength", N},
              {"WeightUnitDefault", N},
              {.name = "TimeTemplate", .kind = N, .codes = {{"1", 1}, {"0", 0}}},
              // The record's date-template codes are not the host's numbers.
              {.name = "DateTemplate", .kind = N, .codes = {{"0", 4}, {"1", 1}, {"2", 0}, {"3", 5}, {"4", 3}, {"5", 2}}},
              {"DateSeparator", T},
              {"TotalsAccuracy", N},
              {"PriceAccuracy", N},
              {"RateAccuracy", N},
              {"AccuracyofQuantities", N},
              {"PercentageAccuracy", N},
              {"MeasuringAccuracy", N},
              {"DecimalSeparator", T},
              {"ThousandsSeparator", T},
              {"DisplayCurrencyontheRight", N},
              {"DirectIndirectRate", N},
              {"AccountSegmentsSeparator", T}};
  return d;
}

}  // namespace

DPX_CompanyDisplaySettingsManager::DPX_CompanyDisplaySettingsManager(DPX_ConnectionContext* context,
                                                                     const std::string& categoryKey)
    : DPX_SettingsCategory(context, categoryKey, Definition()) {}
