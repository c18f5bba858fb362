// Builds one SELECT, DELETE, INSERT or UPDATE statement for one table of a
// host company, in the SQL dialect of the company's database server type. The
// builder runs nothing; the data layer runs the statement through a recordset
// of the host. A statement goes to the host with its values bound, so that the
// host prepares the text of each table and operation once; the same statement
// with the values written into the text serves callers that need one string.
//
// Values reach the builder from record XML, which may come from a file the
// user picked, so every value that is written without quotes (numbers, and
// dates under server type 3) must really be a number or an eight-digit date.
// A value that is not is refused: the statement then has an error, and every
// build operation throws DPX_SqlValueRefused (a dpx::HostError), which the
// callers log like any refusal of the host ("403" for the record).
//
// Table and column names may come from a company's own lists (the names of
// its user tables) or from a file, so they too are checked: a name is written
// into the text only when it is a name the host can hold (letters, digits and
// "_", after an "@" for a user table), in the dialect's spelling. Any other
// name is refused like a value.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/framework/host_error.h"
#include "platform/framework/variant.h"
#include "platform/host/bound_sql.h"

// One column/value pair of a statement.
struct DPX_ValuePair {
  // Quote flags: a text literal written between quotes, or a value written as it is.
  static constexpr int32_t kQuoted = 0;
  static constexpr int32_t kUnquoted = 2;

  std::string column;  // in its final spelling (double-quoted under type 5)
  std::string value;   // in its final literal form, without the enclosing quotes
  int32_t quoteFlag = kQuoted;
  bool isNull = false;  // SQL NULL; a text that reads "NULL" is a text
  bool keepEmpty = false;  // an empty text stays an empty text in an INSERT too
  // The value as the host binds it. Pairs made outside addValue are final
  // text and are written into the statement as they stand.
  dpx::Variant bound;
  bool isBound = false;
};

// A built statement: the text with a "?" for each bound value (the base), and
// the text with the values written in (str(), and the conversion to a string).
// A recordset runs the bound form; a string parameter takes the written one.
class DPX_SqlText : public dpx::host::BoundSql {
 public:
  const std::string& str() const { return written_; }
  operator const std::string&() const { return written_; }

  // Appends another statement's text and values, or plain SQL text.
  DPX_SqlText& operator+=(const DPX_SqlText& more);
  DPX_SqlText& operator+=(std::string_view more);
  friend DPX_SqlText operator+(DPX_SqlText a, const DPX_SqlText& b) { return a += b; }
  friend DPX_SqlText operator+(DPX_SqlText a, std::string_view b) { return a += b; }
  friend DPX_SqlText operator+(DPX_SqlText a, const std::string& b) { return a += b; }
  friend DPX_SqlText operator+(DPX_SqlText a, const char* b) { return a += std::string_view(b); }
  friend DPX_SqlText operator+(std::string_view a, const DPX_SqlText& b) {
    DPX_SqlText out;
    out += a;
    return out += b;
  }
  friend bool operator==(const DPX_SqlText& a, std::string_view b) { return a.written_ == b; }
  friend std::ostream& operator<<(std::ostream& out, const DPX_SqlText& s) { return out << s.written_; }

  // For the builder: text that both forms share, and one value.
  void append(std::string_view both);
  void appendValue(const DPX_ValuePair& pair, const std::string& written);

 private:
  std::string written_;
};

// Raised by the build operations of a statement that holds a refused value.
class DPX_SqlValueRefused : public dpx::HostError {
 public:
  explicit DPX_SqlValueRefused(const std::string& description)
      : dpx::HostError(dpx::E_INVALIDARG, "DPX_SqlStatement", description) {}
};

class DPX_SqlStatement {
 public:
  // Host field type codes (the third column of the host's field list).
  static constexpr int32_t kAlpha = 0;
  static constexpr int32_t kMemo = 1;
  static constexpr int32_t kNumeric = 2;
  static constexpr int32_t kDate = 3;
  static constexpr int32_t kFloat = 4;

  explicit DPX_SqlStatement(int32_t serverType);

  void setTable(std::string table);
  // Appends to the select list (double-quoted under server type 5).
  void addColumn(const std::string& column);
  // Appends one column/value pair; typeCode is a host field type code. A value
  // that would go into the text unquoted and is not a number (or, for a date,
  // eight digits) is refused: see error().
  // With emptyIsText an empty text value is written as an empty text in every
  // statement (else an INSERT writes it as NULL).
  void addValue(const std::string& column, const std::string& value, int32_t typeCode, bool emptyIsText = false);
  // Appends one column with SQL NULL: "= NULL" in an assignment, "IS NULL" in a condition.
  void addNull(const std::string& column);
  // Takes pairs that are already in their final form as the condition list.
  void setValues(std::vector<DPX_ValuePair> values) { values_ = std::move(values); }

  // The statements. They throw DPX_SqlValueRefused when a value was refused.
  DPX_SqlText buildWhere() const;
  DPX_SqlText buildSelect() const;
  DPX_SqlText buildDelete() const;
  DPX_SqlText buildInsert() const;
  DPX_SqlText buildUpdate() const;

  // True when no value was refused; error() then is empty, otherwise it names
  // the first refused value and its column.
  bool isValid() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  int32_t serverType() const { return serverType_; }
  const std::vector<DPX_ValuePair>& values() const { return values_; }
  const std::vector<std::string>& columns() const { return columns_; }

  // Type-5 rewriting of hand-written plain-dialect SQL: the whole SELECT, and
  // the condition of its WHERE clause (empty without WHERE; keeps a trailing blank).
  static std::string parse(std::string sql);
  static std::string splitClauses(std::string sql);

  // The literal forms a value must have to be written unquoted.
  static bool IsSqlNumber(const std::string& text);
  static bool IsEightDigitDate(const std::string& text);

  // Whether a text is a name the host can give a table or a column: ASCII
  // letters, digits and "_", at least one, after one leading "@" at most.
  static bool IsHostName(std::string_view name);
  // A table or column name (blanks around it trimmed) as the dialect of the
  // server type writes it: a user table in square brackets except under
  // types 2 and 5, a column in double quotes under type 5. False, and `out`
  // untouched, for a text that is no host name.
  static bool TableName(int32_t serverType, const std::string& table, std::string& out);
  static bool ColumnName(int32_t serverType, const std::string& column, std::string& out);
  // The same, raising DPX_SqlValueRefused for a text that is no host name.
  static std::string TableName(int32_t serverType, const std::string& table);
  static std::string ColumnName(int32_t serverType, const std::string& column);

 private:
  // The stored table in the dialect; raises DPX_SqlValueRefused for a text that is no host name.
  std::string tableName() const;
  std::string writeValue(const DPX_ValuePair& pair) const;
  void appendWhere(DPX_SqlText& out) const;
  void throwIfRefused() const;
  // The column's spelling, or "" with the error set when it is no host name.
  std::string column(const std::string& name);

  std::string table_;
  std::vector<DPX_ValuePair> values_;
  std::vector<std::string> columns_;
  int32_t serverType_;
  std::string error_;
};
