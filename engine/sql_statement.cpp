// SQL text for one table in the dialect of a database server type. See
// sql_statement.h for why unquoted values are checked.
#include "engine/sql_statement.h"

#include <cerrno>
#include <cstdlib>

#include <fmt/format.h>

#include "engine/util.h"

namespace {

// The server types with a dialect of their own; every other type brackets
// user tables and writes dates through CONVERT.
constexpr int32_t kTypeIsoDates = 2;     // dates TIMESTAMP_ISO('YYYY-MM-DD'), N'' texts
constexpr int32_t kTypeDigitDates = 3;   // dates as the eight digits
constexpr int32_t kTypeQuotedNames = 5;  // double-quoted columns, '' texts, no memo values

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Splits at blanks and, when withCommas, at commas; empty pieces are dropped.
std::vector<std::string> Tokens(const std::string& s, bool withCommas) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : s) {
    if (IsBlank(c) || (withCommas && c == ',')) {
      if (!cur.empty()) out.push_back(std::move(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(std::move(cur));
  return out;
}

std::string Quoted(const std::string& identifier) { return "\"" + identifier + "\""; }

// The value as it may appear in an error message: long texts are cut.
std::string Shown(const std::string& value) {
  constexpr size_t kMax = 60;
  return value.size() <= kMax ? value : value.substr(0, kMax) + "...";
}

// A checked number as SQLite reads the same literal: an integer while it
// has neither point nor exponent and fits, a real otherwise.
dpx::Variant NumberValue(const std::string& number) {
  const bool integral = number.find_first_of(".eE") == std::string::npos;
  if (integral) {
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(number.c_str(), &end, 10);
    if (errno == 0 && end && *end == '\0') return dpx::Variant(static_cast<int64_t>(v));
  }
  return dpx::Variant(std::strtod(number.c_str(), nullptr));
}

}  // namespace

DPX_SqlText& DPX_SqlText::operator+=(const DPX_SqlText& more) {
  text += more.text;
  values.insert(values.end(), more.values.begin(), more.values.end());
  written_ += more.written_;
  return *this;
}

DPX_SqlText& DPX_SqlText::operator+=(std::string_view more) {
  append(more);
  return *this;
}

void DPX_SqlText::append(std::string_view both) {
  text += both;
  written_ += both;
}

void DPX_SqlText::appendValue(const DPX_ValuePair& pair, const std::string& written) {
  written_ += written;
  if (!pair.isBound) {
    text += written;
    return;
  }
  text += '?';
  values.push_back(pair.bound);
}

DPX_SqlStatement::DPX_SqlStatement(int32_t serverType) : serverType_(serverType) {}

void DPX_SqlStatement::setTable(std::string table) { table_ = std::move(table); }

void DPX_SqlStatement::addColumn(const std::string& name) { columns_.push_back(column(name)); }

bool DPX_SqlStatement::IsSqlNumber(const std::string& s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

bool DPX_SqlStatement::IsEightDigitDate(const std::string& s) {
  if (s.size() != 8) return false;
  for (char c : s) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

void DPX_SqlStatement::addNull(const std::string& column) {
  DPX_ValuePair pair;
  pair.column = serverType_ == kTypeQuotedNames ? Quoted(column) : column;
  pair.value = "NULL";
  pair.quoteFlag = DPX_ValuePair::kUnquoted;
  pair.isNull = true;
  values_.push_back(std::move(pair));
}

void DPX_SqlStatement::addValue(const std::string& column, const std::string& value, int32_t typeCode,
                                bool emptyIsText) {
  // Memo columns cannot be compared or assigned this way on type 5.
  if (typeCode == kMemo && serverType_ == kTypeQuotedNames) return;

  DPX_ValuePair pair;
  pair.column = this->column(column);
  if (pair.column.empty()) return;

  if (!value.empty() && typeCode == kDate) {
    if (!IsEightDigitDate(value)) {
      if (error_.empty()) {
        error_ = fmt::format("Value '{}' of column {} is not a date of eight digits (YYYYMMDD)", Shown(value), column);
      }
      return;
    }
    const std::string y = value.substr(0, 4), m = value.substr(4, 2), d = value.substr(6, 2);
    switch (serverType_) {
      case kTypeDigitDates: pair.value = value; break;
      case kTypeIsoDates: pair.value = "TIMESTAMP_ISO('" + y + "-" + m + "-" + d + "')"; break;
      case kTypeQuotedNames: pair.value = "'" + y + "-" + m + "-" + d + " 00:00:00.000000'"; break;
      default: pair.value = "CONVERT(datetime,'" + value + "',112)"; break;
    }
    pair.quoteFlag = DPX_ValuePair::kUnquoted;
    // Every dialect's date form reaches the company as the eight digits.
    pair.bound = dpx::Variant(value);
    pair.isBound = true;
    values_.push_back(std::move(pair));
    return;
  }

  if (typeCode == kAlpha || typeCode == kMemo) {
    pair.value = DPX_Util::EscapeSqlText(value);
    pair.quoteFlag = DPX_ValuePair::kQuoted;
    // An empty text is bound as NULL only where it is written as NULL (a new row).
    pair.bound = dpx::Variant(value);
    pair.isBound = true;
    pair.keepEmpty = emptyIsText;
  } else if (value.empty()) {
    pair.value = "NULL";
    pair.quoteFlag = DPX_ValuePair::kUnquoted;
    pair.isNull = true;
  } else {
    // Written into the text as it is: it must be a number and nothing else.
    if (!IsSqlNumber(value)) {
      if (error_.empty()) error_ = fmt::format("Value '{}' of column {} is not a number", Shown(value), column);
      return;
    }
    pair.value = value;
    pair.quoteFlag = DPX_ValuePair::kUnquoted;
    pair.bound = NumberValue(value);
    pair.isBound = true;
  }
  values_.push_back(std::move(pair));
}

void DPX_SqlStatement::throwIfRefused() const {
  if (!error_.empty()) throw DPX_SqlValueRefused(error_);
}

bool DPX_SqlStatement::IsHostName(std::string_view name) {
  if (!name.empty() && name[0] == '@') name.remove_prefix(1);
  if (name.empty()) return false;
  for (char c : name) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!letter && !IsDigit(c) && c != '_') return false;
  }
  return true;
}

bool DPX_SqlStatement::TableName(int32_t serverType, const std::string& table, std::string& out) {
  const std::string t = Trim(table);
  if (!IsHostName(t)) return false;
  const bool bracketed = serverType != kTypeIsoDates && serverType != kTypeQuotedNames;
  out = t[0] == '@' && bracketed ? "[" + t + "]" : t;
  return true;
}

bool DPX_SqlStatement::ColumnName(int32_t serverType, const std::string& column, std::string& out) {
  const std::string c = Trim(column);
  // A column never begins with "@": that is a user table's or a variable's mark.
  if (!IsHostName(c) || c[0] == '@') return false;
  out = serverType == kTypeQuotedNames ? Quoted(c) : c;
  return true;
}

std::string DPX_SqlStatement::TableName(int32_t serverType, const std::string& table) {
  std::string out;
  if (!TableName(serverType, table, out)) throw DPX_SqlValueRefused(fmt::format("'{}' is not a table name", Shown(table)));
  return out;
}

std::string DPX_SqlStatement::ColumnName(int32_t serverType, const std::string& column) {
  std::string out;
  if (!ColumnName(serverType, column, out))
    throw DPX_SqlValueRefused(fmt::format("'{}' is not a column name", Shown(column)));
  return out;
}

std::string DPX_SqlStatement::column(const std::string& name) {
  std::string out;
  if (!ColumnName(serverType_, name, out) && error_.empty())
    error_ = fmt::format("'{}' is not a column name", Shown(name));
  return out;
}

std::string DPX_SqlStatement::tableName() const { return TableName(serverType_, table_); }

std::string DPX_SqlStatement::writeValue(const DPX_ValuePair& pair) const {
  if (pair.quoteFlag != DPX_ValuePair::kQuoted) return pair.value;
  return (serverType_ == kTypeQuotedNames ? "'" : "N'") + pair.value + "'";
}

void DPX_SqlStatement::appendWhere(DPX_SqlText& out) const {
  if (values_.empty()) return;
  // Consecutive pairs on one column are alternatives (OR), others all hold
  // (AND). Each run of alternatives is grouped so that AND cannot bind into it.
  const size_t n = values_.size();
  auto orWithPrevious = [&](size_t i) { return i > 0 && i < n && values_[i].column == values_[i - 1].column; };
  out.append(" WHERE ");
  for (size_t i = 0; i < n; ++i) {
    const DPX_ValuePair& p = values_[i];
    if (i > 0) out.append(orWithPrevious(i) ? " OR " : " AND ");
    if (orWithPrevious(i + 1) && !orWithPrevious(i)) out.append("(");
    out.append(p.column);
    if (p.isNull) {
      out.append(" IS NULL");
    } else {
      out.append(" = ");
      out.appendValue(p, writeValue(p));
    }
    if (orWithPrevious(i) && !orWithPrevious(i + 1)) out.append(")");
  }
}

DPX_SqlText DPX_SqlStatement::buildWhere() const {
  throwIfRefused();
  DPX_SqlText out;
  appendWhere(out);
  return out;
}

DPX_SqlText DPX_SqlStatement::buildSelect() const {
  throwIfRefused();
  DPX_SqlText out;
  out.append("SELECT ");
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (i > 0) out.append(", ");
    out.append(columns_[i]);
  }
  if (columns_.empty()) out.append("*");
  out.append(" FROM ");
  out.append(tableName());
  appendWhere(out);
  return out;
}

DPX_SqlText DPX_SqlStatement::buildDelete() const {
  throwIfRefused();
  DPX_SqlText out;
  out.append("DELETE  FROM ");
  out.append(tableName());
  appendWhere(out);
  return out;
}

DPX_SqlText DPX_SqlStatement::buildInsert() const {
  throwIfRefused();
  DPX_SqlText out;
  out.append("INSERT INTO ");
  out.append(tableName());
  out.append(" (");
  for (size_t i = 0; i < values_.size(); ++i) {
    if (i > 0) out.append(", ");
    out.append(values_[i].column);
  }
  out.append(") VALUES (");
  for (size_t i = 0; i < values_.size(); ++i) {
    const DPX_ValuePair& p = values_[i];
    if (i > 0) out.append(", ");
    // An empty text becomes NULL in a new row.
    if (p.quoteFlag == DPX_ValuePair::kQuoted && p.value.empty() && !p.keepEmpty)
      out.append("NULL");
    else
      out.appendValue(p, writeValue(p));
  }
  out.append(")");
  return out;
}

DPX_SqlText DPX_SqlStatement::buildUpdate() const {
  throwIfRefused();
  DPX_SqlText out;
  out.append("UPDATE ");
  out.append(tableName());
  out.append(" SET ");
  for (size_t i = 0; i < values_.size(); ++i) {
    const DPX_ValuePair& p = values_[i];
    if (i > 0) out.append(" , ");
    out.append(p.column);
    out.append(" = ");
    out.appendValue(p, writeValue(p));
  }
  return out;
}

std::string DPX_SqlStatement::splitClauses(std::string sql) {
  const size_t where = sql.find("WHERE");
  if (where == std::string::npos) return {};
  const size_t start = where + 5;
  const size_t order = sql.find("ORDER BY", start);
  const std::string condition = Trim(sql.substr(start, order == std::string::npos ? std::string::npos : order - start));

  std::string out;
  for (const auto& token : Tokens(condition, false)) {
    const char c = token[0];
    const bool keep = token == "AND" || token == "OR" || token == "NOT" || token == "LIKE" || token == "IS" ||
                      token == "NULL" || c == '=' || c == '<' || c == '>' || c == '\'' || IsDigit(c) || c == '-';
    out += keep ? token : Quoted(token);
    out += ' ';
  }
  return out;
}

std::string DPX_SqlStatement::parse(std::string sql) {
  const size_t select = sql.find("SELECT");
  const size_t from = sql.find("FROM");
  if (select == std::string::npos || from == std::string::npos || from < select) return sql;

  std::string selectList = Trim(sql.substr(select + 6, from - (select + 6)));
  if (selectList != "*") {
    std::string list;
    for (const auto& token : Tokens(selectList, true)) list += Quoted(token) + ",";
    while (!list.empty() && list.back() == ',') list.pop_back();
    selectList = list;
  }

  const size_t where = sql.find("WHERE", from);
  const size_t order = sql.find("ORDER BY", from);
  const size_t fromEnd = where != std::string::npos ? where : order != std::string::npos ? order : sql.size();
  const std::string fromPart = " " + sql.substr(from, fromEnd - from);

  const std::string condition = splitClauses(sql);

  std::string orderList;
  if (order != std::string::npos) {
    for (const auto& token : Tokens(Trim(sql.substr(order + 8)), true)) {
      orderList += (token == "ASC" || token == "DESC") ? " " + token : "," + Quoted(token);
    }
    while (!orderList.empty() && orderList.front() == ',') orderList.erase(0, 1);
    while (!orderList.empty() && orderList.back() == ',') orderList.pop_back();
  }

  std::string out = "SELECT ";
  out += selectList;
  out += fromPart;
  if (!condition.empty()) out += "WHERE " + condition;
  if (!orderList.empty()) out += "ORDER BY " + orderList;
  return out;
}
