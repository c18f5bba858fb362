// Business partners: the business-object family with two tables of rows first.
#include "categories/finance/bp_general_manager.h"

#include "categories/key_by_name.h"

namespace {

DPX_DependentBlock NamedRows(const char* table, const char* keyColumn, const char* nameColumn, int32_t counter) {
  DPX_DependentBlock rows;
  rows.table = table;
  rows.keyColumns = {keyColumn};
  rows.listColumns = {keyColumn, nameColumn};
  rows.matchColumn = nameColumn;
  rows.fixedMethod = 4;
  rows.counterObjectType = counter;
  return rows;
}

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{2, "OCRD", "SELECT CardCode FROM OCRD ORDER BY FatherCard, ChannlBP", "CardCode",
                                 "CardCode", ""};
  d.listQuery = "SELECT CardCode FROM OCRD";
  d.references = {{"GroupCode", "", "OCRG", "GroupCode", {"GroupName"}},
                  {"CommissionGroupCode", "", "OCOG", "GroupCode", {"GroupName"}},
                  {"CreditCardCode", "", "OCRC", "CreditCard", {"CardName"}},
                  {"PayTermsGrpCode", "", "OCTG", "GroupNum", {"PymntGroup"}},
                  {"PriceListNum", "", "OPLN", "ListNum", {"ListName"}},
                  {"ShippingType", "", "OSHP", "TrnspCode", {"TrnspName"}},
                  {"SalesPersonCode", "", "OSLP", "SlpCode", {"SlpName"}},
                  {"Territory", "", "OTER", "territryID", {"descript"}},
                  {"DefaultTechnician", "", "OHEM", "empID", {"lastName", "firstName"}},
                  DPX_AccountReference("DebitorAccount"),
                  DPX_AccountReference("DownPaymentClearAct"),
                  // Translated like the partner's own accounts.
                  DPX_AccountReference("AccountCode", "BPAccountReceivablePayble")};
  d.dependents = {NamedRows("OIDC", "Code", "Name", 138), NamedRows("OTNN", "FormCode", "Form1099", 145)};
  // Customer, Vendor, Lead.
  d.listTexts = {DPX_ListText::StringTable(1, {{{"0", "cCustomer"}, 10}, {{"1", "cSupplier"}, 11}}, 12),
                 DPX_ListText::Lookup(4, "OCRG", "GroupCode", "GroupName"),
                 DPX_ListText::Lookup(6, "OCTG", "GroupNum", "PymntGroup"),
                 DPX_ListText::Lookup(7, "OPLN", "ListNum", "ListName")};
  return d;
}

}  // namespace

DPX_BPGeneralManager::DPX_BPGeneralManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"CardCode"};
  m_keyProperties = {"CardCode"};
  m_columns = {"CardCode", "CardType", "CardName", "CardFName", "GroupCode", "Currency",
               "GroupNum", "ListNum",  "Priority", "WTCode",    "validFor",  "frozenFor"};
  m_properties = {"CardCode",        "CardType",     "CardName", "CardForeignName", "GroupCode", "Currency",
                  "PayTermsGrpCode", "PriceListNum", "Priority", "WTCode",          "Valid",     "Frozen"};
  m_listColumns = {"CardCode", "CardName"};
  m_columnFlags = {0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
}

void DPX_BPGeneralManager::mapReferences(std::string tableName, std::string& rowXml, int32_t mode) {
  for (const DPX_DependentBlock& rows : m_definition.dependents)
    if (rows.table == tableName)
      dpx::categories::MapKeyByNameOrNextNumber(m_context, tableName, rowXml, mode, rows.keyColumns.front(),
                                                rows.matchColumn);
}
