// The family of table categories: rows of one host table without a business
// object, read and written by SQL. A category of this family differs from the
// others only in its table, its lists and a few constants, which its class
// (or its row of a definition table) hands to this base as a
// DPX_TableCategoryDefinition; the slots are shared.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "categories/list_text.h"
#include "categories/object_category.h"
#include "categories/reference_field.h"
#include "engine/di_interface.h"
#include "engine/di_record_support.h"

// A column of the target's records that names rows of a category's table by
// one of its columns: while a record names a row, the removal pass keeps it.
struct DPX_NamingColumn {
  std::string keyColumn;  // the category's column that is named
  std::string table;      // the table of the records that name it
  std::string column;     // their column holding the name
};

// Every member has an initializer, so a category may give only the leading
// members in braces.
struct DPX_TableCategoryDefinition {
  std::string table{};                      // the category's host table, such as "OADF"
  std::string listSql{};                    // the record list's SELECT: key columns, then columns
  int32_t counterObjectType = -1;           // ONNM object code moved past new keys; -1: none
  std::string counterKeyColumn{};           // the numeric key column MAX is read of (and that a new row's key goes to)
  std::vector<std::string> matchColumns{};  // a row's counterpart in the target; empty: the key columns
  std::string deleteFilter{};               // WHERE clause of the removal pass; empty: every row
  // The same filter as server type 5 reads it, used as it stands; empty: the
  // removal rewrites deleteFilter for that server type.
  std::string deleteFilterQuoted{};
  std::string readAllSql{};  // the rows a copy of the whole category reads; empty: every row
  // The removal pass runs as plain SQL, past the host's own check of what
  // records name: a row that a target record still names stays, and its
  // line says so.
  std::vector<DPX_NamingColumn> keptWhileNamed{};
  // Before a write the row takes the key of its counterpart in the target
  // (update) or the target's highest key + 1 (insert), in counterKeyColumn.
  bool newKeys = false;
  std::vector<DPX_ListText> listTexts{};  // record-list cells shown as texts
  // Fields of the rows that name rows of other tables, translated into the target's keys.
  std::vector<DPX_ReferenceField> references{};
  // Plain tables whose rows belong to the category's rows (written without
  // copy-log lines, by their own fixed method).
  std::vector<DPX_DependentBlock> dependents{};
  std::vector<size_t> textColumns{};  // columns the record list shows names in, sorted as text

  // The manager's lists; a class that fills them itself leaves these empty.
  std::vector<std::string> keyColumns{};
  std::vector<std::string> columns{};
  std::vector<int32_t> columnFlags{};
  std::vector<std::string> logColumns{};  // the copy log's code and description
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
  bool writesInSlices() const override;
  void mapReferences(std::string table, std::string& xml, int32_t mode) override;

  const DPX_TableCategoryDefinition& definition() const { return m_definition; }
  // The keys the rows of this write pass got in the target, by their keys in
  // the base (the first key a row got when it was written twice), kept when
  // a dependent table follows them.
  const std::map<std::string, std::string>& writtenKeys() const { return m_writtenKeys; }

 protected:
  // "Find by name or next number": an updated row takes the key of the
  // target's row with the same name, an inserted row the target's highest key
  // + 1. Extra conditions narrow the name lookup (a group type, say).
  void mapByNameOrNextNumber(const std::string& table, std::string& xml, int32_t mode, const std::string& keyColumn,
                             const std::string& nameColumn,
                             const std::vector<std::pair<std::string, std::string>>& extraConditions = {});
  // The same, with the row's counterpart found by several of its columns.
  void mapByColumnsOrNextNumber(const std::string& table, std::string& xml, int32_t mode,
                                const std::string& keyColumn, const std::vector<std::string>& lookupColumns,
                                const std::vector<std::pair<std::string, std::string>>& fixedConditions);
  // The columns a row is matched with the target's by.
  const std::vector<std::string>& matchColumns() const;
  // The rows of the dependent tables that go with the main block (blocks[mainBlock]).
  void readDependents(std::vector<DPX_OperationArgs>& blocks, size_t mainBlock);
  // Matches one slice of the main table's rows with the target and writes it by the method.
  void writeRows(DPX_OperationArgs& block, const std::vector<std::string>& match, uint8_t method);
  void writeDependent(DPX_OperationArgs& block, const DPX_DependentBlock& dependent);
  // The removal pass: the dependents' rows its filters select, before the main rows.
  void removeDependents();
  // The removal pass of the main table: the rows its filter selects, but
  // those that target records still name.
  void removeRows(DPX_OperationArgs& block);
  // A listed row after its list texts: a category whose texts depend on the
  // row's own values changes it here.
  virtual void adjustListRow(std::vector<std::string>& row, DPX_ListTextObjects& objects);

  DPX_TableCategoryDefinition m_definition;

 private:
  // The target's fields of the table, read by the first key lookup.
  std::vector<dpx::records::FieldInfo> m_targetFields;
  bool m_targetFieldsRead = false;
  std::map<std::string, std::string> m_writtenKeys;
  // The key the row being written takes (base key, target key, mode): kept
  // in m_writtenKeys only once the row is in the target under it, so that a
  // refused row's dependents never follow the next row that takes its key.
  struct PendingKey {
    std::string baseKey;
    std::string targetKey;
    int32_t mode = 0;
  };
  std::optional<PendingKey> m_pendingKey;
  void keepPendingKey();
};
