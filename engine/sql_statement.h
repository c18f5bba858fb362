// Builds the text of one SELECT, DELETE, INSERT or UPDATE statement for one
// table of a host company, in the SQL dialect of the company's database server
// type. The builder runs nothing; the data layer runs the text through a
// recordset of the host.
//
// Values reach the builder from record XML, which may come from a file the
// user picked, so every value that is written without quotes (numbers, and
// dates under server type 3) must really be a number or an eight-digit date.
// A value that is not is refused: the statement then has an error, and every
// build operation throws DPX_SqlValueRefused (a dpx::HostError), which the
// callers log like any refusal of the host ("403" for the record).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/framework/host_error.h"

// One column/value pair of a statement.
struct DPX_ValuePair {
  // Quote flags: a text literal written between quotes, or a value written as it is.
  static constexpr int32_t kQuoted = 0;
  static constexpr int32_t kUnquoted = 2;

  std::string column;  // in its final spelling (double-quoted under type 5)
  std::string value;   // in its final literal form, without the enclosing quotes
  int32_t quoteFlag = kQuoted;
  bool isNull = false;  // SQL NULL; a text that reads "NULL" is a text
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
  void addValue(const std::string& column, const std::string& value, int32_t typeCode);
  // Takes pairs that are already in their final form as the condition list.
  void setValues(std::vector<DPX_ValuePair> values) { values_ = std::move(values); }

  // The statement texts. They throw DPX_SqlValueRefused when a value was refused.
  std::string buildWhere() const;
  std::string buildSelect() const;
  std::string buildDelete() const;
  std::string buildInsert() const;
  std::string buildUpdate() const;

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

 private:
  std::string tableName() const;
  std::string writeValue(const DPX_ValuePair& pair) const;
  void throwIfRefused() const;

  std::string table_;
  std::vector<DPX_ValuePair> values_;
  std::vector<std::string> columns_;
  int32_t serverType_;
  std::string error_;
};
