#include "ui/sort_table_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/dialog_texts.h"
#include "ui/qt_text.h"
#include "ui/table_view.h"

namespace {
QString LineId(int base, const char* name, int k) {
  return k < 10 ? QString::number(base + k) : QString("%1_%2").arg(name).arg(k);
}
}  // namespace

DPX_SortTableDlg::DPX_SortTableDlg(DPX_ConnectionContext*, DPX_TableView* view, QWidget* parent, bool logMode)
    : QDialog(parent), view_(view), logMode_(logMode) {
  setObjectName("DPX_SortTableDlg");
  setModal(true);
  auto* layout = new QGridLayout(this);
  int headingColumn = 0;
  for (const char* id : {"1078", "1079"}) {
    auto* label = new QLabel(this);
    label->setObjectName(id);
    layout->addWidget(label, 0, headingColumn++);
  }
  // As many keys as the table has columns to sort by, and never fewer than ten.
  const int count = std::max(10, view_->columnCount() + (logMode_ ? 0 : 1));
  for (int k = 0; k < count; ++k) {
    auto* column = new QComboBox(this);
    column->setObjectName(LineId(1081, "sortColumn", k));
    auto* order = new QComboBox(this);
    order->setObjectName(LineId(1091, "sortOrder", k));
    column->addItem(QString());
    if (!logMode_) column->addItem(dpx::ui::Text(20006));
    for (const auto& name : view_->columnNames) column->addItem(dpx::ui::Q(name));
    order->addItem(dpx::ui::Text(2089));
    order->addItem(dpx::ui::Text(2090));
    order->setCurrentIndex(-1);
    layout->addWidget(column, k + 1, 0);
    layout->addWidget(order, k + 1, 1);
    lines_.emplace_back(column, order);
  }
  QDialogButtonBox* buttons = DPX_AddDialogButtons(this, [this] { clearLines(); });
  layout->addWidget(buttons, count + 1, 0, 1, 2);
  DPX_ApplyTexts(this, 2085, {{"1078", 2086}, {"1079", 2087}, {"1", 20003}, {"2", 20004}, {"3", 20005}});
  const int offset = logMode_ ? 1 : 2;
  for (size_t k = 0; k < view_->sortRules.size() && k < lines_.size(); ++k) {
    lines_[k].first->setCurrentIndex(view_->sortRules[k].column + offset);
    lines_[k].second->setCurrentIndex(view_->sortRules[k].ascending ? 0 : 1);
  }
}

void DPX_SortTableDlg::clearLines() {
  for (auto& [column, order] : lines_) {
    column->setCurrentIndex(0);
    order->setCurrentIndex(-1);
  }
}

void DPX_SortTableDlg::accept() {
  view_->sortRules.clear();
  const int offset = logMode_ ? 1 : 2;
  for (auto& [column, order] : lines_) {
    const int position = column->currentIndex();
    if (position <= 0) continue;
    // A line without an order sorts ascending.
    view_->setSort(position - offset, order->currentIndex() != 1);
  }
  QDialog::accept();
}
