// The log: one file in the folder the program names, stderr from a chosen
// level, printf-style formats that never throw.
#include "platform/framework/log_scope.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "tests/support/test_dir.h"

namespace dpx {
namespace {

std::string Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct SinkReset {
  ~SinkReset() { LogSink::Configure({}, LogLevel::Info, LogLevel::Error); }
};

TEST(LogScope, WritesLevelsToTheFileAndStderr) {
  SinkReset reset;
  test::TestDir dir;
  LogSink::Configure(dir / "logs", LogLevel::Info, LogLevel::Warning);
  ASSERT_EQ(LogSink::FilePath(), dir / "logs" / "duplora.log");

  testing::internal::CaptureStderr();
  {
    DPX_LogScope log("DPX_WorksheetManager::openWorksheet");
    log.LogError("Failed to save worksheet: '%s'", std::string("ü.xml"));
    log.LogWarning("Error code =  %d: %s", -5, "refused");
    log.LogInfo("SQL: \"%s\"\n", "SELECT 1");
    log.LogDbg0("debug %d", 1);
    log.LogError("100% done");        // no arguments: the text as it is
    log.LogError("%d items", "many");  // a format that does not fit its arguments
  }
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string file = Read(LogSink::FilePath());

  for (const char* line : {" ERROR [DPX_WorksheetManager::openWorksheet] Failed to save worksheet: 'ü.xml'\n",
                           " WARN [DPX_WorksheetManager::openWorksheet] Error code =  -5: refused\n",
                           " INFO [DPX_WorksheetManager::openWorksheet] SQL: \"SELECT 1\"\n",
                           " ERROR [DPX_WorksheetManager::openWorksheet] 100% done\n",
                           " ERROR [DPX_WorksheetManager::openWorksheet] %d items\n"})
    EXPECT_NE(file.find(line), std::string::npos) << line << "\n" << file;
  EXPECT_EQ(LogSink::ErrorCount(), 3u);  // what tells a program that its log has something to say
  EXPECT_EQ(file.find("debug"), std::string::npos);
  EXPECT_EQ(file.find("enter"), std::string::npos);

  EXPECT_NE(err.find("Failed to save worksheet"), std::string::npos);
  EXPECT_NE(err.find("refused"), std::string::npos);
  EXPECT_EQ(err.find("SQL:"), std::string::npos) << "info stays out of stderr";
}

TEST(LogScope, AFolderThatCannotBeMadeLeavesStderr) {
  SinkReset reset;
  test::TestDir dir;
  std::ofstream(dir / "file") << "x";
  LogSink::Configure(dir / "file" / "logs", LogLevel::Debug, LogLevel::Error);
  EXPECT_TRUE(LogSink::FilePath().empty());
  testing::internal::CaptureStderr();
  DPX_LogScope("DPX_Test::run").LogError("still seen %d", 7);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("[DPX_Test::run] still seen 7"), std::string::npos);
}

}  // namespace
}  // namespace dpx
