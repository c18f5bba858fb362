// The dialects of the server types: what each accepts, what it refuses, and
// how text compares.
#include <gtest/gtest.h>

#include "platform/host/host.h"
#include "tests/support/demo_server.h"

namespace dpx::host {
namespace {

std::string Rows(Recordset& rs) {
  std::string out;
  for (rs.MoveFirst(); !rs.EoF(); rs.MoveNext()) {
    for (int i = 0; i < rs.FieldCount(); ++i) out += (i ? "|" : "") + rs.Field(i).toText();
    out += ";";
  }
  return out;
}

std::string RunSql(Company& c, const std::string& sql) {
  auto rs = c.NewRecordset();
  rs->DoQuery(sql);
  return Rows(*rs);
}

struct Case {
  int serverType;
  std::string sql;
  std::string rows;
};

// The same questions written as each dialect's SQL builder writes them.
class DialectRuns : public ::testing::TestWithParam<Case> {};

TEST_P(DialectRuns, GivesTheSameRows) {
  const Case& c = GetParam();
  test::DemoServerFixture server(c.serverType);
  auto base = server.base();
  EXPECT_EQ(RunSql(*base, c.sql), c.rows) << c.sql;
}

const char* kCarsByDate = "C1|Van & <trailer>;";
const char* kGeneral = "1|General;";

INSTANTIATE_TEST_SUITE_P(
    Dialects, DialectRuns,
    ::testing::Values(
        // user tables and dates
        Case{6, "SELECT Code, Name FROM [@CARS] WHERE U_Bought = CONVERT(datetime,'20240131',112)", kCarsByDate},
        Case{4, "SELECT Code, Name FROM [@CARS] WHERE U_Bought = CONVERT(datetime, '20240131', 112)", kCarsByDate},
        Case{3, "SELECT Code, Name FROM [@CARS] WHERE U_Bought = 20240131", kCarsByDate},
        Case{2, "SELECT Code, Name FROM @CARS WHERE U_Bought = TIMESTAMP_ISO('2024-01-31')", kCarsByDate},
        Case{5, "SELECT \"Code\", \"Name\" FROM @CARS WHERE \"U_Bought\" = '2024-01-31 00:00:00.000000'", kCarsByDate},
        Case{5, "SELECT \"Code\", \"Name\" FROM \"@CARS\" WHERE \"U_Bought\" = '2024-01-31 00:00:00.000000'",
             kCarsByDate},
        // text literals
        Case{6, "SELECT CategoryId, CatName FROM OQCN WHERE CatName = N'General'", kGeneral},
        Case{2, "SELECT CategoryId, CatName FROM OQCN WHERE CatName = N'General'", kGeneral},
        Case{3, "SELECT CategoryId, CatName FROM OQCN WHERE CatName = N'General'", kGeneral},
        Case{5, "SELECT \"CategoryId\", \"CatName\" FROM OQCN WHERE \"CatName\" = 'General'", kGeneral},
        Case{5, "SELECT \"LawsSet\"DG1 FROM CINF", "US;"},
        // apostrophes, brackets and "@" inside literals are data
        Case{6, "SELECT Name FROM [@CARS] WHERE Name = N'Boss''s car'", "Boss's car;"},
        Case{5, "SELECT \"Name\" FROM @CARS WHERE \"Name\" = 'Boss''s car'", "Boss's car;"},
        Case{6, "SELECT N'[@X] N''y'' @Z CONVERT(datetime,''1'',112)' FROM OADM",
             "[@X] N'y' @Z CONVERT(datetime,'1',112);"},
        Case{2, "SELECT 'TIMESTAMP_ISO(''x'') [a]' FROM OADM", "TIMESTAMP_ISO('x') [a];"},
        // the removal and write statements of the settings table
        Case{6, "DELETE  FROM [@CARS] WHERE Code = N'C2'", ""},
        Case{2, "INSERT INTO @CARS (Code, Name, U_Bought)    VALUES (N'C3', N'New', TIMESTAMP_ISO('2025-02-28'))", ""},
        Case{5, "UPDATE @CARS SET \"Name\" = 'X' , \"U_Seats\" = NULL WHERE \"Code\" = 'C1'", "" }));

struct Refused {
  int serverType;
  std::string sql;
  std::string form;   // part of the error text
};

class DialectRefuses : public ::testing::TestWithParam<Refused> {};

// SQL built for another server type must fail loudly, not run by accident.
TEST_P(DialectRefuses, FormsOfOtherServerTypes) {
  const Refused& r = GetParam();
  test::DemoServerFixture server(r.serverType, false);
  auto base = server.base();
  auto rs = base->NewRecordset();
  try {
    rs->DoQuery(r.sql);
    FAIL() << "accepted: " << r.sql;
  } catch (const HostError& e) {
    EXPECT_EQ(e.code(), kHrDialectError) << e.description();
    EXPECT_NE(e.description().find(r.form), std::string::npos) << e.description();
    int code;
    std::string text;
    base->GetLastError(code, text);
    EXPECT_NE(code, 0);
    EXPECT_EQ(text, e.description());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Dialects, DialectRefuses,
    ::testing::Values(Refused{5, "SELECT * FROM OQCN WHERE \"CatName\" = N'x'", "N'...'"},
                      Refused{6, "SELECT * FROM @CARS", "bare user table @CARS"},
                      Refused{3, "DELETE FROM @CARS", "bare user table @CARS"},
                      Refused{2, "SELECT * FROM [@CARS]", "bracketed name [@CARS]"},
                      Refused{5, "SELECT * FROM [@CARS]", "bracketed name"},
                      Refused{2, "SELECT * FROM OQCN WHERE 1 = CONVERT(datetime,'20240101',112)", "CONVERT"},
                      Refused{3, "SELECT * FROM OQCN WHERE 1 = CONVERT(datetime,'20240101',112)", "CONVERT"},
                      Refused{5, "SELECT * FROM OQCN WHERE 1 = CONVERT(datetime,'20240101',112)", "CONVERT"},
                      Refused{6, "SELECT * FROM OQCN WHERE 1 = TIMESTAMP_ISO('2024-01-01')", "TIMESTAMP_ISO"},
                      Refused{5, "SELECT * FROM OQCN WHERE 1 = TIMESTAMP_ISO('2024-01-01')", "TIMESTAMP_ISO"},
                      Refused{6, "SELECT * FROM OQCN WHERE 1 = '2024-01-01 00:00:00.000000'", "2024-01-01 00:00:00"},
                      Refused{2, "SELECT * FROM OQCN WHERE 1 = '2024-01-01 00:00:00.000000'", "2024-01-01 00:00:00"},
                      Refused{6, "SELECT * FROM OQCN WHERE 1 = CONVERT(datetime,'2024-01-01',112)", "not YYYYMMDD"},
                      Refused{2, "SELECT * FROM OQCN WHERE 1 = TIMESTAMP_ISO('20240101')", "not YYYY-MM-DD"},
                      Refused{3, "SELECT * FROM OQCN WHERE 1 = TIMESTAMP_ISO('2024-01-01')", "TIMESTAMP_ISO"},
                      Refused{3, "SELECT * FROM OQCN WHERE 1 = '2024-01-01 00:00:00.000000'", "2024-01-01 00:00:00"},
                      Refused{2, "SELECT * FROM msdb.dbo.backupset", "msdb"},
                      Refused{5, "SELECT * FROM OQCN WHERE 1 = DATEADD(day, 1, 2)", "DATEADD"},
                      Refused{6, "SELECT * FROM OQCN WHERE CatName = N'open", "unterminated"},
                      Refused{6, "SELECT * FROM OQCN WHERE \"CatName = N'x'", "unterminated"},
                      Refused{6, "SELECT * FROM [OQCN WHERE 1 = 1", "unterminated"}));

// Types 2, 3 and 5 compare text exactly; the other types ignore case, in
// comparisons, LIKE and key uniqueness alike.
TEST(DialectText, CaseSensitivityFollowsTheServerType) {
  struct Expect {
    int type;
    bool sensitive;
    std::string sql;
  } cases[] = {{6, false, "SELECT COUNT(*) FROM OQCN WHERE CatName = N'GENERAL'"},
               {4, false, "SELECT COUNT(*) FROM OQCN WHERE CatName LIKE N'gen%'"},
               {3, true, "SELECT COUNT(*) FROM OQCN WHERE CatName = N'GENERAL'"},
               {2, true, "SELECT COUNT(*) FROM OQCN WHERE CatName LIKE N'gen%'"},
               {5, true, "SELECT COUNT(*) FROM OQCN WHERE \"CatName\" = 'GENERAL'"}};
  for (const Expect& e : cases) {
    test::DemoServerFixture server(e.type);
    auto base = server.base();
    EXPECT_EQ(SqlDialect::CaseSensitive(e.type), e.sensitive);
    EXPECT_EQ(RunSql(*base, e.sql), e.sensitive ? "0;" : "1;") << "type " << e.type << ": " << e.sql;
    // A currency code differing only in case is a duplicate where case is ignored.
    auto cur = base->NewBusinessObject(37);
    ASSERT_EQ(cur->SetProperty("Code", Variant("usd")), S_OK);
    ASSERT_EQ(cur->SetProperty("Name", Variant("lower dollar")), S_OK);
    EXPECT_EQ(cur->Add(), e.sensitive ? 0 : kErrDuplicateKey) << "type " << e.type;
  }
}

}  // namespace
}  // namespace dpx::host
