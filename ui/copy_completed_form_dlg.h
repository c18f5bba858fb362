// "Copy To Target Company": the notice after a copy, with the way to its log
// and, when the copy method did not copy some categories, their names.
#pragma once

#include <QDialog>
#include <string>

class DPX_ConnectionContext;

class DPX_CopyCompletedFormDlg : public QDialog {
  Q_OBJECT

 public:
  // notCopied: the line naming the categories the copy did not copy ("" for none).
  DPX_CopyCompletedFormDlg(DPX_ConnectionContext* context, QWidget* parent, const std::string& notCopied = {});

 private:
  // Opens the log viewer on the copy just finished, then closes.
  void OnBnClickedLog();

  DPX_ConnectionContext* context_;
};
