// The record grid's model over one DPX_TableView: column 0 holds the tick of
// each record (Qt::CheckStateRole), columns 1.. the record's cells. Its rows
// are exactly the rows shown: the selection view and an active filter leave
// rows out, and the view's sort keys order them. A tick or an edit goes to the
// record list pane, which decides what it means for the category. The
// copy-log viewer shows its read-only view without the tick column.
#pragma once

#include <functional>
#include <vector>

#include <QAbstractTableModel>

#include "ui/table_view.h"

class DPX_TableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr const char* kMissingCell = "#########";

  explicit DPX_TableModel(QObject* parent = nullptr);

  // Shows a view (null: nothing); `selectionView` shows ticked rows only.
  void setView(DPX_TableView* view, bool selectionView);
  // Without the tick column (the copy-log viewer), grid column n is cell n.
  void setCheckColumn(bool shown) { checkColumns_ = shown ? 1 : 0; }
  DPX_TableView* view() const { return view_; }
  // Recomputes the shown rows (ticks, filter, sort changed).
  void refill();
  // Only the data changed (ticks or cells), not which rows are shown.
  void refresh();
  // The view's row index of a shown row; -1 when out of range.
  int viewRow(int shownRow) const;
  const std::vector<int>& shownRows() const { return shown_; }

  // What a tick or an edit on the grid asks for; the pane answers.
  std::function<void(int viewRow, bool ticked)> onTick;
  std::function<void(int viewRow, int column)> onCellEdited;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 private:
  DPX_TableRow* rowOf(const QModelIndex& index) const;
  Qt::Alignment alignmentOf(int column) const;

  DPX_TableView* view_ = nullptr;
  bool selectionView_ = false;
  int checkColumns_ = 1;
  std::vector<int> shown_;
};
