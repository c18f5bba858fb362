// copy_bench [--partners] [N...]: copies N queries (a business-object
// category) and N indexes (a table category), or with --partners N business
// partners (each with a group, payment terms, a price list, two accounts
// under the host's account flag and, every tenth, a parent), from a base
// company into an empty target and then into the now full target, and prints
// the time of each phase of the road, records per second, the road's peak
// memory (the floor's and plain SQLite's not counted) beside the largest
// category's text, and two ratios measured in the same run: against copying the same
// rows with plain SQLite, and against the floor, the least work a copy of
// records must do, done with plain SQLite (per record: a keyed match lookup,
// a savepoint, the next key, one UTF-16 log line; and the file round trip;
// shown for queries and indexes only). Default sizes: 10000 and 100000; each
// size runs in a process of its own, and the end shows the peak of each size
// and its growth from one size to the next.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "categories/category_classes.h"
#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/text.h"
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

// The peak resident memory since the last ResetPeak (the floor and plain
// SQLite run in the same process and must not count for the road).
long StatusKb(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  long kb = -1;
  char line[256];
  const std::string format = std::string(field) + ": %ld kB";
  while (status && std::fgets(line, sizeof line, status))
    if (std::sscanf(line, format.c_str(), &kb) == 1) break;
  if (status) std::fclose(status);
  return kb;
}

