// General settings: the settings family with references and an OADP record.
#include "categories/setup/general_settings_manager.h"

namespace {

DPX_SettingsField PaymentTerms(const char* name) {
  return {.name = name,
          .kind = DPX_SettingsField::kNumber,
          .referenceTable = "OCTG",
          .referenceKey = "GroupNum",
          .referenceName = "PymntGroup"};
}

DPX_SettingsCategoryDefinition Definition() {
  constexpr auto T = DPX_SettingsField::kText;
  constexpr auto N = DPX_SettingsField::kNumber;
  DPX_SettingsCategoryDefinition d;
  d.element = "AdminInfo";
  d.hasCompanyName = true;
  d.fields = {{"CommitmentRestriction", N},
              {"RestrictSales", N},
              {"RestrictDelNotesPO", N},
              {"RestrictOrders", N},
              {"SetCommissionbySE", N},
              {"SetCommissionbyItem", N},
              {"SetCommissionbyCustomer", N},
              {"ConsiderDelNotesinSalesR", N},
              PaymentTerms("DefaultCustomerPaymentTerms"),
              PaymentTerms("DefaultVendorPaymentTerms"),
              {"CreditDepositType", N},
              {"DefaultDunningTerm", T},
              {"DocConfirmation", N},
              {"DisplayBookkeepingWindow", N},
              {"ExcelFolderPath", T},
              {"CreditRestriction", N}};
  d.tableRecords = {{"OADP", "GeneralSettings", {{"WordPath"}, {"BitmapPath"}, {"AttachPath"}, {"ExtPath"}}}};
  return d;
}

}  // namespace

DPX_GeneralSettingsManager::DPX_GeneralSettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_SettingsCategory(context, categoryKey, Definition()) {}
