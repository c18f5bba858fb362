#include "ui/grid_list_ctrl.h"

#include <array>

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionHeader>

#include "ui/duplora_app.h"
#include "ui/in_place_edit.h"
#include "ui/main_frame.h"

namespace {

// Headings carry their sort and filter image right of the text, where the eye
// ends reading the heading, and the text keeps the column's alignment.
class HeaderImageRightStyle : public QProxyStyle {
 public:
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
    if (element != CE_HeaderLabel || !header || header->icon.isNull()) {
      QProxyStyle::drawControl(element, option, painter, widget);
      return;
    }
    const int size = pixelMetric(PM_SmallIconSize, option, widget);
    QStyleOptionHeader label(*header);
    label.icon = QIcon();
    const QRect image(header->rect.right() - size - 2, header->rect.center().y() - size / 2, size, size);
    label.rect.setRight(image.left() - 2);
    QProxyStyle::drawControl(element, &label, painter, widget);
    header->icon.paint(painter, image);
  }
};

}  // namespace

CGridListCtrl::CGridListCtrl(QWidget* parent, bool logGrid) : QTableView(parent), logGrid_(logGrid) {
  setItemDelegate(new CInPlaceEdit(this));
  setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setShowGrid(true);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setObjectName("1000");
  horizontalHeader()->setSectionsMovable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setMinimumSectionSize(0);  // a column may be dragged shut
  auto* headerStyle = new HeaderImageRightStyle;
  headerStyle->setParent(horizontalHeader());
  horizontalHeader()->setStyle(headerStyle);
}

void CGridListCtrl::contextMenuEvent(QContextMenuEvent* event) {
  DPX_MainFrame* frame = DPX_DuploraApp::MainFrame();
  if (!frame) return;
  QMenu menu(this);
  menu.setObjectName("gridContextMenu");
  static constexpr std::array<uint32_t, 2> kRecordCommands{522, 521}, kLogCommands{32803, 32804};
  const auto& commands = logGrid_ ? kLogCommands : kRecordCommands;
  for (size_t i = 0; i < commands.size(); ++i) {
    QAction* action = frame->command(commands[i]);
    if (!action) continue;
    // The log's commands read like the Data menu's, in its current language.
    if (logGrid_)
      if (const QAction* twin = frame->command(kRecordCommands[i])) action->setText(twin->text());
    menu.addAction(action);
  }
  menu.exec(event->globalPos());
}

bool CGridListCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // (Without a trigger the call only hands the event to the delegate: a tick.)
  if (trigger != QAbstractItemView::NoEditTriggers && index.isValid() && columnWidth(index.column()) < 5)
    return false;
  return QTableView::edit(index, trigger, event);
}
