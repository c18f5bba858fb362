#include "ui/copy_completed_form_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_texts.h"
#include "ui/gui_manager.h"
#include "ui/qt_text.h"

DPX_CopyCompletedFormDlg::DPX_CopyCompletedFormDlg(DPX_ConnectionContext* context, QWidget* parent,
                                                   const std::string& notCopied)
    : QDialog(parent), context_(context) {
  setObjectName("DPX_CopyCompletedFormDlg");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(DPX_NewControl<QLabel>(this, "1051"));
  if (!notCopied.empty()) {
    auto* label = DPX_NewControl<QLabel>(this, "notCopied");
    label->setText(dpx::ui::Q(notCopied));
    label->setWordWrap(true);
    layout->addWidget(label);
  }
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("1");
  ok->setDefault(true);
  QPushButton* log = buttons->addButton(QString(), QDialogButtonBox::ActionRole);
  log->setObjectName("1050");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(log, &QPushButton::clicked, this, &DPX_CopyCompletedFormDlg::OnBnClickedLog);
  layout->addWidget(buttons);
  DPX_ApplyTexts(this, 2064, {{"1051", 10034}, {"1050", 2004}, {"1", 1}});
}

void DPX_CopyCompletedFormDlg::OnBnClickedLog() {
  DPX_GUIManager::getInstance().showReportForm(true);
  accept();
}
