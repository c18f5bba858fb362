// User-defined tables, fields and table contents copied between two
// simulated companies over the copy methods 0 to 4, against definitions
// that exist in the target (B, under another number or description) or not
// (A), beside one only the target has (C); the program's own tables and the
// other excluded tables are never touched. Every case runs with the target
// as server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/customization/user_defined_fields_manager.h"
#include "categories/customization/user_defined_tables_content_manager.h"
#include "categories/customization/user_defined_tables_manager.h"
#include "engine/category_factory.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using dpx::test::MethodCase;
using Lines = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

void AddTable(dpx::host::Company& company, const std::string& name, const std::string& description, int type = 0) {
  auto table = company.NewBusinessObject(153);
  table->SetProperty("TableName", dpx::Variant(name));
  table->SetProperty("TableDescription", dpx::Variant(description));
  table->SetProperty("TableType", dpx::Variant(type));
  ASSERT_EQ(table->Add(), 0) << company.GetLastErrorDescription();
}

void AddField(dpx::host::Company& company, const std::string& table, const std::string& name,
              const std::string& description, int type = 0) {
  auto field = company.NewBusinessObject(152);
  field->SetProperty("TableName", dpx::Variant(table));
  field->SetProperty("Name", dpx::Variant(name));
  field->SetProperty("Description", dpx::Variant(description));
  field->SetProperty("Type", dpx::Variant(type));
  ASSERT_EQ(field->Add(), 0) << company.GetLastErrorDescription();
}

// The program's own tables and the version tables in both companies.
void AddOwnTables(dpx::host::Company& company) {
  for (const char* name : {"DPXNOTE", "DPXSETT", "DPXUDTV", "ZKEXTDBVERSION"}) {
    AddTable(company, name, std::string("own ") + name);
    AddField(company, std::string("@") + name, "Data", "own data");
  }
}

std::string UserTables(dpx::host::Company& company) {
  return CopyFixture::Column(company, "SELECT name FROM sqlite_master WHERE type = 'table' AND name LIKE '@%' ORDER BY name");
}

class UserDefinitions : public ::testing::TestWithParam<int> {};

// --- User tables.

constexpr const char* kTablesKey = "DPX_TRN_UDT_100";

void SeedTables(CopyFixture& fx) {
  AddOwnTables(*fx.base);
  AddOwnTables(*fx.target);
  AddTable(*fx.base, "AA", "Alpha");
  AddTable(*fx.base, "BB", "Beta", 1);
  AddTable(*fx.base, "DPXNOTEX", "Not ours");
  AddTable(*fx.target, "BB", "Beta old", 1);
  AddTable(*fx.target, "CC", "Gamma");
}

const char* kTableRows = "SELECT TableName || ':' || Descr FROM OUTB ORDER BY TableName";
const char* kOwn = "DPXNOTE:own DPXNOTE,DPXSETT:own DPXSETT,DPXUDTV:own DPXUDTV";
const char* kOwnAndX = "DPXNOTE:own DPXNOTE,DPXNOTEX:Not ours,DPXSETT:own DPXSETT,DPXUDTV:own DPXUDTV";

const std::vector<MethodCase> kTableCases = {
    // The removal pass leaves BB: the base has it, and the write pass updates it in place.
    {0, "BB:Beta old," + std::string(kOwn) + ",ZKEXTDBVERSION:own ZKEXTDBVERSION",
     {"DPX_TRN_UDT_100|404|402|||CC|CC||"}},
    {1, "AA:Alpha,BB:Beta,CC:Gamma," + std::string(kOwnAndX) + ",ZKEXTDBVERSION:own ZKEXTDBVERSION",
     {"DPX_TRN_UDT_100|212|402|AA|AA||||", "DPX_TRN_UDT_100|213|402|BB|BB|BB|BB|BB|",
      "DPX_TRN_UDT_100|212|402|DPXNOTEX|DPXNOTEX||||"}},
    {2, "BB:Beta,CC:Gamma," + std::string(kOwn) + ",ZKEXTDBVERSION:own ZKEXTDBVERSION",
     {"DPX_TRN_UDT_100|213|402|BB|BB|BB|BB|BB|"}},
    {3, "AA:Alpha,BB:Beta old,CC:Gamma," + std::string(kOwnAndX) + ",ZKEXTDBVERSION:own ZKEXTDBVERSION",
     {"DPX_TRN_UDT_100|212|402|AA|AA||||", "DPX_TRN_UDT_100|212|402|DPXNOTEX|DPXNOTEX||||"}},
    {4, "AA:Alpha,BB:Beta,CC:Gamma," + std::string(kOwnAndX) + ",ZKEXTDBVERSION:own ZKEXTDBVERSION",
     {"DPX_TRN_UDT_100|212|402|AA|AA||||", "DPX_TRN_UDT_100|213|402|BB|BB|BB|BB|BB|",
      "DPX_TRN_UDT_100|212|402|DPXNOTEX|DPXNOTEX||||"}},
};

