#include "engine/copy_stop.h"

#include <atomic>

namespace dpx {

namespace {
// Lock-free, so that a signal handler may set it.
std::atomic<bool> interruption{false};
static_assert(std::atomic<bool>::is_always_lock_free);
}  // namespace

void RequestCopyInterruption() noexcept { interruption.store(true); }
bool CopyInterruptionRequested() noexcept { return interruption.load(); }
void ClearCopyInterruption() noexcept { interruption.store(false); }

void StopIfInterrupted() {
  if (CopyInterruptionRequested())
    throw DPX_CopyStopped("The copy was interrupted; the records after this line were not copied");
}

}  // namespace dpx
