// duplora-client end to end: it logs on to a simulated server, copies or
// saves, and leaves the target's rows and a copy log behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <iterator>
#include <regex>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <set>

#include "engine/connection_context.h"
#include "engine/target_guard.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "tests/support/demo_server.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/small_disk.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet.h"
#include "worksheet/worksheet_manager.h"
#include "worksheet/worksheet_template_manager.h"

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

// A client started without waiting for it; Finish() waits and gives its run.
struct Started {
  pid_t pid = -1;
  std::filesystem::path outFile, errFile;
};

Started Start(const std::filesystem::path& scratch, const std::string& tag, const std::vector<std::string>& args,
              const std::vector<std::string>& extraEnvironment = {}) {
  Started started;
  started.outFile = scratch / (tag + ".out");
  started.errFile = scratch / (tag + ".err");
  const std::string program = (dpx::ProgramFolder() / "duplora-client").string();
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp;
  for (auto& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  std::vector<std::string> env(extraEnvironment);
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, started.outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, started.errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (posix_spawn(&started.pid, program.c_str(), &actions, nullptr, argp.data(), envp.data()) != 0) started.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return started;
}

Run Finish(const Started& started) {
  Run run;
  int status = 0;
  if (started.pid < 0 || ::waitpid(started.pid, &status, 0) != started.pid) return run;
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream out(started.outFile), err(started.errFile);
  run.out.assign(std::istreambuf_iterator<char>(out), {});
  run.err.assign(std::istreambuf_iterator<char>(err), {});
  return run;
}

// The settings' log folder of the demo server.
std::filesystem::path LogFolder(const DemoServerFixture& server) {
  return server.serverDir() / "Quillon_SHR" / "Duplora" / "Log files";
}

std::vector<std::string> Login(const DemoServerFixture& server, const std::string& serverDir = "") {
  return {"--server", serverDir.empty() ? server.serverDir().string() : serverDir, "--user", "manager", "--password",
          "manager"};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The rows of a query, each as "a|b|c".
std::vector<std::string> Selected(const std::shared_ptr<dpx::host::Company>& company, const std::string& sql) {
  std::vector<std::string> rows;
  for (const auto& row : company->store().query(sql).rows) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) line += (i ? "|" : "") + row[i].toText();
    rows.push_back(line);
  }
  return rows;
}

// The rows of a table, ordered, each as "a|b|c".
std::vector<std::string> Rows(const std::shared_ptr<dpx::host::Company>& company, const std::string& table,
                              const std::string& columns) {
  return Selected(company,
                  "SELECT " + columns + " FROM " + dpx::host::CompanyStore::Quote(table) + " ORDER BY 1");
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
const char* const kTransactionCodes = "DPX_TRN_TRANSACTIONCODES_100";

const char* const kEditedName = "Owner's & <edited> index";

// One picked index: the key that fetches it from a company, the same key for
// the rows of a configuration file, and an edited name when given.
DPX_SelectionObject PickedIndex(const std::string& code, const std::string& editedName = "") {
  DPX_SelectionObject pick;
  pick.addKeyField("IdexCode", code, "db_Alpha");
  pick.addSubsKeyField("IdexCode", code, "db_Alpha");
  if (!editedName.empty()) pick.addAdditionalDataField("IndexName", editedName, "db_Alpha");
  pick.setTableName("OIDX");
  return pick;
}

// A worksheet file as the desktop tool saves it, in the fixture's
// "worksheets" folder: base DEMO_BASE (or the configuration file `baseFile`),
// target DEMO_TARGET, copy method 3; of the indexes only CPI as it is and OWN
// with an edited name are picked, the transaction codes are selected whole.
// `change` may alter the worksheet before it is saved.
std::string WorksheetFile(const DemoServerFixture& server, const std::string& baseFile = "",
                          const std::function<void(DPX_Worksheet&)>& change = {}) {
  DPX_ConnectionContext maker;
  const auto base = server.base();
  const auto target = server.target();
  maker.setCompany(baseFile.empty() ? base : target);
  if (baseFile.empty()) maker.setBaseCompany(base);
  else maker.setBaseFile(baseFile);
  maker.setTargetCompany(target);
  maker.setCopyMethod(3);
  DPX_Worksheet ws;
  ws.setConnectionFields(maker);
  // The tree without any company: the companies hold none of the program's notes.
  DPX_ConnectionContext plain;
  DPX_WorksheetTemplateManager::getInstance(&plain).getWorksheetTemplate(ws);
  int found = 0;
  for (auto& node : ws.getNodes()) {
    if (node.getStringKey() == kIndexes) {
      node.setSelected(DPX_WorksheetNode::kSelectedPartly);
      node.addSelectionObject(PickedIndex("CPI"));
      node.addSelectionObject(PickedIndex("OWN", kEditedName));
      ++found;
    } else if (node.getStringKey() == kTransactionCodes) {
      node.setSelected(DPX_WorksheetNode::kSelectedWhole);
      ++found;
    }
  }
  EXPECT_EQ(found, 2);
  if (change) change(ws);
  const auto folder = server.root() / "worksheets";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "w.xml").string();
  EXPECT_EQ(DPX_WorksheetManager(&maker).saveWorksheet(ws, path), dpx::S_OK);
  DPX_WorksheetTemplateManager::getInstance(nullptr);  // holds no pointer to the maker
  return path;
}

bool Contains(const std::vector<std::string>& rows, const std::string& row) {
  return std::find(rows.begin(), rows.end(), row) != rows.end();
}

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
    // Replace All cannot remove the target's currencies that its own records use: those lines fail.
    ASSERT_TRUE(a.code == 0 || a.code == 3) << a.code << a.err;
    const std::string file = (fromFile.root() / "base.xml").string();
    auto save = Client(fromFile.root(), std::vector<std::string>{"save"} + Login(fromFile) +
                                            std::vector<std::string>{"--base", "DEMO_BASE", "--out", file} + categories);
    ASSERT_EQ(save.code, 0) << save.err;
    auto b = Client(fromFile.root(), std::vector<std::string>{"copy"} + Login(fromFile) +
                                         std::vector<std::string>{"--base-file", file} + target + categories);
    ASSERT_EQ(b.code, a.code) << b.err;
    EXPECT_EQ(Rows(fromCompany.target(), "OIDX", "IdexCode, IndexName"),
              Rows(fromFile.target(), "OIDX", "IdexCode, IndexName"))
        << method;
    EXPECT_EQ(Rows(fromCompany.target(), "OCRN", "CurrCode, CurrName, ChkName, FrgnName"),
              Rows(fromFile.target(), "OCRN", "CurrCode, CurrName, ChkName, FrgnName"))
        << method;
    EXPECT_EQ(a.out.substr(a.out.find("Succeeded")), b.out.substr(b.out.find("Succeeded"))) << method;
  }
}

// A user table of the base named to close its quoting and read the users'
// passwords; each dialect's save and copy leave it out with a line of its own.
TEST(DuploraClient, AUserTableNamedToReadThePasswordsIsLeftOutOfSaveAndCopy) {
  const std::string secret = "clerk-Secret-7391";
  const std::string hostile = "CARS] UNION SELECT USER_CODE, PASSWORD, NULL FROM OUSR --";
  for (int type : {2, 3, 5, 6}) {
    SCOPED_TRACE(type);
    DemoServerFixture server(type, false);
    for (const auto& company : {server.base(), server.target()}) {
      auto table = company->NewBusinessObject(153);
      table->SetProperty("TableName", dpx::Variant("CARS"));
      table->SetProperty("TableDescription", dpx::Variant("Cars"));
      table->SetProperty("TableType", dpx::Variant(0));
      ASSERT_EQ(table->Add(), 0) << company->GetLastErrorDescription();
      auto field = company->NewBusinessObject(152);
      field->SetProperty("TableName", dpx::Variant("@CARS"));
      field->SetProperty("Name", dpx::Variant("Color"));
      field->SetProperty("Description", dpx::Variant("Color"));
      ASSERT_EQ(field->Add(), 0) << company->GetLastErrorDescription();
      company->store().exec("UPDATE OUSR SET PASSWORD = ? WHERE USER_CODE = 'clerk'", {dpx::Variant(secret)});
    }
    server.base()->store().exec("INSERT INTO \"@CARS\" (Code, Name) VALUES ('V1', 'Van')");
    server.base()->store().exec("INSERT INTO OUTB (TableName, Descr, ObjectType) VALUES (?, 'x', '0')",
                                {dpx::Variant(hostile)});
    const std::vector<std::string> category{"--categories", "DPX_TRN_UDTCONT_100"};

    const std::string file = (server.root() / "saved.xml").string();
    const auto save = Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                                std::vector<std::string>{"--base", "DEMO_BASE", "--out", file} +
                                                category);
    std::ifstream in(file, std::ios::binary);
    const std::string saved = dpx::Utf16LEBytesToUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
    EXPECT_NE(saved.find("<Code>V1</Code>"), std::string::npos) << save.code << save.err << saved;
    EXPECT_EQ(saved.find(secret), std::string::npos) << saved;
    EXPECT_EQ((save.out + save.err).find(secret), std::string::npos);

    const auto copy = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                                std::vector<std::string>{"--base", "DEMO_BASE", "--target",
                                                                         "DEMO_TARGET", "--method", "4"} +
                                                category);
    const std::string log = LogPath(copy.out);
    ASSERT_FALSE(log.empty()) << copy.out << copy.err;
    size_t refused = 0;
    for (const std::string& line : LogLines(log)) {
      EXPECT_EQ(line.find(secret), std::string::npos) << line;
      if (line.find("|403|@" + hostile + "|") != std::string::npos) ++refused;
    }
    EXPECT_EQ(refused, 1u);
    EXPECT_EQ(Rows(server.target(), "@CARS", "Code, Name"), std::vector<std::string>{"V1|Van"});
    EXPECT_EQ(Selected(server.target(), "SELECT PASSWORD FROM OUSR WHERE USER_CODE = 'clerk'"),
              std::vector<std::string>{secret});
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

// Copies the categories from the demo base into the demo target by the method.
Run CopyDemoCategories(DemoServerFixture& server, const std::vector<std::string>& keys, int method) {
  std::string list;
  for (const auto& key : keys) list += (list.empty() ? "" : ",") + key;
  return Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                   std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET",
                                                            "--method", std::to_string(method), "--categories", list});
}

// Every category has a line in the copy log, and every line succeeded.
void ExpectEveryLineSucceeded(const std::string& clientOutput, const std::vector<std::string>& keys) {
  const auto lines = LogLines(LogPath(clientOutput));
  for (const auto& key : keys) {
    int count = 0;
    for (const auto& line : lines)
      if (line.rfind(key + "|", 0) == 0) {
        ++count;
        EXPECT_NE(line.find("|402|"), std::string::npos) << line;
      }
    EXPECT_GE(count, 1) << key;
  }
}

