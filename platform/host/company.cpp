// The company object: connection, last error, transactions and the factory
// of the objects that work on the company database.
#include "platform/host/company.h"

#include <algorithm>

#include "platform/framework/text.h"
#include "platform/host/bridge.h"
#include "platform/host/business_object.h"
#include "platform/host/company_service.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"
#include "platform/host/record_xml.h"
#include "platform/host/recordset.h"
#include "platform/host/sql_dialect.h"

namespace dpx::host {

std::shared_ptr<Company> CreateCompany() { return std::make_shared<Company>(); }

Company::Company() = default;

Company::~Company() = default;

void Company::SetLastError(int code, std::string text) {
  lastErrorCode_ = code;
  lastErrorText_ = code == 0 ? std::string() : std::move(text);
}

void Company::GetLastError(int& code, std::string& text) const {
  code = lastErrorCode_;
  text = lastErrorText_;
}

int Company::Connect() {
  int faultCode;
  std::string faultText;
  if (TakeFault("Connect", faultCode, faultText)) {
    SetLastError(faultCode, faultText);
    return faultCode;
  }
  if (store_) {
    SetLastError(kErrAlreadyConnected, "Already connected to company '" + entry_.dbName + "'");
    return kErrAlreadyConnected;
  }
  if (server_.empty() || !ServerCatalogue::Exists(server_)) {
    SetLastError(kErrServerNotFound, "Database server '" + server_ + "' not found");
    return kErrServerNotFound;
  }
  try {
    ServerCatalogue catalogue(server_);
    if (!useTrusted_ && !catalogue.checkLogin(dbUserName_, dbPassword_)) {
      SetLastError(kErrDbLoginFailed, "Failed to connect to the database server: wrong database user name or password");
      return kErrDbLoginFailed;
    }
    auto entry = catalogue.findCompany(companyDb_);
    if (!entry) {
      SetLastError(kErrCompanyNotFound, "Company database '" + companyDb_ + "' not found on server");
      return kErrCompanyNotFound;
    }
    if (entry->serverType != serverType_) {
      SetLastError(kErrServerType, "Company database '" + entry->dbName + "' is not on a server of type " +
                                       std::to_string(serverType_));
      return kErrServerType;
    }
    auto store = std::make_unique<CompanyStore>(catalogue.companyFile(entry->dbName), entry->serverType);
    auto user = store->query("SELECT INTERNAL_K, USER_CODE, PASSWORD, Locked FROM OUSR WHERE USER_CODE = ?",
                             {Variant(userName_)});
    if (user.rows.empty() || user.rows[0][2].toText() != password_) {
      SetLastError(kErrLoginFailed, "Invalid user name or password");
      return kErrLoginFailed;
    }
    if (user.rows[0][3].toText() == "Y") {
      SetLastError(kErrLoginFailed, "User '" + userName_ + "' is locked");
      return kErrLoginFailed;
    }
    // The server's backup history is visible where the server type's SQL can
    // ask for it.
    if (SqlDialect::Family(entry->serverType) == 0)
      store->exec("ATTACH DATABASE ? AS msdb", {Variant((std::filesystem::path(server_) / ServerCatalogue::kCatalogueFile).string())});
    userSignature_ = user.rows[0][0].toInt32();
    userName_ = user.rows[0][1].toText();
    entry_ = *entry;
    store_ = std::move(store);
    SetLastError(0, "");
    return 0;
  } catch (const HostError& e) {
    SetLastError(kErrGeneral, e.description());
    return kErrGeneral;
  }
}

int Company::Disconnect() {
  if (!store_) {
    SetLastError(kErrNotConnected, "Not connected to a company");
    return kErrNotConnected;
  }
  store_.reset();   // an open transaction is rolled back on close
  userSignature_ = 0;
  SetLastError(0, "");
  return 0;
}

void Company::RequireConnected(const char* operation) const {
  if (!store_)
    throw HostError(kHrNotConnected, "Company", std::string("Not connected to a company (") + operation + ")");
}

CompanyStore& Company::store() const {
  RequireConnected("database access");
  return *store_;
}

std::string Company::CompanyName() const {
  RequireConnected("CompanyName");
  auto r = store_->query("SELECT CompnyName FROM OADM");
  return r.rows.empty() ? entry_.companyName : r.rows[0][0].toText();
}

int Company::Version() const {
  RequireConnected("Version");
  return entry_.version;
}

int Company::UserSignature() const {
  RequireConnected("UserSignature");
  return userSignature_;
}

void Company::StartTransaction() {
  RequireConnected("StartTransaction");
  if (store_->inTransaction()) throw HostError(E_FAIL, "Company", "A transaction is already open");
  store_->begin();
}

bool Company::InTransaction() const { return store_ && store_->inTransaction(); }

void Company::StartSavepoint() {
  RequireConnected("StartSavepoint");
  if (!store_->inTransaction()) throw HostError(E_FAIL, "Company", "No transaction is open");
  store_->exec("SAVEPOINT dpx_record");
}

void Company::EndSavepoint(int option) {
  RequireConnected("EndSavepoint");
  if (!store_->inTransaction()) return;
  try {
    int code;
    std::string text;
    if (TakeFault("EndSavepoint", code, text)) {
      SetLastError(code, text);
      throw HostError(kHrInjected, "Company", text);
    }
    if (option == kEndRollback) store_->exec("ROLLBACK TO dpx_record");
    store_->exec("RELEASE dpx_record");
  } catch (...) {
    // A record that can be neither kept nor undone alone takes the whole
    // transaction with it; the caller hears of it and nothing stays open.
    store_->abandon();
    throw;
  }
}

bool Company::TakeTransactionFault(int& code, std::string& text) {
  if (!TakeFault("EndTransaction", code, text)) return false;
  if (store_ && store_->inTransaction()) store_->rollback();
  SetLastError(code, text);
  return true;
}

void Company::EndTransaction(int option) {
  RequireConnected("EndTransaction");
  if (!store_->inTransaction()) return;
  if (option == kEndRollback) {
    store_->rollback();
    return;
  }
  try {
    store_->commit();
  } catch (...) {
    // A commit the disk refuses keeps nothing and leaves nothing open.
    store_->abandon();
    throw;
  }
}

std::shared_ptr<Recordset> Company::GetCompanyList() {
  if (server_.empty() || !ServerCatalogue::Exists(server_)) {
    SetLastError(kErrServerNotFound, "Database server '" + server_ + "' not found");
    throw HostError(E_FAIL, "Company", "Database server '" + server_ + "' not found");
  }
  if (!store_ && !useTrusted_ && !ServerCatalogue(server_).checkLogin(dbUserName_, dbPassword_)) {
    SetLastError(kErrDbLoginFailed, "Failed to connect to the database server: wrong database user name or password");
    throw HostError(E_FAIL, "Company", lastErrorText_);
  }
  QueryResult r;
  r.columns = {"dbName", "cmpName", "versStr", "dbUser"};
  r.types = {db_Alpha, db_Alpha, db_Alpha, db_Alpha};
  for (const CompanyEntry& e : ServerCatalogue(server_).companies())
    r.rows.push_back({Variant(e.dbName), Variant(e.companyName), Variant(std::to_string(e.version)),
                      Variant(e.localization)});
  auto rs = std::make_shared<Recordset>(shared_from_this());
  rs->SetResult(std::move(r), "Companies");
  return rs;
}

std::shared_ptr<Recordset> Company::NewRecordset() {
  RequireConnected("GetBusinessObject");
  return std::make_shared<Recordset>(shared_from_this());
}

std::shared_ptr<Bridge> Company::NewBridge() {
  RequireConnected("GetBusinessObject");
  return std::make_shared<Bridge>(shared_from_this());
}

std::shared_ptr<BusinessObject> Company::NewBusinessObject(int type) {
  RequireConnected("GetBusinessObject");
  const ObjectTypeDef* def = type > 0 ? ObjectRegistry::Instance().findType(type) : nullptr;
  if (!def) throw HostError(kHrUnknownObject, "Company", "Unknown business object type " + std::to_string(type));
  return std::make_shared<BusinessObject>(shared_from_this(), *def);
}

std::shared_ptr<HostObject> Company::GetBusinessObject(int type) {
  if (type == kObjectRecordset) return NewRecordset();
  if (type == kObjectBridge) return NewBridge();
  return NewBusinessObject(type);
}

std::shared_ptr<BusinessObject> Company::GetBusinessObjectFromXML(const std::string& xml, int index) {
  RequireConnected("GetBusinessObjectFromXML");
  auto doc = RecordXml::Parse(xml);
  if (doc->name != "BOM") throw HostError(kHrInvalidXml, "Company", "Record XML has no BOM root element");
  int seen = 0;
  for (auto& bo : doc->children) {
    if (bo->name != "BO") continue;
    if (seen++ != index) continue;
    const XmlNode* adm = bo->child("AdmInfo");
    const XmlNode* obj = adm ? adm->child("Object") : nullptr;
    if (!obj) throw HostError(kHrInvalidXml, "Company", "Record XML has no AdmInfo/Object element");
    int64_t type = 0;
    if (!ParseInt64(obj->text, type))
      throw HostError(kHrInvalidXml, "Company", "Record XML names no object type: '" + obj->text + "'");
    auto object = NewBusinessObject(static_cast<int>(type));
    object->ReadDocument(*doc, index);
    return object;
  }
  throw HostError(kHrInvalidXml, "Company", "Record XML has no BO element " + std::to_string(index));
}

std::shared_ptr<CompanyService> Company::GetCompanyService() {
  RequireConnected("GetCompanyService");
  return std::make_shared<CompanyService>(shared_from_this());
}

std::filesystem::path Company::SharedFolder() const {
  return std::filesystem::path(server_) / ServerCatalogue::kSharedFolder;
}

std::filesystem::path Company::ClientFolder() const {
  return std::filesystem::path(server_) / ServerCatalogue::kClientFolder;
}

std::vector<BackupRecord> Company::Backups() const {
  if (server_.empty() || !ServerCatalogue::Exists(server_)) return {};
  ServerCatalogue catalogue(server_);
  auto entry = catalogue.findCompany(companyDb_);
  return catalogue.backups(entry ? entry->dbName : companyDb_);
}

void Company::InjectFault(const std::string& operation, int nth, int code, std::string text) {
  faults_.emplace(operation, Fault{nth < 1 ? 1 : nth, code, std::move(text)});
}

void Company::InjectSqlFault(const std::string& fragment, int nth, std::string text) {
  sqlFaults_.emplace_back(fragment, Fault{nth < 1 ? 1 : nth, static_cast<int>(kHrSqlError), std::move(text)});
}

bool Company::TakeSqlFault(const std::string& sql, const std::vector<Variant>& values, std::string& text) {
  bool hit = false;
  for (auto it = sqlFaults_.begin(); it != sqlFaults_.end();) {
    bool names = sql.find(it->first) != std::string::npos;
    for (size_t i = 0; i < values.size() && !names; ++i) names = values[i].toText().find(it->first) != std::string::npos;
    if (names && --it->second.countdown == 0 && !hit) {
      hit = true;
      text = it->second.text;
      it = sqlFaults_.erase(it);
    } else {
      ++it;
    }
  }
  return hit;
}

const std::string& Company::TranslatedSql(const std::string& sql, std::string& mainTable) {
  // Bound statements are few (one per table and operation), so the cache is
  // dropped whole when it fills rather than kept in order of use.
  constexpr size_t kKept = 512;
  if (translationsType_ != serverType_ || translations_.size() >= kKept) {
    translations_.clear();
    translationsType_ = serverType_;
  }
  auto it = translations_.find(sql);
  if (it == translations_.end()) {
    Translation t;
    t.sql = SqlDialect::Translate(serverType_, sql, &t.mainTable);
    it = translations_.emplace(sql, std::move(t)).first;
  }
  mainTable = it->second.mainTable;
  return it->second.sql;
}

void Company::SetBrowserEnabled(int type, bool enabled) {
  std::erase(browserOff_, type);
  if (!enabled) browserOff_.push_back(type);
}

void Company::SetReadOnly(bool readOnly) { store().setReadOnly(readOnly); }

bool Company::BrowserEnabled(int type) const {
  return std::find(browserOff_.begin(), browserOff_.end(), type) == browserOff_.end();
}

bool Company::TakeFault(const std::string& operation, int& code, std::string& text) {
  auto range = faults_.equal_range(operation);
  bool hit = false;
  for (auto it = range.first; it != range.second;) {
    if (--it->second.countdown == 0 && !hit) {
      hit = true;
      code = it->second.code;
      text = it->second.text;
      it = faults_.erase(it);
    } else {
      ++it;
    }
  }
  return hit;
}

}  // namespace dpx::host
