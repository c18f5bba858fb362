// Table categories, writing: rows of a host table without a business object
// are matched with the target's rows, then deleted, inserted or updated by
// plain SQL in the target's dialect, one copy-log line per row.
//
// Every row stands on its own: a statement the target rejects, or a value the
// statement builder refuses, gives that row a "403" line with the reason and
// the next row follows. Rows are written by their own fields, each one the
// target's field list knows (a file may carry any element name, and the
// target may have more or other columns than the base). The host's
// next-number counter (ONNM) only ever moves up, and only for numeric keys.
#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "engine/company_transaction.h"
#include "engine/connection_context.h"
#include "engine/di_interface.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/record_text.h"
#include "engine/sql_statement.h"
#include "engine/target_batch.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

#include <xercesc/dom/DOMNode.hpp>

using dpx::records::FieldInfo;
using dpx::records::LogLine;

namespace {

// A row names itself by its key values: without them it would be added again
// on every copy. A field holds a value, not elements (a reference's "dep"
// record aside): the empty text must not be written over the target's value.
// Raises HostError naming the field otherwise; the cursor stays on the row.
void CheckRowValues(std::string_view xml, size_t row, const std::vector<std::string>& keyColumns) {
  namespace rt = dpx::recordtext;
  for (const std::string& key : keyColumns) {
    const size_t field = rt::FindChild(xml, row, key);
    if (field == rt::npos || rt::FirstText(xml, field).empty())
      throw dpx::HostError(dpx::E_INVALIDARG, "DPX_DIInterface", "The row has no value for its key field '" + key + "'");
  }
  for (size_t field = rt::FirstChildElement(xml, row); field != rt::npos; field = rt::NextSiblingElement(xml, field))
    for (size_t inner = rt::FirstChildElement(xml, field); inner != rt::npos; inner = rt::NextSiblingElement(xml, inner))
      if (rt::TagName(xml, inner) != "dep")
        throw dpx::HostError(dpx::E_INVALIDARG, "DPX_DIInterface",
                             "The field '" + std::string(rt::TagName(xml, field)) + "' holds elements, not a value");
}

constexpr const char* kSucceeded = "402";
constexpr const char* kFailed = "403";

// A table name as it stands in the XML of a row: without the leading "@".
std::string ElementNameOf(const std::string& table) {
  return !table.empty() && table[0] == '@' ? table.substr(1) : table;
}

namespace rt = dpx::recordtext;

// The "row" element of a per-row record: BOM > BO > (AdmInfo, the table
// element) > row. npos when the record is not so shaped.
size_t RecordRow(std::string_view xml) {
  const size_t root = rt::RootElement(xml);
  if (root == rt::npos || rt::ElementEnd(xml, root) == rt::npos) return rt::npos;
  const size_t bo = rt::FirstChildElement(xml, root);
  const size_t admInfo = bo == rt::npos ? rt::npos : rt::FirstChildElement(xml, bo);
  const size_t table = admInfo == rt::npos ? rt::npos : rt::NextSiblingElement(xml, admInfo);
  const size_t row = table == rt::npos ? rt::npos : rt::FirstChildElement(xml, table);
  return row != rt::npos && rt::TagName(xml, row) == "row" ? row : rt::npos;
}

// Adds every element of the row that the target's field list knows to the
// statement (the assignments), with the target's spelling and type, and the
// key columns among them to keyStatement (the WHERE). Returns the number
// added; unknown names are collected for the log.
size_t AddRowFields(std::string_view xml, size_t row, const std::vector<FieldInfo>& fields,
                    DPX_SqlStatement& statement, DPX_SqlStatement* keyStatement,
                    const std::vector<std::string>& upperKeys, std::vector<std::string>& unknown) {
  size_t added = 0;
  for (size_t child = rt::FirstChildElement(xml, row); child != rt::npos; child = rt::NextSiblingElement(xml, child)) {
    const std::string name(rt::TagName(xml, child));
    const FieldInfo* field = dpx::records::FindField(fields, name);
    if (!field) {
      unknown.push_back(name);
      continue;
    }
    const std::string text = rt::FirstText(xml, child);
    // A memo cannot be compared on every server, so the builder leaves memo
    // values out there; as an assigned value it is plain text, and leaving it
    // out would copy the row without it (an address format without its format).
    const int32_t assignedType = field->type == DPX_SqlStatement::kMemo ? DPX_SqlStatement::kAlpha : field->type;
    // NULL stays NULL and an empty text stays an empty text.
    if (rt::IsNil(xml, child) && text.empty()) statement.addNull(field->name);
    else statement.addValue(field->name, text, assignedType, true);
    if (keyStatement && std::find(upperKeys.begin(), upperKeys.end(), dpx::records::UpperAscii(field->name)) !=
                            upperKeys.end())
      keyStatement->addValue(field->name, text, field->type);
    ++added;
  }
  return added;
}

std::string Join(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

// Reads a row's record and adds its fields that the target knows to
// `statement` (and its key columns to `keyStatement`). False, with the
// reason logged, when the record is not shaped as a table row.
bool ReadRowFields(const std::string& xml, const std::string& table, const std::vector<FieldInfo>& fields,
                   DPX_SqlStatement& statement, DPX_SqlStatement* keyStatement,
                   const std::vector<std::string>& upperKeys, dpx::DPX_LogScope& scope) {
  const size_t row = RecordRow(xml);
  if (row == rt::npos) {
    scope.LogError("Row of %s is not shaped as a table row; nothing written", table);
    return false;
  }
  std::vector<std::string> unknown;
  AddRowFields(xml, row, fields, statement, keyStatement, upperKeys, unknown);
  if (!unknown.empty()) scope.LogWarning("Fields unknown to the target left out: %s", Join(unknown));
  return true;
}

}  // namespace

struct DPX_DIInterface::TargetFields {
  explicit TargetFields(std::string tableName, bool deferCounter = false)
      : table(std::move(tableName)), deferCounter(deferCounter) {}

