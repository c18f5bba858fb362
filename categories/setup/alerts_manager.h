// Alerts: the user alerts of a company (table OALT, Type 'U', object code 80)
// with their recipients (ALT1). An alert is matched by its name among the
// target's user alerts (a system alert of the same name is another alert)
// and gets the target's code of that alert, or the target's highest code + 1; its query
// becomes the target's query of the same name. Recipients follow their
// alert to its code in the target and name their user by user code; a
// recipient whose alert was not written, or whose user the target lacks, is
// dropped. The removal pass removes the user alerts and their recipients only.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "categories/table_category.h"

class DPX_AlertsManager : public DPX_TableCategory {
 public:
  DPX_AlertsManager(DPX_ConnectionContext* context, const std::string& categoryKey);

  static DPX_TableCategoryDefinition Definition();
  int32_t readFromDB(std::vector<DPX_OperationArgs>& blocks, std::vector<DPX_DetailRecord> chosen) override;
  // Base alert code -> target alert code, for the alerts this write pass wrote.
  const std::map<std::string, std::string>& alertCodeMap() const { return writtenKeys(); }
};
