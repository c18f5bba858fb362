// Names that a company's lists or a file hand the copy, meant to run as SQL:
// user tables whose names close the quoting and read OUSR, and dependency
// records that point a reference at OUSR's passwords or at another column of
// the table the reference names. Each runs through a save (the base read)
// and a copy (the target written) on all four dialects; no password reaches
// the saved records, the target or the log, and each hostile record has its
// own "403" line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "categories/customization/query_manager.h"
#include "categories/customization/user_defined_tables_content_manager.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kContentsKey = "DPX_TRN_UDTCONT_100";
constexpr const char* kQueriesKey = "DPX_TRN_QUERIES_100";
// Every user's password in both companies holds this mark.
constexpr const char* kSecret = "Secret-7391";

const std::vector<std::string> kHostileTables = {
    "CARS] UNION SELECT USER_CODE, PASSWORD, NULL, NULL, NULL FROM OUSR --",
    "CARS\" UNION SELECT USER_CODE, PASSWORD, NULL, NULL, NULL FROM \"OUSR\" --",
    "CARS UNION SELECT USER_CODE, PASSWORD, NULL, NULL, NULL FROM OUSR",
    "CARS' OR '1'='1",
    "CARS`; DELETE FROM OUSR; --",
};

void AddTable(dpx::host::Company& company, const std::string& name) {
  auto table = company.NewBusinessObject(153);
  table->SetProperty("TableName", dpx::Variant(name));
  table->SetProperty("TableDescription", dpx::Variant(name));
  table->SetProperty("TableType", dpx::Variant(0));
  ASSERT_EQ(table->Add(), 0) << company.GetLastErrorDescription();
}

void AddField(dpx::host::Company& company, const std::string& table, const std::string& name) {
  auto field = company.NewBusinessObject(152);
  field->SetProperty("TableName", dpx::Variant(table));
  field->SetProperty("Name", dpx::Variant(name));
  field->SetProperty("Description", dpx::Variant(name));
  field->SetProperty("Type", dpx::Variant(0));
  ASSERT_EQ(field->Add(), 0) << company.GetLastErrorDescription();
}

// A text as an SQLite literal's content.
std::string SqlText(std::string text) {
  for (size_t at = text.find('\''); at != std::string::npos; at = text.find('\'', at + 2)) text.insert(at, 1, '\'');
  return text;
}

void MarkPasswords(CopyFixture& fx) {
  for (auto* company : {fx.base.get(), fx.target.get()})
    CopyFixture::Exec(*company, std::string("UPDATE OUSR SET PASSWORD = USER_CODE || '-") + kSecret + "'");
}

// No password in any line, nor in any record text.
void ExpectNoSecret(const Lines& lines, const std::vector<DPX_OperationArgs>& blocks) {
  for (const std::string& line : lines) EXPECT_EQ(line.find(kSecret), std::string::npos) << line;
  for (const DPX_OperationArgs& block : blocks)
    for (const DPX_OperationArgs::DataItem& item : block.dataItems)
      EXPECT_EQ(item.xml.find(kSecret), std::string::npos) << item.xml;
}

class HostileNames : public ::testing::TestWithParam<int> {};

TEST_P(HostileNames, UserTablesNamedToReadOtherTablesAreNeitherSavedNorWritten) {
  CopyFixture fx(GetParam());
  MarkPasswords(fx);
  // @CARS has five columns, as many as the union of each hostile name selects.
  for (auto* company : {fx.base.get(), fx.target.get()}) {
    AddTable(*company, "CARS");
    for (const char* field : {"A", "B", "C"}) AddField(*company, "@CARS", field);
  }
  CopyFixture::Exec(*fx.base, "INSERT INTO \"@CARS\" (Code, Name) VALUES ('V1', 'Van')");
  // The base's list of user tables holds the hostile names as its rows do
  // (the host would not create such a table; its list is a table like any other).
  for (const std::string& name : kHostileTables)
    CopyFixture::Exec(*fx.base, "INSERT INTO OUTB (TableName, Descr, ObjectType) VALUES ('" + SqlText(name) +
                                    "', 'x', '0')");

  // The save: what the base read hands on is what the file holds.
  std::vector<DPX_OperationArgs> saved = dpx::test::CopyCategory(fx, kContentsKey, 4);
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].tableName, "@CARS");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM \"@CARS\""), "V1:Van");
  const Lines read = fx.logLines();
  ExpectNoSecret(read, saved);
  ASSERT_EQ(read.size(), kHostileTables.size() + 1) << ::testing::PrintToString(read);
  for (const std::string& name : kHostileTables) {
    SCOPED_TRACE(name);
    const std::string start = std::string(kContentsKey) + "|212|403|@" + name + "|";
    EXPECT_EQ(std::count_if(read.begin(), read.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; }),
              1);
  }

  // The copy of a file whose blocks name those tables.
  std::vector<DPX_OperationArgs> file;
  for (const std::string& name : kHostileTables) {
    DPX_OperationArgs block = saved[0];
    block.tableName = "@" + name;
    file.push_back(block);
  }
  const std::string users = CopyFixture::Column(*fx.target, "SELECT USER_CODE || PASSWORD FROM OUSR ORDER BY 1");
  for (uint8_t method : {uint8_t{0}, uint8_t{4}}) {
    SCOPED_TRACE(static_cast<int>(method));
    const size_t before = fx.logLines().size();
    DPX_UserDefinedTablesContentManager(&fx.context, kContentsKey).writeData(file, method);
    const Lines lines = fx.logLines();
    ExpectNoSecret(lines, {});
    ASSERT_EQ(lines.size(), before + kHostileTables.size());
    for (size_t i = 0; i < kHostileTables.size(); ++i)
      EXPECT_EQ(lines[before + i].rfind(std::string(kContentsKey) + "|" + (method == 0 ? "404" : "212") + "|403|@" +
                                            kHostileTables[i] + "|", 0),
                0u)
          << lines[before + i];
  }
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT USER_CODE || PASSWORD FROM OUSR ORDER BY 1"), users);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code FROM \"@CARS\""), "V1");
}

