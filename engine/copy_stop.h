// Ending a copy before its end. A copy stops when its target company can no
// longer be written (another program holds it, or it became read-only) or
// when the user interrupts it; the copy driver then writes one line saying
// why, ends the copy log and reports the copy as failed.
#pragma once

#include <string>

#include "platform/framework/host_error.h"

// The status of a copy that stopped before its end.
constexpr dpx::HRESULT DPX_E_COPY_STOPPED = static_cast<dpx::HRESULT>(0x80040520u);

// Raised where a copy notices that it must stop. Deliberately not a
// std::exception: the handlers that turn a failed record into a "403" line
// and go on with the next record catch std::exception, and none of them may
// swallow this.
class DPX_CopyStopped {
 public:
  explicit DPX_CopyStopped(std::string reason) : reason_(std::move(reason)) {}
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

namespace dpx {

// Asks the copy under way to stop at its next record or category. Safe to
// call from a signal handler.
void RequestCopyInterruption() noexcept;
bool CopyInterruptionRequested() noexcept;
void ClearCopyInterruption() noexcept;

// Raises DPX_CopyStopped when an interruption was asked for.
void StopIfInterrupted();

}  // namespace dpx