// The settings categories copy the demo base's settings into the demo
// target: one line each (the print-on-add rows one per row), all succeeded.
TEST(DuploraClient, CopiesTheSettingsCategories) {
  const std::vector<std::string> keys = {"DPX_TRN_CMPDSPSETTINGS_100",  "DPX_TRN_CMPDETAILS_100",
                                         "DPX_TRN_GENERALSETTINGS_100", "DPX_TRN_DOCSETTINGS_100",
                                         "DPX_TRN_PRTONADDSETTINGS_100", "DPX_TRN_COASETTINGS_100"};
  struct Case {
    int method;
    std::vector<std::string> printRows;  // the target's ADP1 afterwards
  } cases[] = {{1, {"13|Y", "17|N", "22|Y"}}, {2, {"13|Y", "15|Y"}}, {4, {"13|Y", "15|Y", "17|N", "22|Y"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    DemoServerFixture server;
    const auto run = CopyDemoCategories(server, keys, c.method);
    ASSERT_EQ(run.code, 0) << run.err << run.out;
    const auto target = server.target();
    // Payment terms "Net 30" are 3 in the base and 7 in the target; "none" stays.
    EXPECT_EQ(Rows(target, "OADM",
                   "CompnyName, CompnyAddr, DefaultCustomerPaymentTerms, DefaultVendorPaymentTerms, DateTemplate, "
                   "PriceListforCostPrice, BlockBudget"),
              (std::vector<std::string>{"Demo Base Ltd.|Target Road 7|7|-1|2|2|2"}));
    EXPECT_EQ(Rows(target, "CINF", "BlockStockNegativeQuantity, EnableBillOfExchange, IFNULL(BISRBankNo, '')"),
              (std::vector<std::string>{"1|1|"}));
    EXPECT_EQ(Rows(target, "OADP", "WordPath, MaxLineNum, IFNULL(MaxWordLin, 'NULL')"),
              (std::vector<std::string>{"C:\\Owner's & <Docs>|60|NULL"}));
    EXPECT_EQ(Rows(target, "ADP1", "ObjType, PrintId"), c.printRows);
    EXPECT_EQ(Rows(target, "OHLD", "HldCode, WndFrm"),
              (std::vector<std::string>{"2026|7", "O'Brien & <Co>|6", "Target only|7"}));
    // The Christmas period with a later end date stands beside the target's.
    EXPECT_EQ(Rows(target, "HLD1", "Rmrks"), (std::vector<std::string>{"Christmas", "Christmas", "New Year"}));
    EXPECT_EQ(Rows(target, "ADM1", "Code, Street"),
              (std::vector<std::string>{"1|1 O'Neil & <Main> Street", "5|Target Lane"}));
    ExpectEveryLineSucceeded(run.out, keys);
  }
}

// The master-data categories copy the demo base's partners, item groups,
// warehouses, items and credit-card set-up into the demo target: every
// reference arrives under the target's key, every line succeeded.
TEST(DuploraClient, CopiesTheMasterDataCategories) {
  const std::vector<std::string> keys = {"DPX_TRN_ITEMGROUPS_100",      "DPX_TRN_CCPAYMENTS_100",
                                         "DPX_TRN_CCPAYMNTMETHODS_100", "DPX_TRN_BPGENERALINFO_100",
                                         "DPX_TRN_WAREHOUSES_100",      "DPX_TRN_ITEMSLEAF_100"};
  const std::string child = "A100|Child of P|927|7|3|P100";
  const std::string parent = "P100|O'Brien Parent|927|7|3|";
  const std::string vendor = "V300|Base-only vendor|931|||";
  const std::string lead = "L400|A lead||||";
  const std::string same = "C200|Same code & <name>|930|1|1|";
  const std::string targetOnly = "T900|Target-only|931|||";
  struct Case {
    int method;
    std::vector<std::string> partners;  // the target's OCRD afterwards
  } cases[] = {{1, {child, same, lead, parent, vendor}},
               {2, {same, targetOnly}},
               {3, {child, "C200|Other name in target|930|1|1|", lead, parent, targetOnly, vendor}},
               {4, {child, same, lead, parent, targetOnly, vendor}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    DemoServerFixture server;
    const auto run = CopyDemoCategories(server, keys, c.method);
    ASSERT_EQ(run.code, 0) << run.err << run.out;
    const auto target = server.target();
    // Groups, payment terms and price lists arrive under the target's keys; the parent before its child.
    EXPECT_EQ(Rows(target, "OCRD",
                   "CardCode, CardName, IFNULL(GroupCode, ''), IFNULL(GroupNum, ''), IFNULL(ListNum, ''), "
                   "IFNULL(FatherCard, '')"),
              c.partners);
    // The location "Main" is 3 in the target; the base's rack has no location there.
    if (c.method != 3) {
      EXPECT_EQ(Rows(target, "OWHS", "WhsCode, WhsName, IFNULL(Location, '')").front(), "01|General|3");
    }
    EXPECT_EQ(Rows(target, "OLCT", "Code, Location"), (std::vector<std::string>{"1|Target only", "3|Main"}));
    ExpectEveryLineSucceeded(run.out, keys);
  }
}

// Prices, catalog numbers, discount groups and alternative items follow the
// partners and items they name into the demo target; price lists and the
// objects of discount groups arrive under the target's keys of the same name.
TEST(DuploraClient, CopiesThePricesAndDiscounts) {
  const std::vector<std::string> keys = {
      "DPX_TRN_ITEMGROUPS_100",       "DPX_TRN_BPGENERALINFO_100",    "DPX_TRN_ITEMSLEAF_100",
      "DPX_TRN_BPCATALOGNUMBERS_100", "DPX_TRN_ALTERNATIVEITEMS_100", "DPX_TRN_PRICELISTSLEAF_100",
      "DPX_TRN_SPECIALPRICESBP_100",  "DPX_TRN_PRICEHIERARCHIES_100", "DPX_TRN_DISCOUNTGROUPS_100"};
  struct Case {
    int method;
    std::vector<std::string> prices, special, discounts, catalog;
  } cases[] = {
      // Replace All numbers the item groups anew: "Tools & <Parts>" is 1 then.
      {1, {"I001|1|12", "I001|3|10", "I002|3|50"}, {"I001|*1|3", "I001|C200|3", "I002|A100|1"},
       {"C200|43|2", "C200|52|1", "C200|52|555", "C200|8|4", "C200|99|7"}, {"I001|C200|C-1", "I001|C200|C-1 O'Neil & <alt>"}},
      {2, {"I001|1|12", "I001|3|10"}, {"I001|*1|3", "I001|*2|3", "I001|C200|3"}, {"C200|52|107"}, {"I001|C200|C-1"}},
      {3, {"I001|1|99", "I001|3|8", "I002|3|50"}, {"I001|*1|3", "I001|*2|3", "I001|C200|1", "I002|A100|1"},
       {"C200|43|2", "C200|52|107", "C200|52|555", "C200|8|4", "C200|99|7"}, {"I001|C200|C-1", "I001|C200|C-1 O'Neil & <alt>"}},
      {4, {"I001|1|12", "I001|3|10", "I002|3|50"}, {"I001|*1|3", "I001|*2|3", "I001|C200|3", "I002|A100|1"},
       {"C200|43|2", "C200|52|107", "C200|52|555", "C200|8|4", "C200|99|7"}, {"I001|C200|C-1", "I001|C200|C-1 O'Neil & <alt>"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    DemoServerFixture server;
    const auto run = CopyDemoCategories(server, keys, c.method);
    ASSERT_EQ(run.code, 0) << run.err << run.out;
    const auto target = server.target();
    EXPECT_EQ(Rows(target, "ITM1", "ItemCode, PriceList, Price"), c.prices);
    EXPECT_EQ(Rows(target, "OSPP", "ItemCode, CardCode, ListNum"), c.special);
    EXPECT_EQ(Rows(target, "OSPG", "CardCode, ObjType, ObjKey"), c.discounts);
    EXPECT_EQ(Rows(target, "OSCN", "ItemCode, CardCode, Substitute"), c.catalog);
    // The group discount names the target's "Tools & <Parts>", whatever its key.
    const auto group = target->store().query(
        "SELECT COUNT(*) FROM OSPG d JOIN OITB g ON g.ItmsGrpCod = d.ObjKey "
        "WHERE d.ObjType = '52' AND g.ItmsGrpNam = 'Tools & <Parts>'");
    EXPECT_EQ(group.rows.at(0).at(0).toInt64(), 1);
    // Method 2 leaves the alternatives alone, method 3 the hierarchy both have: no line, and no failed one.
    for (const auto& line : LogLines(LogPath(run.out)))
      if (line.rfind("DPX_TRN_", 0) == 0) {
        EXPECT_EQ(line.find("|403|"), std::string::npos) << line;
      }
  }
}

TEST(DuploraClientWorksheet, CopiesThePickedRecordsWithTheirEditedValues) {
  struct Case {
    const char* name;
    bool fileBase;
    std::vector<std::string> method;
    // An existing record is updated (and logged) only by method 4.
    const char* cpiInTarget;
    int indexLines;
    // The worksheet's name of the server folder is matched to --server by
    // folder, not by spelling.
    bool serverSpelledOtherwise = false;
  } cases[] = {
      {"company base, the worksheet's method 3", false, {}, "CPI|Consumer price index", 1},
      {"company base, --method 4", false, {"--method", "4"}, "CPI|Consumer prices", 2},
      {"configuration file base, --method 4", true, {"--method", "4"}, "CPI|Consumer prices", 2},
      {"company base, --server spelled otherwise", false, {"--method", "4"}, "CPI|Consumer prices", 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DemoServerFixture server;
    std::string baseFile;
    if (c.fileBase) {
      std::filesystem::create_directories(server.root() / "configs");
      baseFile = (server.root() / "configs" / "base.xml").string();
      const auto save = Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                                  std::vector<std::string>{"--base", "DEMO_BASE", "--out", baseFile,
                                                                           "--categories",
                                                                           std::string(kIndexes) + "," +
                                                                               kTransactionCodes});
      ASSERT_EQ(save.code, 0) << save.err;
    }
    const std::string worksheet = WorksheetFile(server, baseFile);
    const std::string serverDir =
        c.serverSpelledOtherwise ? (server.serverDir() / ".." / server.serverDir().filename()).string() : "";
    const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server, serverDir) +
                                               std::vector<std::string>{"--worksheet", worksheet} + c.method);
    ASSERT_EQ(run.code, 0) << run.err;

    // Only the picked indexes arrive, the edited one with its edit; the
    // target's own rows stay.
    EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"),
              (std::vector<std::string>{c.cpiInTarget, std::string("OWN|") + kEditedName, "TGT|Target only"}));
    // The base keeps its own name.
    EXPECT_TRUE(Contains(Rows(server.base(), "OIDX", "IdexCode, IndexName"), "OWN|Owner's index"));
    // A category selected whole arrives whole.
    const auto codes = Rows(server.target(), "OTRC", "TrnsCode, TrnsCodDsc");
    EXPECT_TRUE(Contains(codes, "ADJ|Year's adjustment")) << ::testing::PrintToString(codes);
    EXPECT_TRUE(Contains(codes, "R&D|Research & <Development>")) << ::testing::PrintToString(codes);

    const std::string log = LogPath(run.out);
    ASSERT_FALSE(log.empty()) << run.out;
    const auto lines = LogLines(log);
    int indexLines = 0;
    for (const auto& line : lines) indexLines += line.rfind(std::string(kIndexes) + "|", 0) == 0;
    EXPECT_EQ(indexLines, c.indexLines) << ::testing::PrintToString(lines);
    EXPECT_EQ(run.err, "");
  }
}

TEST(DuploraClientWorksheet, SaveWritesOnlyThePickedRecordsWithTheirEdits) {
  DemoServerFixture server;
  const std::string worksheet = WorksheetFile(server);
  const std::string file = (server.root() / "picked.xml").string();
  const auto run = Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                             std::vector<std::string>{"--worksheet", worksheet, "--out", file});
  ASSERT_EQ(run.code, 0) << run.err;
  std::ifstream in(file, std::ios::binary);
  const std::string text = dpx::Utf16LEBytesToUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
  EXPECT_NE(text.find("<IdexCode>CPI</IdexCode><IndexName>Consumer prices</IndexName>"), std::string::npos) << text;
  EXPECT_NE(text.find("<IdexCode>OWN</IdexCode><IndexName>Owner&apos;s &amp; &lt;edited&gt; index</IndexName>"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("B&amp;L"), std::string::npos) << text;
  EXPECT_NE(text.find("<TrnsCode>ADJ</TrnsCode>"), std::string::npos) << text;
  // The target company was not written.
  EXPECT_FALSE(Contains(Rows(server.target(), "OIDX", "IdexCode"), "OWN"));
}

TEST(DuploraClientWorksheet, RefusesAWorksheetItCannotUseWithAClearMessage) {
  DemoServerFixture server;
  const auto scratch = server.root() / "scratch";
  std::filesystem::create_directories(scratch);
  const std::string garbage = (scratch / "garbage.xml").string();
  std::ofstream(garbage) << "this is no worksheet";
  auto saved = [&](const std::string& name, const std::function<void(DPX_Worksheet&)>& change) {
    const std::string path = (scratch / name).string();
    std::filesystem::rename(WorksheetFile(server, "", change), path);
    return path;
  };
  const std::string noTarget = saved("no-target.xml", [](DPX_Worksheet& ws) { ws.setTargetDB(""); });
  const std::string unknownBase = saved("unknown-base.xml", [](DPX_Worksheet& ws) { ws.setSourceDB("NO_SUCH_DB"); });
  const std::string unknownTarget =
      saved("unknown-target.xml", [](DPX_Worksheet& ws) { ws.setTargetDB("NO_SUCH_DB"); });
  const std::string sameCompany = saved("same.xml", [](DPX_Worksheet& ws) { ws.setTargetDB("DEMO_BASE"); });
  const std::string noMethod = saved("no-method.xml", [](DPX_Worksheet& ws) { ws.setCopyMethod(-1); });
  const std::string otherServer = saved("other-server.xml", [&](DPX_Worksheet& ws) {
    ws.setTargetServer((server.root() / "elsewhere").string());
  });
  const std::string unknownLeaf = saved("unknown-leaf.xml", [](DPX_Worksheet& ws) {
    DPX_WorksheetNode node;
    node.setElementName("category");
    node.setLeafId("9.9.9");
    node.setStringKey(kIndexes);
    node.setIsLeaf(true);
    ws.getNodes().push_back(node);
  });
  const std::string doctype = (scratch / "doctype.xml").string();
  std::ofstream(doctype) << "<?xml version=\"1.0\"?>\n<!DOCTYPE twinlyWorksheet>\n<twinlyWorksheet/>";
  const std::string missingBase = (scratch / "missing-base.xml").string();
  std::filesystem::rename(WorksheetFile(server, (server.root() / "configs" / "gone.xml").string()), missingBase);
  const std::string good = WorksheetFile(server);

  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"copy", "--worksheet", (scratch / "missing.xml").string()}, "cannot read the worksheet file"},
      {{"copy", "--worksheet", garbage}, "is not a readable worksheet: line 1, column 1: "},
      {{"copy", "--worksheet", doctype},
       "is not a readable worksheet: line 2, column 27: the file holds a document type declaration (DOCTYPE)"},
      {{"copy", "--worksheet", unknownLeaf},
       "could not be opened: it holds the unknown leaf id 9.9.9, which the program's category tree does not have"},
      {{"copy", "--worksheet", noTarget}, "names no target company"},
      {{"copy", "--worksheet", unknownBase}, "has no company 'NO_SUCH_DB'"},
      {{"copy", "--worksheet", unknownTarget}, "has no company 'NO_SUCH_DB'"},
      {{"copy", "--worksheet", sameCompany}, "as both base and target"},
      {{"copy", "--worksheet", noMethod}, "give --method"},
      {{"copy", "--worksheet", otherServer}, "is on the server"},
      {{"copy", "--worksheet", missingBase}, "could not be opened"},
      {{"copy", "--worksheet", good, "--base", "DEMO_BASE"}, "give no --base"},
      {{"copy", "--worksheet", good, "--categories", kIndexes}, "give no --base"},
      {{"save", "--worksheet", good}, "missing --out"},
  };
  for (const auto& c : cases) {
    auto args = c.args;
    const auto login = Login(server);
    args.insert(args.begin() + 1, login.begin(), login.end());
    const auto run = Client(server.root(), args);
    EXPECT_NE(run.code, 0) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.message << ": " << run.err;
    // A refusal is an orderly end, also under the sanitizers.
    EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
  }
  // Nothing of the refused worksheets reached the target.
  EXPECT_FALSE(Contains(Rows(server.target(), "OIDX", "IdexCode"), "OWN"));
}

