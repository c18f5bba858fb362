// The family of table categories: rows of one host table without a business
// object, read and written by SQL. A category of this family differs from the
// others only in its table, its lists and a few constants, which its class
// hands to this base as a DPX_TableCategoryDefinition; the slots are shared.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/di_interface.h"

struct DPX_TableCategoryDefinition {
  std::string table;              // the category's host table, such as "OADF"
  std::string listSql;            // the record list's SELECT: key columns, then columns
  int32_t counterObjectType = -1; // ONNM object code moved past new keys; -1: none
  std::string counterKeyColumn;   // the numeric key column MAX is read of
  bool matchByColumns = false;    // rows match the target's by the columns (a name), else by the key columns
  std::string deleteFilter;       // WHERE clause of the removal pass; empty: every row
};

class DPX_TableCategory : public DPX_DIInterface {
 public:
  DPX_TableCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                    DPX_TableCategoryDefinition definition);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  const DPX_TableCategoryDefinition& definition() const { return m_definition; }

 protected:
  // "Find by name or next number": an updated row takes the key of the
  // target's row with the same name, an inserted row the target's highest key
  // + 1. Extra conditions narrow the name lookup (a group type, say).
  void mapByNameOrNextNumber(const std::string& table, std::string& xml, int32_t mode, const std::string& keyColumn,
                             const std::string& nameColumn,
                             const std::vector<std::pair<std::string, std::string>>& extraConditions = {});

  DPX_TableCategoryDefinition m_definition;
};
