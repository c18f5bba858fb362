// Transaction codes: the table family with the base's own codes.
#include "categories/setup/transaction_code_manager.h"

DPX_TransactionCodeManager::DPX_TransactionCodeManager(DPX_ConnectionContext* context,
                                                       const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey,
                        {"OTRC", "SELECT TrnsCode, TrnsCode, TrnsCodDsc FROM OTRC", 45, "TrnsCode",
                         /*matchColumns: the key*/ {}, ""}) {
  m_keyColumns = {"TrnsCode"};
  m_columns = {"TrnsCode", "TrnsCodDsc"};
  m_columnFlags = {0, 1};
  m_listColumns = {"TrnsCode", "TrnsCodDsc"};
}
