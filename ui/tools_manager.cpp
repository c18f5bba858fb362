#include "ui/tools_manager.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "engine/connection_context.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/hostclient/add_on_util.h"
#include "platform/hostclient/host_client.h"
#include "ui/client_application.h"
#include "ui/duplora_app.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"

using dpx::DPX_LogScope;
using dpx::HRESULT;
using dpx::hostclient::AddOnUtil;
using dpx::hostclient::HostClient;
using dpx::hostclient::HostForm;

namespace {

constexpr const char* kMenuPrefix = "DPX_";

// The five top-level menus of the main window: position and caption id.
constexpr uint32_t kTopMenus[] = {500, 501, 502, 503, 504};

DPX_MainFrame* Frame() {
  DPX_DuploraApp* app = DPX_DuploraApp::instance();
  return app ? app->mainFrame() : nullptr;
}

}  // namespace

DPX_ToolsManager::DPX_ToolsManager(DPX_ConnectionContext* context) : context_(context) {
  menuKeys_.clear();
  buildMenuKeyTable();
  AddOnUtil::RegisterMenuKeys(menuKeys_);
}

void DPX_ToolsManager::buildMenuKeyTable() {
  static const std::pair<const char*, uint32_t> kKeys[] = {
      {"DPX_MNU_MO_OPENAPPLICATION_100", 505}, {"DPX_MNU_MH_FILE_100", 500},
      {"DPX_MNU_MH_EDIT_100", 501},            {"DPX_MNU_MH_VIEW_100", 502},
      {"DPX_MNU_MH_DATA_100", 503},            {"DPX_MNU_MH_HELP_100", 504},
      {"DPX_MNU_MO_NEWWORKSHEET_100", 506},    {"DPX_MNU_MO_OPENWORKSHEET_100", 507},
      {"DPX_MNU_MO_OPENLOGFILE_100", 508},     {"DPX_MNU_MO_CLOSEWORKSHEET_100", 509},
      {"DPX_MNU_MO_SAVEWORKSHEET_100", 510},   {"DPX_MNU_MO_SAVECONFFILE_100", 511},
      {"DPX_MNU_MO_COPYTOCOMPANY_100", 512},   {"DPX_MNU_MO_PRINT_100", 513},
      {"DPX_MNU_MO_WSPROPERTIES_100", 514},    {"DPX_MNU_MO_OPTIONS_100", 515},
      {"DPX_MNU_MO_EXIT_100", 516},            {"DPX_MNU_MO_DISPLAYDEPENCIES_100", 517},
      {"DPX_MNU_MO_HIDEDEPENDENCIES_100", 518}, {"DPX_MNU_MO_SELECTIONVIEW_100", 519},
      {"DPX_MNU_MO_UNDOSELECTION_100", 520},   {"DPX_MNU_MO_SORT_100", 521},
      {"DPX_MNU_MO_FILTER_100", 522},          {"DPX_MNU_MO_HELP_100", 523},
      {"DPX_MNU_MO_ABOUT_100", 524},
  };
  for (const auto& [key, id] : kKeys) menuKeys_.push_back({key, id, ""});
}

HRESULT DPX_ToolsManager::initializeQuillonMenu() {
  DPX_LogScope log("DPX_ToolsManager::initializeQuillonMenu");
  removeQuillonMenu();
  return loadMenuFromXML(kAddMenuResource);
}

HRESULT DPX_ToolsManager::removeQuillonMenu() {
  DPX_LogScope log("DPX_ToolsManager::removeQuillonMenu");
  return loadMenuFromXML(kRemoveMenuResource);
}

HRESULT DPX_ToolsManager::loadMenuFromXML(uint32_t resourceId) {
  DPX_LogScope log("DPX_ToolsManager::loadMenuFromXML");
  HostClient* client = DPX_ClientApplication::ClientOf(context_);
  if (!client) return dpx::E_FAIL;
  HostForm* form = nullptr;
  HRESULT result = dpx::S_OK;
  try {
    form = &client->form(HostClient::kMenuForm, 1);
    form->Freeze(true);
    const int language = client->language();
    std::string contents, document;
    result = loader_.GetResourceFileContents(language, resourceId, contents);
    if (dpx::Failed(result)) {
      log.LogError("Failed to get resource file contents of resource %d", static_cast<int>(resourceId));
    } else if (result = loader_.LoadXML(language, contents, document, menuKeys_, language); dpx::Failed(result)) {
      log.LogError("Failed to localize menu");
    } else if (document.empty()) {
      result = dpx::E_FAIL;
      log.LogError("Failed to load localized menu xml file");
    } else {
      result = client->loadBatchActions(document);
      // A warning only: removing an entry that is not there fails on every start.
      if (dpx::Failed(result)) log.LogWarning("Failed to update menu from resource %d", static_cast<int>(resourceId));
      log.LogDbg0("%s", client->lastBatchResults());
    }
  } catch (const dpx::HostError& e) {
    log.LogError("Exception caught: %d", e.code());
    result = e.code();
  } catch (const std::exception& e) {
    log.LogError("Unknown exception caught: %s", e.what());
    result = dpx::E_FAIL;
  }
  if (form) {
    form->Freeze(false);
    form->Update();
  }
  return result;
}

HRESULT DPX_ToolsManager::enableQuillonMenuItem(uint32_t commandId, bool enable) {
  DPX_LogScope log("DPX_ToolsManager::enableQuillonMenuItem");
  try {
    HostClient* client = DPX_ClientApplication::ClientOf(context_);
    if (!client) return dpx::E_FAIL;
    if (QAction* item = client->menuItem(AddOnUtil::GetMenuUID(kMenuPrefix, commandId))) item->setEnabled(enable);
    return dpx::S_OK;
  } catch (const dpx::HostError& e) {
    log.LogError("Exception caught: %s\n", dpx::StatusMessage(e.code()));
    return e.code();
  }
}

HRESULT DPX_ToolsManager::initializeWinMenu(const DPX_MenuStateTable& table) { return updateSubmenus(table); }

HRESULT DPX_ToolsManager::updateSubmenus(const DPX_MenuStateTable& table) {
  HRESULT result = dpx::S_OK;
  for (int position = 0; position < 5; ++position) {
    const HRESULT r = updateSubmenu(position, kTopMenus[position], table);
    if (dpx::Failed(r)) result = r;
  }
  return result;
}

HRESULT DPX_ToolsManager::updateSubmenu(int position, uint32_t stringId, const DPX_MenuStateTable& table) {
  DPX_MainFrame* frame = Frame();
  if (!frame) return dpx::E_FAIL;
  const auto items = frame->menuBar()->actions();
  if (position < 0 || position >= items.size()) return dpx::E_FAIL;
  QAction* item = items[position];
  item->setText(dpx::ui::Text(stringId));
  const bool enabled = table.find(stringId).value_or(false);
  item->setEnabled(enabled);
  if (QMenu* menu = item->menu()) menu->setEnabled(enabled);
  return dpx::S_OK;
}

HRESULT DPX_ToolsManager::enableMenu(const DPX_MenuStateTable& table) {
  DPX_LogScope log("DPX_ToolsManager::enableMenu");
  DPX_MainFrame* frame = Frame();
  if (frame) frame->setMenuStateTable(&table);
  for (const auto& entry : table.entries())
    if (entry.id == kOpenCommand) enableQuillonMenuItem(kOpenCommand, entry.enabled);
  const HRESULT result = updateSubmenus(table);
  if (frame) frame->menuBar()->update();
  return result;
}
