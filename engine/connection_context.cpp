#include "engine/connection_context.h"

#include <cstdlib>

#include <fmt/printf.h>

#include "engine/host_application.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"

namespace {

DPX_ConnectionContext::TerminateHook& Hook() {
  static DPX_ConnectionContext::TerminateHook hook = [](int code) { std::exit(code); };
  return hook;
}

}  // namespace

DPX_ConnectionContext::DPX_ConnectionContext() { reset(); }

DPX_ConnectionContext::~DPX_ConnectionContext() {
  // Release in the order the host expects; nothing is disconnected here.
  application_.reset();
  targetCompany_.reset();
  baseCompany_.reset();
  company_.reset();
}

void DPX_ConnectionContext::reset() {
  disconnectBaseCompany();
  disconnectTargetCompany();
  baseFile_.clear();
  targetFile_.clear();
  targetName_.clear();
  worksheetFile_.clear();
  logFile_.clear();
  baseDbPassword_.clear();
  targetDbPassword_.clear();
  copyMethod_ = -1;
  responseToCopyFailure_ = -1;
  failRecordsForMissingFields_ = false;
}

void DPX_ConnectionContext::setApplication(ApplicationPtr application) { application_ = std::move(application); }

void DPX_ConnectionContext::setCompany(CompanyPtr company) { company_ = std::move(company); }

void DPX_ConnectionContext::setBaseCompany(CompanyPtr company) { baseCompany_ = std::move(company); }

void DPX_ConnectionContext::setTargetCompany(CompanyPtr company) { targetCompany_ = std::move(company); }

DPX_ConnectionContext::ApplicationPtr DPX_ConnectionContext::getApplication() {
  if (!application_) return nullptr;
  try {
    application_->probe();
  } catch (const dpx::HostError& e) {
    // Without the host client nothing of the program can work any more.
    const std::string text = fmt::sprintf("Failed to connect UI API. Duplora is terminating.\nError Code: %d\nError Message: %s",
                                          dpx::InterfaceCode(e.code()), e.errorMessage());
    dpx::DPX_LogScope log("DPX_ConnectionContext::getApplication");
    log.LogError("%s", text);
    dpx::Ui().messageBox(text, "Error", dpx::mb::kIconError);
    Hook()(0);
    return nullptr;
  }
  return application_;
}

void DPX_ConnectionContext::disconnect(CompanyPtr& which, const CompanyPtr& other) {
  if (!which) return;
  CompanyPtr company = which;
  which.reset();
  if (!company->Connected()) return;
  // A company object shared with another field stays connected for it.
  if (DPX_Util::SameConnection(company, company_) || DPX_Util::SameConnection(company, other)) return;
  company->Disconnect();
}

void DPX_ConnectionContext::disconnectBaseCompany() { disconnect(baseCompany_, targetCompany_); }

void DPX_ConnectionContext::disconnectTargetCompany() { disconnect(targetCompany_, baseCompany_); }

dpx::HRESULT DPX_ConnectionContext::CreateCompanyInstance(CompanyPtr& company) {
  company.reset();
  try {
    company = dpx::host::CreateCompany();
    if (company) return dpx::S_OK;
    throw dpx::HostError(dpx::E_POINTER, "DPX_ConnectionContext", "");
  } catch (const dpx::HostError& e) {
    dpx::DPX_LogScope log("DPX_ConnectionContext::CreateCompanyInstance");
    log.LogError("Failed to create instance of company");
    company.reset();
    return e.code();
  }
}

void DPX_ConnectionContext::SetTerminateHook(TerminateHook hook) {
  Hook() = hook ? std::move(hook) : [](int code) { std::exit(code); };
}
