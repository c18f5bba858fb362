// A simulated database server is a folder: a catalogue (server.sqlite) of its
// company databases, database logins and backup history, one SQLite file per
// company, the server's shared folder and the host client's installation
// folder. The users of a company live in its own OUSR table.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace dpx::host {

struct CompanyEntry {
  std::string dbName;          // company database name, "DEMO_BASE"
  std::string companyName;     // "Demo Base Ltd."
  int version = 930100;        // host version number of the database
  std::string localization;    // CINF.LawsSet, "US"
  int serverType = 6;          // database server type of the company
};

struct BackupRecord {
  std::string dbName;
  std::string finished;        // "YYYY-MM-DD HH:MM:SS", UTC
};

class ServerCatalogue {
 public:
  static constexpr const char* kCatalogueFile = "server.sqlite";
  static constexpr const char* kSharedFolder = "Quillon_SHR";
  static constexpr const char* kClientFolder = "Client";

  // Whether `dir` holds a server catalogue.
  static bool Exists(const std::filesystem::path& dir);
  // Makes the folder, the catalogue and the two folders (no companies).
  // An existing catalogue is kept. Raises HostError when it cannot.
  static void CreateServer(const std::filesystem::path& dir);

  // Opens the catalogue of `dir`; raises HostError(kErrServerNotFound-like)
  // when there is none.
  explicit ServerCatalogue(std::filesystem::path dir);

  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path sharedFolder() const { return dir_ / kSharedFolder; }
  std::filesystem::path clientFolder() const { return dir_ / kClientFolder; }
  // The company's file in the server folder. Raises HostError for a name
  // that is no valid database name (one that would lead out of the folder).
  std::filesystem::path companyFile(const std::string& dbName) const;

  std::vector<CompanyEntry> companies() const;   // by database name
  // The entry of a database name: exact, or ignoring ASCII case when the
  // server type of the found company compares case-insensitively.
  std::optional<CompanyEntry> findCompany(const std::string& dbName) const;

  // Makes a company database with every registered table, its OADM and CINF
  // rows (company name, localization). Raises HostError when the name is
  // taken or unusable.
  void createCompany(const CompanyEntry& entry);
  // Adds a user to a company's OUSR; gives the user's internal key.
  int addUser(const std::string& dbName, const std::string& userCode, const std::string& userName,
              const std::string& password, bool superuser);

  // Database logins. With none recorded, any database login is accepted.
  void addLogin(const std::string& name, const std::string& password);
  bool checkLogin(const std::string& name, const std::string& password) const;

  // Backup history of a database, oldest first.
  void recordBackup(const std::string& dbName, const std::string& finished);
  std::vector<BackupRecord> backups(const std::string& dbName) const;

 private:
  std::filesystem::path dir_;
};

}  // namespace dpx::host
