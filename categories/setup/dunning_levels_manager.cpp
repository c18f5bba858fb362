// Dunning levels: the business-object family carrying the dunning terms.
#include "categories/setup/dunning_levels_manager.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d;
  d.objectType = 151;
  d.table = "ODUN";
  d.matchProperty = "RowNumber";
  d.matchColumn = "LineNum";
  d.removalSql = "SELECT LineNum FROM ODUN ORDER BY LineNum DESC";
  d.keyColumns = {"LineNum"};
  d.keyProperties = {"RowNumber"};
  d.columns = {"LineNum", "LetrFormat"};
  d.properties = {"RowNumber", "LetterFormat"};
  d.columnFlags = {0, 0};
  d.listProperties = {"RowNumber", "LetterFormat"};
  d.dependents = {DPX_PlainRows("ODUT", {"TermCode"}, {"TermCode", "TermName"}, 196, "TermCode")};
  return d;
}

}  // namespace

DPX_DunningLevelsManager::DPX_DunningLevelsManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}
