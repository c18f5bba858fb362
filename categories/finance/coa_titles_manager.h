// Title accounts of the chart of accounts (table OACT, business object 1):
// the non-postable grouping accounts below the top level, listed, read and
// written in "Levels, FatherNum, GrpLine" order so that a father always comes
// before its children, and found in the target by their account code. The
// removal pass removes the target's titles (not its postable accounts, not
// its top level), children first, as far as the host lets them go.
#pragma once

#include "categories/object_category.h"
#include "engine/operation_args.h"

class DPX_COATitlesManager : public DPX_ObjectCategory {
 public:
  DPX_COATitlesManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
};

namespace dpx::categories {

// Puts the accounts of a block in level order (stable within a level): a
// father is written before the children that name it, whatever order the
// records were chosen in.
void OrderAccountsByLevel(DPX_OperationArgs& block);
// The level an account record gives itself (0 when it gives none).
long AccountLevel(const DPX_OperationArgs::DataItem& item);

}  // namespace dpx::categories
