#include "engine/udt_manager.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <exception>

#include <fmt/printf.h>

#include "engine/company_lock.h"
#include "engine/connection_context.h"
#include "engine/db_def.h"
#include "engine/host_application.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/host/company.h"

namespace {

constexpr uint32_t kOk = 1;
constexpr uint32_t kExit = 3;
constexpr uint32_t kUpgrade = 4;
constexpr uint32_t kRestartUpgradeQuestion = 10000;
constexpr uint32_t kReallyRestartQuestion = 10001;
constexpr uint32_t kNoteWriteFailed = 10037;
constexpr int kLastNote = 30;
// How long a set-up waits for another process's set-up of the same company,
// which may stand at a question to its user.
constexpr std::chrono::seconds kSetUpWait(60);

DPX_UDTManager::DbDefFactory& Factory() {
  static DPX_UDTManager::DbDefFactory factory;
  return factory;
}

// The host client's message box when there is a client, the program's own otherwise.
int Ask(const std::shared_ptr<dpx::HostApplication>& app, const std::string& text, const std::string& button1,
        const std::string& button2) {
  if (app) return app->messageBox(text, 1, button1, button2, "");
  if (button2.empty()) {
    dpx::Ui().messageBox(text, dpx::StringTable::Load(2041, dpx::Ui().getLanguage()), dpx::mb::kIconError);
    return 1;
  }
  const int answer = dpx::Ui().messageBox(text, dpx::StringTable::Load(2041, dpx::Ui().getLanguage()),
                                          dpx::mb::kYesNo | dpx::mb::kIconQuestion | dpx::mb::kDefaultButton2);
  return answer == dpx::mb::kIdYes ? 2 : 1;
}

}  // namespace

void DPX_UDTManager::SetDbDefFactory(DbDefFactory factory) { Factory() = std::move(factory); }

dpx::HRESULT DPX_UDTManager::checkCompany() {
  dpx::DPX_LogScope log("DPX_UDTManager::checkCompany");
  dpx::HRESULT result = dpx::S_OK;
  try {
    const auto app = context_->getApplication();
    const auto company = context_->getCompany();
    // Two copies started together would each create the tables, and one
    // would fail on what the other made or read a half-made set-up: one
    // process at a time sets up a company.
    std::unique_ptr<DPX_CompanyLock> setUp;
    if (company) {
      setUp = std::make_unique<DPX_CompanyLock>(*company, ".setup.lock");
      const int cause = setUp->take(kSetUpWait);
      if (cause == EWOULDBLOCK) {
        log.LogError("Another process has been setting up the program's tables in %s for %d s; giving up\n",
                     company->CompanyDB(), static_cast<int>(kSetUpWait.count()));
        return dpx::E_FAIL;
      }
      // A shared folder that takes no lock file leaves the set-up as it was without one.
      if (cause != 0)
        log.LogWarning("The set-up runs without its lock: %s: %s\n", setUp->file().string(), std::strerror(cause));
    }
    std::unique_ptr<dpx::DbDef> definition =
        Factory() ? Factory()(app, company) : std::make_unique<dpx::DbDef>(app, company, "DPX", 3);
    int check = -1;
    definition->CheckVersion(check);
    switch (check) {
      case 0:
        log.LogDbg0("Db is OK.\n");
        result = updateTables();
        break;
      case 1:
        log.LogInfo("Db tables do not exist yet.\n");
        result = createTables(*definition);
        if (dpx::Succeeded(result)) result = updateTables();
        break;
      case 2:
        result = updateTables();
        break;
      case 3:
        result = dpx::S_OK;
        break;
      case 4: {
        dpx::DbVersion dbVersion, fileVersion;
        definition->GetDBVersion(dbVersion);
        definition->GetFileVersion(fileVersion);
        log.LogDbg0("Add-on version is %s. Incomplete upgrade of DB tables to version %s detected.\n",
                    fileVersion.GetVersionAsText(), dbVersion.GetVersionAsText());
        const int language = DPX_Util::HostLanguage(app);
        const std::string exitText = dpx::StringTable::Load(kExit, language);
        const std::string upgradeText = dpx::StringTable::Load(kUpgrade, language);
        // The version goes where the text has "%s"; a translation is never run as a format.
        std::string question = dpx::StringTable::Load(kRestartUpgradeQuestion, language);
        if (const size_t at = question.find("%s"); at != std::string::npos)
          question.replace(at, 2, dbVersion.GetVersionAsText());
        result = dpx::DPX_E_HOST_REFUSED;
        if (Ask(app, question, exitText, upgradeText) == 2 &&
            Ask(app, dpx::StringTable::Load(kReallyRestartQuestion, language), exitText, upgradeText) == 2) {
          result = createTables(*definition);
          if (dpx::Succeeded(result)) result = updateTables();
        }
        break;
      }
      default:
        log.LogDbg0("Unknown result from version check.\n");
        result = dpx::E_INVALIDARG;
    }
  } catch (const dpx::HostError& e) {
    log.LogError("Exception caught!\n");
    result = e.code();
    if (result == dpx::DPX_E_CREATE_FAILED) log.LogError("DB create failed. See previous log messages for the reason!\n");
  } catch (const std::exception& e) {
    log.LogError("Exception caught: %s\n", e.what());
    result = dpx::E_FAIL;
  }
  return result;
}

dpx::HRESULT DPX_UDTManager::createTables(dpx::DbDef& definition) {
  dpx::DPX_LogScope log("DPX_UDTManager::createTables");
  return definition.Create(dpx::DbDef::kDefinitionResource, false, dpx::DbVersion("0.00.00.00.00"));
}

dpx::HRESULT DPX_UDTManager::updateTables() {
  dpx::DPX_LogScope log("DPX_UDTManager::updateTables");
  for (int n = 1; n <= kLastNote; ++n) storeNote(n, fmt::sprintf("DPX_LMS_NOTE%d_0", n));
  return dpx::S_OK;
}

dpx::HRESULT DPX_UDTManager::storeNote(int32_t id, const std::string& key) {
  dpx::DPX_LogScope log("DPX_UDTManager::storeNote");
  const dpx::HRESULT result = DPX_Util::WriteNoteToDB(0, context_->getCompany(), id, key);
  if (dpx::Failed(result)) {
    const auto app = context_->getApplication();
    const int language = DPX_Util::HostLanguage(app);
    Ask(app, dpx::StringTable::Load(kNoteWriteFailed, language), dpx::StringTable::Load(kOk, language), "");
  }
  return result;
}
