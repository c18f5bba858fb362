// duplora-host: the simulated host's own command-line tool.
//   duplora-host create-demo DIR [--force] [--type N]
//   duplora-host sql DIR COMPANY_DB "SQL"
//   duplora-host check DIR COMPANY_DB
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "platform/host/host.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: duplora-host create-demo DIR [--force] [--type N]\n"
               "       duplora-host sql DIR COMPANY_DB \"SQL\"\n"
               "       duplora-host check DIR COMPANY_DB\n");
  return 2;
}

int CreateDemo(int argc, char** argv) {
  if (argc < 3) return Usage();
  dpx::host::DemoServerOptions options;
  bool force = false;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--force") == 0) force = true;
    else if (std::strcmp(argv[i], "--type") == 0 && i + 1 < argc) {
      int64_t t;
      if (!dpx::ParseInt64(argv[++i], t)) return Usage();
      options.serverType = static_cast<int>(t);
    } else return Usage();
  }
  dpx::host::DemoServer::Create(argv[2], options, force);
  std::printf("Demo server created in %s (server type %d): %s and %s, users %s/%s and %s/%s\n", argv[2],
              options.serverType, options.baseDb.c_str(), options.targetDb.c_str(), dpx::host::DemoServer::kSuperUser,
              dpx::host::DemoServer::kSuperPassword, dpx::host::DemoServer::kOrdinaryUser,
              dpx::host::DemoServer::kOrdinaryPassword);
  return 0;
}

// A cell on one line: tabs, line breaks and backslashes are written as
// escapes, so that every row stays one line of tab-separated cells.
std::string Cell(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

// The company database of a server, connected as its superuser; null, with
// the reason on stderr, when it cannot be.
std::shared_ptr<dpx::host::Company> ConnectCompany(const std::string& dir, const std::string& db) {
  dpx::host::ServerCatalogue catalogue(dir);
  auto entry = catalogue.findCompany(db);
  if (!entry) {
    std::fprintf(stderr, "duplora-host: no company database '%s' in %s\n", db.c_str(), dir.c_str());
    return nullptr;
  }
  auto company = dpx::host::CreateCompany();
  company->SetServer(dir);
  company->SetCompanyDB(entry->dbName);
  company->SetDbServerType(entry->serverType);
  company->SetUseTrusted(true);
  company->SetUserName(dpx::host::DemoServer::kSuperUser);
  company->SetPassword(dpx::host::DemoServer::kSuperPassword);
  if (company->Connect() != 0) {
    std::fprintf(stderr, "duplora-host: cannot connect to %s: %s\n", db.c_str(), company->GetLastErrorDescription().c_str());
    return nullptr;
  }
  return company;
}

int RunSql(int argc, char** argv) {
  if (argc != 5) return Usage();
  const std::string sql = argv[4];
  auto company = ConnectCompany(argv[2], argv[3]);
  if (!company) return 1;
  auto rs = company->NewRecordset();
  rs->DoQuery(sql);
  for (int i = 0; i < rs->FieldCount(); ++i) std::cout << (i ? "\t" : "") << Cell(rs->FieldName(i));
  if (rs->FieldCount()) std::cout << "\n";
  for (rs->MoveFirst(); !rs->EoF(); rs->MoveNext()) {
    for (int i = 0; i < rs->FieldCount(); ++i) std::cout << (i ? "\t" : "") << Cell(rs->Field(i).toText());
    std::cout << "\n";
  }
  return 0;
}

// Prints every reference that names no record, one line each; exit 1 when
// there is any.
int RunCheck(int argc, char** argv) {
  if (argc != 4) return Usage();
  auto company = ConnectCompany(argv[2], argv[3]);
  if (!company) return 1;
  const auto dangling = dpx::host::ReferenceCheck::Run(company->store());
  for (const auto& d : dangling) std::cout << Cell(d.text()) << "\n";
  if (dangling.empty()) std::cout << "No dangling references in " << argv[3] << "\n";
  return dangling.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  try {
    if (std::strcmp(argv[1], "create-demo") == 0) return CreateDemo(argc, argv);
    if (std::strcmp(argv[1], "sql") == 0) return RunSql(argc, argv);
    if (std::strcmp(argv[1], "check") == 0) return RunCheck(argc, argv);
  } catch (const dpx::HostError& e) {
    std::fprintf(stderr, "duplora-host: %s\n", e.what());
    return 1;
  }
  return Usage();
}
