// "Server Login": the database server of a company choice and its login (or a
// trusted connection). OK reads the server's company list; a server that
// cannot be read keeps the dialog open and the handle's settings as they were.
#pragma once

#include <string>

#include <QDialog>

#include "engine/util.h"

class QCheckBox;
class QLineEdit;
class DPX_CompanyHandle;
class DPX_ConnectionContext;

class DPX_ServerLoginFormDlg : public QDialog {
  Q_OBJECT

 public:
  DPX_ServerLoginFormDlg(DPX_ConnectionContext* context, DPX_CompanyHandle* company,
                         DPX_Util::CompanyList* companies, QWidget* parent);

  void accept() override;

 private:
  void enableLogin();
  void restoreSettings();

  bool initializing_ = true;
  DPX_ConnectionContext* context_;
  DPX_CompanyHandle* company_;
  DPX_Util::CompanyList* companies_;
  QLineEdit* serverEdit_;
  QCheckBox* trustedCheck_;
  QLineEdit* loginEdit_;
  QLineEdit* passwordEdit_;
  std::string savedServer_;
  bool savedTrusted_ = false;
  std::string savedDbUserName_;
  std::string savedDbPassword_;
};
