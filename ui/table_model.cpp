#include "ui/table_model.h"

#include <QBrush>
#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "engine/util.h"
#include "ui/qt_text.h"

namespace {

// The header images: sort order and filter, drawn here.
QIcon HeaderImage(int sortBase, bool filtered) {
  QPixmap pixmap(12, 12);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (filtered) {
    p.setBrush(QColor(40, 110, 200));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(6, 0), QPoint(4, 5), QPoint(4, 10), QPoint(2, 10), QPoint(2, 5)}));
  }
  if (sortBase != 0) {
    p.setBrush(QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    const bool ascending = sortBase == 2;
    p.drawPolygon(ascending ? QPolygon({QPoint(7, 9), QPoint(12, 9), QPoint(9, 3)})
                            : QPolygon({QPoint(7, 3), QPoint(12, 3), QPoint(9, 9)}));
  }
  return QIcon(pixmap);
}

}  // namespace

Qt::Alignment DPX_TableModel::alignmentOf(int column) const {
  // Numbers line up on their last digit; texts, dates and the ticks on the left.
  const int type = column < 0 ? dpx::fieldtype::kAlpha : view_->columnType(column);
  return type == dpx::fieldtype::kNumeric || type == dpx::fieldtype::kFloat ? Qt::AlignRight : Qt::AlignLeft;
}

DPX_TableModel::DPX_TableModel(QObject* parent) : QAbstractTableModel(parent) {}

void DPX_TableModel::setView(DPX_TableView* view, bool selectionView) {
  beginResetModel();
  view_ = view;
  selectionView_ = selectionView;
  shown_.clear();
  if (view_) {
    std::vector<int> rows;
    for (const auto& row : view_->rows) {
      if (selectionView_ && !row.selected) continue;
      if (view_->filterActive && !row.passesFilter) continue;
      rows.push_back(row.index);
    }
    shown_ = view_->sortedOrder(rows);
  }
  endResetModel();
}

void DPX_TableModel::refill() { setView(view_, selectionView_); }

void DPX_TableModel::refresh() {
  if (rowCount() == 0) return;
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int DPX_TableModel::viewRow(int shownRow) const {
  return shownRow >= 0 && shownRow < static_cast<int>(shown_.size()) ? shown_[static_cast<size_t>(shownRow)] : -1;
}

DPX_TableRow* DPX_TableModel::rowOf(const QModelIndex& index) const {
  const int r = index.isValid() ? viewRow(index.row()) : -1;
  return r < 0 ? nullptr : &view_->rows[static_cast<size_t>(r)];
}

int DPX_TableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int DPX_TableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !view_ ? 0 : view_->columnCount() + checkColumns_;
}

QVariant DPX_TableModel::data(const QModelIndex& index, int role) const {
  const DPX_TableRow* row = rowOf(index);
  if (!row) return {};
  const int column = index.column() - checkColumns_;
  if (column < 0) {
    if (role == Qt::CheckStateRole) return row->selected ? Qt::Checked : Qt::Unchecked;
    return {};
  }
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      if (column >= static_cast<int>(row->cells.size())) return QString(kMissingCell);
      return dpx::ui::Q(row->cells[static_cast<size_t>(column)]);
    case Qt::TextAlignmentRole:
      return static_cast<int>(Qt::AlignVCenter | alignmentOf(column));
    case Qt::BackgroundRole:
      if (view_->isReadOnly(column)) return QBrush(QColor(0xE6, 0xE6, 0xE6));
      return {};
    default:
      return {};
  }
}

QVariant DPX_TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || !view_ || section < 0 || section >= view_->columnCount() + checkColumns_) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  const int column = section - checkColumns_;
  // A heading lines up with its cells, so a narrow column clips only its end.
  if (role == Qt::TextAlignmentRole) return static_cast<int>(Qt::AlignVCenter | alignmentOf(column));
  if (role == Qt::DisplayRole)
    return column < 0 ? QString() : dpx::ui::Q(view_->columnNames[static_cast<size_t>(column)]);
  if (role == Qt::DecorationRole) {
    // The first sort key on the column counts; a filter shows while it is in force.
    int base = 0;
    for (const auto& rule : view_->sortRules) {
      if (rule.column != column) continue;
      base = rule.ascending ? 2 : 1;
      break;
    }
    bool filtered = false;
    for (const auto& rule : view_->filterRules) filtered = filtered || (view_->filterActive && rule.column == column);
    if (base == 0 && !filtered) return {};
    return HeaderImage(base, filtered);
  }
  return {};
}

Qt::ItemFlags DPX_TableModel::flags(const QModelIndex& index) const {
  const DPX_TableRow* row = rowOf(index);
  if (!row) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int column = index.column() - checkColumns_;
  if (column < 0) return f | Qt::ItemIsUserCheckable;
  // A cell the record lacks is never edited, so it is never written back.
  if (!view_->isReadOnly(column) && column < static_cast<int>(row->cells.size())) f |= Qt::ItemIsEditable;
  return f;
}

bool DPX_TableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  DPX_TableRow* row = rowOf(index);
  if (!row) return false;
  const int column = index.column() - checkColumns_;
  if (column < 0 && role == Qt::CheckStateRole) {
    if (onTick) onTick(row->index, value.toInt() == Qt::Checked);
    return true;
  }
  if (column < 0 || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  const std::string text = dpx::ui::S(value.toString());
  auto& cell = row->cells[static_cast<size_t>(column)];
  if (cell == text) return true;
  cell = text;
  emit dataChanged(index, index);
  if (onCellEdited) onCellEdited(row->index, column);
  return true;
}
