// copy_bench [--partners] [N...]: copies N queries (a business-object
// category) and N indexes (a table category), or with --partners N business
// partners (each with a group, payment terms, a price list, two accounts
// under the host's account flag and, every tenth, a parent), from a base
// company into an empty target and then into the now full target, and prints
// the time of each phase of the road, records per second, the peak memory,
// and the ratio against copying the same rows with plain SQLite in the same
// run. Default sizes: 10000 and 100000.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include "categories/category_classes.h"
#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/company_store.h"
#include "platform/host/demo_server.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/utf16_file_stream.h"
#include "worksheet/worksheet.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr const char* kQueries = "DPX_TRN_QUERIES_100";
constexpr const char* kIndexes = "DPX_TRN_INDEXES_100";
constexpr const char* kPartners = "DPX_TRN_BPGENERALINFO_100";

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

long PeakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::shared_ptr<dpx::host::Company> Connect(const fs::path& server, const std::string& db) {
  auto c = dpx::host::CreateCompany();
  c->SetServer(server.string());
  c->SetCompanyDB(db);
  c->SetDbServerType(6);
  c->SetUserName(dpx::host::DemoServer::kSuperUser);
  c->SetPassword(dpx::host::DemoServer::kSuperPassword);
  if (c->Connect() != 0) throw std::runtime_error("cannot connect " + db + ": " + c->GetLastErrorDescription());
  return c;
}

void FillBase(dpx::host::Company& base, int n) {
  auto& store = base.store();
  store.begin();
  store.exec("INSERT INTO \"OQCN\" (\"CategoryId\", \"CatName\") VALUES (1, 'General')");
  for (int i = 1; i <= n; ++i) {
    const std::string number = std::to_string(i);
    store.exec("INSERT INTO \"OUQR\" (\"IntrnalKey\", \"QCategory\", \"QName\", \"QString\", \"QType\") "
               "VALUES (?, 1, ?, ?, 'W')",
               {dpx::Variant(int64_t{i}), dpx::Variant("Query " + number), dpx::Variant("SELECT " + number)});
    char code[16];
    std::snprintf(code, sizeof code, "I%07d", i);
    store.exec("INSERT INTO \"OIDX\" (\"IdexCode\", \"IndexName\") VALUES (?, ?)",
               {dpx::Variant(std::string(code)), dpx::Variant("Index " + number)});
  }
  store.commit();
}

// Partners and the rows they name. The target has the named rows under other
// keys, so every reference is translated; both companies let accounts travel.
void FillPartners(dpx::host::Company& base, dpx::host::Company& target, int n) {
  for (dpx::host::Company* company : {&base, &target}) {
    const bool isBase = company == &base;
    auto& store = company->store();
    store.begin();
    store.exec("UPDATE \"CINF\" SET \"EnableAccountSegmentation\" = 1");
    store.exec(isBase ? "INSERT INTO \"OCRG\" (\"GroupCode\", \"GroupName\") VALUES (1, 'Customers')"
                      : "INSERT INTO \"OCRG\" (\"GroupCode\", \"GroupName\") VALUES (5, 'Customers')");
    store.exec(isBase ? "INSERT INTO \"OCTG\" (\"GroupNum\", \"PymntGroup\") VALUES (1, 'Net 30')"
                      : "INSERT INTO \"OCTG\" (\"GroupNum\", \"PymntGroup\") VALUES (7, 'Net 30')");
    store.exec(isBase ? "INSERT INTO \"OPLN\" (\"ListNum\", \"ListName\") VALUES (1, 'Retail')"
                      : "INSERT INTO \"OPLN\" (\"ListNum\", \"ListName\") VALUES (3, 'Retail')");
    store.exec(isBase ? "INSERT INTO \"OACT\" (\"AcctCode\", \"FormatCode\") VALUES ('_B1', '1100'), ('_B2', '2100')"
                      : "INSERT INTO \"OACT\" (\"AcctCode\", \"FormatCode\") VALUES ('_T1', '1100'), ('_T2', '2100')");
    store.commit();
  }
  auto& store = base.store();
  store.begin();
  for (int i = 1; i <= n; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "C%07d", i);
    char parent[16];
    std::snprintf(parent, sizeof parent, "C%07d", i - 9);
    store.exec("INSERT INTO \"OCRD\" (\"CardCode\", \"CardType\", \"CardName\", \"GroupCode\", \"GroupNum\", "
               "\"ListNum\", \"DebitorAccount\", \"DownPaymentClearAct\", \"FatherCard\") "
               "VALUES (?, 'C', ?, 1, 1, 1, '_B1', '_B2', ?)",
               {dpx::Variant(std::string(code)), dpx::Variant("Partner " + std::to_string(i)),
                i % 10 == 0 ? dpx::Variant(std::string(parent)) : dpx::Variant()});
  }
  store.commit();
}

