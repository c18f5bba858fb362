// The facts of a copy run read from its log, shown read-only.
#pragma once

#include <QDialog>

#include "ui/log_header.h"

class DPX_LogAdditionalInfoDlg : public QDialog {
  Q_OBJECT

 public:
  DPX_LogAdditionalInfoDlg(const DPX_LogHeader& header, QWidget* parent);
  const DPX_LogHeader& header() const { return header_; }

 private:
  DPX_LogHeader header_;
};
