// "Copy Configuration to Target Company": the target company of the copy and
// the copy method. OK checks the chosen target against the base (not the same
// company, not an older version, the localizations) and hands it to the
// connection context.
#pragma once

#include <QDialog>

#include "engine/company_handle.h"

class QLabel;
class QLineEdit;
class DPX_ConnectionContext;
class DPX_GUIManager;

class DPX_CopyConfigFormDlg : public QDialog {
  Q_OBJECT

 public:
  DPX_CopyConfigFormDlg(DPX_ConnectionContext* context, QWidget* parent);

  // After OK: the target is another company than the one the context held.
  bool targetChanged() const { return targetChanged_; }

  void accept() override;

 private:
  void OnBnClickedTarget();
  void OnBnClickedOptions();
  // What OK checks of a newly chosen target; false keeps the dialog open.
  bool checkTarget();

  DPX_ConnectionContext* context_;
  DPX_GUIManager* guiManager_;
  QLineEdit* targetEdit_;
  QLabel* methodLabel_;
  bool targetChanged_ = false;
  DPX_CompanyHandle target_;
};
