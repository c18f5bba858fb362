// Edits the stored record XML of one category object of a configuration
// file as text: writes the values the user changed in the record list into
// the records they belong to (mergeAll, mergeSingle), and drops from a table
// block of a file base the records that a partial selection does not name
// (removeUnselected). Made on the stack for one object text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/host_error.h"

class DPX_ConnectionContext;
class DPX_SelectionObject;

namespace dpx {
class ComponentLogger;
}

class DPX_ChangedDataManager {
 public:
  DPX_ChangedDataManager(DPX_ConnectionContext* context, std::shared_ptr<dpx::ComponentLogger> logger);

  // mergeSingle for every selection object in order, each on the text the
  // previous one left; the result of the last one (0 for an empty list).
  long mergeAll(std::string& objectText, const std::vector<DPX_SelectionObject>& selection);

  // Writes the selection object's additionalData values into every record
  // its subsKey fields name: the first matching record of each "<BOM>" block
  // of its table (of every table when its table name is empty). 0 when at
  // least one value was written, else E_FAIL.
  long mergeSingle(const DPX_SelectionObject& selection, std::string& objectText);

  // Removes from one "<table ...>...</table>" text every record that no
  // selection object names by its subsKey fields. A row of a table category
  // is judged by its own key elements; a business object by its first row.
  // An empty selection list empties the text. Always 0.
  long removeUnselected(std::string& tableText, const std::vector<DPX_SelectionObject>& selection);

 private:
  void log(int level, const char* method, const std::string& message) const;

  DPX_ConnectionContext* context_;
  std::shared_ptr<dpx::ComponentLogger> logger_;
};
