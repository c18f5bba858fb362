// Fields a record is written without: the sentences of the copy log and the
// notes that carry them from the reference mapping to the record's line.
#include "engine/left_out_field.h"

#include "engine/copy_log.h"
#include "engine/record_text.h"

namespace rt = dpx::recordtext;

namespace dpx::records {

namespace {
constexpr std::string_view kWrittenWithout = "Written without ";
}  // namespace

std::string LeftOutSentence(const DPX_LeftOutField& field) {
  return std::string(kWrittenWithout) + field.field + " '" + field.value + "': " + field.reason;
}

bool NamesLeftOutFields(std::string_view error) {
  for (size_t at = error.find(kWrittenWithout); at != std::string_view::npos; at = error.find(kWrittenWithout, at + 1))
    if (at == 0 || (at >= 2 && error.substr(at - 2, 2) == "; ")) return true;
  return false;
}

void NoteLeftOut(DPX_CopyLog* log, const std::string& field, const std::string& value, const std::string& reason) {
  if (!log) return;
  log->noteLeftOut(LeftOutSentence({0, field, value, reason}));
}

void NoteLeftOut(DPX_CopyLog* log, const std::vector<DPX_LeftOutField>& fields) {
  if (!log) return;
  for (const DPX_LeftOutField& field : fields) log->noteLeftOut(LeftOutSentence(field));
}

std::string DependencyKeyText(std::string_view xml, size_t field) {
  const size_t dep = rt::FindChild(xml, field, "dep");
  const size_t values = dep == rt::npos ? rt::npos : rt::FindChild(xml, dep, "fKeyValues");
  std::string text;
  if (values == rt::npos) return text;
  bool first = true;
  for (size_t value = rt::FirstChildElement(xml, values); value != rt::npos;
       value = rt::NextSiblingElement(xml, value)) {
    if (!first) text += ", ";
    text += rt::FirstText(xml, value);
    first = false;
  }
  return text;
}

void LeaveOutDependencyRecords(std::string& xml, const std::string& field, const std::string& reason,
                               std::vector<DPX_LeftOutField>& notes) {
  size_t ordinal = 0;
  for (size_t row = rt::FindStartTag(xml, "row", 0, xml.size()); row != rt::npos; ++ordinal) {
    const size_t rowEnd = rt::ElementEnd(xml, row);
    if (rowEnd == rt::npos) break;
    for (size_t child = rt::FirstChildElement(xml, row); child != rt::npos; child = rt::NextSiblingElement(xml, child))
      if (rt::TagName(xml, child) == field && rt::HasChildElement(xml, child))
        notes.push_back({ordinal, field, DependencyKeyText(xml, child), reason});
    row = rt::FindStartTag(xml, "row", rowEnd, xml.size());
  }
  xml = rt::WithoutDependencyRecords(xml, field);
}

std::vector<DPX_LeftOutField> LeftOutOfRows(const std::vector<DPX_LeftOutField>& fields, size_t first, size_t count) {
  std::vector<DPX_LeftOutField> out;
  for (const DPX_LeftOutField& field : fields)
    if (field.row >= first && field.row - first < count) {
      out.push_back(field);
      out.back().row -= first;
    }
  return out;
}

}  // namespace dpx::records
