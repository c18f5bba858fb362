// User-defined object registrations (table OUDO, the registration object
// 206 with its child-table, find-column and form-column lines). A
// registration travels as a document of its own, built property by property
// and read back the same way into a new registration of the target; it is
// matched in the target by its Code. Under Replace All the removal pass
// removes every registration of the target first.
#pragma once

#include <memory>

#include "engine/di_interface.h"

namespace dpx::host {
class HostObject;
}

class DPX_UserDefinedObjectsManager : public DPX_DIInterface {
 public:
  using ObjectPtr = std::shared_ptr<dpx::host::HostObject>;

  DPX_UserDefinedObjectsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  bool initialize() override;
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;
  DPX_TableInfo* collectDetails() override;
  void writeData(std::vector<DPX_OperationArgs> blocks, uint8_t method) override;

  // The document of the registration the object holds. Raises HostError
  // when a property cannot be read.
  std::string writeObjectXml(const ObjectPtr& registration);
  // A new registration object of the target filled from a record's
  // document. Raises HostError when the host refuses a value.
  ObjectPtr readObjectXml(const DPX_OperationArgs::DataItem& record);
  // Every registration of the base, or the chosen ones. A code the base
  // cannot read is left out (and logged), never saved with other values.
  DPX_OperationArgs readAllObjects();
  DPX_OperationArgs readChosenObjects(const std::vector<DPX_DetailRecord>& chosen);
  // Marks each record as existing in the target or not, dropping what the
  // method does not write, and gives it its log code and description.
  void findTargetObject(DPX_OperationArgs& block, const std::vector<std::string>& listColumns, uint8_t method);
  // Write one registration into the target with its copy-log line.
  void addObject(const DPX_OperationArgs::DataItem& record);
  void updateObject(const DPX_OperationArgs::DataItem& record);

 private:
  void writeObject(const DPX_OperationArgs::DataItem& record, bool add);
  bool appendRegistration(DPX_OperationArgs& block, dpx::host::Company& base, const std::string& code);
};
