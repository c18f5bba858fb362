#include "worksheet/copy_run.h"

#include <exception>

#include "engine/connection_context.h"
#include "engine/copy_stop.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/private_temp_folder.h"
#include "worksheet/worksheet.h"

namespace {
// The name of the copy's configuration file in its private folder.
constexpr const char* kTemporaryFile = "DPX_Config.xml";
}  // namespace

DPX_CopyRun::DPX_CopyRun(DPX_ConnectionContext* context)
    : context_(context), guard_(context->getTargetCompany()), log_(context) {}

DPX_CopyRun::~DPX_CopyRun() {
  if (context_->copyLog == &log_) context_->copyLog = nullptr;
}

bool DPX_CopyRun::lockTarget(std::string& error) { return guard_.lock(error); }

bool DPX_CopyRun::openLog() { return log_.open(); }

dpx::HRESULT DPX_CopyRun::copy(DPX_Worksheet& worksheet, DPX_ConfigurationManager& configuration, bool baseIsFile,
                               std::string& error) {
  try {
    log_.writeHeader();
  } catch (const DPX_CopyStopped& stop) {
    // Not one record is copied without its log.
    error = stop.reason();
    log_.close();
    return DPX_E_COPY_STOPPED;
  }
  context_->copyLog = &log_;
  dpx::HRESULT result = dpx::E_FAIL;
  {
    dpx::PrivateTempFolder folder;
    if (folder.path().empty()) {
      error = "cannot make a private temporary folder";
    } else {
      const std::string keptTargetFile = context_->getTargetFile();
      context_->setTargetFile((folder.path() / kTemporaryFile).string());
      try {
        result = configuration.writeConfiguration(worksheet, baseIsFile);
      } catch (const std::exception& e) {
        error = std::string("the copy ended early: ") + e.what();
        result = dpx::E_FAIL;
      }
      context_->setTargetFile(keptTargetFile);
    }
  }
  try {
    log_.writeEndMarker();
  } catch (const DPX_CopyStopped&) {
    // The log ends with its last whole line; the copy is not a success.
    error = "the copy log '" + log_.path() + "' cannot be written (" + log_.writeFailure() +
            "): it ends without its end marker";
    if (!dpx::Failed(result)) result = DPX_E_COPY_STOPPED;
  }
  log_.close();
  context_->copyLog = nullptr;
  return result;
}
