#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_texts.h"
#include "ui/qt_text.h"

DPX_AboutBox::DPX_AboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("DPX_AboutBox");
  setModal(true);
  const QString product = dpx::ui::Text(2041);
  setWindowTitle(product);
  auto* layout = new QVBoxLayout(this);
  auto* version = DPX_NewControl<QLabel>(this, "1075");
  version->setText(QString("%1 %2").arg(product, kVersion));
  layout->addWidget(version);
  auto* notice = new QLabel(this);
  notice->setText("Copies configuration and master data between companies.");
  layout->addWidget(notice);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("1");
  ok->setText(dpx::ui::Text(1));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  raise();
  activateWindow();
}