TEST_P(UserDefinitions, UserTablesByCopyMethod) {
  for (const MethodCase& c : kTableCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedTables(fx);
    const std::vector<DPX_OperationArgs> blocks = dpx::test::CopyCategory(fx, kTablesKey, c.method);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].dataItems.size(), 3u) << "the own tables are never read";
    EXPECT_EQ(CopyFixture::Column(*fx.target, kTableRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
    // Every table of OUTB, and only those, has its "@" table.
    std::string expected;
    for (const auto& row : CopyFixture::Rows(*fx.target, "SELECT '@' || TableName FROM OUTB ORDER BY '@' || TableName"))
      expected += (expected.empty() ? "" : ",") + row[0];
    EXPECT_EQ(UserTables(*fx.target), expected);
  }
}

TEST_P(UserDefinitions, UserTablesListShowsTypeTextsAndNeverTheOwnTables) {
  CopyFixture fx(GetParam());
  SeedTables(fx);
  AddTable(*fx.base, "ODD", "Odd type", 4);
  DPX_UserDefinedTablesManager manager(&fx.context, kTablesKey);
  EXPECT_EQ(manager.collectDetails()->getListRows(), (Rows{{"AA", "Alpha", "No Object"},
                                                           {"BB", "Beta", "Master Data"},
                                                           {"DPXNOTEX", "Not ours", "No Object"},
                                                           {"ODD", "Odd type", "Document Lines"}}));
}

// --- User fields.

constexpr const char* kFieldsKey = "DPX_TRN_UDF_100";

void SeedFields(CopyFixture& fx) {
  AddOwnTables(*fx.base);
  AddOwnTables(*fx.target);
  for (auto* company : {fx.base.get(), fx.target.get()}) AddTable(*company, "CARS", "Cars");
  // A field of a host table whose name begins with "A".
  CopyFixture::Exec(*fx.base, "INSERT INTO CUFD (TableID, FieldID, AliasID, Descr, TypeID, SYS) "
                              "VALUES ('ACRD', 1, 'Never', 'never listed', 'A', 'N')");
  // Base: AA (FieldID 1), then BB (2). Target: BB under 1 with another description, CC (2).
  AddField(*fx.base, "@CARS", "AA", "Alpha", 0);
  AddField(*fx.base, "@CARS", "BB", "Beta", 2);
  AddField(*fx.base, "@CARS", "Sys", "system field");
  CopyFixture::Exec(*fx.base, "UPDATE CUFD SET SYS = 'Y' WHERE AliasID = 'Sys'");
  AddField(*fx.target, "@CARS", "BB", "Beta old", 2);
  AddField(*fx.target, "@CARS", "CC", "Gamma", 1);
}

const char* kFieldRows =
    "SELECT TableID || '.' || AliasID || ':' || FieldID || ':' || Descr FROM CUFD WHERE TableID = '@CARS' ORDER BY FieldID";

const std::vector<MethodCase> kFieldCases = {
    {0, "@CARS.BB:1:Beta old", {"DPX_TRN_UDF_100|404|402|||@CARS|CC||"}},
    {1, "@CARS.BB:1:Beta,@CARS.CC:2:Gamma,@CARS.AA:3:Alpha",
     {"DPX_TRN_UDF_100|212|402|@CARS|AA||||", "DPX_TRN_UDF_100|213|402|@CARS|BB|@CARS|BB|BB|"}},
    {2, "@CARS.BB:1:Beta,@CARS.CC:2:Gamma", {"DPX_TRN_UDF_100|213|402|@CARS|BB|@CARS|BB|BB|"}},
    {3, "@CARS.BB:1:Beta old,@CARS.CC:2:Gamma,@CARS.AA:3:Alpha", {"DPX_TRN_UDF_100|212|402|@CARS|AA||||"}},
    {4, "@CARS.BB:1:Beta,@CARS.CC:2:Gamma,@CARS.AA:3:Alpha",
     {"DPX_TRN_UDF_100|212|402|@CARS|AA||||", "DPX_TRN_UDF_100|213|402|@CARS|BB|@CARS|BB|BB|"}},
};

