#include "ui/dialog_texts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include "ui/qt_text.h"

void DPX_ApplyTexts(QWidget* dialog, uint32_t titleId, std::initializer_list<DPX_ControlText> texts) {
  dialog->setWindowTitle(dpx::ui::Text(titleId));
  for (const auto& t : texts) {
    const QString text = dpx::ui::Text(t.stringId);
    QWidget* control = dialog->findChild<QWidget*>(t.controlId);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control)) label->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(control)) box->setTitle(text);
  }
}

QDialogButtonBox* DPX_AddDialogButtons(QDialog* dialog, std::function<void()> clear) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("1");
  ok->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("2");
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  if (clear) {
    QPushButton* third = buttons->addButton(QDialogButtonBox::Reset);
    third->setObjectName("3");
    QObject::connect(third, &QPushButton::clicked, dialog, std::move(clear));
  }
  return buttons;
}
