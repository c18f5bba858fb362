// String tables: the shipped English table, fallback to English, and the file
// format (escapes, comments, empty texts counting as missing).
#include "platform/framework/string_table.h"

#include <fstream>

#include <gtest/gtest.h>

#include "tests/support/test_dir.h"

namespace dpx {
namespace {

// Restores the shipped tables after a test that read its own.
struct OwnTables {
  test::TestDir dir;
  explicit OwnTables(const std::string& english) {
    std::ofstream(dir / "1033.txt", std::ios::binary) << english;
    StringTable::SetFolder(dir.path());
  }
  ~OwnTables() { StringTable::SetFolder({}); }
};

TEST(StringTable, ShippedEnglishTexts) {
  StringTable::SetFolder({});
  struct Case {
    uint32_t id;
    const char* text;
  };
  const Case cases[] = {
      {2041, "Vorn Quillon Duplora"},
      {402, "Succeeded"},
      {403, "Failed"},
      {2029, "Continue copy process"},
      {801, "Items"},
      {147, "User-Defined Fields"},
      {10018, "Operation completed successfully"},
      {10035, "User '%s' is not a superuser. Access is denied."},
      {10060, "Reading the base company"},
      {166,
       "The content of this category includes:\r\n- Tables column header descriptions\r\n- Font size settings\r\n"
       "- Certain fields from the 'Display' tab located in Administration ---> System Initialization --> General "
       "Settings"},
  };
  for (const auto& c : cases) EXPECT_EQ(StringTable::Load(c.id), c.text) << c.id;
  // Any host language reads English where it has no text of its own.
  EXPECT_EQ(StringTable::Load(2041, 7), "Vorn Quillon Duplora");
  EXPECT_EQ(StringTable::Load(2041, -1), "Vorn Quillon Duplora");
  EXPECT_EQ(StringTable::Load(0), "");
  EXPECT_EQ(StringTable::Load(4294967295u), "");
}

TEST(StringTable, FileFormat) {
  OwnTables tables(
      "# comment\n"
      "1\tOK\r\n"
      "5\t\n"
      "6\tTab\\there, line\\nbreak, back\\\\slash\n"
      "7\t  padded  \n"
      "x\tnot an id\n"
      "8 no tab\n"
      "9\t\xC3\xBC \xE6\x97\xA5");
  EXPECT_EQ(StringTable::Load(1), "OK");
  EXPECT_EQ(StringTable::Load(5), "") << "an empty text counts as missing";
  EXPECT_EQ(StringTable::Load(6), "Tab\there, line\nbreak, back\\slash");
  EXPECT_EQ(StringTable::Load(7), "  padded  ");
  EXPECT_EQ(StringTable::Load(8), "");
  EXPECT_EQ(StringTable::Load(9), "ü 日");
  EXPECT_EQ(StringTable::Load(2041), "") << "only the given folder is read";
}

}  // namespace
}  // namespace dpx