// A save that cannot read a category names it, writes the rest and ends
// with 3; when it could read nothing of the selection it ends with 1.
TEST(DuploraClient, ASaveThatCannotReadACategoryNamesItInItsStatus) {
  DemoServerFixture server;
  server.base()->store().exec("ALTER TABLE OIDX RENAME TO OIDX_GONE");
  const std::string file = (server.root() / "saved.xml").string();
  auto save = [&](const std::string& categories) {
    return Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                     std::vector<std::string>{"--base", "DEMO_BASE", "--out", file, "--categories",
                                                              categories});
  };
  const auto some = save(std::string(kIndexes) + "," + kTransactionCodes);
  EXPECT_EQ(some.code, 3) << some.err;
  EXPECT_NE(some.err.find(std::string("The category ") + kIndexes + " could not be read from the base company"),
            std::string::npos)
      << some.err;
  std::ifstream in(file, std::ios::binary);
  const std::string text = dpx::Utf16LEBytesToUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
  EXPECT_NE(text.find("<TrnsCode>ADJ</TrnsCode>"), std::string::npos) << text;
  EXPECT_EQ(text.find(kIndexes), std::string::npos) << text;

  const auto none = save(kIndexes);
  EXPECT_EQ(none.code, 1) << none.err;
  EXPECT_NE(none.err.find(kIndexes), std::string::npos) << none.err;
}

// The base's indexes saved by the client as configs/base.xml of the fixture.
std::string SavedIndexes(const DemoServerFixture& server) {
  std::filesystem::create_directories(server.root() / "configs");
  const std::string file = (server.root() / "configs" / "base.xml").string();
  const auto save = Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                              std::vector<std::string>{"--base", "DEMO_BASE", "--out", file,
                                                                       "--categories", kIndexes});
  EXPECT_EQ(save.code, 0) << save.err;
  return file;
}

// A worksheet that picks a record the base no longer has copies the others
// and gives the missing one a failed line.
TEST(DuploraClientWorksheet, APickTheBaseNoLongerHasGetsAFailedLine) {
  for (bool fileBase : {false, true}) {
    SCOPED_TRACE(fileBase ? "configuration file base" : "company base");
    DemoServerFixture server;
    const std::string baseFile = fileBase ? SavedIndexes(server) : "";
    const std::string worksheet = WorksheetFile(server, baseFile, [](DPX_Worksheet& ws) {
      for (auto& node : ws.getNodes())
        if (node.getStringKey() == kIndexes) node.addSelectionObject(PickedIndex("GONE"));
    });
    const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                               std::vector<std::string>{"--worksheet", worksheet, "--method", "4"});
    EXPECT_EQ(run.code, 3) << run.err;
    EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"),
              (std::vector<std::string>{"CPI|Consumer prices", std::string("OWN|") + kEditedName, "TGT|Target only"}));
    int missing = 0;
    for (const auto& line : LogLines(LogPath(run.out)))
      missing += line.rfind(std::string(kIndexes) + "|", 0) == 0 && line.find("|403|") != std::string::npos &&
                 line.find("IdexCode = 'GONE' is not in the base") != std::string::npos;
    EXPECT_EQ(missing, 1) << run.err;
  }
}

TEST(DuploraClient, ExitStatusTellsHowTheCopyWent) {
  DemoServerFixture server;
  const std::vector<std::string> copy =
      std::vector<std::string>{"copy"} + Login(server) +
      std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "1", "--categories"};
  const auto help = Client(server.root(), {"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out.rfind("usage:", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("exit status"), std::string::npos);
  const auto empty = Client(server.root(), copy + std::vector<std::string>{""});
  EXPECT_EQ(empty.code, 1);
  EXPECT_NE(empty.err.find("--categories names no category"), std::string::npos) << empty.err;
  const auto wrong = Client(server.root(), {"copy", "--nonsense", "x"});
  EXPECT_EQ(wrong.code, 1);

  // Every line succeeded: 0, with the method and where it came from.
  const auto indexes = Client(server.root(), copy + std::vector<std::string>{kIndexes});
  EXPECT_EQ(indexes.code, 0) << indexes.err;
  EXPECT_NE(indexes.out.find("Copy method: 1 Replace All (from the command line)\n"), std::string::npos)
      << indexes.out;
  // Replace All cannot remove the target's currencies that its own records use: 3.
  const auto currencies = Client(server.root(), copy + std::vector<std::string>{kCurrencies});
  EXPECT_EQ(currencies.code, 3) << currencies.err;
  EXPECT_EQ(currencies.out.find("Failed: 0\n"), std::string::npos) << currencies.out;

  // A base that cannot be read: 1, and no copy log.
  const auto logs = std::distance(std::filesystem::directory_iterator(LogFolder(server)), {});
  const std::string garbage = (server.root() / "garbage.xml").string();
  std::ofstream(garbage) << "this is no configuration file";
  const auto unreadable = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                                    std::vector<std::string>{"--base-file", garbage, "--target",
                                                                             "DEMO_TARGET", "--method", "4"});
  EXPECT_EQ(unreadable.code, 1);
  EXPECT_EQ(LogPath(unreadable.out), "") << unreadable.out;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(LogFolder(server)), {}), logs);
}

TEST(DuploraClientWorksheet, ReplaceAllRunsOnlyWhenTheCommandLineAsksForIt) {
  DemoServerFixture server;
  std::filesystem::create_directories(server.root() / "configs");
  const std::string baseFile = (server.root() / "configs" / "base.xml").string();
  // A save writes the settings' method, Replace All, into the file's header.
  const auto save = Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                              std::vector<std::string>{"--base", "DEMO_BASE", "--out", baseFile,
                                                                       "--categories", kIndexes});
  ASSERT_EQ(save.code, 0) << save.err;
  const std::string worksheet = WorksheetFile(server, baseFile);
  const auto before = Rows(server.target(), "OIDX", "IdexCode, IndexName");

  const auto refused = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                                 std::vector<std::string>{"--worksheet", worksheet});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("Replace All comes from the configuration file's header"), std::string::npos)
      << refused.err;
  EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"), before);
  EXPECT_EQ(LogPath(refused.out), "");

  const auto asked = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                               std::vector<std::string>{"--worksheet", worksheet, "--method", "1"});
  EXPECT_EQ(asked.code, 0) << asked.err;
  EXPECT_NE(asked.out.find("Copy method: 1 Replace All (from the command line)\n"), std::string::npos) << asked.out;
  EXPECT_FALSE(Contains(Rows(server.target(), "OIDX", "IdexCode"), "TGT"));  // the target's own index went

  // A worksheet over a company gives its own method.
  DemoServerFixture other;
  const auto own = Client(other.root(), std::vector<std::string>{"copy"} + Login(other) +
                                            std::vector<std::string>{"--worksheet", WorksheetFile(other)});
  EXPECT_EQ(own.code, 0) << own.err;
  EXPECT_NE(own.out.find("Copy method: 3 Add new records without updating existing records (from the worksheet)\n"),
            std::string::npos)
      << own.out;
}

namespace {

// Holds the write lock of a company database from another connection, as
// another program would, until released.
class HeldCompany {
 public:
  explicit HeldCompany(std::shared_ptr<dpx::host::Company> company) : company_(std::move(company)) {
    company_->StartTransaction();
    company_->store().exec("UPDATE OADM SET CompnyName = CompnyName");
  }
  ~HeldCompany() { release(); }
  void release() {
    if (company_->InTransaction()) company_->EndTransaction(dpx::host::kEndRollback);
  }

 private:
  std::shared_ptr<dpx::host::Company> company_;
};

std::vector<std::filesystem::path> LogFiles(const DemoServerFixture& server) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  // The program's own log lies beside the copy logs; it is none of them.
  for (const auto& entry : std::filesystem::directory_iterator(LogFolder(server), ec))
    if (entry.path().filename() != "duplora.log") files.push_back(entry.path());
  return files;
}

std::vector<std::string> ReplaceIndexes(const DemoServerFixture& server) {
  return std::vector<std::string>{"copy"} + Login(server) +
         std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "1", "--categories",
                                  kIndexes};
}

}  // namespace

namespace {

// The last line a run printed on stderr.
std::string LastLine(const std::string& text) {
  std::string t = text;
  while (!t.empty() && t.back() == '\n') t.pop_back();
  const size_t nl = t.rfind('\n');
  return nl == std::string::npos ? t : t.substr(nl + 1);
}

// A configuration file of the indexes category with the given body (the
// "<OBJECT>" elements), as a save writes it.
std::string IndexesFile(const std::string& body, const std::string& doctype = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>\n" + doctype +
         "<duploraConfigurationFile version=\"1.0\">\n<header>\n<configurationName>h.xml</configurationName>\n"
         "</header>\n<body>\n" + body + "</body>\n</duploraConfigurationFile>\n";
}

std::string IndexesObject(const std::string& rows, const std::string& extraTables = "",
                          const std::string& key = kIndexes) {
  return "<OBJECT string_id=\"" + key + "\">" + extraTables +
         "<table name=\"OIDX\"><BOM><BO><AdmInfo><Object>oRecordset</Object></AdmInfo><OIDX>" + rows +
         "</OIDX></BO></BOM></table></OBJECT>\n";
}

std::string IndexRow(const std::string& code, const std::string& name) {
  return "<row><IdexCode>" + code + "</IdexCode><IndexName>" + name + "</IndexName></row>";
}

}  // namespace

