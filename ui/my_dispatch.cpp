#include "ui/my_dispatch.h"

#include <fmt/printf.h>

#include "engine/connection_context.h"
#include "engine/settings_manager.h"
#include "engine/udt_manager.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/host/company.h"
#include "platform/hostclient/add_on_util.h"
#include "ui/client_application.h"
#include "ui/gui_manager.h"
#include "ui/tools_manager.h"

using dpx::DPX_LogScope;
using dpx::HRESULT;

MyDispatch::MyDispatch() = default;

MyDispatch::~MyDispatch() {
  context_.reset();
  company_.reset();
  application_.reset();
}

HRESULT MyDispatch::OnApplicationLoad(dpx::hostclient::HostClient* application,
                                      std::shared_ptr<dpx::host::Company> company) {
  if (!application_ || application_->client() != application)
    application_ = std::make_shared<DPX_ClientApplication>(application);
  DPX_LogScope log("MyDispatch::OnApplicationLoad");
  if (company_ != company) company_ = std::move(company);

  if (const HRESULT result = checkSuperUser(company_); result != dpx::S_OK) return result;

  company_->SetXmlExportType(3);
  company_->SetXMLAsString(1);
  context_ = std::make_unique<DPX_ConnectionContext>();
  context_->setApplication(application_);
  context_->setCompany(company_);
  gui_ = &DPX_GUIManager::getInstance();
  gui_->initialize(context_.get());

  if (const HRESULT result = DPX_UDTManager(context_.get()).checkCompany(); dpx::Failed(result)) {
    log.LogError("Failed to check company database");
    return result;
  }
  if (const HRESULT result = DPX_SettingsManager(context_.get()).checkSettings(); dpx::Failed(result)) {
    log.LogError("Failed to check settings");
    return result;
  }
  if (const HRESULT result = gui_->initializeQuillonMenu(); dpx::Failed(result)) {
    log.LogError("Failed to add menu entry for Duplora to the tools menu");
    return result;
  }
  return dpx::S_OK;
}

HRESULT MyDispatch::checkSuperUser(const std::shared_ptr<dpx::host::Company>& company) {
  bool isSuperUser = false;
  DPX_Util::CheckSuperUser(0, company, isSuperUser);
  if (isSuperUser) return dpx::S_OK;
  const int language = application_ ? DPX_Util::HostLanguage(application_) : dpx::kHostLanguageEnglish;
  const std::string text = fmt::sprintf(dpx::StringTable::Load(10035, language), company->UserName());
  if (application_) application_->messageBox(text, 1, dpx::StringTable::Load(1, language), "", "");
  company->Disconnect();
  return dpx::E_FAIL;
}

HRESULT MyDispatch::OnMenuEvent(const dpx::hostclient::MenuEvent& event, bool& bubble) {
  DPX_LogScope log("MyDispatch::OnMenuEvent");
  if (!event.beforeAction) return dpx::S_OK;
  return handleMenuEvent(event.menuUid, bubble);
}

HRESULT MyDispatch::handleMenuEvent(const std::string& menuUid, bool&) {
  DPX_LogScope log("MyDispatch::handleMenuEvent");
  if (!context_ || !gui_) return dpx::S_OK;
  const std::string own = dpx::hostclient::AddOnUtil::GetMenuUID("DPX_", DPX_ToolsManager::kOpenCommand);
  if (menuUid != own || gui_->isStarted()) return dpx::S_OK;
  const HRESULT result = gui_->startDuplora();
  if (dpx::Failed(result)) {
    log.LogError("Failed to start Duplora");
    return result;
  }
  return dpx::S_OK;
}

HRESULT MyDispatch::OnChangeLanguage() {
  DPX_LogScope log("MyDispatch::OnChangeLanguage");
  if (!context_ || !gui_) return dpx::S_OK;
  return gui_->changeLanguage();
}

HRESULT MyDispatch::OnCompanyEvent(std::shared_ptr<dpx::host::Company> company) {
  if (company != company_) company_ = std::move(company);
  OnApplicationUnload();
  return dpx::S_OK;
}

HRESULT MyDispatch::OnApplicationUnload() {
  DPX_LogScope log("MyDispatch::OnApplicationUnload");
  if (!context_ || !gui_) return dpx::S_OK;
  if (dpx::Failed(gui_->closeDuplora())) log.LogError("Failed to close Duplora");
  DPX_ToolsManager tools(context_.get());
  tools.enableQuillonMenuItem(DPX_ToolsManager::kOpenCommand, false);
  const HRESULT result = tools.removeQuillonMenu();
  if (dpx::Failed(result)) log.LogError("Failed to remove menu of Duplora");
  return result;
}

HRESULT MyDispatch::OnFormLoad(const dpx::hostclient::FormEvent&, bool& bubble) {
  DPX_LogScope log("MyDispatch::OnFormLoad");
  bubble = true;
  return dpx::S_OK;
}
