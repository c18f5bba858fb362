// SQLite access of one company database, with the statement cache.
#include "platform/host/company_store.h"

#include <algorithm>

#include <sqlite3.h>

#include "platform/framework/host_error.h"
#include "platform/framework/text.h"
#include "platform/host/host_codes.h"
#include "platform/host/sql_dialect.h"
#include "platform/host/table_indexes.h"

namespace dpx::host {

namespace {

constexpr size_t kCacheSize = 256;

// Declared SQLite types: each keeps TEXT, INTEGER or REAL affinity and tells
// the host field type back.
const char* DeclType(int fieldType) {
  switch (fieldType) {
    case db_Memo: return "MEMOTEXT";
    case db_Numeric: return "INTEGER";
    case db_Date: return "DATETEXT";
    case db_Float: return "REAL";
    default: return "TEXT";
  }
}

int FieldTypeOfDecl(const char* decl) {
  if (!decl) return -1;
  std::string d = ToLowerAscii(decl);
  if (d == "memotext") return db_Memo;
  if (d == "datetext") return db_Date;
  if (d.find("int") != std::string::npos) return db_Numeric;
  if (d == "real" || d == "float" || d == "double") return db_Float;
  if (d.find("text") != std::string::npos || d.find("char") != std::string::npos) return db_Alpha;
  return -1;
}

}  // namespace

CompanyStore::CompanyStore(const std::filesystem::path& file, int serverType) : file_(file), serverType_(serverType) {
  if (!std::filesystem::exists(file))
    throw HostError(kHrSqlError, "Company", "Company database file not found: " + file.string());
  if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw HostError(kHrSqlError, "Company", "Cannot open company database " + file.string() + ": " + msg);
  }
  sqlite3_busy_timeout(db_, 5000);
  sqlite3_extended_result_codes(db_, 1);
  try {
    execScript("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=OFF;");
    execScript(SqlDialect::CaseSensitive(serverType) ? "PRAGMA case_sensitive_like=ON;"
                                                     : "PRAGMA case_sensitive_like=OFF;");
    // A company made before the host indexed its tables gets the indexes now.
    TableIndexes::Ensure(*this);
  } catch (...) {
    // No destructor runs for a store that was never made.
    closeDatabase();
    throw;
  }
}

void CompanyStore::closeDatabase() {
  for (auto& [text, cached] : cache_) sqlite3_finalize(cached.stmt);
  cache_.clear();
  lru_.clear();
  if (!db_) return;
  if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db_);
  db_ = nullptr;
}

CompanyStore::~CompanyStore() { closeDatabase(); }

void CompanyStore::Create(const std::filesystem::path& file, int serverType, bool withTables) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw HostError(kHrSqlError, "Company", "Cannot create company database " + file.string() + ": " + msg);
  }
  sqlite3_close(db);
  if (!withTables) return;
  CompanyStore store(file, serverType);
  store.begin();
  for (const TableDef& t : ObjectRegistry::Instance().tables()) store.createTable(t);
  store.commit();
}

[[noreturn]] void CompanyStore::fail(const std::string& what) {
  // A database another connection holds, or one that takes no writes, is
  // told apart from a rejected statement: no statement can succeed then.
  const int code = sqlite3_errcode(db_) & 0xFF;
  if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
    throw HostError(kHrCompanyBusy, "Company",
                    "The company database " + file_.stem().string() + " is locked by another connection");
  if (code == SQLITE_READONLY)
    throw HostError(kHrCompanyReadOnly, "Company", "The company database " + file_.stem().string() + " is read-only");
  // Neither can a database whose disk is full or failing: every later write
  // would meet the same.
  if (code == SQLITE_FULL)
    throw HostError(kHrCompanyFull, "Company",
                    "The company database " + file_.stem().string() + " has no room left on its disk");
  if (code == SQLITE_IOERR)
    throw HostError(kHrCompanyIoError, "Company",
                    "The company database " + file_.stem().string() + " cannot be written to its disk (" +
                        sqlite3_errmsg(db_) + ")");
  throw HostError(kHrSqlError, "Company", what + ": " + sqlite3_errmsg(db_));
}

void CompanyStore::setReadOnly(bool readOnly) { execScript(readOnly ? "PRAGMA query_only=ON" : "PRAGMA query_only=OFF"); }

