// The record grid on a table of its own: the model's cells and ticks, the
// in-place editor, and the filter and sort dialogs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "engine/util.h"
#include "ui/filter_table_dlg.h"
#include "ui/grid_list_ctrl.h"
#include "ui/sort_table_dlg.h"
#include "ui/table_model.h"

namespace {

using dpx::fieldtype::kAlpha;
using dpx::fieldtype::kNumeric;

DPX_TableView Currencies() {
  DPX_TableView view;
  view.columnNames = {"Code", "Name", "Rate"};
  view.columnTypes = {kAlpha, kAlpha, kNumeric};
  view.readOnly = {true, false, false};
  view.rows = {{{"EUR", "Euro", "1"}, 0}, {{"USD", "Dollar", "2"}, 1}, {{"GBP"}, 2}};
  return view;
}

TEST(RecordGrid, AMissingCellShowsHashesAndIsNeverWritten) {
  DPX_TableView view = Currencies();
  DPX_TableModel model;
  model.setView(&view, false);
  ASSERT_EQ(model.rowCount(), 3);
  ASSERT_EQ(model.columnCount(), 4);
  EXPECT_EQ(model.data(model.index(2, 2), Qt::DisplayRole).toString(), "#########");
  EXPECT_FALSE(model.flags(model.index(2, 2)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.setData(model.index(2, 2), "x", Qt::EditRole));
  EXPECT_EQ(view.rows[2].cells.size(), 1u);
  EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable) << "read-only column";
  EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QBrush>().color(), QColor(0xE6, 0xE6, 0xE6));
  EXPECT_EQ(model.data(model.index(0, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Code");
}

TEST(RecordGrid, HeadingsAlignAsTheirCellsWithTheImageRightOfTheText) {
  DPX_TableView view = Currencies();
  DPX_TableModel model;
  model.setView(&view, false);
  struct Case {
    int section;
    Qt::Alignment horizontal;
  };
  for (const Case& c : {Case{0, Qt::AlignLeft}, Case{1, Qt::AlignLeft}, Case{2, Qt::AlignLeft}, Case{3, Qt::AlignRight}}) {
    SCOPED_TRACE(c.section);
    const auto heading = Qt::Alignment(model.headerData(c.section, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
    EXPECT_EQ(heading & Qt::AlignHorizontal_Mask, c.horizontal);
    if (c.section == 0) continue;
    const auto cell = Qt::Alignment(model.data(model.index(0, c.section), Qt::TextAlignmentRole).toInt());
    EXPECT_EQ(cell & Qt::AlignHorizontal_Mask, c.horizontal);
  }

  // A filter on the left-aligned Name: its image stands in the right half.
  view.addFilterRule(1, 10, "x", "");
  view.filterActive = true;
  model.refresh();
  CGridListCtrl grid(nullptr, false);
  grid.setModel(&model);
  grid.resize(500, 200);
  grid.setColumnWidth(2, 160);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
  const QImage header = grid.horizontalHeader()->grab().toImage();
  const int left = grid.horizontalHeader()->sectionViewportPosition(2);
  int imagePixels = 0, leftHalf = 0;
  for (int x = left; x < left + 160; ++x)
    for (int y = 0; y < header.height(); ++y) {
      if (header.pixelColor(x, y) != QColor(40, 110, 200)) continue;
      ++imagePixels;
      if (x < left + 80) ++leftHalf;
    }
  EXPECT_GT(imagePixels, 0) << "no filter image on the heading";
  EXPECT_EQ(leftHalf, 0);
}

TEST(RecordGrid, RowsShownFollowTheSelectionViewFilterAndSort) {
  DPX_TableView view = Currencies();
  view.rows[1].selected = true;
  DPX_TableModel model;
  model.setView(&view, true);
  EXPECT_EQ(model.shownRows(), std::vector<int>{1});
  view.addFilterRule(0, 10, "s", "");  // code does not contain "s"
  view.filterActive = true;
  view.markFilteredRows();
  model.setView(&view, false);
  EXPECT_EQ(model.shownRows(), (std::vector<int>{0, 2}));
  view.filterActive = false;
  view.setSort(0, false);
  model.refill();
  EXPECT_EQ(model.shownRows(), (std::vector<int>{1, 2, 0}));
}

TEST(RecordGrid, TheInPlaceEditorOpensOnEditableCellsAndEscapeKeepsTheText) {
  DPX_TableView view = Currencies();
  DPX_TableModel model;
  std::vector<std::pair<int, int>> edits;
  model.onCellEdited = [&](int row, int column) { edits.emplace_back(row, column); };
  model.setView(&view, false);
  CGridListCtrl grid(nullptr, false);
  grid.setModel(&model);
  grid.resize(500, 200);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

  QTest::keyClick(&grid, Qt::Key_F2);  // no cell cursor: nothing opens
  EXPECT_EQ(grid.findChild<QLineEdit*>("909"), nullptr);

  grid.setCurrentIndex(model.index(0, 2));
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_EQ(grid.currentIndex().column(), 3);
  QTest::keyClick(&grid, Qt::Key_Right);
  EXPECT_EQ(grid.currentIndex().column(), 3) << "the last column stays";
  grid.setCurrentIndex(model.index(0, 0));
  QTest::keyClick(&grid, Qt::Key_Left);
  EXPECT_EQ(grid.currentIndex().column(), 0) << "the first column stays";

  grid.setCurrentIndex(model.index(0, 2));
  QTest::keyClick(&grid, Qt::Key_F2);
  auto* editor = grid.findChild<QLineEdit*>("909");
  ASSERT_NE(editor, nullptr);
  editor->setText("Changed");
  QTest::keyClick(editor, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(view.rows[0].cells[1], "Euro");

  QTest::keyClick(&grid, Qt::Key_F2);
  editor = grid.findChild<QLineEdit*>("909");
  ASSERT_NE(editor, nullptr);
  editor->setText("Euro Zone");
  QTest::keyClick(editor, Qt::Key_Return);
  QTest::qWait(20);  // the delegate commits on a queued call
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(view.rows[0].cells[1], "Euro Zone");
  EXPECT_EQ(edits, (std::vector<std::pair<int, int>>{{0, 1}}));

  // A second click on the current cell edits it; a read-only column never.
  const QRect cell = grid.visualRect(model.index(1, 2));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
  QTRY_VERIFY(grid.findChild<QLineEdit*>("909") && grid.findChild<QLineEdit*>("909")->isVisible());
  QTest::keyClick(grid.findChild<QLineEdit*>("909"), Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  grid.setCurrentIndex(model.index(1, 1));
  QTest::keyClick(&grid, Qt::Key_F2);
  QTest::qWait(20);
  const auto* open = grid.findChild<QLineEdit*>("909");
  EXPECT_TRUE(!open || !open->isVisible());
}

// The editor grows to its text within the grid and never shrinks; a column
// narrower than 5 pixels is not edited; the cursor cell is drawn sunken; an
// edit open when the grid is given another category is dropped.
TEST(RecordGrid, TheEditorGrowsToItsTextAndTheCursorCellIsSunken) {
  DPX_TableView view = Currencies();
  DPX_TableModel model;
  model.setView(&view, false);
  CGridListCtrl grid(nullptr, false);
  grid.setModel(&model);
  grid.resize(400, 200);
  grid.setColumnWidth(0, 24);
  grid.setColumnWidth(1, 40);
  grid.setColumnWidth(2, 60);
  grid.setColumnWidth(3, 3);
  grid.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));

  // Cursor on "Euro": its cell is filled with the button face; the cell
  // beside it keeps the window colour.
  grid.setCurrentIndex(model.index(0, 2));
  QImage shot(grid.viewport()->size(), QImage::Format_RGB32);
  grid.viewport()->render(&shot);
  const QRect cursorCell = grid.visualRect(model.index(0, 2));
  const QRect plainCell = grid.visualRect(model.index(1, 2));
  EXPECT_EQ(shot.pixel(cursorCell.left() + 3, cursorCell.top() + 3), grid.palette().button().color().rgb());
  EXPECT_NE(shot.pixel(plainCell.left() + 3, plainCell.top() + 3), grid.palette().button().color().rgb());
  // The sunken frame: the outer edge's top left is the button shadow.
  EXPECT_EQ(shot.pixel(cursorCell.left(), cursorCell.top()), grid.palette().dark().color().rgb());

  QTest::keyClick(&grid, Qt::Key_F2);
  auto* editor = grid.findChild<QLineEdit*>("909");
  ASSERT_NE(editor, nullptr);
  const int start = editor->width();
  EXPECT_LE(start, 70) << "a short text fits the cell";
  editor->setText("The single currency of the euro area, with a name far wider than its column");
  EXPECT_GT(editor->width(), start);
  EXPECT_LE(editor->x() + editor->width(), grid.viewport()->width() - 2) << "within the grid";
  const int grown = editor->width();
  editor->setText("E");
  EXPECT_EQ(editor->width(), grown) << "it never shrinks";
  QTest::keyClick(editor, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(view.rows[0].cells[1], "Euro");

  // Another category shown while a cell is edited: the edit is dropped and
  // lands in neither table.
  DPX_TableView other = Currencies();
  other.rows[0].cells[1] = "Other";
  grid.setCurrentIndex(model.index(0, 2));
  QTest::keyClick(&grid, Qt::Key_F2);
  editor = grid.findChild<QLineEdit*>("909");
  ASSERT_NE(editor, nullptr);
  editor->setText("Typed");
  model.setView(&other, false);
  QTest::qWait(20);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(view.rows[0].cells[1], "Euro");
  EXPECT_EQ(other.rows[0].cells[1], "Other");
  EXPECT_EQ(grid.findChild<QLineEdit*>("909"), nullptr);

  grid.setCurrentIndex(model.index(0, 3));  // 3 pixels wide
  QTest::keyClick(&grid, Qt::Key_F2);
  QTest::qWait(20);
  const auto* open = grid.findChild<QLineEdit*>("909");
  EXPECT_TRUE(!open || !open->isVisible());
}

TEST(RecordGrid, AWideTableKeepsFlagsRulesAndLinesForEveryColumn) {
  // Wider than 20 list columns and 10 sort lines.
  constexpr int kColumns = 25;
  DPX_TableView view;
  for (int c = 0; c < kColumns; ++c) {
    view.columnNames.push_back("c" + std::to_string(c));
    view.columnTypes.push_back(kAlpha);
    view.readOnly.push_back(c == 23);
  }
  for (int r = 0; r < 2; ++r) {
    DPX_TableRow row{{}, r};
    for (int c = 0; c < kColumns; ++c) row.cells.push_back(std::to_string(r * 100 + c));
    view.rows.push_back(row);
  }
  view.setSort(23, true);
  view.addFilterRule(24, 1, "124", "");
  view.filterActive = true;
  view.markFilteredRows();

  DPX_TableModel model;
  model.setView(&view, false);
  ASSERT_EQ(model.columnCount(), kColumns + 1);
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_FALSE(model.flags(model.index(0, 24)) & Qt::ItemIsEditable) << "column 23 is read-only";
  EXPECT_EQ(model.data(model.index(0, 24), Qt::BackgroundRole).value<QBrush>().color(), QColor(0xE6, 0xE6, 0xE6));
  EXPECT_TRUE(model.flags(model.index(0, 25)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.headerData(24, Qt::Horizontal, Qt::DecorationRole).isNull()) << "sorted";
  EXPECT_FALSE(model.headerData(25, Qt::Horizontal, Qt::DecorationRole).isNull()) << "filtered";
  EXPECT_TRUE(model.headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());

  DPX_FilterTableDlg filter(nullptr, &view, nullptr);
  auto* last = filter.findChild<QComboBox*>("rule_24");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->currentIndex(), last->findData(1));
  EXPECT_EQ(filter.findChild<QComboBox*>("rule_25"), nullptr);
  filter.accept();
  ASSERT_EQ(view.filterRules.size(), 1u);
  EXPECT_EQ(view.filterRules[0].column, 24);

  DPX_SortTableDlg sort(nullptr, &view, nullptr);
  EXPECT_NE(sort.findChild<QComboBox*>("sortColumn_25"), nullptr) << "a line for every column and the ticks";
  EXPECT_EQ(sort.findChild<QComboBox*>("1081")->currentIndex(), 23 + 2);
}

TEST(FilterDialog, RulePositionsClearAndOk) {
  DPX_TableView view = Currencies();
  view.addFilterRule(2, 5, "1", "");
  DPX_FilterTableDlg dialog(nullptr, &view, nullptr);
  auto* rateRule = dialog.findChild<QComboBox*>("1103");
  ASSERT_NE(rateRule, nullptr);
  EXPECT_EQ(rateRule->count(), 11) << "no text rules on a numeric column";
  EXPECT_EQ(dialog.findChild<QComboBox*>("1101")->count(), 15);
  EXPECT_EQ(rateRule->currentIndex(), 5);
  EXPECT_EQ(dialog.findChild<QComboBox*>("1203")->currentText(), "1");
  EXPECT_EQ(dialog.findChild<QComboBox*>("1104"), nullptr) << "no line beyond the columns";

  dialog.findChild<QPushButton*>("3")->click();
  EXPECT_EQ(view.filterRules.size(), 1u) << "Clear keeps the rules until OK";
  rateRule->setCurrentIndex(10);  // "Is Not Empty" at position 10 is rule 14
  emit rateRule->activated(10);
  EXPECT_FALSE(dialog.findChild<QComboBox*>("1203")->isEnabled());
  auto* nameRule = dialog.findChild<QComboBox*>("1102");
  nameRule->setCurrentIndex(9);
  emit nameRule->activated(9);
  dialog.findChild<QComboBox*>("1202")->setEditText("ur");
  dialog.accept();
  ASSERT_EQ(view.filterRules.size(), 2u);
  EXPECT_EQ(view.filterRules[0].column, 1);
  EXPECT_EQ(view.filterRules[0].rule, 9);
  EXPECT_EQ(view.filterRules[0].value.toText(), "ur");
  EXPECT_EQ(view.filterRules[1].rule, 14);
}

TEST(SortDialog, LinesBecomeKeysAndTheTickColumnIsOfferedOutsideLogMode) {
  DPX_TableView view = Currencies();
  view.setSort(1, false);
  DPX_SortTableDlg dialog(nullptr, &view, nullptr);
  auto* first = dialog.findChild<QComboBox*>("1081");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->itemText(1), "[SELECTED]");
  EXPECT_EQ(first->currentIndex(), 3);
  EXPECT_EQ(dialog.findChild<QComboBox*>("1091")->currentIndex(), 1);
  dialog.findChild<QPushButton*>("3")->click();
  EXPECT_EQ(first->currentIndex(), 0);
  first->setCurrentIndex(1);
  dialog.findChild<QComboBox*>("1082")->setCurrentIndex(4);  // Rate, no order: ascending
  dialog.accept();
  ASSERT_EQ(view.sortRules.size(), 2u);
  EXPECT_EQ(view.sortRules[0].column, DPX_TableView::kCheckColumn);
  EXPECT_EQ(view.sortRules[1].column, 2);
  EXPECT_TRUE(view.sortRules[1].ascending);

  DPX_SortTableDlg log(nullptr, &view, nullptr, true);
  EXPECT_EQ(log.findChild<QComboBox*>("1081")->itemText(1), "Code");
}

}  // namespace
