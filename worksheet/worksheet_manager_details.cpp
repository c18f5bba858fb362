// The category managers of a worksheet's tree, and for a configuration-file
// base the records each category holds in the file.
#include <memory>

#include <fmt/printf.h>

#include "engine/category_factory.h"
#include "engine/di_interface.h"
#include "engine/resource_manager.h"
#include "engine/table_info.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet_manager.h"

using dpx::DPX_LogScope;
using dpx::HRESULT;
using dpx::S_OK;

namespace {
constexpr uint32_t kLoading = 10072;
constexpr uint32_t kCouldNotReadDataset = 10020;
}  // namespace

HRESULT DPX_WorksheetManager::updateDetails(DPX_Worksheet& worksheet) {
  DPX_LogScope log("DPX_WorksheetManager::updateDetails");
  const bool fromFile = worksheet.isSourceFromFile();
  const int language = dpx::Ui().getLanguage();
  DPX_CategoryFactory factory(context_);
  int counter = 0;
  int failed = 0;
  for (DPX_WorksheetNode& node : worksheet.getNodes()) {
    const int format = node.getDataAreaFormat();
    if (!node.isLeaf() || (format != DPX_WorksheetNode::kFormatDetail && format != DPX_WorksheetNode::kFormatTable)) {
      continue;
    }
    DPX_Util::SetProgressPosition(++counter);
    const std::string& key = node.getStringKey();
    std::string name;
    DPX_ResourceManager::loadString(static_cast<int32_t>(keyTable_->getStringId(key)), language, name);
    DPX_Util::ShowInformation(fmt::sprintf(HostText(kLoading), name), false);

    // One category that cannot be read must not leave the categories after it
    // without their managers: it is logged, and the user is told once below.
    try {
      std::unique_ptr<DPX_DIInterface> made = factory.createManager(key);
      if (!made) {
        log.LogDbg0("No data interface found for node %s (%s)", node.getLeafId(), key);
        continue;
      }
      std::shared_ptr<DPX_DIInterface> manager(std::move(made));
      node.setDataInterface(manager);
      if (fromFile) {
        DPX_TableInfo* details = manager->readFromFile(dpx::Ui().getConfigurationManager());
        node.setDetails(details);
        if (details != nullptr) node.setDetailsTitle(details->getTableName());
      }
    } catch (const dpx::HostError& e) {
      ++failed;
      log.LogError("Failed to load the records of node %s (%s)", node.getLeafId(), key);
      log.LogError("%s", formatComError(e));
    } catch (const std::exception& e) {
      ++failed;
      log.LogError("Failed to load the records of node %s (%s): %s", node.getLeafId(), key, e.what());
    }
    if (node.getDetails() == nullptr || node.getDetails()->getListRows().empty()) {
      log.LogDbg0("No view container found for node %s (%s)", node.getLeafId(), key);
    }
  }
  // The worksheet itself is sound and stays open, but the user must not take
  // a category whose records could not be read for an empty one.
  if (failed > 0) DPX_Util::ShowError(HostText(kCouldNotReadDataset), false);
  return S_OK;
}
