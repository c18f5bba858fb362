#include "engine/target_batch.h"

#include <exception>
#include <utility>

#include "engine/company_transaction.h"
#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "engine/copy_stop.h"
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
  CompanyTransaction::Hold(*target_);
  open_ = true;
  if (log_) log_->holdLines();
}

void TargetBatch::end() {
  if (!open_) return;
  open_ = false;
  CompanyTransaction::Release(*target_);
}

void TargetBatch::refuseLeftover() {
  // Whatever it holds was written by a write that failed to end it: none of
  // it may be committed, and nothing may be written into it.
  std::string name;
  try {
    name = target_->CompanyDB();
    target_->EndTransaction(host::kEndRollback);
  } catch (const std::exception& e) {
    DPX_LogScope scope("TargetBatch::refuseLeftover");
    scope.LogError("Roll-back of a transaction left open failed: %s", e.what());
  }
  throw DPX_CopyStopped("The target company '" + name +
                        "' was left in a transaction that no write of the copy holds (a write before failed to end "
                        "it); it was rolled back and the copy stopped here");
}

void TargetBatch::write(std::function<void()> write) {
  if (!open_) {
    if (!target_ || !target_->Connected()) {
      write();
      return;
    }
    if (target_->InTransaction()) {
      // A caller's own transaction decides for everything written in it.
      if (CompanyTransaction::Held(*target_)) {
        write();
        return;
      }
      refuseLeftover();
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
  // The lines go into the copy log before the records are committed: a
  // record the target keeps always has its line. A log that cannot take them
  // undoes the records, which then have none, and the copy stops.
  if (log_) {
    try {
      log_->releaseLines();
    } catch (...) {
      writes_.clear();
      rollBack();
      throw;
    }
  }
  try {
    target_->EndTransaction(host::kEndCommit);
    if (target_->InTransaction()) throw std::runtime_error("The target kept the transaction open");
  } catch (...) {
    if (log_) log_->takeBackLines();
    replay();
    return;
  }
  end();
  writes_.clear();
}

void TargetBatch::rollBack() {
  end();
  if (log_) log_->dropLines();
  try {
    if (target_->InTransaction()) target_->EndTransaction(host::kEndRollback);
  } catch (const std::exception& e) {
    DPX_LogScope scope("TargetBatch::rollBack");
    scope.LogError("Roll-back of a batch failed: %s", e.what());
  }
}

void TargetBatch::replay() {
  std::vector<std::function<void()>> writes;
  writes.swap(writes_);
  rollBack();
  for (auto& write : writes) write();
}

}  // namespace dpx
