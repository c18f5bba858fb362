#include "ui/in_place_edit.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QTableView>
#include <qdrawutil.h>

QWidget* CInPlaceEdit::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* editor = new QLineEdit(parent);
  editor->setObjectName(kEditorId);
  connect(editor, &QLineEdit::textChanged, editor, [editor] { fitToText(editor); });
  return editor;
}

void CInPlaceEdit::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
  QStyledItemDelegate::updateEditorGeometry(editor, option, index);
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) fitToText(edit);
}

void CInPlaceEdit::fitToText(QLineEdit* editor) {
  const QWidget* client = editor->parentWidget();
  if (!client) return;
  // The text's width, the frame and the line edit's own margins, and 5 to spare.
  const QMargins margins = editor->textMargins() + editor->contentsMargins();
  const int needed = editor->fontMetrics().horizontalAdvance(editor->text()) + margins.left() + margins.right() +
                     2 * editor->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, editor) + 5;
  const int limit = client->width() - 2 - editor->x();
  const int width = std::min(needed, limit);
  if (width > editor->width()) editor->resize(width, editor->height());
}

void CInPlaceEdit::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const auto* grid = qobject_cast<const QTableView*>(parent());
  // A check-box cell keeps its box.
  if (!grid || index != grid->currentIndex() || index.data(Qt::CheckStateRole).isValid()) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  // The cell cursor: the cell filled with the button face, its text on one
  // line with an ellipsis, aligned as its column's heading, inside a margin
  // of two blanks, and a sunken frame.
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const QPalette& palette = opt.palette;
  painter->save();
  painter->fillRect(opt.rect, palette.button());
  const int margin = 2 * opt.fontMetrics.horizontalAdvance(QLatin1Char(' '));
  const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
  const QVariant headingAlignment = index.model()->headerData(index.column(), Qt::Horizontal, Qt::TextAlignmentRole);
  const QVariant cellAlignment = index.data(Qt::TextAlignmentRole);
  const int horizontal =
      ((headingAlignment.isValid() ? headingAlignment.toInt() : cellAlignment.toInt()) & Qt::AlignRight)
          ? Qt::AlignRight
          : Qt::AlignLeft;
  painter->setPen(palette.color(QPalette::ButtonText));
  painter->setFont(opt.font);
  painter->drawText(textRect, horizontal | Qt::AlignVCenter | Qt::TextSingleLine,
                    opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, textRect.width()));
  qDrawWinPanel(painter, opt.rect, palette, true);
  painter->restore();
}
