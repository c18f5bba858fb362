// Creates or upgrades the program's user tables (@DPXSETT, @DPXNOTE) in the
// company the add-on runs in, and refills the notes table with notes 1 to 30.
// Runs once per application load, before the settings are read.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/framework/host_error.h"

class DPX_ConnectionContext;

namespace dpx {
class DbDef;
class HostApplication;
namespace host {
class Company;
}
}  // namespace dpx

class DPX_UDTManager {
 public:
  // Makes the user-table definition object for a check (tests put their own).
  using DbDefFactory = std::function<std::unique_ptr<dpx::DbDef>(std::shared_ptr<dpx::HostApplication>,
                                                                 std::shared_ptr<dpx::host::Company>)>;

  explicit DPX_UDTManager(DPX_ConnectionContext* context) : context_(context) {}

  // Not negative when the tables are usable; the load stops otherwise.
  dpx::HRESULT checkCompany();
  // Creates or upgrades the tables of the definition resource.
  dpx::HRESULT createTables(dpx::DbDef& definition);
  // Stores notes 1 to 30; always 0.
  dpx::HRESULT updateTables();
  // Writes one note row; tells the user when it fails.
  dpx::HRESULT storeNote(int32_t id, const std::string& key);

  static void SetDbDefFactory(DbDefFactory factory);

 private:
  DPX_ConnectionContext* context_;
};
