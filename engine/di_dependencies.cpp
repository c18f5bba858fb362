// Dependencies and reference translation. Records refer to each other by
// internal keys, which differ from company to company. While the base is
// read, a reference field is replaced by a dependency record naming the
// referenced table, its key column, the columns that identify the row in any
// company and their values in the base:
//   <Field><dep><tableName>T</tableName><fField>K</fField>
//     <fKeyFields><fField>N</fField>...</fKeyFields>
//     <fKeyValues><fValue>v</fValue>...</fKeyValues></dep></Field>
// While the target is written, the dependency record is looked up in the
// target by those values and the field gets the target's key back.
//
// A dependency record may come from a configuration file, so it may name
// only what the category declares for the field: the table, key column and
// identifying columns the base read wrote. Any other record is refused and
// costs its record a "403" line; otherwise it could read any column of the
// target (a password) into the field and the copy log. The names are used
// only as the target's field list of that table spells them.
#include <map>
#include <utility>

#include "engine/connection_context.h"
#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "engine/di_record_support.h"
#include "engine/dom_parser.h"
#include "engine/sql_statement.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "engine/record_text.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

namespace rt = dpx::recordtext;

// Moves to the first child element of the cursor named `name` (ASCII case
// ignored). False, cursor unchanged, when there is none.
bool GotoChildNamed(DPX_DOMParser& parser, const std::string& name) {
  auto* start = parser.getCursor();
  if (!dpx::records::FirstChildElement(parser)) return false;
  do {
    if (dpx::EqualsIgnoreCase(parser.getNodeName(), name)) return true;
  } while (dpx::records::NextSiblingElement(parser));
  parser.setCursor(start);
  return false;
}

// Texts of the element children of the cursor's child `name`.
std::vector<std::string> ChildTexts(DPX_DOMParser& parser, const std::string& name) {
  std::vector<std::string> texts;
  auto* start = parser.getCursor();
  if (GotoChildNamed(parser, name) && dpx::records::FirstChildElement(parser)) {
    do texts.push_back(parser.getText());
    while (dpx::records::NextSiblingElement(parser));
  }
  parser.setCursor(start);
  return texts;
}

// The target's field lists, by table name.
using FieldLists = std::map<std::string, std::vector<dpx::records::FieldInfo>>;

const std::vector<dpx::records::FieldInfo>& FieldListOf(FieldLists& lists, dpx::host::Company& target,
                                                        const std::string& table) {
  auto found = lists.find(table);
  if (found == lists.end()) found = lists.emplace(table, dpx::records::ReadFieldList(target, table)).first;
  return found->second;
}

// What a dependency record names: the table, its key field, and the fields
// and values that identify the row in any company.
struct DependencyRecord {
  std::string table;
  std::string keyField;
  std::vector<std::string> keyFields;
  std::vector<std::string> keyValues;
};

// The dependency record under the cursor's element; false when it holds none.
bool ReadDependency(DPX_DOMParser& parser, DependencyRecord& out) {
  auto* start = parser.getCursor();
  if (!GotoChildNamed(parser, "dep")) return false;
  out.table = DPX_DIInterface::getChildText(parser, "tableName");
  out.keyField = DPX_DIInterface::getChildText(parser, "fField");
  out.keyFields = ChildTexts(parser, "fKeyFields");
  out.keyValues = ChildTexts(parser, "fKeyValues");
  parser.setCursor(start);
  return true;
}

// The same for the element at `field` of a record's text.
bool ReadDependency(std::string_view text, size_t field, DependencyRecord& out) {
  const size_t dep = rt::FindChild(text, field, "dep");
  if (dep == rt::npos) return false;
  auto childText = [&](const char* name) {
    const size_t child = rt::FindChild(text, dep, name);
    return child == rt::npos ? std::string() : rt::FirstText(text, child);
  };
  auto childTexts = [&](const char* name) {
    std::vector<std::string> texts;
    const size_t list = rt::FindChild(text, dep, name);
    if (list == rt::npos) return texts;
    for (size_t e = rt::FirstChildElement(text, list); e != rt::npos; e = rt::NextSiblingElement(text, e))
      texts.push_back(rt::FirstText(text, e));
    return texts;
  };
  out.table = childText("tableName");
  out.keyField = childText("fField");
  out.keyFields = childTexts("fKeyFields");
  out.keyValues = childTexts("fKeyValues");
  return true;
}