// The records of a base file wait in a temporary file while it is read; a
// disk that cannot take them all ends a save with a message naming the base
// file, and no file is written.
TEST(DuploraClientWorksheet, ASaveWhoseBaseRecordsCannotBeKeptSaysWhy) {
  DemoServerFixture server;
  // Records enough that a limit just under them leaves the server's own
  // files room to work.
  std::string rows = IndexRow("CPI", "Consumer price index") + IndexRow("OWN", "Owner's index");
  for (int i = 0; i < 30000; ++i) rows += IndexRow("X" + std::to_string(i), std::string(40, 'n'));
  std::filesystem::create_directories(server.root() / "configs");
  const auto baseFile = server.root() / "configs" / "base.xml";
  ASSERT_TRUE(dpx::WriteUtf16File(baseFile, IndexesFile(IndexesObject(rows)), true));
  uint64_t kept = 0;  // the records' bytes as the reader keeps them
  {
    DPX_ConnectionContext context;
    DPX_ConfigurationManager reader(&context);
    DPX_Worksheet ws;
    ASSERT_EQ(reader.readConfigurationFile(ws, baseFile.string()), dpx::S_OK);
    for (const auto& object : reader.objects())
      for (const auto& table : object.tables) kept = std::max(kept, table.offset + table.length);
  }
  const std::string worksheet = WorksheetFile(server, baseFile.string());
  const std::string out = (server.root() / "out.xml").string();
  Started started;
  {
    // One byte short: the last records fail only when the temporary file's
    // buffer is written out, after every write before them succeeded.
    dpx::test::FileSizeLimit full(kept - 1);
    started = Start(server.root(), "save",
                    std::vector<std::string>{"save"} + Login(server) +
                        std::vector<std::string>{"--worksheet", worksheet, "--out", out});
  }
  const auto run = Finish(started);
  EXPECT_EQ(run.code, 1) << run.err;
  // The worksheet opens its base first: that read names the reason.
  EXPECT_NE(run.err.find("the temporary folder has no room for the records of '" + baseFile.string() + "'"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(run.err.find("cannot be read back"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(DuploraClientTarget, TwoCopiesStartedTogetherIntoOneTargetRunOnce) {
  DemoServerFixture server;
  // The program's tables are set up in the base by a save first: that
  // set-up is no part of the copies.
  ASSERT_EQ(Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                      std::vector<std::string>{"--base", "DEMO_BASE", "--out",
                                                               (server.root() / "setup.xml").string(), "--categories",
                                                               kIndexes})
                .code,
            0);
  // The target's database is held, so that whichever copy locks the target
  // first waits, still under way, when the other one asks. It is let go
  // once the other one ended, and before the waiting copy gives up on it.
  HeldCompany held(server.target());
  const Started first = Start(server.root(), "first", ReplaceIndexes(server));
  const Started second = Start(server.root(), "second", ReplaceIndexes(server));
  const auto lockFile = DPX_TargetGuard::LockFile(*server.target());
  auto holder = [&] {
    std::ifstream in(lockFile);
    std::string text;
    std::getline(in, text);
    return text;
  };
  for (int i = 0; i < 1200 && holder().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  auto ended = [](pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
  };
  const auto taken = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - taken < std::chrono::seconds(4) && !ended(first.pid) &&
         !ended(second.pid))
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  held.release();
  const auto a = Finish(first), b = Finish(second);
  const auto& refused = a.code == 0 ? b : a;
  const auto& ran = a.code == 0 ? a : b;
  EXPECT_EQ(ran.code, 0) << ran.err;
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("another copy into the target company 'DEMO_TARGET' is under way"), std::string::npos)
      << refused.err;
  EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"), Rows(server.base(), "OIDX", "IdexCode, IndexName"));
  EXPECT_EQ(LogFiles(server).size(), 1u);  // the refused copy left no log

  // The lock ends with the copy: a later one runs.
  EXPECT_EQ(Client(server.root(), ReplaceIndexes(server)).code, 0);
  // A lock held by this process refuses the client too.
  DPX_TargetGuard guard(server.target());
  std::string error;
  ASSERT_TRUE(guard.lock(error)) << error;
  const auto locked = Client(server.root(), ReplaceIndexes(server));
  EXPECT_EQ(locked.code, 1);
  EXPECT_NE(locked.err.find("(process " + std::to_string(::getpid()) + ")"), std::string::npos) << locked.err;
}

// The program's tables are set up in a company by one client at a time: the
// others wait for it, then find them made.
TEST(DuploraClientTarget, ClientsStartedTogetherSetUpTheProgramsTablesOnce) {
  DemoServerFixture server;
  std::vector<Started> started;
  for (int i = 0; i < 4; ++i) {
    const std::string tag = "setup" + std::to_string(i);
    started.push_back(Start(server.root(), tag,
                            std::vector<std::string>{"save"} + Login(server) +
                                std::vector<std::string>{"--base", "DEMO_BASE", "--out",
                                                         (server.root() / (tag + ".xml")).string(), "--categories",
                                                         kIndexes}));
  }
  for (const auto& client : started) {
    const auto run = Finish(client);
    EXPECT_EQ(run.code, 0) << run.err;
  }
  EXPECT_EQ(Rows(server.base(), "@DPXUDTV", "U_State"), std::vector<std::string>{"C"});
  EXPECT_EQ(Rows(server.base(), "@DPXNOTE", "U_ID").size(), 30u);
}

TEST(DuploraClientTarget, ATargetLockedByAnotherConnectionStopsTheCopy) {
  DemoServerFixture server;
  const auto before = Rows(server.target(), "OIDX", "IdexCode, IndexName");
  HeldCompany held(server.target());
  const auto run = Client(server.root(), ReplaceIndexes(server));
  held.release();
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("The target company 'DEMO_TARGET' cannot be written (The company database DEMO_TARGET is "
                         "locked by another connection)"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"), before);
  const auto lines = LogLines(LogPath(run.out));
  ASSERT_EQ(lines.size(), 3u) << run.out;
  EXPECT_NE(lines[1].find("|403|"), std::string::npos);
  EXPECT_NE(lines[1].find("the copy stopped here"), std::string::npos) << lines[1];
  EXPECT_EQ(lines[2].rfind("<DPX_LOG_END>", 0), 0u);
}

namespace {

constexpr int kManyIndexes = 6000;

// The base gets kManyIndexes more indexes, "X1" to "X6000".
void AddManyIndexes(const DemoServerFixture& server) {
  server.base()->store().execScript(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(kManyIndexes) +
      ") INSERT INTO OIDX (IdexCode, IndexName) SELECT 'X' || i, 'Index number ' || i FROM n");
}

std::vector<std::string> AddIndexes(const DemoServerFixture& server) {
  return std::vector<std::string>{"copy"} + Login(server) +
         std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "4", "--categories",
                                  kIndexes};
}

// What a copy of the many indexes left: the target's X indexes and the log's
// lines, which must tell the same. Every line is whole, and the log has its
// end marker.
struct LeftByCopy {
  std::set<std::string> inTarget;   // codes of the target's X indexes
  std::set<std::string> succeeded;  // codes of the X lines "402"
  std::vector<std::string> failed;  // the "403" lines
};

LeftByCopy CheckLeftByCopy(const DemoServerFixture& server, const std::string& log) {
  LeftByCopy left;
  for (const auto& row : Rows(server.target(), "OIDX", "IdexCode"))
    if (row.rfind("X", 0) == 0) left.inTarget.insert(row);
  const auto lines = LogLines(log);
  EXPECT_GE(lines.size(), 2u);
  if (lines.size() < 2) return left;
  EXPECT_EQ(lines.back().rfind("<DPX_LOG_END>", 0), 0u) << lines.back();
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 8) << line;
    std::vector<std::string> columns(1);
    for (char c : line) {
      if (c == '|') columns.emplace_back();
      else columns.back() += c;
    }
    if (columns.size() < 4) continue;
    if (columns[2] == "403") left.failed.push_back(line);
    else if (columns[2] == "402" && columns[3].rfind("X", 0) == 0) left.succeeded.insert(columns[3]);
  }
  return left;
}

}  // namespace

// A target whose disk fills during the copy stops it at the first record the
// disk refuses, with one line saying why, instead of failing every record
// after it; what the target holds is what the log says succeeded.
TEST(DuploraClientTarget, AFullTargetDiskStopsTheCopyAtTheFirstRefusedWrite) {
  DemoServerFixture server;
  AddManyIndexes(server);
  const auto companyFile = server.serverDir() / "DEMO_TARGET.company";
  dpx::test::SmallDisk disk(server.root() / "disk", std::filesystem::file_size(companyFile) + (1u << 20));
  if (!disk.mounted()) GTEST_SKIP() << disk.why();
  disk.moveOnto(companyFile);
  disk.leaveRoom(200 * 1024);

  const auto run = Client(server.root(), AddIndexes(server));
  disk.makeRoom();
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("The target company 'DEMO_TARGET' cannot be written (The company database DEMO_TARGET has "
                         "no room left on its disk); the copy stopped here"),
            std::string::npos)
      << run.err;
  const std::string log = LogPath(run.out);
  ASSERT_FALSE(log.empty()) << run.out;
  const LeftByCopy left = CheckLeftByCopy(server, log);
  EXPECT_EQ(left.succeeded, left.inTarget);
  EXPECT_LT(left.inTarget.size(), static_cast<size_t>(kManyIndexes));  // the disk was full before the end
  // The record the disk refused, and the line that says the copy stopped.
  ASSERT_EQ(left.failed.size(), 2u) << left.failed.size() << " failed lines";
  EXPECT_NE(left.failed[0].find("has no room left on its disk"), std::string::npos) << left.failed[0];
  EXPECT_NE(left.failed[1].find("the copy stopped here"), std::string::npos) << left.failed[1];
}

// A log folder whose disk fills stops the copy before a record is written
// that could not have its line: every record the target holds has one, and
// the log ends with whole lines and its end marker.
TEST(DuploraClientTarget, AFullLogDiskStopsTheCopyBeforeARecordWithoutALine) {
  DemoServerFixture server;
  AddManyIndexes(server);
  // A first copy makes the program's folders and settings.
  ASSERT_EQ(Client(server.root(), ReplaceIndexes(server)).code, 0);
  server.target()->store().execScript("DELETE FROM OIDX WHERE IdexCode LIKE 'X%'");
  for (const auto& file : LogFiles(server)) std::filesystem::remove(file);
  dpx::test::SmallDisk disk(LogFolder(server), 1u << 20);
  if (!disk.mounted()) GTEST_SKIP() << disk.why();
  // Room for the lines of about two batches of records.
  disk.leaveRoom(200 * 1024);

  const auto run = Client(server.root(), AddIndexes(server));
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("cannot take more lines (No space left on device); the copy stopped here"), std::string::npos)
      << run.err;
  const std::string log = LogPath(run.out);
  ASSERT_FALSE(log.empty()) << run.out;
  disk.makeRoom();
  const LeftByCopy left = CheckLeftByCopy(server, log);
  EXPECT_EQ(left.succeeded, left.inTarget);
  EXPECT_LT(left.inTarget.size(), static_cast<size_t>(kManyIndexes));
  EXPECT_GT(left.inTarget.size(), 0u);
}

