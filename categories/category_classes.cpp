// One line per category class: its name in the factory's table and how it is made.
#include "categories/category_classes.h"

#include "categories/customization/company_display_settings_manager.h"
#include "categories/customization/query_manager.h"
#include "categories/setup/address_format_manager.h"
#include "categories/setup/coa_settings_manager.h"
#include "categories/setup/company_details_manager.h"
#include "categories/setup/currency_settings_manager.h"
#include "categories/setup/document_settings_manager.h"
#include "categories/setup/dunning_levels_manager.h"
#include "categories/setup/general_settings_manager.h"
#include "categories/setup/indexes_manager.h"
#include "categories/setup/payment_terms_manager.h"
#include "categories/setup/print_on_add_settings_manager.h"
#include "categories/setup/setup_category_tables.h"
#include "categories/setup/transaction_code_manager.h"
#include "engine/category_factory.h"

void RegisterCategoryClasses() {
  DPX_CategoryFactory::registerClass("DPX_QueryManager", &DPX_CategoryFactory::Make<DPX_QueryManager>);
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
  // Setup categories: dunning levels and payment terms, and the definition tables.
  DPX_CategoryFactory::registerClass("DPX_DunningLevelsManager", &DPX_CategoryFactory::Make<DPX_DunningLevelsManager>);
  DPX_CategoryFactory::registerClass("DPX_PaymentTermsManager", &DPX_CategoryFactory::Make<DPX_PaymentTermsManager>);
  RegisterSetupObjectCategories();
  RegisterSetupTableCategories();
}