// Whether the dependency record names one of the declared forms exactly.
bool IsDeclared(const DependencyRecord& dep, const DPX_DeclaredReferences& declared) {
  for (const DPX_DeclaredReference& d : declared)
    if (dep.table == d.table && dep.keyField == d.keyColumn && dep.keyFields == d.shownColumns) return true;
  return false;
}

// What a refused dependency record names, for its record's line.
std::string RefusalText(const std::string& field, const DependencyRecord& dep) {
  std::string shown;
  for (const std::string& f : dep.keyFields) shown += (shown.empty() ? "" : ", ") + f;
  return "The reference " + field + " names " + dep.table + "." + dep.keyField + " by " + shown +
         ", which the field does not refer to; the record is not written";
}

// The target's key of the row a dependency record names; the field lists
// already read are kept in `lists`.
int32_t FindTargetKey(const DependencyRecord& dep, const DPX_DeclaredReferences& declared,
                      dpx::host::Recordset& recordset, dpx::host::Company& target, int32_t serverType,
                      FieldLists& lists, std::string& value) {
  if (!IsDeclared(dep, declared)) return DPX_DIInterface::kRefusedReference;
  if (dep.keyFields.size() != dep.keyValues.size() || dep.keyFields.empty()) return 0;

  // Names from the record are used only as the target spells its own fields.
  const std::vector<dpx::records::FieldInfo>& fields = FieldListOf(lists, target, dep.table);
  if (fields.empty() || !dpx::records::FindFieldExact(fields, dep.keyField)) return 0;
  DPX_SqlStatement statement(serverType);
  statement.setTable(dep.table);
  statement.addColumn(dep.keyField);
  for (size_t i = 0; i < dep.keyFields.size(); ++i) {
    const dpx::records::FieldInfo* f = dpx::records::FindFieldExact(fields, dep.keyFields[i]);
    if (!f) return 0;
    statement.addValue(f->name, dep.keyValues[i], f->type);
  }
  DPX_SqlText sql;
  try {
    sql = statement.buildSelect();
  } catch (const DPX_SqlValueRefused&) {
    return 0;  // a value that cannot name a row of that kind
  }
  recordset.DoQuery(sql);
  if (recordset.RecordCount() <= 0) return 0;
  value = recordset.Field(0).toText();
  return 1;
}

// The target's keys for the dependency records of one mapping call. Records
// that share a reference cost one lookup, and each table's field list is
// read once (the target's structure stays as it is during a write).
class TargetKeyLookup {
 public:
  TargetKeyLookup(DPX_ConnectionContext* context, const std::string& field, const DPX_DeclaredReferences& declared)
      : target_(dpx::records::TargetCompany(context)),
        recordset_(target_->NewRecordset()),
        serverType_(target_->DbServerType()),
        field_(field),
        declared_(declared) {}

  // For the child `field` of the row at `row`: -1 when the row has no such
  // child or it holds no dependency record (a plain value stays as it is);
  // otherwise `at` and `after` span that child and the result is 1 with the
  // target's key, 0 when the target has no such row, or kRefusedReference
  // with the reason in `key` when the record names what the field may not.
  int32_t find(std::string_view text, size_t row, const std::string& field, size_t& at, size_t& after,
               std::string& key) {
    at = rt::FindChild(text, row, field);
    if (at == rt::npos) return -1;
    size_t begin, end;
    if (!rt::ElementContent(text, at, begin, end, after)) return -1;
    if (!rt::FirstText(text, at).empty() || !rt::HasChildElement(text, at)) return -1;
    std::string record(text.substr(begin, end - begin));
    if (auto found = known_.find(record); found != known_.end()) {
      if (found->second.first != 0) key = found->second.second;
      return found->second.first;
    }
    DependencyRecord dep;
    const int32_t result = ReadDependency(text, at, dep)
                               ? FindTargetKey(dep, declared_, *recordset_, *target_, serverType_, fieldLists_, key)
                               : 0;
    if (result == DPX_DIInterface::kRefusedReference) key = RefusalText(field_, dep);
    known_.emplace(std::move(record), std::make_pair(result, key));
    return result;
  }

