// Initial quantities: a category of the tree that copies nothing. Its
// manager reads nothing, lists nothing and writes nothing, whatever the
// copy method, so that the category has a manager like any other.
#pragma once

#include "engine/di_interface.h"

class DPX_InitialQuantitiesManager : public DPX_DIInterface {
 public:
  DPX_InitialQuantitiesManager(DPX_ConnectionContext* context, const std::string& categoryKey)
      : DPX_DIInterface(context, categoryKey) {}

  int32_t readFromDB(std::vector<DPX_OperationArgs>&, std::vector<DPX_DetailRecord>) override { return 0; }
  DPX_TableInfo* readFromFile(dpx::ConfigurationSource*) override { return &m_tableInfo; }
  DPX_TableInfo* collectDetails() override { return &m_tableInfo; }
  void writeData(std::vector<DPX_OperationArgs>, uint8_t) override {}
};
