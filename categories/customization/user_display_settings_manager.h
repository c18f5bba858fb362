// User display settings: the users' column preferences of the host's forms,
// read and written through the company's column-preferences service and
// carried as one record per user and form: the host's preference XML with
// the user's code (escaped) in "<User>" right after its first tag. In the
// target the preferences go to the user with the same user code; a user the
// target lacks is passed over without a line. Every copy method writes the
// same update; the removal pass removes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/di_interface.h"

// The preferences collected for one target user.
struct DPX_UserColumnsPreferences {
  int64_t user = -1;  // the target user's internal key; -1: none
  std::string text;   // the entries of one or more records, one after the other
};

// Puts "<User>code</User>" right after the first "<ColumnsPreferences>".
void insertUserElement(std::string& text, const std::string& userCode);
// Removes every occurrence of the text's first "<User>...</User>".
void removeUserElement(std::string& text);
void wrapColumnsPreferences(std::string& text);
// The text between the first "<FormID>" and "</FormID>"; "" without one.
std::string extractFormId(const std::string& text);
// The user code a per-user record names, unescaped; "" without "<User>".
std::string userCodeOf(const std::string& record);

class DPX_UserDisplaySettingsManager : public DPX_DIInterface {
 public:
  DPX_UserDisplaySettingsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  // The form's label for the record list: the client's description (when it
  // has one), " [User-Defined Fields]" for a negative id, then " (id)". 1
  // when the client described the form.
  int32_t formLabel(const std::string& formId, std::string& label);
  // Stores one group into its target user and writes the group's line.
  int32_t writeUserPreferences(const std::string& userCode, const DPX_UserColumnsPreferences& group);
};
