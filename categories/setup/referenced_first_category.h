// Categories whose records name another record of their own table: price
// lists (each based on a price list) and territories (each below a parent
// territory). They read like the other business-object categories, but are
// written record by record: the records a record names go first, the
// reference is translated into the target's key of the named record, and the
// record is then found in the target by its name and updated or added by the
// copy method. The two differ in their definition, and in what becomes of a
// reference the target cannot satisfy.
#pragma once

#include <string>
#include <vector>

#include "categories/object_category.h"

// What a record whose named record is missing in the target becomes.
enum class DPX_MissingReference : uint8_t {
  kNextNumberWhenItself,  // a new record naming itself: the target's highest key + 1; else "403"
  kLeftOut,               // the record is written without the reference
};

struct DPX_ReferencedFirstDefinition {
  DPX_ObjectCategoryDefinition records;  // its first reference is the one to its own table
  DPX_MissingReference missing = DPX_MissingReference::kLeftOut;
  std::string missingText{};  // the "403" line's reason, with %s for the named record
};

class DPX_ReferencedFirstCategory : public DPX_ObjectCategory {
 public:
  DPX_ReferencedFirstCategory(DPX_ConnectionContext* context, const std::string& categoryKey,
                              const DPX_ReferencedFirstDefinition& definition);

  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }

 private:
  // The records in an order that puts every record after the record it names
  // (a cycle keeps the order it had).
  std::vector<DPX_OperationArgs::DataItem> referencedFirst(std::vector<DPX_OperationArgs::DataItem> items) const;
  // Translates the reference of a block's one record; false when the record is not to be written.
  bool translateReference(DPX_OperationArgs& record);

  DPX_MissingReference m_missing;
  std::string m_missingText;
};

struct DPX_ReferencedFirstRow {
  const char* key;
  const char* className;
  DPX_ReferencedFirstDefinition definition;
};

// Price list set-up and territories.
const std::vector<DPX_ReferencedFirstRow>& ReferencedFirstCategories();
void RegisterReferencedFirstCategories();
