// duplora-client end to end: it logs on to a simulated server, copies or
// saves, and leaves the target's rows and a copy log behind.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>

#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "tests/support/demo_server.h"

namespace {

using dpx::test::DemoServerFixture;

struct Run {
  int code = -1;
  std::string out;
  std::string err;
};

// Runs the built tool with arguments; stdout and stderr are kept apart.
Run Client(const std::filesystem::path& scratch, const std::vector<std::string>& args) {
  std::string command = "'" + (dpx::ProgramFolder() / "duplora-client").string() + "'";
  for (const auto& a : args) command += " '" + a + "'";
  const auto errFile = scratch / "client.err";
  command += " 2>'" + errFile.string() + "'";
  Run run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer{};
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile);
  run.err.assign(std::istreambuf_iterator<char>(err), {});
  return run;
}

std::vector<std::string> Login(const DemoServerFixture& server) {
  return {"--server", server.serverDir().string(), "--user", "manager", "--password", "manager"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The rows of a table, ordered, each as "a|b|c".
std::vector<std::string> Rows(const std::shared_ptr<dpx::host::Company>& company, const std::string& table,
                              const std::string& columns) {
  auto result = company->store().query("SELECT " + columns + " FROM " + dpx::host::CompanyStore::Quote(table) +
                                       " ORDER BY 1");
  std::vector<std::string> rows;
  for (const auto& row : result.rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) line += (i ? "|" : "") + row[i].toText();
    rows.push_back(line);
  }
  return rows;
}

std::vector<std::string> LogLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text = dpx::Utf16LEBytesToUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
  std::vector<std::string> lines;
  size_t pos = 0;
  for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
    lines.push_back(text.substr(pos, end - pos));
  lines.push_back(text.substr(pos));  // the end marker
  return lines;
}

std::string LogPath(const std::string& out) {
  std::smatch m;
  if (!std::regex_search(out, m, std::regex("Copy log: (.*)\n"))) return "";
  return m[1];
}

const char* const kIndexes = "DPX_TRN_INDEXES_100";
const char* const kCurrencies = "DPX_TRN_CURRENCYSETTINGS_100";

}  // namespace

TEST(DuploraClient, ReplaceAllCopyLeavesTheBaseRowsAndALogLinePerRecord) {
  DemoServerFixture server;
  const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                             std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET",
                                                                      "--method", "1", "--categories", kIndexes});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"), Rows(server.base(), "OIDX", "IdexCode, IndexName"));

  const std::string log = LogPath(run.out);
  ASSERT_FALSE(log.empty()) << run.out;
  const auto lines = LogLines(log);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_NE(lines.front().find("|Demo Target"), std::string::npos) << lines.front();
  EXPECT_EQ(lines.back().rfind("<DPX_LOG_END>", 0), 0u);
  int succeeded = 0, failed = 0;
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    EXPECT_EQ(lines[i].rfind(std::string(kIndexes) + "|", 0), 0u) << lines[i];
    (lines[i].find("|402|") != std::string::npos ? succeeded : failed)++;
  }
  EXPECT_GT(succeeded, 0);
  EXPECT_NE(run.out.find("Succeeded: " + std::to_string(succeeded) + "\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Failed: " + std::to_string(failed) + "\n"), std::string::npos) << run.out;
}

TEST(DuploraClient, CopyFromASavedFileEqualsCopyFromTheCompany) {
  DemoServerFixture fromCompany;
  DemoServerFixture fromFile;
  const std::vector<std::string> categories{"--categories", std::string(kIndexes) + "," + kCurrencies};
  for (int method : {4, 1}) {
    const std::vector<std::string> target{"--target", "DEMO_TARGET", "--method", std::to_string(method)};
    auto a = Client(fromCompany.root(), std::vector<std::string>{"copy"} + Login(fromCompany) +
                                            std::vector<std::string>{"--base", "DEMO_BASE"} + target + categories);
    ASSERT_EQ(a.code, 0) << a.err;
    const std::string file = (fromFile.root() / "base.xml").string();
    auto save = Client(fromFile.root(), std::vector<std::string>{"save"} + Login(fromFile) +
                                            std::vector<std::string>{"--base", "DEMO_BASE", "--out", file} + categories);
    ASSERT_EQ(save.code, 0) << save.err;
    auto b = Client(fromFile.root(), std::vector<std::string>{"copy"} + Login(fromFile) +
                                         std::vector<std::string>{"--base-file", file} + target + categories);
    ASSERT_EQ(b.code, 0) << b.err;
    EXPECT_EQ(Rows(fromCompany.target(), "OIDX", "IdexCode, IndexName"),
              Rows(fromFile.target(), "OIDX", "IdexCode, IndexName"))
        << method;
    EXPECT_EQ(Rows(fromCompany.target(), "OCRN", "CurrCode, CurrName, ChkName, FrgnName"),
              Rows(fromFile.target(), "OCRN", "CurrCode, CurrName, ChkName, FrgnName"))
        << method;
    EXPECT_EQ(a.out.substr(a.out.find("Succeeded")), b.out.substr(b.out.find("Succeeded"))) << method;
  }
}

