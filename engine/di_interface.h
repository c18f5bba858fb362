// The common base of every category manager. A manager knows its
// category's host tables or business objects: it reads the chosen records of
// the base company as record XML, lists the base's records for the record
// list, reads stored records back from a configuration file, and writes
// records into the target company by a copy method. The factory makes a
// manager from its category key for one task; the caller deletes it after.
//
// The writeData method byte: 0 the removal pass of Replace All (remove the
// category's records from the target); 2 update the records the target has;
// 3 add the records the target lacks; any other value (1 Replace All in the
// write pass, 4) update a record the target has, add it otherwise.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/detail_record.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "engine/table_info.h"
#include "platform/framework/variant.h"

class DPX_ConnectionContext;
class DPX_DOMParser;

namespace dpx {
class ConfigurationSource;
namespace host {
class BusinessObject;
class Company;
class Recordset;
}  // namespace host
}  // namespace dpx

// Raised by a manager's writeData to abort the whole copy.
class DPX_DIFailureAbortException : public std::exception {
 public:
  const char* what() const noexcept override { return "The copy was aborted by a category."; }
};

// What a reference field of a category may name in the target: the table,
// its key column and the columns that identify its rows, as the category
// reads them from the base. A dependency record (which a file may carry)
// that names anything else is refused.
struct DPX_DeclaredReference {
  std::string table;
  std::string keyColumn;
  std::vector<std::string> shownColumns;
};
// The forms a field may take (most have one; some name one of several tables).
using DPX_DeclaredReferences = std::vector<DPX_DeclaredReference>;

class DPX_DIInterface {
 public:
  // Empty key, empty lists, copy-log lines on.
  DPX_DIInterface() = default;
  DPX_DIInterface(DPX_ConnectionContext* context, std::string categoryKey);
  virtual ~DPX_DIInterface() = default;
  DPX_DIInterface(const DPX_DIInterface&) = delete;
  DPX_DIInterface& operator=(const DPX_DIInterface&) = delete;

