#include "ui/table_view.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <tuple>

#include <QString>

#include "engine/util.h"

namespace dpx::ui {

namespace {
// The position after leading white space and a '+' (from_chars takes no '+').
const char* SkipToNumber(const std::string& text, bool& negative) {
  const char* p = text.c_str();
  while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
  negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  return p;
}
}  // namespace

double ReadNumberPrefix(const std::string& text) {
  bool negative = false;
  const char* p = SkipToNumber(text, negative);
  double value = 0;
  if (std::from_chars(p, text.c_str() + text.size(), value).ec != std::errc()) return 0;
  return negative ? -value : value;
}

long ReadIntegerPrefix(const std::string& text) {
  bool negative = false;
  const char* p = SkipToNumber(text, negative);
  long value = 0;
  if (std::from_chars(p, text.c_str() + text.size(), value).ec != std::errc()) return 0;
  return negative ? -value : value;
}

}  // namespace dpx::ui

namespace {

using dpx::VarType;

QString Lower(const std::string& text) { return QString::fromStdString(text).toLower(); }

bool IsNumericType(int type) { return type == dpx::fieldtype::kNumeric || type == dpx::fieldtype::kFloat; }

bool IsBlank(const std::string& cell) { return QString::fromStdString(cell).trimmed().isEmpty(); }

int Sign(double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); }

int CompareText(const std::string& a, const std::string& b) {
  const int c = QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// A number cell as the user's locale writes it, read in the C form.
double ReadLocaleNumber(std::string text, const DPX_SortRule& rule) {
  if (rule.thousandsSeparator) text.erase(std::remove(text.begin(), text.end(), rule.thousandsSeparator), text.end());
  if (rule.decimalSeparator != '.') std::replace(text.begin(), text.end(), rule.decimalSeparator, '.');
  return dpx::ui::ReadNumberPrefix(text);
}

int CompareByRule(const DPX_TableRow& a, const DPX_TableRow& b, const DPX_SortRule& rule) {
  const std::string& x = DPX_TableView::cellText(a, rule.column);
  const std::string& y = DPX_TableView::cellText(b, rule.column);
  int result = 0;
  switch (rule.columnType) {
    case -1:
      result = a.selected == b.selected ? 0 : (a.selected ? 1 : -1);
      break;
    case dpx::fieldtype::kNumeric:
    case dpx::fieldtype::kFloat: {
      const double u = ReadLocaleNumber(x, rule), v = ReadLocaleNumber(y, rule);
      result = u == 0 && v == 0 ? CompareText(x, y) : Sign(u, v);
      break;
    }
    case dpx::fieldtype::kDate: {
      dpx::DateTime d, e;
      if (!dpx::DateTime::parse(x, d) || !dpx::DateTime::parse(y, e)) {
        result = CompareText(x, y);
        break;
      }
      const auto key = [](const dpx::DateTime& t) { return std::tie(t.year, t.month, t.day); };
      result = key(d) < key(e) ? -1 : (key(e) < key(d) ? 1 : 0);
      break;
    }
    default:
      result = CompareText(x, y);
      break;
  }
  return rule.ascending ? result : -result;
}

}  // namespace

const std::vector<DPX_FilterRuleKind>& DPX_TableView::FilterRuleKinds() {
  static const std::vector<DPX_FilterRuleKind> kinds = {
      {1, 2071, 1, false},  {2, 2072, 1, false},  {3, 2073, 2, false}, {4, 2074, 2, false}, {5, 2075, 1, false},
      {6, 2076, 1, false},  {7, 2077, 1, false},  {8, 2078, 1, false}, {9, 2079, 1, true},  {10, 2080, 1, true},
      {11, 2081, 1, true},  {12, 2082, 1, true},  {13, 2083, 0, false}, {14, 2084, 0, false},
  };
  return kinds;
}

int DPX_TableView::columnType(int column) const {
  if (column < 0 || column >= static_cast<int>(columnTypes.size())) return dpx::fieldtype::kAlpha;
  return columnTypes[static_cast<size_t>(column)];
}

bool DPX_TableView::isReadOnly(int column) const {
  return column < 0 || column >= static_cast<int>(readOnly.size()) || readOnly[static_cast<size_t>(column)];
}

const std::string& DPX_TableView::cellText(const DPX_TableRow& row, int column) {
  static const std::string kNone;
  if (column < 0 || column >= static_cast<int>(row.cells.size())) return kNone;
  return row.cells[static_cast<size_t>(column)];
}

