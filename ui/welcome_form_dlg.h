// "Welcome to Duplora": the first thing the user sees when the window opens.
// It asks whether to start a new worksheet, open an existing one or open a
// copy-log file; the GUI controller carries out the choice.
#pragma once

#include <QDialog>

class QRadioButton;
class DPX_ConnectionContext;

class DPX_WelcomeFormDlg : public QDialog {
  Q_OBJECT

 public:
  DPX_WelcomeFormDlg(DPX_ConnectionContext* context, QWidget* parent);

  bool newWorksheetChosen() const { return newWorksheetChosen_; }
  bool existingWorksheetChosen() const { return existingWorksheetChosen_; }
  bool logFileChosen() const { return logFileChosen_; }

  void accept() override;

 private:
  DPX_ConnectionContext* context_;
  QRadioButton* newWorksheetRadio_;
  QRadioButton* existingWorksheetRadio_;
  QRadioButton* logFileRadio_;
  bool newWorksheetChosen_ = false;
  bool existingWorksheetChosen_ = false;
  bool logFileChosen_ = false;
};