TEST(DuploraClientTarget, SigtermEndsTheCopyWithItsLogAndWithoutItsTemporaryFolder) {
  DemoServerFixture server;
  const auto temp = server.root() / "tmp";
  std::filesystem::create_directories(temp);
  const auto before = Rows(server.target(), "OIDX", "IdexCode, IndexName");
  HeldCompany held(server.target());
  const Started started = Start(server.root(), "copy", ReplaceIndexes(server), {"TMPDIR=" + temp.string()});
  // Once its log exists the copy is under way, and waits for the target.
  for (int i = 0; i < 600 && LogFiles(server).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_FALSE(LogFiles(server).empty());
  ASSERT_EQ(::kill(started.pid, SIGTERM), 0);
  held.release();
  const auto run = Finish(started);
  EXPECT_EQ(run.code, 1) << run.err;
  EXPECT_NE(run.err.find("The copy was interrupted"), std::string::npos) << run.err;
  EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"), before);
  EXPECT_TRUE(std::filesystem::is_empty(temp));
  const auto lines = LogLines(LogFiles(server).at(0).string());
  ASSERT_GE(lines.size(), 3u);
  EXPECT_NE(lines[lines.size() - 2].find("|403||||||The copy was interrupted;"), std::string::npos)
      << lines[lines.size() - 2];
  EXPECT_EQ(lines.back().rfind("<DPX_LOG_END>", 0), 0u);
}

// Files and values no copy should trust, each through the client: a file the
// program could not have written is refused whole with the reason in the last
// line and the target untouched; a bad record costs that record alone a
// "403" line and the good records are copied.
TEST(DuploraClientHostile, FilesAndValuesThatMustNotBeTrusted) {
  const std::string good = IndexRow("NEW", "New index");
  std::string nested;
  for (int i = 0; i < 300; ++i) nested += "<e>";
  for (int i = 0; i < 300; ++i) nested += "</e>";
  std::string bomb = "<!DOCTYPE duploraConfigurationFile [<!ENTITY a0 \"" + std::string(360, 'x') + "\">";
  for (int i = 1; i <= 10; ++i) {
    bomb += "<!ENTITY a" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) bomb += "&a" + std::to_string(i - 1) + ";";
    bomb += "\">";
  }
  bomb += "<!ATTLIST duploraConfigurationFile v CDATA \"&a10;\">]>\n";
  const std::vector<std::string> untouched{"CPI|Consumer price index", "TGT|Target only"};
  const std::vector<std::string> withNew{"CPI|Consumer price index", "NEW|New index", "TGT|Target only"};

  struct Case {
    const char* name;
    std::string file;         // the base file; empty: the base company
    int code;                 // exit status: 3 where some lines failed
    std::string says;         // in the last line printed (refused) or in a "403" log line
    int failedLines;          // "403" lines of the copy log
    std::vector<std::string> target;
  } cases[] = {
      {"an ATTLIST default naming nested entities", IndexesFile(IndexesObject(good), bomb), 1, "(DOCTYPE)", 0,
       untouched},
      {"an internal entity", IndexesFile(IndexesObject(IndexRow("NEW", "&e;")),
                                         "<!DOCTYPE duploraConfigurationFile [<!ENTITY e \"x\">]>\n"),
       1, "line 2, column", 0, untouched},
      {"a system DTD", IndexesFile(IndexesObject(good), "<!DOCTYPE duploraConfigurationFile SYSTEM \"c.dtd\">\n"), 1,
       "(DOCTYPE)", 0, untouched},
      {"elements nested 300 deep", IndexesFile(IndexesObject(good + "<row>" + nested + "</row>")), 1, "levels deep",
       0, untouched},
      {"another root", "<?xml version=\"1.0\"?>\n<twinlyWorksheet><header/></twinlyWorksheet>\n", 1,
       "is not a configuration file (its root element is 'twinlyWorksheet')", 0, untouched},
      {"a broken file", IndexesFile(IndexesObject(good) + "<OBJECT>"), 1, "line 8, column", 0, untouched},
      {"a repeated category", IndexesFile(IndexesObject(good) + IndexesObject(IndexRow("DUP", "Twice"))), 0, "", 0,
       withNew},
      {"an unknown category",
       IndexesFile(IndexesObject(IndexRow("UNK", "Unknown"), "", "DPX_TRN_NOSUCH_100") + IndexesObject(good)), 3,
       "DPX_TRN_NOSUCH_100", 1, withNew},
      {"an unknown table",
       IndexesFile(IndexesObject(good, "<table name=\"ZZZZ\"><BOM><BO><ZZZZ><row><A>1</A></row></ZZZZ></BO></BOM>"
                                       "</table>")),
       3, "table 'ZZZZ'", 1, withNew},
      {"a value with elements", IndexesFile(IndexesObject(good + IndexRow("CPI", "<b>bold</b>"))), 3,
       "The field 'IndexName' holds elements", 1, withNew},
      {"rows without a key value",
       IndexesFile(IndexesObject(good + "<row><IndexName>No key</IndexName></row>" + IndexRow("", "Empty key") +
                                 "<row><IdexCode nil=\"true\"></IdexCode><IndexName>Nil key</IndexName></row>")),
       3, "no value for its key field 'IdexCode'", 3, withNew},
      {"a control character in a base value", "", 3, "its field 'IndexName' holds the character U+0001", 1,
       {"B&L|Bread & <Loaf>", "CPI|Consumer prices", "TGT|Target only"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DemoServerFixture server;
    std::vector<std::string> base{"--base", "DEMO_BASE"};
    if (!c.file.empty()) {
      const auto path = server.root() / "hostile.xml";
      ASSERT_TRUE(dpx::WriteUtf16File(path, c.file, true));
      base = {"--base-file", path.string()};
    } else {
      server.base()->store().exec("UPDATE OIDX SET IndexName = 'Own' || char(1) || 'er' WHERE IdexCode = 'OWN'");
    }
    const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) + base +
                                               std::vector<std::string>{"--target", "DEMO_TARGET", "--method", "4",
                                                                        "--categories", kIndexes});
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"), c.target);
    if (c.code == 1) {  // a copy that ran says why in its log
      EXPECT_NE(LastLine(run.err).find(c.says), std::string::npos) << run.err;
      // The log line of the refused part: the unknown table's with the action
      // it would have had, the record's with its code and its name (the
      // character shown as a replacement).
      const std::map<std::string, std::string> logged = {
          {"an unknown table", "|212|403||||||The category has no table 'ZZZZ'"},
          {"a control character in a base value",
           "|403|OWN|Own\xEF\xBF\xBD" "er||||A record of DPX_TRN_INDEXES_100 is left out: its field 'IndexName' "
           "holds the character U+0001"}};
      if (const auto line = logged.find(c.name); line != logged.end()) {
        bool found = false;
        for (const auto& l : LogLines(LogPath(run.out))) found = found || l.find(line->second) != std::string::npos;
        EXPECT_TRUE(found) << line->second;
      }
      continue;
    }
    int failed = 0;
    bool said = c.says.empty();
    const auto lines = LogLines(LogPath(run.out));
    for (const auto& line : lines) {
      if (line.find("|403|") == std::string::npos) continue;
      ++failed;
      said = said || line.find(c.says) != std::string::npos;
    }
    EXPECT_EQ(failed, c.failedLines) << run.err;
    EXPECT_TRUE(said) << run.err;
  }
}

// A field name from a worksheet is used only when the category has that
// field: "1=1 OR IdexCode" would pick every record, markup would break the
// file. Such a pick is left out with a line naming the name; the others go on.
TEST(DuploraClientWorksheet, PicksNamingFieldsTheCategoryLacksAreLeftOut) {
  for (bool fileBase : {false, true}) {
    SCOPED_TRACE(fileBase ? "configuration file base" : "company base");
    DemoServerFixture server;
    const std::string baseFile = fileBase ? SavedIndexes(server) : "";
    const std::string worksheet = WorksheetFile(server, baseFile, [](DPX_Worksheet& ws) {
      for (auto& node : ws.getNodes()) {
        if (node.getStringKey() != kIndexes) continue;
        DPX_SelectionObject any;
        any.addKeyField("1=1 OR IdexCode", "x", "db_Alpha");
        any.addSubsKeyField("1=1 OR IdexCode", "x", "db_Alpha");
        any.setTableName("OIDX");
        node.addSelectionObject(any);
        DPX_SelectionObject markup = PickedIndex("B&L");
        markup.addAdditionalDataField("IndexName><x", "y", "db_Alpha");
        node.addSelectionObject(markup);
      }
    });
    const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                               std::vector<std::string>{"--worksheet", worksheet, "--method", "4"});
    ASSERT_EQ(run.code, 3) << run.err;  // the two refused picks
    // CPI and OWN as picked; nothing of the refused picks.
    EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"),
              (std::vector<std::string>{"CPI|Consumer prices", std::string("OWN|") + kEditedName, "TGT|Target only"}));
    int refused = 0;
    for (const auto& line : LogLines(LogPath(run.out)))
      refused += line.find("|403|") != std::string::npos &&
                 (line.find("the field '1=1 OR IdexCode'") != std::string::npos ||
                  line.find("the field 'IndexName><x'") != std::string::npos);
    EXPECT_EQ(refused, 2) << run.err;
  }
}

// The customization categories copy the demo base's user tables, fields,
// table rows, searches, registrations and users into the demo target. Only
// the superuser's removal under Replace All is refused.
TEST(DuploraClient, CopiesTheCustomizationCategories) {
  const std::string list =
      "DPX_TRN_QUERIES_100,DPX_TRN_UDT_100,DPX_TRN_UDF_100,DPX_TRN_UDTCONT_100,DPX_TRN_FSUDF_100,DPX_TRN_FSSTDF_100,"
      "DPX_TRN_UDO_100,DPX_TRN_USERSLEAF_100";
  using Texts = std::vector<std::string>;
  // The rows of a query, each as "a|b|c".
  struct Case {
    int serverType;
    int method;
    Texts tables;   // user tables besides the program's own
    Texts cars;     // rows of @CARS
    Texts objects;  // registrations
  };
  const Texts all = {"BASEONLY", "CARS", "DPXNOTEX", "SYSFLD", "TGTONLY", "TRIPS"};
  const Texts allCars = {"C1|White", "C2|Black", "C9|Red"};
  const Texts allObjects = {"FLEET|Fleet & <Cars>|2", "OWNER'S|Owner's register|0", "TGTONLY|Target only|0",
                            "TRIPS|Trips|0"};
  const Case cases[] = {
      {5, 1, {"BASEONLY", "CARS", "DPXNOTEX", "SYSFLD", "TRIPS"}, {"C1|White", "C2|Black"},
       {"FLEET|Fleet & <Cars>|2", "OWNER'S|Owner's register|0", "TRIPS|Trips|0"}},
      {5, 2, {"CARS", "TGTONLY"}, {"C9|Red"}, {"TGTONLY|Target only|0", "TRIPS|Trips|0"}},
      {5, 3, all, allCars,
       {"FLEET|Fleet & <Cars>|2", "OWNER'S|Owner's register|0", "TGTONLY|Target only|0", "TRIPS|Trips (old)|0"}},
      {5, 4, all, allCars, allObjects},
      {6, 1, {"BASEONLY", "CARS", "DPXNOTEX", "SYSFLD", "TRIPS"}, {"C1|White", "C2|Black"},
       {"FLEET|Fleet & <Cars>|2", "OWNER'S|Owner's register|0", "TRIPS|Trips|0"}},
      {6, 4, all, allCars, allObjects},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("server type " + std::to_string(c.serverType) + ", method " + std::to_string(c.method));
    DemoServerFixture server(c.serverType);
    const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                               std::vector<std::string>{"--base", "DEMO_BASE", "--target",
                                                                        "DEMO_TARGET", "--method",
                                                                        std::to_string(c.method), "--categories", list});
    ASSERT_TRUE(run.code == 0 || run.code == 3) << run.err << run.out;
    const auto target = server.target();
    EXPECT_EQ(Selected(target, "SELECT TableName FROM OUTB WHERE TableName NOT LIKE 'DPX%' OR TableName = 'DPXNOTEX' ORDER BY 1"),
              c.tables);
    EXPECT_EQ(Rows(target, "@CARS", "Code, U_Color"), c.cars);
    EXPECT_EQ(Rows(target, "OUDO", "Code, Name, (SELECT COUNT(*) FROM UDO1 WHERE UDO1.Code = OUDO.Code)"), c.objects);
    // The system field never travels; every other field has its column.
    EXPECT_EQ(Selected(target, "SELECT TableID || '.' || AliasID FROM CUFD WHERE TableID IN ('@CARS', '@SYSFLD') ORDER BY 1"),
              (c.method == 2 ? Texts{"@CARS.Color", "@CARS.Seats"}
                             : Texts{"@CARS.Bought", "@CARS.Color", "@CARS.Seats"}));
    // The auditor's department and branch are the target's of the same names; a new department gets MAX + 1.
    EXPECT_EQ(Selected(target, "SELECT USER_CODE, Department, Branch FROM OUSR WHERE USER_CODE IN ('auditor', 'oneil') ORDER BY 1"),
              (c.method == 2 ? Texts{"auditor|4|5"} : Texts{"auditor|4|5", "oneil|8|7"}));
    // The search on U_Color names the target's "Sales by month", whatever its number there.
    EXPECT_EQ(Selected(target, "SELECT FormID, ItemID, (SELECT QName FROM OUQR WHERE IntrnalKey = QueryId) FROM CSHS "
                             "WHERE ItemID = 'U_Color'"),
              (c.method == 2 ? Texts{} : Texts{"134|U_Color|Sales by month"}));

    const auto lines = LogLines(LogPath(run.out));
    for (const auto& line : lines) {
      if (line.find("|403|") == std::string::npos) continue;
      // A search whose query the target lacks is refused, naming the query
      // (the demo's searches name queries these categories do not copy).
      const bool expected = (c.method == 1 && line.rfind("DPX_TRN_USERSLEAF_100|404|403|||manager|", 0) == 0) ||
                            line.find("|The target has no query '") != std::string::npos;
      EXPECT_TRUE(expected) << line;
    }
  }
}

