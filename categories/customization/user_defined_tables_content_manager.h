// The rows of the user tables without a host object (OUTB ObjectType '0'),
// copied table by table: the record list shows the tables, and choosing a
// table copies all of its rows, matched with the target's rows by Code and
// written with their own Code. A block is written only when it names such a
// user table of the target ("@" + its name) outside the excluded tables;
// any other block is refused with one failed copy-log line and leaves the
// table it names untouched (the removal pass passes over a user table the
// target does not have at all). A table whose name no host table can have
// is neither read nor written: it gets its own failed line.
#pragma once

#include <set>
#include <string>

#include "engine/di_interface.h"

class DPX_UserDefinedTablesContentManager : public DPX_DIInterface {
 public:
  DPX_UserDefinedTablesContentManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  static std::string listSql();

 private:
  // The names (without "@") of the target's tables that blocks may name.
  std::set<std::string> writableTables();
  // Whether the target's OUTB has a table of that name, of any kind.
  bool targetHasTable(const std::string& name);
  // One failed copy-log line for the rows of a table that are not read or written.
  void refuseTable(const std::string& table, int32_t action, const std::string& reason);
};
