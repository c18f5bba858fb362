#include "ui/filter_table_dlg.h"

#include <fmt/printf.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "engine/util.h"
#include "ui/dialog_texts.h"
#include "ui/qt_text.h"
#include "ui/table_view.h"

using dpx::ui::Q;
using dpx::ui::S;

namespace {

// Controls of line i: the template's ids for the first 20 lines, names of
// their own for the lines of wider tables.
QString LineId(int base, const char* name, int i) {
  return i < 20 ? QString::number(base + i) : QString("%1_%2").arg(name).arg(i);
}

bool IsText(const DPX_TableView& view, int column) { return view.columnType(column) == dpx::fieldtype::kAlpha; }

}  // namespace

DPX_FilterTableDlg::DPX_FilterTableDlg(DPX_ConnectionContext*, DPX_TableView* view, QWidget* parent)
    : QDialog(parent), view_(view) {
  setObjectName("DPX_FilterTableDlg");
  setModal(true);
  auto* layout = new QGridLayout(this);
  const char* headings[] = {"1078", "1079", "1077", "1080"};
  for (int c = 0; c < 4; ++c) {
    auto* label = new QLabel(this);
    label->setObjectName(headings[c]);
    layout->addWidget(label, 0, c);
  }
  for (int i = 0; i < view_->columnCount(); ++i) {
    auto* label = new QLabel(Q(view_->columnNames[static_cast<size_t>(i)]), this);
    label->setObjectName(LineId(1081, "field", i));
    Line line{new QComboBox(this), new QComboBox(this), new QComboBox(this)};
    line.rule->setObjectName(LineId(1101, "rule", i));
    line.value->setObjectName(LineId(1201, "value", i));
    line.valueTo->setObjectName(LineId(1301, "valueTo", i));
    line.value->setEditable(true);
    line.valueTo->setEditable(true);
    layout->addWidget(label, i + 1, 0);
    layout->addWidget(line.rule, i + 1, 1);
    layout->addWidget(line.value, i + 1, 2);
    layout->addWidget(line.valueTo, i + 1, 3);
    lines_.push_back(line);
    connect(line.rule, &QComboBox::activated, this, [this, i](int position) { onRuleChanged(i, position); });
  }
  QDialogButtonBox* buttons = DPX_AddDialogButtons(this, [this] { clearLines(); });
  layout->addWidget(buttons, view_->columnCount() + 1, 0, 1, 4);
  DPX_ApplyTexts(this, 2066, {{"1078", 2067}, {"1079", 2068}, {"1077", 2069}, {"1080", 2070}, {"1", 21005},
                              {"2", 21006}, {"3", 21007}});
  fillLines();
  loadRules();
}

void DPX_FilterTableDlg::fillLines() {
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
    const Line& line = lines_[static_cast<size_t>(i)];
    line.rule->addItem(QString(), 0);
    for (const auto& kind : DPX_TableView::FilterRuleKinds())
      if (!kind.textOnly || IsText(*view_, i)) line.rule->addItem(dpx::ui::Text(kind.stringId), kind.number);
    for (QComboBox* values : {line.value, line.valueTo}) {
      values->addItem(QString());
      for (const auto& row : view_->rows) {
        const QString cell = Q(DPX_TableView::cellText(row, i));
        const QString trimmed = cell.trimmed();
        if (trimmed.isEmpty() || values->findText(cell, Qt::MatchFixedString) >= 0) continue;
        values->addItem(trimmed);
      }
      values->setEnabled(false);
    }
  }
}

void DPX_FilterTableDlg::loadRules() {
  for (const auto& rule : view_->filterRules) {
    if (rule.column < 0 || rule.column >= static_cast<int>(lines_.size())) continue;
    const Line& line = lines_[static_cast<size_t>(rule.column)];
    line.rule->setCurrentIndex(line.rule->findData(rule.rule));
    auto text = [](const dpx::Variant& v) -> QString {
      if (v.type() == dpx::VarType::I4) return QString::fromStdString(fmt::sprintf("%d", v.toInt32()));
      if (v.type() == dpx::VarType::R4) return QString::fromStdString(fmt::sprintf("%lf", v.toDouble()));
      return Q(v.toText());
    };
    line.value->setEditText(text(rule.value));
    line.valueTo->setEditText(text(rule.valueTo));
    line.value->setEnabled(rule.rule != 13 && rule.rule != 14);
    line.valueTo->setEnabled(rule.rule == 3 || rule.rule == 4);
  }
}

int DPX_FilterTableDlg::ruleAt(int line, int position) const {
  return position >= 9 && !IsText(*view_, line) ? position + 4 : position;
}

void DPX_FilterTableDlg::onRuleChanged(int i, int position) {
  const Line& line = lines_[static_cast<size_t>(i)];
  line.value->setCurrentIndex(0);
  line.valueTo->setCurrentIndex(0);
  const int rule = ruleAt(i, position);
  line.value->setEnabled(rule != 0 && rule != 13 && rule != 14);
  line.valueTo->setEnabled(rule == 3 || rule == 4);
}

void DPX_FilterTableDlg::clearLines() {
  for (const Line& line : lines_) {
    line.rule->setCurrentIndex(0);
    for (QComboBox* values : {line.value, line.valueTo}) {
      values->setCurrentIndex(0);
      values->setEditText(QString());
      values->setEnabled(false);
    }
  }
}

void DPX_FilterTableDlg::accept() {
  view_->filterRules.clear();
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
    const Line& line = lines_[static_cast<size_t>(i)];
    const int position = line.rule->currentIndex();
    if (position <= 0) continue;
    view_->addFilterRule(i, ruleAt(i, position), S(line.value->currentText()), S(line.valueTo->currentText()));
  }
  QDialog::accept();
}
