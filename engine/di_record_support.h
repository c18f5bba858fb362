// Small helpers that the record families (reading, comparing and writing
// records of the base and target companies) share: the target's field list
// of a table, the company's last error as one line, walking the element
// children of a record XML node, and a copy-log line that is simply dropped
// when no copy is under way (listing and saving run without a log).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/left_out_field.h"
#include "platform/framework/variant.h"

class DPX_ConnectionContext;
class DPX_CopyLog;
class DPX_DOMParser;
class DPX_TableInfo;

namespace dpx::host {
class Company;
class HostObject;
class Recordset;
}  // namespace dpx::host

namespace dpx::records {

// The companies and the copy log of a context; a missing company raises
// HostError, a missing log (no copy under way) is null.
std::shared_ptr<dpx::host::Company> BaseCompany(DPX_ConnectionContext* context);
std::shared_ptr<dpx::host::Company> TargetCompany(DPX_ConnectionContext* context);
DPX_CopyLog* CurrentCopyLog(DPX_ConnectionContext* context);

// Prepares a category's record list: the table, the context, and the
// headings and types of the columns with their editable flags.
void DescribeColumns(DPX_TableInfo& info, DPX_ConnectionContext* context, const std::string& table,
                     const std::vector<std::string>& columns, const std::vector<int32_t>& editableFlags);

// One field of a table as the host's bridge lists it.
struct FieldInfo {
  std::string name;
  int32_t type = 0;  // host field type code: 0 alpha, 1 memo, 2 numeric, 3 date, 4 float
};

// The field list of a table in a company; empty when the company does not
// know the table (the bridge refuses unknown tables).
std::vector<FieldInfo> ReadFieldList(dpx::host::Company& company, const std::string& table);
// The field of that name: exact spelling first, then ignoring ASCII case.
const FieldInfo* FindField(const std::vector<FieldInfo>& fields, const std::string& name);
// Only the exact spelling: identifiers that come from a file must name a field as the host spells it.
const FieldInfo* FindFieldExact(const std::vector<FieldInfo>& fields, const std::string& name);

// Display text of a property of a host object, "" when it has none.
std::string PropertyText(dpx::host::HostObject& object, const std::string& property);
// "GetByKey" by name: true when found; raises HostError when the call itself fails.
bool GetByKey(dpx::host::HostObject& object, const std::vector<dpx::Variant>& keys);

// The company's last error text with every line feed removed.
std::string LastErrorText(dpx::host::Company& company);

// Values of fields 0..count-1 of the recordset's current row.
std::vector<dpx::Variant> RowValues(dpx::host::Recordset& recordset, size_t count);

// Whether a value is an integer key (an integer value, or a text that is a whole decimal number).
bool ReadIntegerKey(const dpx::Variant& value, int64_t& out);

std::string UpperAscii(const std::string& text);

// Appends one match value to the text that stands for a record's match
// values together; the values are kept apart so that no two lists meet.
inline void AppendMatchValue(std::string& key, const std::string& value) {
  key += std::to_string(value.size());
  key += ':';
  key += value;
}

// Whether a record's text may hold a user-defined field ("U_" element), so
// that the user-field check has something to look at.
inline bool MayHoldUserFields(std::string_view xml) { return xml.find("<U_") != std::string_view::npos; }

// Element-only walking from the cursor: to the first element child, to the
// next element sibling. False (cursor unchanged) when there is none.
bool FirstChildElement(DPX_DOMParser& parser);
bool NextSiblingElement(DPX_DOMParser& parser);

// The action a copy method takes with a record, as a line's Trans. Type:
// the removal pass (0) deletes, method 2 updates, and every method that adds
// (1, 3, 4) would have added what the target lacks.
inline int32_t ActionOfMethod(int32_t method) { return method == 0 || method == 2 ? method : 3; }

// The current line of the copy log, or nothing when no copy runs.
class LogLine {
 public:
  explicit LogLine(DPX_CopyLog* log) : log_(log) {}
  void start(const std::string& categoryKey, int32_t action);
  // A line about one record: its category, action and the base's code and description.
  void start(const std::string& categoryKey, int32_t action, const std::string& baseCode,
             const std::string& baseDescription);
  // The fields the record is written without: named in Error when the line succeeds.
  void leftOut(const std::vector<DPX_LeftOutField>& fields);
  // Result "403" with the reason.
  void fail(const std::string& text);
  void result(const std::string& result);
  void error(const std::string& text);
  void baseCode(const std::string& text);
  void baseDescription(const std::string& text);
  void targetCode(const std::string& text);
  void targetDescription(const std::string& text);
  void targetFormerDescription(const std::string& text);
  void write(bool write);

 private:
  DPX_CopyLog* log_;
};

}  // namespace dpx::records
