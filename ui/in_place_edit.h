// The in-place cell editor of the grids: a line edit over the cell; Enter or
// leaving it ends the edit in the model's setData (Qt::EditRole), Escape keeps
// the old text.
#pragma once

#include <QStyledItemDelegate>

class CInPlaceEdit : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr const char* kEditorId = "909";
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
