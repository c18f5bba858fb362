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
// A dependency record may come from a configuration file, so its table and
// field names are used only when the target's field list of that table knows
// them; anything else counts as "not found".
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
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"

namespace {

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

// findTargetKey with the field lists already read kept in `lists`.
int32_t FindTargetKey(DPX_DOMParser& parser, dpx::host::Recordset& recordset, dpx::host::Company& target,
                      int32_t serverType, FieldLists& lists, std::string& value) {
  auto* start = parser.getCursor();
  if (!GotoChildNamed(parser, "dep")) return 0;
  const std::string table = DPX_DIInterface::getChildText(parser, "tableName");
  const std::string keyField = DPX_DIInterface::getChildText(parser, "fField");
  const std::vector<std::string> keyFields = ChildTexts(parser, "fKeyFields");
  const std::vector<std::string> keyValues = ChildTexts(parser, "fKeyValues");
  parser.setCursor(start);
  if (keyFields.size() != keyValues.size() || keyFields.empty()) return 0;

  // Names from the record are used only as the target spells its own fields.
  const std::vector<dpx::records::FieldInfo>& fields = FieldListOf(lists, target, table);
  if (fields.empty() || !dpx::records::FindFieldExact(fields, keyField)) return 0;
  DPX_SqlStatement statement(serverType);
  statement.setTable(table);
  statement.addColumn(keyField);
  for (size_t i = 0; i < keyFields.size(); ++i) {
    const dpx::records::FieldInfo* f = dpx::records::FindFieldExact(fields, keyFields[i]);
    if (!f) return 0;
    statement.addValue(f->name, keyValues[i], f->type);
  }
  std::string sql;
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
  explicit TargetKeyLookup(DPX_ConnectionContext* context)
      : target_(dpx::records::TargetCompany(context)),
        recordset_(target_->NewRecordset()),
        serverType_(target_->DbServerType()) {}

  // For the cursor's child `field`: -1 when it holds no dependency record
  // (a plain value stays as it is); otherwise the cursor is on that child
  // and the result is 1 with the target's key, or 0 when the target has no
  // such row.
  int32_t find(DPX_DOMParser& parser, const std::string& field, std::string& key) {
    std::string record;
    if (DPX_DIInterface::findChildElement(parser, field, record) != 1 || !GotoChildNamed(parser, field)) return -1;
    if (auto found = known_.find(record); found != known_.end()) {
      if (found->second.first == 1) key = found->second.second;
      return found->second.first;
    }
    const int32_t result = FindTargetKey(parser, *recordset_, *target_, serverType_, fieldLists_, key);
    known_.emplace(record, std::make_pair(result, key));
    return result;
  }

 private:
  std::shared_ptr<dpx::host::Company> target_;
  std::shared_ptr<dpx::host::Recordset> recordset_;
  int32_t serverType_;
  std::map<std::string, std::pair<int32_t, std::string>> known_;  // by the dependency record's text
  FieldLists fieldLists_;
};

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

  // The base's rows already looked up, by reference value: (found, key values).
  std::map<std::string, std::pair<bool, std::vector<std::string>>> looked;
  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    DPX_DOMParser parser;
    if (!parser.loadXML(item.xml)) continue;
    auto* root = parser.getCursor();
    if (!parentName.empty()) parser.findElement(parentName);
    const uint32_t rows = parser.findElement(rowName);
    for (uint32_t r = 0; r < rows; ++r) {
      auto* row = parser.getCursor();
      std::string value;
      // 1: already a dependency record; -1: the row has no such field.
      if (findChildElement(parser, field, value) == 0 && !value.empty() && value != "NULL") {
        const bool negative = dpx::LeadingInt(value) < 0;
        std::vector<std::string> keyValues(keyFields.size());
        bool haveRow = false;
        try {
          if (auto known = looked.find(value); known != looked.end()) {
            haveRow = known->second.first;
            keyValues = known->second.second;
          } else {
            DPX_SqlStatement statement(serverType);
            statement.setTable(table);
            for (const std::string& k : keyFields) statement.addColumn(k);
            statement.addValue(keyField, value, fieldType);
            recordset->DoQuery(statement.buildSelect());
            if (recordset->RecordCount() > 0) {
              haveRow = true;
              for (size_t c = 0; c < keyFields.size(); ++c)
                keyValues[c] = recordset->Field(static_cast<int>(c)).toText();
            }
            looked.emplace(value, std::make_pair(haveRow, keyValues));
          }
        } catch (const DPX_SqlValueRefused& e) {
          // a value that is no key of that kind stays as it is
          scope.LogWarning("Reference %s = '%s' left as it is: %s", field, value, e.what());
          parser.setCursor(row);
          if (!WalksAllRows(block, parentName) || !dpx::records::NextSiblingElement(parser)) break;
          continue;
        }
        // A negative reference ("none", "all") stays unless the base has such a row.
        if (haveRow || !negative) {
          if (GotoChildNamed(parser, field)) writeDependency(parser, field, table, keyField, keyFields, keyValues);
        }
      }
      parser.setCursor(row);
      if (!WalksAllRows(block, parentName) || !dpx::records::NextSiblingElement(parser)) break;
    }
    parser.setCursor(root);
    item.xml = parser.serialize(true);
  }
  return 1;
}

