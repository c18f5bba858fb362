// Opening a worksheet (its file, the template, the companies it names, the
// base configuration file and the category managers of its tree) and saving it.
#include "worksheet/worksheet_manager.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fmt/printf.h>

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "engine/dom_parser.h"
#include "engine/resource_manager.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet_template_manager.h"

using dpx::DPX_LogScope;
using dpx::E_FAIL;
using dpx::HRESULT;
using dpx::S_OK;

namespace {

constexpr uint32_t kLoadingConfigurationFile = 10012;
constexpr uint32_t kReadingFromCompany = 10060;
constexpr uint32_t kSavingWorksheet = 10013;
constexpr uint32_t kFailedToSave = 10017;
constexpr uint32_t kInvalidData = 10036;
constexpr uint32_t kChooseOtherTarget = 10031;
constexpr uint32_t kChangeBaseQuestion = 10032;

const char* const kRoot = "twinlyWorksheet";

// A new company object that describes a company the worksheet names.
HRESULT DescribeCompany(DPX_CompanyHandle& handle, int serverType, const std::string& server, bool trusted,
                        const std::string& dbUser, const std::string& database, const std::string& user) {
  std::shared_ptr<dpx::host::Company> company;
  const HRESULT hr = DPX_ConnectionContext::CreateCompanyInstance(company);
  if (hr < 0) return hr;
  handle.setCompany(company);
  company->SetDbServerType(serverType);
  handle.setServer(server);
  company->SetUseTrusted(trusted);
  handle.setDbUserName(dbUser);
  handle.setCompanyDB(database);
  handle.setUserName(user);
  return S_OK;
}

uint16_t ProgressBound(size_t n) { return static_cast<uint16_t>(std::min<size_t>(n, 0xFFFF)); }

}  // namespace

std::string HostText(uint32_t id) { return dpx::StringTable::Load(id, dpx::Ui().getLanguage()); }

DPX_WorksheetManager::DPX_WorksheetManager(DPX_ConnectionContext* context)
    : context_(context), keyTable_(&DPX_ResourceManager::getInstance()) {}

uint32_t DPX_WorksheetManager::noteStringId(int number) {
  if (context_ == nullptr) return 0;
  std::shared_ptr<dpx::host::Company> company = context_->getCompany();
  if (!company) return 0;
  std::string noteKey;
  if (DPX_Util::GetNoteFromDB(0, company, number, noteKey) != S_OK) return 0;
  return keyTable_->getStringId(noteKey);
}

HRESULT DPX_WorksheetManager::openWorksheet(DPX_Worksheet& worksheet, unsigned char mode) {
  DPX_LogScope log("DPX_WorksheetManager::openWorksheet");
  DPX_WorksheetTemplateManager& tpl = DPX_WorksheetTemplateManager::getInstance(context_);

  if (worksheet.isFilePathEmpty() || mode != 0) {
    worksheet.setConnectionFields(*context_);
    worksheet.releaseDataInterfaces();
    tpl.getWorksheetTemplate(worksheet);
  } else {
    // The worksheet is refilled from the file: nothing of an earlier one stays.
    worksheet.releaseDataInterfaces();
    worksheet.getNodes().clear();
    HRESULT hr = readWorksheet(worksheet, worksheet.getFilePath());
    if (hr < 0) return hr;
    hr = tpl.updateWorksheetFromTemplate(worksheet);
    updateStrings(worksheet);
    if (hr < 0) {
      for (const DPX_WorksheetNode& node : worksheet.getNodes()) {
        if (tpl.hasNode(node.getLeafId())) continue;
        failure_ = fmt::sprintf("it holds the unknown leaf id %s, which the program's category tree does not have",
                                node.getLeafId());
        break;
      }
      return hr;
    }

    context_->setCopyMethod(worksheet.getCopyMethod());
    context_->setResponseToCopyFailure(worksheet.getRTCF());
    context_->setFailRecordsForMissingFields(worksheet.isFRFMUDF());
    context_->setForceBackup(worksheet.isBackup());

    if (worksheet.hasSourceDB()) {
      hr = loginBaseCompany(worksheet);
      if (hr != S_OK) return hr;
    }
    context_->setTargetFile(worksheet.getTargetFile());
    context_->setTargetName(worksheet.getTargetCompanyName());
    if (!worksheet.getTargetDB().empty()) {
      hr = loginTargetCompany(worksheet);
      if (hr != S_OK) return hr;
    }
  }

  if (!worksheet.isSourceFromFile() && !worksheet.hasSourceDB()) {
    log.LogError("No source configuration defined. Can't open worksheet.");
    DPX_Util::ShowError(HostText(kInvalidData), false);
    return E_FAIL;
  }

  if (worksheet.isSourceFromFile()) {
    DPX_ConfigurationManager* configuration = dpx::Ui().getConfigurationManager();
    if (configuration == nullptr) {
      log.LogError("No configuration manager to read the base configuration file");
      return E_FAIL;
    }
    const HRESULT hr = configuration->openConfiguration(worksheet, false);
    if (hr < 0) return hr;
    context_->setCopyMethod(worksheet.getCopyMethod());
    context_->setResponseToCopyFailure(worksheet.getRTCF());
    context_->setFailRecordsForMissingFields(worksheet.isFRFMUDF());
  }

  DPX_Util::SetProgress(HostText(worksheet.isSourceFromFile() ? kLoadingConfigurationFile : kReadingFromCompany), 0,
                        ProgressBound(static_cast<size_t>(worksheet.getLeafCount())));
  {
    dpx::WaitCursor wait;
    try {
      updateDetails(worksheet);
    } catch (const dpx::HostError& e) {
      log.LogError("%s", formatComError(e));
    } catch (const std::exception& e) {
      log.LogError("Exception during update of configuration details");
      log.LogError("%s", e.what());
    }
  }
  DPX_Util::ResetProgress();
  return S_OK;
}

