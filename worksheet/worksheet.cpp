// The worksheet's own operations; its file form is DPX_WorksheetManager's.
#include "worksheet/worksheet.h"

#include <algorithm>

int DPX_Worksheet::getLeafCount() const {
  return static_cast<int>(std::count_if(nodes_.begin(), nodes_.end(), [](const DPX_WorksheetNode& n) { return n.isLeaf(); }));
}

void DPX_Worksheet::releaseDataInterfaces() {
  for (DPX_WorksheetNode& node : nodes_) node.releaseDataInterface();
}
