// A self-describing value, the program's stand-in for the host API's VARIANT.
// Values keep their VARIANT type number, because texts and field-type names
// are derived from it. Canonical texts are locale independent: they are what
// SQL literals and stored data are built from; display texts live elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace dpx {

enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  I2 = 2,
  I4 = 3,
  R4 = 4,
  R8 = 5,
  Date = 7,
  Text = 8,
  Bool = 11,
  I1 = 16,
  UI2 = 18,
  UI4 = 19,
  I8 = 20,
  Int = 22,
  UInt = 23,
  Blob = 65,
};

// A calendar date with a time of day. All zeros is the "zero date".
struct DateTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;

  bool isZero() const { return year == 0 && month == 0 && day == 0; }
  bool operator==(const DateTime&) const = default;

  // "YYYYMMDD", the form dates take in data and record XML.
  std::string toYmd() const;
  // Parses "YYYYMMDD", "YYYY-MM-DD" and either followed by a time
  // ("HH:MM:SS", optionally with fractions). False when it is none of these.
  static bool parse(const std::string& text, DateTime& out);
};

class Variant {
 public:
  Variant() = default;
  Variant(int32_t v) : type_(VarType::I4), value_(int64_t{v}) {}
  Variant(int64_t v) : type_(VarType::I8), value_(v) {}
  Variant(double v) : type_(VarType::R8), value_(v) {}
  Variant(bool v) : type_(VarType::Bool), value_(v) {}
  Variant(std::string v) : type_(VarType::Text), value_(std::move(v)) {}
  Variant(const char* v) : type_(VarType::Text), value_(std::string(v)) {}
  Variant(DateTime v) : type_(VarType::Date), value_(v) {}
  Variant(std::vector<uint8_t> v) : type_(VarType::Blob), value_(std::move(v)) {}

  // An integer of a particular VARIANT integer type (I1, I2, UI2, UI4, Int, UInt...).
  static Variant integer(VarType type, int64_t v);
  static Variant real(VarType type, double v);
  static Variant null() { Variant v; v.type_ = VarType::Null; return v; }

  VarType type() const { return type_; }
  uint16_t vt() const { return static_cast<uint16_t>(type_); }
  bool isEmpty() const { return type_ == VarType::Empty || type_ == VarType::Null; }
  bool isInteger() const;
  bool isReal() const { return type_ == VarType::R4 || type_ == VarType::R8; }

  // Conversions that never throw: a value of another kind converts as sensibly
  // as it can (text is parsed in the C locale; empty gives 0, "" or false).
  int64_t toInt64() const;
  int32_t toInt32() const { return static_cast<int32_t>(toInt64()); }
  double toDouble() const;
  bool toBool() const;
  DateTime toDate() const;
  const std::vector<uint8_t>& blob() const;

  // Locale-independent canonical text: integers in decimal, reals in the
  // shortest form that reads back to the same double, dates as YYYYMMDD,
  // booleans "Y"/"N", empty as "".
  std::string toText() const;

  bool operator==(const Variant& other) const = default;

 private:
  VarType type_ = VarType::Empty;
  std::variant<std::monostate, int64_t, double, bool, std::string, DateTime, std::vector<uint8_t>> value_;
};

// Locale-independent number texts for data and SQL.
std::string FormatDouble(double v);                      // shortest round-trip form, "." as decimal point
bool ParseDouble(const std::string& text, double& out);  // whole text must be a number
bool ParseInt64(const std::string& text, int64_t& out);  // whole text must be a decimal integer
int64_t LeadingInt(const std::string& text);             // leading decimal number, 0 when none

}  // namespace dpx
