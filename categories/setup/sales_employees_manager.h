// Sales employees (table OSLP, business object 53) with what they lean on in
// the host's employee data: the five lookup tables of the employees (written
// by SQL, a row keeping the target's key of its name or taking the target's
// highest key + 1) and the employees (OHEM, business object 171, found by
// their last and first names). Lookup rows and employees are written
// add-or-update whatever the copy method and without copy-log lines; the
// sales employees under the copy method, one line each.
#pragma once

#include <string>
#include <vector>

#include "categories/object_category.h"

class DPX_SalesEmployeesManager : public DPX_ObjectCategory {
 public:
  DPX_SalesEmployeesManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
  void mapReferences(std::string table, std::string& xml, int32_t mode) override;

  // A lookup table of the employee data: what tells one from the others.
  struct LookupTable {
    const char* table;
    const char* keyColumn;
    const char* readSql;  // the base's rows that travel; empty: every row
    int32_t counterObjectType;
  };
  static const std::vector<LookupTable>& lookupTables();

 private:
  void writeLookupRows(DPX_OperationArgs& block, const LookupTable& lookup);
  // Employees are written without their managers first, and given them once
  // every employee is in the target.
  void writeEmployees(DPX_OperationArgs& block);
};
