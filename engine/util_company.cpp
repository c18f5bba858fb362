// DPX_Util's company services: the superuser gate, the company list of a
// server, connecting and disconnecting with the user's messages, comparing
// companies and connections, the localization and the host client's folder.
#include <exception>

#include <fmt/printf.h>

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "engine/host_application.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/host/business_object.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

constexpr uint32_t kCompanyListFailed = 10025;
constexpr uint32_t kConnectException = 10026;
constexpr uint32_t kConnectFailed = 10027;
constexpr uint32_t kDisconnectException = 10029;
constexpr uint32_t kDisconnectFailed = 10030;

int Language(DPX_ConnectionContext* context) {
  return DPX_Util::HostLanguage(context ? context->getApplication() : nullptr);
}

// The message of a refused call: the program's text, and the host's reason
// on a line of its own when there is one.
void ShowRefusal(dpx::DPX_LogScope& log, const DPX_Util::CompanyPtr& company, uint32_t textId, int language) {
  std::string message = dpx::StringTable::Load(textId, language);
  std::string reason;
  if (DPX_Util::LogLastError(log, company, &reason)) message = fmt::sprintf("%s\r\n'%s'", message, reason);
  DPX_Util::ShowError(message, true);
}

}  // namespace

int DPX_Util::HostLanguage(const std::shared_ptr<dpx::HostApplication>& application) {
  if (application) {
    try {
      return application->language();
    } catch (const dpx::HostError& e) {
      dpx::DPX_LogScope log("DPX_Util::HostLanguage");
      log.LogWarning("The host client does not tell its language: %s", e.what());
    }
  }
  return dpx::Ui().getLanguage();
}

dpx::HRESULT DPX_Util::CheckSuperUser(int32_t /*logValue*/, const CompanyPtr& company, bool& isSuperUser) {
  dpx::DPX_LogScope log("DPX_Util::CheckSuperUser");
  isSuperUser = false;
  std::string user;
  int key = 0;
  try {
    if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_Util", "");
    user = company->UserName();
    key = company->UserSignature();
    auto users = company->NewBusinessObject(dpx::host::kObjectUsers);
    if (!users) return dpx::S_OK;
    if (!users->GetByKey({dpx::Variant(int32_t{key})})) {
      log.LogError("Failed to get user '%s' (%d)", user, key);
      return dpx::S_FALSE;
    }
    dpx::Variant superuser;
    const dpx::HRESULT hr = users->GetProperty("Superuser", superuser);
    if (dpx::Failed(hr)) throw dpx::HostError(hr, "Users", "");
    isSuperUser = superuser.toInt64() == 1;
    return dpx::S_OK;
  } catch (const std::exception& e) {
    const dpx::HRESULT hr = StatusOf(e);
    log.LogError("Failed to check status of user '%s' (%d)", user, key);
    DPX_Util::LogLastError(log, company);
    isSuperUser = false;
    return hr;
  }
}

dpx::HRESULT DPX_Util::GetCompanyList(const CompanyPtr& company, CompanyList& list, bool showErrors) {
  dpx::DPX_LogScope log("DPX_Util::GetCompanyList");
  dpx::HRESULT hr = dpx::S_OK;
  try {
    if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_Util", "");
    auto companies = company->GetCompanyList();
    companies->MoveFirst();
    for (; !companies->EoF(); companies->MoveNext()) {
      list.push_back({VariantToString(companies->Field(1)), VariantToString(companies->Field(0)),
                      VariantToString(companies->Field(2))});
    }
  } catch (const std::exception&) {
    hr = dpx::E_FAIL;
  }
  if (dpx::Failed(hr) && showErrors) {
    log.LogError("Failed to retrieve company list from Vorn Quillon.");
    ShowRefusal(log, company, kCompanyListFailed, dpx::Ui().getLanguage());
  }
  return hr;
}

