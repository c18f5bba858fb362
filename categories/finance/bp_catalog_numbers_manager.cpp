// Catalog numbers: the business-object family with a three-column key.
#include "categories/finance/bp_catalog_numbers_manager.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{73, "OSCN"};
  d.keyColumns = {"ItemCode", "CardCode", "Substitute"};
  d.keyProperties = d.keyColumns;
  d.columns = d.keyColumns;
  d.properties = d.keyColumns;
  d.columnFlags = {0, 0, 0};
  d.listProperties = {"ItemCode", "CardCode"};
  d.matchProperties = d.keyColumns;
  d.matchColumns = d.keyColumns;
  d.listFromKeys = true;
  return d;
}

}  // namespace

DPX_BPCatalogNumbersManager::DPX_BPCatalogNumbersManager(DPX_ConnectionContext* context,
                                                         const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}