  const std::vector<FieldInfo>& of(dpx::host::Company& target) {
    if (!read) {
      list = dpx::records::ReadFieldList(target, table);
      read = true;
    }
    return list;
  }

  std::string table;
  bool read = false;
  std::vector<FieldInfo> list;
  // A block raises the next number once, after its last row: the counter
  // ends past the highest key written, as it would row by row.
  bool deferCounter = false;
  bool counterDue = false;
};

namespace {

// Keeps the host's next automatic key above every key now in the table. The
// counter never goes down, and a key column that holds text leaves it alone.
void RaiseCounter(DPX_ConnectionContext* context, const std::string& table, int32_t counterObjectType,
                  const std::string& counterKeyColumn) {
  dpx::DPX_LogScope scope("DPX_DIInterface::insertTableRows");
  try {
    auto target = dpx::records::TargetCompany(context);
    const int32_t serverType = target->DbServerType();
    auto recordset = target->NewRecordset();
    const std::string column = DPX_SqlStatement::ColumnName(serverType, counterKeyColumn);
    recordset->DoQuery(fmt::sprintf("SELECT MAX(%s) FROM %s", column, DPX_SqlStatement::TableName(serverType, table)));
    int64_t highest = 0;
    if (recordset->RecordCount() > 0) {
      const dpx::Variant value = recordset->Field(0);
      if (!value.isEmpty() && !dpx::records::ReadIntegerKey(value, highest)) {
        scope.LogInfo("Key column %s of %s is not numeric; the next number stays", counterKeyColumn, table);
        return;
      }
    }
    const std::string autoKey = DPX_SqlStatement::ColumnName(serverType, "AutoKey");
    const std::string objectCode = DPX_SqlStatement::ColumnName(serverType, "ObjectCode");
    recordset->DoQuery(
        fmt::sprintf("SELECT %s FROM ONNM WHERE %s = '%d'", autoKey, objectCode, counterObjectType));
    if (recordset->RecordCount() == 0) return;
    int64_t current = 0;
    dpx::records::ReadIntegerKey(recordset->Field(0), current);
    if (highest + 1 <= current) return;
    recordset->DoQuery(fmt::sprintf("UPDATE ONNM SET %s = %d WHERE %s = '%d'", autoKey,
                                    static_cast<long long>(highest + 1), objectCode, counterObjectType));
  } catch (const dpx::HostError& e) {
    scope.LogError("Next number of object %d not updated: %s", counterObjectType, e.what());
  }
}

}  // namespace

int32_t DPX_DIInterface::buildObjectXml(DPX_OperationArgs& block, const std::string& keyColumn,
                                        const std::vector<std::string>& descriptionColumns,
                                        const std::string& matchColumn, uint8_t method) {
  return buildTableXml(block, {keyColumn}, descriptionColumns, {matchColumn}, method);
}

int32_t DPX_DIInterface::buildTableXml(DPX_OperationArgs& block, const std::vector<std::string>& keyColumns,
                                       const std::vector<std::string>& descriptionColumns,
                                       const std::vector<std::string>& matchColumns, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_DIInterface::buildTableXml");
  if (method == 0) return 1;  // the removal pass needs no preparation

  block.descriptionNames = descriptionColumns;
  block.keyNames = keyColumns;
  if (block.dataItems.empty()) return 0;

  // A block read from the base holds one record with all rows; a block from
  // a file may hold several. Every one of them is split into its rows.
  std::vector<DPX_OperationArgs::DataItem> stored;
  stored.swap(block.dataItems);
  int32_t result = 1;
  for (const DPX_OperationArgs::DataItem& storedItem : stored)
    if (!splitTableRows(block, storedItem, keyColumns, descriptionColumns, matchColumns, method)) result = 0;
  return result;
}

int32_t DPX_DIInterface::splitTableRows(DPX_OperationArgs& block, const DPX_OperationArgs::DataItem& stored,
                                        const std::vector<std::string>& keyColumns,
                                        const std::vector<std::string>& descriptionColumns,
                                        const std::vector<std::string>& matchColumns, uint8_t method) {
  dpx::DPX_LogScope scope("DPX_DIInterface::buildTableXml");
  const std::string& blockXml = stored.xml;
  auto target = dpx::records::TargetCompany(m_context);
  auto recordset = target->NewRecordset();
  const int32_t serverType = target->DbServerType();
  const std::vector<FieldInfo> fields = dpx::records::ReadFieldList(*target, block.tableName);

  // BOM > BO > (AdmInfo, the table element) > rows, cut from the block's
  // text: a block of any number of rows is never made a document.
  const size_t root = rt::RootElement(blockXml);
  if (root == rt::npos || rt::ElementEnd(blockXml, root) == rt::npos) {
    DPX_DOMParser parser;  // only to say what is wrong with the text
    const std::string errors = parser.loadXML(blockXml) ? std::string("The rows are not complete") : parser.getErrors();
    LogLine line(dpx::records::CurrentCopyLog(m_context));
    line.start(m_categoryKey, -1);
    line.result("10020");  // Could not read dataset
    line.error(errors);
    line.write(true);
    scope.LogError("Rows of table %s cannot be read", block.tableName);
    return 0;
  }
  const size_t bo = rt::FirstChildElement(blockXml, root);
  const size_t admInfo = bo == rt::npos ? rt::npos : rt::FirstChildElement(blockXml, bo);
  const size_t tableElement = admInfo == rt::npos ? rt::npos : rt::NextSiblingElement(blockXml, admInfo);
  if (tableElement == rt::npos) return 1;  // no table element: no rows

  const std::string elementName = ElementNameOf(block.tableName);
  const std::string recordStart = "<BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><" + elementName + ">";
  const std::string recordEnd = "</" + elementName + "></BO></BOM>";
  const std::string declaration = DPX_XmlParser::kDeclaration;
  const size_t keyCount = keyColumns.size();
  std::set<std::string>& added = addedMatches(block);
  std::map<std::string, bool> knownFields;  // user-defined fields, looked up once for all rows
  int32_t result = 1;
  // The lookups of the block read one state of the target: one read
  // transaction, not one for each statement.
  dpx::CompanyTransaction reading(target);
  size_t ordinal = 0;
  for (size_t row = rt::FirstChildElement(blockXml, tableElement); row != rt::npos;
       row = rt::NextSiblingElement(blockXml, row), ++ordinal) {
    const size_t rowEnd = rt::ElementEnd(blockXml, row);
    const std::string_view rowText = std::string_view(blockXml).substr(row, rowEnd - row);
    DPX_OperationArgs::DataItem item;
    if (!stored.leftOut.empty()) item.leftOut = dpx::records::LeftOutOfRows(stored.leftOut, ordinal, 1);
    // A row without user-defined fields passes the check unchanged but for
    // the declaration the check writes, so it gets that without being parsed
    // again. A block of another connection is checked against its own target.
    const bool checkFields = dpx::records::MayHoldUserFields(rowText) ||
                             (block.context != nullptr && block.context != m_context);
    item.xml.reserve((checkFields ? 0 : declaration.size()) + recordStart.size() + rowText.size() + recordEnd.size());
    if (!checkFields) item.xml = declaration;
    item.xml += recordStart;
    item.xml += rowText;
    item.xml += recordEnd;
    auto childText = [&](const std::string& name) {
      const size_t child = rt::FindChild(blockXml, row, name);
      return child == rt::npos ? std::string() : rt::FirstText(blockXml, child);
    };
    if (descriptionColumns.size() > 0) item.baseCode = childText(descriptionColumns[0]);
    if (descriptionColumns.size() > 1) item.baseDescription = childText(descriptionColumns[1]);

    try {
      // A row whose user-defined fields the target lacks is dropped on its own
      // (with its "10024" line) and the other rows go on.
      if (checkFields && !checkUserFields(block, item.xml, &knownFields)) {
        result = 0;
        continue;
      }
      CheckRowValues(blockXml, row, matchColumns);
      DPX_SqlStatement statement(serverType);
      statement.setTable(block.tableName);
      std::string matchKey;
      for (const std::string& match : matchColumns) {
        const FieldInfo* field = dpx::records::FindField(fields, match);
        const std::string value = childText(match);
        statement.addValue(match, value, field ? field->type : DPX_SqlStatement::kAlpha);
        dpx::records::AppendMatchValue(matchKey, value);
      }
      // Without a condition the SELECT would match the target's first row, whatever it is.
      if (statement.values().empty())
        throw dpx::HostError(dpx::E_INVALIDARG, "DPX_DIInterface", "The row has no value to match it by in the target");
      for (const std::string& k : keyColumns) statement.addColumn(k);
      for (const std::string& d : descriptionColumns) statement.addColumn(d);
      recordset->DoQuery(statement.buildSelect());
      // A row an earlier slice of this write inserted is no row the target had.
      if (recordset->RecordCount() > 0 && added.count(matchKey) == 0) {
        if (method == 3) continue;  // existing rows stay untouched
        item.exists = true;
        item.keyValues = dpx::records::RowValues(*recordset, keyCount);
        if (recordset->FieldCount() > static_cast<int>(keyCount))
          item.targetCode = DPX_Util::VariantToDisplayText(recordset->Field(static_cast<int>(keyCount)));
        if (recordset->FieldCount() > static_cast<int>(keyCount) + 1)
          item.targetFormerDescription =
              DPX_Util::VariantToDisplayText(recordset->Field(static_cast<int>(keyCount) + 1));
      } else {
        if (method == 2) continue;  // only existing rows are updated
        item.exists = false;
        added.insert(matchKey);
      }
      block.dataItems.push_back(std::move(item));
    } catch (const dpx::HostError& e) {
      // The row cannot be matched: it is reported and left out.
      LogLine line(dpx::records::CurrentCopyLog(m_context));
      line.start(m_categoryKey, -1, item.baseCode, item.baseDescription);
      line.fail(e.what());
      line.write(m_logRecords != 0);
      scope.LogError("Row of %s not matched with the target: %s", block.tableName, e.what());
    }
  }
  reading.commit();
  return result;
}

void DPX_DIInterface::sliceTableRows(DPX_OperationArgs& block,
                                     const std::function<void(DPX_OperationArgs&)>& write) {
  constexpr size_t kSliceBytes = DPX_OperationArgs::kSliceBytes;
  constexpr size_t kSliceRows = DPX_OperationArgs::kSliceRecords;
  std::vector<DPX_OperationArgs::DataItem> stored;
  stored.swap(block.dataItems);
  bool handed = false;
  auto handOn = [&block, &write, &handed](DPX_OperationArgs::DataItem item) {
    DPX_OperationArgs slice = block;
    slice.continuesTable = block.continuesTable || handed;
    slice.dataItems.push_back(std::move(item));
    write(slice);
    handed = true;
  };
  for (DPX_OperationArgs::DataItem& item : stored) {
    const std::string& xml = item.xml;
    const size_t root = rt::RootElement(xml);
    const size_t bo = root == rt::npos || rt::ElementEnd(xml, root) == rt::npos ? rt::npos
                                                                                : rt::FirstChildElement(xml, root);
    const size_t admInfo = bo == rt::npos ? rt::npos : rt::FirstChildElement(xml, bo);
    const size_t table = admInfo == rt::npos ? rt::npos : rt::NextSiblingElement(xml, admInfo);
    size_t begin = 0, contentEnd = 0, after = 0;
    if (table == rt::npos || !rt::ElementContent(xml, table, begin, contentEnd, after) ||
        contentEnd - begin <= kSliceBytes) {
      handOn(std::move(item));
      continue;
    }
    // The rows of each slice between the stored record's own opening (up to
    // the table element's content) and closing.
    size_t first = rt::FirstChildElement(xml, table);
    size_t firstOrdinal = 0;  // of the slice's first row among the record's rows
    while (first != rt::npos) {
      size_t rows = 0;
      size_t last = first;
      size_t end = first;
      for (size_t row = first; row != rt::npos && rows < kSliceRows && end - first < kSliceBytes;
           row = rt::NextSiblingElement(xml, row)) {
        const size_t rowEnd = rt::ElementEnd(xml, row);
        if (rowEnd == rt::npos) break;
        last = row;
        end = rowEnd;
        ++rows;
      }
      if (rows == 0) break;
      DPX_OperationArgs::DataItem part;
      part.xml.reserve(begin + (end - first) + (xml.size() - contentEnd));
      part.xml.append(xml, 0, begin);
      part.xml.append(xml, first, end - first);
      part.xml.append(xml, contentEnd, std::string::npos);
      part.leftOut = dpx::records::LeftOutOfRows(item.leftOut, firstOrdinal, rows);
      firstOrdinal += rows;
      handOn(std::move(part));
      first = rt::NextSiblingElement(xml, last);
    }
    std::string().swap(item.xml);
  }
}

int32_t DPX_DIInterface::copyTableRecords(DPX_OperationArgs block, int32_t counterObjectType,
                                          const std::string& counterKeyColumn) {
  TargetFields fields(block.tableName, true);
  {
    dpx::TargetBatch batch(m_context);
    for (const DPX_OperationArgs::DataItem& item : block.dataItems)
      batch.write([&, row = &item] {
        if (row->exists)
          updateTableRow(block.tableName, *row, block.keyNames, fields);
        else
          insertTableRow(block.tableName, *row, counterObjectType, counterKeyColumn, fields);
      });
    batch.commit();
  }
  if (fields.counterDue) RaiseCounter(m_context, block.tableName, counterObjectType, counterKeyColumn);
  return 1;
}

int32_t DPX_DIInterface::addTargetRows(DPX_OperationArgs block, int32_t counterObjectType,
                                       const std::string& counterKeyColumn) {
  TargetFields fields(block.tableName, true);
  {
    dpx::TargetBatch batch(m_context);
    for (const DPX_OperationArgs::DataItem& item : block.dataItems)
      batch.write([&, row = &item] { insertTableRow(block.tableName, *row, counterObjectType, counterKeyColumn, fields); });
    batch.commit();
  }
  if (fields.counterDue) RaiseCounter(m_context, block.tableName, counterObjectType, counterKeyColumn);
  return 1;
}

int32_t DPX_DIInterface::updateTargetRows(DPX_OperationArgs block) {
  TargetFields fields(block.tableName);
  dpx::TargetBatch batch(m_context);
  for (const DPX_OperationArgs::DataItem& item : block.dataItems)
    batch.write([&, row = &item] { updateTableRow(block.tableName, *row, block.keyNames, fields); });
  batch.commit();
  return 1;
}

int32_t DPX_DIInterface::updateTableRows(const std::string& table, DPX_OperationArgs::DataItem item,
                                         const std::vector<std::string>& keyColumns) {
  TargetFields fields(table);
  return updateTableRow(table, std::move(item), keyColumns, fields);
}

int32_t DPX_DIInterface::insertTableRows(const std::string& table, DPX_OperationArgs::DataItem item,
                                         int32_t counterObjectType, const std::string& counterKeyColumn) {
  TargetFields fields(table);
  return insertTableRow(table, std::move(item), counterObjectType, counterKeyColumn, fields);
}

int32_t DPX_DIInterface::updateTableRow(const std::string& table, DPX_OperationArgs::DataItem item,
                                        const std::vector<std::string>& keyColumns, TargetFields& fields) {
  dpx::DPX_LogScope scope("DPX_DIInterface::updateTableRows");
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 2, item.baseCode, item.baseDescription);
  line.leftOut(item.leftOut);

