// The grid of the record list and of the copy-log viewer: a cell cursor that
// Left and Right move, editing of an editable cell by a second click or F2
// (the in-place editor), and a context menu of the window's table commands.
#pragma once

#include <QTableView>

class CGridListCtrl : public QTableView {
  Q_OBJECT

 public:
  // The log grid offers its own filter and sort commands.
  CGridListCtrl(QWidget* parent, bool logGrid);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  // A column narrower than 5 pixels is not edited in place.
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

 private:
  bool logGrid_;
};
