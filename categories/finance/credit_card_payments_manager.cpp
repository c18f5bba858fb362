// Credit card payment due dates: the business-object family matched by name.
#include "categories/finance/credit_card_payments_manager.h"

DPX_CreditCardPaymentsManager::DPX_CreditCardPaymentsManager(DPX_ConnectionContext* context,
                                                             const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, {71, "OCDT", "", "DueDateName", "Name", ""}) {
  m_keyColumns = {"Code"};
  m_keyProperties = {"DueDateCode"};
  m_columns = {"Name"};
  m_properties = {"DueDateName"};
  m_listColumns = {"DueDateCode", "DueDateName"};
  m_columnFlags = {1};
}
