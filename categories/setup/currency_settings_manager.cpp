// Currency settings: the business-object family over the currency object.
#include "categories/setup/currency_settings_manager.h"

DPX_CurrencySettingsManager::DPX_CurrencySettingsManager(DPX_ConnectionContext* context,
                                                         const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, {37, "OCRN", "", "Code", "CurrCode", ""}) {
  m_keyColumns = {"CurrCode"};
  m_keyProperties = {"Name"};
  m_columns = {"CurrCode", "CurrName"};
  m_columnFlags = {0, 1};
  m_properties = {"Code", "Name"};
  m_listColumns = {"Code", "Name"};
}
