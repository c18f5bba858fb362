// One table block of one category on its way from the base (or a
// configuration file) to the target: the table, the category key, the host
// object type, the record XML texts of the block, and the names the write
// operations need to identify and describe each record. Copied whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/left_out_field.h"
#include "platform/framework/variant.h"

class DPX_ConnectionContext;

class DPX_OperationArgs {
 public:
  // One record XML text of the block: one business object's XML, or the rows
  // of a table block each under an element "row".
  struct DataItem {
    std::string xml;
    // The record was found in the target (set by the comparison with the target).
    bool exists = false;
    std::vector<dpx::Variant> keyValues;
    std::string baseCode;
    std::string baseDescription;
    std::string targetCode;
    std::string targetFormerDescription;
    // The fields the record goes to the target without (engine/left_out_field.h).
    std::vector<DPX_LeftOutField> leftOut;

    // Notes that the record (the row `row` of a table block) is written
    // without `field`, which held `value`.
    void leaveOut(std::string field, std::string value, std::string reason = dpx::records::kTargetHasNone,
                  size_t row = 0) {
      leftOut.push_back({row, std::move(field), std::move(value), std::move(reason)});
    }
  };

  // The host object type of plain table rows without a business object.
  static constexpr int32_t kTableRows = 300;
  // A category handed on a slice at a time: about 1 MB of record text, or a
  // few thousand records, whichever comes first. Split into records of their
  // own and compared, the records take about twice their text.
  static constexpr size_t kSliceBytes = size_t{1} << 20;
  static constexpr size_t kSliceRecords = 2000;

  // Stores the four fields; data items, context and name lists stay. Returns 1.
  int32_t set(const std::string& categoryKey, const std::string& tableName, int32_t severalRows,
              int32_t hostObjectType);
  // As set, and stores the context (not owned; may be null). Returns 1.
  int32_t setWithValues(const std::string& categoryKey, const std::string& tableName, DPX_ConnectionContext* context,
                        int32_t severalRows, int32_t hostObjectType);

  std::string getTableName() const { return tableName; }
  std::vector<std::string> getDescriptionNames() const { return descriptionNames; }
  std::vector<std::string> getKeyNames() const { return keyNames; }

  // 0 for a new record, 1 once set or setWithValues has filled it.
  int32_t setFlag = 0;
  std::vector<DataItem> dataItems;
  // The host table, such as "OUQR", or a user table name beginning with "@".
  std::string tableName;
  std::string categoryKey;
  // 1 when a data item holds the rows of a table, 0 when it holds one business object.
  int32_t severalRows = 0;
  DPX_ConnectionContext* context = nullptr;
  // The names whose values give a record's code and description in the copy log (at most two).
  std::vector<std::string> descriptionNames;
  // The key columns or key properties that identify a record in the target.
  std::vector<std::string> keyNames;
  int32_t hostObjectType = 0;
  // The block continues the records of a table that an earlier block of the
  // same write handed over (a category written a slice at a time): what is
  // done once for a table, such as the removal pass, was done with the first.
  bool continuesTable = false;
};