long PeakKb() {
  const long kb = StatusKb("VmHWM");
  if (kb >= 0) return kb;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void ResetPeak() {
  if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
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

// The phases of a copy, in seconds.
struct Phases {
  double readBase = 0, writeFile = 0, readBack = 0, writeTarget = 0;
  double total() const { return readBase + writeFile + readBack + writeTarget; }
};

sqlite3_stmt* Prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
    throw std::runtime_error("floor: " + std::string(sqlite3_errmsg(db)) + " in " + sql);
  return stmt;
}

void Run(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
    throw std::runtime_error("floor: " + std::string(sqlite3_errmsg(db)) + " in " + sql);
}

// The floor: the rows read from the base as record text, the text through a
// UTF-16 file and back, and per record the least a copy does in the target,
// in one transaction: a lookup by the match column, a savepoint, the next
// key (numbered tables), the insert or update, and one UTF-16 log line.
Phases FloorCopy(const fs::path& baseFile, const fs::path& targetFile, const fs::path& dir) {
  struct Table {
    const char* name;
    const char* match;   // the column a record is matched by
    const char* key;     // the key column
    bool numbered;       // the target gives the key
  };
  const Table tables[] = {{"OUQR", "QName", "IntrnalKey", true}, {"OIDX", "IdexCode", "IdexCode", false}};
  Phases phases;
  sqlite3* db = nullptr;
  sqlite3_open(targetFile.string().c_str(), &db);
  Run(db, ("ATTACH DATABASE '" + baseFile.string() + "' AS base").c_str());

  auto t = Clock::now();
  std::string text;
  for (const Table& table : tables) {
    sqlite3_stmt* select = Prepare(db, std::string("SELECT * FROM base.\"") + table.name + "\"");
    const int columns = sqlite3_column_count(select);
    text += "<table name=\"";
    text += table.name;
    text += "\">";
    while (sqlite3_step(select) == SQLITE_ROW) {
      text += "<BOM><row>";
      for (int i = 0; i < columns; ++i) {
        const char* value = reinterpret_cast<const char*>(sqlite3_column_text(select, i));
        text += "<";
        text += sqlite3_column_name(select, i);
        text += ">";
        if (value) text += value;
        text += "</";
        text += sqlite3_column_name(select, i);
        text += ">";
      }
      text += "</row></BOM>";
    }
    text += "</table>";
    sqlite3_finalize(select);
  }
  phases.readBase = Seconds(t);

  t = Clock::now();
  const fs::path file = dir / "floor.xml";
  {
    const std::string bytes = dpx::Utf8ToUtf16LEBytes(text);
    std::FILE* out = std::fopen(file.string().c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  std::string().swap(text);
  phases.writeFile = Seconds(t);

  t = Clock::now();
  {
    std::string bytes(fs::file_size(file), '\0');
    std::FILE* in = std::fopen(file.string().c_str(), "rb");
    if (std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size()) throw std::runtime_error("floor: short read");
    std::fclose(in);
    text = dpx::Utf16LEBytesToUtf8(bytes);
  }
  phases.readBack = Seconds(t);

  t = Clock::now();
  std::string log;
  Run(db, "BEGIN");
  for (const Table& table : tables) {
    sqlite3_stmt* select = Prepare(db, std::string("SELECT * FROM base.\"") + table.name + "\"");
    const int columns = sqlite3_column_count(select);
    int matchColumn = 0, keyColumn = 0;
    for (int i = 0; i < columns; ++i) {
      if (std::string(sqlite3_column_name(select, i)) == table.match) matchColumn = i;
      if (std::string(sqlite3_column_name(select, i)) == table.key) keyColumn = i;
    }
    sqlite3_stmt* lookup = Prepare(db, std::string("SELECT \"") + table.key + "\" FROM main.\"" + table.name +
                                           "\" WHERE \"" + table.match + "\" = ?");
    sqlite3_stmt* next = Prepare(db, std::string("SELECT IFNULL(MAX(\"") + table.key + "\"), 0) + 1 FROM main.\"" +
                                         table.name + "\"");
    std::string marks;
    for (int i = 0; i < columns; ++i) marks += i ? ",?" : "?";
    sqlite3_stmt* write = Prepare(db, std::string("INSERT OR REPLACE INTO main.\"") + table.name + "\" VALUES (" +
                                          marks + ")");
    sqlite3_stmt* savepoint = Prepare(db, "SAVEPOINT r");
    sqlite3_stmt* release = Prepare(db, "RELEASE r");
    while (sqlite3_step(select) == SQLITE_ROW) {
      sqlite3_bind_value(lookup, 1, sqlite3_column_value(select, matchColumn));
      const bool exists = sqlite3_step(lookup) == SQLITE_ROW;
      const int64_t existingKey = exists ? sqlite3_column_int64(lookup, 0) : 0;
      sqlite3_reset(lookup);
      sqlite3_step(savepoint);
      sqlite3_reset(savepoint);
      int64_t key = existingKey;
      if (!exists && table.numbered) {
        sqlite3_step(next);
        key = sqlite3_column_int64(next, 0);
        sqlite3_reset(next);
      }
      for (int i = 0; i < columns; ++i) {
        if (i == keyColumn && table.numbered)
          sqlite3_bind_int64(write, i + 1, key);
        else
          sqlite3_bind_value(write, i + 1, sqlite3_column_value(select, i));
      }
      sqlite3_step(write);
      sqlite3_reset(write);
      sqlite3_step(release);
      sqlite3_reset(release);
      const char* code = reinterpret_cast<const char*>(sqlite3_column_text(select, matchColumn));
      log += dpx::Utf8ToUtf16LEBytes(std::string("K|212|402|") + (code ? code : "") + "||||\r\n");
    }
    for (sqlite3_stmt* stmt : {select, lookup, next, write, savepoint, release}) sqlite3_finalize(stmt);
  }
  Run(db, "COMMIT");
  {
    std::FILE* out = std::fopen((dir / "floor-log.txt").string().c_str(), "wb");
    std::fwrite(log.data(), 1, log.size(), out);
    std::fclose(out);
  }
  phases.writeTarget = Seconds(t);
  sqlite3_close(db);
  return phases;
}

// What the road is measured against: plain SQLite and, for queries and
// indexes, the floor into the empty and then the full target.
struct Baselines {
  double plain = 0;
  Phases floors[2];
};

// Plain SQLite and the floor run in a child process, so that what they leave
// in the heap never counts for the road's memory.
Baselines MeasureBaselines(const fs::path& baseFile, const fs::path& targetFile, const fs::path& dir, bool partners) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("no pipe for the baselines");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("no process for the baselines");
  if (child == 0) {
    ::close(fds[0]);
    Baselines measured;
    int status = 0;
    try {
      fs::copy_file(targetFile, dir / "plain.company");
      measured.plain = partners ? PlainSqlitePartners(baseFile, dir / "plain.company")
                                : PlainSqliteCopy(baseFile, dir / "plain.company");
      if (!partners) {
        fs::copy_file(targetFile, dir / "floor.company");
        measured.floors[0] = FloorCopy(baseFile, dir / "floor.company", dir);
        measured.floors[1] = FloorCopy(baseFile, dir / "floor.company", dir);  // into the now full copy
      }
    } catch (const std::exception& e) {
      std::fprintf(stderr, "copy_bench: %s\n", e.what());
      status = 1;
    }
    if (::write(fds[1], &measured, sizeof measured) != static_cast<ssize_t>(sizeof measured)) status = 1;
    ::_exit(status);
  }
  ::close(fds[1]);
  Baselines measured;
  const bool read = ::read(fds[0], &measured, sizeof measured) == static_cast<ssize_t>(sizeof measured);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("plain SQLite and the floor could not be measured");
  return measured;
}

// The road's memory in one pass.
struct PassMemory {
  long peakKb = 0, startKb = 0;
  double largestCategory = 0;  // bytes of text
};

std::array<PassMemory, 2> Bench(int n, bool partners) {
  std::array<PassMemory, 2> memory;
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
  const Baselines baselines = MeasureBaselines(baseFile, targetFile, dir, partners);
  const double plain = baselines.plain;
  const Phases* floors = baselines.floors;

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

  for (int pass = 0; pass < 2; ++pass) {
    const char* into = pass == 0 ? "empty" : "full";
    const Phases& floor = floors[pass];
    size_t largestCategory = 0;
    ResetPeak();
    const long startKb = StatusKb("VmRSS");
    auto manager = std::make_unique<DPX_ConfigurationManager>(&context);
    // The phases one by one, the file written category by category as a
    // save writes it, so that memory holds one category at a time...
    auto t = Clock::now();
    double writeFile = 0;
    {
      std::string buffer;
      manager->openConfiguration(worksheet, true);
      manager->updateHeaderFromWorksheet(worksheet);
      manager->writeHeader(buffer);
      dpx::Utf16FileStream out(file, true);
      // A category's text may come in several pieces, the first of them
      // opening with its OBJECT element.
      size_t category = 0;
      auto flush = [&out, &writeFile, &largestCategory, &category](std::string& text) {
        if (text.rfind("<OBJECT", 0) == 0) category = 0;
        category += text.size();
        largestCategory = std::max(largestCategory, category);
        const auto w = Clock::now();
        const bool written = out.write(text);
        text.clear();
        writeFile += Seconds(w);
        return written;
      };
      flush(buffer);
      manager->writeBody(buffer, worksheet.getNodes(), false, flush);
      flush(buffer);
      const auto w = Clock::now();
      if (!out.commit()) throw std::runtime_error("cannot write " + file);
      writeFile += Seconds(w);
    }
    const double readBase = Seconds(t) - writeFile;
    const double megabytes = static_cast<double>(fs::file_size(file)) / 1e6;
    t = Clock::now();
    manager->readConfigurationFile(worksheet, file);
    const double readBack = Seconds(t);
    manager.reset();  // the copy reads its file with a manager of its own
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
    auto phase = [&](const char* name, double ours, double least) {
      if (partners)
        std::printf("  %-12s %7.2fs  %5.1fx plain\n", name, ours, ours / plain);
      else
        std::printf("  %-12s %7.2fs  floor %6.2fs  %5.1fx floor  %5.1fx plain\n", name, ours, least, ours / least,
                    ours / plain);
    };
    std::printf("%7d x %zu into %-5s result %d, file %.1f MB\n", n, keys.size(), into, result, megabytes);
    phase("read base", readBase, floor.readBase);
    phase("write file", writeFile, floor.writeFile);
    phase("read back", readBack, floor.readBack);
    phase("write target", writeTarget, floor.writeTarget);
    if (partners)
      std::printf("  total        %7.2fs  %8.0f records/s  %5.1fx plain SQLite (%.3fs)\n", total, records / total,
                  total / plain, plain);
    else
      std::printf("  total        %7.2fs  %8.0f records/s  %5.1fx floor (%.2fs)  %5.1fx plain SQLite (%.3fs)\n",
                  total, records / total, total / floor.total(), floor.total(), total / plain, plain);
    const long peakKb = PeakKb();
    memory[static_cast<size_t>(pass)] = {peakKb, startKb, static_cast<double>(largestCategory)};
    std::printf("  peak memory  %ld MB (%ld MB at the start), largest category %.1f MB of text, %.2fx it\n",
                peakKb / 1024, startKb / 1024, static_cast<double>(largestCategory) / 1e6,
                static_cast<double>(peakKb) * 1024 / static_cast<double>(std::max<size_t>(largestCategory, 1)));
    std::fflush(stdout);
  }
  context.copyLog = nullptr;
  log.writeEndMarker();
  log.close();
  std::error_code ec;
  fs::remove_all(dir, ec);
  return memory;
}

// Each size runs in a process of its own, so that what a smaller size left
// in the heap never counts for a larger one.
std::array<PassMemory, 2> BenchInChild(int n, bool partners) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("no pipe for the size " + std::to_string(n));
  std::fflush(stdout);
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("no process for the size " + std::to_string(n));
  if (child == 0) {
    ::close(fds[0]);
    int status = 0;
    std::array<PassMemory, 2> memory{};
    try {
      memory = Bench(n, partners);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "copy_bench: %s\n", e.what());
      status = 1;
    }
    std::fflush(stdout);
    if (::write(fds[1], &memory, sizeof memory) != static_cast<ssize_t>(sizeof memory)) status = 1;
    ::_exit(status);
  }
  ::close(fds[1]);
  std::array<PassMemory, 2> memory{};
  const bool read = ::read(fds[0], &memory, sizeof memory) == static_cast<ssize_t>(sizeof memory);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("the size " + std::to_string(n) + " could not be measured");
  return memory;
}

