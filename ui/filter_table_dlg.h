// "Filter Table": one line per column of a record table (rule, value, value to).
// The dialog reads and replaces the view's filter rules only; the caller
// applies them after OK. Clear empties the lines; the view keeps its rules
// until OK.
#pragma once

#include <vector>

#include <QDialog>

class QComboBox;
class DPX_ConnectionContext;
class DPX_TableView;

class DPX_FilterTableDlg : public QDialog {
  Q_OBJECT

 public:
  DPX_FilterTableDlg(DPX_ConnectionContext* context, DPX_TableView* view, QWidget* parent);

  void accept() override;
  void clearLines();

 private:
  struct Line {
    QComboBox* rule;
    QComboBox* value;
    QComboBox* valueTo;
  };
  void fillLines();
  void loadRules();
  void onRuleChanged(int line, int position);
  // The rule a list position stands for on a column.
  int ruleAt(int line, int position) const;

  DPX_TableView* view_;
  std::vector<Line> lines_;
};
