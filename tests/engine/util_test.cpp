// Conversions, XML helpers, paths and name comparisons of DPX_Util.
#include "engine/util.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/test_dir.h"

using dpx::Variant;
using dpx::VarType;

// A CR goes as a character reference: a parser would read a literal one as a
// line end and give back LF.
TEST(UtilEscapeXml, EscapesTheFiveCharactersAndCarriageReturns) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"<&", "&lt;&amp;"},
      {"a'b\"c>d", "a&apos;b&quot;c&gt;d"},
      {"plain text äö 1;2", "plain text äö 1;2"},
      {"&amp;", "&amp;amp;"},
      {"a\r\nb\rc\nd", "a&#13;\nb&#13;c\nd"},
  };
  for (const auto& c : cases) EXPECT_EQ(DPX_Util::EscapeXML(c.in), c.out) << c.in;
}

TEST(UtilWrapInBom, BuildsOneBusinessObjectPieceByPiece) {
  std::string xml;
  DPX_Util::WrapInBOM(xml, "Code", "A&B", "Item");
  DPX_Util::WrapInBOM(xml, "Name", "", "");
  DPX_Util::WrapInBOM(xml, "", "", "Item");
  EXPECT_EQ(xml,
            "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><Item><Code>A&amp;B</Code>"
            "<Name></Name></Item></BOM>");
}

TEST(UtilRemoveUpToMarker, DropsTheDeclarationOnly) {
  std::string text = "<?xml version=\"1.0\"?><BOM/>";
  EXPECT_EQ(DPX_Util::RemoveUpToMarker(text), 6);
  EXPECT_EQ(text, "<BOM/>");
  std::string none = "<BOM/>";
  EXPECT_EQ(DPX_Util::RemoveUpToMarker(none), -1);
  EXPECT_EQ(none, "<BOM/>");
}

TEST(UtilVariantToString, FormatsEachTypeLocaleIndependently) {
  EXPECT_EQ(DPX_Util::VariantToString(Variant(true)), "Y");
  EXPECT_EQ(DPX_Util::VariantToString(Variant(false)), "N");
  EXPECT_EQ(DPX_Util::VariantToString(Variant::integer(VarType::I2, -7)), "-7");
  EXPECT_EQ(DPX_Util::VariantToString(Variant(int32_t{123456})), "123456");
  EXPECT_EQ(DPX_Util::VariantToString(Variant(1.5)), "1.500000");
  EXPECT_EQ(DPX_Util::VariantToString(Variant("O'Brien")), "O'Brien");
  EXPECT_EQ(DPX_Util::VariantToString(Variant::integer(VarType::I1, 65)), "A");
  EXPECT_EQ(DPX_Util::VariantToString(Variant(dpx::DateTime{2024, 12, 31, 8, 5, 0})), "2024-12-31 08:05:00");
  EXPECT_EQ(DPX_Util::VariantToString(Variant::integer(static_cast<VarType>(17), 1)), "*ERR(vt 17)");
  EXPECT_EQ(DPX_Util::VariantToString(Variant()), "*ERR(vt 0)");
}

TEST(UtilVariantToDisplayText, ShowsWhatTheRecordListShows) {
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant(0.0)), "");
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant(1234.5)), "1234.50");  // C locale in tests
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant(int32_t{42})), "42");
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant(dpx::DateTime{})), "");
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant(dpx::DateTime{2024, 1, 2, 3, 4, 5}), true), "2024-01-02");
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant(dpx::DateTime{2024, 1, 2, 3, 4, 5}), false),
            "2024-01-02 03:04:05");
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant(true)), "Y");
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant::real(VarType::R4, 2.5f)), "");
  EXPECT_EQ(DPX_Util::VariantToDisplayText(Variant(std::vector<uint8_t>{1, 2})), "");
}

