// Locale-independent conversions of the program's VARIANT stand-in.
#include "platform/framework/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace dpx {

namespace {

bool AllDigits(const std::string& s, size_t from, size_t count) {
  if (from + count > s.size()) return false;
  for (size_t i = from; i < from + count; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

int Num(const std::string& s, size_t from, size_t count) {
  int v = 0;
  for (size_t i = from; i < from + count; ++i) v = v * 10 + (s[i] - '0');
  return v;
}

bool ValidDate(const DateTime& d) {
  return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31 && d.hour < 24 && d.minute < 60 &&
         d.second < 61;
}

}  // namespace

std::string DateTime::toYmd() const {
  if (isZero()) return "";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", year % 10000, month % 100, day % 100);
  return buf;
}

bool DateTime::parse(const std::string& text, DateTime& out) {
  DateTime d;
  size_t pos = 0;
  if (AllDigits(text, 0, 8) && (text.size() == 8 || text[8] == ' ' || text[8] == 'T')) {
    d.year = Num(text, 0, 4);
    d.month = Num(text, 4, 2);
    d.day = Num(text, 6, 2);
    pos = 8;
  } else if (AllDigits(text, 0, 4) && text.size() >= 10 && text[4] == '-' && AllDigits(text, 5, 2) &&
             text[7] == '-' && AllDigits(text, 8, 2)) {
    d.year = Num(text, 0, 4);
    d.month = Num(text, 5, 2);
    d.day = Num(text, 8, 2);
    pos = 10;
  } else {
    return false;
  }
  if (pos < text.size()) {
    if (text[pos] != ' ' && text[pos] != 'T') return false;
    ++pos;
    if (!AllDigits(text, pos, 2) || text.size() < pos + 5 || text[pos + 2] != ':' || !AllDigits(text, pos + 3, 2))
      return false;
    d.hour = Num(text, pos, 2);
    d.minute = Num(text, pos + 3, 2);
    pos += 5;
    if (pos < text.size() && text[pos] == ':') {
      if (!AllDigits(text, pos + 1, 2)) return false;
      d.second = Num(text, pos + 1, 2);
      pos += 3;
      if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
      }
    }
    if (pos != text.size()) return false;
  }
  if (!ValidDate(d)) return false;
  out = d;
  return true;
}

Variant Variant::integer(VarType type, int64_t v) {
  Variant r(v);
  r.type_ = type;
  return r;
}

Variant Variant::real(VarType type, double v) {
  Variant r(v);
  r.type_ = type;
  return r;
}

bool Variant::isInteger() const {
  switch (type_) {
    case VarType::I1: case VarType::I2: case VarType::I4: case VarType::I8:
    case VarType::UI2: case VarType::UI4: case VarType::Int: case VarType::UInt:
      return true;
    default:
      return false;
  }
}

int64_t Variant::toInt64() const {
  if (auto p = std::get_if<int64_t>(&value_)) return *p;
  if (auto p = std::get_if<double>(&value_)) return std::isfinite(*p) ? static_cast<int64_t>(*p) : 0;
  if (auto p = std::get_if<bool>(&value_)) return *p ? 1 : 0;
  if (auto p = std::get_if<std::string>(&value_)) return LeadingInt(*p);
  if (auto p = std::get_if<DateTime>(&value_)) return p->isZero() ? 0 : LeadingInt(p->toYmd());
  return 0;
}

double Variant::toDouble() const {
  if (auto p = std::get_if<double>(&value_)) return *p;
  if (auto p = std::get_if<std::string>(&value_)) {
    double d = 0;
    return ParseDouble(*p, d) ? d : static_cast<double>(LeadingInt(*p));
  }
  return static_cast<double>(toInt64());
}

bool Variant::toBool() const {
  if (auto p = std::get_if<bool>(&value_)) return *p;
  if (auto p = std::get_if<std::string>(&value_)) return *p == "Y" || *p == "true" || *p == "1";
  return toInt64() != 0;
}

DateTime Variant::toDate() const {
  if (auto p = std::get_if<DateTime>(&value_)) return *p;
  DateTime d;
  if (auto p = std::get_if<std::string>(&value_)) DateTime::parse(*p, d);
  return d;
}

const std::vector<uint8_t>& Variant::blob() const {
  static const std::vector<uint8_t> none;
  auto p = std::get_if<std::vector<uint8_t>>(&value_);
  return p ? *p : none;
}

std::string Variant::toText() const {
  if (auto p = std::get_if<std::string>(&value_)) return *p;
  if (auto p = std::get_if<int64_t>(&value_)) return std::to_string(*p);
  if (auto p = std::get_if<double>(&value_)) return FormatDouble(*p);
  if (auto p = std::get_if<bool>(&value_)) return *p ? "Y" : "N";
  if (auto p = std::get_if<DateTime>(&value_)) return p->toYmd();
  if (auto p = std::get_if<std::vector<uint8_t>>(&value_)) return std::string(p->begin(), p->end());
  return "";
}

std::string FormatDouble(double v) {
  if (!std::isfinite(v)) return "0";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

bool ParseDouble(const std::string& text, double& out) {
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = first + text.size();
  if (*first == '+') ++first;
  double v = 0;
  auto res = std::from_chars(first, last, v);
  if (res.ec != std::errc() || res.ptr != last) return false;
  out = v;
  return true;
}

bool ParseInt64(const std::string& text, int64_t& out) {
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = first + text.size();
  if (*first == '+') ++first;
  int64_t v = 0;
  auto res = std::from_chars(first, last, v);
  if (res.ec != std::errc() || res.ptr != last) return false;
  out = v;
  return true;
}

int64_t LeadingInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  if (first < last && *first == '+') ++first;
  int64_t v = 0;
  auto res = std::from_chars(first, last, v);
  return res.ec == std::errc() ? v : 0;
}

}  // namespace dpx