// The per-user and service categories copy the demo base's layouts,
// permissions, preferences, menus, alerts and countries into the demo
// target. Only the permissions of the user the target lacks are refused.
TEST(DuploraClient, CopiesThePerUserAndServiceCategories) {
  const std::string list =
      "DPX_TRN_DOCREP_100,DPX_TRN_QUERYLAYOUTS_100,DPX_TRN_AUTHORIZATIONSLEAF_100,DPX_TRN_ADDITIONALAUT_100,"
      "DPX_TRN_USRDSPSETTINGS_100,DPX_TRN_USRMENUS_100,DPX_TRN_ALERTS_100,DPX_TRN_COUNTRIES_100";
  using Texts = std::vector<std::string>;
  for (int serverType : {5, 6}) {
    for (int method : {1, 2, 3, 4}) {
      SCOPED_TRACE("server type " + std::to_string(serverType) + ", method " + std::to_string(method));
      DemoServerFixture server(serverType);
      const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                                 std::vector<std::string>{"--base", "DEMO_BASE", "--target",
                                                                          "DEMO_TARGET", "--method",
                                                                          std::to_string(method), "--categories", list});
      ASSERT_TRUE(run.code == 0 || run.code == 3) << run.err << run.out;
      const auto target = server.target();
      // The invoice layout is the base's wherever the method updates, and there once.
      EXPECT_EQ(Selected(target, "SELECT Notes FROM RDOC WHERE DocName = 'Invoice & <Co>'"),
                (method == 3 ? Texts{"Old invoice"} : Texts{"Our invoice"}));
      EXPECT_EQ(Selected(target, "SELECT COUNT(*) FROM RDOC WHERE DocName = 'System invoice'"), Texts{"1"});
      // The auditor's preferences of form 139 are the base's; its form 150 stays.
      // The worksheet forbids "add new only" for the per-user categories
      // (preferences, menus, permissions): method 3 leaves them as they were.
      const bool perUser = method != 3;
      EXPECT_EQ(Selected(target, "SELECT FormID || ':' || Width FROM CPRF WHERE UserSign = 4 ORDER BY FormID"),
                (perUser ? Texts{"139:90", "150:55"} : Texts{"139:40", "150:55"}));
      EXPECT_EQ(Selected(target, "SELECT Entry FROM CUMI WHERE UserSign = 4"),
                (perUser ? Texts{"<MenuItem><Name>Audit</Name><Link>4000</Link></MenuItem>"}
                         : Texts{"<MenuItem><Name>Old audit</Name><Link>1</Link></MenuItem>",
                                 "<MenuItem><Name>Older audit</Name><Link>2</Link></MenuItem>"}));
      // A new alert names the target's query of the same name.
      EXPECT_EQ(Selected(target, "SELECT (SELECT QName FROM OUQR WHERE IntrnalKey = QueryId) FROM OALT "
                               "WHERE Name = 'O''Neil''s alert'"),
                (method == 2 ? Texts{} : Texts{"Sales by month"}));
      // The system alert keeps the target's two recipients, the base's one among them.
      EXPECT_EQ(Selected(target, "SELECT COUNT(*) FROM ALT1 WHERE Code = 1"), Texts{"2"});
      // A state finds its country by the country's code: England goes under
      // the base's "UK" where the copy adds it, and never under the target's
      // "GB" of the same name.
      if (method <= 2) {
        EXPECT_EQ(Selected(target, "SELECT Country FROM OCST WHERE Code = 'ENG'"),
                  (method == 1 ? Texts{"UK"} : Texts{}));
      }
      EXPECT_EQ(Selected(target, "SELECT Value FROM HOST_USERPERM WHERE UserCode = 'auditor' AND PermId = '142'"),
                (perUser ? Texts{"1"} : Texts{"2"}));

      for (const auto& line : LogLines(LogPath(run.out))) {
        if (line.find("|403|") == std::string::npos) continue;
        EXPECT_EQ(line.rfind("DPX_TRN_AUTHORIZATIONSLEAF_100|213|403|oneil|", 0), 0u) << line;
      }
    }
  }
}

// A save says which record it left out and why; the file it writes can be read back.
TEST(DuploraClientHostile, ASaveLeavesOutARecordItCannotWriteAndSaysWhy) {
  DemoServerFixture server;
  server.base()->store().exec("UPDATE OIDX SET IndexName = 'Own' || char(31) || 'er' WHERE IdexCode = 'OWN'");
  const std::string file = (server.root() / "saved.xml").string();
  const auto save = Client(server.root(), std::vector<std::string>{"save"} + Login(server) +
                                              std::vector<std::string>{"--base", "DEMO_BASE", "--out", file,
                                                                       "--categories", kIndexes});
  // The file lacks a record of the selection: 3, and the record is named.
  ASSERT_EQ(save.code, 3) << save.err;
  EXPECT_NE(save.err.find("its field 'IndexName' holds the character U+001F"), std::string::npos) << save.err;
  const auto copy = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                              std::vector<std::string>{"--base-file", file, "--target", "DEMO_TARGET",
                                                                       "--method", "4", "--categories", kIndexes});
  ASSERT_EQ(copy.code, 0) << copy.err;
  EXPECT_EQ(Rows(server.target(), "OIDX", "IdexCode, IndexName"),
            (std::vector<std::string>{"B&L|Bread & <Loaf>", "CPI|Consumer prices", "TGT|Target only"}));
}

// Document numbering, posting periods and tax definitions of the demo
// companies under every copy method, on the quoting server type and the
// default one. Posting periods forbid Replace All and take method 4 for it,
// so they are never written twice.
TEST(DuploraClient, NumberingPeriodsAndTaxDefinitionsCopyUnderEveryMethod) {
  const std::vector<std::string> keys{"DPX_TRN_DOCNUMBERING_100", "DPX_TRN_POSTPER_100", "DPX_TRN_TAXDEFINITION_100"};
  struct Expect {
    int method;
    bool adds;       // new series, period categories and tax records reach the target
    int periodLines; // 12 periods of FY24, 4 of 2025Q, BASE26 and its period
  } cases[] = {{1, true, 18}, {2, false, 16}, {3, true, 2}, {4, true, 18}};
  for (int serverType : {5, 6}) {
    for (const Expect& c : cases) {
      SCOPED_TRACE("server type " + std::to_string(serverType) + ", method " + std::to_string(c.method));
      DemoServerFixture server(serverType);
      const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                                 std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET",
                                                                          "--method", std::to_string(c.method),
                                                                          "--categories", keys[0] + "," + keys[1] + "," + keys[2]});
      ASSERT_TRUE(run.code == 0 || run.code == 3) << run.code << run.err;
      const auto lines = LogLines(LogPath(run.out));
      ASSERT_GE(lines.size(), 2u) << run.out;
      int periodLines = 0;
      for (size_t i = 1; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].rfind(keys[0] + "|", 0) == 0 || lines[i].rfind(keys[1] + "|", 0) == 0 ||
                    lines[i].rfind(keys[2] + "|", 0) == 0)
            << lines[i];
        periodLines += lines[i].rfind(keys[1] + "|", 0) == 0;
      }
      EXPECT_EQ(periodLines, c.periodLines);
      const auto target = server.target();
      EXPECT_EQ(Contains(Rows(target, "NNM1", "ObjectCode, SeriesName, InitialNum"), "22|Import|9000"), c.adds);
      // Document 13 keeps the target's next number; document 22 takes the base's higher one.
      EXPECT_EQ(Rows(target, "NNM1", "ObjectCode, NextNumber, Series").at(0), c.method == 3 ? "13|80|1" : "13|80|1");
      EXPECT_TRUE(Contains(Rows(target, "NNM1", "ObjectCode, NextNumber, Series"), c.method == 3 ? "22|30|2" : "22|50|2"));
      EXPECT_EQ(Contains(Rows(target, "OACP", "PeriodCat"), "BASE26"), c.adds);
      EXPECT_FALSE(Contains(Rows(target, "OACP", "PeriodCat"), "2024"));
      EXPECT_EQ(Contains(Rows(target, "OACT", "AcctCode"), "DXTRANSACCT"), c.adds);
      EXPECT_EQ(Contains(Rows(target, "OSTA", "Code"), "TGT"), c.method != 1);
      EXPECT_EQ(Contains(Rows(target, "OSTT", "Name"), "Base's own"), c.adds);
    }
  }
}

// The twenty-six setup categories of the smaller setup tables, copied whole
// from the demo base under each copy method, with both companies of server
// type 5 and of the default type: every line succeeds, and what each method
// must leave alone stays.
TEST(DuploraClientSetupFamilies, EveryCategoryCopiesUnderEveryMethod) {
  const std::vector<std::string> keys = {
      "DPX_TRN_COMMISIONGROUPS_100", "DPX_TRN_RELTNSHPS_40",       "DPX_TRN_SALESSTAGES_100",
      "DPX_TRN_LANDEDCOSTS_100",     "DPX_TRN_BPPRIORITIES_100",   "DPX_TRN_LOCATIONS_100",
      "DPX_TRN_UOMLENGTHWIDTH_100",  "DPX_TRN_UOMWEIGHT_100",      "DPX_TRN_CUSTOMGROUPS_100",
      "DPX_TRN_MANUFACTURERS_100",   "DPX_TRN_SHIPPINGTYPES_100",  "DPX_TRN_TEMPLATES_100",
      "DPX_TRN_PACKAGETYPES_100",    "DPX_TRN_CREDITSUPPLIERS_100", "DPX_TRN_PAYMENTBLOCKS_100",
      "DPX_TRN_PROJECTS_100",        "DPX_TRN_PARTNERS_100",       "DPX_TRN_COMPETITORS_100",
      "DPX_TRN_CUSTOMERGROUPS_100",  "DPX_TRN_SUPPLIERGROUPS_100", "DPX_TRN_BPPROPERTIES_100",
      "DPX_TRN_INVENTORYCYCLES_100", "DPX_TRN_ITEMPROPERTIES_100", "DPX_TRN_PREDEFINEDTEXT_100",
      "DPX_TRN_DUNNINGLEVELS_100",   "DPX_TRN_PAYMENTTERMS_100"};
  std::string list;
  for (const auto& key : keys) list += (list.empty() ? "" : ",") + key;
  // A name of each table, as "table: column".
  const std::vector<std::pair<std::string, std::string>> names = {
      {"OCOG", "GroupName"}, {"OORL", "OrlDesc"},  {"OOST", "Descript"},  {"OALC", "AlcName"},
      {"OBPP", "PrioDesc"},  {"OLCT", "Location"}, {"OLGT", "UnitName"},  {"OWGT", "UnitName"},
      {"OARG", "CstGrpName"}, {"OMRC", "FirmName"}, {"OSHP", "TrnspName"}, {"OCTT", "Descriptio"},
      {"OPKG", "PkgType"},   {"OPVL", "Name"},     {"OPYB", "PayBlock"},  {"OPRJ", "PrjName"},
      {"OPRT", "Name"},      {"OCMT", "Name"},     {"OCRG", "GroupName"}, {"OCQG", "GroupName"},
      {"OCYC", "Name"},      {"OITG", "ItmsGrpNam"}, {"OPDT", "Text"},    {"OCTG", "PymntGroup"}};
  for (int serverType : {5, 6}) {
    for (int method = 1; method <= 4; ++method) {
      SCOPED_TRACE("server type " + std::to_string(serverType) + ", method " + std::to_string(method));
      DemoServerFixture server(serverType);
      const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                                 std::vector<std::string>{"--base", "DEMO_BASE", "--target",
                                                                          "DEMO_TARGET", "--method",
                                                                          std::to_string(method), "--categories", list});
      // Replace All cannot remove what the target's own records still use:
      // the host refuses the payment terms its administration record names as
      // defaults, the manufacturer of an item and the location of a warehouse;
      // the copy keeps the partners' groups and projects and the cycles that
      // item groups and items name.
      const std::set<std::string> refusable = {
          "DPX_TRN_PAYMENTTERMS_100",    "DPX_TRN_MANUFACTURERS_100",   "DPX_TRN_LOCATIONS_100",
          "DPX_TRN_CUSTOMERGROUPS_100",  "DPX_TRN_SUPPLIERGROUPS_100",  "DPX_TRN_INVENTORYCYCLES_100",
          "DPX_TRN_PROJECTS_100"};
      const int refused = method == 1 ? 9 : 0;
      if (refused == 0)
        ASSERT_EQ(run.code, 0) << run.err;
      else
        ASSERT_TRUE(run.code == 0 || run.code == 3) << run.code << run.err;
      const std::string log = LogPath(run.out);
      ASSERT_FALSE(log.empty()) << run.out;
      std::set<std::string> logged;
      int failed = 0;
      for (const auto& line : LogLines(log)) {
        if (line.find("|403|") != std::string::npos) {
          ++failed;
          EXPECT_TRUE(refusable.count(line.substr(0, line.find('|')))) << line;
          EXPECT_NE(line.find("|404|403|"), std::string::npos) << line;
          EXPECT_TRUE(line.find("still refer") != std::string::npos ||
                      line.find("Kept while used: records of") != std::string::npos)
              << line;
        }
        EXPECT_EQ(line.find("|10024|"), std::string::npos) << line;
        logged.insert(line.substr(0, line.find('|')));
      }
      EXPECT_EQ(failed, refused);
      for (const auto& key : keys) EXPECT_TRUE(logged.count(key)) << key;
      EXPECT_NE(run.out.find("Failed: " + std::to_string(refused) + "\n"), std::string::npos) << run.out;

      const auto base = server.base();
      const auto target = server.target();
      for (const auto& [table, column] : names) {
        SCOPED_TRACE(table);
        const auto baseNames = Rows(base, table, column);
        const auto targetNames = Rows(target, table, column);
        // A record only the base has arrives unless only updates were asked for.
        const bool baseOnly = Contains(targetNames, "Base only") || Contains(targetNames, "Base's template") ||
                              Contains(targetNames, "Base metre") || Contains(targetNames, "Base unit");
        EXPECT_EQ(baseOnly, method != 2) << ::testing::PrintToString(targetNames);
        // A record only the target has stays unless Replace All removed it.
        if (table != "OCRG" && table != "OPRJ") {
          EXPECT_EQ(Contains(targetNames, "Target only") || Contains(targetNames, "Target's template") ||
                        Contains(targetNames, "Target unit"),
                    method != 1)
              << ::testing::PrintToString(targetNames);
        }
        if (method == 1 || method == 4) {
          for (const auto& name : baseNames) EXPECT_TRUE(Contains(targetNames, name)) << name;
        }
      }
      // The host's own records stay whatever the method.
      EXPECT_TRUE(Contains(Rows(target, "OARG", "CstGrpCode, CstGrpName"), "-1|Default"));
      EXPECT_TRUE(Contains(Rows(target, "OCTG", "GroupNum, PymntGroup"), "-1|Cash Basic"));
      // The plain tables of dunning levels and payment terms are add-or-update whatever the method.
      EXPECT_EQ(Rows(target, "ODUT", "TermCode, TermName"),
                (std::vector<std::string>{"1|Net 30", "2|O'Hara's & <Co> terms", "3|Base only", "4|Target only"}));
      EXPECT_TRUE(Contains(Rows(target, "OCDC", "Code, TableDesc"), "D2|O'Hara & <Co> discount"));
      // A project a business partner uses survives Replace All.
      EXPECT_TRUE(Contains(Rows(target, "OPRJ", "PrjCode, PrjName"), "P8|Used by a partner"));
      EXPECT_EQ(Contains(Rows(target, "OPRJ", "PrjCode, PrjName"), "P1|Alpha"), method != 3);
    }
  }
}