dpx::HRESULT DPX_Util::Connect(DPX_CompanyHandle& holder, DPX_ConnectionContext* context) {
  dpx::DPX_LogScope log("DPX_Util::Connect");
  const CompanyPtr company = holder.getCompany();
  try {
    if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_Util", "");
    // Record XML is exchanged as plain text.
    company->SetXmlExportType(3);
    company->SetXMLAsString(1);
    const int result = company->Connect();
    if (result != 0) {
      log.LogError("Failed to connect to Vorn Quillon Company");
      ShowRefusal(log, company, kConnectFailed, Language(context));
    }
    return result;
  } catch (const std::exception&) {
    log.LogError("Unknown Exception during Connect.");
    ShowError(dpx::StringTable::Load(kConnectException, Language(context)), false);
    return dpx::E_FAIL;
  }
}

dpx::HRESULT DPX_Util::Disconnect(DPX_CompanyHandle& holder, DPX_ConnectionContext* context) {
  dpx::DPX_LogScope log("DPX_Util::Disconnect");
  const CompanyPtr company = holder.getCompany();
  try {
    if (!company || !company->Connected()) return dpx::S_OK;
    const int result = company->Disconnect();
    if (result != 0) {
      log.LogError("Failed to disconnect from Vorn Quillon Company");
      ShowRefusal(log, company, kDisconnectFailed, Language(context));
    }
    return result;
  } catch (const std::exception&) {
    log.LogError("Unknown Exception during Disconnect.");
    ShowError(dpx::StringTable::Load(kDisconnectException, Language(context)), false);
    return dpx::E_FAIL;
  }
}

bool DPX_Util::SameCompany(const CompanyPtr& a, const CompanyPtr& b) {
  if (!a && !b) return true;
  if (!a || !b) return false;
  try {
    return CompareNames(a->DbServerType(), b->DbServerType(), a->Server(), b->Server(), a->CompanyDB(),
                        b->CompanyDB());
  } catch (const std::exception&) {
    return false;
  }
}

bool DPX_Util::SameConnection(const CompanyPtr& a, const CompanyPtr& b) {
  if (!SameCompany(a, b)) return false;
  if (!a && !b) return true;
  try {
    return a->UserName() == b->UserName();
  } catch (const std::exception&) {
    return false;
  }
}

bool DPX_Util::SameConnection(const DPX_CompanyHandle& a, const DPX_CompanyHandle& b) {
  return SameConnection(a.getCompany(), b.getCompany());
}

dpx::HRESULT DPX_Util::GetLocalization(int32_t /*logValue*/, const CompanyPtr& company, std::string& text) {
  dpx::DPX_LogScope log("DPX_Util::GetLocalization");
  text.clear();
  const std::string sql = "SELECT LawsSet FROM CINF";
  dpx::HRESULT hr = dpx::S_OK;
  try {
    if (!company) throw dpx::HostError(dpx::E_POINTER, "DPX_Util", "");
    log.LogDbg0("SQL: \"%s\"\n", sql);
    auto rs = company->NewRecordset();
    const int result = rs->DoQuery(company->DbServerType() == 5 ? "SELECT \"LawsSet\"DG1 FROM CINF" : sql);
    if (result != 0) {
      hr = dpx::E_FAIL;
    } else {
      rs->MoveFirst();
      if (rs->EoF()) return dpx::S_FALSE;
      text = rs->Field(0).toText();
      return dpx::S_OK;
    }
  } catch (const dpx::HostError& e) {
    hr = e.code();
  } catch (const std::exception&) {
    hr = dpx::E_FAIL;
  }
  log.LogError("Failed to retrieve localization from database, HRESULT = 0x%X\n", static_cast<uint32_t>(hr));
  DPX_Util::LogLastError(log, company);
  return hr;
}

dpx::HRESULT DPX_Util::GetLocalQuillonFolder(const CompanyPtr& company, std::string& folder) {
  dpx::DPX_LogScope log("DPX_Util::GetLocalQuillonFolder");
  folder.clear();
  if (!company) return dpx::E_POINTER;
  try {
    folder = company->ClientFolder().string();
  } catch (const std::exception&) {
    folder.clear();
  }
  if (!folder.empty() && FolderExists(folder)) return dpx::S_OK;
  log.LogError("Failed to detect the installation folder of the host client.");
  return dpx::E_FAIL;
}
