// Reference fields read from the base and translated into the target.
#include "categories/reference_field.h"

#include <optional>

#include "engine/di_interface.h"
#include "engine/di_record_support.h"
#include "engine/left_out_field.h"
#include "engine/operation_args.h"
#include "engine/record_text.h"
#include "engine/util.h"

DPX_ReferenceField DPX_AccountReference(const std::string& field, const std::string& enclosing) {
  return {field, enclosing, "OACT", "AcctCode", {"FormatCode"}, 0, DPX_ReferenceCondition::kHostFlag};
}

DPX_DeclaredReferences DPX_AccountByCodeOrName() {
  return {{"OACT", "AcctCode", {"FormatCode"}}, {"OACT", "AcctCode", {"AcctName"}}};
}

namespace dpx::categories {

void ResolveReferences(DPX_DIInterface& manager, DPX_ConnectionContext* context, DPX_OperationArgs& block,
                       const std::vector<DPX_ReferenceField>& references) {
  std::optional<bool> accounts;  // the base's flag, asked once when an account needs it
  for (const DPX_ReferenceField& ref : references) {
    if (ref.condition != DPX_ReferenceCondition::kAlways) {
      if (!accounts) accounts = DPX_Util::QueryHostFlag(dpx::records::BaseCompany(context));
      if (!*accounts) continue;
    }
    manager.resolveDependencies(block, ref.field, ref.valueKind, ref.table, ref.keyColumn, ref.shownColumns, "row",
                                ref.enclosing);
  }
}

void MapReferencesToTarget(DPX_DIInterface& manager, DPX_ConnectionContext* context, DPX_OperationArgs& block,
                           const std::vector<DPX_ReferenceField>& references) {
  std::optional<bool> accounts;  // the target's flag
  for (const DPX_ReferenceField& ref : references) {
    if (ref.condition == DPX_ReferenceCondition::kReadOnly) continue;
    if (ref.condition == DPX_ReferenceCondition::kHostFlag) {
      if (!accounts) accounts = DPX_Util::QueryHostFlag(dpx::records::TargetCompany(context));
      if (!*accounts) {
        // The target names accounts otherwise: the field is left to the target's default.
        for (DPX_OperationArgs::DataItem& item : block.dataItems)
          dpx::records::LeaveOutDependencyRecords(item.xml, ref.field, dpx::records::kAccountsNamedOtherwise, item.leftOut);
        continue;
      }
    }
    manager.mapDependencyToTarget(block, ref.field, "row", ref.declared(), "", ref.enclosing);
  }
}

}  // namespace dpx::categories
