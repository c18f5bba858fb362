#include "engine/copy_log_record.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

// The log viewer splits lines at "|" and reads one record per line: no value
// may add a column or a line.
TEST(CopyLogRecord, ValuesNeverShiftTheColumns) {
  struct Case {
    const char* value;
    const char* stored;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"A|B", "A\xC2\xA6" "B"},
      {"line one\nline two", "line one line two"},
      {"line one\r\nline two", "line one line two"},
      {"line one\rline two", "line one line two"},
      {"||\r\n\n", "\xC2\xA6\xC2\xA6  "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    for (int col = 0; col < DPX_CopyLogRecord::kColumnCount; ++col) {
      DPX_CopyLogRecord record;
      record.set(static_cast<DPX_CopyLogRecord::Column>(col), c.value);
      EXPECT_EQ(record.get(static_cast<DPX_CopyLogRecord::Column>(col)), c.stored);
      const std::string line = record.line();
      EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 8);
      EXPECT_EQ(line.find('\n'), line.size() - 1);
      EXPECT_EQ(line.find('\r'), line.size() - 2);
    }
  }
}

TEST(CopyLogRecord, LineJoinsNineColumnsAndClearEmptiesThem) {
  DPX_CopyLogRecord record;
  record.set(DPX_CopyLogRecord::kCategoryNo, "DPX_TRN_ITEMSLEAF_100");
  record.set(DPX_CopyLogRecord::kAction, "212");
  record.set(DPX_CopyLogRecord::kResult, "402");
  record.set(DPX_CopyLogRecord::kBaseCode, "A1");
  record.set(DPX_CopyLogRecord::kError, "none");
  EXPECT_EQ(record.line(), "DPX_TRN_ITEMSLEAF_100|212|402|A1|||||none\r\n");
  record.clear();
  EXPECT_EQ(record.line(), "||||||||\r\n");
}

// A line quotes a value at a readable length: a code or a description of a
// megabyte, or a host error repeating the value it refused, is cut after 200
// characters with "..." added, never inside a character.
TEST(CopyLogRecord, LongValuesAreCutToAReadableLength) {
  const std::string megabyte(1000000, 'x');
  const std::string cut = std::string(200, 'x') + "...";
  const std::string euros = std::string(199, 'x') + "\xE2\x82\xAC\xE2\x82\xAC";  // 201 characters, two of three bytes
  struct Case {
    DPX_CopyLogRecord::Column column;
    std::string value;
    std::string stored;
  };
  const Case cases[] = {
      {DPX_CopyLogRecord::kBaseDescription, megabyte, cut},
      {DPX_CopyLogRecord::kBaseCode, megabyte, cut},
      {DPX_CopyLogRecord::kTargetDescription, megabyte, cut},
      {DPX_CopyLogRecord::kTargetFormerDescription, megabyte, cut},
      {DPX_CopyLogRecord::kTargetCode, std::string(200, 'x'), std::string(200, 'x')},
      {DPX_CopyLogRecord::kBaseDescription, euros, std::string(199, 'x') + "\xE2\x82\xAC..."},
      {DPX_CopyLogRecord::kError, "Value '" + megabyte + "' does not fit property 'QueryDescription'",
       "Value '" + cut + "' does not fit property 'QueryDescription'"},
      {DPX_CopyLogRecord::kError, "Refused \"" + megabyte + "\"", "Refused \"" + cut + "\""},
      {DPX_CopyLogRecord::kError, "Owner's query is refused", "Owner's query is refused"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored.substr(0, 60));
    DPX_CopyLogRecord record;
    record.set(c.column, c.value);
    EXPECT_EQ(record.get(c.column), c.stored);
  }
  // An error that repeats a value without quotes is bounded as a whole.
  DPX_CopyLogRecord record;
  record.set(DPX_CopyLogRecord::kError, "Refused: " + megabyte);
  EXPECT_EQ(record.get(DPX_CopyLogRecord::kError).size(), 1003u);
}

}  // namespace
