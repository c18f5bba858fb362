// The program's own main window: the five menus and the toolbar of its
// commands, a splitter of the category tree and the record list, and a status
// bar with a message pane and a progress bar. Every command goes to the GUI
// controller; its enabled state comes from the controller's menu-state table.
// It is made hidden at start-up, shown by the controller and only hidden again
// when closed.
#pragma once

#include <cstdint>
#include <string>

#include <QFont>
#include <QMainWindow>

class QAction;
class QLabel;
class QProgressBar;
class QSplitter;
class QTimer;
class QToolBar;
class DPX_DetailFormDlg;
class DPX_MenuStateTable;
class DPX_TreeFormDlg;

class DPX_MainFrame : public QMainWindow {
  Q_OBJECT

 public:
  // The timer that clears a status text after its time-out.
  static constexpr int kStatusTimer = 169;
  static constexpr uint32_t kProgressPane = 499;

  explicit DPX_MainFrame(QWidget* parent = nullptr);
  ~DPX_MainFrame() override;

  void showSplitter(bool show);
  // Text in the message pane, normal or bold font; a non-zero time-out (ms)
  // clears it again. Any new text cancels a pending clear.
  void setStatusText(const std::string& text, bool normal, uint32_t timeoutMs);
  void setProgressRange(const std::string& text, uint16_t lower, uint16_t upper);
  void setProgressPos(int32_t position);

  // The controller's table (not owned); every command's caption and enabled
  // state are brought up to date from it at once.
  void setMenuStateTable(const DPX_MenuStateTable* table);
  void updateCommands();
  // The command of an id (a QAction child named by the id); null when none.
  QAction* command(uint32_t id) const;

  QSplitter* splitter() const { return splitter_; }
  DPX_TreeFormDlg* treeForm() const { return tree_; }
  DPX_DetailFormDlg* detailForm() const { return detail_; }
  QLabel* messagePane() const { return messagePane_; }
  QProgressBar* progressBar() const { return progress_; }
  bool statusTimerActive() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void createCommands();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void updateCommand(QAction* action, uint32_t id);
  void clearStatusText();

  QToolBar* toolBar_ = nullptr;
  QSplitter* splitter_ = nullptr;
  DPX_TreeFormDlg* tree_ = nullptr;
  DPX_DetailFormDlg* detail_ = nullptr;
  QLabel* messagePane_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QTimer* statusTimer_ = nullptr;
  QFont normalFont_;
  QFont boldFont_;
  const DPX_MenuStateTable* menuStates_ = nullptr;
};
