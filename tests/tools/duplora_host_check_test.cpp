// duplora-host check: a company whose references all name records passes
// with exit 0; one that plain SQL left with a dangling reference is named,
// line by line, with exit 1.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include <sys/wait.h>

#include "platform/framework/string_table.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "tests/support/demo_server.h"

namespace {

struct ToolRun {
  int code = -1;
  std::string out;
};

ToolRun HostTool(const std::vector<std::string>& args) {
  std::string command = "'" + (dpx::ProgramFolder() / "duplora-host").string() + "'";
  for (const auto& a : args) command += " '" + a + "'";
  command += " 2>&1";
  ToolRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer{};
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(DuploraHostCheckTest, ACleanCompanyPassesAndADanglingReferenceIsPrintedWithExitOne) {
  dpx::test::DemoServerFixture server(5);
  const std::string dir = server.serverDir().string();
  ToolRun clean = HostTool({"check", dir, "DEMO_TARGET"});
  EXPECT_EQ(clean.code, 0) << clean.out;
  EXPECT_EQ(clean.out, "No dangling references in DEMO_TARGET\n");

  // The removal of a table category's rows is plain SQL, which the host's reference check does not see.
  server.connect("DEMO_TARGET")->store().exec("DELETE FROM OCYC WHERE Code = 4");
  ToolRun dangling = HostTool({"check", dir, "DEMO_TARGET"});
  EXPECT_EQ(dangling.code, 1);
  EXPECT_EQ(dangling.out, "OITB.CycleCode '4' names no OCYC.Code (record ItmsGrpCod '100')\n");

  ToolRun unknown = HostTool({"check", dir, "NO_SUCH_DB"});
  EXPECT_EQ(unknown.code, 1);
  EXPECT_NE(unknown.out.find("no company database 'NO_SUCH_DB'"), std::string::npos) << unknown.out;
}

}  // namespace
