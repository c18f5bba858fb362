// The builder's statements run on a simulated company of each server type and
// do what they say: the rows selected, inserted, updated and deleted.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "engine/sql_statement.h"
#include "platform/host/host.h"
#include "tests/support/demo_server.h"

namespace {

using dpx::host::Company;

class SqlStatementRun : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    server_ = std::make_unique<dpx::test::DemoServerFixture>(GetParam(), false);
    company_ = server_->target();
    dpx::host::TableDef table;
    table.name = "@DPXTEST";
    table.columns = {{"Code", dpx::host::db_Alpha, 8, "Code", true},
                     {"Name", dpx::host::db_Alpha, 30, "Name", false},
                     {"Remarks", dpx::host::db_Memo, 0, "Remarks", false},
                     {"Qty", dpx::host::db_Numeric, 0, "Quantity", false},
                     {"Price", dpx::host::db_Float, 0, "Price", false},
                     {"Day", dpx::host::db_Date, 0, "Day", false}};
    table.primaryKey = {"Code"};
    company_->store().createTable(table);

    insert("A", "O'Neil", "first", "1", "1.5", "20240131");
    insert("B", "NULL", "second", "2", "-2.25", "20240201");
    insert("C", "", "", "", "", "");
  }

  int type() const { return GetParam(); }

  DPX_SqlStatement statement() const {
    DPX_SqlStatement s(type());
    s.setTable("@DPXTEST");
    return s;
  }

  void insert(const char* code, const char* name, const char* remarks, const char* qty, const char* price,
              const char* day) {
    DPX_SqlStatement s = statement();
    s.addValue("Code", code, DPX_SqlStatement::kAlpha);
    s.addValue("Name", name, DPX_SqlStatement::kAlpha);
    s.addValue("Remarks", remarks, DPX_SqlStatement::kMemo);
    s.addValue("Qty", qty, DPX_SqlStatement::kNumeric);
    s.addValue("Price", price, DPX_SqlStatement::kFloat);
    s.addValue("Day", day, DPX_SqlStatement::kDate);
    run(s.buildInsert());
  }

  // Runs the statement with its values bound (as the data layer does).
  std::shared_ptr<dpx::host::Recordset> run(const DPX_SqlText& sql) {
    auto rs = company_->NewRecordset();
    EXPECT_EQ(rs->DoQuery(sql), 0) << sql;
    return rs;
  }

  // The codes a SELECT finds, in code order, joined; the statement with its
  // values written into the text must find the same.
  std::string codes(DPX_SqlStatement& select) {
    select.addColumn("Code");
    const DPX_SqlText sql = select.buildSelect();
    auto joined = [](dpx::host::Recordset& rs) {
      std::vector<std::string> found;
      for (rs.MoveFirst(); !rs.EoF(); rs.MoveNext()) found.push_back(rs.Field(0).toText());
      std::sort(found.begin(), found.end());
      std::string out;
      for (const auto& c : found) out += c;
      return out;
    };
    auto written = company_->NewRecordset();
    EXPECT_EQ(written->DoQuery(sql.str()), 0) << sql;
    const std::string out = joined(*run(sql));
    EXPECT_EQ(joined(*written), out) << sql;
    return out;
  }

  std::unique_ptr<dpx::test::DemoServerFixture> server_;
  std::shared_ptr<Company> company_;
};

