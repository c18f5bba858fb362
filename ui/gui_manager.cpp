#include "ui/gui_manager.h"

#include <fmt/printf.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "engine/connection_context.h"
#include "engine/settings_manager.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/hostclient/add_on_util.h"
#include "platform/host/company.h"
#include "platform/host/recordset.h"
#include "ui/detail_form_dlg.h"
#include "ui/duplora.h"
#include "ui/duplora_app.h"
#include "ui/filter_table_dlg.h"
#include "ui/about_box.h"
#include "ui/choose_company_form_dlg.h"
#include "ui/copy_completed_form_dlg.h"
#include "ui/copy_config_form_dlg.h"
#include "ui/copy_options_form_dlg.h"
#include "ui/log_file_dlg.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/sort_table_dlg.h"
#include "ui/tools_manager.h"
#include "ui/tree_form_dlg.h"
#include "ui/welcome_form_dlg.h"
#include "ui/worksheet_properties_form_dlg.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/copy_run.h"
#include "worksheet/selection_manager.h"
#include "worksheet/worksheet.h"
#include "worksheet/worksheet_template_manager.h"

using dpx::DPX_LogScope;
using dpx::HRESULT;
using dpx::ui::Q;
using dpx::ui::S;

namespace {

std::unique_ptr<DPX_GUIManager>& Instance() {
  static std::unique_ptr<DPX_GUIManager> instance;
  return instance;
}

std::string Load(uint32_t id) { return dpx::StringTable::Load(id, DPX_GUIManager::getInstance().getLanguage()); }

// What decides a command's enabled state.
enum class Rule { NotStarted, Always, Open, OpenCanDisplayDependencies, OpenCanHideDependencies, OpenCanUndo,
                  OpenTableShown };

struct MenuRule {
  std::vector<uint32_t> ids;
  Rule rule;
};

// Ids no rule names (500, 504, 513, 516, 523, 524) keep their state.
const std::vector<MenuRule> kMenuRules = {
    {{505}, Rule::NotStarted},
    {{506, 507, 508, 515}, Rule::Always},
    {{501, 502, 503, 509, 510, 511, 512, 514, 519, 527, 528, 32806, 32808}, Rule::Open},
    {{517}, Rule::OpenCanDisplayDependencies},
    {{518}, Rule::OpenCanHideDependencies},
    {{520}, Rule::OpenCanUndo},
    {{521, 522, 529, 530}, Rule::OpenTableShown},
};

const MenuRule* FindRule(uint32_t id) {
  for (const auto& r : kMenuRules)
    for (uint32_t i : r.ids)
      if (i == id) return &r;
  return nullptr;
}

// The start-up menu states: every command the window has, in this order.
const std::vector<std::pair<std::vector<uint32_t>, bool>> kInitialMenuStates = {
    {{505, 500, 501, 502, 503, 504, 506, 507, 508}, true},
    {{509, 510, 511, 512, 513, 514, 515}, false},
    {{516}, true},
    {{517, 518, 519, 520, 527, 528, 529, 530, 521, 522}, false},
    {{523, 524}, true},
    {{32808, 32806}, false},
};

// The help files that exist, by language code.
constexpr const char* kHelpFileBase = "Help_DPXDuplora";
constexpr uint32_t kHelpFileBaseId = 400;

}  // namespace

DPX_GUIManager& DPX_GUIManager::getInstance() {
  auto& instance = Instance();
  if (!instance) instance.reset(new DPX_GUIManager());
  return *instance;
}

void DPX_GUIManager::destroyInstance() { Instance().reset(); }

DPX_GUIManager::DPX_GUIManager() {
  initMenuStates();
  helpOpener_ = [](const std::string& target) { QDesktopServices::openUrl(QUrl(Q(target))); };
  folderBrowser_ = [](QWidget* parent, const std::string& title, const std::string& initialFolder,
                      std::string& chosen) {
    const QString folder = QFileDialog::getExistingDirectory(parent, Q(title), Q(initialFolder));
    if (folder.isEmpty()) return dpx::S_FALSE;
    chosen = S(folder);
    return dpx::S_OK;
  };
}