TEST(UtilTypeNames, MapBetweenVariantTypesAndHostFieldTypes) {
  EXPECT_EQ(DPX_Util::DbFieldTypeName(0), "db_Alpha");
  EXPECT_EQ(DPX_Util::DbFieldTypeName(4), "db_Float");
  EXPECT_EQ(DPX_Util::DbFieldTypeName(5), "");
  EXPECT_EQ(DPX_Util::VariantTypeToDbTypeName(3), "db_Numeric");
  EXPECT_EQ(DPX_Util::VariantTypeToDbTypeName(5), "db_Float");
  EXPECT_EQ(DPX_Util::VariantTypeToDbTypeName(7), "db_Date");
  EXPECT_EQ(DPX_Util::VariantTypeToDbTypeName(65), "db_Memo");
  EXPECT_EQ(DPX_Util::VariantTypeToDbTypeName(8), "db_Alpha");
  EXPECT_EQ(DPX_Util::VariantTypeToDbTypeName(11), "db_Alpha");
  for (const char* name : {"db_Numeric", "db_Float", "db_Date", "db_Memo", "db_Alpha"})
    EXPECT_EQ(DPX_Util::VariantTypeToDbTypeName(DPX_Util::DbTypeNameToVariantType(name)), name);
  EXPECT_EQ(DPX_Util::DbTypeNameToVariantType("DB_NUMERIC"), 8);  // names compare exactly
}

TEST(UtilNumbers, TextConversionsIgnoreTheLocale) {
  EXPECT_EQ(DPX_Util::LongToBSTR(-12), "-12");
  EXPECT_EQ(DPX_Util::DoubleToBSTR(0.5), "0.500000");
  EXPECT_EQ(DPX_Util::BSTRToInt("42abc"), 42);
  EXPECT_EQ(DPX_Util::BSTRToInt("abc"), 0);
}

