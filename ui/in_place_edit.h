// The in-place cell editor of the grids: a line edit over the cell that grows
// to its text; Enter or leaving it ends the edit in the model's setData
// (Qt::EditRole), Escape keeps the old text. The delegate also draws the
// grid's cell cursor: the current cell of the current row as a sunken cell.
#pragma once

#include <QStyledItemDelegate>

class QLineEdit;

class CInPlaceEdit : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr const char* kEditorId = "909";
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Grows the editor to the right up to 2 pixels inside the grid's client
  // area, so that its whole text shows; it never shrinks.
  static void fitToText(QLineEdit* editor);
};