  // --- The eight operations of a category, in this order -----------------
  // Prepares the table description; the base does nothing.
  virtual bool initialize();
  // Appends one block per table read from the base (only blocks with data
  // items); chosen is empty for the whole category. The status is not used.
  virtual int32_t readFromDB(std::vector<DPX_OperationArgs>& out, std::vector<DPX_DetailRecord> chosen) = 0;
  // A block handed on as soon as it is read.
  using BlockSink = std::function<void(DPX_OperationArgs&)>;
  // Reads what readFromDB reads, handing each block to `take` in the same
  // order. A manager that reads in slices hands a table's records on a
  // bounded slice at a time (the later slices of a table marked
  // continuesTable), so that they need not all be held; the default reads the
  // whole category by readFromDB first.
  virtual int32_t readSlices(const BlockSink& take, std::vector<DPX_DetailRecord> chosen);
  // The record list from a parsed configuration file: the key rows of the
  // last stored block of the category, read by the object properties.
  virtual DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration);
  // The record list of the base company.
  virtual DPX_TableInfo* collectDetails() = 0;
  virtual void writeData(std::vector<DPX_OperationArgs> records, uint8_t method) = 0;
  // Whether writeData may be handed the category's records a slice at a
  // time: one call per slice, each slice the next records of one table in
  // the file's order, the first slice of a table even when it has none, the
  // later ones marked continuesTable. A manager whose work looks across its
  // records (an order of its own, a second pass, records naming records of
  // the same table) keeps the default and gets the whole category at once.
  virtual bool writesInSlices() const;
  // Adjusts a business object right before it is updated (2) or added (3).
  virtual void prepareObject(int32_t objectType, const std::shared_ptr<dpx::host::BusinessObject>& object,
                             int32_t operation);
  // Puts the target's key or mapped references into one row's XML before an
  // update (2) or insert (3).
  virtual void mapReferences(std::string tableName, std::string& rowXml, int32_t mode);
  // Adjusts record XML before it is read into a business object.
  virtual void adjustXml(int32_t objectType, std::string& xml);

  // Record XML editing for the reference mapping: removes the cursor's
  // element (the cursor moves to its parent) and, when add is non-zero,
  // appends to that parent an element with the given name and text. The
  // cursor stays on the parent. Returns 1; 0 when the cursor's element could
  // not be removed (nothing is added then) or the new element could not be made.
  static int32_t replaceElement(DPX_DOMParser& parser, int32_t add, const std::string& elementName,
                                const std::string& elementText);

  // Whether the name is one of the category's own fields (a key, a column,
  // a property or a list column). A name taken from a worksheet is used only
  // when this holds.
  bool knowsField(const std::string& name) const;

  // The names of the values that identify a record and describe it (its code
  // and description), as its record XML names them.
  const std::vector<std::string>& getListColumns() const { return m_listColumns; }
  // The elements of a record that name it: the key properties of a
  // business object, else the key columns of a table row.
  const std::vector<std::string>& recordKeyNames() const {
    return m_keyProperties.empty() ? m_keyColumns : m_keyProperties;
  }
  const std::string& getCategoryKey() const { return m_categoryKey; }
  DPX_ConnectionContext* getContext() const { return m_context; }
  DPX_TableInfo& getTableInfo() { return m_tableInfo; }

 protected:
  DPX_ConnectionContext* m_context = nullptr;  // not owned
  std::string m_categoryKey;
  DPX_TableInfo m_tableInfo;
  std::vector<std::string> m_keyColumns;     // DB key columns of the main table, in key order
  std::vector<std::string> m_keyProperties;  // the business object's key properties, in key order
  std::vector<std::string> m_columns;        // DB columns the record list and the SQL family read
  std::vector<std::string> m_properties;     // object properties the business-object family reads
  std::vector<std::string> m_listColumns;    // names of the values that identify a listed record
  std::vector<int32_t> m_columnFlags;        // per DB column: 1 editable in the record list, 0 read-only
  // 1: the shared write operations write one copy-log line per record; 0: none.
  int32_t m_logRecords = 1;
  // The match values of the records this write of a table goes on to add,
  // table by table. A category handed on in slices is compared with the
  // target a slice at a time; a later slice that finds one of these in the
  // target has met a record of this very copy, and is answered as if the
  // target did not hold it, as a record of the same slice would be. The
  // first slice of a table starts its list afresh.
  std::map<std::string, std::set<std::string>> m_addedMatches;
  std::set<std::string>& addedMatches(const DPX_OperationArgs& block);

  // A "403" line for a table block of records the category has no table for
  // (a file may name any table); the block is not written.
  void logUnknownTable(const std::string& table, uint8_t method) const;
  // The record list from the records a configuration file stores for the
  // category: those of its last block (or its first), one row per record,
  // keyed by the keyNames and showing the textNames of the record's rowName
  // element. Without a stored block the list stays as it is.
  DPX_TableInfo* readStoredList(dpx::ConfigurationSource* configuration, bool lastBlock,
                                const std::vector<std::string>& keyNames, const std::vector<std::string>& textNames,
                                const std::string& rowName);

  // ==== Reading, comparing and writing records =============================
  // (owned by the record families: engine/di_*.cpp; edit with care)
 public:
  using RecordsetPtr = std::shared_ptr<dpx::host::Recordset>;

  // --- Record XML elements and dependencies (engine/di_dependencies.cpp) ---
  // -1: no child element of that name (case ignored); 0: found, text is its
  // text; 1: found, it holds elements and no text, text is it serialised.
  static int32_t findChildElement(DPX_DOMParser& parser, const std::string& name, std::string& text);
  static std::string getChildText(DPX_DOMParser& parser, const std::string& name);
  static int32_t writeDependency(DPX_DOMParser& parser, const std::string& field, const std::string& table,
                                 const std::string& keyField, const std::vector<std::string>& keyFields,
                                 const std::vector<std::string>& keyValues);
  int32_t resolveDependency(DPX_OperationArgs& block, const std::string& field, int32_t fieldType,
                            const std::string& table, const std::string& keyField, const std::string& keyFieldName,
                            const std::string& rowName, const std::string& parentName = "");
  int32_t resolveDependencies(DPX_OperationArgs& block, const std::string& field, int32_t fieldType,
                              const std::string& table, const std::string& keyField,
                              const std::vector<std::string>& keyFields, const std::string& rowName,
                              const std::string& parentName = "");
  // The mapping of a reference field into the target's keys. A dependency
  // record that names another table or other columns than `declared` allows
  // is refused: its record gets a "403" line and is not written (the row of
  // a table block, the whole record of a business object).
  int32_t mapDependencyToTarget(DPX_OperationArgs& block, const std::string& field, const std::string& rowName,
                                const DPX_DeclaredReferences& declared, const std::string& fallback = "",
                                const std::string& parentName = "");
  int32_t mapDependenciesToTarget(DPX_OperationArgs& block, const std::string& field, const std::string& rowName,
                                  const DPX_DeclaredReferences& declared);
  // 1 with the target's key in `value`; 0 when the target has no such row;
  // kRefusedReference when the dependency record is not one `declared` allows.
  static constexpr int32_t kRefusedReference = -2;
  static int32_t findTargetKey(DPX_DOMParser& parser, dpx::host::Recordset& recordset, dpx::host::Company& target,
                               int32_t serverType, const std::string& field, const DPX_DeclaredReferences& declared,
                               std::string& value);
  std::vector<std::string> parseKeyValues(const DPX_OperationArgs::DataItem& item,
                                          const std::vector<std::string>& keyProperties,
                                          const std::vector<std::string>& properties, const std::string& rowName);
  RecordsetPtr queryObjectKeys(const std::string& table, const std::vector<std::string>& columns,
                               const std::vector<DPX_ValuePair>& conditions);

  // --- Table categories: reading and listing (engine/di_table_read.cpp) ---
  DPX_OperationArgs readBaseRows(const std::string& table, std::vector<DPX_DetailRecord> selected);
  DPX_OperationArgs readBaseTable(const std::string& table, const std::string& sql, int32_t sqlInDialect);
  RecordsetPtr queryBaseList(const std::string& sql);
  std::vector<std::string> readListRows(dpx::host::Recordset& fields, const std::vector<std::string>& listColumns,
                                        const std::vector<std::string>& keyColumns);

  // --- Table categories: writing by copy method (engine/di_table_write.cpp) ---
  int32_t buildTableXml(DPX_OperationArgs& block, const std::vector<std::string>& keyColumns,
                        const std::vector<std::string>& descriptionColumns,
                        const std::vector<std::string>& matchColumns, uint8_t method);
  int32_t buildObjectXml(DPX_OperationArgs& block, const std::string& keyColumn,
                         const std::vector<std::string>& descriptionColumns, const std::string& matchColumn,
                         uint8_t method);
  // One stored record of a table block (all rows of a table) split into one
  // data item per row, matched with the target; part of buildTableXml. Each
  // row's data item takes the notes of the fields left out of that row.
  int32_t splitTableRows(DPX_OperationArgs& block, const DPX_OperationArgs::DataItem& stored,
                         const std::vector<std::string>& keyColumns,
                         const std::vector<std::string>& descriptionColumns,
                         const std::vector<std::string>& matchColumns, uint8_t method);
  // Hands on the stored records of a table block a bounded slice of rows at
  // a time, each slice a block with one record shaped as the stored one
  // (BOM > BO > AdmInfo, the table element) holding the next rows. A record
  // that needs no cutting, or is not so shaped, goes on as it is; the slices
  // after the first are marked continuesTable. The block is left without
  // records.
  static void sliceTableRows(DPX_OperationArgs& block, const std::function<void(DPX_OperationArgs&)>& write);
  int32_t deleteTargetRows(DPX_OperationArgs block, const std::vector<std::string>& descriptionColumns,
                           std::string filter, int32_t filterInDialect);
  int32_t copyTableRecords(DPX_OperationArgs block, int32_t counterObjectType, const std::string& counterKeyColumn);
  int32_t addTargetRows(DPX_OperationArgs block, int32_t counterObjectType, const std::string& counterKeyColumn);
  int32_t updateTargetRows(DPX_OperationArgs block);
  int32_t insertTableRows(const std::string& table, DPX_OperationArgs::DataItem item, int32_t counterObjectType,
                          const std::string& counterKeyColumn);
  int32_t updateTableRows(const std::string& table, DPX_OperationArgs::DataItem item,
                          const std::vector<std::string>& keyColumns);
  // The target's field list of one table, read when the first row needs it
  // and kept for the other rows of the block: the target's structure stays
  // as it is while a block is written.
  struct TargetFields;
  int32_t insertTableRow(const std::string& table, DPX_OperationArgs::DataItem item, int32_t counterObjectType,
                         const std::string& counterKeyColumn, TargetFields& fields);
  int32_t updateTableRow(const std::string& table, DPX_OperationArgs::DataItem item,
                         const std::vector<std::string>& keyColumns, TargetFields& fields);
  int32_t logTargetError();

  // --- Business-object categories: reading and listing (engine/di_object_read.cpp) ---
  DPX_OperationArgs readBaseRecords(int32_t objectType, const std::string& table,
                                    const std::vector<std::string>& keyColumns, const std::string& sql);
  // The same records handed on a bounded slice at a time (only slices that
  // hold records; the later ones marked continuesTable).
  void readBaseRecordSlices(int32_t objectType, const std::string& table, const std::vector<std::string>& keyColumns,
                            const std::string& sql, const BlockSink& take);
  DPX_OperationArgs readBaseObjects(int32_t objectType, const std::string& table,
                                    const std::vector<DPX_DetailRecord>& chosen);
  RecordsetPtr listObjectKeys(const std::string& table, const std::vector<std::string>& keyColumns);
  std::vector<std::string> readRecordKeys(int32_t objectType, dpx::host::Recordset& fields,
                                          const std::vector<std::string>& keyColumns,
                                          const std::vector<std::string>& keyProperties,
                                          const std::vector<std::string>& textProperties);
  std::vector<std::string> readListRowsWithPeriods(dpx::host::Recordset& fields,
                                                   const std::vector<std::string>& keyColumns,
                                                   const std::vector<std::string>& listColumns,
                                                   const std::vector<std::string>& textColumns);

  // --- Business-object categories: comparison with the target (engine/di_compare.cpp) ---
  int32_t compareWithTarget(DPX_OperationArgs& block, const std::string& matchProperty,
                            const std::string& matchColumn, const std::vector<std::string>& keyColumns,
                            const std::vector<std::string>& descriptionProperties, uint8_t method);
  int32_t compareRecordsWithTarget(DPX_OperationArgs& block, const std::vector<std::string>& matchProperties,
                                   const std::vector<std::string>& matchColumns,
                                   const std::vector<std::string>& keyColumns,
                                   const std::vector<std::string>& descriptionProperties, uint8_t method);
  // knownFields, when given, keeps which user-defined fields the target has
  // (alias -> present) across the records of one block, so each field is
  // looked up once per block rather than once per record.
  int32_t checkUserFields(const DPX_OperationArgs& block, std::string& xml,
                          std::map<std::string, bool>* knownFields = nullptr);

  // --- Business-object categories: writing by copy method (engine/di_object_write.cpp) ---
  int32_t UpdateDataSetFromDI(int32_t objectType, DPX_OperationArgs::DataItem item,
                              const std::string& descriptionProperty);
  int32_t AddDataSetFromDI(int32_t objectType, DPX_OperationArgs::DataItem item);
  int32_t copyRecords(DPX_OperationArgs block);
  int32_t updateTargetRecords(DPX_OperationArgs block);
  int32_t addTargetRecords(DPX_OperationArgs block);
  // A target record whose key `keeps` answers true for stays, without a line.
  using KeepRecord = std::function<bool(const std::vector<dpx::Variant>& keyValues)>;
  int32_t removeTargetRecords(DPX_OperationArgs block, const std::vector<std::string>& keyColumns,
                              const std::vector<std::string>& descriptionProperties, const std::string& sql,
                              const KeepRecord& keeps = nullptr);
  int32_t removeTargetRecord(int32_t objectType, const std::vector<dpx::Variant>& keyValues,
                             const std::vector<std::string>& descriptionProperties);
  // ==== end of reading, comparing and writing records ======================
};
