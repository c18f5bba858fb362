// The line of the copy log being assembled: nine text columns. The log viewer
// splits a line at "|" and reads one line per record, so a column never
// carries either: a "|" inside a value becomes a broken bar "¦" (U+00A6), and
// a line break (CR LF, LF or CR alone) becomes one blank. A line stays
// readable: a code or description longer than kValueLimit characters is cut
// there with "..." added, and so is each value an error text quotes.
#pragma once

#include <array>
#include <string>
#include <string_view>

class DPX_CopyLogRecord {
 public:
  enum Column {
    kCategoryNo = 0,
    kAction,
    kResult,
    kBaseCode,
    kBaseDescription,
    kTargetCode,
    kTargetDescription,
    kTargetFormerDescription,
    kError,
    kColumnCount
  };

  static constexpr size_t kValueLimit = 200;

  // Stores the value with its separators and line breaks replaced, cut to a
  // readable length.
  void set(Column column, const std::string& value);
  const std::string& get(Column column) const { return columns_[column]; }
  void clear();

  // The nine columns joined by "|", then "\r\n".
  std::string line() const;

  // A value as it may stand in one column of a log line.
  static std::string CleanColumn(const std::string& value);

 private:
  std::array<std::string, kColumnCount> columns_;
};