  std::shared_ptr<dpx::host::Company> target;
  try {
    target = dpx::records::TargetCompany(m_context);
    auto recordset = target->NewRecordset();
    const int32_t serverType = target->DbServerType();
    DPX_SqlStatement assignments(serverType);
    DPX_SqlStatement keys(serverType);
    assignments.setTable(table);
    keys.setTable(table);

    mapReferences(table, item.xml, 2);

    std::vector<std::string> upperKeys;
    for (const std::string& k : keyColumns) upperKeys.push_back(dpx::records::UpperAscii(k));
    if (!ReadRowFields(item.xml, table, fields.of(*target), assignments, &keys, upperKeys, scope)) return 1;

    if (keys.values().empty()) {
      // Without a key the UPDATE would change every row of the table.
      line.fail("The row has no value for its key columns " + Join(keyColumns));
    } else if (assignments.values().empty()) {
      line.fail("No field of the row is known to the target's table " + table);
    } else {
      const DPX_SqlText sql = assignments.buildUpdate() + keys.buildWhere();
      if (recordset->DoQuery(sql) == 0) {
        line.targetCode(item.targetCode);
        line.targetDescription(item.baseDescription);
        line.targetFormerDescription(item.targetFormerDescription);
        line.result(kSucceeded);
      } else {
        line.fail(dpx::records::LastErrorText(*target));
      }
    }
  } catch (const dpx::HostError& e) {
    line.fail(e.what());
    scope.LogError("Row of %s not updated: %s", table, e.what());
  }
  line.write(m_logRecords != 0);
  return 1;
}

