// Payment terms: the business-object family carrying four plain tables.
#include "categories/setup/payment_terms_manager.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d;
  d.objectType = 40;
  d.table = "OCTG";
  d.keyQuery = "SELECT GroupNum FROM OCTG WHERE GroupNum >= 0";
  d.matchProperty = "PaymentTermsGroupName";
  d.matchColumn = "PymntGroup";
  d.removalSql = d.keyQuery;
  d.keyColumns = {"GroupNum"};
  d.keyProperties = {"PaymentTermsGroupName"};
  d.columns = {"PymntGroup"};
  d.properties = {"PaymentTermsGroupName"};
  d.columnFlags = {1};
  d.listProperties = {"PaymentTermsGroupName", "PaymentTermsGroupName"};
  d.dependents = {DPX_PlainRows("RIT1", {"Code"}, {"Code", "Name"}, -1, "Code"),
                  DPX_PlainRows("ORIT", {"Code"}, {"Code", "Name"}, -1, "Code"),
                  DPX_PlainRows("CDC1", {"CdcCode", "LineId"}, {"CdcCode", "LineId"}, -1, "CdcCode"),
                  DPX_PlainRows("OCDC", {"Code"}, {"Code", "TableDesc"}, -1, "Code")};
  return d;
}

}  // namespace

DPX_PaymentTermsManager::DPX_PaymentTermsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}