sqlite3_stmt* CompanyStore::prepare(const std::string& sql) {
  auto it = cache_.find(sql);
  if (it != cache_.end()) {
    lru_.splice(lru_.end(), lru_, it->second.use);
    sqlite3_reset(it->second.stmt);
    sqlite3_clear_bindings(it->second.stmt);
    return it->second.stmt;
  }
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail) != SQLITE_OK)
    fail("SQL error in \"" + sql + "\"");
  if (!stmt) throw HostError(kHrSqlError, "Company", "Empty SQL statement");
  while (tail && *tail && std::isspace(static_cast<unsigned char>(*tail))) ++tail;
  if (tail && *tail && *tail != ';') {
    sqlite3_finalize(stmt);
    throw HostError(kHrSqlError, "Company", "Only one SQL statement may run at a time: \"" + sql + "\"");
  }
  if (cache_.size() >= kCacheSize) {
    auto victim = cache_.find(lru_.front());
    sqlite3_finalize(victim->second.stmt);
    cache_.erase(victim);
    lru_.pop_front();
  }
  lru_.push_back(sql);
  cache_.emplace(sql, CachedStatement{stmt, std::prev(lru_.end())});
  return stmt;
}

void CompanyStore::bind(sqlite3_stmt* stmt, const std::vector<Variant>& params) {
  for (size_t i = 0; i < params.size(); ++i) {
    const Variant& v = params[i];
    int idx = static_cast<int>(i + 1);
    int rc;
    if (v.isEmpty()) rc = sqlite3_bind_null(stmt, idx);
    else if (v.isInteger() || v.type() == VarType::Bool) rc = sqlite3_bind_int64(stmt, idx, v.toInt64());
    else if (v.isReal()) rc = sqlite3_bind_double(stmt, idx, v.toDouble());
    else {
      std::string s = v.toText();
      rc = sqlite3_bind_text(stmt, idx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) fail("Cannot bind a value");
  }
}

QueryResult CompanyStore::query(const std::string& sql, const std::vector<Variant>& params) {
  sqlite3_stmt* stmt = prepare(sql);
  bind(stmt, params);
  QueryResult r;
  int n = sqlite3_column_count(stmt);
  for (int c = 0; c < n; ++c) {
    r.columns.emplace_back(sqlite3_column_name(stmt, c));
    r.types.push_back(FieldTypeOfDecl(sqlite3_column_decltype(stmt, c)));
  }
  for (;;) {
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) {
      sqlite3_reset(stmt);
      fail("SQL error in \"" + sql + "\"");
    }
    std::vector<Variant> row;
    row.reserve(n);
    for (int c = 0; c < n; ++c) {
      switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_NULL: row.emplace_back(); break;
        case SQLITE_INTEGER: {
          int64_t v = sqlite3_column_int64(stmt, c);
          if (v >= INT32_MIN && v <= INT32_MAX) row.emplace_back(static_cast<int32_t>(v));
          else row.emplace_back(v);
          if (r.types[c] == -1) r.types[c] = db_Numeric;
          break;
        }
        case SQLITE_FLOAT:
          row.emplace_back(sqlite3_column_double(stmt, c));
          if (r.types[c] == -1) r.types[c] = db_Float;
          break;
        default: {
          const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
          std::string s(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt, c)));
          DateTime d;
          if (r.types[c] == db_Date && DateTime::parse(s, d)) row.emplace_back(d);
          else if (r.types[c] == db_Numeric) {
            int64_t v;
            if (ParseInt64(s, v)) row.emplace_back(static_cast<int32_t>(v));
            else row.emplace_back(std::move(s));
          } else row.emplace_back(std::move(s));
          if (r.types[c] == -1) r.types[c] = db_Alpha;
        }
      }
    }
    r.rows.push_back(std::move(row));
  }
  sqlite3_reset(stmt);
  return r;
}

int64_t CompanyStore::exec(const std::string& sql, const std::vector<Variant>& params) {
  sqlite3_stmt* stmt = prepare(sql);
  bind(stmt, params);
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) {
    sqlite3_reset(stmt);
    fail("SQL error in \"" + sql + "\"");
  }
  sqlite3_reset(stmt);
  return sqlite3_changes64(db_);
}

void CompanyStore::execScript(const std::string& sql) {
  char* err = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    sqlite3_free(err);  // the connection's own message says the same
    fail("SQL error in \"" + sql + "\"");
  }
}

void CompanyStore::begin() { execScript("BEGIN"); }
void CompanyStore::commit() { execScript("COMMIT"); }
void CompanyStore::rollback() {
  // A rolled-back schema change takes the version back, and a later change
  // could bring the same number with other columns.
  columns_.clear();
  if (inTransaction()) execScript("ROLLBACK");
}
bool CompanyStore::inTransaction() const { return sqlite3_get_autocommit(db_) == 0; }