HRESULT DPX_WorksheetManager::loginBaseCompany(DPX_Worksheet& worksheet) {
  DPX_LogScope log("DPX_WorksheetManager::openWorksheet");
  DPX_CompanyHandle handle;
  HRESULT hr = DescribeCompany(handle, worksheet.getSourceServerType(), worksheet.getSourceServer(),
                               worksheet.isSourceServerUseTrusted(), worksheet.getSourceServerUser(),
                               worksheet.getSourceDB(), worksheet.getSourceUser());
  if (hr < 0) return hr;
  std::shared_ptr<dpx::host::Company> company = handle.getCompany();

  const DPX_CompanyHandle own(context_->getCompany());
  if (DPX_Util::SameConnection(handle, own)) {
    context_->setBaseCompany(context_->getCompany());
    return S_OK;
  }

  bool renew = false;
  for (;;) {
    const std::string name = handle.getCompanyName();
    if (dpx::Ui().showChooseCompanyForm(handle, name.empty() ? worksheet.getSourceCompanyName() : name) != 0) {
      return dpx::S_FALSE;
    }
    company = handle.getCompany();
    if (company && DPX_Util::CompareNames(company->DbServerType(), worksheet.getSourceServerType(), handle.getServer(),
                                          worksheet.getSourceServer(), handle.getCompanyDB(), worksheet.getSourceDB())) {
      break;
    }
    const int answer = DPX_Util::AskQuestion(HostText(kChangeBaseQuestion), true, 2);
    if (answer == dpx::mb::kIdCancel) return dpx::S_FALSE;
    if (answer == dpx::mb::kIdYes) {
      renew = true;
      break;
    }
  }
  context_->setBaseCompany(company);

  if (renew) {
    worksheet.setModified(true);
    worksheet.releaseDataInterfaces();
    DPX_WorksheetTemplateManager::getInstance(context_).getWorksheetTemplate(worksheet);
    worksheet.setSourceServerType(company->DbServerType());
    worksheet.setSourceServer(handle.getServer());
    worksheet.setSourceDB(handle.getCompanyDB());
  }
  if (worksheet.isSourceServerUseTrusted() != company->UseTrusted()) {
    worksheet.setSourceServerUseTrusted(company->UseTrusted());
    worksheet.setModified(true);
  }
  if (worksheet.getSourceServerUser() != handle.getDbUserName()) {
    worksheet.setSourceServerUser(handle.getDbUserName());
    worksheet.setModified(true);
  }
  if (worksheet.getSourceUser() != handle.getUserName()) {
    worksheet.setSourceUser(handle.getUserName());
    worksheet.setModified(true);
  }
  return S_OK;
}

HRESULT DPX_WorksheetManager::loginTargetCompany(DPX_Worksheet& worksheet) {
  DPX_LogScope log("DPX_WorksheetManager::openWorksheet");
  DPX_CompanyHandle handle;
  const HRESULT hr = DescribeCompany(handle, worksheet.getTargetServerType(), worksheet.getTargetServer(),
                                     worksheet.isTargetServerUseTrusted(), worksheet.getTargetServerUser(),
                                     worksheet.getTargetDB(), worksheet.getTargetUser());
  if (hr < 0) return hr;

  const DPX_CompanyHandle own(context_->getCompany());
  if (DPX_Util::SameConnection(handle, own)) {
    context_->setTargetCompany(context_->getCompany());
    context_->setTargetName(own.getCompanyName());
    return S_OK;
  }
  const DPX_CompanyHandle base(context_->getBaseCompany());
  if (DPX_Util::SameConnection(handle, base)) {
    context_->setTargetCompany(context_->getBaseCompany());
    context_->setTargetName(base.getCompanyName());
    return S_OK;
  }
  for (;;) {
    const std::string name = handle.getCompanyName();
    if (dpx::Ui().showChooseCompanyForm(handle, name.empty() ? worksheet.getTargetCompanyName() : name) != 0) {
      return dpx::S_FALSE;
    }
    if (DPX_Util::SameCompany(handle.getCompany(), context_->getBaseCompany())) {
      DPX_Util::ShowError(HostText(kChooseOtherTarget), false);
      continue;
    }
    context_->setTargetCompany(handle.getCompany());
    context_->setTargetName(handle.getCompanyName());
    return S_OK;
  }
}

