// Measures the simulated host on one object type (currencies, 100,000 rows):
// Add per second and GetByKey+GetAsXML per second, against plain SQLite
// inserts and keyed selects of the same rows, and prints the ratios.
//   host_bench [ROWS]
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/host/host.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string Code(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "C%06d", i);
  return buf;
}

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  if (rows < 1) rows = 100000;
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("dpx-host-bench-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  dpx::host::DemoServerOptions options;
  options.demoRows = false;
  dpx::host::DemoServer::Create(dir / "server", options, false);

  auto company = dpx::host::CreateCompany();
  company->SetServer((dir / "server").string());
  company->SetCompanyDB("DEMO_TARGET");
  company->SetDbServerType(6);
  company->SetUseTrusted(true);
  company->SetUserName("manager");
  company->SetPassword("manager");
  if (company->Connect() != 0) {
    std::fprintf(stderr, "connect: %s\n", company->GetLastErrorDescription().c_str());
    return 1;
  }

  // Host: Add inside one transaction, as a copy that opened one does.
  auto t0 = Clock::now();
  company->StartTransaction();
  for (int i = 0; i < rows; ++i) {
    auto cur = company->NewBusinessObject(37);
    cur->SetProperty("Code", dpx::Variant(Code(i)));
    cur->SetProperty("Name", dpx::Variant("Currency & <" + std::to_string(i) + ">"));
    cur->SetProperty("InternationalDescription", dpx::Variant("Intl"));
    cur->SetProperty("Rounding", dpx::Variant(2));
    if (cur->Add() != 0) {
      std::fprintf(stderr, "add: %s\n", company->GetLastErrorDescription().c_str());
      return 1;
    }
  }
  company->EndTransaction(dpx::host::kEndCommit);
  double hostAdd = rows / Seconds(t0);

  // Host: Add without a transaction (each Add commits on its own), a sample.
  int sample = rows < 2000 ? rows : 2000;
  t0 = Clock::now();
  for (int i = 0; i < sample; ++i) {
    auto cur = company->NewBusinessObject(37);
    cur->SetProperty("Code", dpx::Variant(std::string("X").append(Code(i))));
    cur->SetProperty("Name", dpx::Variant("Sample"));
    if (cur->Add() != 0) return 1;
  }
  double hostAddAuto = sample / Seconds(t0);

  // Host: GetByKey + GetAsXML.
  size_t bytes = 0;
  t0 = Clock::now();
  auto cur = company->NewBusinessObject(37);
  for (int i = 0; i < rows; ++i) {
    if (!cur->GetByKey({dpx::Variant(Code((i * 7919) % rows))})) return 1;
    bytes += cur->GetAsXML().size();
  }
  double hostGet = rows / Seconds(t0);
  company->Disconnect();

  // Plain SQLite: the same rows, prepared insert in one transaction, keyed select.
  sqlite3* db = nullptr;
  std::string plain = (dir / "plain.sqlite").string();
  Check(sqlite3_open(plain.c_str(), &db), db);
  Check(sqlite3_exec(db,
                     "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; CREATE TABLE OCRN (CurrCode TEXT COLLATE NOCASE "
                     "PRIMARY KEY, CurrName TEXT, ChkName TEXT, Chk100Name TEXT, DocCurrCod TEXT, FrgnName TEXT, "
                     "RoundSys INTEGER, Locked TEXT)",
                     nullptr, nullptr, nullptr),
        db);
  sqlite3_stmt* ins = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO OCRN (CurrCode, CurrName, ChkName, RoundSys, Locked) VALUES (?, ?, ?, ?, 'N')",
                           -1, &ins, nullptr),
        db);
  t0 = Clock::now();
  Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
  for (int i = 0; i < rows; ++i) {
    std::string code = Code(i), name = "Currency & <" + std::to_string(i) + ">";
    sqlite3_bind_text(ins, 1, code.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(ins, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(ins, 3, "Intl", -1, SQLITE_STATIC);
    sqlite3_bind_int(ins, 4, 2);
    Check(sqlite3_step(ins), db);
    sqlite3_reset(ins);
  }
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  double plainAdd = rows / Seconds(t0);
  sqlite3_stmt* sel = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT * FROM OCRN WHERE CurrCode = ?", -1, &sel, nullptr), db);
  size_t plainBytes = 0;
  t0 = Clock::now();
  for (int i = 0; i < rows; ++i) {
    std::string code = Code((i * 7919) % rows);
    sqlite3_bind_text(sel, 1, code.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(sel) != SQLITE_ROW) return 1;
    for (int c = 0; c < sqlite3_column_count(sel); ++c) plainBytes += static_cast<size_t>(sqlite3_column_bytes(sel, c));
    sqlite3_reset(sel);
  }
  double plainGet = rows / Seconds(t0);
  sqlite3_finalize(ins);
  sqlite3_finalize(sel);
  sqlite3_close(db);
  std::filesystem::remove_all(dir);

  std::printf("rows: %d (object type 37, currencies)\n", rows);
  std::printf("host Add (in transaction):        %10.0f /s\n", hostAdd);
  std::printf("host Add (each commits, %d):    %10.0f /s\n", sample, hostAddAuto);
  std::printf("plain SQLite insert:              %10.0f /s   host/plain = %.2f\n", plainAdd, hostAdd / plainAdd);
  std::printf("host GetByKey+GetAsXML:           %10.0f /s   (%zu XML bytes)\n", hostGet, bytes);
  std::printf("plain SQLite keyed select:        %10.0f /s   host/plain = %.2f\n", plainGet, hostGet / plainGet);
  (void)plainBytes;
  return 0;
}
