// Users (table OUSR, business object 12), matched between companies by user
// code, with what they refer to: departments (OUDP) and branches (OUBR),
// plain rows matched by name, and the additional authorizations (OUPT,
// business object 214), matched by their number. Those three travel whole,
// whatever users are chosen, and are added or updated before the users
// without copy-log lines; the removal pass removes users only, and only those
// the base lacks (never a superuser), so a user both have keeps its password. A user's
// department and branch become the target's codes of the same names. A user
// added to the target gets the password "GARNET" and no defaults group.
#pragma once

#include "categories/object_category.h"

class DPX_UsersManager : public DPX_ObjectCategory {
 public:
  DPX_UsersManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Read as the whole category at once.
  bool readsInSlices() const override { return false; }
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;
  // Written as the whole category at once.
  bool writesInSlices() const override { return false; }
  void prepareObject(int32_t objectType, const std::shared_ptr<dpx::host::BusinessObject>& object,
                     int32_t operation) override;
  void mapReferences(std::string tableName, std::string& rowXml, int32_t mode) override;

  // The password every user added by a copy starts with.
  static constexpr const char* kNewUserPassword = "GARNET";

 private:
  // Departments or branches: every row added or updated by name, silently.
  void writeNamedRows(DPX_OperationArgs& block, int32_t counterObjectType);
};
