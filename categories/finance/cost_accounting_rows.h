// Profit centres (OPRC), distribution rules (OOCR) and the rules' profit
// centres (OCR1): plain rows that journal entries and product trees name.
// They travel whole with every copy of either category, are written before
// the records as rows of their own, found in the target by their key columns
// and updated there or added, whatever the copy method, without copy-log
// lines, and the removal pass of Replace All leaves them alone.
#pragma once

#include <vector>

#include "categories/object_category.h"

namespace dpx::categories {

// The three tables in the order they are read and written.
std::vector<DPX_DependentBlock> CostAccountingRows();

}  // namespace dpx::categories
