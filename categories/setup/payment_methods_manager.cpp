// Payment methods: the business-object family with one reference, the format.
#include "categories/setup/payment_methods_manager.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{147, "OPYM", "", "PaymentMethodCode", "PayMethCod", ""};
  d.references = {{"Format", "", "OFRM", "AbsEntry", {"Name", "FrmatType"}, 2}};
  d.keyColumns = {"PayMethCod"};
  d.keyProperties = {"PaymentMethodCode"};
  d.columns = {"PayMethCod", "Descript"};
  d.properties = {"PaymentMethodCode", "Description"};
  d.columnFlags = {0, 1};
  d.listProperties = {"PaymentMethodCode", "Description"};
  return d;
}

}  // namespace

DPX_PaymentMethodsManager::DPX_PaymentMethodsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}
