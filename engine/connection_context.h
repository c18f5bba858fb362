// The running state of the add-on: the company the host client runs it in,
// the base and target companies of a copy, the host client's application,
// the files and names of the current run, the copy options and the copy log
// of a copy under way. Exactly one exists while the add-on is loaded; every
// other part holds a pointer to it and never owns it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/framework/host_error.h"

class DPX_CopyLog;

namespace dpx {
class HostApplication;
namespace host {
class Company;
}
}  // namespace dpx

class DPX_ConnectionContext {
 public:
  using CompanyPtr = std::shared_ptr<dpx::host::Company>;
  using ApplicationPtr = std::shared_ptr<dpx::HostApplication>;
  // Ends the process after the host client was lost; tests install their own.
  using TerminateHook = std::function<void(int exitCode)>;

  DPX_ConnectionContext();
  // Releases what it holds; disconnects nothing.
  ~DPX_ConnectionContext();
  DPX_ConnectionContext(const DPX_ConnectionContext&) = delete;
  DPX_ConnectionContext& operator=(const DPX_ConnectionContext&) = delete;

  // Disconnects base and target (never one shared with another field),
  // clears the seven texts and the copy method, response and missing-fields
  // flag. Company, application, force backup and copy log stay.
  void reset();

  void setApplication(ApplicationPtr application);
  void setCompany(CompanyPtr company);
  void setBaseCompany(CompanyPtr company);
  void setTargetCompany(CompanyPtr company);

  // Probes the host client first: when it no longer answers, the program
  // tells the user and ends (see SetTerminateHook).
  ApplicationPtr getApplication();
  CompanyPtr getCompany() const { return company_; }
  CompanyPtr getBaseCompany() const { return baseCompany_; }
  CompanyPtr getTargetCompany() const { return targetCompany_; }

  void disconnectBaseCompany();
  void disconnectTargetCompany();

  void setBaseFile(const std::string& path) { baseFile_ = path; }
  std::string getBaseFile() const { return baseFile_; }
  void setTargetFile(const std::string& path) { targetFile_ = path; }
  std::string getTargetFile() const { return targetFile_; }
  void setTargetName(const std::string& name) { targetName_ = name; }
  std::string getTargetName() const { return targetName_; }
  void setWorksheetFile(const std::string& path) { worksheetFile_ = path; }
  std::string getWorksheetFile() const { return worksheetFile_; }
  void setLogFile(const std::string& path) { logFile_ = path; }
  std::string getLogFile() const { return logFile_; }

  // Copies of the base's and the target's database passwords (the host
  // company takes a password but never gives it back).
  void setBaseDbPassword(const std::string& password) { baseDbPassword_ = password; }
  std::string getBaseDbPassword() const { return baseDbPassword_; }
  void setTargetDbPassword(const std::string& password) { targetDbPassword_ = password; }
  std::string getTargetDbPassword() const { return targetDbPassword_; }

  void setCopyMethod(int32_t method) { copyMethod_ = method; }
  int32_t getCopyMethod() const { return copyMethod_; }
  void setResponseToCopyFailure(int32_t response) { responseToCopyFailure_ = response; }
  int32_t getResponseToCopyFailure() const { return responseToCopyFailure_; }
  void setFailRecordsForMissingFields(bool fail) { failRecordsForMissingFields_ = fail; }
  bool getFailRecordsForMissingFields() const { return failRecordsForMissingFields_; }
  void setForceBackup(bool force) { forceBackup_ = force; }
  bool getForceBackup() const { return forceBackup_; }

  // The log of the copy under way (not owned; null outside a copy). The copy
  // command sets it once the log is open and clears it after the log is closed.
  DPX_CopyLog* copyLog = nullptr;

  // A new, unconnected host company object. 0, or the failing status (logged;
  // company stays null).
  static dpx::HRESULT CreateCompanyInstance(CompanyPtr& company);

  // What ends the process when the host client is lost (default: exit code 0).
  static void SetTerminateHook(TerminateHook hook);

 private:
  void disconnect(CompanyPtr& which, const CompanyPtr& other);

  CompanyPtr company_;
  CompanyPtr baseCompany_;
  CompanyPtr targetCompany_;
  ApplicationPtr application_;
  std::string baseFile_;
  std::string targetFile_;
  std::string targetName_;
  std::string worksheetFile_;
  std::string logFile_;
  std::string baseDbPassword_;
  std::string targetDbPassword_;
  int32_t copyMethod_ = -1;
  int32_t responseToCopyFailure_ = -1;
  bool failRecordsForMissingFields_ = false;
  bool forceBackup_ = false;
};