HRESULT DPX_WorksheetManager::saveWorksheet(DPX_Worksheet& worksheet, const std::string& path) {
  DPX_LogScope log("DPX_WorksheetManager::saveWorksheet");
  HRESULT status = E_FAIL;
  bool report = true;
  DPX_DOMParser dom;
  [&] {
    if (!dom.loadXML(fmt::sprintf("<%s></%s>", kRoot, kRoot))) {
      log.LogError("Failed to load xml: '%s'", dom.getErrors());
      return;
    }
    if (addXmlAttribute(dom, "version", "1.0") < 0) {
      log.LogError("Failed to add attribute '%s' with value '%s': '%s'", "version", "1.0", dom.getErrors());
      status = E_FAIL;
      report = false;
      return;
    }
    if ((status = addXmlElement(dom, "header", "", true)) < 0) {
      log.LogError("Failed to add header section: '%s'", dom.getErrors());
      return;
    }
    status = writeHeaderDataToXML(worksheet, dom);
    if (status < 0) log.LogError("Failed to write worksheet header data");
    dom.move(0, false);
    if (status < 0) return;
    if ((status = addXmlElement(dom, "body", "", true)) < 0) {
      log.LogError("Failed to add body section: '%s'", dom.getErrors());
      return;
    }
    DPX_Util::SetProgress(HostText(kSavingWorksheet), 0, ProgressBound(worksheet.getNodes().size()));
    {
      dpx::WaitCursor wait;
      try {
        status = writeTreeDataToXML(worksheet, dom);
      } catch (const std::exception& e) {
        log.LogError("Exception while writing worksheet selection data: %s", e.what());
        status = E_FAIL;
      }
    }
    DPX_Util::ResetProgress();
    if (status < 0) {
      log.LogError("Failed to write worksheet selection data");
      return;
    }
    dom.resetCursor();
    // The whole document is written to a temporary file that replaces the old
    // one only when every byte arrived: a failed save keeps the old worksheet.
    // The serializer hands back what it managed to write: a text that does not
    // end with the root's end tag is not the whole worksheet.
    const std::string text = dom.serialize(true);
    const std::string closing = fmt::sprintf("</%s>", kRoot);
    errno = 0;
    if (text.size() < closing.size() || text.compare(text.size() - closing.size(), closing.size(), closing) != 0 ||
        !dpx::WriteUtf16File(path, text, true)) {
      const int error = errno;
      failure_ = text.size() < closing.size() || text.compare(text.size() - closing.size(), closing.size(), closing) != 0
                     ? "the worksheet's text could not be made whole" + (dom.firstError().empty() ? std::string()
                                                                          : ": " + dom.firstError())
                     : fmt::sprintf("the file '%s' could not be written: %s", path,
                                    error != 0 ? std::strerror(error) : "the write failed");
      log.LogError("Failed to save worksheet: %s", failure_);
      status = E_FAIL;
      return;
    }
    status = S_OK;
  }();
  if (status < 0) {
    if (!report) return status;
    log.LogError("Failed to save worksheet to file '%s'", path);
    DPX_Util::ShowError(fmt::sprintf(HostText(kFailedToSave), path), false);
    return status;
  }
  if (context_ != nullptr) context_->setWorksheetFile(path);
  worksheet.setFilePath(path);
  worksheet.setModified(false);
  return S_OK;
}

std::string DPX_WorksheetManager::formatComError(const dpx::HostError& error) {
  const auto code = static_cast<uint32_t>(error.code());
  std::string meaning = dpx::StatusMessage(error.code());
  if (meaning.rfind("Unknown error", 0) == 0 && code >= 0x80040201u && code <= 0x8004FFFFu) {
    meaning = fmt::sprintf("IDispatch error #%d", static_cast<int>(code - 0x80040200u));
  }
  while (!meaning.empty() && (meaning.back() == '\n' || meaning.back() == '\r')) meaning.pop_back();
  return fmt::sprintf("Com Error\nCode = %d\nCode meaning = %s\nSource = %s\nDescription = %s\n",
                      static_cast<int>(error.code()), meaning, error.source(), error.description());
}
