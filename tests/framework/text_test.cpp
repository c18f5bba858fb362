// Text at the boundary: UTF-8 <-> UTF-16, UTF-16 files with and without a
// byte-order mark, and writes that never leave a half-written file behind.
#include "platform/framework/text.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "tests/support/test_dir.h"

namespace dpx {
namespace {

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Text, Utf8AndUtf16Convert) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const Case cases[] = {
      {"", u""},
      {"Grüße", u"Grüße"},
      {"日本 €", u"日本 €"},
      {"😀", u"\xD83D\xDE00"},  // a surrogate pair
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
  }
  // Broken input becomes U+FFFD instead of vanishing or running off the end.
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\xFFFD" "b");
  EXPECT_EQ(Utf8ToUtf16("a\xE6\x97"), u"a\xFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\xFFFD");  // overlong "/"
  EXPECT_EQ(Utf16ToUtf8(u"a\xD83D"), "a\xEF\xBF\xBD");
}

TEST(Text, Utf16FilesWithAndWithoutByteOrderMark) {
  test::TestDir dir;
  const std::string text = "Zeile 1 ü\r\nline 2 日本 😀";
  for (bool bom : {true, false}) {
    const auto path = dir / (bom ? "bom.txt" : "plain.txt");
    ASSERT_TRUE(WriteUtf16File(path, text, bom));
    const std::string bytes = Bytes(path);
    EXPECT_EQ(bytes, (bom ? std::string("\xFF\xFE") : std::string()) + Utf8ToUtf16LEBytes(text));
    EXPECT_EQ(bytes.substr(bom ? 2 : 0, 4), std::string("Z\0e\0", 4));
    std::string back;
    ASSERT_TRUE(ReadTextFile(path, back));
    EXPECT_EQ(back, text) << "bom " << bom;
  }
  // UTF-16BE with a mark, and UTF-8 with and without one.
  std::string be = "\xFE\xFF";
  for (char16_t c : u"Aü") if (c) be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  ASSERT_TRUE(WriteFileAtomically(dir / "be.txt", be));
  ASSERT_TRUE(WriteFileAtomically(dir / "u8bom.txt", "\xEF\xBB\xBF" "Aü"));
  ASSERT_TRUE(WriteFileAtomically(dir / "u8.txt", "Aü"));
  for (const char* name : {"be.txt", "u8bom.txt", "u8.txt"}) {
    std::string back;
    ASSERT_TRUE(ReadTextFile(dir / name, back));
    EXPECT_EQ(back, "Aü") << name;
  }
  std::string untouched = "keep";
  EXPECT_FALSE(ReadTextFile(dir / "missing.txt", untouched));
}

TEST(Text, AFailedWriteKeepsTheOldFile) {
  test::TestDir dir;
  // A name so long that the temporary file beside it cannot be made: the
  // write fails before the old file could be touched.
  const auto path = dir / std::string(250, 'n');
  { std::ofstream(path, std::ios::binary) << "\xFF\xFE" + Utf8ToUtf16LEBytes("old"); }
  EXPECT_FALSE(WriteUtf16File(path, "new", true));
  std::string back;
  ASSERT_TRUE(ReadTextFile(path, back));
  EXPECT_EQ(back, "old");

  EXPECT_FALSE(WriteUtf16File(dir / "no" / "such" / "folder.txt", "x", false));
  std::filesystem::create_directory(dir / "folder");
  EXPECT_FALSE(WriteUtf16File(dir / "folder", "x", false));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
  // Nothing temporary is left behind.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2u);
}

TEST(Text, CaseFoldingIsAsciiOnly) {
  EXPECT_EQ(ToLowerAscii("ABC xyz ÄÖÜ"), "abc xyz ÄÖÜ");
  EXPECT_TRUE(EqualsIgnoreCase("DPX_TRN_Items_100", "dpx_trn_ITEMS_100"));
  EXPECT_FALSE(EqualsIgnoreCase("Ä", "ä"));
  EXPECT_FALSE(EqualsIgnoreCase("abc", "abcd"));
}

}  // namespace
}  // namespace dpx
