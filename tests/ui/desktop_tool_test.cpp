// duplora-desktop refuses what it cannot start with a clear message and a
// non-zero exit code.
#include <gtest/gtest.h>

#include <QProcess>

#include "platform/framework/string_table.h"
#include "tests/support/demo_server.h"

namespace dpx::test {
namespace {

struct Outcome {
  int exitCode;
  std::string err;
};

Outcome Desktop(const QStringList& args) {
  QProcess process;
  process.start(QString::fromStdString((ProgramFolder() / "duplora-desktop").string()), args);
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitCode(), process.readAllStandardError().toStdString()};
}

TEST(DesktopToolTest, ABadServerCompanyLoginOrCommandLineEndsWithAMessage) {
  DemoServerFixture server;
  const QString dir = QString::fromStdString(server.serverDir().string());
  struct Case {
    QStringList args;
    int exitCode;
    std::string message;
  };
  const Case cases[] = {
      {{"--server", dir + "/none", "--user", "manager", "--password", "manager", "--company", "DEMO_BASE"}, 1,
       "No server"},
      {{"--server", dir, "--user", "manager", "--password", "manager", "--company", "NOPE"}, 1, "no company 'NOPE'"},
      {{"--server", dir, "--user", "manager", "--password", "bad", "--company", "DEMO_BASE"}, 1, "Cannot log on"},
      {{"--server", dir, "--user", "manager", "--password", "manager"}, 2, "--company is missing"},
      {{"--server", dir, "--user", "manager", "--password", "manager", "--company", "DEMO_BASE", "--language", "XX"},
       2, "unknown language 'XX'"},
  };
  for (const auto& c : cases) {
    const Outcome run = Desktop(c.args);
    SCOPED_TRACE(run.err);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_NE(run.err.find(c.message), std::string::npos);
  }
}

}  // namespace
}  // namespace dpx::test
