// The company object of the host's data-interface API. Made unconnected by
// CreateCompany(); its connection settings are set, then Connect() opens the
// company database of the server folder. Everything else (recordsets, the
// bridge, business objects, the company service) comes from a connected
// company and works on its database.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host/host_object.h"
#include "platform/host/server_catalogue.h"

namespace dpx::host {

class BusinessObject;
class Bridge;
class CompanyService;
class CompanyStore;
class Recordset;

// Object types with a class of their own.
constexpr int kObjectRecordset = 300;
constexpr int kObjectBridge = 305;
constexpr int kObjectUsers = 12;

// EndTransaction options.
constexpr int kEndCommit = 0;
constexpr int kEndRollback = 1;

class Company;
// A new, unconnected company object.
std::shared_ptr<Company> CreateCompany();

class Company : public std::enable_shared_from_this<Company> {
 public:
  Company();
  ~Company();
  Company(const Company&) = delete;
  Company& operator=(const Company&) = delete;

  // Connection settings. Server is the folder of the simulated server.
  std::string Server() const { return server_; }
  void SetServer(const std::string& v) { server_ = v; }
  std::string CompanyDB() const { return companyDb_; }
  void SetCompanyDB(const std::string& v) { companyDb_ = v; }
  // The user code; after Connect the user code as the company stores it.
  std::string UserName() const { return userName_; }
  void SetUserName(const std::string& v) { userName_ = v; }
  void SetPassword(const std::string& v) { password_ = v; }   // write-only
  std::string DbUserName() const { return dbUserName_; }
  void SetDbUserName(const std::string& v) { dbUserName_ = v; }
  void SetDbPassword(const std::string& v) { dbPassword_ = v; }   // write-only
  int DbServerType() const { return serverType_; }
  void SetDbServerType(int v) { serverType_ = v; }
  bool UseTrusted() const { return useTrusted_; }
  void SetUseTrusted(bool v) { useTrusted_ = v; }
  // The two exchange-mode properties set before connecting (3 and 1). The
  // host always exchanges XML as text, so they are kept and not used.
  int XmlExportType() const { return xmlExportType_; }
  void SetXmlExportType(int v) { xmlExportType_ = v; }
  int XMLAsString() const { return xmlAsString_; }
  void SetXMLAsString(int v) { xmlAsString_ = v; }

  // 0 when connected; otherwise a kErr* code and the last error says why
  // (unknown server or company, wrong password, wrong server type...).
  int Connect();
  // 0; kErrNotConnected when there was no connection. An open transaction
  // is rolled back.
  int Disconnect();
  bool Connected() const { return store_ != nullptr; }

  // Of the connected company; raise HostError(kHrNotConnected) otherwise.
  std::string CompanyName() const;
  int Version() const;
  int UserSignature() const;   // internal key (OUSR.INTERNAL_K) of the user

  void GetLastError(int& code, std::string& text) const;
  int GetLastErrorCode() const { return lastErrorCode_; }
  std::string GetLastErrorDescription() const { return lastErrorText_; }
  // Host side: sets the last error (code 0 clears it).
  void SetLastError(int code, std::string text);

  // Transactions. Start raises when one is open or the company is not
  // connected; End commits (kEndCommit) or rolls back (kEndRollback), and
  // does nothing when none is open. A commit that fails raises with the
  // transaction rolled back.
  void StartTransaction();
  bool InTransaction() const;
  void EndTransaction(int option);
  // A savepoint inside the open transaction, so that one record's writes can
  // be undone alone: Start raises when no transaction is open; End releases
  // it (kEndCommit) or undoes what was written since (kEndRollback), and does
  // nothing when the transaction has ended meanwhile. Savepoints nest. An End
  // that fails raises with the whole transaction rolled back.
  void StartSavepoint();
  void EndSavepoint(int option);

  // The companies of the server (Server must be set; connecting is not
  // needed): 0 database name, 1 company name, 2 version, 3 localization.
  std::shared_ptr<Recordset> GetCompanyList();
  // An object of a type: 300 recordset, 305 bridge, any registered business
  // object type (12 users...). An unknown type raises HostError.
  std::shared_ptr<HostObject> GetBusinessObject(int type);
  std::shared_ptr<Recordset> NewRecordset();
  std::shared_ptr<Bridge> NewBridge();
  std::shared_ptr<BusinessObject> NewBusinessObject(int type);
  // An unsaved business object of the type named in the XML's AdmInfo,
  // filled from it. Raises HostError for XML it cannot read.
  std::shared_ptr<BusinessObject> GetBusinessObjectFromXML(const std::string& xml, int index);
  std::shared_ptr<CompanyService> GetCompanyService();

