// Keys of rows that the host numbers, for rows written by SQL: an updated
// row takes the key of the target's row with the same name, an inserted row
// the target's highest key + 1. Names go through the SQL statement builder,
// so a name with "'" is found on every server type.
#include "categories/key_by_name.h"

#include "engine/di_interface.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/sql_statement.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace dpx::categories {

void MapKeyByColumnsOrNextNumber(DPX_ConnectionContext* context, const std::string& table, std::string& xml,
                                 int32_t mode, const std::string& keyColumn,
                                 const std::vector<std::string>& lookupColumns,
                                 const std::vector<std::pair<std::string, std::string>>& fixedConditions,
                                 const std::vector<dpx::records::FieldInfo>* targetFields) {
  dpx::DPX_LogScope scope("DPX_DIInterface::mapReferences");
  if (mode != 2 && mode != 3) return;
  auto target = dpx::records::TargetCompany(context);
  const int32_t serverType = target->DbServerType();
  DPX_DOMParser parser;
  if (!parser.loadXML(xml)) return;
  auto* root = parser.getCursor();
  if (parser.findElement("row") == 0) return;

  auto recordset = target->NewRecordset();
  DPX_SqlStatement statement(serverType);
  statement.setTable(table);
  if (mode == 2) {
    // The values go through the statement builder, so a name with "'" works.
    statement.addColumn(keyColumn);
    for (const std::string& column : lookupColumns) {
      const dpx::records::FieldInfo* field = targetFields ? dpx::records::FindField(*targetFields, column) : nullptr;
      statement.addValue(column, DPX_DIInterface::getChildText(parser, column),
                         field ? field->type : DPX_SqlStatement::kAlpha);
    }
    for (const auto& [column, value] : fixedConditions) statement.addValue(column, value, DPX_SqlStatement::kAlpha);
    recordset->DoQuery(statement.buildSelect());
    if (recordset->RecordCount() < 1) return;  // no row of that name: the row keeps its base key
  } else {
    recordset->DoQuery(fmt::sprintf("SELECT MAX(%s) FROM %s", serverType == 5 ? "\"" + keyColumn + "\"" : keyColumn,
                                    table));
  }
  int64_t key = 0;
  if (recordset->RecordCount() > 0 && !recordset->Field(0).isEmpty() &&
      !dpx::records::ReadIntegerKey(recordset->Field(0), key)) {
    scope.LogWarning("Key %s of %s is not a number; the row keeps its key", keyColumn, table);
    return;
  }
  if (mode == 3) ++key;

  const std::string text = fmt::sprintf("%d", static_cast<long long>(key));
  std::string ignored;
  if (DPX_DIInterface::findChildElement(parser, keyColumn, ignored) != -1) {
    parser.findElement(keyColumn);
    DPX_DIInterface::replaceElement(parser, 1, keyColumn, text);
  } else {
    parser.addElement(keyColumn, text, "", "", false);
  }
  parser.setCursor(root);
  xml = parser.serialize(true);
}

}  // namespace dpx::categories
