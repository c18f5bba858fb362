// The generated records of the copy tests: they leave both companies as a
// careful host could hold them (no dangling reference), and they carry what
// they promise: hostile texts, same-name pairs, target-only records.
#include <gtest/gtest.h>

#include "platform/host/company_store.h"
#include "platform/host/host.h"
#include "tests/support/demo_server.h"
#include "tests/support/generated_records.h"

namespace dpx::test {
namespace {

TEST(GeneratedRecordsTest, AddedRecordsKeepBothCompaniesFreeOfDanglingReferences) {
  DemoServerFixture server(5);
  auto base = server.base();
  auto target = server.target();
  const auto added = GeneratedRecords::Add(*base, *target);
  EXPECT_GT(added.size(), 40u);
  for (auto* company : {base.get(), target.get()})
    for (const auto& d : dpx::host::ReferenceCheck::Run(company->store())) ADD_FAILURE() << d.text();

  // A partner group of each kind, by plain SQL as a test would look.
  auto texts = [](dpx::host::Company& company, const std::string& sql) {
    std::vector<std::string> out;
    for (const auto& row : company.store().query(sql).rows) out.push_back(row[0].toText());
    return out;
  };
  const auto hostile = texts(*base, "SELECT GroupName FROM OCRG WHERE GroupName LIKE 'O''Hara & <Sons>%'");
  ASSERT_EQ(hostile.size(), 1u);
  EXPECT_NE(hostile[0].find("'"), std::string::npos);
  EXPECT_NE(hostile[0].find("& <"), std::string::npos);
  EXPECT_NE(hostile[0].find("\r\n"), std::string::npos);
  const auto basePair = texts(*base, "SELECT GroupCode || ':' || GroupName FROM OCRG WHERE GroupName LIKE 'Pair%'");
  const auto targetPair = texts(*target, "SELECT GroupCode || ':' || GroupName FROM OCRG WHERE GroupName LIKE 'Pair%'");
  ASSERT_EQ(basePair.size(), 1u);
  ASSERT_EQ(targetPair.size(), 1u);
  EXPECT_NE(basePair[0], targetPair[0]);
  EXPECT_EQ(basePair[0].substr(basePair[0].find(':')), targetPair[0].substr(targetPair[0].find(':')));
  EXPECT_EQ(texts(*base, "SELECT 1 FROM OCRG WHERE GroupName LIKE 'Target only % & <%'").size(), 0u);
  EXPECT_EQ(texts(*target, "SELECT 1 FROM OCRG WHERE GroupName LIKE 'Target only % & <%'").size(), 1u);
}

}  // namespace
}  // namespace dpx::test