int32_t DPX_DIInterface::insertTableRow(const std::string& table, DPX_OperationArgs::DataItem item,
                                        int32_t counterObjectType, const std::string& counterKeyColumn,
                                        TargetFields& fields) {
  dpx::DPX_LogScope scope("DPX_DIInterface::insertTableRows");
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.start(m_categoryKey, 3, item.baseCode, item.baseDescription);
  line.leftOut(item.leftOut);

  std::shared_ptr<dpx::host::Company> target;
  bool inserted = false;
  try {
    target = dpx::records::TargetCompany(m_context);
    auto recordset = target->NewRecordset();
    const int32_t serverType = target->DbServerType();
    DPX_SqlStatement statement(serverType);
    statement.setTable(table);

    mapReferences(table, item.xml, 3);

    if (!ReadRowFields(item.xml, table, fields.of(*target), statement, nullptr, {}, scope)) return 1;

    if (statement.values().empty()) {
      line.fail("No field of the row is known to the target's table " + table);
    } else if (recordset->DoQuery(statement.buildInsert()) == 0) {
      line.result(kSucceeded);
      inserted = true;
    } else {
      line.fail(dpx::records::LastErrorText(*target));
    }
  } catch (const dpx::HostError& e) {
    line.fail(e.what());
    scope.LogError("Row of %s not inserted: %s", table, e.what());
  }
  line.write(m_logRecords != 0);

  if (counterObjectType == -1 || !inserted || !target) return 1;
  if (fields.deferCounter)
    fields.counterDue = true;
  else
    RaiseCounter(m_context, table, counterObjectType, counterKeyColumn);
  return 1;
}

