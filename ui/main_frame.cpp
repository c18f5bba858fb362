#include "ui/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "platform/framework/log_scope.h"
#include "ui/detail_form_dlg.h"
#include "ui/gui_manager.h"
#include "ui/menu_state_table.h"
#include "ui/program_icon.h"
#include "ui/qt_text.h"
#include "ui/tree_form_dlg.h"

namespace {

// How a command's caption, enabled state and check mark are brought up to date.
enum class Update {
  Table,             // caption and enabled state from the menu-state table
  TableFilterCheck,  // the same, and the record list's filter check mark
  LogFilterCheck,    // only the log viewer's filter check mark
  None,
};

struct Command {
  uint32_t id;
  void (*run)(DPX_MainFrame& frame, DPX_GUIManager& gui);
  Update update;
  bool checkable;
};

void UnderConstruction(DPX_MainFrame& frame, DPX_GUIManager&) {
  QMessageBox box(QMessageBox::Information, "Duplora", "Under Construction :-)", QMessageBox::Ok, &frame);
  box.exec();
}

// Every command of the window: its id, what it does, how it is updated.
const Command kCommands[] = {
    {506, [](DPX_MainFrame&, DPX_GUIManager& g) { g.openNewWorksheet(); }, Update::Table, false},
    {507, [](DPX_MainFrame&, DPX_GUIManager& g) { g.openWorksheet(); }, Update::Table, false},
    {508, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showReportForm(); }, Update::Table, false},
    {509, [](DPX_MainFrame&, DPX_GUIManager& g) { g.closeWorksheet(false); }, Update::Table, false},
    {510, [](DPX_MainFrame&, DPX_GUIManager& g) { g.saveWorksheet(true, false); }, Update::Table, false},
    {511, [](DPX_MainFrame&, DPX_GUIManager& g) { g.saveConfigurationFile(); }, Update::Table, false},
    {512, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showCopyConfigForm(); }, Update::Table, false},
    {513, UnderConstruction, Update::Table, false},
    {514, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showWorkSheetPropertiesForm(); }, Update::Table, false},
    {515, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showOptionsForm(); }, Update::Table, false},
    {516, [](DPX_MainFrame&, DPX_GUIManager& g) { g.closeDuplora(); }, Update::Table, false},
    {517, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showDependencies(true); }, Update::Table, false},
    {518, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showDependencies(false); }, Update::Table, false},
    {519, [](DPX_MainFrame&, DPX_GUIManager& g) { g.toggleSelectionView(); }, Update::Table, true},
    {520, [](DPX_MainFrame&, DPX_GUIManager& g) { g.undoSelection(); }, Update::Table, false},
    {521, [](DPX_MainFrame&, DPX_GUIManager& g) { g.SortTable(); }, Update::Table, false},
    {522, [](DPX_MainFrame&, DPX_GUIManager& g) { g.FilterTable(); }, Update::TableFilterCheck, true},
    {523, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showHelp(); }, Update::Table, false},
    {57670, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showHelp(); }, Update::None, false},
    {524, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showAboutForm(); }, Update::Table, false},
    {527, [](DPX_MainFrame&, DPX_GUIManager& g) { g.selectAllCategories(true); }, Update::Table, false},
    {528, [](DPX_MainFrame&, DPX_GUIManager& g) { g.selectAllCategories(false); }, Update::Table, false},
    {529, [](DPX_MainFrame&, DPX_GUIManager& g) { g.selectAllDetails(true); }, Update::Table, false},
    {530, [](DPX_MainFrame&, DPX_GUIManager& g) { g.selectAllDetails(false); }, Update::Table, false},
    {32803, [](DPX_MainFrame&, DPX_GUIManager& g) { g.LogFilterTable(); }, Update::LogFilterCheck, true},
    {32804, [](DPX_MainFrame&, DPX_GUIManager& g) { g.LogSortTable(); }, Update::None, false},
    {32806, [](DPX_MainFrame&, DPX_GUIManager& g) { g.showAllDependencies(true); }, Update::Table, true},
    {32808, [](DPX_MainFrame&, DPX_GUIManager& g) { g.copyTreeNodeText(); }, Update::Table, false},
};

