// Opening, renewing and saving the GUI's worksheet.
#include "worksheet/selection_manager.h"

#include <algorithm>
#include <string_view>

#include <fmt/printf.h>

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "engine/settings_manager.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/host/company.h"
#include "worksheet/worksheet_manager.h"

using dpx::DPX_LogScope;
using dpx::HRESULT;

namespace {

constexpr uint32_t kSaveWorksheetCaption = 2036;
constexpr uint32_t kXmlFilesFilter = 2031;

}  // namespace

DPX_SelectionManager::DPX_SelectionManager(DPX_ConnectionContext* context) : context_(context) {}

DPX_SelectionManager::~DPX_SelectionManager() { worksheet_.releaseDataInterfaces(); }

HRESULT DPX_SelectionManager::openWorksheet() {
  DPX_LogScope log("DPX_SelectionManager::openWorksheet");
  const std::string path = context_->getWorksheetFile();
  // Nothing of the worksheet opened before may leak into this one.
  worksheet_.releaseDataInterfaces();
  worksheet_ = DPX_Worksheet();
  if (path.empty()) {
    if (const auto company = context_->getCompany()) worksheet_.setCreationUser(company->UserName());
  } else {
    worksheet_.setFilePath(path);
  }
  DPX_WorksheetManager manager(context_);
  const HRESULT result = manager.openWorksheet(worksheet_, 0);
  lastError_ = manager.lastError();
  return result;
}

HRESULT DPX_SelectionManager::refreshWorksheet() {
  DPX_LogScope log("DPX_SelectionManager::refreshWorksheet");
  DPX_WorksheetManager manager(context_);
  return manager.openWorksheet(worksheet_, 1);
}

std::string DPX_SelectionManager::defaultFileName(DPX_ConnectionContext& context) {
  std::string name;
  const auto base = context.getBaseCompany();
  if (base && base->Connected()) {
    name = DPX_CompanyHandle(base).getCompanyName();
    constexpr std::string_view kNotInFileNames = "\\/:*<>?\"";
    std::erase_if(name, [&](char c) { return kNotInFileNames.find(c) != std::string_view::npos; });
  } else {
    DPX_Util::GetFileName(context.getBaseFile(), name);
  }
  return name.empty() ? std::string() : fmt::sprintf("%s_WS.xml", name);
}

HRESULT DPX_SelectionManager::saveWorksheet(bool saveAs) {
  DPX_LogScope log("DPX_SelectionManager::saveWorksheet");
  std::string path = context_->getWorksheetFile();
  if (path.empty() || saveAs) {
    std::string folder;
    std::string fileName;
    if (path.empty()) {
      DPX_SettingsManager settings(context_);
      settings.getSettingsFromDatabase();
      folder = settings.getWorksheetFolder();
      fileName = defaultFileName(*context_);
    } else {
      DPX_Util::GetFolderName(path, folder);
      fileName = path;
    }
    const int language = dpx::Ui().getLanguage();
    const int answer = dpx::Ui().showSaveFileForm(dpx::StringTable::Load(kSaveWorksheetCaption, language), folder,
                                              fileName, "xml", kXmlFilesFilter);
    if (answer != 0) return answer;
    path = fileName;
  }
  worksheet_.setConnectionFields(*context_);
  dpx::Ui().updateCurrentWorksheet();
  DPX_WorksheetManager manager(context_);
  return manager.saveWorksheet(worksheet_, path);
}
