// The category tree: the left pane of the main window. It shows the open
// worksheet as a tree of categories with three-state check boxes (ticking a
// category ticks everything below it; a parent shows whether all, some or none
// of its children are ticked), keeps the previous selection for undo, marks
// ticked categories whose dependencies are not ticked, shows one category's
// dependencies on request, can show the ticked categories only, and disables
// the categories the base and target cannot copy. The selected category goes
// to the record list.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <QWidget>

#include "platform/framework/host_error.h"

class QLabel;
class QLineEdit;
class QTreeView;
class DPX_DetailFormDlg;
class DPX_TreeModel;
class DPX_Worksheet;
class DPX_WorksheetNode;

class DPX_TreeFormDlg : public QWidget {
  Q_OBJECT

 public:
  explicit DPX_TreeFormDlg(QWidget* parent = nullptr);
  ~DPX_TreeFormDlg() override;

  void setDetailForm(DPX_DetailFormDlg* detail) { detailForm_ = detail; }
  DPX_DetailFormDlg* detailForm() const { return detailForm_; }

  dpx::HRESULT showCurrentWorksheet();
  void clear();
  dpx::HRESULT showHeaderData();
  dpx::HRESULT updateCurrentWorksheet();
  void selectAll(bool select);
  void selectAllDetails(bool select);
  void undoSelection();
  void toggleSelectionView();
  void toggleShowAllDependencies();
  void showDependencies();
  void hideDependencies();
  bool hasQueriesOrLayoutsSelected() const;
  bool getUncopyableCategories(std::vector<std::string>& names) const;
  bool allSelectedHaveLocalizationTransfer() const;
  dpx::HRESULT onChangeLeafData(int state, int hint);
  void getCurrentNodeName(std::string& name) const;

  bool canUndo() const { return undoAvailable_; }
  bool canDisplayDependencies() const { return currentHasDependencies_; }
  bool canHideDependencies() const { return dependencyDisplay_; }
  bool hasUnselectedDependencies() const { return unselectedDependencies_; }
  bool isSelectionView() const { return selectionView_; }
  bool isShowAllDependencies() const { return showAllDependencies_; }
  bool isTableShown() const;

  // For the model: the current check state of a leaf id and the image its
  // item shows (0 none, 1 to 4 the marks), the shown category, whether a node
  // may not be ticked under this base and target, and the click on an item's
  // check box.
  int stateOf(const std::string& leafId) const;
  int imageOf(const std::string& leafId) const;
  const DPX_WorksheetNode* shownNode() const { return shownNode_; }
  bool isDisabled(const DPX_WorksheetNode& node) const;
  void onCheckItem(int item);

  QTreeView* tree() const { return tree_; }
  DPX_TreeModel* model() const { return model_; }
  DPX_WorksheetNode* currentNode() const { return currentNode_; }
  // Selects the item of a leaf id (as a click on its label does).
  bool selectLeaf(const std::string& leafId);

 private:
  void fillTree();
  void setItemState(int item, int state);
  void updateParentStatus(int item);
  void onChangeSelectedNode();
  void remarkTree();
  void markItem(int item);
  void setImage(const std::string& leafId, int image);
  // The all-dependencies view: per leaf the number of ticked categories that
  // need it, and the images drawn from those counts.
  void refreshDependencyMarks();
  void addDependentCounts(const DPX_WorksheetNode& node, int delta);
  void markAllDependencies();
  void markItemAllDependencies(int item);
  void markCollapsedItem(int item);
  int leafImage(int item) const;
  void remarkAll();
  void storeState(const std::string& leafId, int state);
  void afterUserChange();
  bool isExpanded(int item) const;

  DPX_DetailFormDlg* detailForm_ = nullptr;
  DPX_Worksheet* worksheet_ = nullptr;
  DPX_WorksheetNode* currentNode_ = nullptr;
  DPX_WorksheetNode* shownNode_ = nullptr;
  std::map<std::string, int> states_;          // the current selection
  std::map<std::string, int> previousStates_;  // the one undo brings back
  std::map<std::string, bool> expanded_;
  std::map<std::string, int> marks_;   // the mark last given by remarkTree
  std::map<std::string, int> images_;  // the image each item shows
  std::string currentLeafId_;
  bool busy_ = false;
  bool undoAvailable_ = false;
  bool currentEnabled_ = false;
  bool currentHasDependencies_ = false;
  bool dependencyDisplay_ = false;
  int dependencyCount_ = 0;
  int hiddenDependencyCount_ = 0;
  bool unselectedDependencies_ = false;
  bool selectionView_ = false;
  bool userDefinedDisabled_ = false;
  bool localizationDisabled_ = false;
  bool showAllDependencies_ = false;
  // Only while select-all re-marks the tree.
  bool suppressCollapsedMarks_ = false;
  bool selectAllValue_ = false;

  QLineEdit* baseEdit_;
  QLineEdit* targetEdit_;
  QLabel* caption_;
  QTreeView* tree_;
  DPX_TreeModel* model_;
};
