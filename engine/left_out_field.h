// Fields a record is written without. When the target lacks what a field of
// a record names (a manufacturer, a group, a unit, an account it names
// otherwise), the record is still written, without that field, so that the
// target applies its own default. That must never pass in silence: the
// record's copy-log line keeps its result ("402" stays "402") and its Error
// column names each field left out and the value it held, one sentence each,
// joined by "; ":
//   Written without Manufacturer 'Acme & <Co>': the target has none
//
// A category notes a field left out in one of two ways:
// - while it prepares the records, before they are written (the reference
//   mapping does so for every reference field): NoteLeftOut on the data item;
//   the writer of that record hands the notes to its line;
// - while the record is being written (a manager's mapReferences hook during
//   an insert or update): NoteLeftOut on the copy log, for the current line.
// Notes count only on a line that succeeds: a record the target refuses was
// not written at all, and its line says why.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class DPX_CopyLog;

// One field left out of a record.
struct DPX_LeftOutField {
  // The record's row the field stood in, counted from 0 among the rows of
  // the data item: a table block holds many records, one per row, until it
  // is split; a business object's notes all belong to its one record.
  size_t row = 0;
  std::string field;   // the field's element name, such as "Manufacturer"
  std::string value;   // what it held: the natural key of the row it named
  std::string reason;  // why the target could not take it
};

namespace dpx::records {

// The reason of a reference the target has no row for.
inline constexpr const char* kTargetHasNone = "the target has none";
// The reason of an account field the target cannot take because it names
// its accounts otherwise (its account flag differs from the base's).
inline constexpr const char* kAccountsNamedOtherwise = "the target names its accounts otherwise";

// The sentence of one field left out: "Written without F 'V': reason".
std::string LeftOutSentence(const DPX_LeftOutField& field);
// Whether a log line's Error column names fields left out (the line of a
// record written all the same).
bool NamesLeftOutFields(std::string_view error);

// Notes, for the line being written now, that its record is written without
// `field`, which held `value`. Nothing happens without a copy under way.
void NoteLeftOut(DPX_CopyLog* log, const std::string& field, const std::string& value,
                 const std::string& reason = kTargetHasNone);
// Hands a data item's notes to the line being written now (all of them: the
// data item is one record by then).
void NoteLeftOut(DPX_CopyLog* log, const std::vector<DPX_LeftOutField>& fields);

// The natural key a dependency record carries under the element at `field`
// of a record's text: its "fValue" texts joined by ", ".
std::string DependencyKeyText(std::string_view xml, size_t field);

// Leaves out of a record's text every dependency record of `field` in its
// rows (the field goes whole, so that the target applies its default) and
// notes each, with its row, in `notes`.
void LeaveOutDependencyRecords(std::string& xml, const std::string& field, const std::string& reason,
                               std::vector<DPX_LeftOutField>& notes);

// The notes of rows [first, first + count) of a table record, renumbered from
// 0: what a record cut from those rows carries.
std::vector<DPX_LeftOutField> LeftOutOfRows(const std::vector<DPX_LeftOutField>& fields, size_t first, size_t count);

}  // namespace dpx::records