// The query's category reference as a file may carry it.
std::string Dependency(const std::string& table, const std::string& keyField, const std::string& nameField,
                       const std::string& value) {
  return "<QueryCategory><dep><tableName>" + table + "</tableName><fField>" + keyField +
         "</fField><fKeyFields><fField>" + nameField + "</fField></fKeyFields><fKeyValues><fValue>" + value +
         "</fValue></fKeyValues></dep></QueryCategory>";
}

TEST_P(HostileNames, DependencyRecordsNamingWhatTheReferenceDoesNotAreRefused) {
  CopyFixture fx(GetParam());
  MarkPasswords(fx);
  CopyFixture::Exec(*fx.base, "DELETE FROM OQCN; DELETE FROM OUQR; INSERT INTO OQCN (CategoryId, CatName) VALUES (3, 'Sales');"
                              "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES (1, 3, 'Q0', 'S', 'W');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OQCN; DELETE FROM OUQR; INSERT INTO OQCN (CategoryId, CatName) VALUES (7, 'Sales');");
  std::vector<DPX_OperationArgs> blocks;
  DPX_QueryManager(&fx.context, kQueriesKey).readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 2u);
  ASSERT_EQ(blocks[1].tableName, "OUQR");
  ASSERT_EQ(blocks[1].dataItems.size(), 1u);
  const std::string saved = blocks[1].dataItems[0].xml;
  const std::string declared = Dependency("OQCN", "CategoryId", "CatName", "Sales");
  ASSERT_NE(saved.find(declared), std::string::npos) << saved;

  // The reason of a refused reference.
  const std::string refused = "which the field does not refer to";
  struct Case {
    std::string name;  // the query's name
    std::string dependency;
    bool written;
    std::string lineHas;
  };
  const std::vector<Case> cases = {
      {"Q0", declared, true, "|402|"},
      // A declared reference whose value tries to widen the lookup finds no
      // category; the host then refuses a query without one.
      {"Q1", Dependency("OQCN", "CategoryId", "CatName", "x' OR '1'='1"), false, "'QueryCategory' is missing"},
      {"Q2", Dependency("OUSR", "PASSWORD", "USER_CODE", "manager"), false, refused},
      {"Q3", Dependency("OUSR", "USERID", "PASSWORD", "guessed"), false, refused},
      {"Q4", Dependency("OQCN", "CatName", "CategoryId", "7"), false, refused},  // another column of the declared table
      {"Q5", Dependency("OQCN] UNION SELECT PASSWORD FROM OUSR --", "CategoryId", "CatName", "Sales"), false, refused},
      {"Q6", Dependency("OQCN", "CategoryId\" FROM OUSR --", "CatName", "Sales"), false, refused},
      {"Q7", Dependency("OQCN", "CategoryId", "CatName` = CatName; --", "Sales"), false, refused},
      {"Q8", Dependency("OQCN", "CategoryId", "CatName' OR '1'='1", "Sales"), false, refused},
  };
  DPX_OperationArgs file = blocks[1];
  file.dataItems.clear();
  for (const Case& c : cases) {
    std::string xml = saved;
    xml.replace(xml.find(declared), declared.size(), c.dependency);
    const std::string name = "<QueryDescription>Q0</QueryDescription>";
    ASSERT_NE(xml.find(name), std::string::npos) << xml;
    xml.replace(xml.find(name), name.size(), "<QueryDescription>" + c.name + "</QueryDescription>");
    DPX_OperationArgs::DataItem item;
    item.xml = xml;
    file.dataItems.push_back(item);
  }
  DPX_QueryManager(&fx.context, kQueriesKey).writeData({blocks[0], file}, 4);

  std::string written;
  for (const Case& c : cases)
    if (c.written) written += (written.empty() ? "" : ",") + c.name;
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT QName FROM OUQR ORDER BY QName"), written);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT QCategory FROM OUQR WHERE QName = 'Q0'"), "7");
  const Lines lines = fx.logLines();
  ExpectNoSecret(lines, {file});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
      return l.find("|" + c.name + "|") != std::string::npos;
    });
    ASSERT_NE(line, lines.end()) << ::testing::PrintToString(lines);
    EXPECT_NE(line->find(c.lineHas), std::string::npos) << *line;
    if (!c.written) {
      EXPECT_EQ(line->rfind(std::string(kQueriesKey) + "|212|403|", 0), 0u) << *line;
    }
    if (c.lineHas == refused) {
      EXPECT_NE(line->find("The reference QueryCategory names "), std::string::npos) << *line;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllDialects, HostileNames, ::testing::Values(2, 3, 5, 6),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
