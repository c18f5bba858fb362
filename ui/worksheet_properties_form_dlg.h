// "Worksheet Properties": the base of the open or new worksheet (a company
// database or a configuration file) and its target (a company, a configuration
// file to write, or both). OK checks the choice, asks where it affects the
// worksheet or the target, and hands base and target to the connection
// context; company objects it connected and did not hand over are released.
#pragma once

#include <string>

#include <QDialog>

#include "engine/company_handle.h"

class QLineEdit;
class QRadioButton;
class DPX_ConnectionContext;
class DPX_GUIManager;

class DPX_WorksheetPropertiesFormDlg : public QDialog {
  Q_OBJECT

 public:
  DPX_WorksheetPropertiesFormDlg(DPX_ConnectionContext* context, QWidget* parent);

  // After OK: the base source differs from the context's.
  bool baseChanged() const { return baseChanged_; }
  bool targetChanged() const { return targetChanged_; }

  void accept() override;

 private:
  // Each opening puts the force-backup flag of the settings row by the server
  // type of the company the program runs in.
  void setForceBackupByServerType();
  void enableBaseButtons();
  void chooseBaseCompany();
  void chooseTargetCompany();
  void chooseBaseFile();
  void chooseTargetFile();
  void showOptions();
  // What OK checks before it commits; false keeps the dialog open.
  bool checkChoice(bool baseIsCompany, bool targetValid, bool targetConnectionChanged);
  void commitBase(bool baseIsCompany, bool baseConnectionChanged);
  void commitTarget(bool targetIsCompany, bool targetValid, bool targetConnectionChanged);
  // Disconnects a company object of the dialog that the context does not hold.
  void release(DPX_CompanyHandle& handle);

  DPX_ConnectionContext* context_;
  DPX_GUIManager* guiManager_;
  QRadioButton* baseCompanyRadio_;
  QLineEdit* baseCompanyEdit_;
  QRadioButton* baseFileRadio_;
  QLineEdit* baseFileEdit_;
  QLineEdit* targetCompanyEdit_;
  QLineEdit* targetFileEdit_;
  std::string configurationFolder_;
  DPX_CompanyHandle baseCompany_;
  DPX_CompanyHandle targetCompany_;
  bool baseChanged_ = false;
  bool targetChanged_ = false;
};
