// The cost-accounting rows both journal entries and product trees carry.
#include "categories/finance/cost_accounting_rows.h"

namespace dpx::categories {

std::vector<DPX_DependentBlock> CostAccountingRows() {
  // Keys the host gives no counter for: a new row keeps its key ("Code" is never read with -1).
  return {DPX_PlainRows("OPRC", {"PrcCode"}, {"PrcCode", "PrcName"}, -1, "Code"),
          DPX_PlainRows("OOCR", {"OcrCode"}, {"OcrCode", "OcrName"}, -1, "Code"),
          DPX_PlainRows("OCR1", {"OcrCode", "PrcCode"}, {"OcrCode", "PrcCode"}, -1, "Code")};
}

}  // namespace dpx::categories