int32_t DPX_DIInterface::findTargetKey(DPX_DOMParser& parser, dpx::host::Recordset& recordset,
                                       dpx::host::Company& target, int32_t serverType, const std::string& field,
                                       std::string& value) {
  (void)field;
  FieldLists lists;
  return FindTargetKey(parser, recordset, target, serverType, lists, value);
}

int32_t DPX_DIInterface::mapDependencyToTarget(DPX_OperationArgs& block, const std::string& field,
                                               const std::string& rowName, const std::string& fallback,
                                               const std::string& parentName) {
  dpx::DPX_LogScope scope("DPX_DIInterface::mapDependencyToTarget");
  TargetKeyLookup lookup(block.context ? block.context : m_context);

  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    DPX_DOMParser parser;
    if (!parser.loadXML(item.xml)) continue;
    auto* root = parser.getCursor();
    if (!parentName.empty() && parser.findElement(parentName) == 0) continue;  // left exactly as it was
    const uint32_t rows = parser.findElement(rowName);
    for (uint32_t r = 0; r < rows; ++r) {
      auto* row = parser.getCursor();
      // Only a dependency record can be mapped: a plain value (empty, "NULL",
      // a negative "none") stays as it is.
      std::string key;
      const int32_t found = lookup.find(parser, field, key);
      if (found == 1) {
        replaceElement(parser, 1, field, key);
      } else if (found == 0 && !fallback.empty()) {
        replaceElement(parser, 1, field, fallback);
      } else if (found == 0) {
        replaceElement(parser, 0, field, "");  // the target applies its own default
      }
      parser.setCursor(row);
      if (!WalksAllRows(block, parentName) || !dpx::records::NextSiblingElement(parser)) break;
    }
    parser.setCursor(root);
    item.xml = parser.serialize(true);
  }
  return 1;
}

int32_t DPX_DIInterface::mapDependenciesToTarget(DPX_OperationArgs& block, const std::string& field,
                                                 const std::string& rowName) {
  dpx::DPX_LogScope scope("DPX_DIInterface::mapDependenciesToTarget");
  TargetKeyLookup lookup(block.context ? block.context : m_context);

  for (DPX_OperationArgs::DataItem& item : block.dataItems) {
    DPX_DOMParser parser;
    if (!parser.loadXML(item.xml)) continue;
    auto* root = parser.getCursor();
    uint32_t rows = parser.findElement(rowName);
    uint32_t examined = 0;
    while (examined < rows) {
      auto* row = parser.getCursor();
      std::string key;
      const int32_t found = lookup.find(parser, field, key);
      if (found == 1) {
        replaceElement(parser, 1, field, key);
      } else if (found == 0) {
        // The row cannot be satisfied in the target: it is not written.
        parser.setCursor(row);
        const bool hasNext = dpx::records::NextSiblingElement(parser);
        auto* next = hasNext ? parser.getCursor() : nullptr;
        parser.setCursor(row);
        parser.removeCurrent();
        --rows;
        if (!next) break;
        parser.setCursor(next);
        continue;
      }
      ++examined;
      parser.setCursor(row);
      if (block.severalRows != 1 || !dpx::records::NextSiblingElement(parser)) break;
    }
    parser.setCursor(root);
    item.xml = parser.serialize(true);
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
