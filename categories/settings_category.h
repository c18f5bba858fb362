// The family of settings categories: the category's record is a fixed set of
// fields of the company's single administration record (the host's AdminInfo
// object, table OADM) and of its company information (CompanyInfo), read
// property by property into one element of the category's own and written
// back property by property. Some categories carry more: a single-row table
// read and written by SQL (the print preferences), plain table rows (holidays,
// print preferences per document), or a record that is only saved. A category
// of this family differs from the others only in what its class hands to this
// base as a DPX_SettingsCategoryDefinition; a class adds code only where its
// flow really differs (a record list, say).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/di_interface.h"

namespace dpx::host {
class BusinessObject;
class Company;
class HostObject;
}  // namespace dpx::host

// One setting: a host property (or a column) and the element of the same name.
struct DPX_SettingsField {
  enum Kind {
    kText,    // carried as it is
    kNumber,  // an integer or enumeration: decimal text in the record, an integer in the host
    kDouble,  // a real: six decimals in the record ("0.000000"), whatever the user's locale
  };
  enum Object { kAdminInfo, kCompanyInfo };

  std::string name{};
  Kind kind = kText;
  Object object = kAdminInfo;
  // False: saved in the record but never put into the target.
  bool written = true;
  // The record carries a code of this table (code, host value) in place of
  // the host value. A host value without a code writes no element; a code
  // not in the table puts nothing.
  std::vector<std::pair<std::string, int32_t>> codes{};
  // Not put when the target's first settings entry of this code has the
  // status 1 (0: no such condition).
  int32_t blockedByEntry = 0;
  // A number that names a row of this table by its key column; it travels
  // by the row's name column and is not put when empty or when the target
  // has no row of that name.
  std::string referenceTable{}, referenceKey{}, referenceName{};
  // A value the base cannot give leaves the element out instead of stopping
  // the reading.
  bool optional = false;
};

// A record of properties kept in the configuration file alone (the company
// information of the company details): saved, never written.
struct DPX_SettingsSavedRecord {
  std::string table;    // the block's table, such as "CINF"
  std::string element;  // the record's element, such as "CompanyInfo"
  std::vector<DPX_SettingsField> fields;
};

// The one row of a table read by SELECT and written back by one UPDATE
// without a condition (the print preferences, OADP). Nothing is logged.
struct DPX_SettingsTableRecord {
  std::string table;
  std::string element;
  std::vector<DPX_SettingsField> columns;  // text or number
};

// Plain table rows that travel with the settings, written by the table
// operations.
struct DPX_SettingsRows {
  std::string table;
  std::vector<std::string> keyColumns;          // read from the matching target row
  std::vector<std::string> descriptionColumns;  // code and description of a row in the log
  std::vector<std::string> matchColumns;        // equal in a base and a target row that match
  int32_t counterObjectType = -1;               // ONNM object code moved past new keys
  std::string counterKeyColumn = "Code";
  // True: written by the copy method, the removal pass included, one log
  // line per row. False: added or updated whatever the method, silently,
  // and left alone by the removal pass.
  bool byCopyMethod = false;
  // Only the rows whose column of this name holds the base's current period
  // (OADM CurrPeriod); empty: every row.
  std::string periodColumn;
};

struct DPX_SettingsCategoryDefinition {
  std::string element;                    // the record's element, such as "COASettings"; empty: no such record
  std::vector<DPX_SettingsField> fields;  // in record order
  // The record starts with the base's "CompanyName" element, which names the
  // companies in the copy log.
  bool hasCompanyName = false;
  // Where the log line names the companies: Base Desc. and Target Former
  // Desc., or Base Code and Target Code.
  bool namesInCodes = false;
  // The company name is copied too; after a successful update the line's
  // Target Desc. gives the new name.
  bool writesCompanyName = false;
  // The company information is stored only when the administration record
  // was: a refused administration record leaves both as they were.
  bool companyInfoAfterAdminInfo = false;

  std::vector<DPX_SettingsRows> rowsFirst{};            // blocks before the record, in order
  std::vector<DPX_SettingsSavedRecord> savedRecords{};  // after them, before the record
  std::vector<DPX_SettingsTableRecord> tableRecords{};  // after the record
  std::vector<DPX_SettingsRows> rowsLast{};             // last
};

class DPX_SettingsCategory : public DPX_DIInterface {
 public:
  DPX_SettingsCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                       DPX_SettingsCategoryDefinition definition);

  // The category's blocks, in the definition's order: the record in one block
  // of table "OADM", and the blocks that accompany it. The chosen keys do not
  // matter (there is one record). What the host cannot read raises HostError
  // to the caller.
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // No record list: the table description as it is.
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  // Each block by its table; a block of another table is passed over. The
  // removal pass leaves the settings alone. The record goes into the
  // target's objects, which are updated, and exactly one copy-log line says
  // how it went (written whatever logRecords holds).
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  const DPX_SettingsCategoryDefinition& definition() const { return m_definition; }

  // Locale-free texts of the record: integers in decimal, reals with six
  // decimals; read back by their leading number (0 when there is none).
  static std::string FormatNumber(const dpx::Variant& value, DPX_SettingsField::Kind kind);
  static double LeadingDouble(const std::string& text);

 protected:
  // The record XML of `fields` of the two objects under `element`.
  std::string buildRecord(const std::string& element, const std::vector<DPX_SettingsField>& fields,
                          const std::shared_ptr<dpx::host::HostObject>& adminInfo,
                          const std::shared_ptr<dpx::host::HostObject>& companyInfo) const;
  // Puts the fields of the record (cursor on the category element) into the
  // target's objects. False, with `error` saying which and why, when the
  // host refuses a value; the fields after it are not put then.
  bool putFields(DPX_DOMParser& parser, const std::shared_ptr<dpx::host::BusinessObject>& adminInfo,
                 const std::shared_ptr<dpx::host::BusinessObject>& companyInfo, dpx::host::Company& target,
                 std::string& error) const;

  void writeRecord(DPX_OperationArgs block);
  void writeTableRecord(const DPX_SettingsTableRecord& record, const DPX_OperationArgs& block);
  void writeRows(const DPX_SettingsRows& rows, DPX_OperationArgs block, uint8_t method);
  DPX_OperationArgs readRows(const DPX_SettingsRows& rows);
  bool readTableRecord(const DPX_SettingsTableRecord& record, DPX_OperationArgs& block);

  DPX_SettingsCategoryDefinition m_definition;
};