// The five menus (ids 500 to 504, in menu-bar order) and their commands; 0 is a separator.
// The Data menu stands at position 3: the record grid opens it as its context menu.
const std::vector<std::pair<uint32_t, std::vector<uint32_t>>> kMenus = {
    {500, {506, 507, 508, 0, 509, 510, 511, 0, 512, 0, 513, 0, 514, 515, 0, 516}},
    {501, {527, 528, 529, 530, 0, 520, 0, 32808}},
    {502, {517, 518, 32806, 0, 519}},
    {503, {522, 521}},
    {504, {523, 0, 524}},
};

const uint32_t kToolBar[] = {506, 507, 510, 0, 512, 0, 519, 520, 0, 522, 521, 0, 523};

QIcon ToolIcon(QStyle* style, uint32_t id) {
  switch (id) {
    case 506: return style->standardIcon(QStyle::SP_FileIcon);
    case 507: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case 510: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case 512: return style->standardIcon(QStyle::SP_ArrowForward);
    case 519: return style->standardIcon(QStyle::SP_FileDialogContentsView);
    case 520: return style->standardIcon(QStyle::SP_ArrowBack);
    case 521: return style->standardIcon(QStyle::SP_ArrowDown);
    case 522: return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    case 523: return style->standardIcon(QStyle::SP_DialogHelpButton);
    default: return {};
  }
}

}  // namespace

DPX_MainFrame::DPX_MainFrame(QWidget* parent) : QMainWindow(parent) {
  setObjectName("DPX_MainFrame");
  setWindowIcon(dpx::ui::ProgramIcon());
  resize(800, 600);
  createCommands();
  createMenus();
  createToolBar();
  createStatusBar();

  // The frame's own background shows while no worksheet is open.
  auto* client = new QWidget(this);
  client->setObjectName("clientArea");
  client->setAutoFillBackground(true);
  QPalette palette = client->palette();
  palette.setColor(QPalette::Window, QColor(187, 184, 205));
  client->setPalette(palette);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  splitter_ = new QSplitter(Qt::Horizontal, client);
  splitter_->setObjectName("splitter");
  // The tree pane first: the record list registers itself in it.
  tree_ = new DPX_TreeFormDlg(splitter_);
  detail_ = new DPX_DetailFormDlg(splitter_);
  tree_->setDetailForm(detail_);
  detail_->setTreeForm(tree_);
  splitter_->setSizes({269, 506});
  layout->addWidget(splitter_);
  setCentralWidget(client);
  splitter_->hide();
}

DPX_MainFrame::~DPX_MainFrame() = default;

void DPX_MainFrame::createCommands() {
  for (const auto& c : kCommands) {
    auto* action = new QAction(dpx::ui::Q(std::to_string(c.id)), this);
    action->setObjectName(QString::number(c.id));
    action->setCheckable(c.checkable);
    const Command* command = &c;
    connect(action, &QAction::triggered, this, [this, command] {
      try {
        command->run(*this, DPX_GUIManager::getInstance());
      } catch (const std::exception& e) {
        dpx::DPX_LogScope log("DPX_MainFrame::onCommand");
        log.LogError("Command %u failed: %s", command->id, e.what());
      }
    });
    if (c.id == 57670) {
      action->setShortcut(QKeySequence::HelpContents);
      addAction(action);
    }
  }
}

void DPX_MainFrame::createMenus() {
  for (const auto& [menuId, items] : kMenus) {
    QMenu* menu = menuBar()->addMenu(QString::number(menuId));
    menu->setObjectName(QString::number(menuId));
    for (uint32_t id : items) {
      if (id == 0) menu->addSeparator();
      else menu->addAction(command(id));
    }
  }
}

void DPX_MainFrame::createToolBar() {
  toolBar_ = addToolBar("toolbar");
  toolBar_->setObjectName("toolbar");
  toolBar_->setMovable(false);
  for (uint32_t id : kToolBar) {
    if (id == 0) {
      toolBar_->addSeparator();
      continue;
    }
    QAction* action = command(id);
    action->setIcon(ToolIcon(style(), id));
    toolBar_->addAction(action);
  }
}

