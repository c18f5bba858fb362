// Credit card payment methods: the business-object family with two references.
#include "categories/finance/credit_card_payment_methods_manager.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{70, "OCRP", "", "Name", "CrTypeName", ""};
  d.listQuery = "SELECT CrTypeCode FROM OCRP WHERE CrTypeCode > 0";
  d.references = {{"AssignedtoCreditCard", "", "OCRC", "CreditCard", {"CardName"}},
                  {"PaymentCode", "", "OCDT", "Code", {"Name"}}};
  d.listTexts = {DPX_ListText::ObjectName(1, 36, "CreditCardName"), DPX_ListText::ObjectName(2, 71, "DueDateName")};
  return d;
}

}  // namespace

DPX_CreditCardPaymentMethodsManager::DPX_CreditCardPaymentMethodsManager(DPX_ConnectionContext* context,
                                                                         const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"CrTypeCode"};
  m_keyProperties = {"Name"};
  m_columns = {"CrTypeName", "CreditCard", "DueTerms"};
  m_properties = {"Name", "AssignedtoCreditCard", "PaymentCode"};
  m_listColumns = {"Name", "PaymentCode"};
  m_columnFlags = {1, 0, 0, 1, 1, 0};
}