DPX_GUIManager::~DPX_GUIManager() = default;

void DPX_GUIManager::initMenuStates() {
  menuStates_.clear();
  for (const auto& [ids, enabled] : kInitialMenuStates)
    for (uint32_t id : ids) menuStates_.add(id, enabled);
}

void DPX_GUIManager::initialize(DPX_ConnectionContext* context) {
  context_ = context;
  toolsManager_ = std::make_unique<DPX_ToolsManager>(context);
}

int DPX_GUIManager::getLanguage() const {
  return DPX_Util::HostLanguage(context_ ? context_->getApplication() : nullptr);
}

HRESULT DPX_GUIManager::initializeMainWindow() {
  DPX_LogScope log("DPX_GUIManager::initializeMainWindow");
  if (DPX_MainFrame* frame = DPX_DuploraApp::MainFrame()) frame->updateCommands();
  return initializeWinMenu();
}

HRESULT DPX_GUIManager::initializeWinMenu() {
  return toolsManager_ ? toolsManager_->initializeWinMenu(menuStates_) : dpx::E_FAIL;
}

HRESULT DPX_GUIManager::initializeQuillonMenu() {
  return toolsManager_ ? toolsManager_->initializeQuillonMenu() : dpx::E_FAIL;
}

HRESULT DPX_GUIManager::enableMenuOptions() {
  DPX_LogScope log("DPX_GUIManager::enableMenuOptions");
  try {
    const DPX_TreeFormDlg* tree = treeForm();
    for (auto& entry : menuStates_.entries()) {
      const MenuRule* rule = FindRule(entry.id);
      if (!rule) continue;
      switch (rule->rule) {
        case Rule::NotStarted: entry.enabled = !started_; break;
        case Rule::Always: entry.enabled = true; break;
        case Rule::Open: entry.enabled = worksheetOpen_; break;
        case Rule::OpenCanDisplayDependencies: entry.enabled = worksheetOpen_ && tree && tree->canDisplayDependencies(); break;
        case Rule::OpenCanHideDependencies: entry.enabled = worksheetOpen_ && tree && tree->canHideDependencies(); break;
        case Rule::OpenCanUndo: entry.enabled = worksheetOpen_ && tree && tree->canUndo(); break;
        case Rule::OpenTableShown: entry.enabled = worksheetOpen_ && tree && tree->isTableShown(); break;
      }
    }
  } catch (const std::exception& e) {
    log.LogError("Exception occurred.");
  }
  return toolsManager_ ? toolsManager_->enableMenu(menuStates_) : dpx::S_OK;
}

HRESULT DPX_GUIManager::startDuplora() {
  DPX_LogScope log("DPX_GUIManager::startDuplora");
  if (started_) return dpx::S_OK;
  try {
    DPX_Util::SetStatusText();
    DPX_MainFrame* frame = DPX_DuploraApp::MainFrame();
    if (!frame) return dpx::E_FAIL;
    frame->setWindowTitle(dpx::ui::Text(2041));
    frame->showMaximized();
    frame->raise();
    frame->activateWindow();
    enableMenuOptions();
    started_ = true;
    showWelcomeForm();
    enableMenuOptions();
    return dpx::S_OK;
  } catch (const std::exception& e) {
    log.LogError("Exception during start");
    return dpx::E_FAIL;
  }
}