 private:
  std::shared_ptr<dpx::host::Company> target_;
  std::shared_ptr<dpx::host::Recordset> recordset_;
  int32_t serverType_;
  std::string field_;
  const DPX_DeclaredReferences& declared_;
  std::map<std::string, std::pair<int32_t, std::string>> known_;  // by the dependency record's text
  FieldLists fieldLists_;
};

// A record's text rebuilt while its rows are walked in the original text:
// the parts between edits are copied once, so a block of many rows costs
// one pass whatever is edited.
class RecordEdit {
 public:
  explicit RecordEdit(const std::string& text) : text_(text) {}

  // Leaves out the element [at, after) of the row at `row` and, unless
  // `element` is empty, appends `element` as the row's last child.
  void moveToEnd(size_t row, size_t at, size_t after, const std::string& element) {
    size_t begin, end, rowAfter;
    if (!rt::ElementContent(text_, row, begin, end, rowAfter)) return;
    copyTo(at);
    copied_ = after;
    if (element.empty()) return;
    copyTo(end);
    out_ += element;
  }
  // Leaves out the element [at, after).
  void remove(size_t at, size_t after) {
    copyTo(at);
    copied_ = after;
  }
  // The edited text; false when nothing was edited.
  bool finish(std::string& result) {
    if (!edited_) return false;
    copyTo(text_.size());
    // Every record of a block is held until it is written: none keeps room it does not use.
    if (out_.capacity() - out_.size() > 64) out_.shrink_to_fit();
    result = std::move(out_);
    return true;
  }

 private:
  void copyTo(size_t position) {
    if (!edited_) {
      out_.reserve(text_.size() + 256);
      edited_ = true;
    }
    if (position > copied_) out_.append(text_, copied_, position - copied_);
    copied_ = std::max(copied_, position);
  }

  const std::string& text_;
  std::string out_;
  size_t copied_ = 0;
  bool edited_ = false;
};

// The first row of a record, under its first element `parentName` when one
// is named: npos when the record has none (or is not a record).
size_t FirstRow(std::string_view text, const std::string& rowName, const std::string& parentName,
                bool parentRequired) {
  size_t scope = rt::RootElement(text);
  if (scope == rt::npos || rt::ElementEnd(text, scope) == rt::npos) return rt::npos;
  if (!parentName.empty()) {
    const size_t parent = rt::FindDescendant(text, scope, parentName);
    if (parent != rt::npos) scope = parent;
    else if (parentRequired) return rt::npos;
  }
  return rt::FindDescendant(text, scope, rowName);
}

// The "403" line of a record whose reference is refused, named by the
// values that identify a listed record of the category (or, without them,
// the first two values of its row: its code and, mostly, its name).
void LogRefusedReference(const DPX_OperationArgs& block, DPX_ConnectionContext* context,
                         const std::vector<std::string>& listColumns, std::string_view text, size_t row,
                         const std::string& reason) {
  std::string names[2];
  size_t shown = 0;
  for (size_t i = 0; i < listColumns.size() && i < 2; ++i) {
    const size_t at = rt::FindChild(text, row, listColumns[i]);
    if (at != rt::npos) names[i] = rt::FirstText(text, at), ++shown;
  }
  if (shown == 0)
    for (size_t e = rt::FirstChildElement(text, row); e != rt::npos && shown < 2; e = rt::NextSiblingElement(text, e))
      if (!rt::HasChildElement(text, e)) names[shown++] = rt::FirstText(text, e);
  dpx::DPX_LogScope scope("DPX_DIInterface::mapDependencyToTarget");
  scope.LogError("%s", reason);
  dpx::records::LogLine line(dpx::records::CurrentCopyLog(context));
  // The record would have been updated (Update Existing Records) or added.
  line.start(block.categoryKey, context && context->getCopyMethod() == 2 ? 2 : 3, names[0], names[1]);
  line.fail(reason);
  line.write(true);
}

// Takes the records marked refused out of the block.
void DropRefused(DPX_OperationArgs& block, const std::vector<bool>& refused) {
  size_t kept = 0;
  for (size_t i = 0; i < block.dataItems.size(); ++i)
    if (!refused[i]) {
      if (kept != i) block.dataItems[kept] = std::move(block.dataItems[i]);
      ++kept;
    }
  block.dataItems.resize(kept);
}

