// The dialect translator: a tokenizer in front of SQLite. It never looks
// inside string literals except to recognise the date literals of the
// dialects, so an apostrophe, a bracket or an "@" inside a value is data.
#include "platform/host/sql_dialect.h"

#include <cctype>
#include <vector>

#include "platform/framework/host_error.h"
#include "platform/framework/text.h"
#include "platform/host/company_store.h"
#include "platform/host/host_codes.h"

namespace dpx::host {

namespace {

enum class Tok { Space, Word, Number, String, Quoted, Bracket, Punct, Comment };

struct Token {
  Tok kind;
  std::string text;   // raw text as written
};

bool WordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#'; }
bool WordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '#' || c == '$' ||
         static_cast<unsigned char>(c) >= 0x80;
}

[[noreturn]] void Refuse(int serverType, const std::string& what) {
  throw HostError(kHrDialectError, "Recordset",
                  "SQL form not valid for database server type " + std::to_string(serverType) + ": " + what);
}

// The position after the quote that closes the literal or identifier opening
// at `open`; a doubled quote inside stands for one.
size_t ClosingQuote(const std::string& sql, size_t open, int serverType, const char* unterminated) {
  const char q = sql[open];
  for (size_t i = open + 1; i < sql.size(); ++i) {
    if (sql[i] != q) continue;
    if (i + 1 < sql.size() && sql[i + 1] == q) {
      ++i;
      continue;
    }
    return i + 1;
  }
  Refuse(serverType, unterminated);
}

std::vector<Token> Tokenize(const std::string& sql, int serverType) {
  std::vector<Token> out;
  size_t i = 0, n = sql.size();
  while (i < n) {
    char c = sql[i];
    size_t start = i;
    if (std::isspace(static_cast<unsigned char>(c))) {
      while (i < n && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
      out.push_back({Tok::Space, sql.substr(start, i - start)});
    } else if (c == '\'') {
      i = ClosingQuote(sql, i, serverType, "unterminated text literal");
      out.push_back({Tok::String, sql.substr(start, i - start)});
    } else if (c == '"') {
      i = ClosingQuote(sql, i, serverType, "unterminated quoted identifier");
      out.push_back({Tok::Quoted, sql.substr(start, i - start)});
    } else if (c == '[') {
      size_t close = sql.find(']', i);
      if (close == std::string::npos) Refuse(serverType, "unterminated bracketed name");
      i = close + 1;
      out.push_back({Tok::Bracket, sql.substr(start, i - start)});
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n') ++i;
      out.push_back({Tok::Comment, sql.substr(start, i - start)});
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      size_t close = sql.find("*/", i + 2);
      i = close == std::string::npos ? n : close + 2;
      out.push_back({Tok::Comment, sql.substr(start, i - start)});
    } else if (WordStart(c)) {
      while (i < n && WordChar(sql[i])) ++i;
      out.push_back({Tok::Word, sql.substr(start, i - start)});
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(sql[i + 1])))) {
      while (i < n && (std::isalnum(static_cast<unsigned char>(sql[i])) || sql[i] == '.')) ++i;
      out.push_back({Tok::Number, sql.substr(start, i - start)});
    } else {
      ++i;
      out.push_back({Tok::Punct, sql.substr(start, 1)});
    }
  }
  return out;
}

// The content of a string literal token, '' undone.
std::string Unquote(const std::string& literal) {
  std::string s;
  for (size_t i = 1; i + 1 < literal.size(); ++i) {
    s += literal[i];
    if (literal[i] == '\'' && literal[i + 1] == '\'') ++i;
  }
  return s;
}

bool Digits(const std::string& s, size_t from, size_t count) {
  if (from + count > s.size()) return false;
  for (size_t i = from; i < from + count; ++i)
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
  return true;
}

bool IsYmd(const std::string& s) { return s.size() == 8 && Digits(s, 0, 8); }
bool IsIsoDate(const std::string& s) {
  return s.size() == 10 && Digits(s, 0, 4) && s[4] == '-' && Digits(s, 5, 2) && s[7] == '-' && Digits(s, 8, 2);
}
// 'YYYY-MM-DD 00:00:00.000000', the date literal of type 5.
bool IsType5Date(const std::string& s) {
  return s.size() >= 19 && IsIsoDate(s.substr(0, 10)) && s[10] == ' ' && Digits(s, 11, 2) && s[13] == ':' &&
         Digits(s, 14, 2) && s[16] == ':' && Digits(s, 17, 2) &&
         s.size() == 26 && s[19] == '.' && Digits(s, 20, 6);
}
std::string IsoToYmd(const std::string& s) { return s.substr(0, 4) + s.substr(5, 2) + s.substr(8, 2); }

