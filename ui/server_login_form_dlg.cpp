#include "ui/server_login_form_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "engine/company_handle.h"
#include "ui/dialog_texts.h"
#include "ui/qt_text.h"

using dpx::ui::Q;
using dpx::ui::S;

DPX_ServerLoginFormDlg::DPX_ServerLoginFormDlg(DPX_ConnectionContext* context, DPX_CompanyHandle* company,
                                               DPX_Util::CompanyList* companies, QWidget* parent)
    : QDialog(parent), context_(context), company_(company), companies_(companies) {
  setObjectName("DPX_ServerLoginFormDlg");
  setModal(true);
  auto* layout = new QFormLayout(this);
  serverEdit_ = DPX_NewControl<QLineEdit>(this, "1029");
  trustedCheck_ = DPX_NewControl<QCheckBox>(this, "1034");
  loginEdit_ = DPX_NewControl<QLineEdit>(this, "1030");
  passwordEdit_ = DPX_NewControl<QLineEdit>(this, "1025");
  passwordEdit_->setEchoMode(QLineEdit::Password);
  layout->addRow(DPX_NewControl<QLabel>(this, "1027"), serverEdit_);
  layout->addRow(trustedCheck_);
  layout->addRow(DPX_NewControl<QLabel>(this, "1028"), loginEdit_);
  layout->addRow(DPX_NewControl<QLabel>(this, "1031"), passwordEdit_);
  layout->addRow(DPX_AddDialogButtons(this));
  DPX_ApplyTexts(this, 2053, {{"1027", 2054}, {"1034", 2055}, {"1028", 2056}, {"1031", 2057}, {"1", 1}, {"2", 2}});

  savedServer_ = company_->getServer();
  savedDbUserName_ = company_->getDbUserName();
  savedDbPassword_ = company_->getDbPassword();
  savedTrusted_ = company_->usesTrustedConnection();
  serverEdit_->setText(Q(savedServer_));
  trustedCheck_->setChecked(savedTrusted_);
  loginEdit_->setText(Q(savedDbUserName_));
  passwordEdit_->setText(Q(savedDbPassword_));
  enableLogin();
  connect(trustedCheck_, &QCheckBox::toggled, this, [this] {
    if (!initializing_) enableLogin();
  });
  initializing_ = false;
}

void DPX_ServerLoginFormDlg::enableLogin() {
  const bool login = !trustedCheck_->isChecked();
  loginEdit_->setEnabled(login);
  passwordEdit_->setEnabled(login);
}

void DPX_ServerLoginFormDlg::restoreSettings() {
  company_->setServer(savedServer_);
  company_->setDbUserName(savedDbUserName_);
  company_->setDbPassword(savedDbPassword_);
  company_->setUseTrusted(savedTrusted_);
}

void DPX_ServerLoginFormDlg::accept() {
  company_->setServer(S(serverEdit_->text().trimmed()));
  company_->setUseTrusted(trustedCheck_->isChecked());
  company_->setDbUserName(S(loginEdit_->text()));
  company_->setDbPassword(S(passwordEdit_->text()));
  companies_->clear();
  if (dpx::Failed(DPX_Util::GetCompanyList(company_->getCompany(), *companies_, true))) {
    companies_->clear();
    restoreSettings();
    return;
  }
  QDialog::accept();
}
