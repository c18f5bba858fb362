// The category table and the registry of manager classes.
#include "engine/category_factory.h"

#include <map>

#include "engine/di_interface.h"
#include "platform/framework/log_scope.h"

namespace {

constexpr int32_t kNoMode = DPX_CategoryFactory::kNoMode;

// In the order of the worksheet tree. Formatted search: 1 user-defined fields,
// 0 standard fields; print layouts: 1 documents, 2 queries; journal entries:
// 0 manual, 1 opening balances, 2 stock postings.
constexpr DPX_CategoryFactory::Category kCategories[] = {
    {"DPX_TRN_QUERIES_100", "DPX_QueryManager", kNoMode},
    {"DPX_TRN_UDT_100", "DPX_UserDefinedTablesManager", kNoMode},
    {"DPX_TRN_UDF_100", "DPX_UserDefinedFieldsManager", kNoMode},
    {"DPX_TRN_UDTCONT_100", "DPX_UserDefinedTablesContentManager", kNoMode},
    {"DPX_TRN_FSUDF_100", "DPX_FormattedSearchManager", 1},
    {"DPX_TRN_FSSTDF_100", "DPX_FormattedSearchManager", 0},
    {"DPX_TRN_UDO_100", "DPX_UserDefinedObjectsManager", kNoMode},
    {"DPX_TRN_DOCREP_100", "DPX_PrintLayoutsManager", 1},
    {"DPX_TRN_QUERYLAYOUTS_100", "DPX_PrintLayoutsManager", 2},
    {"DPX_TRN_USERSLEAF_100", "DPX_UsersManager", kNoMode},
    {"DPX_TRN_AUTHORIZATIONSLEAF_100", "DPX_AuthorizationsManager", kNoMode},
    {"DPX_TRN_ADDITIONALAUT_100", "DPX_AdditionalAuthorizationManager", kNoMode},
    {"DPX_TRN_CMPDSPSETTINGS_100", "DPX_CompanyDisplaySettingsManager", kNoMode},
    {"DPX_TRN_USRDSPSETTINGS_100", "DPX_UserDisplaySettingsManager", kNoMode},
    {"DPX_TRN_USRMENUS_100", "DPX_UserMenusManager", kNoMode},
    {"DPX_TRN_CMPDETAILS_100", "DPX_CompanyDetailsManager", kNoMode},
    {"DPX_TRN_GENERALSETTINGS_100", "DPX_GeneralSettingsManager", kNoMode},
    {"DPX_TRN_POSTPER_100", "DPX_PostingPeriodsManager", kNoMode},
    {"DPX_TRN_DOCNUMBERING_100", "DPX_DocumentNumberingManager", kNoMode},
    {"DPX_TRN_DOCSETTINGS_100", "DPX_DocumentSettingsManager", kNoMode},
    {"DPX_TRN_PRTONADDSETTINGS_100", "DPX_PrintOnAddSettingsManager", kNoMode},
    {"DPX_TRN_ALERTS_100", "DPX_AlertsManager", kNoMode},
    {"DPX_TRN_COUNTRIES_100", "DPX_CountriesManager", kNoMode},
    {"DPX_TRN_ADDRESSFORMAT_100", "DPX_AddressFormatManager", kNoMode},
    {"DPX_TRN_CURRENCYSETTINGS_100", "DPX_CurrencySettingsManager", kNoMode},
    {"DPX_TRN_COASETTINGS_100", "DPX_COASettingsManager", kNoMode},
    {"DPX_TRN_TAXDEFINITION_100", "DPX_TaxDefinitionManager", kNoMode},
    {"DPX_TRN_INDEXES_100", "DPX_IndexesManager", kNoMode},
    {"DPX_TRN_TRANSACTIONCODES_100", "DPX_TransactionCodeManager", kNoMode},
    {"DPX_TRN_BANKSANDBRANCHES_100", "DPX_BanksManager", kNoMode},
    {"DPX_TRN_HOUSEBANKACCOUNTS_100", "DPX_HouseBanksAccountsManager", kNoMode},
    {"DPX_TRN_CREDITCARDS_100", "DPX_CreditCardsManager", kNoMode},
    {"DPX_TRN_CREDITSUPPLIERS_100", "DPX_CreditVendorsManager", kNoMode},
    {"DPX_TRN_PAYMENTMETHODS_100", "DPX_PaymentMethodsManager", kNoMode},
    {"DPX_TRN_DUNNINGLEVELS_100", "DPX_DunningLevelsManager", kNoMode},
    {"DPX_TRN_PAYMENTTERMS_100", "DPX_PaymentTermsManager", kNoMode},
    {"DPX_TRN_PAYMENTBLOCKS_100", "DPX_PaymentBlockManager", kNoMode},
    {"DPX_TRN_INVENTORYSETTINGS_100", "DPX_InventorySettingsManager", kNoMode},
    {"DPX_TRN_PRICELISTDEFS_100", "DPX_PriceListSetupManager", kNoMode},
    {"DPX_TRN_COMMISIONGROUPS_100", "DPX_CommissionGroupsManager", kNoMode},
    {"DPX_TRN_SALESEMPLOYEES_100", "DPX_SalesEmployeesManager", kNoMode},
    {"DPX_TRN_PROJECTS_100", "DPX_ProjectManager", kNoMode},
    {"DPX_TRN_RELTNSHPS_40", "DPX_RelationshipsManager", kNoMode},
    {"DPX_TRN_SALESSTAGES_100", "DPX_SalesStagesManager", kNoMode},
    {"DPX_TRN_PARTNERS_100", "DPX_PartnersManager", kNoMode},
    {"DPX_TRN_COMPETITORS_100", "DPX_CompetitorsManager", kNoMode},
    {"DPX_TRN_LANDEDCOSTS_100", "DPX_LandedCostsManager", kNoMode},
    {"DPX_TRN_CUSTOMERGROUPS_100", "DPX_CustomerGroupsManager", kNoMode},
    {"DPX_TRN_SUPPLIERGROUPS_100", "DPX_VendorGroupsManager", kNoMode},
    {"DPX_TRN_BPPROPERTIES_100", "DPX_BPPropertiesManager", kNoMode},
    {"DPX_TRN_BPPRIORITIES_100", "DPX_BPPrioritiesManager", kNoMode},
    {"DPX_TRN_INVENTORYCYCLES_100", "DPX_InventoryCyclesManager", kNoMode},
    {"DPX_TRN_ITEMGROUPS_100", "DPX_ItemGroupsManager", kNoMode},
    {"DPX_TRN_ITEMPROPERTIES_100", "DPX_ItemPropertiesManager", kNoMode},
    {"DPX_TRN_LOCATIONS_100", "DPX_LocationsManager", kNoMode},
    {"DPX_TRN_UOMLENGTHWIDTH_100", "DPX_LengthWidthManager", kNoMode},
    {"DPX_TRN_UOMWEIGHT_100", "DPX_WeightManager", kNoMode},
    {"DPX_TRN_CUSTOMGROUPS_100", "DPX_CustomGroupsManager", kNoMode},
    {"DPX_TRN_MANUFACTURERS_100", "DPX_ManufacturersManager", kNoMode},
    {"DPX_TRN_SHIPPINGTYPES_100", "DPX_ShippingTypesManager", kNoMode},
    {"DPX_TRN_TEMPLATES_100", "DPX_TemplatesManager", kNoMode},
    {"DPX_TRN_PACKAGETYPES_100", "DPX_PackageTypeManager", kNoMode},
    {"DPX_TRN_TERRITORIES_100", "DPX_TerritoriesManager", kNoMode},
    {"DPX_TRN_PREDEFINEDTEXT_100", "DPX_PredefinedTextManager", kNoMode},
    {"DPX_TRN_ACCTSEGMENTATION_100", "DPX_AccountSegmentationManager", kNoMode},
    {"DPX_TRN_SEGMENTCODES_100", "DPX_SegmentCodesManager", kNoMode},
    {"DPX_TRN_COATITLES_100", "DPX_COATitlesManager", kNoMode},
    {"DPX_TRN_ACCOUNTS_100", "DPX_COAAccountsManager", kNoMode},
    {"DPX_TRN_GLACCTDETERMINATION_100", "DPX_GLAccountDeterminationManager", kNoMode},
    {"DPX_TRN_GLBANKSETTINGS_100", "DPX_GLSettingsForBanksManager", kNoMode},
    {"DPX_TRN_GLINVNTRYSETTINGS_100", "DPX_GLSettingsForInventoryManager", kNoMode},
    {"DPX_TRN_GLTAXDEFSETTINGS_100", "DPX_GLSettingsForTaxSetupManager", kNoMode},
    {"DPX_TRN_BUDGET_100", "DPX_BudgetManager", kNoMode},
    {"DPX_TRN_FINANCIALREPORTTMPL_100", "DPX_FinancialReportsTemplateManager", kNoMode},
    {"DPX_TRN_CCPAYMENTS_100", "DPX_CreditCardPaymentsManager", kNoMode},
    {"DPX_TRN_CCPAYMNTMETHODS_100", "DPX_CreditCardPaymentMethodsManager", kNoMode},
    {"DPX_TRN_BPGENERALINFO_100", "DPX_BPGeneralManager", kNoMode},
    {"DPX_TRN_WAREHOUSES_100", "DPX_WarehousesManager", kNoMode},
    {"DPX_TRN_ITEMSLEAF_100", "DPX_ItemsManager", kNoMode},
    {"DPX_TRN_ALTERNATIVEITEMS_100", "DPX_AlternativeItemsManager", kNoMode},
    {"DPX_TRN_BPCATALOGNUMBERS_100", "DPX_BPCatalogNumbersManager", kNoMode},
    {"DPX_TRN_PRICELISTSLEAF_100", "DPX_PriceListManager", kNoMode},
    {"DPX_TRN_SPECIALPRICESBP_100", "DPX_SpecialPricesManager", kNoMode},
    {"DPX_TRN_DISCOUNTGROUPS_100", "DPX_DiscountGroupsManager", kNoMode},
    {"DPX_TRN_PRICEHIERARCHIES_100", "DPX_PriceHierarchiesManager", kNoMode},
    {"DPX_TRN_BILLOFMATERIALS_100", "DPX_BOMManager", kNoMode},
    {"DPX_TRN_FORECASTS_100", "DPX_ForecastsManager", kNoMode},
    {"DPX_TRN_DEFAULTS_100", "DPX_DefaultsManager", kNoMode},
    {"DPX_TRN_DEFAULTLAYOUTS_100", "DPX_DefaultReportLayoutManager", kNoMode},
    {"DPX_TRN_DEFAULTSERIES_100", "DPX_DefaultSeriesManager", kNoMode},
    {"DPX_TRN_MANUALJOURNALENTRIES_100", "DPX_ManualJournalEntriesManager", 0},
    {"DPX_TRN_OPENINGBALANCES_100", "DPX_ManualJournalEntriesManager", 1},
    {"DPX_TRN_STOCKPOSTINGS_100", "DPX_ManualJournalEntriesManager", 2},
    {"DPX_TRN_INITIALQUANTITIES_100", "DPX_InitialQuantitiesManager", kNoMode},
};

std::map<std::string, DPX_CategoryFactory::Creator>& Registry() {
  static std::map<std::string, DPX_CategoryFactory::Creator> registry;
  return registry;
}

}  // namespace