CompanyStore::Savepoint::Savepoint(CompanyStore& store) : store_(store) {
  // One name serves every level: savepoints nest strictly, and a name refers
  // to the innermost one. A fixed text keeps the statements in the cache.
  name_ = "dpx_write";
  outermost_ = !store_.inTransaction();
  store_.exec("SAVEPOINT " + name_);
}

CompanyStore::Savepoint::~Savepoint() {
  if (done_) return;
  store_.columns_.clear();
  char* err = nullptr;
  const int rc = sqlite3_exec(store_.db_, ("ROLLBACK TO " + name_ + "; RELEASE " + name_).c_str(), nullptr, nullptr,
                              &err);
  sqlite3_free(err);
  // A write that cannot be undone alone undoes everything around it: what
  // stays in the database is then only what was committed before.
  if (rc != SQLITE_OK || (outermost_ && store_.inTransaction())) store_.abandon();
}

void CompanyStore::Savepoint::commit() {
  try {
    // The outermost release commits, and a full disk refuses the commit with
    // the transaction still open: it must not outlive this write.
    store_.exec("RELEASE " + name_);
  } catch (...) {
    done_ = true;
    store_.abandon();
    throw;
  }
  done_ = true;
}

void CompanyStore::abandon() {
  columns_.clear();
  if (!inTransaction()) return;
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::string CompanyStore::Quote(const std::string& identifier) {
  std::string q = "\"";
  for (char c : identifier) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

std::string CompanyStore::columnSql(const ColumnDef& c) const {
  std::string s = Quote(c.name) + " " + DeclType(c.type);
  if ((c.type == db_Alpha || c.type == db_Memo) && !SqlDialect::CaseSensitive(serverType_)) s += " COLLATE NOCASE";
  if (c.notNull) s += " NOT NULL";
  return s;
}

bool CompanyStore::tableExists(const std::string& table) {
  return !query("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?", {Variant(table)}).rows.empty();
}

void CompanyStore::createTable(const TableDef& table) {
  std::string sql = "CREATE TABLE " + Quote(table.name) + " (";
  for (size_t i = 0; i < table.columns.size(); ++i) {
    // A server's key columns never hold NULL; SQLite would let them.
    ColumnDef column = table.columns[i];
    if (std::find(table.primaryKey.begin(), table.primaryKey.end(), column.name) != table.primaryKey.end())
      column.notNull = true;
    sql += (i ? ", " : "") + columnSql(column);
  }
  if (!table.primaryKey.empty()) {
    sql += ", PRIMARY KEY (";
    for (size_t i = 0; i < table.primaryKey.size(); ++i) sql += (i ? ", " : "") + Quote(table.primaryKey[i]);
    sql += ")";
  }
  sql += ")";
  execScript(sql);
  TableIndexes::Create(*this, table);
}

void CompanyStore::dropTable(const std::string& table) { execScript("DROP TABLE " + Quote(table)); }

void CompanyStore::addColumn(const std::string& table, const ColumnDef& column) {
  ColumnDef c = column;
  c.notNull = false;   // existing rows get NULL
  execScript("ALTER TABLE " + Quote(table) + " ADD COLUMN " + columnSql(c));
}

void CompanyStore::dropColumn(const std::string& table, const std::string& column) {
  execScript("ALTER TABLE " + Quote(table) + " DROP COLUMN " + Quote(column));
}

std::vector<ColumnDef> CompanyStore::columnsOf(const std::string& table) {
  // Any schema change, by this connection or another, moves the version on.
  const int64_t schema = query("PRAGMA schema_version").rows.at(0).at(0).toInt64();
  if (schema != columnsSchema_) {
    columns_.clear();
    columnsSchema_ = schema;
  }
  if (auto it = columns_.find(table); it != columns_.end()) return it->second;
  std::vector<ColumnDef> cols;
  QueryResult r = query("SELECT name, type FROM pragma_table_info(?) ORDER BY cid", {Variant(table)});
  for (auto& row : r.rows) {
    ColumnDef c;
    c.name = row[0].toText();
    int t = FieldTypeOfDecl(row[1].toText().c_str());
    c.type = t < 0 ? db_Alpha : t;
    cols.push_back(std::move(c));
  }
  return cols;
}

}  // namespace dpx::host
