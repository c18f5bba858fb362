// What the three categories of the users' defaults share (the defaults
// groups, the default report layouts, the default series): the record list
// shows the base's users (table OUSR, business object 12), which the user
// ticks; every read carries the users' records; and the rows a category
// writes name their user by its number, which travels by the user's code.
#pragma once

#include <string>
#include <vector>

#include "categories/object_category.h"

// A table of rows per user that a category writes by SQL.
struct DPX_UserRowTable {
  std::string table;
  std::vector<std::string> keyColumns;
  std::vector<std::string> columns;  // also the copy log's code and description
  std::string userColumn;            // the user's number
  std::vector<DPX_ReferenceField> references;  // translated in this order
};

class DPX_UserDefaultsCategory : public DPX_ObjectCategory {
 public:
  // withGroup: the list also shows the user's defaults group; firstBlock: a
  // configuration file's record list is its first block (the users').
  DPX_UserDefaultsCategory(DPX_ConnectionContext* context, const std::string& categoryKey, bool withGroup,
                           bool firstBlock, std::vector<DPX_DependentBlock> dependents = {});

  DPX_TableInfo* readFromFile(dpx::ConfigurationSource* configuration) override;

 protected:
  // Every user of the base, whichever were picked.
  DPX_OperationArgs readAllUsers();
  // The table's rows of the picked users (every row without a pick), with
  // their references resolved.
  DPX_OperationArgs readUserRows(const DPX_UserRowTable& rows, const std::vector<DPX_DetailRecord>& chosen);
  // The rows under their target keys: add-or-update (4) or update only (2).
  // The rows of users the target lacks are left out.
  void writeUserRows(DPX_OperationArgs& block, const DPX_UserRowTable& rows, uint8_t method);

 private:
  bool m_firstBlock;
};