TEST(DuploraClient, SavedFileHasTheFormatsBytes) {
  DemoServerFixture server;
  const std::string file = (server.root() / "indexes.xml").string();
  const auto run = Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                             std::vector<std::string>{"--base", "DEMO_BASE", "--out", file,
                                                                      "--categories", kIndexes});
  ASSERT_EQ(run.code, 0) << run.err;
  std::ifstream in(file, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  ASSERT_GT(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  std::string text = dpx::Utf16LEBytesToUtf8(bytes.substr(2));
  text = std::regex_replace(text, std::regex("<creationDate>[^<]*</creationDate>"), "<creationDate>DATE</creationDate>");
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n<duploraConfigurationFile version=\"1.0\">\n<header>\n"
      "<configurationName>indexes.xml</configurationName>\n<dbVersion>930100</dbVersion>\n"
      "<localization>US</localization>\n<creationUser>manager</creationUser>\n<creationDate>DATE</creationDate>\n"
      "<additionalDescr></additionalDescr>\n<partialConfiguration>false</partialConfiguration>\n"
      "<backup>false</backup>\n<approval>false</approval>\n<copyMethod>1</copyMethod>\n<RTCF>0</RTCF>\n"
      "<FRFMUDF>false</FRFMUDF>\n</header>\n<body>\n<OBJECT string_id=\"DPX_TRN_INDEXES_100\"><table name=\"OIDX\">"
      "<BOM><BO><AdmInfo><Object>oRecordset</Object></AdmInfo><OIDX><row><IdexCode>CPI</IdexCode>"
      "<IndexName>Consumer prices</IndexName></row><row><IdexCode>B&amp;L</IdexCode><IndexName>Bread &amp; "
      "&lt;Loaf&gt;</IndexName></row><row><IdexCode>OWN</IdexCode><IndexName>Owner&apos;s index</IndexName></row>"
      "</OIDX></BO></BOM></table></OBJECT>\n</body>\n</duploraConfigurationFile>\n";
  EXPECT_EQ(text, expected);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(DuploraClient, RefusesToRunWithAClearMessage) {
  DemoServerFixture server;
  const std::vector<std::string> copyTo{"--base", "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "4"};
  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"copy", "--server", (server.root() / "none").string(), "--user", "manager", "--password", "manager",
        "--base", "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "4"},
       "no server"},
      {{"copy", "--server", server.serverDir().string(), "--user", "manager", "--password", "wrong", "--base",
        "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "4"},
       "cannot log on"},
      {{"copy", "--server", server.serverDir().string(), "--user", "clerk", "--password", "clerk", "--base",
        "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "4"},
       "not a superuser"},
      {std::vector<std::string>{"copy"} + Login(server) + copyTo + std::vector<std::string>{"--categories", "DPX_NOPE"},
       "unknown category key"},
      {std::vector<std::string>{"copy"} + Login(server) +
           std::vector<std::string>{"--base-file", (server.root() / "missing.xml").string(), "--target", "DEMO_TARGET",
                                    "--method", "4"},
       "cannot read the configuration file"},
      {std::vector<std::string>{"copy"} + Login(server) +
           std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "5"},
       "--method must be"},
      {std::vector<std::string>{"copy"} + Login(server) +
           std::vector<std::string>{"--base", "NO_SUCH_DB", "--target", "DEMO_TARGET", "--method", "4"},
       "has no company"},
  };
  for (const auto& c : cases) {
    const auto run = Client(server.root(), c.args);
    EXPECT_NE(run.code, 0) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}
