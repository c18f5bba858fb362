#include "ui/welcome_form_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialog_texts.h"

DPX_WelcomeFormDlg::DPX_WelcomeFormDlg(DPX_ConnectionContext* context, QWidget* parent)
    : QDialog(parent), context_(context) {
  setObjectName("DPX_WelcomeFormDlg");
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(this);
  label->setObjectName("1008");
  layout->addWidget(label);
  auto radio = [&](const char* id) {
    auto* button = new QRadioButton(this);
    button->setObjectName(id);
    layout->addWidget(button);
    return button;
  };
  newWorksheetRadio_ = radio("1009");
  existingWorksheetRadio_ = radio("1010");
  logFileRadio_ = radio("1011");
  layout->addWidget(DPX_AddDialogButtons(this));

  DPX_ApplyTexts(this, 2000, {{"1008", 2001}, {"1009", 2002}, {"1010", 2003}, {"1011", 2004}, {"1", 1}, {"2", 2}});
  newWorksheetRadio_->setChecked(true);
}

void DPX_WelcomeFormDlg::accept() {
  newWorksheetChosen_ = newWorksheetRadio_->isChecked();
  existingWorksheetChosen_ = existingWorksheetRadio_->isChecked();
  logFileChosen_ = logFileRadio_->isChecked();
  QDialog::accept();
}