  // Folders of the server: its shared folder and the host client's
  // installation folder (both exist once the server does).
  std::filesystem::path SharedFolder() const;
  std::filesystem::path ClientFolder() const;
  // Backup history of this company's database (Server and CompanyDB set).
  std::vector<BackupRecord> Backups() const;

  // Fault injection for tests: the nth call (1 = the next) of `operation`
  // from now on fails. Operations: "Add", "Update", "Remove" (return the
  // code and set the last error), "Connect" (likewise), "GetByKey",
  // "GetAsXML", "DoQuery", "UpdateAdminInfo", "UpdateCompanyInfo" (raise
  // HostError(kHrInjected, text)), "get:<Object>.<Property>" (a by-name read
  // of that property fails, e.g. "get:CompanyInfo.MinimumAmountForAnnualList"),
  // "put:<Object>.<Property>" (a write of that property is refused with the
  // fault's code as last error, e.g. "put:User.Defaults").
  // "Add:37" (and likewise for Update, Remove, GetByKey) counts the calls of
  // one object type only. "GetByKeyNotFound" (and ":<type>") makes the call
  // answer "not found" without raising, whether the record is there or not.
  // "EndTransaction" counts the writes (Add, Update,
  // Remove, and DoQuery of a statement that is no SELECT): the nth one fails
  // and takes the whole open transaction with it, as a server does when the
  // disk is full (the write raises HostError(kHrInjected) or returns the code).
  // "EndSavepoint": the nth end of a savepoint fails as a release the disk
  // refuses (raises HostError(kHrInjected), the transaction rolled back).
  void InjectFault(const std::string& operation, int nth, int code = -99, std::string text = "Injected fault");
  // The nth DoQuery from now on whose SQL text or one of whose bound values
  // contains `fragment` raises HostError(kHrSqlError, text), as a statement
  // the server rejects.
  void InjectSqlFault(const std::string& fragment, int nth, std::string text = "Injected SQL failure");
  // Turns the "Browser" member of an object type off (or on again) for
  // business objects made by this company object, so that updates of that
  // type must go by Remove and Add.
  void SetBrowserEnabled(int type, bool enabled);
  // Makes the company database refuse every write of this connection, as a
  // server does that puts a company into read-only mode (false: writes are
  // taken again). Writes then raise HostError(kHrCompanyReadOnly).
  void SetReadOnly(bool readOnly);
  bool BrowserEnabled(int type) const;
  // Host side: counts a call of `operation`; true when it must fail now.
  bool TakeFault(const std::string& operation, int& code, std::string& text);
  // Host side: counts a write for the "EndTransaction" fault; true (with the
  // transaction rolled back and the last error set) when it must fail now.
  bool TakeTransactionFault(int& code, std::string& text);
  // Host side: counts a DoQuery of `sql` with its bound values; true when it
  // must fail now.
  bool TakeSqlFault(const std::string& sql, const std::vector<Variant>& values, std::string& text);
  // Host side: a statement of this company's dialect as SQLite runs it, and
  // its main table (see SqlDialect::Translate). Statements with bound values
  // repeat, so their translations are kept.
  const std::string& TranslatedSql(const std::string& sql, std::string& mainTable);

  // Host side: the open company database; raises HostError(kHrNotConnected).
  CompanyStore& store() const;
  // Host side: raises HostError(kHrNotConnected) unless connected.
  void RequireConnected(const char* operation) const;

 private:
  std::string server_, companyDb_, userName_, password_, dbUserName_, dbPassword_;
  int serverType_ = 0;
  bool useTrusted_ = false;
  int xmlExportType_ = 0, xmlAsString_ = 0;
  std::unique_ptr<CompanyStore> store_;
  CompanyEntry entry_;
  int userSignature_ = 0;
  int lastErrorCode_ = 0;
  std::string lastErrorText_;
  struct Fault {
    int countdown;
    int code;
    std::string text;
  };
  std::multimap<std::string, Fault> faults_;
  std::vector<std::pair<std::string, Fault>> sqlFaults_;
  struct Translation {
    std::string sql;
    std::string mainTable;
  };
  std::unordered_map<std::string, Translation> translations_;
  int translationsType_ = -1;   // the server type the kept translations are of
  std::vector<int> browserOff_;
};

}  // namespace dpx::host
