// The category tree's model: the worksheet nodes the tree shows, nested by
// their level. Check states (Qt::CheckStateRole: unchecked, checked, partial),
// marks (Qt::DecorationRole; Qt::UserRole gives the mark's number) and the
// bold shown category come from the tree pane; setData on the check state is a click on the check box, which the
// pane turns into the tree's own rule (not Qt's automatic tri-state).
#pragma once

#include <vector>

#include <QAbstractItemModel>

class DPX_TreeFormDlg;
class DPX_WorksheetNode;

class DPX_TreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  struct Item {
    DPX_WorksheetNode* node;
    int parent;  // -1 for a root item
    std::vector<int> children;
  };

  explicit DPX_TreeModel(DPX_TreeFormDlg* pane);

  // Replaces every item.
  void reset(std::vector<Item> items);
  const std::vector<Item>& items() const { return items_; }
  std::vector<int> roots() const;
  int itemOf(const QModelIndex& index) const;
  QModelIndex indexOf(int item) const;
  // Repaints every item (states, marks, bold).
  void refresh();

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  const std::vector<int>& siblings(int parent) const;

  DPX_TreeFormDlg* pane_;
  std::vector<Item> items_;
  std::vector<int> roots_;
};
