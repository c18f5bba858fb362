// "Copy To Target Company": the notice after a copy, with the way to its log.
#pragma once

#include <QDialog>

class DPX_ConnectionContext;

class DPX_CopyCompletedFormDlg : public QDialog {
  Q_OBJECT

 public:
  DPX_CopyCompletedFormDlg(DPX_ConnectionContext* context, QWidget* parent);

 private:
  // Opens the log viewer on the copy just finished, then closes.
  void OnBnClickedLog();

  DPX_ConnectionContext* context_;
};
