// The family of business-object categories: records are host business
// objects, listed by a key query, fetched by key as record XML and written
// through the same business object. A category of this family differs from
// the others in its object type, table, lists and queries, which its class
// (or its row of a definition table) hands to this base as a
// DPX_ObjectCategoryDefinition.
//
// Some categories carry plain tables along with their records (the terms a
// dunning level names, the installments of payment terms): those are read
// whole, written before the records, add-or-update whatever the copy method,
// without copy-log lines, and left alone by the removal pass.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "categories/list_text.h"
#include "categories/reference_field.h"
#include "engine/di_interface.h"

namespace dpx::host {
class HostObject;
class Recordset;
}  // namespace dpx::host

// A table whose rows the category's records need. It is read whole, whatever
// records are chosen, and written before the main table without copy-log lines.
struct DPX_DependentBlock {
  std::string table;
  int32_t objectType = 300;               // 300: plain rows written by SQL
  std::vector<std::string> keyColumns;    // key columns of the table
  std::vector<std::string> listColumns;   // the row's code and name
  std::string matchProperty;              // business object: the property found in the target ...
  std::string matchColumn;                // ... in this column; plain rows: the column matched by
  uint8_t fixedMethod = 4;                // the method it is written by, whatever the copy's
  int32_t counterObjectType = -1;         // plain rows: the host counter moved past new keys (in keyColumns[0])
  bool inRemovalPass = false;             // also written in the removal pass of Replace All
  // Plain rows matched by several columns; empty: by matchColumn.
  std::vector<std::string> matchColumns = {};
  // Rows that belong to the main table's rows (an alert's recipients, a
  // country's states) are read and written after them.
  bool afterMainTable = false;
  // The column naming the main row a row belongs to: only the rows of the
  // main rows read travel, and each takes the key its main row got in the
  // target; a row whose main row was not written is dropped (table family).
  std::string parentColumn = {};
  // Fields translated into the target's keys; a row whose reference the
  // target cannot satisfy is dropped (table family).
  std::vector<DPX_ReferenceField> references = {};
  // The rows the removal pass deletes before it deletes the main rows, as
  // the default dialect and as server type 5 read it (table family).
  std::string removalFilter = {};
  std::string removalFilterQuoted = {};
};

// Plain rows that travel with the records: found in the target by
// matchColumns and overwritten there, or added, whatever the copy's method.
DPX_DependentBlock DPX_PlainRows(std::string table, std::vector<std::string> matchColumns,
                                 std::vector<std::string> listColumns, int32_t counterObjectType,
                                 std::string counterKeyColumn);

// Every member has an initializer, so a category may give only the leading
// members in braces.
struct DPX_ObjectCategoryDefinition {
  int32_t objectType = 0;       // host business-object type
  std::string table{};          // main table, such as "OCRN"
  std::string keyQuery{};       // SELECT of the key columns; empty: every record of the table
  std::string matchProperty{};  // property that identifies a record in any company
  std::string matchColumn{};    // the column holding it
  std::string removalSql{};     // records the removal pass removes; empty: every record
  // A record identified by several properties (a field by its table and
  // name) names them all here, and their columns in the same order; they
  // take the place of matchProperty and matchColumn.
  std::vector<std::string> matchProperties = {};
  std::vector<std::string> matchColumns = {};
  // The record list's key query when it differs from keyQuery ("" : keyQuery).
  std::string listQuery = {};
  std::vector<DPX_ReferenceField> references = {};   // read and translated in this order
  std::vector<DPX_DependentBlock> dependents = {};   // written before the main table, in this order
  std::vector<DPX_ListText> listTexts = {};          // shown as text; their columns sort as text
  std::string removalStatement = {};                 // SQL the removal pass runs on the target first
  // The removal pass removes only the target's records the base has no
  // match for: a record both have is updated in place by the write pass and
  // keeps what hangs on it (a table's rows, a field's column data, a
  // user's password).
  bool removalKeepsMatched = false;

  // The manager's lists; a class that fills them itself leaves these empty.
  std::vector<std::string> keyColumns{};
  std::vector<std::string> keyProperties{};
  std::vector<std::string> columns{};
  std::vector<std::string> properties{};  // parallel to the columns; their texts make a listed row
  std::vector<int32_t> columnFlags{};
  std::vector<std::string> listProperties{};  // the copy log's code and description
  // An element taken out of the record XML (its first occurrence) before the
  // record is added or updated: a value that only means something in the base.
  std::string removedElement{};
  // The record list shows the key rows' values as they stand, with no
  // business object fetched (a record that is nothing but its key).
  bool listFromKeys = false;
};

class DPX_ObjectCategory : public DPX_DIInterface {
 public:
  DPX_ObjectCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                     DPX_ObjectCategoryDefinition definition);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  int32_t readSlices(const BlockSink& take, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  bool writesInSlices() const override;
  void adjustXml(int32_t objectType, std::string& xml) override;

  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;

  const DPX_ObjectCategoryDefinition& definition() const { return m_definition; }

 protected:
  // Compares one block of the main table with the target and writes it by the
  // method. The block's records are handed on to the write: it is left empty.
  void writeMainBlock(DPX_OperationArgs& block, uint8_t method);
  // Writes one block of a table the records need, with the copy-log lines off.
  void writeDependentBlock(DPX_OperationArgs& block, const DPX_DependentBlock& dependent, uint8_t method);
  // Writes a block of the tables the records need; false when the block is of none of them.
  bool writeDependentBlocks(DPX_OperationArgs& block, uint8_t method);
  // Dependency records of the reference fields (read) and the target's keys (write).
  void resolveReferences(DPX_OperationArgs& block);
  void mapReferencesToTarget(DPX_OperationArgs& block);
  // The block's records as the write matches them in the target: the texts
  // of their match properties.
  std::set<std::vector<std::string>> matchTexts(const DPX_OperationArgs& block);
  // The properties that identify a record in any company.
  std::vector<std::string> matchProperties() const;
  // Takes out of a compared block, each with its own line, the records the
  // target would refuse: only what the method is about to write is checked.
  virtual void refuseCompared(DPX_OperationArgs& block, uint8_t method) { (void)block, (void)method; }
  // Whether readSlices hands the main table's records on a slice at a time:
  // a class that reads its category its own way (its own readFromDB) says no.
  virtual bool readsInSlices() const { return true; }
  // The blocks readFromDB gives, the main table's a slice at a time.
  virtual int32_t readBlocks(const BlockSink& take, std::vector<DPX_DetailRecord> chosen);
  // A listed row of the key values alone.
  std::vector<std::string> readKeyRow(dpx::host::Recordset& fields);

  DPX_ObjectCategoryDefinition m_definition;
};