HRESULT DPX_GUIManager::closeDuplora() {
  DPX_LogScope log("DPX_GUIManager::closeDuplora");
  if (worksheetOpen_) {
    if (const HRESULT result = closeWorksheet(false); result != dpx::S_OK) return result;
  }
  try {
    started_ = false;
    enableMenuOptions();
    DPX_MainFrame* frame = DPX_DuploraApp::MainFrame();
    if (frame && frame->isVisible()) frame->hide();
  } catch (const std::exception& e) {
    log.LogError("Exception during close");
  }
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::changeLanguage() {
  DPX_LogScope log("DPX_GUIManager::changeLanguage");
  if (!context_) return dpx::S_OK;
  try {
    if (dpx::Failed(initializeQuillonMenu())) log.LogError("Failed to add menu entry for Duplora to the tools menu");
    initializeWinMenu();
    enableMenuOptions();
  } catch (const std::exception& e) {
    log.LogError("Exception during change language");
  }
  DPX_WorksheetTemplateManager::getInstance(context_).updateStrings();
  if (worksheetOpen_) DPX_Util::ShowWarning(Load(10062), true);
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::guarded() const {
  if (!worksheetOpen_) return dpx::S_FALSE;
  return treeForm() ? dpx::S_OK : dpx::E_FAIL;
}

DPX_TreeFormDlg* DPX_GUIManager::treeForm() const {
  DPX_MainFrame* frame = DPX_DuploraApp::MainFrame();
  return frame ? frame->treeForm() : nullptr;
}

// --- Worksheets -------------------------------------------------------------

HRESULT DPX_GUIManager::openNewWorksheet() {
  DPX_LogScope log("DPX_GUIManager::openNewWorksheet");
  if (worksheetOpen_) {
    if (const HRESULT result = closeWorksheet(false); result != dpx::S_OK) return result;
  }
  DPX_SettingsManager settings(context_);
  settings.getSettingsFromDatabase();
  settings.setCopyMethod(1);
  settings.setForceBackup(true);
  settings.saveSettingsToDatabase();
  if (const HRESULT result = showWorkSheetPropertiesForm(); result != dpx::S_OK) return result;
  return showWorksheet();
}

HRESULT DPX_GUIManager::openWorksheet() {
  DPX_LogScope log("DPX_GUIManager::openWorksheet");
  if (worksheetOpen_) {
    if (const HRESULT result = closeWorksheet(false); result != dpx::S_OK) return result;
  }
  DPX_SettingsManager settings(context_);
  settings.updateSettingsFromDatabase();
  std::string path;
  if (showOpenFileForm(Load(2035), settings.getWorksheetFolder(), path, "xml", 2031, "") != dpx::S_OK || path.empty())
    return dpx::S_FALSE;
  context_->setWorksheetFile(path);
  return showWorksheet();
}

HRESULT DPX_GUIManager::showWorksheet() {
  DPX_LogScope log("DPX_GUIManager::showWorksheet");
  worksheetOpen_ = true;
  configurationManager_ = std::make_unique<DPX_ConfigurationManager>(context_);
  selectionManager_ = std::make_unique<DPX_SelectionManager>(context_);
  if (selectionManager_->openWorksheet() != dpx::S_OK) return closeWorksheet(true);
  if (const HRESULT result = showTreeForm(true); dpx::Failed(result)) return result;
  enableMenuOptions();
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::closeWorksheet(bool noQuestion) {
  DPX_LogScope log("DPX_GUIManager::closeWorksheet");
  if (!worksheetOpen_) return dpx::S_OK;
  if (!noQuestion && selectionManager_) {
    const DPX_Worksheet* worksheet = selectionManager_->getWorksheet();
    if (worksheet->getFilePath().empty() || worksheet->isModified()) {
      const int answer = DPX_Util::AskQuestion(Load(10005), true, 2);
      if (answer == dpx::mb::kIdCancel) return dpx::S_FALSE;
      if (answer == dpx::mb::kIdYes) {
        // A save the user cancelled in the file dialog keeps the worksheet
        // open: closing it then would lose what the user asked to keep.
        if (const HRESULT result = saveWorksheet(false, true); result != dpx::S_OK) return result;
      }
    }
  }
  if (const HRESULT result = showTreeForm(false); dpx::Failed(result)) return result;
  context_->reset();
  selectionManager_.reset();
  configurationManager_.reset();
  worksheetOpen_ = false;
  enableMenuOptions();
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::saveWorksheet(bool saveAs, bool quiet) {
  DPX_LogScope log("DPX_GUIManager::saveWorksheet");
  if (!worksheetOpen_) return dpx::S_OK;
  if (!selectionManager_) return dpx::E_FAIL;
  const HRESULT result = selectionManager_->saveWorksheet(saveAs);
  if (result == dpx::S_OK && !quiet) DPX_Util::ShowOperationCompleted(true);
  return result;
}

HRESULT DPX_GUIManager::saveConfigurationFile() {
  DPX_LogScope log("DPX_GUIManager::saveConfigurationFile");
  if (!worksheetOpen_) return dpx::S_FALSE;
  DPX_TreeFormDlg* tree = treeForm();
  if (!tree || !configurationManager_ || !selectionManager_) return dpx::E_FAIL;
  const std::string previous = context_->getTargetFile();
  std::string folder, path = previous;
  if (previous.empty()) {
    DPX_SettingsManager settings(context_);
    settings.getSettingsFromDatabase();
    folder = settings.getConfigurationFolder();
    std::string name;
    if (const auto base = context_->getBaseCompany()) {
      try {
        name = base->CompanyName();
      } catch (const std::exception& e) {
        log.LogWarning("The base company's name cannot be read: %s", e.what());
      }
      std::erase_if(name, [](char c) { return std::string_view("\\/:*<>?\"").find(c) != std::string_view::npos; });
    } else {
      DPX_Util::GetFileName(context_->getBaseFile(), name);
    }
    if (!name.empty()) path = folder + (folder.empty() || folder.back() == '/' ? "" : "/") + name + "_config.xml";
  } else {
    DPX_Util::GetFolderName(previous, folder);
  }
  if (showSaveFileForm(Load(2033), folder, path, "xml", 2031, "") != dpx::S_OK) return dpx::S_FALSE;
  tree->updateCurrentWorksheet();
  if (tree->hasUnselectedDependencies() && DPX_Util::AskQuestion(Load(10055), false, 2) != dpx::mb::kIdYes)
    return dpx::S_FALSE;
  context_->setTargetFile(path);
  DPX_Worksheet* worksheet = selectionManager_->getWorksheet();
  if (path != previous) {
    worksheet->setModified(true);
    tree->showHeaderData();
  }
  HRESULT result = dpx::E_FAIL;
  try {
    result = configurationManager_->saveConfiguration(*worksheet, !context_->getBaseCompany());
  } catch (const std::exception& e) {
    log.LogError("The configuration file cannot be saved: %s", e.what());
  }
  if (dpx::Failed(result)) return result;
  const auto& leftOut = configurationManager_->leftOut();
  if (leftOut.empty()) {
    DPX_Util::ShowOperationCompleted(true);
    return result;
  }
  // The file lacks part of the selection: the user is told what, not that
  // the save went well.
  std::string message = "The configuration file was saved without:";
  for (const auto& line : leftOut) message += "\n" + line;
  DPX_Util::ShowError(message, true);
  return result;
}

HRESULT DPX_GUIManager::showWorkSheetPropertiesForm() {
  DPX_LogScope log("DPX_GUIManager::showWorkSheetPropertiesForm");
  DPX_WorksheetPropertiesFormDlg dialog(context_, DPX_DuploraApp::MainFrame());
  if (dialog.exec() != QDialog::Accepted) return dpx::S_FALSE;
  if (!worksheetOpen_) return dpx::S_OK;
  DPX_Worksheet* worksheet = selectionManager_->getWorksheet();
  worksheet->setConnectionFields(*context_);
  worksheet->setModified(true);
  if (!dialog.baseChanged()) {
    if (DPX_TreeFormDlg* tree = treeForm()) tree->showHeaderData();
    return dpx::S_OK;
  }
  showTreeForm(false);
  configurationManager_ = std::make_unique<DPX_ConfigurationManager>(context_);
  if (selectionManager_->refreshWorksheet() != dpx::S_OK) return closeWorksheet(true);
  if (const HRESULT result = showTreeForm(true); dpx::Failed(result)) return result;
  enableMenuOptions();
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::showTreeForm(bool show) {
  DPX_MainFrame* frame = DPX_DuploraApp::MainFrame();
  if (!frame) return dpx::E_FAIL;
  if (!show) {
    frame->treeForm()->clear();
    frame->showSplitter(false);
    return dpx::S_OK;
  }
  const HRESULT result = frame->treeForm()->showCurrentWorksheet();
  frame->showSplitter(true);
  return result;
}

// --- Forwarded commands -----------------------------------------------------

HRESULT DPX_GUIManager::toggleSelectionView() {
  if (const HRESULT r = guarded(); r != dpx::S_OK) return r;
  treeForm()->toggleSelectionView();
  if (DPX_MainFrame* frame = DPX_DuploraApp::MainFrame()) frame->command(519)->setChecked(treeForm()->isSelectionView());
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::undoSelection() {
  if (const HRESULT r = guarded(); r != dpx::S_OK) return r;
  treeForm()->undoSelection();
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::selectAllCategories(bool select) {
  if (const HRESULT r = guarded(); r != dpx::S_OK) return r;
  treeForm()->selectAll(select);
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::selectAllDetails(bool select) {
  if (const HRESULT r = guarded(); r != dpx::S_OK) return r;
  treeForm()->selectAllDetails(select);
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::showDependencies(bool show) {
  if (const HRESULT r = guarded(); r != dpx::S_OK) return r;
  if (show) treeForm()->showDependencies();
  else treeForm()->hideDependencies();
  return enableMenuOptions();
}

HRESULT DPX_GUIManager::toggleShowAllDependencies() {
  if (const HRESULT r = guarded(); r != dpx::S_OK) return r;
  treeForm()->toggleShowAllDependencies();
  if (DPX_MainFrame* frame = DPX_DuploraApp::MainFrame())
    frame->command(32806)->setChecked(treeForm()->isShowAllDependencies());
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::showAllDependencies(bool) {
  toggleShowAllDependencies();
  return enableMenuOptions();
}

HRESULT DPX_GUIManager::copyTreeNodeText() {
  DPX_TreeFormDlg* tree = treeForm();
  if (!tree) return dpx::S_FALSE;
  std::string text;
  tree->getCurrentNodeName(text);
  if (text.empty()) return dpx::S_FALSE;
  // Unicode text: node names in every language reach the clipboard whole.
  QGuiApplication::clipboard()->setText(Q(text));
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::SortTable() {
  DPX_TreeFormDlg* tree = treeForm();
  DPX_TableView* view = tree && tree->detailForm() ? tree->detailForm()->currentView() : nullptr;
  if (!view) return dpx::S_FALSE;
  DPX_SortTableDlg dialog(context_, view, DPX_DuploraApp::MainFrame());
  if (dialog.exec() != QDialog::Accepted) return dpx::S_FALSE;
  tree->detailForm()->applySortRules();
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::FilterTable() {
  DPX_TreeFormDlg* tree = treeForm();
  DPX_TableView* view = tree && tree->detailForm() ? tree->detailForm()->currentView() : nullptr;
  if (!view) return dpx::S_FALSE;
  if (view->filterActive) {
    tree->detailForm()->clearFilter();
    enableMenuOptions();
    return dpx::S_OK;
  }
  DPX_FilterTableDlg dialog(context_, view, DPX_DuploraApp::MainFrame());
  if (dialog.exec() != QDialog::Accepted) return dpx::S_FALSE;
  tree->detailForm()->applyFilterRules();
  enableMenuOptions();
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::LogSortTable() {
  if (!logViewer_) return dpx::S_FALSE;
  DPX_SortTableDlg dialog(context_, &logViewer_->view(), logViewer_, true);
  if (dialog.exec() != QDialog::Accepted || !logViewer_) return dpx::S_FALSE;
  logViewer_->ApplySortRules();
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::LogFilterTable() {
  if (!logViewer_) return dpx::S_FALSE;
  if (logViewer_->view().filterActive) {
    logViewer_->UnApplyFilterRules();
    return dpx::S_OK;
  }
  DPX_FilterTableDlg dialog(context_, &logViewer_->view(), logViewer_);
  if (dialog.exec() != QDialog::Accepted || !logViewer_) return dpx::S_FALSE;
  logViewer_->ApplyFilterRules();
  return dpx::S_OK;
}

bool DPX_GUIManager::updateFilterCheck() {
  DPX_TreeFormDlg* tree = worksheetOpen_ ? treeForm() : nullptr;
  if (!tree || !tree->isTableShown() || !tree->detailForm()) return false;
  const DPX_TableView* view = tree->detailForm()->currentView();
  return view && view->filterActive;
}

DPX_LogFileDlg* DPX_GUIManager::logViewer() const { return logViewer_; }

void DPX_GUIManager::setLogViewer(DPX_LogFileDlg* viewer) { logViewer_ = viewer; }

bool DPX_GUIManager::updateLogFilterCheck() { return logViewer_ && logViewer_->view().filterActive; }

// --- Dialogs ----------------------------------------------------------------

HRESULT DPX_GUIManager::showWelcomeForm() {
  DPX_WelcomeFormDlg dialog(context_, DPX_DuploraApp::MainFrame());
  if (dialog.exec() != QDialog::Accepted) return dpx::S_FALSE;
  if (dialog.newWorksheetChosen()) return openNewWorksheet();
  if (dialog.existingWorksheetChosen()) return openWorksheet();
  if (dialog.logFileChosen()) return showReportForm();
  return dpx::S_FALSE;
}

HRESULT DPX_GUIManager::showReportForm() {
  DPX_SettingsManager settings(context_);
  settings.updateSettingsFromDatabase();
  std::string path;
  if (showOpenFileForm(Load(2037), settings.getLogFileFolder(), path, "txt", 2059, "") != dpx::S_OK || path.empty())
    return dpx::S_FALSE;
  return openLogViewer(2, path);
}

HRESULT DPX_GUIManager::showReportForm(bool) { return openLogViewer(1, context_->getLogFile()); }

HRESULT DPX_GUIManager::openLogViewer(int mode, const std::string& path) {
  auto* viewer = new DPX_LogFileDlg(context_, mode, path, DPX_DuploraApp::MainFrame());
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  logViewer_ = viewer;
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::showCopyCompletedForm(const std::string& notCopied) {
  DPX_CopyCompletedFormDlg dialog(context_, DPX_DuploraApp::MainFrame(), notCopied);
  return dialog.exec() == QDialog::Accepted ? dpx::S_OK : dpx::S_FALSE;
}
HRESULT DPX_GUIManager::showOptionsForm() {
  DPX_LogScope log("DPX_GUIManager::showOptionsForm");
  DPX_SettingsManager settings(context_);
  settings.updateSettingsFromDatabase();
  DPX_CopyOptionsFormDlg dialog(context_, &settings, DPX_DuploraApp::MainFrame());
  if (dialog.exec() != QDialog::Accepted) return dpx::S_FALSE;
  // The open worksheet takes what the dialog put into the context; after
  // Cancel nothing changed.
  if (worksheetOpen_ && selectionManager_) {
    DPX_Worksheet* worksheet = selectionManager_->getWorksheet();
    worksheet->setConnectionFields(*context_);
    worksheet->setModified(true);
  }
  return dpx::S_OK;
}

HRESULT DPX_GUIManager::showChooseCompanyForm(DPX_CompanyHandle& company, const std::string& initialName) {
  DPX_LogScope log("DPX_GUIManager::showChooseCompanyForm");
  QWidget* parent = QApplication::activeModalWidget();
  if (!parent) parent = DPX_DuploraApp::MainFrame();
  DPX_ChooseCompanyFormDlg dialog(context_, &company, initialName, parent);
  return dialog.exec() == QDialog::Accepted ? dpx::S_OK : dpx::S_FALSE;
}

HRESULT DPX_GUIManager::browseForFolder(QWidget* parent, const std::string& title, const std::string& initialFolder,
                                        std::string& chosen) {
  return folderBrowser_ ? folderBrowser_(parent, title, initialFolder, chosen) : dpx::S_FALSE;
}
HRESULT DPX_GUIManager::showAboutForm() {
  DPX_AboutBox dialog(DPX_DuploraApp::MainFrame());
  dialog.exec();
  return dpx::S_OK;
}
HRESULT DPX_GUIManager::showCopyConfigForm() {
  DPX_LogScope log("DPX_GUIManager::showCopyConfigForm");
  if (!worksheetOpen_ || !selectionManager_ || !configurationManager_) return dpx::S_FALSE;
  DPX_TreeFormDlg* tree = treeForm();
  if (!tree) return dpx::E_FAIL;
  DPX_Worksheet* worksheet = selectionManager_->getWorksheet();
  constexpr int32_t kAddOnly = 3;
  // Queries and print layouts are copied as new records only.
  if (context_->getCopyMethod() != kAddOnly && tree->hasQueriesOrLayoutsSelected() &&
      DPX_Util::AskQuestion(fmt::sprintf(Load(10057), DPX_Util::GetCopyMethodText(kAddOnly)), false, 2) ==
          dpx::mb::kIdYes) {
    worksheet->setCopyMethod(kAddOnly);
    worksheet->setModified(true);
    context_->setCopyMethod(kAddOnly);
    DPX_SettingsManager settings(context_);
    if (settings.getSettingsFromDatabase() == dpx::S_OK) {
      settings.setCopyMethod(kAddOnly);
      if (dpx::Failed(settings.saveSettingsToDatabase())) DPX_Util::ShowError(Load(10004), false);
    }
  }

  const auto previousTarget = context_->getTargetCompany();
  const bool wasConnected = previousTarget && previousTarget->Connected();
  DPX_CopyConfigFormDlg dialog(context_, DPX_DuploraApp::MainFrame());
  if (dialog.exec() != QDialog::Accepted) return dpx::S_FALSE;
  const auto target = context_->getTargetCompany();
  if (dialog.targetChanged()) {
    worksheet->setModified(true);
    tree->showHeaderData();
  } else if (!wasConnected && target && target->Connected()) {
    tree->showHeaderData();
  }

  tree->updateCurrentWorksheet();
  if (tree->hasUnselectedDependencies() && DPX_Util::AskQuestion(Load(10055), false, 2) != dpx::mb::kIdYes)
    return dpx::S_FALSE;
  std::vector<std::string> names;
  if (tree->getUncopyableCategories(names)) {
    std::string list;
    for (const auto& name : names) list += "\r\n " + name;
    list += "\r\n";
    const std::string question =
        fmt::sprintf(Load(10058), DPX_Util::GetCopyMethodText(context_->getCopyMethod()), list);
    if (DPX_Util::AskQuestion(question, false, 2) != dpx::mb::kIdYes) return dpx::S_FALSE;
  }
  if (!context_->getForceBackup() && DPX_Util::AskQuestion(Load(219), false, 2) != dpx::mb::kIdYes)
    return dpx::S_FALSE;
  if (!checkRecentBackup()) {
    DPX_Util::ShowWarning(Load(218), true);
    return dpx::S_FALSE;
  }

  DPX_CopyRun run(context_);
  std::string refusal;
  if (!run.lockTarget(refusal)) {
    DPX_Util::ShowError(refusal, true);
    return dpx::S_FALSE;
  }
  while (!run.openLog()) {
    DPX_Util::ShowError(Load(10019), true);
    if (showOptionsForm() != dpx::S_OK) return dpx::S_FALSE;
    DPX_SettingsManager settings(context_);
    settings.updateSettingsFromDatabase();
  }
  HRESULT result = dpx::E_FAIL;
  std::string ended;
  {
    dpx::WaitCursor wait;
    result = run.copy(*worksheet, *configurationManager_, !context_->getBaseCompany(), ended);
  }
  if (!ended.empty()) log.LogError("%s", ended);
  if (dpx::Failed(result)) return result;
  return showCopyCompletedForm(configurationManager_->notCopiedNotice());
}

bool DPX_GUIManager::checkRecentBackup() {
  DPX_LogScope log("DPX_GUIManager::checkRecentBackup");
  if (!context_->getForceBackup()) return true;
  const auto target = context_->getTargetCompany();
  if (!target) return false;
  try {
    const int type = target->DbServerType();
    if (type == 2 || type == 3 || type == 5) return true;
    // The newest backup of the target's database finished at most 60 minutes ago.
    dpx::host::BoundSql query;
    query.text =
        "SELECT 1 AS Expr1 FROM msdb.dbo.backupset WHERE (database_name = ?) AND (GETDATE() <= DATEADD(minute, 60, "
        "(SELECT     MAX(backup_finish_date) FROM msdb..backupset WHERE database_name = ?)))";
    query.values = {dpx::Variant(target->CompanyDB()), dpx::Variant(target->CompanyDB())};
    auto recordset = target->NewRecordset();
    if (recordset->DoQuery(query) != 0) {
      log.LogError("The backup history cannot be read: %s", target->GetLastErrorDescription());
      return false;
    }
    return recordset->RecordCount() > 0;
  } catch (const std::exception& e) {
    log.LogError("The backup history cannot be read: %s", e.what());
    return false;
  }
}

std::string DPX_GUIManager::helpFilePath(const std::string& folder, const std::string& code) {
  std::string base = dpx::StringTable::Load(kHelpFileBaseId);
  if (base.empty()) base = kHelpFileBase;
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + base + "_" + (DPX_Duplora::isSupportedLanguage(code) ? code : "EN") + ".chm";
}

HRESULT DPX_GUIManager::showHelp() {
  std::string folder;
  DPX_Util::GetModuleFolder(folder);
  const std::string code = dpx::hostclient::AddOnUtil::ISOLangIDFromLanguage(getLanguage());
  if (helpOpener_) helpOpener_("file:///" + helpFilePath(folder, code));
  return dpx::S_OK;
}

namespace {

// One filter of a file dialog: the filter text, with the extension's pattern
// when the text carries none.
QString Filter(uint32_t textId, const std::string& extension) {
  QString text = Q(Load(textId));
  const QString pattern = "*." + Q(extension);
  if (!text.contains('(')) text += " (" + pattern + ")";
  return text;
}

HRESULT RunFileDialog(bool save, const std::string& title, const std::string& initialFolder, std::string& path,
                      const std::string& extension, uint32_t filterTextId, const std::string& okText) {
  QFileDialog dialog(DPX_DuploraApp::MainFrame(), Q(title));
  dialog.setObjectName(save ? "saveFileDialog" : "openFileDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters{Filter(filterTextId, extension)};
  if (!save) filters << Q(Load(2034)).replace("*.*", "*");
  dialog.setNameFilters(filters);
  const QFileInfo preset(Q(path));
  if (!save && !path.empty() && preset.suffix() != Q(extension)) dialog.selectNameFilter(filters.value(1));
  if (!initialFolder.empty()) dialog.setDirectory(Q(initialFolder));
  if (!path.empty()) dialog.selectFile(Q(path));
  if (!okText.empty()) dialog.setLabelText(QFileDialog::Accept, Q(okText));
  // A name typed without an extension gets the file type's.
  if (save) dialog.setDefaultSuffix(Q(extension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return dpx::S_FALSE;
  path = S(dialog.selectedFiles().first());
  return dpx::S_OK;
}

}  // namespace

HRESULT DPX_GUIManager::showOpenFileForm(const std::string& title, const std::string& initialFolder, std::string& path,
                                         const std::string& extension, uint32_t filterTextId,
                                         const std::string& okText) {
  return RunFileDialog(false, title, initialFolder, path, extension, filterTextId, okText);
}

HRESULT DPX_GUIManager::showSaveFileForm(const std::string& title, const std::string& initialFolder, std::string& path,
                                         const std::string& extension, uint32_t filterTextId,
                                         const std::string& okText) {
  return RunFileDialog(true, title, initialFolder, path, extension, filterTextId, okText);
}
