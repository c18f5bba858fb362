// Bills of materials: the business-object family with the cost-accounting rows first.
#include "categories/finance/bom_manager.h"

#include <algorithm>

#include "categories/finance/cost_accounting_rows.h"

namespace {

// Texts 16 to 20: "Not A Tree", "Assembly Tree", "Sales Tree", "Production Tree", "Template Tree".
constexpr int32_t kTreeTypeTexts = 16;

DPX_ObjectCategoryDefinition Definition() {
  DPX_ObjectCategoryDefinition d{66, "OITT", "", "TreeCode", "Code", ""};
  d.dependents = dpx::categories::CostAccountingRows();
  d.listTexts = {DPX_ListText::StringOffset(1, kTreeTypeTexts)};
  d.keyColumns = {"Code"};
  d.keyProperties = {"TreeCode"};
  d.columns = {"Code", "TreeType", "Qauntity"};
  d.properties = {"TreeCode", "TreeType", "Quantity"};
  d.columnFlags = {0, 0, 0};
  d.listProperties = {"TreeCode", "Quantity"};
  return d;
}

// Rows of a recordset rather than the host's product trees.
bool HoldsPlainRows(const DPX_OperationArgs& block) {
  return std::any_of(block.dataItems.begin(), block.dataItems.end(), [](const DPX_OperationArgs::DataItem& item) {
    return item.xml.find("<Object>oRecordset</Object>") != std::string::npos;
  });
}

}  // namespace

DPX_BOMManager::DPX_BOMManager(DPX_ConnectionContext* context, const std::string& categoryKey)
    : DPX_ObjectCategory(context, categoryKey, Definition()) {}

void DPX_BOMManager::writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  blocks.erase(std::remove_if(blocks.begin(), blocks.end(),
                              [this](const DPX_OperationArgs& block) {
                                return block.tableName == m_definition.table && HoldsPlainRows(block);
                              }),
               blocks.end());
  DPX_ObjectCategory::writeData(std::move(blocks), method);
}
