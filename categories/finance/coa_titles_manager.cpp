// Title accounts: the business-object family over the accounts object, in level order.
#include "categories/finance/coa_titles_manager.h"

#include <algorithm>
#include <cstdlib>

#include "engine/operation_args.h"
#include "engine/record_text.h"

namespace {

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{1, "OACT",
                                 "SELECT AcctCode FROM OACT WHERE Postable = 'N' AND Levels <> 1 ORDER BY Levels, "
                                 "FatherNum, GrpLine",
                                 "Code", "AcctCode",
                                 // Titles only, deepest first: a father goes after its children.
                                 "SELECT AcctCode FROM OACT WHERE Postable = 'N' AND Levels <> 1 ORDER BY Levels DESC, "
                                 "FatherNum, GrpLine"};
  return d;
}

}  // namespace

DPX_COATitlesManager::DPX_COATitlesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {
  m_keyColumns = {"AcctCode"};
  m_keyProperties = {"Code"};
  m_columns = {"Levels", "AcctCode", "AcctName"};
  m_properties = {"AccountLevel", "Code", "Name"};
  m_columnFlags = {0, 0, 1};
  m_listColumns = {"Code", "Name"};
}

void DPX_COATitlesManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  for (DPX_OperationArgs& block : blocks)
    if (block.tableName == "OACT") dpx::categories::OrderAccountsByLevel(block);
  DPX_ObjectCategory::writeData(std::move(blocks), method);
}

namespace dpx::categories {

long AccountLevel(const DPX_OperationArgs::DataItem& item) {
  std::string text;
  if (!dpx::recordtext::ElementValue(item.xml, "AccountLevel", 0, item.xml.size(), text)) return 0;
  return std::strtol(text.c_str(), nullptr, 10);
}

void OrderAccountsByLevel(DPX_OperationArgs& block) {
  std::stable_sort(block.dataItems.begin(), block.dataItems.end(),
                   [](const auto& a, const auto& b) { return AccountLevel(a) < AccountLevel(b); });
}

}  // namespace dpx::categories
