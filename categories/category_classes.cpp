// One line per category class: its name in the factory's table and how it is made.
#include "categories/category_classes.h"

#include "categories/customization/additional_authorization_manager.h"
#include "categories/customization/authorizations_manager.h"
#include "categories/customization/company_display_settings_manager.h"
#include "categories/customization/formatted_search_manager.h"
#include "categories/customization/print_layouts_manager.h"
#include "categories/customization/query_manager.h"
#include "categories/customization/user_defined_fields_manager.h"
#include "categories/customization/user_defined_objects_manager.h"
#include "categories/customization/user_defined_tables_content_manager.h"
#include "categories/customization/user_defined_tables_manager.h"
#include "categories/customization/user_display_settings_manager.h"
#include "categories/customization/user_menus_manager.h"
#include "categories/customization/users_manager.h"
#include "categories/finance/account_segmentation_manager.h"
#include "categories/finance/alternative_items_manager.h"
#include "categories/finance/bp_catalog_numbers_manager.h"
#include "categories/finance/bom_manager.h"
#include "categories/finance/bp_general_manager.h"
#include "categories/finance/budget_manager.h"
#include "categories/finance/coa_accounts_manager.h"
#include "categories/finance/coa_titles_manager.h"
#include "categories/finance/credit_cards_manager.h"
#include "categories/finance/default_report_layout_manager.h"
#include "categories/finance/default_series_manager.h"
#include "categories/finance/defaults_manager.h"
#include "categories/finance/financial_reports_template_manager.h"
#include "categories/finance/gl_account_determination_manager.h"
#include "categories/finance/gl_settings_for_banks_manager.h"
#include "categories/finance/gl_settings_for_inventory_manager.h"
#include "categories/finance/gl_settings_for_tax_setup_manager.h"
#include "categories/finance/forecasts_manager.h"
#include "categories/finance/initial_quantities_manager.h"
#include "categories/finance/credit_card_payment_methods_manager.h"
#include "categories/finance/credit_card_payments_manager.h"
#include "categories/finance/discount_groups_manager.h"
#include "categories/finance/item_groups_manager.h"
#include "categories/finance/items_manager.h"
#include "categories/finance/manual_journal_entries_manager.h"
#include "categories/finance/price_hierarchies_manager.h"
#include "categories/finance/price_list_manager.h"
#include "categories/finance/special_prices_manager.h"
#include "categories/finance/warehouses_manager.h"
#include "categories/setup/address_format_manager.h"
#include "categories/setup/alerts_manager.h"
#include "categories/setup/banks_manager.h"
#include "categories/setup/coa_settings_manager.h"
#include "categories/setup/countries_manager.h"
#include "categories/setup/company_details_manager.h"
#include "categories/setup/currency_settings_manager.h"
#include "categories/setup/document_numbering_manager.h"
#include "categories/setup/document_settings_manager.h"
#include "categories/setup/dunning_levels_manager.h"
#include "categories/setup/general_settings_manager.h"
#include "categories/setup/house_banks_accounts_manager.h"
#include "categories/setup/indexes_manager.h"
#include "categories/setup/inventory_settings_manager.h"
#include "categories/setup/payment_methods_manager.h"
#include "categories/setup/payment_terms_manager.h"
#include "categories/setup/posting_periods_manager.h"
#include "categories/setup/print_on_add_settings_manager.h"
#include "categories/setup/referenced_first_category.h"
#include "categories/setup/sales_employees_manager.h"
#include "categories/setup/setup_category_tables.h"
#include "categories/setup/tax_definition_manager.h"
#include "categories/setup/transaction_code_manager.h"
#include "engine/category_factory.h"

