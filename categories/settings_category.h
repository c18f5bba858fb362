// The family of settings categories: the category's record is a fixed set of
// fields of the company's single administration record (table OADM, the
// host's AdminInfo object), read property by property into one element of
// the category's own and written back property by property. There is no
// record list and nothing to remove. A category of this family differs from
// the others only in its element name and field list, which its class hands
// to this base as a DPX_SettingsCategoryDefinition.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/di_interface.h"

namespace dpx::host {
class Company;
class HostObject;
}  // namespace dpx::host

// One setting: an AdminInfo property and the element of the same name.
struct DPX_SettingsField {
  enum Kind {
    kText,    // carried as it is
    kNumber,  // an integer or enumeration: decimal text in the record, an integer in the host
  };
  std::string name;
  Kind kind = kText;
};

struct DPX_SettingsCategoryDefinition {
  std::string element;                   // the record's element, such as "COASettings"
  std::vector<DPX_SettingsField> fields;  // in record order
  // The record starts with the base's "CompanyName" element. It only names
  // the base company in the copy log and is never written into the target.
  bool hasCompanyName = false;
};

class DPX_SettingsCategory : public DPX_DIInterface {
 public:
  DPX_SettingsCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                       DPX_SettingsCategoryDefinition definition);

  // One block of table "OADM" holding the base's record; the chosen keys do
  // not matter (there is one record). A property the host cannot read raises
  // HostError to the caller.
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // No record list: the table description as it is.
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  // Nothing for no block or the removal pass; otherwise the first block's
  // record is put into the target's AdminInfo, which is updated, and exactly
  // one copy-log line says how it went (written whatever logRecords holds).
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  const DPX_SettingsCategoryDefinition& definition() const { return m_definition; }

 protected:
  // The record XML of the fields of `adminInfo`.
  std::string buildRecord(const std::shared_ptr<dpx::host::HostObject>& adminInfo) const;
  // Puts the fields of the record (cursor on the category element) into
  // `adminInfo` of `target`. False, with `error` saying which and why, when
  // the host refuses a value; the fields after it are not put then.
  bool putFields(DPX_DOMParser& parser, const std::shared_ptr<dpx::host::HostObject>& adminInfo,
                 dpx::host::Company& target, std::string& error) const;

  DPX_SettingsCategoryDefinition m_definition;
};