// The peak of each size beside its largest category, and how both grow
// from one size to the next.
void PrintMemoryBySize(const std::vector<int>& sizes, const std::vector<std::array<PassMemory, 2>>& memory) {
  std::printf("memory by size (each size in a process of its own)\n");
  std::printf("  %8s  %-5s  %7s  %9s  %16s  %6s\n", "records", "pass", "peak MB", "start MB", "largest category",
              "x it");
  for (size_t i = 0; i < sizes.size(); ++i)
    for (size_t pass = 0; pass < 2; ++pass) {
      const PassMemory& m = memory[i][pass];
      std::printf("  %8d  %-5s  %7ld  %9ld  %13.1f MB  %6.2f\n", sizes[i], pass == 0 ? "empty" : "full",
                  m.peakKb / 1024, m.startKb / 1024, m.largestCategory / 1e6,
                  static_cast<double>(m.peakKb) * 1024 / std::max(m.largestCategory, 1.0));
    }
  for (size_t i = 1; i < sizes.size(); ++i)
    for (size_t pass = 0; pass < 2; ++pass) {
      const double records = sizes[i] - sizes[i - 1];
      if (records <= 0) continue;
      const double peak = static_cast<double>(memory[i][pass].peakKb - memory[i - 1][pass].peakKb) / 1024;
      const double text = (memory[i][pass].largestCategory - memory[i - 1][pass].largestCategory) / 1e6;
      std::printf("  %d -> %d, %s target: peak %+.1f MB, largest category %+.1f MB (%.2f MB of peak per MB of it)\n",
                  sizes[i - 1], sizes[i], pass == 0 ? "empty" : "full", peak, text, text > 0 ? peak / text : 0.0);
    }
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
    std::vector<std::array<PassMemory, 2>> memory;
    for (int n : sizes) memory.push_back(BenchInChild(n, partners));
    PrintMemoryBySize(sizes, memory);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "copy_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