TEST_P(UserDefinitions, UserFieldsByCopyMethodAreFoundByName) {
  for (const MethodCase& c : kFieldCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedFields(fx);
    dpx::test::CopyCategory(fx, kFieldsKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kFieldRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
    // The table's U_ columns follow the fields; the own tables keep theirs.
    std::string columns;
    for (const auto& row : CopyFixture::Rows(*fx.target, "SELECT name FROM pragma_table_info('@CARS') WHERE name LIKE 'U!_%' ESCAPE '!' ORDER BY name"))
      columns += (columns.empty() ? "" : ",") + row[0];
    std::string expected;
    for (const auto& row : CopyFixture::Rows(*fx.target, "SELECT 'U_' || AliasID FROM CUFD WHERE TableID = '@CARS' ORDER BY 1"))
      expected += (expected.empty() ? "" : ",") + row[0];
    EXPECT_EQ(columns, expected);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM CUFD WHERE AliasID = 'Data'"), "4");
  }
}

TEST_P(UserDefinitions, UserFieldsListShowsTypeTextsButNoSystemOrATableFields) {
  CopyFixture fx(GetParam());
  SeedFields(fx);
  DPX_UserDefinedFieldsManager manager(&fx.context, kFieldsKey);
  EXPECT_EQ(manager.collectDetails()->getListRows(),
            (Rows{{"@CARS", "AA", "Alpha", "Alphanumeric"}, {"@CARS", "BB", "Beta", "Numeric"}}));
}

TEST_P(UserDefinitions, ReplaceAllOfTheDefinitionsKeepsTheDataOfTablesAndFieldsBothHave) {
  for (const char* key : {kTablesKey, kFieldsKey}) {
    SCOPED_TRACE(key);
    CopyFixture fx(GetParam());
    SeedFields(fx);
    CopyFixture::Exec(*fx.target, "INSERT INTO \"@CARS\" (Code, Name, U_BB, U_CC) VALUES ('V', 'Van', 7, 'x')");
    dpx::test::CopyCategory(fx, key, 0);
    dpx::test::CopyCategory(fx, key, 1);
    for (const std::string& line : fx.logLines()) EXPECT_EQ(line.find("|403|"), std::string::npos) << line;
    // The field only the target has goes with a Replace All of the fields.
    const bool fields = std::string(key) == kFieldsKey;
    EXPECT_EQ(CopyFixture::Column(*fx.target, fields ? "SELECT Code || ':' || Name || ':' || U_BB FROM \"@CARS\""
                                                     : "SELECT Code || ':' || Name || ':' || U_BB || ':' || U_CC "
                                                       "FROM \"@CARS\""),
              fields ? "V:Van:7" : "V:Van:7:x");
  }
}

// --- User table contents.

constexpr const char* kContentsKey = "DPX_TRN_UDTCONT_100";

void SeedContents(CopyFixture& fx) {
  AddOwnTables(*fx.base);
  AddOwnTables(*fx.target);
  for (auto* company : {fx.base.get(), fx.target.get()}) {
    AddTable(*company, "CARS", "Cars");
    AddField(*company, "@CARS", "Color", "Color");
    AddTable(*company, "EMPTY", "Empty in the base");
    AddTable(*company, "MASTER", "Has an object", 1);
    CopyFixture::Exec(*company, "INSERT INTO \"@DPXSETT\" (Code, Name, U_Data) VALUES ('S', 'own', 'x');"
                                "INSERT INTO \"@MASTER\" (Code, Name) VALUES ('M', 'object row');");
  }
  CopyFixture::Exec(*fx.base, "INSERT INTO \"@CARS\" (Code, Name, U_Color) VALUES ('A', 'Van & <trailer>', 'White'),"
                              "('B', 'Boss''s car', 'Black');");
  CopyFixture::Exec(*fx.target, "INSERT INTO \"@CARS\" (Code, Name, U_Color) VALUES ('B', 'Old car', 'Grey'),"
                                "('C', 'Truck', 'Red'); INSERT INTO \"@EMPTY\" (Code, Name) VALUES ('E', 'target only');");
}

const char* kCarRows = "SELECT Code || ':' || Name || ':' || U_Color FROM \"@CARS\" ORDER BY Code";

const std::vector<MethodCase> kContentCases = {
    {0, "", {"DPX_TRN_UDTCONT_100|404|402|||B|Old car||", "DPX_TRN_UDTCONT_100|404|402|||C|Truck||",
             "DPX_TRN_UDTCONT_100|404|402|||E|target only||"}},
    {1, "A:Van & <trailer>:White,B:Boss's car:Black,C:Truck:Red",
     {"DPX_TRN_UDTCONT_100|212|402|A|Van & <trailer>||||", "DPX_TRN_UDTCONT_100|213|402|B|Boss's car|B|Boss's car|Old car|"}},
    {2, "B:Boss's car:Black,C:Truck:Red", {"DPX_TRN_UDTCONT_100|213|402|B|Boss's car|B|Boss's car|Old car|"}},
    {3, "A:Van & <trailer>:White,B:Old car:Grey,C:Truck:Red", {"DPX_TRN_UDTCONT_100|212|402|A|Van & <trailer>||||"}},
    {4, "A:Van & <trailer>:White,B:Boss's car:Black,C:Truck:Red",
     {"DPX_TRN_UDTCONT_100|212|402|A|Van & <trailer>||||", "DPX_TRN_UDTCONT_100|213|402|B|Boss's car|B|Boss's car|Old car|"}},
};

TEST_P(UserDefinitions, TableContentsByCopyMethod) {
  for (const MethodCase& c : kContentCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedContents(fx);
    const std::vector<DPX_OperationArgs> blocks = dpx::test::CopyCategory(fx, kContentsKey, c.method);
    // One block per table without an object, the empty one too; never the own tables.
    std::string names;
    for (const DPX_OperationArgs& block : blocks) names += (names.empty() ? "" : ",") + block.tableName;
    EXPECT_EQ(names, "@CARS,@EMPTY");
    EXPECT_EQ(CopyFixture::Column(*fx.target, kCarRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code FROM \"@DPXSETT\" UNION ALL SELECT Code FROM \"@MASTER\""),
              "S,M");
  }
}

TEST_P(UserDefinitions, ReplaceAllEmptiesExactlyTheTablesWithABlockAndLeavesTheCounters) {
  CopyFixture fx(GetParam());
  SeedContents(fx);
  AddTable(*fx.target, "UNTOUCHED", "No block");
  CopyFixture::Exec(*fx.target, "INSERT INTO \"@UNTOUCHED\" (Code, Name) VALUES ('U', 'stays')");
  // A table only the base has: nothing to empty in the target, and no line for it.
  AddTable(*fx.base, "NEWT", "Base only");
  const std::string counters = CopyFixture::Column(*fx.target, "SELECT ObjectCode || ':' || AutoKey FROM ONNM ORDER BY 1");
  dpx::test::CopyCategory(fx, kContentsKey, 0);
  for (const std::string& line : fx.logLines()) EXPECT_EQ(line.find("|404|402|"), 19u) << line;
  dpx::test::CopyCategory(fx, kContentsKey, 1);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kCarRows), "A:Van & <trailer>:White,B:Boss's car:Black");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT COUNT(*) FROM \"@EMPTY\""), "0");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code FROM \"@UNTOUCHED\""), "U");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT ObjectCode || ':' || AutoKey FROM ONNM ORDER BY 1"), counters);
}