void DPX_TableView::addFilterRule(int column, int rule, const std::string& value, const std::string& valueTo) {
  const int type = columnType(column);
  auto make = [type](const std::string& text) -> dpx::Variant {
    if (text.empty()) return dpx::Variant(std::string());
    if (type == dpx::fieldtype::kNumeric)
      return dpx::Variant::integer(VarType::I4, static_cast<int32_t>(dpx::ui::ReadIntegerPrefix(text)));
    if (type == dpx::fieldtype::kFloat)
      return dpx::Variant::real(VarType::R4, static_cast<float>(dpx::ui::ReadNumberPrefix(text)));
    return dpx::Variant(text);
  };
  filterRules.push_back({column, rule, make(value), make(valueTo)});
}

void DPX_TableView::markFilteredRows() {
  for (auto& row : rows) {
    row.passesFilter = true;
    for (const auto& rule : filterRules) {
      const std::string& cell = cellText(row, rule.column);
      const bool passes = IsNumericType(columnType(rule.column)) ? matchNumber(rule, cell) : matchText(rule, cell);
      if (!passes) {
        row.passesFilter = false;
        break;
      }
    }
  }
}

bool DPX_TableView::matchText(const DPX_FilterRule& rule, const std::string& cellText) {
  const QString cell = Lower(cellText);
  const QString value = Lower(rule.value.toText());
  const QString valueTo = Lower(rule.valueTo.toText());
  auto range = [&] { return value > valueTo ? std::pair(valueTo, value) : std::pair(value, valueTo); };
  switch (rule.rule) {
    case 1: return cell == value;
    case 2: return cell != value;
    case 3: {
      if (value.isEmpty() && valueTo.isEmpty()) return true;
      const auto [lo, hi] = range();
      return lo <= cell && cell <= hi;
    }
    case 4: {
      if (value.isEmpty() && valueTo.isEmpty()) return false;
      const auto [lo, hi] = range();
      return cell < lo || cell > hi;
    }
    case 5: return cell > value;
    case 6: return cell >= value;
    case 7: return cell < value;
    case 8: return cell <= value;
    case 9: return cell.contains(value);
    case 10: return !cell.contains(value);
    case 11: return cell.startsWith(value);
    case 12: return cell.endsWith(value);
    case 13: return IsBlank(cellText);
    case 14: return !IsBlank(cellText);
    default: return false;
  }
}

bool DPX_TableView::matchNumber(const DPX_FilterRule& rule, const std::string& cellText) {
  const float x = static_cast<float>(dpx::ui::ReadNumberPrefix(cellText));
  auto number = [](const dpx::Variant& v) {
    if (v.type() == VarType::I4) return static_cast<float>(v.toInt64());
    if (v.type() == VarType::R4) return static_cast<float>(v.toDouble());
    return 0.0f;
  };
  const float v = number(rule.value), w = number(rule.valueTo);
  const bool vText = rule.value.type() == VarType::Text, wText = rule.valueTo.type() == VarType::Text;
  const float lo = w < v ? w : v, hi = w < v ? v : w;
  switch (rule.rule) {
    case 1: return x == v || vText;
    case 2: return x != v && !vText;
    case 3: return (lo <= x && x <= hi) || vText || wText;
    case 4: return (x < lo || x > hi) && !vText && !wText;
    case 5: return x > v || vText;
    case 6: return x >= v || vText;
    case 7: return x < v || vText;
    case 8: return x <= v || vText;
    case 13: return IsBlank(cellText);
    case 14: return !IsBlank(cellText);
    default: return false;
  }
}

void DPX_TableView::setSort(int column, bool ascending) {
  sortColumn = column;
  sortAscending = ascending;
  DPX_SortRule rule;
  rule.column = column;
  rule.ascending = ascending;
  rule.columnType = column == kCheckColumn ? -1 : columnType(column);
  if (IsNumericType(rule.columnType)) {
    rule.numeric = true;
    DPX_Util::GetNumberSeparators(rule.decimalSeparator, rule.thousandsSeparator);
  }
  sortRules.push_back(rule);
}

int DPX_TableView::compareItems(const DPX_TableRow& a, const DPX_TableRow& b, const std::vector<DPX_SortRule>& rules) {
  for (const auto& rule : rules)
    if (const int c = CompareByRule(a, b, rule); c != 0) return c;
  return 0;
}

std::vector<int> DPX_TableView::sortedOrder(const std::vector<int>& indexes) const {
  std::vector<int> order = indexes;
  if (sortRules.empty()) return order;
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    return compareItems(rows[static_cast<size_t>(a)], rows[static_cast<size_t>(b)], sortRules) < 0;
  });
  return order;
}