std::span<const DPX_CategoryFactory::Category> DPX_CategoryFactory::categories() { return kCategories; }

const DPX_CategoryFactory::Category* DPX_CategoryFactory::findCategory(const std::string& key) {
  for (const Category& row : kCategories) {
    if (key == row.key) return &row;
  }
  return nullptr;
}

bool DPX_CategoryFactory::registerClass(const std::string& className, Creator creator) {
  dpx::DPX_LogScope log("DPX_CategoryFactory::registerClass");
  if (!creator) {
    log.LogError("No creator given for class %s\n", className);
    return false;
  }
  for (const Category& row : kCategories) {
    if (className == row.className) {
      Registry()[className] = std::move(creator);
      return true;
    }
  }
  // A misspelt name would leave its categories without a manager: say so.
  log.LogError("No category uses the class %s\n", className);
  return false;
}

void DPX_CategoryFactory::unregisterClass(const std::string& className) { Registry().erase(className); }

bool DPX_CategoryFactory::isRegistered(const std::string& className) { return Registry().count(className) != 0; }

std::unique_ptr<DPX_DIInterface> DPX_CategoryFactory::createManager(std::string key) const {
  dpx::DPX_LogScope log("DPX_CategoryFactory::createManager");
  const Category* row = findCategory(key);
  if (!row) {
    log.LogError("Unknown category key \"%s\"\n", key);
    return nullptr;
  }
  const auto it = Registry().find(row->className);
  if (it == Registry().end()) {
    log.LogError("No manager class %s for category key \"%s\"\n", row->className, key);
    return nullptr;
  }
  return it->second(context_, key, row->mode);
}