TEST_P(UserDefinitions, ABlockNamingAnyOtherTableIsRefusedAndLeavesItAlone) {
  for (uint8_t method : {uint8_t{0}, uint8_t{4}}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedContents(fx);
    std::vector<DPX_OperationArgs> blocks;
    DPX_UserDefinedTablesContentManager(&fx.context, kContentsKey).readFromDB(blocks, {});
    ASSERT_FALSE(blocks.empty());
    // A file's blocks: one naming a host table, one an own table, one a table with an object.
    for (const char* name : {"OUSR", "@DPXSETT", "@MASTER"}) {
      DPX_OperationArgs other = blocks[0];
      other.tableName = name;
      blocks.insert(blocks.begin(), other);
    }
    const std::string users = CopyFixture::Column(*fx.target, "SELECT USER_CODE FROM OUSR ORDER BY 1");
    DPX_UserDefinedTablesContentManager(&fx.context, kContentsKey).writeData(blocks, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT USER_CODE FROM OUSR ORDER BY 1"), users);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code FROM \"@DPXSETT\" UNION ALL SELECT Code FROM \"@MASTER\""),
              "S,M");
    const Lines lines = fx.logLines();
    ASSERT_GE(lines.size(), 3u);
    const std::string action = method == 0 ? "404" : "212";
    for (size_t i = 0; i < 3; ++i)
      EXPECT_EQ(lines[i].rfind("DPX_TRN_UDTCONT_100|" + action + "|403|" + std::vector<std::string>{"@MASTER", "@DPXSETT", "OUSR"}[i] + "|", 0), 0u)
          << lines[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Customization, UserDefinitions, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