TEST(UtilNames, LocalServersAndDatabaseCaseFollowTheServerType) {
  struct Case {
    int typeA, typeB;
    std::string serverA, serverB, dbA, dbB;
    bool same;
  } cases[] = {
      {1, 1, "srv", "SRV", "Demo", "DEMO", true},         // other types ignore case
      {5, 5, "srv", "srv", "Demo", "DEMO", false},        // type 5 compares exactly
      {2, 2, "srv", "srv", "Demo", "DEMO", false},
      {3, 3, "srv", "srv", "Demo", "Demo", true},
      {1, 1, "(LOCAL)", "localhost", "a", "a", true},     // local names are one server
      {1, 1, ".", "LocalHost", "a", "a", true},
      {1, 4, "srv", "srv", "a", "a", false},              // different server types
      {1, 1, "srv1", "srv2", "a", "a", false},
      {1, 1, "localhost\\inst", "localhost", "a", "a", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DPX_Util::CompareNames(c.typeA, c.typeB, c.serverA, c.serverB, c.dbA, c.dbB), c.same)
        << c.serverA << " / " << c.serverB << " / " << c.dbA << " / " << c.dbB;
  EXPECT_TRUE(DPX_Util::IsLocalServer("(Local)"));
  EXPECT_FALSE(DPX_Util::IsLocalServer("local"));
}

TEST(UtilPaths, TakesPathsOfEitherSeparatorApart) {
  struct Case {
    std::string path, file, folder;
  } cases[] = {
      {"name.xml", "name.xml", ""},
      {"/home/u/a.xml", "a.xml", "/home/u"},
      {"C:\\Work\\Sheets\\a.xml", "a.xml", "C:\\Work\\Sheets"},
      {"..\\sub/b.xml", "b.xml", "..\\sub"},
  };
  for (const auto& c : cases) {
    std::string file, folder;
    DPX_Util::GetFileName(c.path, file);
    DPX_Util::GetFolderName(c.path, folder);
    EXPECT_EQ(file, c.file) << c.path;
    EXPECT_EQ(folder, c.folder) << c.path;
  }
  std::string temp;
  EXPECT_EQ(DPX_Util::GetTempFolder(temp), 0);
  EXPECT_FALSE(temp.empty());
  EXPECT_NE(temp.back(), '/');
  std::string module;
  DPX_Util::GetModuleFolder(module);
  EXPECT_EQ(module.back(), '/');
}

TEST(UtilFolders, CreateFolderPathMakesTheFoldersButNotTheFile) {
  dpx::test::TestDir dir;
  const std::string file = (dir.path() / "one" / "two" / "file.txt").string();
  EXPECT_EQ(DPX_Util::CreateFolderPath(file), 0);
  EXPECT_TRUE(DPX_Util::FolderExists((dir.path() / "one" / "two").string()));
  EXPECT_FALSE(DPX_Util::FileExists(file));

  const std::string folder = (dir.path() / "x" / "y").string();
  EXPECT_EQ(DPX_Util::CreateFolder(folder), 0);
  EXPECT_EQ(DPX_Util::CreateFolder(folder), 0);  // existing is fine
  EXPECT_TRUE(DPX_Util::FolderExists(folder));
  EXPECT_TRUE(DPX_Util::FileExists(folder));
  EXPECT_FALSE(DPX_Util::FolderExists(""));

  // A stored path with "\" separators still finds the folder.
  std::string back = folder;
  for (char& c : back)
    if (c == '/') c = '\\';
  EXPECT_TRUE(DPX_Util::FolderExists(back));

  // A folder under a file cannot be made.
  const std::string blocked = (dir.path() / "one" / "two" / "file.txt").string();
  ASSERT_TRUE(dpx::WriteFileAtomically(blocked, "x"));
  EXPECT_EQ(DPX_Util::CreateFolder(blocked + "/sub"), 1);
}

TEST(UtilMessages, BoxesAndStatusTextsCarryTheRightFlagsAndFonts) {
  dpx::test::ScriptedUi ui;
  DPX_Util::ShowError("e", true);
  DPX_Util::ShowWarning("w", true);
  DPX_Util::ShowInformation("i", true);
  ASSERT_EQ(ui.boxes.size(), 3u);
  EXPECT_EQ(ui.boxes[0].flags, 0x10010u);
  EXPECT_EQ(ui.boxes[1].flags, 0x10030u);
  EXPECT_EQ(ui.boxes[2].flags, 0x10040u);
  EXPECT_EQ(ui.boxes[0].caption, dpx::StringTable::Load(2041));

  DPX_Util::ShowError("bold", false);
  EXPECT_EQ(ui.status.back().text, "bold");
  EXPECT_FALSE(ui.status.back().normalFont);
  EXPECT_EQ(ui.status.back().timeoutMs, 5000u);
  DPX_Util::ShowWarning("normal", false);
  EXPECT_TRUE(ui.status.back().normalFont);
  DPX_Util::ResetProgress();
  EXPECT_EQ(ui.status.back().text, "");
  EXPECT_EQ(ui.status.back().timeoutMs, 0u);

  struct Case {
    bool withCancel;
    int defaultButton;
    uint32_t flags;
  } cases[] = {{true, 1, 0x10023}, {false, 1, 0x10024}, {true, 2, 0x10123}, {true, 3, 0x10223}, {false, 4, 0x10024}};
  for (const auto& c : cases) {
    ui.answers.push_back(dpx::mb::kIdNo);
    EXPECT_EQ(DPX_Util::AskQuestion("q", c.withCancel, c.defaultButton), dpx::mb::kIdNo);
    EXPECT_EQ(ui.boxes.back().flags, c.flags) << c.defaultButton;
  }
  EXPECT_EQ(DPX_Util::GetCopyMethodText(0), "");
  EXPECT_EQ(DPX_Util::GetCopyMethodText(5), "");
  EXPECT_EQ(DPX_Util::GetCopyMethodText(1), dpx::StringTable::Load(350));
}
