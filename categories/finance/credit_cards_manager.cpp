// Credit cards: the business-object family with one account reference.
#include "categories/finance/credit_cards_manager.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{36, "OCRC", "", "CreditCardName", "CardName", ""};
  d.references = {DPX_AccountReference("GLAccount")};
  return d;
}

}  // namespace

DPX_CreditCardsManager::DPX_CreditCardsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"CreditCard"};
  m_keyProperties = {"CreditCardName"};
  m_columns = {"CardName", "Phone", "CompanyId"};
  m_properties = {"CreditCardName", "Telephone", "CompanyID"};
  m_columnFlags = {1, 1, 1};
  m_listColumns = {"CreditCardName", "CompanyID"};
}
