#include "engine/table_info.h"

#include "engine/connection_context.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/bridge.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

void DPX_TableInfo::setColumns(std::vector<std::string> headings, std::vector<int32_t> editableFlags,
                               std::vector<int32_t> columnTypes) {
  headings_ = std::move(headings);
  editableFlags_ = std::move(editableFlags);
  columnTypes_ = std::move(columnTypes);
}

int32_t DPX_TableInfo::readFieldTypes(const std::string& tableName, const std::vector<std::string>& columns,
                                      std::vector<std::string>& headings, std::vector<int32_t>& types) {
  dpx::DPX_LogScope log("DPX_TableInfo::readFieldTypes");
  const auto company = context_ ? context_->getCompany() : nullptr;
  if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_TableInfo", "no company to read the field list from");
  auto fields = company->NewBridge()->GetTableFieldList(tableName);
  for (const auto& column : columns) {
    bool found = false;
    for (fields->MoveFirst(); !fields->EoF(); fields->MoveNext()) {
      if (fields->Field(0).toText() != column) continue;
      headings.push_back(fields->Field(6).toText());
      types.push_back(fields->Field(2).toInt32());
      found = true;
      break;
    }
    if (!found) {
      // Keep the lists parallel to the columns: the record list would show
      // every later column under the wrong heading and type otherwise.
      log.LogWarning("Column %s is not in the field list of %s.", column, tableName);
      headings.push_back(column);
      types.push_back(dpx::fieldtype::kAlpha);
    }
  }
  return 1;
}