void DPX_MainFrame::createStatusBar() {
  messagePane_ = new QLabel(this);
  messagePane_->setObjectName("messagePane");
  statusBar()->addWidget(messagePane_, 1);
  normalFont_ = messagePane_->font();
  boldFont_ = normalFont_;
  boldFont_.setWeight(QFont::Bold);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QString::number(kProgressPane));
  progress_->setTextVisible(false);
  progress_->setFixedWidth(QFontMetrics(normalFont_).horizontalAdvance(QString(26, 'W')));
  progress_->setRange(0, 100);
  progress_->setValue(0);
  statusBar()->addPermanentWidget(progress_);
  statusTimer_ = new QTimer(this);
  statusTimer_->setObjectName(QString::number(kStatusTimer));
  statusTimer_->setSingleShot(true);
  connect(statusTimer_, &QTimer::timeout, this, [this] { clearStatusText(); });
}

QAction* DPX_MainFrame::command(uint32_t id) const {
  return findChild<QAction*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void DPX_MainFrame::showSplitter(bool show) {
  splitter_->setVisible(show);
  if (show) splitter_->repaint();
}

void DPX_MainFrame::setStatusText(const std::string& text, bool normal, uint32_t timeoutMs) {
  statusTimer_->stop();
  messagePane_->setFont(normal ? normalFont_ : boldFont_);
  messagePane_->setText(dpx::ui::Q(text));
  // Long operations run on this thread: the text must show before they go on.
  messagePane_->repaint();
  if (timeoutMs != 0) statusTimer_->start(static_cast<int>(timeoutMs));
}

void DPX_MainFrame::clearStatusText() {
  statusTimer_->stop();
  messagePane_->clear();
  messagePane_->setFont(normalFont_);
}

bool DPX_MainFrame::statusTimerActive() const { return statusTimer_->isActive(); }

void DPX_MainFrame::setProgressRange(const std::string& text, uint16_t lower, uint16_t upper) {
  statusTimer_->stop();
  messagePane_->setFont(normalFont_);
  messagePane_->setText(dpx::ui::Q(text));
  progress_->setRange(lower, upper);
  messagePane_->repaint();
  progress_->repaint();
}

void DPX_MainFrame::setProgressPos(int32_t position) {
  progress_->setValue(position);
  progress_->repaint();
}

void DPX_MainFrame::setMenuStateTable(const DPX_MenuStateTable* table) {
  menuStates_ = table;
  updateCommands();
}

void DPX_MainFrame::updateCommands() {
  auto& gui = DPX_GUIManager::getInstance();
  for (const auto& c : kCommands) {
    QAction* action = command(c.id);
    if (c.update == Update::Table || c.update == Update::TableFilterCheck) updateCommand(action, c.id);
    if (c.update == Update::TableFilterCheck) action->setChecked(gui.updateFilterCheck());
    if (c.update == Update::LogFilterCheck) action->setChecked(gui.updateLogFilterCheck());
  }
}

void DPX_MainFrame::updateCommand(QAction* action, uint32_t id) {
  try {
    const QString text = dpx::ui::Text(id);
    if (text.isEmpty()) return;
    action->setText(text);
    if (!menuStates_) {
      action->setEnabled(false);
      return;
    }
    if (auto enabled = menuStates_->find(id)) action->setEnabled(*enabled);
  } catch (const std::exception& e) {
    dpx::DPX_LogScope log("DPX_MainFrame::updateCommand");
    log.LogWarning("Command %u not updated: %s", id, e.what());
  }
}

void DPX_MainFrame::closeEvent(QCloseEvent* event) {
  // Closing only hides the window; the controller decides (it may ask to save).
  event->ignore();
  DPX_GUIManager::getInstance().closeDuplora();
}

bool DPX_MainFrame::event(QEvent* event) {
  // Menu prompts never replace the status text.
  if (event->type() == QEvent::StatusTip) return true;
  return QMainWindow::event(event);
}
