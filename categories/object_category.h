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
#include <string>
#include <vector>

#include "engine/di_interface.h"

// A plain table that travels with a category's records.
struct DPX_AccompanyingTable {
  std::string table{};
  std::vector<std::string> matchColumns{};  // find a row in the target (and update it there)
  std::vector<std::string> logColumns{};    // the row's code and description
  int32_t counterObjectType = -1;           // ONNM object code moved past new keys; -1: none
  std::string counterKeyColumn{};
};

// Every member has an initializer, so a category may give only the leading
// members in braces.
struct DPX_ObjectCategoryDefinition {
  int32_t objectType = 0;       // host business-object type
  std::string table{};          // main table, such as "OCRN"
  std::string keyQuery{};       // SELECT of the key columns; empty: every record of the table
  std::string matchProperty{};  // property that identifies a record in any company
  std::string matchColumn{};    // the column holding it
  std::string removalSql{};     // records the removal pass removes; empty: every record

  // The manager's lists; a class that fills them itself leaves these empty.
  std::vector<std::string> keyColumns{};
  std::vector<std::string> keyProperties{};
  std::vector<std::string> columns{};
  std::vector<std::string> properties{};  // parallel to the columns; their texts make a listed row
  std::vector<int32_t> columnFlags{};
  std::vector<std::string> listProperties{};  // the copy log's code and description

  // A number the record list shows as a text of the string table: the value
  // at this position of a listed row plus listTextBase is the text's id. -1: none.
  int32_t listTextIndex = -1;
  int32_t listTextBase = 0;
  // An element taken out of the record XML (its first occurrence) before the
  // record is added or updated: a value that only means something in the base.
  std::string removedElement{};
  // Plain tables written before the records, in this order.
  std::vector<DPX_AccompanyingTable> accompanyingTables{};
};

class DPX_ObjectCategory : public DPX_DIInterface {
 public:
  DPX_ObjectCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                     DPX_ObjectCategoryDefinition definition);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  void adjustXml(int32_t objectType, std::string& xml) override;

  const DPX_ObjectCategoryDefinition& definition() const { return m_definition; }

 protected:
  // Compares one block of the main table with the target and writes it by the method.
  void writeMainBlock(DPX_OperationArgs& block, uint8_t method);
  // Writes one block of an accompanying table: add-or-update, no log lines.
  void writeAccompanyingBlock(DPX_OperationArgs& block, const DPX_AccompanyingTable& table);

  DPX_ObjectCategoryDefinition m_definition;
};
