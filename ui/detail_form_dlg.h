// The record list: the right pane of the main window. For the category the
// tree selects it shows its records as a grid with a tick per record (table
// kind), its one record as label and edit pairs (details kind), and its note.
// It keeps one DPX_TableView per category for as long as the worksheet is
// open: ticks and edits live there until updateWorksheet turns them into the
// category's selection objects.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <QWidget>

#include "platform/framework/host_error.h"
#include "ui/table_view.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableView;
class DPX_TableInfo;
class DPX_TableModel;
class DPX_TreeFormDlg;
class DPX_Worksheet;
class DPX_WorksheetNode;

class DPX_DetailFormDlg : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kDetailFields = 18;

  explicit DPX_DetailFormDlg(QWidget* parent = nullptr);
  ~DPX_DetailFormDlg() override;

  void setTreeForm(DPX_TreeFormDlg* tree) { tree_ = tree; }

  dpx::HRESULT setCurrentNode(DPX_WorksheetNode* node, bool enabled);
  void selectNodeRecords(DPX_WorksheetNode* node, bool selected);
  void setSelectionView(bool on) { selectionView_ = on; }
  dpx::HRESULT saveCurrentSelectionStatus();
  dpx::HRESULT restorePreviousSelectionStatus();
  dpx::HRESULT updateWorksheet();
  dpx::HRESULT initializeWorksheet(DPX_Worksheet* worksheet);
  void clear();

  // The view of the category shown; null when none.
  DPX_TableView* currentView();
  void applySortRules();
  void applyFilterRules();
  void clearFilter();
  // The heading of the tick column: ticks or clears every row shown.
  void toggleAllChecks();
  // A header click: ascending unless the column was the last sorted one.
  void sortByColumn(int column);
  // A tick on the grid (or in a test): the category's rules decide.
  void setRowChecked(int viewRow, bool ticked);
  void setRowsChecked(const std::vector<int>& viewRows, bool ticked);

  QTableView* grid() const { return grid_; }
  DPX_TableModel* model() const { return model_; }
  DPX_WorksheetNode* currentNode() const { return currentNode_; }

 private:
  DPX_TableView* viewFor(DPX_WorksheetNode& node);
  void buildTableView(DPX_WorksheetNode& node, const DPX_TableInfo& description, bool fromFile);
  void writeSelectionObjects(DPX_WorksheetNode& node, const DPX_TableInfo& description);
  void showTable();
  dpx::HRESULT showDetails();
  void showNote();
  void saveCurrentDetails();
  void onCellEdited(int viewRow, int column);
  void refillGrid();

  DPX_TreeFormDlg* tree_ = nullptr;
  DPX_Worksheet* worksheet_ = nullptr;
  DPX_WorksheetNode* currentNode_ = nullptr;
  std::map<std::string, DPX_TableView> views_;
  bool enabled_ = false;
  bool selectionView_ = false;
  bool allChecked_ = false;

  QLabel* caption_;
  QTableView* grid_;
  DPX_TableModel* model_;
  QLabel* noteIcon_;
  QPlainTextEdit* noteText_;
  QWidget* details_;
  std::vector<QLabel*> labels_;
  std::vector<QLineEdit*> edits_;
};
