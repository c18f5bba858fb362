// Alternative items: the table family as it stands.
#include "categories/finance/alternative_items_manager.h"

namespace {

DPX_TableCategoryDefinition Definition() {
  DPX_TableCategoryDefinition d;
  d.table = "OALI";
  d.listSql = "SELECT OrigItem, AltItem, OrigItem, AltItem, Match FROM OALI";
  d.counterKeyColumn = "Code";
  d.keyColumns = {"OrigItem", "AltItem"};
  d.columns = {"OrigItem", "AltItem", "Match"};
  d.columnFlags = {0, 0, 0};
  d.logColumns = {"OrigItem", "AltItem"};
  return d;
}

}  // namespace

DPX_AlternativeItemsManager::DPX_AlternativeItemsManager(DPX_ConnectionContext* context,
                                                         const std::string& categoryKey)
    : DPX_TableCategory(context, categoryKey, Definition()) {}
