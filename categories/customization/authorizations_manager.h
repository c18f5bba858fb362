// Authorizations: the permission values of the base's users who are not
// superusers, copied into the users of the same user code in the target, one
// permission at a time through the company's bridge. One record per user
// holds its code, its name and one element "A<id>" per permission id.
// Superusers are never listed, read or written.
#pragma once

#include <string>
#include <vector>

#include "engine/di_interface.h"

class DPX_AuthorizationsManager : public DPX_DIInterface {
 public:
  DPX_AuthorizationsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  // The host's permission ids, in the order of the record's elements and of the writes.
  static const std::vector<std::string>& permissionIds();

 private:
  // One user's permissions into the target; its line is "402" only when no update was refused.
  void writeUser(dpx::host::Company& target, const DPX_OperationArgs::DataItem& item);
};
