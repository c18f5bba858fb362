#include "engine/copy_log.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "engine/connection_context.h"
#include "engine/copy_stop.h"
#include "engine/db_def.h"
#include "engine/left_out_field.h"
#include "engine/settings_manager.h"
#include "platform/framework/text.h"
#include "platform/host/host.h"
#include "tests/support/demo_server.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/test_dir.h"

namespace {

// 2026-12-09 21:45:30 UTC.
constexpr std::time_t kStart = 1796852730;

// Local times are shown in UTC here so that the expected texts are fixed.
class CopyLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    if (tz) oldTz_ = tz, hadTz_ = true;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_) setenv("TZ", oldTz_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  dpx::test::TestDir dir_;

 private:
  std::string oldTz_;
  bool hadTz_ = false;
};

// ASCII text as UTF-16LE code units.
std::string Wide(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

TEST_F(CopyLogTest, SmallLogHasTheExactBytes) {
  DPX_CopyLog log(nullptr);
  std::time_t now = kStart;
  log.setClock([&] { return now; });
  ASSERT_TRUE(log.openIn(dir_.path().string(), "Target Co", true));
  log.writeHeaderLine("Base Co", "Target Co", 1, 0, true);

  log.clearRecord();
  log.setCategoryNo("DPX_TRN_ITEMSLEAF_100");
  log.setAction(3);
  log.setResult("402");
  log.setBaseCode("A1");
  log.setBaseDescription("M\xC3\xBCller\nline");  // u-umlaut, then a line feed
  log.setTargetCode("A1");
  log.setTargetDescription("M\xC3\xBCller line");
  log.writeRecord(true);
  log.writeRecord(false);  // nothing: a success with the log switch off

  log.clearRecord();
  log.setCategoryNo("DPX_TRN_ITEMSLEAF_100");
  log.setAction(2);
  log.setResult("403");
  log.setBaseCode("B|2");
  log.setError("Refused\r\nby host");
  log.writeRecord(false);  // a failure is written whatever the switch

  now = kStart + 1;
  log.writeEndMarker();
  log.close();

  const std::string expected = Wide("2026-12-09 21:45:30|Base Co|Target Co|2022|2029|1\r\n") +
                               Wide("DPX_TRN_ITEMSLEAF_100|212|402|A1|M") + std::string("\xFC\x00", 2) +
                               Wide("ller line|A1|M") + std::string("\xFC\x00", 2) + Wide("ller line||\r\n") +
                               Wide("DPX_TRN_ITEMSLEAF_100|213|403|B") + std::string("\xA6\x00", 2) +
                               Wide("2|||||Refused by host\r\n") + Wide("<DPX_LOG_END>2026-12-09 21:45:31");
  EXPECT_EQ(ReadBytes(log.path()), expected);
  EXPECT_EQ(std::filesystem::path(log.path()).filename(), "Target Co_20261209214530.txt");
}

// A host error can carry a whole statement; the line keeps a readable start.
TEST_F(CopyLogTest, LongErrorsAreCutToAReadableLength) {
  DPX_CopyLog log(nullptr);
  ASSERT_TRUE(log.openIn(dir_.path().string(), "Target Co", true));
  std::string statement = "SELECT * FROM OIDX WHERE ";
  while (statement.size() < 50000) statement += "(IdexCode = N'\xC3\xBC') OR ";
  log.clearRecord();
  log.setResult("403");
  log.setError(statement);
  log.writeRecord(true);
  log.close();
  const std::string text = dpx::Utf16LEBytesToUtf8(ReadBytes(log.path()));
  const size_t start = text.find("|SELECT");
  ASSERT_NE(start, std::string::npos);
  const std::string error = text.substr(start + 1, text.find("\r\n", start) - start - 1);
  EXPECT_EQ(dpx::Utf8ToUtf16(error).size(), DPX_CopyLog::kErrorLength + 3);
  EXPECT_EQ(error.substr(error.size() - 3), "...");
  EXPECT_EQ(error.rfind(statement.substr(0, 100), 0), 0u);
}

TEST_F(CopyLogTest, HeaderIdsOfMethodsAndResponses) {
  struct Case {
    int32_t method, response;
    bool flag;
    const char* ids;
  };
  const Case cases[] = {
      {1, 0, false, "2022|2029|0"}, {2, 1, true, "2023|2028|1"}, {3, 2, false, "2024|2027|0"},
      {4, -1, false, "2025|10010|0"}, {0, 3, false, "10009|10010|0"}, {5, 2, false, "10009|2027|0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ids);
    dpx::test::TestDir dir;
    DPX_CopyLog log(nullptr);
    log.setClock([] { return kStart; });
    ASSERT_TRUE(log.openIn(dir.path().string(), "", false));
    log.writeHeaderLine("", "T", c.method, c.response, c.flag);
    log.close();
    EXPECT_EQ(ReadBytes(log.path()), Wide(std::string("2026-12-09 21:45:30||T|") + c.ids + "\r\n"));
  }
}

TEST_F(CopyLogTest, ActionsAndUnknownActions) {
  DPX_CopyLog log(nullptr);
  const std::pair<int32_t, const char*> actions[] = {{0, "404"}, {1, ""}, {2, "213"}, {3, "212"}, {4, ""}};
  for (const auto& [action, id] : actions) {
    log.setAction(action);
    EXPECT_EQ(log.record().get(DPX_CopyLogRecord::kAction), id) << action;
  }
}

TEST_F(CopyLogTest, FileNameRule) {
  EXPECT_EQ(DPX_CopyLog::FileName("A/B:C", true, kStart), "ABC_20261209214530.txt");
  EXPECT_EQ(DPX_CopyLog::FileName("a\\b*c<d>e?f\"g", true, kStart), "abcdefg_20261209214530.txt");
  EXPECT_EQ(DPX_CopyLog::FileName("Anything", false, kStart), "NO_TARGET_20261209214530.txt");
}

// A company name longer than a file name may be is cut on a character
// boundary, and the log of such a target is created.
TEST_F(CopyLogTest, ALongTargetNameIsCutToAFileNameTheSystemTakes) {
  for (const std::string& unit : {std::string("a"), std::string("\xc3\xa4"), std::string("\xe9\x80\x9a")}) {
    std::string target;
    while (target.size() < 400) target += unit;
    const std::string name = DPX_CopyLog::FileName(target, true, kStart);
    EXPECT_LE(name.size() + 5, 255u) << unit;
    const std::string stem = name.substr(0, name.size() - std::string("_20261209214530.txt").size());
    EXPECT_EQ(stem.size() % unit.size(), 0u) << "cut inside a character";
    EXPECT_EQ(target.rfind(stem, 0), 0u);
    DPX_CopyLog first(nullptr), second(nullptr);
    for (auto* log : {&first, &second}) log->setClock([] { return kStart; });
    ASSERT_TRUE(first.openIn(dir_.path().string(), target, true)) << first.lastOpenError();
    ASSERT_TRUE(second.openIn(dir_.path().string(), target, true)) << second.lastOpenError();
    EXPECT_EQ(first.path(), (dir_.path() / name).string());
  }
}

// A second copy within the same second gets a file of its own; the first
// log stays as it was.
TEST_F(CopyLogTest, CopiesInTheSameSecondNeverShareAFile) {
  const std::string folder = dir_.path().string() + "/";  // a trailing separator adds none
  DPX_CopyLog first(nullptr), second(nullptr), third(nullptr);
  for (auto* log : {&first, &second, &third}) log->setClock([] { return kStart; });
  ASSERT_TRUE(first.openIn(folder, "T", true));
  first.writeHeaderLine("B", "T", 1, 0, false);
  first.close();
  ASSERT_TRUE(second.openIn(folder, "T", true));
  ASSERT_TRUE(third.openIn(folder, "T", true));
  second.writeEndMarker();
  EXPECT_EQ(first.path(), dir_.path().string() + "/T_20261209214530.txt");
  EXPECT_EQ(second.path(), dir_.path().string() + "/T_20261209214530_2.txt");
  EXPECT_EQ(third.path(), dir_.path().string() + "/T_20261209214530_3.txt");
  EXPECT_EQ(ReadBytes(first.path()), Wide("2026-12-09 21:45:30|B|T|2022|2029|0\r\n"));
}

TEST_F(CopyLogTest, NoFolderOrNoWayToCreateTheFileFails) {
  DPX_CopyLog log(nullptr);
  EXPECT_FALSE(log.openIn("", "T", true));
  EXPECT_FALSE(log.openIn((dir_.path() / "missing").string(), "T", true));
  EXPECT_NE(log.lastOpenError(), 0);
  EXPECT_THROW(log.writeRecord(true), std::runtime_error);
}

// A disk that refuses a line stops the copy, and what the file holds ends
// with its last whole line; held lines go in whole or not at all, and lines
// taken back (their records were not committed) leave the file as before.
TEST_F(CopyLogTest, ALineTheDiskRefusesStopsTheCopyAndLeavesOnlyWholeLines) {
  DPX_CopyLog log(nullptr);
  log.setClock([] { return kStart; });
  ASSERT_TRUE(log.openIn(dir_.path().string(), "T", true));
  log.writeHeaderLine("B", "T", 1, 0, false);
  const std::string header = Wide("2026-12-09 21:45:30|B|T|2022|2029|0\r\n");
  auto line = [&log](const std::string& code) {
    log.clearRecord();
    log.setCategoryNo("K");
    log.setResult("402");
    log.setBaseCode(code);
    log.writeRecord(true);
  };
  const std::string one = Wide("K||402|1|||||\r\n");

  log.holdLines();
  line("1");
  line("2");
  log.releaseLines();
  log.takeBackLines();  // the batch's commit failed
  EXPECT_EQ(ReadBytes(log.path()), header);

  line("1");
  {
    // Room for the line already written and half of the next.
    dpx::test::FileSizeLimit full(header.size() + one.size() + one.size() / 2);
    try {
      line("2");
      ADD_FAILURE() << "the line was written";
    } catch (const DPX_CopyStopped& stop) {
      EXPECT_NE(stop.reason().find("cannot take more lines (File too large); the copy stopped here"),
                std::string::npos)
          << stop.reason();
    }
    EXPECT_EQ(ReadBytes(log.path()), header + one);
    log.holdLines();
    line("2");
    line("3");
    EXPECT_THROW(log.releaseLines(), DPX_CopyStopped);
    EXPECT_EQ(ReadBytes(log.path()), header + one);
    EXPECT_EQ(log.writeFailure(), "File too large");
  }
  // With room again the log goes on after its last whole line.
  line("2");
  EXPECT_EQ(ReadBytes(log.path()), header + one + Wide("K||402|2|||||\r\n"));
}

TEST_F(CopyLogTest, FormatTimeOfANullFormatIsEmpty) {
  EXPECT_EQ(formatTime(kStart, nullptr), "");
  EXPECT_EQ(formatTime(kStart, "%Y%m%d%H%M%S"), "20261209214530");
}

// The copy command's road: the folder comes from the settings row, the name
// from the target company, the header from the context.
TEST_F(CopyLogTest, OpensInTheSettingsFolderAndWritesTheContextsHeader) {
  dpx::test::DemoServerFixture server(6, false);
  auto company = server.base();
  ASSERT_EQ(dpx::DbDef(nullptr, company, "DPX", 3).Create(135, false, dpx::DbVersion()), 0);
  DPX_ConnectionContext context;
  context.setCompany(company);
  context.setBaseCompany(company);

  // No settings row yet: no folder, no log.
  DPX_CopyLog log(&context);
  log.setClock([] { return kStart; });
  EXPECT_FALSE(log.open());

  DPX_SettingsManager settings(&context);
  settings.setLogFileFolder(dir_.path().string());
  ASSERT_EQ(settings.saveSettingsToDatabase(), 0);
  auto target = server.target();
  context.setTargetCompany(target);
  context.setCopyMethod(4);
  context.setResponseToCopyFailure(1);
  context.setFailRecordsForMissingFields(true);

  ASSERT_TRUE(log.open());
  EXPECT_EQ(context.getLogFile(), log.path());
  EXPECT_EQ(log.path(), (dir_.path() / DPX_CopyLog::FileName(target->CompanyName(), true, kStart)).string());
  log.writeHeader();
  log.close();
  EXPECT_EQ(ReadBytes(log.path()), Wide("2026-12-09 21:45:30|") + dpx::Utf8ToUtf16LEBytes(company->CompanyName()) +
                                       Wide("|") + dpx::Utf8ToUtf16LEBytes(target->CompanyName()) +
                                       Wide("|2025|2028|1\r\n"));
}

}  // namespace

// A record written without fields keeps its result; its line names each
// field and the value it held, one sentence each. A refused record was not
// written: its line says why, and nothing of the fields.
TEST_F(CopyLogTest, LinesOfRecordsWrittenWithoutFieldsNameThem) {
  DPX_CopyLog log(nullptr);
  ASSERT_TRUE(log.openIn(dir_.path().string(), "Target Co", true));
  struct Case {
    const char* result;
    const char* error;  // what the writer put in Error
    const char* written;
  } cases[] = {
      {"402", "", "Written without Manufacturer 'Acme & <Co>': the target has none; Written without ShipType "
                  "'Air, Express': the target has none"},
      {"402", "Updated over a newer record",
       "Updated over a newer record; Written without Manufacturer 'Acme & <Co>': the target has none; Written "
       "without ShipType 'Air, Express': the target has none"},
      {"403", "Refused by the target", "Refused by the target"},
  };
  std::vector<std::string> errors;
  for (const auto& c : cases) {
    log.clearRecord();
    log.setResult(c.result);
    log.setError(c.error);
    dpx::records::NoteLeftOut(&log, "Manufacturer", "Acme & <Co>");
    dpx::records::NoteLeftOut(&log, {{0, "ShipType", "Air, Express", dpx::records::kTargetHasNone}});
    log.writeRecord(true);
    errors.push_back(log.record().get(DPX_CopyLogRecord::kError));
    EXPECT_EQ(errors.back(), c.written);
    EXPECT_EQ(log.record().get(DPX_CopyLogRecord::kResult), c.result);
    EXPECT_EQ(dpx::records::NamesLeftOutFields(errors.back()), c.result == std::string("402")) << errors.back();
  }
  // The notes belong to their record alone.
  log.clearRecord();
  log.setResult("402");
  log.writeRecord(true);
  EXPECT_EQ(log.record().get(DPX_CopyLogRecord::kError), "");
  log.close();
  const std::string text = dpx::Utf16LEBytesToUtf8(ReadBytes(log.path()));
  for (const std::string& error : errors) EXPECT_NE(text.find("|" + error + "\r\n"), std::string::npos) << error;
}