// Whether the rows after this one are walked too.
bool WalksAllRows(const DPX_OperationArgs& block, const std::string& parentName) {
  return block.severalRows == 1 || !parentName.empty();
}

}  // namespace

int32_t DPX_DIInterface::findChildElement(DPX_DOMParser& parser, const std::string& name, std::string& text) {
  auto* start = parser.getCursor();
  if (!GotoChildNamed(parser, name)) {
    parser.setCursor(start);
    return -1;
  }
  int32_t result = 0;
  std::string value = parser.getText();
  if (value.empty() && parser.countElements() > 0) {
    value = parser.serialize(true);
    result = 1;
  }
  text = value;
  parser.setCursor(start);
  return result;
}

std::string DPX_DIInterface::getChildText(DPX_DOMParser& parser, const std::string& name) {
  auto* start = parser.getCursor();
  std::string text;
  if (GotoChildNamed(parser, name)) text = parser.getText();
  parser.setCursor(start);
  return text;
}

int32_t DPX_DIInterface::writeDependency(DPX_DOMParser& parser, const std::string& field, const std::string& table,
                                         const std::string& keyField, const std::vector<std::string>& keyFields,
                                         const std::vector<std::string>& keyValues) {
  parser.removeCurrent();  // the cursor goes to the row
  parser.addEmptyElement(field, true);
  parser.addEmptyElement("dep", true);
  parser.addElement("tableName", table, "", "", false);
  parser.addElement("fField", keyField, "", "", false);
  parser.addEmptyElement("fKeyFields", true);
  for (const std::string& f : keyFields) parser.addElement("fField", f, "", "", false);
  parser.move(0, false);
  parser.addEmptyElement("fKeyValues", true);
  for (size_t i = 0; i < keyFields.size(); ++i)
    parser.addElement("fValue", i < keyValues.size() ? keyValues[i] : std::string(), "", "", false);
  parser.move(0, false);
  return 1;
}

int32_t DPX_DIInterface::resolveDependency(DPX_OperationArgs& block, const std::string& field, int32_t fieldType,
                                           const std::string& table, const std::string& keyField,
                                           const std::string& keyFieldName, const std::string& rowName,
                                           const std::string& parentName) {
  return resolveDependencies(block, field, fieldType, table, keyField, {keyFieldName}, rowName, parentName);
}

int32_t DPX_DIInterface::resolveDependencies(DPX_OperationArgs& block, const std::string& field, int32_t fieldType,
                                             const std::string& table, const std::string& keyField,
                                             const std::vector<std::string>& keyFields, const std::string& rowName,
                                             const std::string& parentName) {
  dpx::DPX_LogScope scope("DPX_DIInterface::resolveDependencies");
  auto base = dpx::records::BaseCompany(block.context ? block.context : m_context);
  auto recordset = base->NewRecordset();
  const int32_t serverType = base->DbServerType();

  // Each distinct reference is looked up once per block, and its dependency
  // record is made once: (the field's new element, or "" to leave it).
  std::map<std::string, std::string> resolved;
  auto resolve = [&](const std::string& value) -> const std::string& {
    if (auto known = resolved.find(value); known != resolved.end()) return known->second;
    std::string element;
    try {
      DPX_SqlStatement statement(serverType);
      statement.setTable(table);
      for (const std::string& k : keyFields) statement.addColumn(k);
      statement.addValue(keyField, value, fieldType);
      recordset->DoQuery(statement.buildSelect());
      std::vector<std::string> keyValues(keyFields.size());
      const bool haveRow = recordset->RecordCount() > 0;
      if (haveRow)
        for (size_t c = 0; c < keyFields.size(); ++c) keyValues[c] = recordset->Field(static_cast<int>(c)).toText();
      // A negative reference ("none", "all") stays unless the base has such a row.
      if (haveRow || dpx::LeadingInt(value) >= 0) {
        element = "<" + field + "><dep>" + rt::TextElement("tableName", table) + rt::TextElement("fField", keyField);
        element += "<fKeyFields>";
        for (const std::string& f : keyFields) element += rt::TextElement("fField", f);
        element += "</fKeyFields><fKeyValues>";
        for (const std::string& v : keyValues) element += rt::TextElement("fValue", v);
        element += "</fKeyValues></dep></" + field + ">";
      }
    } catch (const DPX_SqlValueRefused& e) {
      // a value that is no key of that kind stays as it is
      scope.LogWarning("Reference %s = '%s' left as it is: %s", field, value, e.what());
    }
    return resolved.emplace(value, std::move(element)).first->second;
  };

  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    const std::string& xml = item.xml;
    RecordEdit edit(xml);
    for (size_t row = FirstRow(xml, rowName, parentName, false); row != rt::npos;
         row = WalksAllRows(block, parentName) ? rt::NextSiblingElement(xml, row) : rt::npos) {
      const size_t at = rt::FindChild(xml, row, field);
      if (at == rt::npos) continue;  // the row has no such field
      // A field that holds elements and no text is already a dependency record.
      const std::string value = rt::FirstText(xml, at);
      if (value.empty() || value == "NULL") continue;
      const std::string& element = resolve(value);
      if (element.empty()) continue;
      size_t begin, end, after;
      if (rt::ElementContent(xml, at, begin, end, after)) edit.moveToEnd(row, at, after, element);
    }
    std::string edited;
    if (edit.finish(edited)) item.xml = std::move(edited);
  }
  return 1;
}

