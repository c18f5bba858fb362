// The server catalogue: a small SQLite file beside the company databases.
#include "platform/host/server_catalogue.h"

#include <fstream>

#include "platform/framework/host_error.h"
#include "platform/framework/text.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/sql_dialect.h"

namespace dpx::host {

namespace {

const char* kSchema =
    "CREATE TABLE IF NOT EXISTS COMPANIES (dbName TEXT PRIMARY KEY, companyName TEXT, version INTEGER, "
    "localization TEXT, serverType INTEGER);"
    "CREATE TABLE IF NOT EXISTS LOGINS (name TEXT PRIMARY KEY, password TEXT);"
    "CREATE TABLE IF NOT EXISTS BACKUPS (dbName TEXT, finished TEXT);"
    "CREATE VIEW IF NOT EXISTS backupset AS SELECT dbName AS database_name, finished AS backup_finish_date FROM BACKUPS;";

// The catalogue is a store of server type 0 (its own tables are plain SQLite).
std::unique_ptr<CompanyStore> OpenCatalogue(const std::filesystem::path& dir) {
  return std::make_unique<CompanyStore>(dir / ServerCatalogue::kCatalogueFile, 0);
}

bool ValidDbName(const std::string& name) {
  if (name.empty() || name.size() > 100) return false;
  for (char c : name)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return false;
  return true;
}

CompanyEntry EntryOf(const std::vector<Variant>& row) {
  CompanyEntry e;
  e.dbName = row[0].toText();
  e.companyName = row[1].toText();
  e.version = row[2].toInt32();
  e.localization = row[3].toText();
  e.serverType = row[4].toInt32();
  return e;
}

}  // namespace

bool ServerCatalogue::Exists(const std::filesystem::path& dir) {
  std::error_code ec;
  return std::filesystem::is_regular_file(dir / kCatalogueFile, ec);
}

void ServerCatalogue::CreateServer(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  std::filesystem::create_directories(dir / kSharedFolder, ec);
  std::filesystem::create_directories(dir / kClientFolder, ec);
  if (!std::filesystem::is_directory(dir))
    throw HostError(kHrSqlError, "Server", "Cannot create the server folder " + dir.string());
  if (!Exists(dir)) {
    CompanyStore::Create(dir / kCatalogueFile, 0, false);
  }
  OpenCatalogue(dir)->execScript(kSchema);
  // The host client's program file, which the add-on looks for.
  std::ofstream(dir / kClientFolder / "Vorn Quillon.exe") << "simulated host client\n";
}

ServerCatalogue::ServerCatalogue(std::filesystem::path dir) : dir_(std::move(dir)) {
  if (!Exists(dir_)) throw HostError(kHrSqlError, "Server", "No database server at " + dir_.string());
}

std::filesystem::path ServerCatalogue::companyFile(const std::string& dbName) const {
  // The catalogue is a file like any other: an entry naming a path ("../x")
  // would open or create a company file outside the server's folder.
  if (!ValidDbName(dbName))
    throw HostError(E_INVALIDARG, "Server", "Invalid company database name '" + dbName + "' in the catalogue");
  return dir_ / (dbName + ".company");
}

std::vector<CompanyEntry> ServerCatalogue::companies() const {
  std::vector<CompanyEntry> out;
  auto r = OpenCatalogue(dir_)->query(
      "SELECT dbName, companyName, version, localization, serverType FROM COMPANIES ORDER BY dbName");
  for (auto& row : r.rows) out.push_back(EntryOf(row));
  return out;
}

std::optional<CompanyEntry> ServerCatalogue::findCompany(const std::string& dbName) const {
  std::optional<CompanyEntry> folded;
  for (CompanyEntry& e : companies()) {
    if (e.dbName == dbName) return e;
    if (!SqlDialect::CaseSensitive(e.serverType) && EqualsIgnoreCase(e.dbName, dbName)) folded = e;
  }
  return folded;
}

void ServerCatalogue::createCompany(const CompanyEntry& entry) {
  if (!ValidDbName(entry.dbName))
    throw HostError(E_INVALIDARG, "Server", "Invalid company database name '" + entry.dbName + "'");
  for (const CompanyEntry& e : companies())
    if (EqualsIgnoreCase(e.dbName, entry.dbName))
      throw HostError(E_INVALIDARG, "Server", "Company database '" + entry.dbName + "' already exists");
  std::filesystem::path file = companyFile(entry.dbName);
  std::error_code ec;
  std::filesystem::remove(file, ec);
  CompanyStore::Create(file, entry.serverType);
  {
    CompanyStore store(file, entry.serverType);
    store.exec("INSERT INTO OADM (CompnyName) VALUES (?)", {Variant(entry.companyName)});
    store.exec("INSERT INTO CINF (LawsSet, EnableAccountSegmentation) VALUES (?, 0)", {Variant(entry.localization)});
    store.exec("INSERT INTO OADP (MaxLineNum, PrintMeta) VALUES (0, 'N')");
  }
  OpenCatalogue(dir_)->exec("INSERT INTO COMPANIES VALUES (?, ?, ?, ?, ?)",
                            {Variant(entry.dbName), Variant(entry.companyName), Variant(entry.version),
                             Variant(entry.localization), Variant(entry.serverType)});
}

int ServerCatalogue::addUser(const std::string& dbName, const std::string& userCode, const std::string& userName,
                             const std::string& password, bool superuser) {
  auto entry = findCompany(dbName);
  if (!entry) throw HostError(E_INVALIDARG, "Server", "No company database '" + dbName + "'");
  CompanyStore store(companyFile(entry->dbName), entry->serverType);
  if (!store.query("SELECT 1 FROM OUSR WHERE USER_CODE = ?", {Variant(userCode)}).rows.empty())
    throw HostError(E_INVALIDARG, "Server", "User '" + userCode + "' already exists");
  int key = store.query("SELECT IFNULL(MAX(INTERNAL_K), 0) + 1 FROM OUSR").rows[0][0].toInt32();
  store.exec(
      "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER, PASSWORD, Locked) "
      "VALUES (?, ?, ?, ?, ?, ?, 'N')",
      {Variant(key), Variant(key), Variant(userCode), Variant(userName), Variant(superuser ? "Y" : "N"),
       Variant(password)});
  // Keep the users' numbering ahead of the keys given here.
  if (store.exec("UPDATE ONNM SET AutoKey = ? WHERE ObjectCode = '12' AND AutoKey <= ?",
                 {Variant(key + 1), Variant(key)}) == 0 &&
      store.query("SELECT 1 FROM ONNM WHERE ObjectCode = '12'").rows.empty())
    store.exec("INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('12', ?, 0)", {Variant(key + 1)});
  return key;
}

void ServerCatalogue::addLogin(const std::string& name, const std::string& password) {
  OpenCatalogue(dir_)->exec("INSERT OR REPLACE INTO LOGINS VALUES (?, ?)", {Variant(name), Variant(password)});
}

bool ServerCatalogue::checkLogin(const std::string& name, const std::string& password) const {
  auto store = OpenCatalogue(dir_);
  auto all = store->query("SELECT name, password FROM LOGINS");
  if (all.rows.empty()) return true;
  for (auto& row : all.rows)
    if (row[0].toText() == name && row[1].toText() == password) return true;
  return false;
}

void ServerCatalogue::recordBackup(const std::string& dbName, const std::string& finished) {
  OpenCatalogue(dir_)->exec("INSERT INTO BACKUPS VALUES (?, ?)", {Variant(dbName), Variant(finished)});
}

std::vector<BackupRecord> ServerCatalogue::backups(const std::string& dbName) const {
  std::vector<BackupRecord> out;
  auto r = OpenCatalogue(dir_)->query("SELECT dbName, finished FROM BACKUPS WHERE dbName = ? ORDER BY finished",
                                      {Variant(dbName)});
  for (auto& row : r.rows) out.push_back({row[0].toText(), row[1].toText()});
  return out;
}

}  // namespace dpx::host
