// A value arrives in the target as the base holds it, or its record is
// refused with a "403" line naming the field: through a copy from a company
// (saved to the copy's file and read back) and through a configuration file
// saved first and copied later, for a business-object category (queries) and
// a table category (address formats), on the quoting server type and the
// default one.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "platform/framework/text.h"
#include "tests/support/copy_fixture.h"
#include "tests/support/test_dir.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet.h"

namespace {

using dpx::test::CopyFixture;

// One value of the table: how the base holds it (an SQLite expression) and
// what the target then holds: typeof() and hex() of the value, "=" for the
// base's own bytes; a refused record has no row in the target and a "403"
// line naming it and the field.
struct ValueCase {
  std::string name;
  std::string base;
  std::string type;  // "text" or "null"; "" when the record is refused
  std::string hex;
};

const std::string kMegabyte = "printf('%.*c', 1000000, 'x')";

const std::vector<ValueCase>& Values() {
  static const std::vector<ValueCase> values = {
      {"CR", "'a' || char(13) || 'b'", "text", "610D62"},
      {"CR LF", "'a' || char(13, 10) || 'b'", "text", "610D0A62"},
      {"LF", "'a' || char(10) || 'b'", "text", "610A62"},
      {"CR at the end", "'a' || char(13)", "text", "610D"},
      {"empty text", "''", "text", ""},
      {"NULL", "NULL", "null", ""},
      {"lone surrogate", "CAST(X'61EDA08062' AS TEXT)", "", ""},
      {"invalid UTF-8", "CAST(X'61FF62' AS TEXT)", "", ""},
      {"1 MB", kMegabyte, "text", "="},
  };
  return values;
}

// A category and where the value of the table stands in it.
struct Category {
  std::string key;
  std::string table;
  std::string codeColumn;   // the record's code, as its log line shows it
  std::string valueColumn;  // where the value of the case goes
  std::string valueField;   // that column's name in the record XML
  // Inserts the base's record number i (1-based) named `code` with the value.
  std::string (*insert)(int i, const std::string& code, const std::string& value);
};

std::string InsertQuery(int i, const std::string& code, const std::string& value) {
  return "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES (" + std::to_string(i) + ", 1, '" +
         code + "', " + value + ", 'W');";
}

std::string InsertAddressFormat(int i, const std::string& code, const std::string& value) {
  return "INSERT INTO OADF (Code, Name, Format) VALUES (" + std::to_string(i) + ", '" + code + "', " + value + ");";
}

const std::vector<Category>& Categories() {
  static const std::vector<Category> categories = {
      {"DPX_TRN_QUERIES_100", "OUQR", "QName", "QString", "Query", InsertQuery},
      {"DPX_TRN_ADDRESSFORMAT_100", "OADF", "Name", "Format", "Format", InsertAddressFormat},
  };
  return categories;
}

std::string Code(size_t i) { return "V" + std::to_string(i + 1); }

void Seed(CopyFixture& fx, const Category& c) {
  std::string sql = "DELETE FROM OUQR; DELETE FROM OQCN; DELETE FROM OADF;"
                    "INSERT INTO OQCN (CategoryId, CatName) VALUES (1, 'General');";
  for (size_t i = 0; i < Values().size(); ++i) sql += c.insert(static_cast<int>(i + 1), Code(i), Values()[i].base);
  // A record whose code is a megabyte long: its log line quotes it.
  sql += c.insert(static_cast<int>(Values().size() + 1), "' || printf('%.*c', 1000000, 'n') || '", "'x'");
  CopyFixture::Exec(*fx.base, sql);
  CopyFixture::Exec(*fx.target, "DELETE FROM OUQR; DELETE FROM OQCN; DELETE FROM OADF;"
                                "INSERT INTO OQCN (CategoryId, CatName) VALUES (1, 'General');");
}

DPX_Worksheet WorksheetOf(const std::string& key) {
  DPX_Worksheet worksheet;
  worksheet.setCopyMethod(4);
  DPX_WorksheetNode node;
  node.setLeafId("1");
  node.setStringKey(key);
  node.setIsLeaf(true);
  node.setSelected(DPX_WorksheetNode::kSelectedWhole);
  worksheet.getNodes().push_back(node);
  return worksheet;
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  std::string bytes = all.str();
  if (bytes.size() >= 2) bytes.erase(0, 2);  // the byte-order mark
  return dpx::Utf16LEBytesToUtf8(bytes);
}

// Runs the copy of the category by the road; the file it went through is
// left at `file`.
void Copy(CopyFixture& fx, const Category& c, bool throughSavedFile, const std::filesystem::path& file) {
  RegisterCategoryClasses();
  DPX_Worksheet worksheet = WorksheetOf(c.key);
  fx.context.setCopyMethod(4);
  if (!throughSavedFile) {
    fx.context.setTargetFile(file.string());
    ASSERT_EQ(DPX_ConfigurationManager(&fx.context).writeConfiguration(worksheet, false), dpx::S_OK);
    return;
  }
  // Saved from the base company first (no copy log: the save reports to
  // the status bar), then copied from the file.
  DPX_CopyLog* log = fx.context.copyLog;
  fx.context.copyLog = nullptr;
  fx.context.setTargetFile(file.string());
  ASSERT_EQ(DPX_ConfigurationManager(&fx.context).saveConfiguration(worksheet, false), dpx::S_OK);
  fx.context.copyLog = log;
  fx.context.setBaseFile(file.string());
  fx.context.setTargetFile((file.parent_path() / "DPX_Config.xml").string());
  ASSERT_EQ(DPX_ConfigurationManager(&fx.context).writeConfiguration(worksheet, true), dpx::S_OK);
}

// The column of a log line (0-based).
std::string Field(const std::string& line, size_t index) {
  size_t begin = 0;
  for (size_t i = 0; i < index && begin != std::string::npos; ++i) {
    begin = line.find('|', begin);
    if (begin != std::string::npos) ++begin;
  }
  if (begin == std::string::npos) return {};
  return line.substr(begin, line.find('|', begin) - begin);
}

class ValuesOnTheWay : public ::testing::TestWithParam<int> {};

TEST_P(ValuesOnTheWay, ArriveAsWrittenOrAreRefusedNamingTheirRecord) {
  const int serverType = GetParam();
  for (const Category& c : Categories())
      for (const bool throughSavedFile : {false, true}) {
        SCOPED_TRACE(c.key + (throughSavedFile ? " through a saved file" : " through a company copy") +
                     ", server type " + std::to_string(serverType));
        CopyFixture fx(serverType);
        Seed(fx, c);
        dpx::test::TestDir dir;
        Copy(fx, c, throughSavedFile, dir / "saved.xml");
        // A CR stands in the file as a character reference; the file's own
        // lines end in LF alone, as every reader of the format expects.
        const std::string file = throughSavedFile ? FileText(dir / "saved.xml") : std::string();
        if (throughSavedFile) {
          EXPECT_NE(file.find(">a&#13;b<"), std::string::npos);
          EXPECT_NE(file.find(">a&#13;\nb<"), std::string::npos);
          EXPECT_EQ(file.find('\r'), std::string::npos);
        }
        const std::vector<std::string> lines = fx.logLines();
        for (size_t i = 0; i < Values().size(); ++i) {
          const ValueCase& v = Values()[i];
          SCOPED_TRACE(v.name);
          const std::string where = " FROM " + c.table + " WHERE " + c.codeColumn + " = '" + Code(i) + "'";
          const auto rows = CopyFixture::Rows(*fx.target, "SELECT typeof(" + c.valueColumn + "), hex(" + c.valueColumn +
                                                              ")" + where);
          // A refused record: no row, and one "403" line naming it and the
          // field; a save (which has no copy log) leaves it out of the file.
          if (v.type.empty()) {
            EXPECT_TRUE(rows.empty());
            if (throughSavedFile) {
              EXPECT_EQ(file.find(">" + Code(i) + "<"), std::string::npos);
              continue;
            }
            // The line names the record by its code: its key or its name, as its list shows it.
            const std::string code = std::to_string(i + 1);
            const auto refused = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
              return Field(line, 2) == "403" && (Field(line, 3) == code || Field(line, 3) == Code(i)) &&
                     Field(line, 8).find("'" + c.valueField + "'") != std::string::npos;
            });
            EXPECT_EQ(refused, 1) << "no 403 line for " << code << " among\n" << ::testing::PrintToString(lines);
            continue;
          }
          ASSERT_EQ(rows.size(), 1u);
          EXPECT_EQ(rows[0][0], v.type);
          if (v.hex == "=") {
            const auto same = CopyFixture::Rows(*fx.base, "SELECT hex(" + c.valueColumn + ")" + where);
            ASSERT_EQ(same.size(), 1u);
            EXPECT_TRUE(rows[0][1] == same[0][0]) << "the value's bytes changed on the way";
          } else {
            EXPECT_EQ(rows[0][1], v.hex);
          }
        }
        // Every line stays readable: the megabyte code is quoted cut.
        bool longCodeLogged = false;
        for (const std::string& line : lines) {
          EXPECT_LT(line.size(), 1500u) << line.substr(0, 200);
          if (line.find(std::string(200, 'n') + "...|") != std::string::npos) longCodeLogged = true;
        }
        EXPECT_TRUE(longCodeLogged);
        EXPECT_EQ(lines.size(), Values().size() + 1 - (throughSavedFile ? 2 : 0));
      }
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, ValuesOnTheWay, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const auto& info) { return "ServerType" + std::to_string(info.param); });

}  // namespace
