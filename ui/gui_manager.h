// The controller of the program's own window. One instance for the process:
// every command of the main frame ends in one of its operations. It keeps the
// state that decides which commands are enabled (started, worksheet open) in
// the menu-state table, owns the managers of the open worksheet, and opens the
// dialogs. Operations answer 0 done, 1 nothing done (no worksheet, or the user
// cancelled), negative on failure; the failing step shows its own message.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QPointer>

#include "platform/framework/host_error.h"
#include "ui/menu_state_table.h"

class QWidget;
class DPX_CompanyHandle;
class DPX_ConfigurationManager;
class DPX_ConnectionContext;
class DPX_LogFileDlg;
class DPX_SelectionManager;
class DPX_ToolsManager;
class DPX_TreeFormDlg;

class DPX_GUIManager {
 public:
  // What opens a help file (the file:/// target); tests put their own.
  using HelpOpener = std::function<void(const std::string& target)>;
  // What lets the user pick a folder: 0 with the chosen folder, 1 when
  // cancelled; tests put their own.
  using FolderBrowser = std::function<dpx::HRESULT(QWidget* parent, const std::string& title,
                                                   const std::string& initialFolder, std::string& chosen)>;

  static DPX_GUIManager& getInstance();
  // Ends the instance (the process's end, or a test's); the next getInstance
  // starts afresh.
  static void destroyInstance();

  ~DPX_GUIManager();
  DPX_GUIManager(const DPX_GUIManager&) = delete;
  DPX_GUIManager& operator=(const DPX_GUIManager&) = delete;

  // --- State and start-up ---------------------------------------------
  void initialize(DPX_ConnectionContext* context);
  DPX_ConnectionContext* getContext() const { return context_; }
  DPX_ToolsManager* getToolsManager() const { return toolsManager_.get(); }
  DPX_SelectionManager* getSelectionManager() const { return selectionManager_.get(); }
  DPX_ConfigurationManager* getConfigurationManager() const { return configurationManager_.get(); }
  DPX_MenuStateTable& menuStateTable() { return menuStates_; }
  bool isStarted() const { return started_; }
  bool isWorksheetOpen() const { return worksheetOpen_; }
  // The main window's category tree; null without a window.
  DPX_TreeFormDlg* treeForm() const;

  dpx::HRESULT initializeMainWindow();
  dpx::HRESULT initializeWinMenu();
  dpx::HRESULT initializeQuillonMenu();
  int getLanguage() const;

  dpx::HRESULT startDuplora();
  dpx::HRESULT closeDuplora();
  dpx::HRESULT changeLanguage();
  dpx::HRESULT enableMenuOptions();

  // --- Worksheets and files -------------------------------------------
  dpx::HRESULT openNewWorksheet();
  dpx::HRESULT openWorksheet();
  dpx::HRESULT showWorksheet();
  dpx::HRESULT closeWorksheet(bool noQuestion);
  dpx::HRESULT saveWorksheet(bool saveAs, bool quiet);
  dpx::HRESULT saveConfigurationFile();
  dpx::HRESULT showWorkSheetPropertiesForm();
  dpx::HRESULT showTreeForm(bool show);

  // --- Forwarded to the panes -------------------------------------------
  dpx::HRESULT toggleSelectionView();
  dpx::HRESULT undoSelection();
  dpx::HRESULT selectAllCategories(bool select);
  dpx::HRESULT selectAllDetails(bool select);
  dpx::HRESULT showDependencies(bool show);
  dpx::HRESULT toggleShowAllDependencies();
  dpx::HRESULT showAllDependencies(bool show);
  dpx::HRESULT copyTreeNodeText();
  dpx::HRESULT SortTable();
  dpx::HRESULT FilterTable();
  dpx::HRESULT LogSortTable();
  dpx::HRESULT LogFilterTable();
  // The check mark of the record list's filter command.
  bool updateFilterCheck();
  bool updateLogFilterCheck();

  // --- Dialogs -----------------------------------------------------------
  dpx::HRESULT showWelcomeForm();
  dpx::HRESULT showReportForm();
  // The log viewer on the copy log just written (the copy-completed dialog).
  dpx::HRESULT showReportForm(bool copyLog);
  // The viewer the log sort and filter commands act on, while its window is
  // open (null otherwise): the one opened last, or whose context menu was
  // shown since.
  DPX_LogFileDlg* logViewer() const;
  void setLogViewer(DPX_LogFileDlg* viewer);
  // notCopied: the line naming the categories the copy did not copy ("" for none).
  dpx::HRESULT showCopyCompletedForm(const std::string& notCopied = {});
  dpx::HRESULT showOptionsForm();
  // The company choice on the caller's handle, which holds the connected
  // company after OK (0); 1 otherwise.
  dpx::HRESULT showChooseCompanyForm(DPX_CompanyHandle& company, const std::string& initialName);
  dpx::HRESULT showAboutForm();
  dpx::HRESULT showCopyConfigForm();
  // Whether the target may be written without a fresh backup: force backup
  // off, a server that keeps no backup history, or a backup of the target's
  // database that finished at most 60 minutes ago.
  bool checkRecentBackup();
  dpx::HRESULT showHelp();
  void setHelpOpener(HelpOpener opener) { helpOpener_ = std::move(opener); }
  void setFolderBrowser(FolderBrowser browser) { folderBrowser_ = std::move(browser); }
  dpx::HRESULT browseForFolder(QWidget* parent, const std::string& title, const std::string& initialFolder,
                               std::string& chosen);
  // The help file for a language code: "<folder>/Help_DPXDuplora_<code>.chm",
  // "EN" for a code without a help file.
  static std::string helpFilePath(const std::string& folder, const std::string& code);

  // File dialogs (non-native): 0 with the chosen path in `path`, 1 when
  // cancelled. An OK-button text, when given, replaces the dialog's own.
  dpx::HRESULT showOpenFileForm(const std::string& title, const std::string& initialFolder, std::string& path,
                                const std::string& extension, uint32_t filterTextId, const std::string& okText);
  dpx::HRESULT showSaveFileForm(const std::string& title, const std::string& initialFolder, std::string& path,
                                const std::string& extension, uint32_t filterTextId, const std::string& okText);

 private:
  DPX_GUIManager();
  void initMenuStates();
  // Commands that need the open worksheet's tree: 1 with no worksheet open,
  // E_FAIL without a tree.
  dpx::HRESULT guarded() const;
  // A new modeless log viewer on a file; it becomes the log viewer.
  dpx::HRESULT openLogViewer(int mode, const std::string& path);

  DPX_ConnectionContext* context_ = nullptr;
  std::unique_ptr<DPX_ToolsManager> toolsManager_;
  std::unique_ptr<DPX_SelectionManager> selectionManager_;
  std::unique_ptr<DPX_ConfigurationManager> configurationManager_;
  DPX_MenuStateTable menuStates_;
  bool started_ = false;
  bool worksheetOpen_ = false;
  HelpOpener helpOpener_;
  FolderBrowser folderBrowser_;
  QPointer<DPX_LogFileDlg> logViewer_;
};
