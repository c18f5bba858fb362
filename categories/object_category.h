// The family of business-object categories: records are host business
// objects, listed by a key query, fetched by key as record XML and written
// through the same business object. A category of this family differs from
// the others in its object type, table, lists and queries, which its class
// hands to this base as a DPX_ObjectCategoryDefinition.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "categories/list_text.h"
#include "engine/di_interface.h"

struct DPX_ObjectCategoryDefinition {
  int32_t objectType = 0;     // host business-object type
  std::string table;          // main table, such as "OCRN"
  std::string keyQuery;       // SELECT of the key columns; empty: every record of the table
  std::string matchProperty;  // property that identifies a record in any company
  std::string matchColumn;    // the column holding it
  std::string removalSql;     // records the removal pass removes; empty: every record
  // A record identified by several properties (a field by its table and
  // name) names them all here, and their columns in the same order; they
  // take the place of matchProperty and matchColumn.
  std::vector<std::string> matchProperties = {};
  std::vector<std::string> matchColumns = {};
  // Record-list cells that show a code number as a text.
  std::vector<DPX_ListText> listTexts = {};
};

class DPX_ObjectCategory : public DPX_DIInterface {
 public:
  DPX_ObjectCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                     DPX_ObjectCategoryDefinition definition);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  const DPX_ObjectCategoryDefinition& definition() const { return m_definition; }

 protected:
  // Compares one block of the main table with the target and writes it by the method.
  void writeMainBlock(DPX_OperationArgs& block, uint8_t method);

  DPX_ObjectCategoryDefinition m_definition;
};
