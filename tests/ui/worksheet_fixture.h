// Test fixture for the worksheet on screen: the desktop tool started on a demo
// server with a new worksheet on the logged-on company, and the helpers that
// reach its category tree and record list.
#pragma once

#include <string>

#include "engine/connection_context.h"
#include "tests/ui/desktop_fixture.h"
#include "ui/detail_form_dlg.h"
#include "ui/table_model.h"
#include "ui/tree_form_dlg.h"
#include "ui/tree_model.h"
#include "worksheet/selection_manager.h"
#include "worksheet/worksheet.h"
#include "worksheet/worksheet_node.h"

namespace dpx::test {

class WorksheetFixture : public DesktopFixture {
 protected:
  using DesktopFixture::DesktopFixture;

  void SetUp() override {
    DesktopFixture::SetUp();
    ASSERT_TRUE(start());
    open();
    context()->setBaseCompany(context()->getCompany());
    ASSERT_EQ(gui().showWorksheet(), S_OK);
    ASSERT_TRUE(frame()->splitter()->isVisible());
  }

  DPX_GUIManager& gui() { return DPX_GUIManager::getInstance(); }
  DPX_ConnectionContext* context() { return gui().getContext(); }
  DPX_TreeFormDlg* tree() { return frame()->treeForm(); }
  DPX_DetailFormDlg* detail() { return frame()->detailForm(); }
  DPX_Worksheet* worksheet() { return gui().getSelectionManager()->getWorksheet(); }

  // The tree item of a leaf id; -1 when the tree does not show it.
  int itemOf(const std::string& leafId) {
    const auto& items = tree()->model()->items();
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].node->getLeafId() == leafId) return static_cast<int>(i);
    return -1;
  }
  QModelIndex indexOf(const std::string& leafId) { return tree()->model()->indexOf(itemOf(leafId)); }
  // The click on an item's check box.
  void tick(const std::string& leafId) {
    const int item = itemOf(leafId);
    ASSERT_GE(item, 0) << leafId;
    tree()->model()->setData(tree()->model()->indexOf(item), Qt::Checked, Qt::CheckStateRole);
  }
  int state(const std::string& leafId) { return tree()->stateOf(leafId); }
  // The image an item shows (0 none, 1 to 4 the marks).
  int image(const std::string& leafId) { return tree()->model()->data(indexOf(leafId), Qt::UserRole).toInt(); }

  // The record list's cells and ticks, by shown row.
  QString cell(int row, int column) {
    auto* m = detail()->model();
    return m->data(m->index(row, column), Qt::DisplayRole).toString();
  }
  bool ticked(int row) {
    auto* m = detail()->model();
    return m->data(m->index(row, 0), Qt::CheckStateRole).toInt() == Qt::Checked;
  }
  void tickRow(int row, bool on = true) {
    auto* m = detail()->model();
    m->setData(m->index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
  }
};

}  // namespace dpx::test
