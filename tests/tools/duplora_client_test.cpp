// duplora-client end to end: it logs on to a simulated server, copies or
// saves, and leaves the target's rows and a copy log behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <set>

#include "engine/connection_context.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "tests/support/demo_server.h"
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

std::vector<std::string> Login(const DemoServerFixture& server, const std::string& serverDir = "") {
  return {"--server", serverDir.empty() ? server.serverDir().string() : serverDir, "--user", "manager", "--password",
          "manager"};
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

// The settings categories copy the demo base's settings into the demo
// target: one line each (the print-on-add rows one per row), all succeeded.
TEST(DuploraClient, CopiesTheSettingsCategories) {
  const std::vector<std::string> keys = {"DPX_TRN_CMPDSPSETTINGS_100",  "DPX_TRN_CMPDETAILS_100",
                                         "DPX_TRN_GENERALSETTINGS_100", "DPX_TRN_DOCSETTINGS_100",
                                         "DPX_TRN_PRTONADDSETTINGS_100", "DPX_TRN_COASETTINGS_100"};
  std::string list;
  for (const auto& key : keys) list += (list.empty() ? "" : ",") + key;
  struct Case {
    int method;
    std::vector<std::string> printRows;  // the target's ADP1 afterwards
  } cases[] = {{1, {"13|Y", "17|N", "22|Y"}}, {2, {"13|Y", "15|Y"}}, {4, {"13|Y", "15|Y", "17|N", "22|Y"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    DemoServerFixture server;
    const auto run = Client(server.root(), std::vector<std::string>{"copy"} + Login(server) +
                                               std::vector<std::string>{"--base", "DEMO_BASE", "--target",
                                                                        "DEMO_TARGET", "--method",
                                                                        std::to_string(c.method), "--categories", list});
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

    const auto lines = LogLines(LogPath(run.out));
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
  const std::string missingBase = (scratch / "missing-base.xml").string();
  std::filesystem::rename(WorksheetFile(server, (server.root() / "configs" / "gone.xml").string()), missingBase);
  const std::string good = WorksheetFile(server);

  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"copy", "--worksheet", (scratch / "missing.xml").string()}, "cannot read the worksheet file"},
      {{"copy", "--worksheet", garbage}, "is not a readable worksheet"},
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
      // Replace All cannot remove the target's payment terms that its
      // administration record names as defaults: the host refuses those two.
      const int refused = method == 1 ? 2 : 0;
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
          EXPECT_EQ(line.rfind("DPX_TRN_PAYMENTTERMS_100|404|403|", 0), 0u) << line;
          EXPECT_NE(line.find("still refer"), std::string::npos) << line;
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
