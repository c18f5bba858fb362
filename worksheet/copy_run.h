// The run of one copy once the user's questions are answered, as the desktop
// tool's copy command and the command-line client both run it: the target
// locked for the whole copy, the copy log opened with its header, the
// selection saved to a private temporary file and read back through both
// passes, the log ended and closed, and the context's target configuration
// file as it was before, also after a failure.
#pragma once

#include <memory>
#include <string>

#include "engine/copy_log.h"
#include "engine/target_guard.h"
#include "platform/framework/host_error.h"

class DPX_ConfigurationManager;
class DPX_ConnectionContext;
class DPX_Worksheet;

class DPX_CopyRun {
 public:
  explicit DPX_CopyRun(DPX_ConnectionContext* context);
  ~DPX_CopyRun();
  DPX_CopyRun(const DPX_CopyRun&) = delete;
  DPX_CopyRun& operator=(const DPX_CopyRun&) = delete;

  // Takes the exclusive lock of the context's target; false with the reason
  // in `error` when another copy holds it.
  bool lockTarget(std::string& error);
  // Opens a new copy log in the log folder of the settings; false when it
  // cannot be created (the run may try again after the folder was changed).
  bool openLog();
  // The copy with the open log. The copy's result; E_FAIL with the reason in
  // `error` when it ended early. The log is closed afterwards in every case.
  dpx::HRESULT copy(DPX_Worksheet& worksheet, DPX_ConfigurationManager& configuration, bool baseIsFile,
                    std::string& error);

 private:
  DPX_ConnectionContext* context_;
  DPX_TargetGuard guard_;
  DPX_CopyLog log_;
};
