#include "engine/settings_manager.h"

#include <exception>
#include <filesystem>

#include <fmt/printf.h>

#include "engine/company_transaction.h"
#include "engine/connection_context.h"
#include "engine/host_application.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr uint32_t kDefaultFoldersFailed = 10019;

std::string ReadSql(int serverType) {
  if (serverType == 2)
    return "SELECT U_CpyMethod, U_RTCF, U_FRFMUDF, U_FBACKUP, U_CFFolder, U_WSFolder, U_LFFolder FROM @DPXSETT";
  if (serverType == 5)
    return "SELECT \"U_CpyMethod\", \"U_RTCF\", \"U_FRFMUDF\", \"U_FBACKUP\", \"U_CFFolder\", \"U_WSFolder\", "
           "\"U_LFFolder\" FROM @DPXSETT";
  return "SELECT U_CpyMethod, U_RTCF, U_FRFMUDF, U_FBACKUP, U_CFFolder, U_WSFolder, U_LFFolder FROM [@DPXSETT]";
}

std::string DeleteSql(int serverType) {
  return serverType == 2 || serverType == 5 ? "DELETE FROM @DPXSETT" : "DELETE FROM [@DPXSETT]";
}

const char* InsertFormat(int serverType) {
  if (serverType == 2)
    return "INSERT INTO @DPXSETT (Code, Name, U_CpyMethod, U_RTCF, U_FRFMUDF, U_FBACKUP, U_CFFolder, U_WSFolder, "
           "U_LFFolder)    VALUES ('00000000', '00000000', %d, %d, N'%s', N'%s', N'%s', N'%s', N'%s')";
  if (serverType == 5)
    return "INSERT INTO @DPXSETT (\"Code\", \"Name\", \"U_CpyMethod\", \"U_RTCF\", \"U_FRFMUDF\", \"U_FBACKUP\", "
           "\"U_CFFolder\", \"U_WSFolder\", \"U_LFFolder\")    VALUES ('00000000', '00000000', %d, %d, '%s', '%s', "
           "'%s', '%s', '%s')";
  return "INSERT INTO [@DPXSETT] (Code, Name, U_CpyMethod, U_RTCF, U_FRFMUDF, U_FBACKUP, U_CFFolder, U_WSFolder, "
         "U_LFFolder)    VALUES ('00000000', '00000000', %d, %d, N'%s', N'%s', N'%s', N'%s', N'%s')";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

dpx::HRESULT DPX_SettingsManager::getSettingsFromDatabase() {
  dpx::DPX_LogScope log("DPX_SettingsManager::getSettingsFromDatabase");
  const auto company = context_->getCompany();
  if (!company) return dpx::E_FAIL;
  dpx::HRESULT hr = dpx::S_OK;
  try {
    const std::string sql = ReadSql(company->DbServerType());
    log.LogDbg0("SQL: \"%s\"\n", sql);
    auto rs = company->NewRecordset();
    if (rs->DoQuery(sql) != 0)
      throw dpx::HostError(dpx::E_FAIL, "DPX_SettingsManager", "the settings row cannot be read");
    rs->MoveFirst();
    if (rs->EoF()) return dpx::S_FALSE;
    const int32_t copyMethod = rs->Field(0).toInt32();
    const int32_t response = rs->Field(1).toInt32();
    const bool failRecords = rs->Field(2).toText() == "Y";
    const bool forceBackup = rs->Field(3).toText() == "Y";
    const std::string configurationFolder = rs->Field(4).toText();
    const std::string worksheetFolder = rs->Field(5).toText();
    const std::string logFileFolder = rs->Field(6).toText();
    copyMethod_ = copyMethod;
    responseToCopyFailure_ = response;
    failRecordsForMissingFields_ = failRecords;
    forceBackup_ = forceBackup;
    configurationFolder_ = configurationFolder;
    worksheetFolder_ = worksheetFolder;
    logFileFolder_ = logFileFolder;
    return dpx::S_OK;
  } catch (const std::exception& e) {
    hr = DPX_Util::StatusOf(e);
  }
  log.LogError("Failed to retrieve default settings from database, HRESULT = 0x%X\n", static_cast<uint32_t>(hr));
  DPX_Util::LogLastError(log, company);
  return hr;
}

dpx::HRESULT DPX_SettingsManager::updateSettingsFromDatabase() {
  dpx::DPX_LogScope log("DPX_SettingsManager::updateSettingsFromDatabase");
  const dpx::HRESULT r = getSettingsFromDatabase();
  if (dpx::Failed(r)) return r;
  // While a worksheet is open its own options stay in force.
  if (context_->getWorksheetFile().empty()) {
    context_->setCopyMethod(copyMethod_);
    context_->setResponseToCopyFailure(responseToCopyFailure_);
    context_->setFailRecordsForMissingFields(failRecordsForMissingFields_);
    context_->setForceBackup(forceBackup_);
  }
  return r;
}

dpx::HRESULT DPX_SettingsManager::saveSettingsToDatabase() {
  dpx::DPX_LogScope log("DPX_SettingsManager::saveSettingsToDatabase");
  const auto company = context_->getCompany();
  if (!company) return dpx::E_FAIL;
  dpx::HRESULT hr = dpx::S_OK;
  try {
    const int serverType = company->DbServerType();
    // The old row goes only together with the new one coming in: a refused
    // insert rolls the delete back.
    dpx::CompanyTransaction transaction(company);
    auto rs = company->NewRecordset();
    const std::string deleteSql = DeleteSql(serverType);
    log.LogDbg0("SQL: \"%s\"\n", deleteSql);
    if (rs->DoQuery(deleteSql) != 0) throw dpx::HostError(dpx::E_FAIL, "DPX_SettingsManager", "");
    const std::string insertSql =
        fmt::sprintf(InsertFormat(serverType), copyMethod_, responseToCopyFailure_,
                     failRecordsForMissingFields_ ? "Y" : "N", forceBackup_ ? "Y" : "N", DPX_Util::EscapeSqlText(configurationFolder_),
                     DPX_Util::EscapeSqlText(worksheetFolder_), DPX_Util::EscapeSqlText(logFileFolder_));
    log.LogDbg0("SQL: \"%s\"\n", insertSql);
    if (rs->DoQuery(insertSql) != 0) throw dpx::HostError(dpx::E_FAIL, "DPX_SettingsManager", "");
    transaction.commit();
    return dpx::S_OK;
  } catch (const dpx::HostError& e) {
    log.LogError("Error: %s\n", e.errorMessage());
    hr = e.code();
  } catch (const std::exception&) {
    hr = dpx::E_FAIL;
  }
  log.LogError("Failed to save default settings for Duplora!\n");
  DPX_Util::LogLastError(log, company);
  return hr;
}

dpx::HRESULT DPX_SettingsManager::setDefaultSettings() {
  dpx::DPX_LogScope log("DPX_SettingsManager::setDefaultSettings");
  copyMethod_ = 1;
  responseToCopyFailure_ = 0;
  failRecordsForMissingFields_ = false;
  forceBackup_ = true;
  return dpx::S_OK;
}

dpx::HRESULT DPX_SettingsManager::createDefaultFolders() {
  dpx::DPX_LogScope log("DPX_SettingsManager::createDefaultFolders");
  const auto company = context_->getCompany();
  if (!company) return 1;
  const std::string server = company->Server();
  const std::string name = dpx::ToLowerAscii(server);
  const bool local = name == "." || Contains(name, ".\\") || name == "(local)" || Contains(name, "(local)\\") ||
                     name == "localhost";
  std::string base;
  if (local) {
    if (dpx::Failed(DPX_Util::GetLocalQuillonFolder(company, base))) {
      log.LogError("Failed to find installation directory of Vorn Quillon");
      return 1;
    }
  } else {
    // The server's own folder (a port after a comma is not part of it). The
    // name keeps its letter case: folder names are case-sensitive here.
    base = server.substr(0, server.find(','));
  }
  std::string shared = base + "/Quillon_SHR";
  if (!DPX_Util::FolderExists(shared)) {
    shared = base + "/VQN_SHR";
    if (!DPX_Util::FolderExists(shared)) {
      log.LogError("Failed to find share folder under '%s'", base);
      return 1;
    }
  }
  // Kept as absolute paths: the settings serve every later run, whatever
  // folder it starts in, and a server named by a relative path would
  // otherwise leave folders that only the first run's folder can find.
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(shared, ec).lexically_normal();
  if (!ec) shared = absolute.string();
  while (shared.size() > 1 && shared.back() == '/') shared.pop_back();
  const std::string program = shared + "/Duplora";
  if (DPX_Util::CreateFolder(program) != 0) {
    log.LogError("Failed to create folder '%s'", program);
    return 1;
  }
  struct Folder {
    const char* name;
    std::string* setting;
  } folders[] = {{"Company configuration files", &configurationFolder_},
                 {"Worksheets", &worksheetFolder_},
                 {"Log files", &logFileFolder_}};
  for (const auto& folder : folders) {
    const std::string path = program + "/" + folder.name;
    if (DPX_Util::CreateFolder(path) == 0)
      *folder.setting = path;
    else
      log.LogError("Failed to create folder '%s'", path);
  }
  return 0;
}

dpx::HRESULT DPX_SettingsManager::checkSettings() {
  dpx::DPX_LogScope log("DPX_SettingsManager::checkSettings");
  const dpx::HRESULT r = getSettingsFromDatabase();
  if (r != dpx::S_FALSE) return r;  // failed, or the row exists: nothing is written
  setDefaultSettings();
  if (createDefaultFolders() != 0) {
    log.LogError("Failed to create default folders.");
    const auto app = context_->getApplication();
    const int language = DPX_Util::HostLanguage(app);
    const std::string text = dpx::StringTable::Load(kDefaultFoldersFailed, language);
    if (app)
      app->setStatusBarErrorMessage(text);
    else
      DPX_Util::ShowError(text, false);
  }
  return saveSettingsToDatabase();
}
