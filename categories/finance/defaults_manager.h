// Users' defaults: the defaults groups (table OUDG, business object 93) are
// added or updated by code whatever the copy method and without copy-log
// lines; then each picked user that the target has (by user code) takes the
// base user's defaults group, with one line that names the group it had.
// Users are neither added nor removed, and nothing else of a user changes.
// The removal pass of Replace All writes nothing.
#pragma once

#include "categories/finance/user_defaults_category.h"

class DPX_DefaultsManager : public DPX_UserDefaultsCategory {
 public:
  DPX_DefaultsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }

 private:
  void writeUsersGroups(DPX_OperationArgs& block);
};
