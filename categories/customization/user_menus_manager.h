// User menus: each user's personal menu, read and written whole through the
// company's user-menu service and carried as one record per user: the
// user's code in "<User>" (escaped) and the host's menu XML. In the target
// the menu replaces the whole menu of the user with the same user code; a
// user the target lacks is passed over without a line. Users are named by
// their internal key in both companies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/di_interface.h"

// The target user's internal key by user code; -1 when the target has no such user.
int64_t TargetUserId(DPX_ConnectionContext* context, const std::string& userCode);

class DPX_UserMenusManager : public DPX_DIInterface {
 public:
  DPX_UserMenusManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  int64_t getUserId(const std::string& userCode) { return TargetUserId(m_context, userCode); }
  // Replaces the target user's menu with the entries of the menu XML and
  // writes the user's line; the menu is stored all at once.
  void writeUserMenu(int64_t userId, const std::string& userCode, const std::string& menuXml);
};
