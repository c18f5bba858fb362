// The two kinds of menu the program has: the entry "Open Duplora" in the host
// client's menu (added and removed through the menu batch resources 136 and
// 128, localised through the menu key table) and the five top-level menus of
// the program's own main window, captioned in the host language and enabled
// from the GUI controller's menu-state table.
#pragma once

#include <cstdint>

#include "platform/framework/host_error.h"
#include "platform/hostclient/resource_loader.h"
#include "ui/menu_state_table.h"

class DPX_ConnectionContext;

class DPX_ToolsManager {
 public:
  static constexpr uint32_t kOpenCommand = 505;
  static constexpr uint32_t kAddMenuResource = 136;
  static constexpr uint32_t kRemoveMenuResource = 128;

  explicit DPX_ToolsManager(DPX_ConnectionContext* context);
  virtual ~DPX_ToolsManager() = default;
  DPX_ToolsManager(const DPX_ToolsManager&) = delete;
  DPX_ToolsManager& operator=(const DPX_ToolsManager&) = delete;

  // Removes the host entry (a missing one is no failure) and adds it again.
  dpx::HRESULT initializeQuillonMenu();
  dpx::HRESULT removeQuillonMenu();
  dpx::HRESULT loadMenuFromXML(uint32_t resourceId);
  dpx::HRESULT enableQuillonMenuItem(uint32_t commandId, bool enable);

  dpx::HRESULT initializeWinMenu(const DPX_MenuStateTable& table);
  dpx::HRESULT updateSubmenus(const DPX_MenuStateTable& table);
  dpx::HRESULT updateSubmenu(int position, uint32_t stringId, const DPX_MenuStateTable& table);
  // Hands the table to the main frame, applies it to the host entry (every
  // entry of 505, in table order) and to the five menus.
  dpx::HRESULT enableMenu(const DPX_MenuStateTable& table);

  const dpx::hostclient::XmlMap& menuKeyTable() const { return menuKeys_; }

 protected:
  virtual void buildMenuKeyTable();

 private:
  DPX_ConnectionContext* context_;
  dpx::hostclient::ResourceLoader loader_;
  dpx::hostclient::XmlMap menuKeys_;
};
