// The program's standard settings: the one row of the user table @DPXSETT in
// the company the add-on runs in (copy method, response to a copy failure,
// the missing-user-fields and force-backup flags, and the folders for
// configuration files, worksheets and logs). A small value object made where
// the settings are needed: it reads the row, writes it back, fills in
// defaults, creates the default folders under the server's shared folder and
// copies the options into the connection context.
#pragma once

#include <cstdint>
#include <string>

#include "platform/framework/host_error.h"

class DPX_ConnectionContext;

class DPX_SettingsManager {
 public:
  explicit DPX_SettingsManager(DPX_ConnectionContext* context) : context_(context) {}

  std::string getConfigurationFolder() const { return configurationFolder_; }
  std::string getWorksheetFolder() const { return worksheetFolder_; }
  std::string getLogFileFolder() const { return logFileFolder_; }
  int32_t getCopyMethod() const { return copyMethod_; }
  int32_t getResponseToCopyFailure() const { return responseToCopyFailure_; }
  bool getFailRecordsForMissingFields() const { return failRecordsForMissingFields_; }
  bool getForceBackup() const { return forceBackup_; }

  void setCopyMethod(int32_t method) { copyMethod_ = method; }
  void setResponseToCopyFailure(int32_t response) { responseToCopyFailure_ = response; }
  void setFailRecordsForMissingFields(bool fail) { failRecordsForMissingFields_ = fail; }
  void setForceBackup(bool force) { forceBackup_ = force; }
  void setConfigurationFolder(const std::string& folder) { configurationFolder_ = folder; }
  void setWorksheetFolder(const std::string& folder) { worksheetFolder_ = folder; }
  void setLogFileFolder(const std::string& folder) { logFileFolder_ = folder; }

  // 0 when the row was read, 1 without a row (values unchanged), negative on failure.
  dpx::HRESULT getSettingsFromDatabase();
  // Reads the row and, while no worksheet is open, copies the options into
  // the connection context.
  dpx::HRESULT updateSettingsFromDatabase();
  // Replaces the row with the current values. 0, or negative on failure, in
  // which case the row stays as it was.
  dpx::HRESULT saveSettingsToDatabase();
  // Copy method Replace All, continue on failure, no missing-field failures,
  // force backup; the folders stay. Always 0.
  dpx::HRESULT setDefaultSettings();
  // Creates "Duplora" with its three folders under the server's shared folder
  // and takes them as the folders. 0 when the program folder exists, else 1.
  dpx::HRESULT createDefaultFolders();
  // At application load: writes defaults (and default folders) when the
  // company has no settings row yet.
  dpx::HRESULT checkSettings();

 private:
  DPX_ConnectionContext* context_;
  std::string configurationFolder_;
  std::string worksheetFolder_;
  std::string logFileFolder_;
  int32_t copyMethod_ = -1;
  int32_t responseToCopyFailure_ = -1;
  bool failRecordsForMissingFields_ = false;
  bool forceBackup_ = true;
};