// The same partners copied with plain SQLite: one INSERT ... SELECT.
double PlainSqlitePartners(const fs::path& baseFile, const fs::path& targetFile) {
  const auto start = Clock::now();
  sqlite3* db = nullptr;
  sqlite3_open(targetFile.string().c_str(), &db);
  sqlite3_exec(db, ("ATTACH DATABASE '" + baseFile.string() + "' AS base").c_str(), nullptr, nullptr, nullptr);
  sqlite3_exec(db, "BEGIN; INSERT OR REPLACE INTO main.\"OCRD\" SELECT * FROM base.\"OCRD\"; COMMIT", nullptr,
               nullptr, nullptr);
  sqlite3_close(db);
  return Seconds(start);
}

// The same rows copied with plain SQLite: read every row, insert it with a
// prepared statement, in one transaction.
double PlainSqliteCopy(const fs::path& baseFile, const fs::path& targetFile) {
  const auto start = Clock::now();
  sqlite3* db = nullptr;
  sqlite3_open(targetFile.string().c_str(), &db);
  sqlite3_exec(db, ("ATTACH DATABASE '" + baseFile.string() + "' AS base").c_str(), nullptr, nullptr, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (const char* table : {"OUQR", "OIDX"}) {
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, (std::string("SELECT * FROM base.\"") + table + "\"").c_str(), -1, &select, nullptr);
    const int columns = sqlite3_column_count(select);
    std::string marks;
    for (int i = 0; i < columns; ++i) marks += i ? ",?" : "?";
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, (std::string("INSERT OR REPLACE INTO main.\"") + table + "\" VALUES (" + marks + ")").c_str(),
                       -1, &insert, nullptr);
    while (sqlite3_step(select) == SQLITE_ROW) {
      for (int i = 0; i < columns; ++i) sqlite3_bind_value(insert, i + 1, sqlite3_column_value(select, i));
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_finalize(select);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return Seconds(start);
}

void Bench(int n, bool partners) {
  std::string pattern = (fs::temp_directory_path() / "copy-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
  const fs::path dir = pattern;
  const fs::path server = dir / "server";
  dpx::host::DemoServerOptions options;
  options.demoRows = false;
  dpx::host::DemoServer::Create(server, options, true);
  const fs::path baseFile = server / "DEMO_BASE.company";
  const fs::path targetFile = server / "DEMO_TARGET.company";
  auto base = Connect(server, "DEMO_BASE");
  auto target = Connect(server, "DEMO_TARGET");
  if (partners)
    FillPartners(*base, *target, n);
  else
    FillBase(*base, n);
  fs::copy_file(targetFile, dir / "plain.company");
  const double plain = partners ? PlainSqlitePartners(baseFile, dir / "plain.company")
                                : PlainSqliteCopy(baseFile, dir / "plain.company");
  // The process's peak after the plain copy, before the road runs.
  const long plainPeak = PeakKb();

  DPX_ConnectionContext context;
  context.setCompany(base);
  context.setBaseCompany(base);
  context.setTargetCompany(target);
  context.setCopyMethod(4);
  DPX_CopyLog log(&context);
  log.openIn(dir.string(), "TARGET", true);
  log.writeHeader();
  context.copyLog = &log;

  DPX_Worksheet worksheet;
  const std::vector<const char*> keys =
      partners ? std::vector<const char*>{kPartners} : std::vector<const char*>{kQueries, kIndexes};
  for (const char* key : keys) {
    DPX_WorksheetNode node;
    node.setLeafId(std::to_string(worksheet.getNodes().size() + 1));
    node.setStringKey(key);
    node.setIsLeaf(true);
    node.setSelected(DPX_WorksheetNode::kSelectedWhole);
    worksheet.getNodes().push_back(node);
  }
  worksheet.setCopyMethod(4);
  const std::string file = (dir / "DPX_Config.xml").string();
  context.setTargetFile(file);

  for (const char* into : {"empty", "full"}) {
    DPX_ConfigurationManager manager(&context);
    // The phases one by one, the file written category by category as a
    // save writes it, so that memory holds one category at a time...
    auto t = Clock::now();
    double writeFile = 0;
    {
      std::string buffer;
      manager.openConfiguration(worksheet, true);
      manager.updateHeaderFromWorksheet(worksheet);
      manager.writeHeader(buffer);
      dpx::Utf16FileStream out(file, true);
      auto flush = [&out, &writeFile](std::string& text) {
        const auto w = Clock::now();
        const bool written = out.write(text);
        text.clear();
        writeFile += Seconds(w);
        return written;
      };
      flush(buffer);
      manager.writeBody(buffer, worksheet.getNodes(), false, flush);
      flush(buffer);
      const auto w = Clock::now();
      if (!out.commit()) throw std::runtime_error("cannot write " + file);
      writeFile += Seconds(w);
    }
    const double readBase = Seconds(t) - writeFile;
    const double megabytes = static_cast<double>(fs::file_size(file)) / 1e6;
    t = Clock::now();
    manager.readConfigurationFile(worksheet, file);
    const double readBack = Seconds(t);
    // ...and the whole copy, whose remainder is the writing of the target.
    t = Clock::now();
    DPX_ConfigurationManager copier(&context);
    const auto result = copier.writeConfiguration(worksheet, false);
    const double total = Seconds(t);
    const double writeTarget = total - readBase - writeFile - readBack;
    const double records = static_cast<double>(keys.size()) * n;
    const auto copied = target->store().query(
        partners ? "SELECT (SELECT COUNT(*) FROM \"OCRD\"), (SELECT COUNT(*) FROM \"OCRD\")"
                 : "SELECT (SELECT COUNT(*) FROM \"OUQR\"), (SELECT COUNT(*) FROM \"OIDX\")");
    if (copied.rows.empty() || copied.rows[0][0].toInt64() < n || copied.rows[0][1].toInt64() < n)
      std::printf("  (the target holds fewer rows than the base)\n");
    std::printf("%7d x %zu into %-5s result %d | read base %7.2fs (%.0fx)  write file %6.2fs (%.1f MB)  read back "
                "%6.2fs  write target %7.2fs (%.0fx) | total %7.2fs, %8.0f records/s | peak %ld MB (plain SQLite "
                "%ld MB) | plain SQLite %.3fs, ratio %.0fx\n",
                n, keys.size(), into, result, readBase, readBase / plain, writeFile, megabytes, readBack, writeTarget,
                writeTarget / plain, total, records / total, PeakKb() / 1024, plainPeak / 1024, plain, total / plain);
    std::fflush(stdout);
  }
  context.copyLog = nullptr;
  log.writeEndMarker();
  log.close();
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace

int main(int argc, char** argv) {
  dpx::LogSink::SetStderrLevel(dpx::LogLevel::Error);
  RegisterCategoryClasses();
  std::vector<int> sizes;
  bool partners = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--partners")
      partners = true;
    else
      sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty()) sizes = {10000, 100000};
  try {
    for (int n : sizes) Bench(n, partners);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "copy_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