// The chart of accounts and the categories on it, copied whole from the demo
// base under each copy method, server types 5 and default, with the charts
// unsegmented and segmented: the segments travel only from a segmented base;
// accounts arrive (or are updated by format code) with their categories, and
// cards, budgets and templates name the target's accounts. Replace All cannot
// remove the target's cards its payment methods name: the host refuses those.
TEST(DuploraClientChartOfAccounts, EveryCategoryCopiesUnderEveryMethod) {
  const std::vector<std::string> keys = {"DPX_TRN_ACCTSEGMENTATION_100", "DPX_TRN_SEGMENTCODES_100",
                                         "DPX_TRN_COATITLES_100",        "DPX_TRN_ACCOUNTS_100",
                                         "DPX_TRN_CREDITCARDS_100",      "DPX_TRN_BUDGET_100",
                                         "DPX_TRN_FINANCIALREPORTTMPL_100"};
  for (bool segmented : {false, true}) {
    for (int serverType : {5, 6}) {
      for (int method = 1; method <= 4; ++method) {
        SCOPED_TRACE(std::string(segmented ? "segmented" : "unsegmented") + ", server type " +
                     std::to_string(serverType) + ", method " + std::to_string(method));
        DemoServerFixture server(serverType);
        if (segmented)
          for (const auto& company : {server.base(), server.target()})
            company->store().exec("UPDATE CINF SET EnableAccountSegmentation = 1");
        const auto run = CopyDemoCategories(server, keys, method);
        ASSERT_TRUE(run.code == 0 || run.code == 3) << run.code << run.err;
        int refused = 0;
        std::set<std::string> logged;
        for (const auto& line : LogLines(LogPath(run.out))) {
          logged.insert(line.substr(0, line.find('|')));
          if (line.find("|403|") == std::string::npos) continue;
          ++refused;
          EXPECT_EQ(line.rfind("DPX_TRN_CREDITCARDS_100|404|403|", 0), 0u) << line;
        }
        EXPECT_EQ(refused, method == 1 ? 2 : 0);
        EXPECT_EQ(logged.count("DPX_TRN_ACCTSEGMENTATION_100"), segmented ? 1u : 0u);

        const auto target = server.target();
        const bool adds = method != 2;
        // The base's postable accounts: by format code the cash account is the target's T101.
        const auto accounts = Rows(target, "OACT", "AcctCode, AcctName, IFNULL(Category, '')");
        EXPECT_EQ(Contains(accounts, "A102|O'Brien's receivables|5"), adds) << ::testing::PrintToString(accounts);
        if (segmented)
          EXPECT_TRUE(Contains(accounts, std::string("T101|") + (method == 3 ? "Cash (old)" : "Cash") + "|4"))
              << ::testing::PrintToString(accounts);
        else
          EXPECT_EQ(Contains(accounts, "A101|Cash|4"), adds) << ::testing::PrintToString(accounts);
        EXPECT_EQ(Contains(Rows(target, "OACG", "AbsId, Name"), "5|O'Neil's & <costs>"), adds);
        // The card's account: _SYS01 by code, or by its format code the target's _SYS11.
        EXPECT_EQ(Contains(Rows(target, "OCRC", "CardName, IFNULL(GLAccount, '')"),
                           std::string("Diner's & <Club>|") + (segmented ? "_SYS11" : "_SYS01")),
                  adds);
        EXPECT_EQ(Contains(Rows(target, "OBGS", "Name"), "O'Hara's forecast"), true);
        EXPECT_EQ(Contains(Rows(target, "OFRT", "Name"), "O'Connor's P&L"), adds);
        EXPECT_FALSE(Contains(Rows(target, "OACT", "AcctCode"), "DXTRANSACCT"));
      }
    }
  }
}

// Journal entries of the three kinds, with the profit centres and
// distribution rules they carry, under the methods the worksheet allows
// them (Update Existing Records is not one): every entry is added once, in
// the target's series of the same name, and only the added opening balance
// and stock posting take their types; the target's entry 950, above its
// series' next number, stays a manual entry.
TEST(DuploraClient, CopiesJournalEntriesOfEveryKind) {
  const std::vector<std::string> keys = {"DPX_TRN_MANUALJOURNALENTRIES_100", "DPX_TRN_OPENINGBALANCES_100",
                                         "DPX_TRN_STOCKPOSTINGS_100"};
  for (int serverType : {5, 6}) {
    for (int method : {1, 3, 4}) {
      SCOPED_TRACE("server type " + std::to_string(serverType) + ", method " + std::to_string(method));
      DemoServerFixture server(serverType);
      const auto run = CopyDemoCategories(server, keys, method);
      ASSERT_EQ(run.code, 0) << run.err << run.out;
      const auto target = server.target();
      EXPECT_EQ(Rows(target, "OJDT", "TransId, TransType, Memo, Series, Number"),
                (std::vector<std::string>{"950|30|Target's entry|9|950", "951|30|Rent & <office>|9|1",
                                          "952|30|O'Neil's accrual|9|2", "953|-2|Opening balance|9|3",
                                          "954|58|Stock posting|9|4"}));
      EXPECT_EQ(Rows(target, "JDT1", "COUNT(*)"), std::vector<std::string>{"10"});
      EXPECT_EQ(Rows(target, "OPRC", "PrcCode, PrcName"),
                (std::vector<std::string>{"PC1|Sales & <Marketing>", "PC2|O'Brien's centre", "PC9|Target only"}));
      EXPECT_EQ(Rows(target, "OCR1", "OcrCode || ':' || PrcCode"),
                (std::vector<std::string>{"DR1:PC1", "DR1:PC2", "DR2:PC2", "DR9:PC9"}));
      ExpectEveryLineSucceeded(run.out, keys);
      int lines = 0;
      for (const auto& line : LogLines(LogPath(run.out))) lines += line.rfind("DPX_TRN_", 0) == 0;
      EXPECT_EQ(lines, 4);
    }
  }
}

// The categories whose records name other records, copied whole from the
// demo base under each copy method, server types 5 and default: payment
// methods find their formats, sales employees their employees and groups,
// house bank accounts their banks, price lists their base lists and
// territories their parents in the target. Replace All cannot remove the
// target's price list a business partner names: the host refuses it.
TEST(DuploraClientNamedRecords, EveryCategoryCopiesUnderEveryMethod) {
  const std::vector<std::string> keys = {"DPX_TRN_BANKSANDBRANCHES_100", "DPX_TRN_HOUSEBANKACCOUNTS_100",
                                         "DPX_TRN_PAYMENTMETHODS_100",   "DPX_TRN_PRICELISTDEFS_100",
                                         "DPX_TRN_SALESEMPLOYEES_100",   "DPX_TRN_TERRITORIES_100"};
  for (int serverType : {5, 6}) {
    for (int method = 1; method <= 4; ++method) {
      SCOPED_TRACE("server type " + std::to_string(serverType) + ", method " + std::to_string(method));
      DemoServerFixture server(serverType);
      const auto run = CopyDemoCategories(server, keys, method);
      ASSERT_TRUE(run.code == 0 || run.code == 3) << run.code << run.err;
      int refused = 0;
      std::set<std::string> logged;
      for (const auto& line : LogLines(LogPath(run.out))) {
        logged.insert(line.substr(0, line.find('|')));
        if (line.find("|403|") == std::string::npos) continue;
        ++refused;
        EXPECT_EQ(line.rfind("DPX_TRN_PRICELISTDEFS_100|404|403|", 0), 0u) << line;
      }
      EXPECT_EQ(refused, method == 1 ? 2 : 0);
      for (const auto& key : keys) EXPECT_TRUE(logged.count(key)) << key;

      const auto target = server.target();
      // The rows of a query, each as "a|b|c".
      const bool adds = method != 2;
      EXPECT_EQ(Contains(Selected(target, "SELECT PayMethCod, IFNULL(f.Name, '') FROM OPYM"
                                              " LEFT JOIN OFRM f ON f.AbsEntry = OPYM.Format"),
                         "CHK|Cheque & <Co>"),
                adds);
      EXPECT_EQ(Contains(Rows(target, "OPYM", "PayMethCod"), "TGT"), method != 1);
      // Employees and lookup rows are add-or-update whatever the method; -1 stays.
      EXPECT_TRUE(Contains(Selected(target, "SELECT e.lastName, IFNULL(m.lastName, '') FROM OHEM e"
                                                " LEFT JOIN OHEM m ON m.empID = e.manager"),
                           "O'Neil|Smith"));
      EXPECT_TRUE(Contains(Rows(target, "OHTY", "name"), "O'Brien's & <part>"));
      EXPECT_FALSE(Contains(Rows(target, "OHTY", "name"), "Locked type"));
      EXPECT_TRUE(Contains(Rows(target, "OSLP", "SlpCode"), "-1"));
      EXPECT_EQ(Contains(Selected(target, "SELECT s.SlpName, g.GroupName, e.lastName FROM OSLP s"
                                              " JOIN OCOG g ON g.GroupCode = s.GroupCode"
                                              " JOIN OHEM e ON e.empID = s.EmployeeID"),
                         "O'Hara & <Sales>|Retail|Brown"),
                method != 3);
      // Each account lies in the bank of its country; each bank's default account is its own.
      EXPECT_EQ(Contains(Selected(target, "SELECT d.Branch, o.CountryCod, o.BankCode FROM DSC1 d"
                                              " JOIN ODSC o ON o.AbsEntry = d.BankKey"),
                         "Berlin|DE|AIB"),
                adds);
      EXPECT_EQ(Contains(Selected(target, "SELECT o.BankName, d.Branch FROM ODSC o"
                                              " JOIN DSC1 d ON d.AbsEntry = o.DfltActKey"),
                         "Bank of America|Main"),
                adds);
      EXPECT_EQ(Contains(Selected(target, "SELECT l.ListName, b.ListName FROM OPLN l"
                                              " JOIN OPLN b ON b.ListNum = l.BASE_NUM"),
                         "Wholesale & <Co>'s|Dealer"),
                adds);
      EXPECT_EQ(Contains(Selected(target, "SELECT t.descript, p.descript FROM OTER t"
                                              " JOIN OTER p ON p.territryID = t.parent"),
                         "Dublin|O'Neill's & <Ireland>"),
                adds);
    }
  }
}

