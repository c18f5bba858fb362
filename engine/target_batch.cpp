#include "engine/target_batch.h"

#include <exception>
#include <utility>

#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"

namespace dpx {

TargetBatch::TargetBatch(DPX_ConnectionContext* context) {
  if (!context) return;
  target_ = context->getTargetCompany();
  log_ = context->copyLog;
}

TargetBatch::~TargetBatch() {
  if (!open_) return;
  try {
    commit();
  } catch (const std::exception& e) {
    DPX_LogScope scope("TargetBatch::~TargetBatch");
    scope.LogError("The last records of a block were not committed: %s", e.what());
  } catch (...) {
    DPX_LogScope scope("TargetBatch::~TargetBatch");
    scope.LogError("The last records of a block were not committed");
  }
}

void TargetBatch::begin() {
  target_->StartTransaction();
  open_ = true;
  if (log_) log_->holdLines();
}

void TargetBatch::write(std::function<void()> write) {
  if (!open_) {
    // A caller's own transaction decides for everything written in it.
    if (!target_ || !target_->Connected() || target_->InTransaction()) {
      write();
      return;
    }
    begin();
  }
  writes_.push_back(std::move(write));
  try {
    target_->StartSavepoint();
    try {
      writes_.back()();
    } catch (...) {
      target_->EndSavepoint(host::kEndRollback);
      throw;
    }
    target_->EndSavepoint(host::kEndCommit);
  } catch (...) {
    replay();  // the record that raised raises again there, with its own line
    return;
  }
  if (!target_->InTransaction()) {
    replay();  // the target ended the transaction: nothing of the batch stands
    return;
  }
  if (writes_.size() >= kLimit) commit();
}

void TargetBatch::commit() {
  if (!open_) return;
  try {
    target_->EndTransaction(host::kEndCommit);
    if (target_->InTransaction()) throw std::runtime_error("The target kept the transaction open");
  } catch (...) {
    replay();
    return;
  }
  open_ = false;
  writes_.clear();
  if (log_) log_->releaseLines();
}

void TargetBatch::replay() {
  open_ = false;
  std::vector<std::function<void()>> writes;
  writes.swap(writes_);
  if (log_) log_->dropLines();
  try {
    if (target_->InTransaction()) target_->EndTransaction(host::kEndRollback);
  } catch (const std::exception& e) {
    DPX_LogScope scope("TargetBatch::replay");
    scope.LogError("Roll-back of a batch failed: %s", e.what());
  }
  for (auto& write : writes) write();
}

}  // namespace dpx
