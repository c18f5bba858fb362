// A category whose manager takes its records in slices is written through
// the copy driver a bounded slice at a time (a table stored as one record, a
// bounded slice of its rows at a time). The target and the copy log come out
// as they do when the same manager is handed the whole category: the same
// rows, the same lines in the same order, a refusal in a later slice costing
// only its record, a name given twice meeting the same refusal whichever
// slices the two records fall in, and Replace All emptying the target once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/customization/query_manager.h"
#include "categories/setup/indexes_manager.h"
#include "engine/category_factory.h"
#include "tests/support/copy_fixture.h"
#include "tests/support/test_dir.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet.h"

namespace {

using dpx::test::CopyFixture;

// The same manager, handed the whole category at once.
template <class Manager>
class Whole : public Manager {
 public:
  using Manager::Manager;
  bool writesInSlices() const override { return false; }
};

struct Case {
  std::string name;
  std::string key;
  std::string className;
  DPX_CategoryFactory::Creator whole;
  int method;
  std::function<void(CopyFixture&)> seed;  // the companies and the target's fault
  std::string rowsQuery;
  std::string refused;  // the code of the one record the target refuses ("" for none)
  std::string refusal;  // what its line says ("" for any refusal)
  size_t lines = 0;     // the copy-log lines of the copy
};

constexpr int kQueries = 4500;  // three slices of queries
constexpr int kIndexes = 20000;  // about 1.4 MB of rows in one stored record

void SeedQueries(CopyFixture& fx, int count) {
  const std::string n = std::to_string(count);
  CopyFixture::Exec(*fx.base,
                    "DELETE FROM OUQR; DELETE FROM OQCN; INSERT INTO OQCN (CategoryId, CatName) VALUES (1, 'General');"
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + n +
                        ") INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) "
                        "SELECT i, 1, printf('Q%05d', i), 'SELECT ' || i, 'W' FROM n;");
  // The target has every tenth query, older, under other keys.
  CopyFixture::Exec(*fx.target,
                    "DELETE FROM OUQR; DELETE FROM OQCN; INSERT INTO OQCN (CategoryId, CatName) VALUES (7, 'General');"
                    "WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 10 FROM n WHERE i + 10 <= " + n +
                        ") INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) "
                        "SELECT i + 100000, 7, printf('Q%05d', i), 'old', 'W' FROM n;");
}

void SeedQueries(CopyFixture& fx) { SeedQueries(fx, kQueries); }

// Queries of which two, the target has neither, share one name: the second
// is refused as a duplicate, whether the two meet in one slice or not.
std::function<void(CopyFixture&)> SeedDuplicatedName(int count, int second) {
  return [count, second](CopyFixture& fx) {
    SeedQueries(fx, count);
    CopyFixture::Exec(*fx.base, "UPDATE OUQR SET QName = 'Dup' WHERE IntrnalKey IN (" + std::to_string(second - 1) +
                                    ", " + std::to_string(second) + ");");
  };
}

void SeedIndexes(CopyFixture& fx) {
  const std::string n = std::to_string(kIndexes);
  CopyFixture::Exec(*fx.base, "DELETE FROM OIDX; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                                  n + ") INSERT INTO OIDX (IdexCode, IndexName) SELECT printf('X%06d', i), 'Index ' || i FROM n;");
  CopyFixture::Exec(*fx.target, "DELETE FROM OIDX; WITH RECURSIVE n(i) AS (SELECT 7 UNION ALL SELECT i + 7 FROM n WHERE i + 7 <= " +
                                    n + ") INSERT INTO OIDX (IdexCode, IndexName) SELECT printf('X%06d', i), 'old' FROM n;");
}

// The result of a copy-log line: its third field.
std::string Result(const std::string& line) {
  const size_t first = line.find('|');
  const size_t second = first == std::string::npos ? first : line.find('|', first + 1);
  const size_t third = second == std::string::npos ? second : line.find('|', second + 1);
  return third == std::string::npos ? std::string() : line.substr(second + 1, third - second - 1);
}

struct Outcome {
  dpx::HRESULT result = dpx::E_FAIL;
  std::vector<std::string> lines;
  std::string rows;
};

// The whole road of one copy of the category: saved from the base, read back
// and written by the driver.
Outcome CopyThroughDriver(CopyFixture& fx, const Case& c, bool whole) {
  RegisterCategoryClasses();
  if (whole) DPX_CategoryFactory::registerClass(c.className, c.whole);
  EXPECT_EQ(DPX_CategoryFactory(&fx.context).createManager(c.key)->writesInSlices(), !whole) << c.name;

  dpx::test::TestDir dir;
  fx.context.setTargetFile((dir / "DPX_Config.xml").string());
  fx.context.setCopyMethod(c.method);
  DPX_Worksheet worksheet;
  worksheet.setCopyMethod(c.method);
  DPX_WorksheetNode node;
  node.setLeafId("1");
  node.setStringKey(c.key);
  node.setIsLeaf(true);
  node.setSelected(DPX_WorksheetNode::kSelectedWhole);
  worksheet.getNodes().push_back(node);

  Outcome outcome;
  outcome.result = DPX_ConfigurationManager(&fx.context).writeConfiguration(worksheet, false);
  RegisterCategoryClasses();  // the real class again
  outcome.lines = fx.logLines();
  outcome.rows = CopyFixture::Column(*fx.target, c.rowsQuery);
  return outcome;
}

Outcome CopyThroughDriver(const Case& c, bool whole) {
  CopyFixture fx(6);
  c.seed(fx);
  return CopyThroughDriver(fx, c, whole);
}

TEST(SlicedCopy, GivesTheTargetAndTheLogOfAWholeCategoryCopy) {
  const std::string queries = "DPX_TRN_QUERIES_100";
  const std::string indexes = "DPX_TRN_INDEXES_100";
  const auto wholeQueries = &DPX_CategoryFactory::Make<Whole<DPX_QueryManager>>;
  const auto wholeIndexes = &DPX_CategoryFactory::Make<Whole<DPX_IndexesManager>>;
  const std::string queryRows = "SELECT QName || ':' || QCategory || ':' || QString FROM OUQR ORDER BY QName";
  const std::string indexRows = "SELECT IdexCode || ':' || IndexName FROM OIDX ORDER BY IdexCode";
  const std::string duplicate = "This entry already exists";
  const size_t queryLines = kQueries, indexLines = kIndexes;
  const std::vector<Case> cases = {
      {"queries, a refused Add in the last slice", queries, "DPX_QueryManager", wholeQueries, 4,
       [](CopyFixture& fx) {
         SeedQueries(fx);
         fx.target->InjectFault("Add:160", 3900, -99, "Refused by the test");  // Q04333: the 3,900th query added
       },
       queryRows, "Q04333", "", queryLines},
      {"queries, Replace All", queries, "DPX_QueryManager", wholeQueries, 1, [](CopyFixture& fx) { SeedQueries(fx); },
       queryRows, "", "",
       queryLines + kQueries / 10},
      // The last query of the first slice and the one after it; two in one slice.
      {"queries, a name twice beside the slice boundary", queries, "DPX_QueryManager", wholeQueries, 4,
       SeedDuplicatedName(2001, 2001), queryRows, "2001", duplicate, 2001},
      {"queries, a name twice in one slice", queries, "DPX_QueryManager", wholeQueries, 4,
       SeedDuplicatedName(1999, 1999), queryRows, "1999", duplicate, 1999},
      {"queries, a name twice beside the slice boundary, Add New", queries, "DPX_QueryManager", wholeQueries, 3,
       SeedDuplicatedName(2001, 2001), queryRows, "2001", duplicate, 2001 - 199},  // Q02000 is no longer in the base
      {"queries, a name twice beside the slice boundary, Replace All", queries, "DPX_QueryManager", wholeQueries, 1,
       SeedDuplicatedName(2001, 2001), queryRows, "2001", duplicate, 2001 + 2001 / 10},
      {"indexes, a rejected row in a later slice", indexes, "DPX_IndexesManager", wholeIndexes, 4,
       [](CopyFixture& fx) {
         SeedIndexes(fx);
         fx.target->InjectSqlFault("X015002", 2, "Rejected by the test");  // its lookup runs, its INSERT fails
       },
       indexRows, "X015002", "", indexLines},
      {"indexes, Replace All", indexes, "DPX_IndexesManager", wholeIndexes, 1, SeedIndexes, indexRows, "", "",
       indexLines + kIndexes / 7},
  };
  for (const Case& c : cases) {
    const Outcome whole = CopyThroughDriver(c, true);
    const Outcome sliced = CopyThroughDriver(c, false);
    EXPECT_EQ(whole.result, dpx::S_OK) << c.name;
    EXPECT_EQ(sliced.result, dpx::S_OK) << c.name;
    EXPECT_EQ(sliced.rows, whole.rows) << c.name;
    ASSERT_EQ(sliced.lines.size(), whole.lines.size()) << c.name;
    for (size_t i = 0; i < whole.lines.size(); ++i) ASSERT_EQ(sliced.lines[i], whole.lines[i]) << c.name << " line " << i;

    // What both give: every record written, but the one refused.
    size_t refused = 0;
    for (const std::string& line : sliced.lines)
      if (Result(line) == "403") {
        ++refused;
        EXPECT_NE(line.find("|" + c.refused + "|"), std::string::npos) << c.name << ": " << line;
        EXPECT_NE(line.find(c.refusal), std::string::npos) << c.name << ": " << line;
      }
    EXPECT_EQ(refused, c.refused.empty() ? 0u : 1u) << c.name;
    EXPECT_EQ(sliced.lines.size(), c.lines) << c.name;
  }
}

// A category read from the base a slice at a time goes to the file as it is
// read. When the base fails in a later slice, what was already written stays
// in the file as a well-formed table, the category gets its "403" line, and
// the copy goes on with the records the file holds.
TEST(SlicedCopy, ABaseThatFailsInALaterSliceLeavesAReadableFile) {
  const Case c{"queries", "DPX_TRN_QUERIES_100", "DPX_QueryManager", nullptr, 4,
               [](CopyFixture& fx) { SeedQueries(fx); },
               "SELECT COUNT(*) || ':' || MIN(QName) || ':' || MAX(QName) FROM OUQR WHERE QString <> 'old'", "", "",
               0};
  CopyFixture fx(6);
  SeedQueries(fx);
  fx.base->InjectFault("GetByKey:160", 4400, -99, "Base unreadable");  // in the third slice
  const Outcome outcome = CopyThroughDriver(fx, c, false);
  EXPECT_EQ(outcome.result, dpx::S_OK);
  // The first two slices, 4,000 queries, were written to the file and copied.
  EXPECT_EQ(outcome.rows, "4000:Q00001:Q04000");
  ASSERT_FALSE(outcome.lines.empty());
  EXPECT_EQ(outcome.lines.front(), "DPX_TRN_QUERIES_100|212|403||||||Call of GetByKey failed");
  EXPECT_EQ(outcome.lines.size(), 4001u);
}

}  // namespace