// The settings that overwrite the target, copied whole from the demo base
// under each copy method they allow, server types 5 and default, with both charts
// segmented: inventory settings, the period categories' accounts by format
// code, the tax records' and banks' accounts, and the default bank. Nothing
// is added or removed, and the transport account is gone.
TEST(DuploraClientAccountSettings, EveryCategoryCopiesUnderEveryMethod) {
  const std::vector<std::string> keys = {"DPX_TRN_INVENTORYSETTINGS_100", "DPX_TRN_GLACCTDETERMINATION_100",
                                         "DPX_TRN_GLINVNTRYSETTINGS_100", "DPX_TRN_GLTAXDEFSETTINGS_100",
                                         "DPX_TRN_GLBANKSETTINGS_100"};
  for (int serverType : {5, 6}) {
    // The worksheet template forbids Add New Records Without Updating for
    // settings that overwrite the target: method 3 copies none of them.
    for (int method : {1, 2, 4}) {
      SCOPED_TRACE("server type " + std::to_string(serverType) + ", method " + std::to_string(method));
      DemoServerFixture server(serverType);
      for (const auto& company : {server.base(), server.target()})
        company->store().exec("UPDATE CINF SET EnableAccountSegmentation = 1");
      const auto target = server.target();
      const auto osta = Rows(target, "OSTA", "Code, Type");
      const auto before = Rows(target, "ODSC", "AbsEntry");
      const auto run = CopyDemoCategories(server, keys, method);
      std::vector<std::string> failed;
      for (const auto& line : LogLines(LogPath(run.out)))
        if (line.find("|403|") != std::string::npos) failed.push_back(line);
      EXPECT_TRUE(failed.empty()) << ::testing::PrintToString(failed);
      ASSERT_EQ(run.code, 0) << run.err << run.out;
      ExpectEveryLineSucceeded(run.out, keys);

      EXPECT_EQ(Rows(target, "OADM",
                     "PriceSystem, DefaultWarehouse, WithholdingTaxPHandle, BankCountry, DefaultBankNo, "
                     "DefaultBankAccount, DefaultBranch"),
                (std::vector<std::string>{"1|01|P & <H>'s|IE|AIB|1001|Paris"}));
      EXPECT_EQ(Rows(target, "CINF", "SRIManagementSystem"), (std::vector<std::string>{"1"}));
      // By format code the base's receivables, stock and revenue accounts are the target's _SYS11 to _SYS13.
      EXPECT_EQ(Rows(target, "OACP", "PeriodCat, IFNULL(DebitorsFollowUpAccount, ''), IFNULL(StockAccount, '')"),
                (std::vector<std::string>{"2025Q|_SYS13|", "FY24|_SYS11|_SYS12"}));
      EXPECT_TRUE(Contains(Rows(target, "OSTA", "Code, AOrPTaxAccount"), "NY|1100"));
      EXPECT_EQ(Rows(target, "OSTA", "Code, Type"), osta);
      EXPECT_TRUE(Contains(Rows(target, "OWHT", "WTCode, Account"), "W1|1400"));
      EXPECT_TRUE(Contains(Rows(target, "OVTG", "Code, TaxAccount"), "V1|1300"));
      EXPECT_TRUE(Contains(Rows(target, "DSC1", "AbsEntry, Branch, GLAccount"), "1|Dublin|_SYS11"));
      EXPECT_EQ(Rows(target, "ODSC", "AbsEntry"), before);
      EXPECT_FALSE(Contains(Rows(target, "OACT", "AcctCode"), "DXTRANSACCT"));
    }
  }
}

// Product trees follow the items they belong to; forecasts are found by
// their code; the profit centres travel with the trees under every method.
TEST(DuploraClient, CopiesTreesAndForecasts) {
  const std::vector<std::string> keys = {"DPX_TRN_ITEMGROUPS_100", "DPX_TRN_ITEMSLEAF_100",
                                         "DPX_TRN_BILLOFMATERIALS_100", "DPX_TRN_FORECASTS_100"};
  using Texts = std::vector<std::string>;
  struct Case {
    int method;
    Texts trees, forecasts;
  } cases[] = {
      {1, {"I001|1|2", "I002|2|1"}, {"1|F2026|Forecast & <2026>", "2|Q1|O'Neil's Q1"}},
      {2, {"I001|1|2"}, {"5|F2026|Forecast & <2026>"}},
      {3, {"I001|4|5", "I002|2|1"}, {"5|F2026|Old forecast", "6|Q1|O'Neil's Q1"}},
      {4, {"I001|1|2", "I002|2|1"}, {"5|F2026|Forecast & <2026>", "6|Q1|O'Neil's Q1"}},
  };
  for (int serverType : {5, 6}) {
    for (const Case& c : cases) {
      SCOPED_TRACE("server type " + std::to_string(serverType) + ", method " + std::to_string(c.method));
      DemoServerFixture server(serverType);
      const auto run = CopyDemoCategories(server, keys, c.method);
      ASSERT_EQ(run.code, 0) << run.err << run.out;
      const auto target = server.target();
      EXPECT_EQ(Rows(target, "OITT", "Code, TreeType, Qauntity"), c.trees);
      EXPECT_EQ(Rows(target, "OFCT", "AbsID, Code, Name"), c.forecasts);
      EXPECT_EQ(Rows(target, "OPRC", "PrcCode, PrcName"),
                (Texts{"PC1|Sales & <Marketing>", "PC2|O'Brien's centre", "PC9|Target only"}));
      ExpectEveryLineSucceeded(run.out, {"DPX_TRN_BILLOFMATERIALS_100", "DPX_TRN_FORECASTS_100"});
    }
  }
}

// The users' defaults under every method, as the worksheet turns them: the
// defaults and layouts are not copied under Add New Records Without Updating
// (3), the series always as Update Existing Records, the initial quantities
// never. Users and reports travel by code and by name; the base-only user
// oneil gets nothing.
TEST(DuploraClient, CopiesTheUsersDefaults) {
  const std::vector<std::string> keys = {"DPX_TRN_DEFAULTS_100", "DPX_TRN_DEFAULTLAYOUTS_100",
                                         "DPX_TRN_DEFAULTSERIES_100", "DPX_TRN_INITIALQUANTITIES_100"};
  using Texts = std::vector<std::string>;
  for (int serverType : {5, 6}) {
    for (int method : {1, 2, 3, 4}) {
      SCOPED_TRACE("server type " + std::to_string(serverType) + ", method " + std::to_string(method));
      DemoServerFixture server(serverType);
      const auto run = CopyDemoCategories(server, keys, method);
      ASSERT_EQ(run.code, 0) << run.err << run.out;
      const auto target = server.target();
      const bool copied = method != 3;
      EXPECT_EQ(Rows(target, "OUDG", "Code, Name"),
                (copied ? Texts{"BASEGRP|O'Brien's group", "SALES|Sales & <Desk>", "TGTGRP|Target's group"}
                       : Texts{"SALES|Sales (old)", "TGTGRP|Target's group"}));
      EXPECT_EQ(Rows(target, "OUSR", "USER_CODE, IFNULL(DfltsGroup, '')"),
                (copied ? Texts{"auditor|SALES", "clerk|SALES", "manager|", "temp|"}
                       : Texts{"auditor|TGTGRP", "clerk|", "manager|", "temp|"}));
      EXPECT_EQ(Rows(target, "RDFL", "UserId, DoumntDode, DfltReport"),
                (copied ? Texts{"2|INV1|INV13", "3|RCT1|RCT12", "4|INV1|INV17"} : Texts{"3|RCT1|RCT12", "4|INV1|INV13"}));
      EXPECT_EQ(Rows(target, "RTYP", "CODE, IFNULL(DEFLT_REP, '')"),
                (copied ? Texts{"DLN2|", "INV1|INV17", "RCT1|RCT12"} : Texts{"INV1|INV13", "RCT1|RCT12"}));
      // The auditor's "Primary" of document 22 is the target's own series 2.
      EXPECT_EQ(Rows(target, "NNM2", "ObjectCode, DocSubType, UserSign, Series"), (Texts{"13|--|3|1", "22|--|4|2"}));
      ExpectEveryLineSucceeded(run.out, copied ? std::vector<std::string>(keys.begin(), keys.begin() + 3)
                                               : std::vector<std::string>{keys[2]});
      int defaultsLines = 0;
      for (const auto& line : LogLines(LogPath(run.out))) {
        EXPECT_NE(line.rfind(keys[3], 0), 0u) << line;
        defaultsLines += line.rfind(keys[0] + "|213|402|", 0) == 0;
      }
      EXPECT_EQ(defaultsLines, copied ? 3 : 0);
    }
  }
}

namespace {

// A line of the engine's own log: time, level, scope.
const std::regex kEngineLine("(^|\n)[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2} [A-Z]+ \\[");

std::vector<std::string> FailedLines(const std::string& out) {
  std::vector<std::string> failed;
  for (const auto& line : LogLines(LogPath(out)))
    if (line.find("|403|") != std::string::npos || line.find("|10024|") != std::string::npos) failed.push_back(line);
  return failed;
}

}  // namespace

// The demo companies are companies a real host could hold, so the demo copy
// (every category, Add and Update) ends with no failed line: refusals are
// shown by the tests that make them.
TEST(DuploraClient, TheDemoCopyEndsWithNoFailedLine) {
  for (int serverType : {5, 6}) {
    SCOPED_TRACE("server type " + std::to_string(serverType));
    DemoServerFixture server(serverType);
    const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                               std::vector<std::string>{"--base", "DEMO_BASE", "--target",
                                                                        "DEMO_TARGET", "--method", "4"});
    EXPECT_EQ(FailedLines(run.out), std::vector<std::string>{});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\nFailed: 0\n"), std::string::npos) << run.out;
    EXPECT_FALSE(std::regex_search(run.err, kEngineLine)) << run.err;
  }
}

// The engine's own lines go to the program's log in the settings' log
// folder, not to the console; the client names that log when it holds
// errors, and --verbose shows the lines on the console as well.
TEST(DuploraClient, TheEnginesLinesGoToTheProgramLogAndToStderrOnlyWhenVerbose) {
  DemoServerFixture server;
  // Periods the target's category lacks: the copy logs an error for its last one.
  server.target()->store().exec("DELETE FROM OFPR WHERE PeriodCat = '2025Q' AND PeriodIndex > 2");
  const std::vector<std::string> copy =
      std::vector<std::string>{"copy"} + Login(server) +
      std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET", "--method", "4", "--categories",
                               "DPX_TRN_POSTPER_100"};
  const std::string logged = "ERROR [DPX_PostingPeriodsManager::writePeriods] Period not written";
  const auto programLog = LogFolder(server) / "duplora.log";

  const auto quiet = Client(server.root(), copy);
  EXPECT_EQ(quiet.code, 3) << quiet.err;
  EXPECT_EQ(FailedLines(quiet.out).size(), 1u) << quiet.out;
  EXPECT_FALSE(std::regex_search(quiet.err, kEngineLine)) << quiet.err;
  std::smatch named;
  ASSERT_TRUE(std::regex_search(quiet.out, named, std::regex("Program log: (.*)\n"))) << quiet.out;
  std::error_code ec;
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(named[1].str()), programLog, ec)) << named[1];
  std::ifstream in(programLog);
  const std::string file{std::istreambuf_iterator<char>(in), {}};
  EXPECT_TRUE(std::regex_search(file, kEngineLine)) << file;
  EXPECT_NE(file.find(logged), std::string::npos) << file;

  const auto verbose = Client(server.root(), copy + std::vector<std::string>{"--verbose"});
  EXPECT_EQ(verbose.code, 3) << verbose.err;
  EXPECT_NE(verbose.err.find(logged), std::string::npos) << verbose.err;

  // A copy that logs no error names no program log.
  const auto clean = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                               std::vector<std::string>{"--base", "DEMO_BASE", "--target",
                                                                        "DEMO_TARGET", "--method", "4",
                                                                        "--categories", kIndexes});
  EXPECT_EQ(clean.code, 0) << clean.err;
  EXPECT_EQ(clean.out.find("Program log:"), std::string::npos) << clean.out;
}

// A copy method a category does not allow, with no other named for it, copies
// nothing of the category: the client names it rather than let it vanish.
// Records written without fields the target lacks are counted apart.
TEST(DuploraClient, SaysWhatItDidNotCopyAndWhatItWroteWithoutFields) {
  DemoServerFixture server;
  server.base()->store().exec("INSERT INTO OMRC (FirmCode, FirmName) VALUES (901, 'Only & <here>')");
  server.base()->store().exec(
      "INSERT INTO OITM (ItemCode, ItemType, ItemName, FirmCode) VALUES ('ZZ-NEW', 0, 'New in the base', 901)");
  const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                             std::vector<std::string>{"--base", "DEMO_BASE", "--target", "DEMO_TARGET",
                                                                      "--method", "3", "--categories",
                                                                      "DPX_TRN_CMPDSPSETTINGS_100,DPX_TRN_ITEMSLEAF_100"});
  ASSERT_NE(run.code, 1) << run.err;
  EXPECT_NE(run.out.find("\nNot copied by method 3: Company Display Settings\n"), std::string::npos) << run.out;
  int without = 0;
  for (const auto& line : LogLines(LogPath(run.out)))
    without += line.find("|402|") != std::string::npos && line.find("|Written without ") != std::string::npos;
  EXPECT_GE(without, 1);
  EXPECT_NE(run.out.find(" (" + std::to_string(without) + " written without fields the target lacks)\n"),
            std::string::npos)
      << run.out;
  bool named = false;
  for (const auto& line : LogLines(LogPath(run.out)))
    named = named || line.find("Written without Manufacturer 'Only & <here>': the target has none") != std::string::npos;
  EXPECT_TRUE(named) << run.out;
}
