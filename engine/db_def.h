// The program's user-table definition: reads the table-definition resource
// (resources/udt/<id>.xml beside the executable), tells how a company's user
// tables stand against it, and creates or upgrades them through the host's
// user-table (153) and user-field (152) objects, as any add-on would.
//
// The company records the definition's version in a user table of its own,
// "@<add-on id>UDTV" (one row: Version, State "U" while an upgrade runs and
// "C" once it is complete). CheckVersion gives:
//   0  the tables are current: the recorded version equals the definition's
//      and every table and field exists;
//   1  the tables do not exist yet, lack a table or field, or carry an older
//      version: Create must run;
//   2  a newer version of the same major number is recorded (a later program
//      upgraded the company): the tables are usable as they are;
//   3  a newer major version is recorded: this program must leave them alone;
//   4  an upgrade was started and never completed.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/host_error.h"

namespace dpx::host {
class Company;
}

namespace dpx {

class HostApplication;

// A five-part version "M.mm.pp.bb.rr" of a definition.
class DbVersion {
 public:
  DbVersion() = default;
  // Unreadable parts count as 0.
  explicit DbVersion(const std::string& text);
  std::string GetVersionAsText() const;
  bool isZero() const;
  int major() const { return parts_[0]; }
  auto operator<=>(const DbVersion&) const = default;

 private:
  std::array<int, 5> parts_{};
};

// One user table of the definition.
struct UserFieldDef {
  std::string name;         // without "U_"
  std::string description;
  std::string type;         // ID, CHAR, INT, FLAG, ...
  int size = 0;
};
// One key of a user table: its fields (without "U_") in key order.
struct UserKeyDef {
  std::string name;
  bool unique = false;
  std::vector<std::string> elements;
};
struct UserTableDef {
  std::string name;         // without "@"
  std::string description;
  std::vector<UserFieldDef> fields;
  std::vector<UserKeyDef> keys;
};

class DbDef {
 public:
  DbDef(std::shared_ptr<HostApplication> application, std::shared_ptr<host::Company> company, std::string addOnId,
        int language);
  virtual ~DbDef() = default;

  // Compares the company with the definition of resource 135 (see above).
  // Raises HostError when the company cannot be read.
  virtual void CheckVersion(int& result);
  // Creates what the company lacks of resource `resourceId` and records the
  // version (the definition's own when `version` is zero). 0 on success;
  // raises HostError(DPX_E_CREATE_FAILED) when the host refuses a table or field.
  virtual HRESULT Create(int resourceId, bool dropUnknown, const DbVersion& version);
  virtual void GetDBVersion(DbVersion& version);
  virtual void GetFileVersion(DbVersion& version);

  // The definition in a resource; false (with `error` set) when it cannot be read.
  static bool LoadDefinition(int resourceId, std::vector<UserTableDef>& tables, DbVersion& version,
                             std::string& error);

  static constexpr int kDefinitionResource = 135;

 private:
  std::string versionTable() const;   // "@DPXUDTV"
  bool readVersionRow(DbVersion& version, std::string& state);
  void writeVersionRow(const DbVersion& version, const std::string& state);
  bool tableComplete(const UserTableDef& table);
  void createTable(const std::string& name, const std::string& description);
  void createField(const std::string& table, const UserFieldDef& field);
  bool hasKey(const std::string& table, const UserKeyDef& key);
  void createKey(const std::string& table, const UserKeyDef& key);

  std::shared_ptr<HostApplication> application_;
  std::shared_ptr<host::Company> company_;
  std::string addOnId_;
  int language_;
};

// The next free code of a user table: the greatest numeric Code plus one,
// eight digits with leading zeros ("00000001" for an empty table). The empty
// text when the table cannot be read.
std::string GetNextCodeValue(int32_t logValue, const std::shared_ptr<host::Company>& company,
                             const std::string& table);

// Dialect pieces for the program's own user tables: the table name ("@T",
// bracketed except for server types 2 and 5), a column (double-quoted for
// type 5) and a text literal ("'" doubled; N prefix except for type 5).
std::string UserTableName(int serverType, const std::string& table);
std::string UserColumn(int serverType, const std::string& column);
std::string UserText(int serverType, const std::string& value);

}  // namespace dpx
