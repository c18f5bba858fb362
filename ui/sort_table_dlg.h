// "Sort Table": one line per sort key (column and order), first line first.
// The dialog reads and replaces the view's sort keys only; the caller sorts
// after OK. The record list offers "[SELECTED]" (the tick column) as a
// column; the copy-log viewer, in log mode, does not.
#pragma once

#include <vector>

#include <QDialog>

class QComboBox;
class DPX_ConnectionContext;
class DPX_TableView;

class DPX_SortTableDlg : public QDialog {
  Q_OBJECT

 public:
  DPX_SortTableDlg(DPX_ConnectionContext* context, DPX_TableView* view, QWidget* parent, bool logMode = false);

  void accept() override;
  void clearLines();

 private:
  DPX_TableView* view_;
  bool logMode_;
  std::vector<std::pair<QComboBox*, QComboBox*>> lines_;
};
