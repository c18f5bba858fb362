// One company database: a SQLite file with the company's tables, opened for
// one company object. Prepared statements are cached by their text, and
// writes join the caller's transaction when one is open (savepoints nest
// inside it). Text columns compare case-insensitively unless the company's
// server type compares case-sensitively (SqlDialect::CaseSensitive).
#pragma once

#include <filesystem>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/framework/variant.h"
#include "platform/host/object_registry.h"

struct sqlite3;
struct sqlite3_stmt;

namespace dpx::host {

// The result of one query: column names, the host field type of each column
// (db_Alpha... db_Float, -1 when unknown), and the rows.
struct QueryResult {
  std::vector<std::string> columns;
  std::vector<int> types;
  std::vector<std::vector<Variant>> rows;
};

class CompanyStore {
 public:
  // Opens an existing company file. Raises HostError when it cannot.
  CompanyStore(const std::filesystem::path& file, int serverType);
  ~CompanyStore();
  CompanyStore(const CompanyStore&) = delete;
  CompanyStore& operator=(const CompanyStore&) = delete;

  // Makes a new company file with every registered table (or an empty
  // database when withTables is false). Raises HostError.
  static void Create(const std::filesystem::path& file, int serverType, bool withTables = true);

  int serverType() const { return serverType_; }
  const std::filesystem::path& file() const { return file_; }

  // Runs SQLite SQL (already translated from the host dialect) with bound
  // parameters. Raises HostError(kHrSqlError) with the server's message.
  QueryResult query(const std::string& sql, const std::vector<Variant>& params = {});
  // Runs a statement that returns no rows; gives the number of changed rows.
  int64_t exec(const std::string& sql, const std::vector<Variant>& params = {});
  // Runs several statements without parameters (schema changes).
  void execScript(const std::string& sql);

  // Makes the database refuse every write (as a server that puts a company
  // into read-only mode), or take writes again.
  void setReadOnly(bool readOnly);

  // Transactions of the company object.
  void begin();
  void commit();
  void rollback();
  bool inTransaction() const;

  // Ends the open transaction, whatever it holds, without raising: the
  // last resort of a write that cannot be ended otherwise.
  void abandon();

  // A savepoint for one multi-statement write: released on commit(), rolled
  // back when destroyed without it. A release or roll-back that fails ends
  // the whole transaction around it (commit() then raises): no transaction
  // is ever left open by a write that failed.
  class Savepoint {
   public:
    explicit Savepoint(CompanyStore& store);
    ~Savepoint();
    void commit();
   private:
    CompanyStore& store_;
    std::string name_;
    bool outermost_ = false;  // the savepoint began the transaction
    bool done_ = false;
  };

  // Schema.
  bool tableExists(const std::string& table);
  void createTable(const TableDef& table);
  void dropTable(const std::string& table);
  void addColumn(const std::string& table, const ColumnDef& column);
  void dropColumn(const std::string& table, const std::string& column);
  // Column names and host field types of a table as it stands (user fields
  // included), in table order. Empty when the table does not exist.
  std::vector<ColumnDef> columnsOf(const std::string& table);

  // Quoted identifier for SQLite ("@DPXSETT" -> "\"@DPXSETT\"").
  static std::string Quote(const std::string& identifier);

 private:
  sqlite3_stmt* prepare(const std::string& sql);
  void bind(sqlite3_stmt* stmt, const std::vector<Variant>& params);
  // Raises the failure of the last call: kHrCompanyBusy,
  // kHrCompanyReadOnly, kHrCompanyFull or kHrCompanyIoError when the
  // database cannot be written at all,
  // kHrSqlError with the server's message otherwise.
  [[noreturn]] void fail(const std::string& what);
  void closeDatabase();
  std::string columnSql(const ColumnDef& c) const;

  std::filesystem::path file_;
  int serverType_ = 0;
  sqlite3* db_ = nullptr;
  // Statement cache: texts from least to most recently used, and each
  // text's statement with its place in that order.
  struct CachedStatement {
    sqlite3_stmt* stmt;
    std::list<std::string>::iterator use;
  };
  std::unordered_map<std::string, CachedStatement> cache_;
  std::list<std::string> lru_;
  // columnsOf() per table, valid while the schema version it was read under
  // stands (a field list is asked for every record a copy checks).
  std::unordered_map<std::string, std::vector<ColumnDef>> columns_;
  int64_t columnsSchema_ = -1;
};

}  // namespace dpx::host
