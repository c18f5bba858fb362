#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_texts.h"
#include "ui/program_icon.h"
#include "ui/qt_text.h"

DPX_AboutBox::DPX_AboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("DPX_AboutBox");
  setModal(true);
  const QString product = dpx::ui::Text(2041);
  setWindowTitle(product);
  setWindowIcon(dpx::ui::ProgramIcon());
  auto* layout = new QVBoxLayout(this);
  // The program's icon beside its version and a line on what it does.
  auto* row = new QHBoxLayout;
  auto* icon = new QLabel(this);
  icon->setPixmap(dpx::ui::ProgramIcon().pixmap(32, 32));
  icon->setAlignment(Qt::AlignTop);
  row->addWidget(icon);
  auto* lines = new QVBoxLayout;
  auto* version = DPX_NewControl<QLabel>(this, "1075");
  version->setText(QString("%1 %2").arg(product, kVersion));
  lines->addWidget(version);
  auto* notice = new QLabel(this);
  notice->setText("Copies configuration and master data between companies.");
  lines->addWidget(notice);
  row->addLayout(lines, 1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("1");
  ok->setText(dpx::ui::Text(1));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  raise();
  activateWindow();
}
