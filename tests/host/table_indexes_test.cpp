// The indexes of a company's tables: the lookups every copied record makes
// (an Add's key and unique checks, the copy's search of the target by name,
// a Remove's count of rows still referring) search an index on every server
// type, whatever collation the type compares text with; a company made before
// gets its indexes when opened; the cached column list follows schema changes.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/host/company_store.h"
#include "platform/host/host.h"
#include "platform/host/sql_dialect.h"
#include "platform/host/table_indexes.h"
#include "tests/support/demo_server.h"

namespace dpx::host {
namespace {

// The steps of SQLite's plan for a statement.
std::vector<std::string> Plan(CompanyStore& store, const std::string& sql, const std::vector<Variant>& params = {}) {
  std::vector<std::string> steps;
  for (const auto& row : store.query("EXPLAIN QUERY PLAN " + sql, params).rows) steps.push_back(row.back().toText());
  return steps;
}

std::string Joined(const std::vector<std::string>& steps) {
  std::string s;
  for (const std::string& step : steps) s += step + "; ";
  return s;
}

class HotLookups : public ::testing::TestWithParam<int> {};

TEST_P(HotLookups, SearchAnIndexNeverScanTheTable) {
  const int type = GetParam();
  test::DemoServerFixture server(type);
  auto target = server.target();
  CompanyStore& store = target->store();
  struct Case {
    const char* what;
    std::string sql;   // host SQL as the host runs it, or the dialect's as a recordset gets it
    std::vector<Variant> params;
  } cases[] = {
      {"Add: key taken", R"(SELECT 1 FROM "OUQR" WHERE "IntrnalKey" = ? AND "QCategory" = ? LIMIT 1)",
       {Variant(1), Variant(2)}},
      {"Add: unique set taken", R"(SELECT 1 FROM "OUQR" WHERE "QCategory" = ? AND "QName" = ? LIMIT 1)",
       {Variant(2), Variant("Open orders")}},
      {"Add: next number", R"(SELECT IFNULL(MAX("IntrnalKey"), 0) + 1 FROM "OUQR")", {}},
      {"Add: referenced row exists", R"(SELECT 1 FROM "OQCN" WHERE "CategoryId" = ? LIMIT 1)", {Variant(2)}},
      {"Remove: rows still referring", R"(SELECT COUNT(*) FROM "OUQR" WHERE "QCategory" = ?)", {Variant(2)}},
      {"Remove: line rows referring", R"(SELECT COUNT(*) FROM "STC1" WHERE "STAType" = ?)", {Variant(2)}},
      {"field list: user field", "SELECT Descr, EditSize FROM CUFD WHERE TableID = ? AND AliasID = ?",
       {Variant("@CARS"), Variant("Color")}},
      {"copy: query by name", SqlDialect::Translate(type, "SELECT IntrnalKey, QCategory FROM OUQR WHERE QName = 'O''Neil''s query'"), {}},
      {"copy: category by name", SqlDialect::Translate(type, "SELECT CategoryId FROM OQCN WHERE CatName = 'General'"), {}},
      {"copy: address format by name", SqlDialect::Translate(type, "SELECT Code FROM OADF WHERE Name = 'Standard'"), {}},
      {"copy: index by code", SqlDialect::Translate(type, "SELECT IdexCode, IndexName FROM OIDX WHERE IdexCode = 'CPI'"), {}},
      {"copy: currency by code", SqlDialect::Translate(type, "SELECT CurrCode FROM OCRN WHERE CurrCode = 'EUR'"), {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> steps = Plan(store, c.sql, c.params);
    ASSERT_FALSE(steps.empty()) << c.what;
    for (const std::string& step : steps) {
      EXPECT_NE(step.rfind("SCAN", 0), 0u) << "type " << type << ", " << c.what << ": " << Joined(steps);
      EXPECT_EQ(step.find("AUTOMATIC"), std::string::npos) << c.what << ": " << Joined(steps);
    }
    EXPECT_NE(Joined(steps).find("USING"), std::string::npos) << "type " << type << ", " << c.what << ": " << Joined(steps);
  }
  // The lookups still compare as the server type does.
  auto byName = store.query(SqlDialect::Translate(type, "SELECT COUNT(*) FROM OUQR WHERE QName = 'OPEN ORDERS'"));
  EXPECT_EQ(byName.rows[0][0].toInt64(), SqlDialect::CaseSensitive(type) ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, HotLookups, ::testing::Values(2, 3, 5, 6));

// The name column rides on the unique set's index instead of an index of its
// own, and nothing the primary key already leads is indexed again.
TEST(TableIndexes, OneIndexPerDistinctLookup) {
  const ObjectRegistry& registry = ObjectRegistry::Instance();
  struct Expect {
    const char* table;
    std::vector<std::vector<std::string>> indexes;
  } cases[] = {
      {"OUQR", {{"QName", "QCategory"}, {"QCategory"}}},
      {"OQCN", {{"CatName"}}},
      {"CUFD", {{"AliasID", "TableID"}}},
      {"STC1", {{"STAType"}, {"STATaxOnT"}}},
      {"OIDX", {{"IndexName"}}},
  };
  for (const Expect& e : cases) {
    const TableDef* def = registry.findTable(e.table);
    ASSERT_NE(def, nullptr) << e.table;
    std::vector<std::vector<std::string>> got;
    for (const TableIndexes::Index& index : TableIndexes::Of(*def)) got.push_back(index.columns);
    EXPECT_EQ(got, e.indexes) << e.table;
  }
}

TEST(TableIndexes, CompanyMadeBeforeGetsThemWhenOpened) {
  test::DemoServerFixture server(6);
  std::filesystem::path file;
  {
    auto base = server.base();
    file = base->store().file();
    base->store().execScript(
        R"(DROP INDEX "ix_OUQR_QName_QCategory"; DROP INDEX "ix_OQCN_CatName"; DROP INDEX "ix_@CARS_Name")");
    EXPECT_NE(Joined(Plan(base->store(), "SELECT 1 FROM OUQR WHERE QName = 'x'")).find("SCAN"), std::string::npos);
  }
  auto base = server.base();
  auto indexes = base->store().query("SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'ix_%'");
  std::set<std::string> names;
  for (const auto& row : indexes.rows) names.insert(row[0].toText());
  EXPECT_TRUE(names.count("ix_OUQR_QName_QCategory"));
  EXPECT_TRUE(names.count("ix_OQCN_CatName"));
  EXPECT_TRUE(names.count("ix_@CARS_Name"));   // a user table, not in the registry
  EXPECT_EQ(Joined(Plan(base->store(), "SELECT 1 FROM OUQR WHERE QName = 'x'")).find("SCAN"), std::string::npos);
  // The rows are all still there, and a company opened again changes nothing.
  EXPECT_EQ(base->store().query("SELECT COUNT(*) FROM OUQR").rows[0][0].toInt64(), 6);
  auto version = base->store().query("PRAGMA schema_version").rows[0][0].toInt64();
  auto again = server.base();
  EXPECT_EQ(again->store().query("PRAGMA schema_version").rows[0][0].toInt64(), version);
}

// The column list is cached; a change by another connection, and a change
// rolled back and followed by another, are both seen.
TEST(TableIndexes, ColumnListFollowsSchemaChanges) {
  test::DemoServerFixture server(6);
  auto base = server.base();
  auto other = server.base();
  CompanyStore& store = base->store();
  auto names = [&] {
    std::vector<std::string> out;
    for (const ColumnDef& c : store.columnsOf("OIDX")) out.push_back(c.name);
    return out;
  };
  EXPECT_EQ(names(), (std::vector<std::string>{"IdexCode", "IndexName"}));
  other->store().addColumn("OIDX", ColumnDef{"U_Seen", db_Alpha, 10, "Seen", false});
  EXPECT_EQ(names(), (std::vector<std::string>{"IdexCode", "IndexName", "U_Seen"}));
  store.begin();
  store.addColumn("OIDX", ColumnDef{"U_Gone", db_Alpha, 10, "Gone", false});
  EXPECT_EQ(names().back(), "U_Gone");
  store.rollback();
  store.begin();
  store.addColumn("OIDX", ColumnDef{"U_Kept", db_Numeric, 0, "Kept", false});
  std::vector<ColumnDef> cols = store.columnsOf("OIDX");
  ASSERT_EQ(cols.size(), 4u);
  EXPECT_EQ(cols.back().name, "U_Kept");
  EXPECT_EQ(cols.back().type, db_Numeric);
  store.commit();
  EXPECT_TRUE(store.columnsOf("NO_SUCH_TABLE").empty());
}

}  // namespace
}  // namespace dpx::host
