// One line per category class: its name in the factory's table and how it is made.
#include "categories/category_classes.h"

#include "categories/customization/query_manager.h"
#include "categories/setup/address_format_manager.h"
#include "categories/setup/currency_settings_manager.h"
#include "categories/setup/indexes_manager.h"
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
}