int32_t DPX_DIInterface::findTargetKey(DPX_DOMParser& parser, dpx::host::Recordset& recordset,
                                       dpx::host::Company& target, int32_t serverType, const std::string& field,
                                       const DPX_DeclaredReferences& declared, std::string& value) {
  (void)field;
  DependencyRecord dep;
  if (!ReadDependency(parser, dep)) return 0;
  FieldLists lists;
  return FindTargetKey(dep, declared, recordset, target, serverType, lists, value);
}

int32_t DPX_DIInterface::mapDependencyToTarget(DPX_OperationArgs& block, const std::string& field,
                                               const std::string& rowName, const DPX_DeclaredReferences& declared,
                                               const std::string& fallback, const std::string& parentName) {
  dpx::DPX_LogScope scope("DPX_DIInterface::mapDependencyToTarget");
  DPX_ConnectionContext* context = block.context ? block.context : m_context;
  TargetKeyLookup lookup(context, field, declared);
  // A row of a table block is a record of its own; otherwise the data item is.
  const bool rowsAreRecords = block.severalRows == 1 && parentName.empty();
  std::vector<bool> refused(block.dataItems.size(), false);

  for (size_t i = 0; i < block.dataItems.size(); ++i) {
    DPX_OperationArgs::DataItem& item = block.dataItems[i];
    const std::string& xml = item.xml;
    RecordEdit edit(xml);
    // Without its parent element the record is left exactly as it was.
    size_t ordinal = 0;
    for (size_t row = FirstRow(xml, rowName, parentName, true); row != rt::npos;
         row = WalksAllRows(block, parentName) ? rt::NextSiblingElement(xml, row) : rt::npos, ++ordinal) {
      // Only a dependency record can be mapped: a plain value (empty, "NULL",
      // a negative "none") stays as it is.
      std::string key;
      size_t at = 0, after = 0;
      const int32_t found = lookup.find(xml, row, field, at, after, key);
      if (found == kRefusedReference) {
        LogRefusedReference(block, context, m_listColumns, xml,
                            rowsAreRecords ? row : FirstRow(xml, rowName, "", false), key);
        if (!rowsAreRecords) {
          refused[i] = true;
          break;
        }
        const size_t rowEnd = rt::ElementEnd(xml, row);
        if (rowEnd != rt::npos) edit.remove(row, rowEnd);
      } else if (found == 1)
        edit.moveToEnd(row, at, after, rt::TextElement(field, key));
      else if (found == 0 && !fallback.empty())
        edit.moveToEnd(row, at, after, rt::TextElement(field, fallback));
      else if (found == 0) {
        // The target applies its own default, and the record's line says so.
        item.leaveOut(field, dpx::records::DependencyKeyText(xml, at), dpx::records::kTargetHasNone, ordinal);
        edit.remove(at, after);
      }
    }
    std::string edited;
    if (!refused[i] && edit.finish(edited)) item.xml = std::move(edited);
  }
  DropRefused(block, refused);
  return 1;
}