int32_t DPX_DIInterface::deleteTargetRows(DPX_OperationArgs block, const std::vector<std::string>& descriptionColumns,
                                          std::string filter, int32_t filterInDialect) {
  dpx::DPX_LogScope scope("DPX_DIInterface::deleteTargetRows");
  DPX_CopyLog* log = dpx::records::CurrentCopyLog(m_context);
  struct Listed {
    std::string code, description;
  };
  std::vector<Listed> listed;
  bool deleted = false;
  std::string error;
  try {
    auto target = dpx::records::TargetCompany(m_context);
    auto recordset = target->NewRecordset();
    const int32_t serverType = target->DbServerType();
    DPX_SqlStatement statement(serverType);
    for (const std::string& d : descriptionColumns) statement.addColumn(d);
    statement.setTable(block.tableName);
    if (serverType == 5 && filterInDialect == 0 && !filter.empty())
      filter = "WHERE " + DPX_SqlStatement::splitClauses(filter);

    recordset->DoQuery(statement.buildSelect() + " " + filter);
    while (!recordset->EoF()) {
      Listed row;
      if (recordset->FieldCount() > 0) row.code = DPX_Util::VariantToDisplayText(recordset->Field(0));
      if (recordset->FieldCount() > 1) row.description = DPX_Util::VariantToDisplayText(recordset->Field(1));
      listed.push_back(std::move(row));
      recordset->MoveNext();
    }
    if (listed.empty()) return 1;
    // The rows are reported only once the DELETE has run, with its outcome.
    DPX_SqlStatement deletion(serverType);
    deletion.setTable(block.tableName);
    if (recordset->DoQuery(deletion.buildDelete() + " " + filter) == 0)
      deleted = true;
    else
      error = dpx::records::LastErrorText(*target);
  } catch (const dpx::HostError& e) {
    error = e.what();
    scope.LogError("Rows of %s not removed: %s", block.tableName, e.what());
    if (listed.empty()) {  // the listing itself failed: one line for the table
      LogLine line(log);
      line.start(m_categoryKey, 0);
      line.fail(error);
      line.write(m_logRecords != 0);
      return 1;
    }
  }
  for (const Listed& row : listed) {
    LogLine line(log);
    line.start(m_categoryKey, 0);
    line.targetCode(row.code);
    line.targetDescription(row.description);
    if (deleted)
      line.result(kSucceeded);
    else
      line.fail(error);
    line.write(m_logRecords != 0);
  }
  return 1;
}

int32_t DPX_DIInterface::logTargetError() {
  LogLine line(dpx::records::CurrentCopyLog(m_context));
  line.result(kFailed);
  try {
    line.error(dpx::records::LastErrorText(*dpx::records::TargetCompany(m_context)));
  } catch (const dpx::HostError&) {
    // no target: the line keeps its result without a text
  }
  return 1;
}