TEST_P(SqlStatementRun, SelectFindsTheRowsOfItsCondition) {
  struct Case {
    const char* name;
    std::function<void(DPX_SqlStatement&)> fill;
    const char* codes;
  };
  const std::vector<Case> cases = {
      {"no condition", [](DPX_SqlStatement&) {}, "ABC"},
      {"text with an apostrophe",
       [](DPX_SqlStatement& s) { s.addValue("Name", "O'Neil", DPX_SqlStatement::kAlpha); }, "A"},
      {"the text NULL is a text",
       [](DPX_SqlStatement& s) { s.addValue("Name", "NULL", DPX_SqlStatement::kAlpha); }, "B"},
      {"an empty number is NULL",
       [](DPX_SqlStatement& s) { s.addValue("Qty", "", DPX_SqlStatement::kNumeric); }, "C"},
      {"a date", [](DPX_SqlStatement& s) { s.addValue("Day", "20240201", DPX_SqlStatement::kDate); }, "B"},
      {"a negative float", [](DPX_SqlStatement& s) { s.addValue("Price", "-2.25", DPX_SqlStatement::kFloat); },
       "B"},
      {"alternatives of one column, then a further column",
       [](DPX_SqlStatement& s) {
         s.addValue("Code", "A", DPX_SqlStatement::kAlpha);
         s.addValue("Code", "B", DPX_SqlStatement::kAlpha);
         s.addValue("Qty", "2", DPX_SqlStatement::kNumeric);
       },
       "B"},
      {"a quote cannot end the literal",
       [](DPX_SqlStatement& s) { s.addValue("Code", "x' OR '1'='1", DPX_SqlStatement::kAlpha); }, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DPX_SqlStatement s = statement();
    c.fill(s);
    EXPECT_EQ(codes(s), c.codes);
  }
}

TEST_P(SqlStatementRun, UpdateChangesTheKeyedRowOnly) {
  DPX_SqlStatement set = statement(), key = statement();
  set.addValue("Name", "X'Y", DPX_SqlStatement::kAlpha);
  set.addValue("Qty", "7", DPX_SqlStatement::kNumeric);
  set.addValue("Day", "20251231", DPX_SqlStatement::kDate);
  key.addValue("Code", "C", DPX_SqlStatement::kAlpha);
  run(set.buildUpdate() + key.buildWhere());

  DPX_SqlStatement check = statement();
  check.addValue("Name", "X'Y", DPX_SqlStatement::kAlpha);
  check.addValue("Qty", "7", DPX_SqlStatement::kNumeric);
  check.addValue("Day", "20251231", DPX_SqlStatement::kDate);
  EXPECT_EQ(codes(check), "C");
  DPX_SqlStatement untouched = statement();
  untouched.addValue("Qty", "1", DPX_SqlStatement::kNumeric);
  untouched.addValue("Qty", "2", DPX_SqlStatement::kNumeric);
  EXPECT_EQ(codes(untouched), "AB");
}

TEST_P(SqlStatementRun, DeleteRemovesOnlyTheGroupedAlternatives) {
  DPX_SqlStatement del = statement();
  del.addValue("Code", "A", DPX_SqlStatement::kAlpha);
  del.addValue("Code", "B", DPX_SqlStatement::kAlpha);
  del.addValue("Qty", "2", DPX_SqlStatement::kNumeric);
  run(del.buildDelete());
  DPX_SqlStatement all = statement();
  EXPECT_EQ(codes(all), "AC");
}

TEST_P(SqlStatementRun, InjectionThroughANumberNeverReachesTheCompany) {
  DPX_SqlStatement del = statement();
  del.addValue("Qty", "0 OR 1=1", DPX_SqlStatement::kNumeric);
  EXPECT_THROW(del.buildDelete(), DPX_SqlValueRefused);
  DPX_SqlStatement upd = statement();
  upd.addValue("Day", "20240101; DELETE FROM OCRD", DPX_SqlStatement::kDate);
  EXPECT_THROW(upd.buildUpdate(), DPX_SqlValueRefused);
  DPX_SqlStatement all = statement();
  EXPECT_EQ(codes(all), "ABC");
}

// A bound text is data in every dialect, even one that reads like a date
// literal of some dialect: it is neither refused nor rewritten to a date.
TEST_P(SqlStatementRun, ATextThatReadsLikeADateLiteralStaysAsWritten) {
  for (const char* name : {"2024-01-31 00:00:00.000000", "a ? b"}) {
    SCOPED_TRACE(name);
    DPX_SqlStatement set = statement(), key = statement();
    set.addValue("Name", name, DPX_SqlStatement::kAlpha);
    key.addValue("Code", "C", DPX_SqlStatement::kAlpha);
    run(set.buildUpdate() + key.buildWhere());
    DPX_SqlStatement select = statement();
    select.addColumn("Name");
    select.addValue("Code", "C", DPX_SqlStatement::kAlpha);
    EXPECT_EQ(run(select.buildSelect())->Field(0).toText(), name);
  }
}

// 2, 3 and 5 have dialects of their own; 6 stands for every other type.
INSTANTIATE_TEST_SUITE_P(ServerTypes, SqlStatementRun, ::testing::Values(2, 3, 5, 6));

}  // namespace
