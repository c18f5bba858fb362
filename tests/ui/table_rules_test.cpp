// Filter rules, sort keys and the comparator of the record tables, without widgets.
#include <gtest/gtest.h>

#include "engine/util.h"
#include "ui/table_view.h"

namespace {

using dpx::fieldtype::kAlpha;
using dpx::fieldtype::kDate;
using dpx::fieldtype::kFloat;
using dpx::fieldtype::kNumeric;

DPX_TableView View(int type) {
  DPX_TableView view;
  view.columnNames = {"c"};
  view.columnTypes = {type};
  view.readOnly = {false};
  return view;
}

bool Passes(int type, int rule, const std::string& value, const std::string& valueTo, const std::string& cell) {
  DPX_TableView view = View(type);
  view.addFilterRule(0, rule, value, valueTo);
  view.rows = {{{cell}, 0}};
  view.markFilteredRows();
  return view.rows[0].passesFilter;
}

TEST(FilterRules, EveryRuleOnTextNumericAndFloatColumns) {
  struct Case {
    int type, rule;
    std::string value, valueTo, cell;
    bool passes;
  };
  const Case cases[] = {
      // Text: ordinal on lower-cased texts.
      {kAlpha, 1, "abc", "", "ABC", true},
      {kAlpha, 1, "", "", "x", false},
      {kAlpha, 1, "", "", "", true},
      {kAlpha, 2, "abc", "", "abd", true},
      {kAlpha, 3, "b", "d", "c", true},
      {kAlpha, 3, "d", "b", "C", true},
      {kAlpha, 3, "b", "d", "e", false},
      {kAlpha, 3, "m", "", "apple", true},  // one bound: at or before m
      {kAlpha, 3, "m", "", "zebra", false},
      {kAlpha, 3, "", "", "anything", true},
      {kAlpha, 4, "b", "d", "e", true},
      {kAlpha, 4, "b", "d", "c", false},
      {kAlpha, 4, "m", "", "zebra", true},
      {kAlpha, 4, "", "", "anything", false},
      {kAlpha, 5, "b", "", "c", true},
      {kAlpha, 6, "b", "", "B", true},
      {kAlpha, 7, "b", "", "a", true},
      {kAlpha, 8, "b", "", "c", false},
      {kAlpha, 9, "EL", "", "Hello", true},
      {kAlpha, 9, "", "", "Hello", true},
      {kAlpha, 10, "el", "", "Hello", false},
      {kAlpha, 11, "he", "", "Hello", true},
      {kAlpha, 11, "", "", "Hello", true},
      {kAlpha, 11, "lo", "", "Hello", false},
      {kAlpha, 12, "LO", "", "Hello", true},
      {kAlpha, 12, "Hello!", "", "Hello", false},
      {kAlpha, 13, "", "", "  ", true},
      {kAlpha, 14, "", "", " x ", true},
      {kAlpha, 99, "", "", "x", false},
      // Numeric: whole numbers; an empty value lets 1, 3, 5-8 pass and fails 2 and 4.
      {kNumeric, 1, "10", "", "10", true},
      {kNumeric, 1, "", "", "42", true},
      {kNumeric, 2, "", "", "42", false},
      {kNumeric, 2, "10", "", "11", true},
      {kNumeric, 3, "20", "10", "15", true},
      {kNumeric, 3, "10", "", "15", true},
      {kNumeric, 4, "10", "20", "25", true},
      {kNumeric, 4, "10", "", "25", false},
      {kNumeric, 5, "9", "", "10", true},
      {kNumeric, 5, "", "", "-5", true},
      {kNumeric, 6, "10", "", "10", true},
      {kNumeric, 7, "10", "", "abc", true},  // a text cell reads as 0
      {kNumeric, 8, "10", "", "11", false},
      {kNumeric, 9, "1", "", "1", false},
      {kNumeric, 13, "", "", "", true},
      {kNumeric, 14, "", "", "0", true},
      // Float: single precision, so 0.1 equals the cell "0.1".
      {kFloat, 1, "0.1", "", "0.1", true},
      {kFloat, 1, "0.1", "", "0.100000001", true},
      {kFloat, 1, "0.1", "", "0.2", false},
      {kFloat, 3, "1.5", "2.5", "2.5", true},
      {kFloat, 7, "2.5", "", "2.49", true},
      {kFloat, 12, "5", "", "2.5", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " rule " << c.rule << " value '" << c.value << "' to '"
                                    << c.valueTo << "' cell '" << c.cell << "'");
    EXPECT_EQ(Passes(c.type, c.rule, c.value, c.valueTo, c.cell), c.passes);
  }
}

TEST(FilterRules, RulesAreJoinedByAndAndARowWithoutTheCellReadsEmpty) {
  DPX_TableView view;
  view.columnNames = {"code", "qty"};
  view.columnTypes = {kAlpha, kNumeric};
  view.rows = {{{"A1", "5"}, 0}, {{"A2", "50"}, 1}, {{"B1", "5"}, 2}, {{"A3"}, 3}};
  view.addFilterRule(0, 11, "a", "");
  view.addFilterRule(1, 7, "10", "");
  view.markFilteredRows();
  std::vector<bool> passes;
  for (const auto& r : view.rows) passes.push_back(r.passesFilter);
  EXPECT_EQ(passes, (std::vector<bool>{true, false, false, true}));
  view.filterRules.clear();
  view.markFilteredRows();
  for (const auto& r : view.rows) EXPECT_TRUE(r.passesFilter);
}

TEST(FilterRules, TheRuleTableOffersTextRulesOnlyForAlphanumericColumns) {
  const auto& kinds = DPX_TableView::FilterRuleKinds();
  ASSERT_EQ(kinds.size(), 14u);
  for (const auto& k : kinds) {
    EXPECT_EQ(k.stringId, 2070u + static_cast<uint32_t>(k.number));
    EXPECT_EQ(k.textOnly, k.number >= 9 && k.number <= 12);
    EXPECT_EQ(k.valuesNeeded, k.number >= 13 ? 0 : (k.number == 3 || k.number == 4 ? 2 : 1));
  }
}

TEST(SortRules, TheComparatorReadsNumbersDatesTextAndTicks) {
  struct Case {
    int type;
    std::string a, b;
    bool ascending;
    int expected;
  };
  const Case cases[] = {
      {kNumeric, "1,234.5", "99", true, 1},
      {kFloat, "1,234.5", "99", false, -1},
      {kNumeric, "abc", "ABD", true, -1},  // both read as 0: the text decides
      {kDate, "2024-01-05", "2023-12-31", true, 1},
      {kDate, "2024-01-05", "2024-01-05", true, 0},
      {kDate, "not a date", "2023-12-31", true, 1},  // text order
      {kAlpha, "apple", "APPLE", true, 0},
      {kAlpha, "apple", "Banana", true, -1},
      {kAlpha, "apple", "Banana", false, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a + " vs " + c.b);
    DPX_TableView view = View(c.type);
    view.setSort(0, c.ascending);
    view.sortRules[0].decimalSeparator = '.';
    view.sortRules[0].thousandsSeparator = ',';
    EXPECT_EQ(DPX_TableView::compareItems({{c.a}, 0}, {{c.b}, 1}, view.sortRules), c.expected);
  }
  DPX_TableView view = View(kAlpha);
  view.setSort(DPX_TableView::kCheckColumn, true);
  DPX_TableRow ticked{{"x"}, 0, true}, clear{{"x"}, 1, false};
  EXPECT_GT(DPX_TableView::compareItems(ticked, clear, view.sortRules), 0) << "ascending puts unticked rows first";
  EXPECT_EQ(view.sortColumn, DPX_TableView::kCheckColumn);
}

TEST(SortRules, LaterKeysDecideTiesAndTheOrderIsStable) {
  DPX_TableView view;
  view.columnNames = {"group", "n"};
  view.columnTypes = {kAlpha, kNumeric};
  view.rows = {{{"b", "2"}, 0}, {{"a", "10"}, 1}, {{"b", "1"}, 2}, {{"a", "10"}, 3}, {{"a", "9"}, 4}};
  view.setSort(0, true);
  view.setSort(1, false);
  view.sortRules[1].thousandsSeparator = ',';
  view.sortRules[1].decimalSeparator = '.';
  EXPECT_EQ(view.sortedOrder({0, 1, 2, 3, 4}), (std::vector<int>{1, 3, 4, 0, 2}));
  EXPECT_EQ(view.sortColumn, 1);
  EXPECT_FALSE(view.sortAscending);
}

}  // namespace
