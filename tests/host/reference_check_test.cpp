// The company's reference audit: clean demo companies have no dangling
// reference; what plain SQL leaves behind is found, header and line alike.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/host/company_store.h"
#include "platform/host/host.h"
#include "tests/support/demo_server.h"

namespace dpx::host {
namespace {

std::vector<std::string> Texts(const std::vector<DanglingReference>& found) {
  std::vector<std::string> out;
  for (const auto& d : found) out.push_back(d.text());
  return out;
}

TEST(ReferenceCheckTest, DemoCompaniesHaveNoDanglingReference) {
  for (int type : {5, 6}) {
    test::DemoServerFixture server(type);
    for (const char* db : {"DEMO_BASE", "DEMO_TARGET"})
      EXPECT_EQ(Texts(ReferenceCheck::Run(server.connect(db)->store())), std::vector<std::string>{})
          << db << " on server type " << type;
  }
}

TEST(ReferenceCheckTest, RowsThatPlainSqlLeftNamingNothingAreEachNamed) {
  test::DemoServerFixture server(6);
  auto base = server.connect("DEMO_BASE");
  CompanyStore& store = base->store();
  // Removing a cycle by SQL goes round the host's refusal to remove a named record.
  store.execScript("DELETE FROM OCYC WHERE Code = 1;"
                   "INSERT INTO ITM5 (ItemCode, LineNum, CycleCode) VALUES ('O''Hara & <1>', 0, 77);");
  const auto found = Texts(ReferenceCheck::Run(store));
  const std::vector<std::string> expected = {
      "OITB.CycleCode '1' names no OCYC.Code (record ItmsGrpCod '100')",
      "ITM5.CycleCode '77' names no OCYC.Code (record ItemCode 'O'Hara & <1>', LineNum '0')",
  };
  for (const std::string& line : expected)
    EXPECT_NE(std::find(found.begin(), found.end(), line), found.end()) << line;
  for (const std::string& line : found) EXPECT_NE(line.find("names no OCYC.Code"), std::string::npos) << line;
}

TEST(ReferenceCheckTest, AnEmptyOrMinusOneReferenceNamesNothing) {
  test::DemoServerFixture server(5);
  auto base = server.connect("DEMO_BASE");
  CompanyStore& store = base->store();
  store.execScript("UPDATE OITB SET CycleCode = -1 WHERE ItmsGrpCod = 100;"
                   "UPDATE OITB SET CycleCode = NULL WHERE ItmsGrpCod <> 100;");
  EXPECT_EQ(Texts(ReferenceCheck::Run(store)), std::vector<std::string>{});
}

}  // namespace
}  // namespace dpx::host