int32_t DPX_DIInterface::mapDependenciesToTarget(DPX_OperationArgs& block, const std::string& field,
                                                 const std::string& rowName, const DPX_DeclaredReferences& declared) {
  dpx::DPX_LogScope scope("DPX_DIInterface::mapDependenciesToTarget");
  DPX_ConnectionContext* context = block.context ? block.context : m_context;
  TargetKeyLookup lookup(context, field, declared);

  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    const std::string& xml = item.xml;
    RecordEdit edit(xml);
    size_t row = FirstRow(xml, rowName, "", false);
    while (row != rt::npos) {
      std::string key;
      size_t at = 0, after = 0;
      const int32_t found = lookup.find(xml, row, field, at, after, key);
      const size_t next = rt::NextSiblingElement(xml, row);
      if (found == 1) {
        edit.moveToEnd(row, at, after, rt::TextElement(field, key));
      } else if (found == 0 || found == kRefusedReference) {
        if (found == kRefusedReference) LogRefusedReference(block, context, m_listColumns, xml, row, key);
        // The row cannot be satisfied in the target: it is not written, and
        // the row after it takes its place.
        const size_t rowEnd = rt::ElementEnd(xml, row);
        if (rowEnd != rt::npos) edit.remove(row, rowEnd);
        row = next;
        continue;
      }
      row = block.severalRows == 1 ? next : rt::npos;
    }
    std::string edited;
    if (edit.finish(edited)) item.xml = std::move(edited);
  }
  return 1;
}

std::vector<std::string> DPX_DIInterface::parseKeyValues(const DPX_OperationArgs::DataItem& item,
                                                         const std::vector<std::string>& keyProperties,
                                                         const std::vector<std::string>& properties,
                                                         const std::string& rowName) {
  std::vector<std::string> result;
  DPX_DOMParser parser;
  if (!parser.loadXML(item.xml)) return result;

  // A field's value for the record list: a dependency record shows its first
  // identifying value (the natural key), a missing field the empty text.
  auto valueOf = [&parser](const std::string& name) {
    std::string text;
    const int32_t r = findChildElement(parser, name, text);
    if (r == 1) {
      const size_t open = text.find("<fValue>");
      if (open == std::string::npos) return std::string();
      const size_t from = open + 8;
      const size_t close = text.find("</fValue>", from);
      return text.substr(from, close == std::string::npos ? std::string::npos : close - from);
    }
    return r == 0 ? text : std::string();
  };

  auto* root = parser.getCursor();
  const uint32_t rows = parser.findElement(rowName);
  std::vector<xercesc::DOMNode*> taken;
  for (uint32_t r = 0; r < rows; ++r) {
    taken.push_back(parser.getCursor());
    DPX_DetailRecord record;
    for (const std::string& key : keyProperties) {
      const std::string value = valueOf(key);
      record.addKeyValue(key, dpx::Variant(value));
      record.addValue(key, dpx::Variant(value));
    }
    m_tableInfo.addRow(record);
    if (!dpx::records::NextSiblingElement(parser) || parser.getNodeName() != rowName) break;
  }
  for (size_t r = 0; r < taken.size(); ++r) {
    parser.setCursor(taken[r]);
    result.clear();
    for (const std::string& property : properties) result.push_back(valueOf(property));
    // The caller appends the last row itself.
    if (r + 1 < taken.size()) m_tableInfo.addListRow(result);
  }
  m_tableInfo.setTextList(properties);
  parser.setCursor(root);
  return result;
}

DPX_DIInterface::RecordsetPtr DPX_DIInterface::queryObjectKeys(const std::string& table,
                                                               const std::vector<std::string>& columns,
                                                               const std::vector<DPX_ValuePair>& conditions) {
  auto base = dpx::records::BaseCompany(m_context);
  auto recordset = base->NewRecordset();
  DPX_SqlStatement statement(base->DbServerType());
  for (const std::string& c : columns) statement.addColumn(c);
  statement.setTable(table);
  // The pairs are final: their columns and values stand as the caller wrote them.
  statement.setValues(conditions);
  recordset->DoQuery(statement.buildSelect());
  return recordset;
}
