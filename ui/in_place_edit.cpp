#include "ui/in_place_edit.h"

#include <QLineEdit>

QWidget* CInPlaceEdit::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* editor = new QLineEdit(parent);
  editor->setObjectName(kEditorId);
  return editor;
}
