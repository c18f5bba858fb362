// Categories that write accounts into the target's posting-period
// categories: a base category's accounts go into the target category whose
// financial year begins on the same date (the first such in the target's
// list), and no category is ever added, removed or renamed. Each category
// travels as one record of elements named after the period category's
// properties; accounts go by their format codes where a company's account
// flag is set. The G/L account determination also carries ten settings of
// the administration record. Both categories differ only in their element
// tables, which drive one reader and one writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/di_interface.h"

class DPX_DOMParser;

namespace dpx::host {
class Company;
class ServiceObject;
}  // namespace dpx::host

// One element of a period category's record.
struct DPX_PeriodElement {
  enum Kind : uint8_t {
    kAccount,  // an account: by its format code where the company's flag is set
    kText,     // read as it is, not written
  };
  const char* name;
  Kind kind = kAccount;
  bool written = true;  // put into the target category (in table order)
};

// One setting of the administration record that travels with the categories.
struct DPX_AdminSetting {
  enum Rule : uint8_t {
    kNumber,         // a whole number, always put
    kTextIfGiven,    // a text, put only when not empty
    kTextAlways,     // a text, put also when empty
    kNotWritten,     // a text carried in the record and never put
  };
  const char* name;
  Rule rule = kNumber;
};

struct DPX_PeriodAccountsDefinition {
  std::string root;                           // the record's element
  std::vector<DPX_PeriodElement> elements;    // after "PeriodCategory", in record order
  std::vector<DPX_AdminSetting> settings{};   // the administration record's block ("OADM"); empty: none
  bool listsCategories = false;               // a record list of the base's categories, and picks
};

namespace dpx::categories {

// The record of the administration record's settings under `root`, read from the base.
std::string ReadAdminSettings(DPX_ConnectionContext* context, const std::string& root,
                              const std::vector<DPX_AdminSetting>& settings);
// Puts the settings of the block's record into the target's administration
// record by their rules and stores it: one line, "213" with the target's
// company name, "402" or "403" with the reason.
void WriteAdminSettings(DPX_ConnectionContext* context, const std::string& categoryKey,
                        const DPX_OperationArgs& block, const std::string& root,
                        const std::vector<DPX_AdminSetting>& settings);

}  // namespace dpx::categories

class DPX_PeriodAccountsCategory : public DPX_DIInterface {
 public:
  DPX_PeriodAccountsCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                             DPX_PeriodAccountsDefinition definition);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  // Method 0 changes nothing; every other method updates the matching
  // target categories (and the settings) and adds nothing.
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

 protected:
  // An account code as the base's record carries it: its format code where
  // the flag is set. An empty code stays empty; a code the base's chart
  // lacks travels as it is.
  std::string formatCodeOf(const std::string& code) const;
  // A record's account as the target names it: the account code of its
  // format code where the flag is set. False when the target has no account
  // of that format code.
  bool accountCodeOf(const std::string& text, std::string& code) const;

  DPX_PeriodAccountsDefinition m_definition;
  bool m_accountFlag = false;  // of the company read or written

 private:
  std::string buildCategory(const std::shared_ptr<dpx::host::ServiceObject>& category) const;
  void writeCategory(const std::string& xml);
};
