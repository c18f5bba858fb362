// The working copy of one record table on screen: its columns, its rows with
// their ticks and filter results, and the filter and sort rules the user set.
// The record list keeps one per category (the copy-log viewer one per log); the
// grid models show it. Plain C++: the rules are evaluated here, without widgets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/framework/variant.h"

// One row: its cell texts (possibly fewer than the view has columns), its
// place in the view, and its states.
struct DPX_TableRow {
  std::vector<std::string> cells;
  int index = 0;
  bool selected = false;
  bool passesFilter = true;
  bool savedSelected = false;
};

// A filter rule: the row passes when the cell of `column` satisfies `rule`.
struct DPX_FilterRule {
  int column = 0;
  int rule = 0;
  dpx::Variant value;
  dpx::Variant valueTo;
};

// One sort key; column -1 is the check-box column.
struct DPX_SortRule {
  int column = 0;
  bool ascending = true;
  bool numeric = false;
  char decimalSeparator = '.';
  char thousandsSeparator = ',';
  int columnType = 0;
};

// The 14 filter rules: number, string id of their name, the values they need
// (0, 1 or 2) and whether they apply to alphanumeric columns only.
struct DPX_FilterRuleKind {
  int number;
  uint32_t stringId;
  int valuesNeeded;
  bool textOnly;
};

class DPX_TableView {
 public:
  static constexpr int kCheckColumn = -1;
  static constexpr int kNotSorted = -2;
  static const std::vector<DPX_FilterRuleKind>& FilterRuleKinds();

  int columnCount() const { return static_cast<int>(columnNames.size()); }
  int rowCount() const { return static_cast<int>(rows.size()); }
  // The host field type of a column; alphanumeric for one out of range.
  int columnType(int column) const;
  bool isReadOnly(int column) const;
  // The text of a row's cell; empty when the row has no such cell.
  static const std::string& cellText(const DPX_TableRow& row, int column);

  // Appends a filter rule; the texts become numbers for numeric (whole
  // numbers) and float (single precision) columns, an empty text stays text.
  void addFilterRule(int column, int rule, const std::string& value, const std::string& valueTo);
  // Marks every row by whether it passes all filter rules.
  void markFilteredRows();
  static bool matchText(const DPX_FilterRule& rule, const std::string& cell);
  static bool matchNumber(const DPX_FilterRule& rule, const std::string& cell);

  // Appends a sort key and makes it the last one set.
  void setSort(int column, bool ascending);
  // <0, 0 or >0: the order of two rows under the sort keys, first key first.
  static int compareItems(const DPX_TableRow& a, const DPX_TableRow& b, const std::vector<DPX_SortRule>& rules);
  // The rows' indexes in the order the sort keys give (stable).
  std::vector<int> sortedOrder(const std::vector<int>& indexes) const;

  std::vector<std::string> columnNames;
  std::vector<DPX_TableRow> rows;
  std::vector<bool> readOnly;    // one per column
  std::vector<int> columnTypes;  // one per column
  std::vector<DPX_SortRule> sortRules;
  std::vector<DPX_FilterRule> filterRules;
  int sortColumn = kNotSorted;
  bool sortAscending = true;
  bool filterActive = false;
};

namespace dpx::ui {
// A number read from the start of a text as the C runtime reads it: leading
// white space, a sign, digits; 0 when there are none. Locale independent.
double ReadNumberPrefix(const std::string& text);
long ReadIntegerPrefix(const std::string& text);
}  // namespace dpx::ui