// Index of the next token that is not blank or comment, from i.
size_t Next(const std::vector<Token>& t, size_t i) {
  while (i < t.size() && (t[i].kind == Tok::Space || t[i].kind == Tok::Comment)) ++i;
  return i;
}

bool IsPunct(const std::vector<Token>& t, size_t i, char c) {
  return i < t.size() && t[i].kind == Tok::Punct && t[i].text[0] == c;
}

std::string IdentName(const Token& t) {
  if (t.kind == Tok::Quoted || t.kind == Tok::Bracket) return t.text.substr(1, t.text.size() - 2);
  return t.text;
}

}  // namespace

int SqlDialect::Family(int serverType) {
  return serverType == 2 || serverType == 3 || serverType == 5 ? serverType : 0;
}

bool SqlDialect::CaseSensitive(int serverType) { return Family(serverType) != 0; }

std::string SqlDialect::Translate(int serverType, const std::string& sql, std::string* mainTable) {
  const int family = Family(serverType);
  std::vector<Token> t = Tokenize(sql, serverType);
  std::string out;
  std::string table;
  bool wantTable = false;
  for (size_t i = 0; i < t.size(); ++i) {
    const Token& tok = t[i];
    switch (tok.kind) {
      case Tok::Word: {
        // N'text': the national-character literal of every dialect but type 5.
        if ((tok.text == "N" || tok.text == "n") && i + 1 < t.size() && t[i + 1].kind == Tok::String) {
          if (family == 5) Refuse(serverType, "N'...' text literal");
          continue;   // the literal itself follows
        }
        std::string upper = tok.text;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        // CONVERT(datetime,'YYYYMMDD',112)
        if (upper == "CONVERT") {
          size_t a = Next(t, i + 1), b = Next(t, a + 1), c = Next(t, b + 1), d = Next(t, c + 1), e = Next(t, d + 1),
                 f = Next(t, e + 1), g = Next(t, f + 1);
          if (IsPunct(t, a, '(') && b < t.size() && t[b].kind == Tok::Word && EqualsIgnoreCase(t[b].text, "datetime") &&
              IsPunct(t, c, ',') && d < t.size() && t[d].kind == Tok::String && IsPunct(t, e, ',') && f < t.size() &&
              t[f].kind == Tok::Number && t[f].text == "112" && IsPunct(t, g, ')')) {
            if (family != 0) Refuse(serverType, "CONVERT(datetime,...,112) date literal");
            std::string v = Unquote(t[d].text);
            if (!IsYmd(v)) Refuse(serverType, "CONVERT date '" + v + "' is not YYYYMMDD");
            out += '\'';
            out += v;
            out += '\'';
            i = g;
            continue;
          }
        }
        // TIMESTAMP_ISO('YYYY-MM-DD')
        if (upper == "TIMESTAMP_ISO") {
          size_t a = Next(t, i + 1), b = Next(t, a + 1), c = Next(t, b + 1);
          if (family != 2) Refuse(serverType, "TIMESTAMP_ISO date literal");
          if (!IsPunct(t, a, '(') || b >= t.size() || t[b].kind != Tok::String || !IsPunct(t, c, ')'))
            Refuse(serverType, "TIMESTAMP_ISO without one date literal");
          std::string v = Unquote(t[b].text);
          if (!IsIsoDate(v)) Refuse(serverType, "TIMESTAMP_ISO date '" + v + "' is not YYYY-MM-DD");
          out += '\'';
          out += IsoToYmd(v);
          out += '\'';
          i = c;
          continue;
        }
        // The server's backup history: msdb.dbo.backupset / msdb..backupset.
        if (upper == "MSDB") {
          size_t a = i + 1, b = i + 2, c = i + 3, d = i + 4;
          std::string name;
          if (IsPunct(t, a, '.') && b < t.size() && t[b].kind == Tok::Word && IsPunct(t, c, '.') && d < t.size() &&
              t[d].kind == Tok::Word)
            name = t[d].text, i = d;
          else if (IsPunct(t, a, '.') && IsPunct(t, b, '.') && c < t.size() && t[c].kind == Tok::Word)
            name = t[c].text, i = c;
          if (!name.empty()) {
            if (family != 0) Refuse(serverType, "msdb backup history");
            out += "msdb.";
            out += name;
            if (wantTable) table = name, wantTable = false;
            continue;
          }
        }
        if (upper == "GETDATE") {
          size_t a = Next(t, i + 1), b = Next(t, a + 1);
          if (IsPunct(t, a, '(') && IsPunct(t, b, ')')) {
            if (family != 0) Refuse(serverType, "GETDATE()");
            out += "strftime('%Y-%m-%d %H:%M:%S','now')";
            i = b;
            continue;
          }
        }
        // DATEADD(unit, n, expression)
        if (upper == "DATEADD") {
          size_t a = Next(t, i + 1), u = Next(t, a + 1), c1 = Next(t, u + 1), n = Next(t, c1 + 1), c2 = Next(t, n + 1);
          if (IsPunct(t, a, '(') && u < t.size() && t[u].kind == Tok::Word && IsPunct(t, c1, ',') && n < t.size() &&
              (t[n].kind == Tok::Number || IsPunct(t, n, '-')) && IsPunct(t, c2, ',')) {
            if (family != 0) Refuse(serverType, "DATEADD");
            std::string number = t[n].text;
            size_t from = c2 + 1;
            if (IsPunct(t, n, '-')) {
              size_t m = n + 1;
              if (m >= t.size() || t[m].kind != Tok::Number || !IsPunct(t, Next(t, m + 1), ','))
                Refuse(serverType, "DATEADD with an unreadable number");
              number = "-" + t[m].text;
              from = Next(t, m + 1) + 1;
            }
            int depth = 0;
            size_t end = from;
            for (; end < t.size(); ++end) {
              if (IsPunct(t, end, '(')) ++depth;
              else if (IsPunct(t, end, ')') && depth-- == 0) break;
            }
            if (end >= t.size()) Refuse(serverType, "unterminated DATEADD");
            std::string unit = ToLowerAscii(t[u].text);
            if (unit == "mi" || unit == "n") unit = "minute";
            if (unit == "hh") unit = "hour";
            if (unit == "dd" || unit == "d") unit = "day";
            if (unit != "minute" && unit != "hour" && unit != "day" && unit != "month" && unit != "year")
              Refuse(serverType, "DATEADD unit " + t[u].text);
            std::string inner;
            for (size_t k = from; k < end; ++k) inner += t[k].text;
            out += "datetime(";
            out += Translate(serverType, inner);
            out += ", '";
            out += number;
            out += " ";
            out += unit;
            out += "s')";
            i = end;
            continue;
          }
        }
        if (tok.text[0] == '@') {
          // A bare user-table name: a variable in the bracketing dialects.
          if (family != 2 && family != 5) Refuse(serverType, "bare user table " + tok.text + " (write [" + tok.text + "])");
          out += CompanyStore::Quote(tok.text);
          if (wantTable) table = tok.text, wantTable = false;
          continue;
        }
        if (wantTable) {
          table = tok.text;
          wantTable = false;
        }
        if (table.empty() && (upper == "FROM" || upper == "INTO" || upper == "UPDATE")) wantTable = true;
        out += tok.text;
        continue;
      }
      case Tok::Bracket: {
        if (family == 2 || family == 5) Refuse(serverType, "bracketed name " + tok.text);
        std::string name = IdentName(tok);
        if (wantTable) table = name, wantTable = false;
        out += CompanyStore::Quote(name);
        continue;
      }
      case Tok::Quoted:
        if (wantTable) table = IdentName(tok), wantTable = false;
        out += tok.text;
        continue;
      case Tok::String: {
        std::string v = Unquote(tok.text);
        if (IsType5Date(v)) {
          if (family != 5) Refuse(serverType, "date literal '" + v + "'");
          out += '\'';
          out += IsoToYmd(v);
          out += '\'';
          continue;
        }
        out += tok.text;
        continue;
      }
      case Tok::Space:
      case Tok::Comment:
        out += tok.text;
        continue;
      default:
        if (wantTable && tok.kind == Tok::Punct) wantTable = false;
        out += tok.text;
        continue;
    }
  }
  if (mainTable) *mainTable = table;
  return out;
}

}  // namespace dpx::host
