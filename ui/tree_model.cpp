#include "ui/tree_model.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "ui/qt_text.h"
#include "ui/tree_form_dlg.h"
#include "worksheet/worksheet_node.h"

namespace {

// The marks 1 to 4: a warning, a warning below a collapsed node, a dependency,
// a dependency below a collapsed node.
QIcon MarkImage(int mark) {
  static const QColor colours[] = {{}, QColor(220, 50, 40), QColor(240, 150, 40), QColor(40, 110, 200),
                                   QColor(120, 170, 230)};
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(colours[mark]);
  p.setPen(Qt::NoPen);
  if (mark == 1 || mark == 2) p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(15, 14), QPoint(1, 14)}));
  else p.drawEllipse(QRect(2, 2, 12, 12));
  p.setPen(Qt::white);
  p.drawText(QRect(0, 2, 16, 14), Qt::AlignCenter, mark <= 2 ? "!" : "");
  return QIcon(pixmap);
}

}  // namespace

DPX_TreeModel::DPX_TreeModel(DPX_TreeFormDlg* pane) : QAbstractItemModel(pane), pane_(pane) {}

void DPX_TreeModel::reset(std::vector<Item> items) {
  beginResetModel();
  items_ = std::move(items);
  roots_.clear();
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].parent < 0) roots_.push_back(static_cast<int>(i));
  endResetModel();
}

std::vector<int> DPX_TreeModel::roots() const { return roots_; }

const std::vector<int>& DPX_TreeModel::siblings(int parent) const {
  return parent < 0 ? roots_ : items_[static_cast<size_t>(parent)].children;
}

int DPX_TreeModel::itemOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex DPX_TreeModel::indexOf(int item) const {
  if (item < 0 || item >= static_cast<int>(items_.size())) return {};
  const auto& list = siblings(items_[static_cast<size_t>(item)].parent);
  const auto it = std::find(list.begin(), list.end(), item);
  return createIndex(static_cast<int>(it - list.begin()), 0, static_cast<quintptr>(item));
}

void DPX_TreeModel::refresh() {
  for (size_t i = 0; i < items_.size(); ++i) {
    const QModelIndex index = indexOf(static_cast<int>(i));
    emit dataChanged(index, index);
  }
}

QModelIndex DPX_TreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0) return {};
  const auto& list = siblings(itemOf(parent));
  if (row < 0 || row >= static_cast<int>(list.size())) return {};
  return createIndex(row, 0, static_cast<quintptr>(list[static_cast<size_t>(row)]));
}

QModelIndex DPX_TreeModel::parent(const QModelIndex& index) const {
  const int item = itemOf(index);
  return item < 0 ? QModelIndex() : indexOf(items_[static_cast<size_t>(item)].parent);
}

int DPX_TreeModel::rowCount(const QModelIndex& parent) const {
  return static_cast<int>(siblings(itemOf(parent)).size());
}

int DPX_TreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant DPX_TreeModel::data(const QModelIndex& index, int role) const {
  const int item = itemOf(index);
  if (item < 0) return {};
  const DPX_WorksheetNode* node = items_[static_cast<size_t>(item)].node;
  switch (role) {
    case Qt::DisplayRole:
      return dpx::ui::Q(node->getDisplayName());
    case Qt::CheckStateRole: {
      const int state = pane_->stateOf(node->getLeafId());
      return state == 1 ? Qt::Checked : (state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
    case Qt::DecorationRole: {
      const int mark = pane_->imageOf(node->getLeafId());
      return mark >= 1 && mark <= 4 ? QVariant(MarkImage(mark)) : QVariant();
    }
    case Qt::UserRole:
      return pane_->imageOf(node->getLeafId());
    case Qt::FontRole: {
      if (node != pane_->shownNode()) return {};
      QFont bold;
      bold.setBold(true);
      return bold;
    }
    default:
      return {};
  }
}

Qt::ItemFlags DPX_TreeModel::flags(const QModelIndex& index) const {
  const int item = itemOf(index);
  if (item < 0) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!pane_->isDisabled(*items_[static_cast<size_t>(item)].node)) f |= Qt::ItemIsUserCheckable;
  return f;
}

bool DPX_TreeModel::setData(const QModelIndex& index, const QVariant&, int role) {
  const int item = itemOf(index);
  if (item < 0 || role != Qt::CheckStateRole) return false;
  pane_->onCheckItem(item);
  return true;
}