void RegisterCategoryClasses() {
  DPX_CategoryFactory::registerClass("DPX_QueryManager", &DPX_CategoryFactory::Make<DPX_QueryManager>);
  DPX_CategoryFactory::registerClass("DPX_UserDefinedTablesManager",
                                     &DPX_CategoryFactory::Make<DPX_UserDefinedTablesManager>);
  DPX_CategoryFactory::registerClass("DPX_UserDefinedFieldsManager",
                                     &DPX_CategoryFactory::Make<DPX_UserDefinedFieldsManager>);
  DPX_CategoryFactory::registerClass("DPX_UserDefinedTablesContentManager",
                                     &DPX_CategoryFactory::Make<DPX_UserDefinedTablesContentManager>);
  DPX_CategoryFactory::registerClass("DPX_FormattedSearchManager",
                                     &DPX_CategoryFactory::MakeWithMode<DPX_FormattedSearchManager>);
  DPX_CategoryFactory::registerClass("DPX_UserDefinedObjectsManager",
                                     &DPX_CategoryFactory::Make<DPX_UserDefinedObjectsManager>);
  DPX_CategoryFactory::registerClass("DPX_UsersManager", &DPX_CategoryFactory::Make<DPX_UsersManager>);
  // Per-user and service categories.
  DPX_CategoryFactory::registerClass("DPX_PrintLayoutsManager",
                                     &DPX_CategoryFactory::MakeWithMode<DPX_PrintLayoutsManager>);
  DPX_CategoryFactory::registerClass("DPX_AuthorizationsManager",
                                     &DPX_CategoryFactory::Make<DPX_AuthorizationsManager>);
  DPX_CategoryFactory::registerClass("DPX_AdditionalAuthorizationManager",
                                     &DPX_CategoryFactory::Make<DPX_AdditionalAuthorizationManager>);
  DPX_CategoryFactory::registerClass("DPX_UserDisplaySettingsManager",
                                     &DPX_CategoryFactory::Make<DPX_UserDisplaySettingsManager>);
  DPX_CategoryFactory::registerClass("DPX_UserMenusManager", &DPX_CategoryFactory::Make<DPX_UserMenusManager>);
  DPX_CategoryFactory::registerClass("DPX_AddressFormatManager", &DPX_CategoryFactory::Make<DPX_AddressFormatManager>);
  DPX_CategoryFactory::registerClass("DPX_IndexesManager", &DPX_CategoryFactory::Make<DPX_IndexesManager>);
  DPX_CategoryFactory::registerClass("DPX_TransactionCodeManager",
                                     &DPX_CategoryFactory::Make<DPX_TransactionCodeManager>);
  DPX_CategoryFactory::registerClass("DPX_CurrencySettingsManager",
                                     &DPX_CategoryFactory::Make<DPX_CurrencySettingsManager>);
  // Settings categories.
  DPX_CategoryFactory::registerClass("DPX_CompanyDisplaySettingsManager",
                                     &DPX_CategoryFactory::Make<DPX_CompanyDisplaySettingsManager>);
  DPX_CategoryFactory::registerClass("DPX_CompanyDetailsManager",
                                     &DPX_CategoryFactory::Make<DPX_CompanyDetailsManager>);
  DPX_CategoryFactory::registerClass("DPX_GeneralSettingsManager",
                                     &DPX_CategoryFactory::Make<DPX_GeneralSettingsManager>);
  DPX_CategoryFactory::registerClass("DPX_DocumentSettingsManager",
                                     &DPX_CategoryFactory::Make<DPX_DocumentSettingsManager>);
  DPX_CategoryFactory::registerClass("DPX_PrintOnAddSettingsManager",
                                     &DPX_CategoryFactory::Make<DPX_PrintOnAddSettingsManager>);
  DPX_CategoryFactory::registerClass("DPX_COASettingsManager", &DPX_CategoryFactory::Make<DPX_COASettingsManager>);
  DPX_CategoryFactory::registerClass("DPX_DocumentNumberingManager",
                                     &DPX_CategoryFactory::Make<DPX_DocumentNumberingManager>);
  DPX_CategoryFactory::registerClass("DPX_PostingPeriodsManager", &DPX_CategoryFactory::Make<DPX_PostingPeriodsManager>);
  DPX_CategoryFactory::registerClass("DPX_InventorySettingsManager",
                                     &DPX_CategoryFactory::Make<DPX_InventorySettingsManager>);
  DPX_CategoryFactory::registerClass("DPX_TaxDefinitionManager", &DPX_CategoryFactory::Make<DPX_TaxDefinitionManager>);
  // Master data.
  DPX_CategoryFactory::registerClass("DPX_CreditCardPaymentsManager",
                                     &DPX_CategoryFactory::Make<DPX_CreditCardPaymentsManager>);
  DPX_CategoryFactory::registerClass("DPX_CreditCardPaymentMethodsManager",
                                     &DPX_CategoryFactory::Make<DPX_CreditCardPaymentMethodsManager>);
  DPX_CategoryFactory::registerClass("DPX_BPGeneralManager", &DPX_CategoryFactory::Make<DPX_BPGeneralManager>);
  DPX_CategoryFactory::registerClass("DPX_ItemGroupsManager", &DPX_CategoryFactory::Make<DPX_ItemGroupsManager>);
  DPX_CategoryFactory::registerClass("DPX_WarehousesManager", &DPX_CategoryFactory::Make<DPX_WarehousesManager>);
  DPX_CategoryFactory::registerClass("DPX_ItemsManager", &DPX_CategoryFactory::Make<DPX_ItemsManager>);
  // The chart of accounts and what hangs on it.
  DPX_CategoryFactory::registerClass("DPX_AccountSegmentationManager",
                                     &DPX_CategoryFactory::Make<DPX_AccountSegmentationManager>);
  DPX_CategoryFactory::registerClass("DPX_SegmentCodesManager", &DPX_CategoryFactory::Make<DPX_SegmentCodesManager>);
  DPX_CategoryFactory::registerClass("DPX_COATitlesManager", &DPX_CategoryFactory::Make<DPX_COATitlesManager>);
  DPX_CategoryFactory::registerClass("DPX_COAAccountsManager", &DPX_CategoryFactory::Make<DPX_COAAccountsManager>);
  DPX_CategoryFactory::registerClass("DPX_CreditCardsManager", &DPX_CategoryFactory::Make<DPX_CreditCardsManager>);
  DPX_CategoryFactory::registerClass("DPX_BudgetManager", &DPX_CategoryFactory::Make<DPX_BudgetManager>);
  DPX_CategoryFactory::registerClass("DPX_FinancialReportsTemplateManager",
                                     &DPX_CategoryFactory::Make<DPX_FinancialReportsTemplateManager>);
  DPX_CategoryFactory::registerClass("DPX_GLAccountDeterminationManager",
                                     &DPX_CategoryFactory::Make<DPX_GLAccountDeterminationManager>);
  DPX_CategoryFactory::registerClass("DPX_GLSettingsForInventoryManager",
                                     &DPX_CategoryFactory::Make<DPX_GLSettingsForInventoryManager>);
  DPX_CategoryFactory::registerClass("DPX_GLSettingsForTaxSetupManager",
                                     &DPX_CategoryFactory::Make<DPX_GLSettingsForTaxSetupManager>);
  DPX_CategoryFactory::registerClass("DPX_GLSettingsForBanksManager",
                                     &DPX_CategoryFactory::Make<DPX_GLSettingsForBanksManager>);
  DPX_CategoryFactory::registerClass("DPX_BPCatalogNumbersManager",
                                     &DPX_CategoryFactory::Make<DPX_BPCatalogNumbersManager>);
  DPX_CategoryFactory::registerClass("DPX_AlternativeItemsManager",
                                     &DPX_CategoryFactory::Make<DPX_AlternativeItemsManager>);
  DPX_CategoryFactory::registerClass("DPX_PriceListManager", &DPX_CategoryFactory::Make<DPX_PriceListManager>);
  DPX_CategoryFactory::registerClass("DPX_SpecialPricesManager", &DPX_CategoryFactory::Make<DPX_SpecialPricesManager>);
  DPX_CategoryFactory::registerClass("DPX_PriceHierarchiesManager",
                                     &DPX_CategoryFactory::Make<DPX_PriceHierarchiesManager>);
  DPX_CategoryFactory::registerClass("DPX_DiscountGroupsManager",
                                     &DPX_CategoryFactory::Make<DPX_DiscountGroupsManager>);
  // Journal entries, product trees, forecasts and the users' defaults.
  DPX_CategoryFactory::registerClass("DPX_ManualJournalEntriesManager",
                                     &DPX_CategoryFactory::MakeWithMode<DPX_ManualJournalEntriesManager>);
  DPX_CategoryFactory::registerClass("DPX_BOMManager", &DPX_CategoryFactory::Make<DPX_BOMManager>);
  DPX_CategoryFactory::registerClass("DPX_ForecastsManager", &DPX_CategoryFactory::Make<DPX_ForecastsManager>);
  DPX_CategoryFactory::registerClass("DPX_DefaultsManager", &DPX_CategoryFactory::Make<DPX_DefaultsManager>);
  DPX_CategoryFactory::registerClass("DPX_DefaultReportLayoutManager",
                                     &DPX_CategoryFactory::Make<DPX_DefaultReportLayoutManager>);
  DPX_CategoryFactory::registerClass("DPX_DefaultSeriesManager", &DPX_CategoryFactory::Make<DPX_DefaultSeriesManager>);
  DPX_CategoryFactory::registerClass("DPX_InitialQuantitiesManager",
                                     &DPX_CategoryFactory::Make<DPX_InitialQuantitiesManager>);
  // Setup categories: dunning levels and payment terms, and the definition tables.
  DPX_CategoryFactory::registerClass("DPX_DunningLevelsManager", &DPX_CategoryFactory::Make<DPX_DunningLevelsManager>);
  DPX_CategoryFactory::registerClass("DPX_PaymentTermsManager", &DPX_CategoryFactory::Make<DPX_PaymentTermsManager>);
  // Records that name other records.
  DPX_CategoryFactory::registerClass("DPX_PaymentMethodsManager",
                                     &DPX_CategoryFactory::Make<DPX_PaymentMethodsManager>);
  DPX_CategoryFactory::registerClass("DPX_SalesEmployeesManager",
                                     &DPX_CategoryFactory::Make<DPX_SalesEmployeesManager>);
  DPX_CategoryFactory::registerClass("DPX_BanksManager", &DPX_CategoryFactory::Make<DPX_BanksManager>);
  DPX_CategoryFactory::registerClass("DPX_HouseBanksAccountsManager",
                                     &DPX_CategoryFactory::Make<DPX_HouseBanksAccountsManager>);
  // Tables that carry rows of a dependent table along.
  DPX_CategoryFactory::registerClass("DPX_AlertsManager", &DPX_CategoryFactory::Make<DPX_AlertsManager>);
  DPX_CategoryFactory::registerClass("DPX_CountriesManager", &DPX_CategoryFactory::Make<DPX_CountriesManager>);
  RegisterSetupObjectCategories();
  RegisterSetupTableCategories();
  RegisterReferencedFirstCategories();
}
