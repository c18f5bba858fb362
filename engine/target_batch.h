// The writes of one block of records into the target company, grouped into
// transactions. Each record runs under a savepoint of its own, so a record
// the target refuses undoes only itself; its copy-log line waits with the
// others of the batch and is written when the batch commits. A batch holds at
// most kLimit records.
//
// A failure that ends the whole transaction (a full disk, an I/O error, a
// busy or vanished database), or a commit that fails, undoes every record of
// the batch: their lines are dropped and the records are written again one
// by one without a batch, so each gets exactly one line that tells what the
// target holds. The same happens when a record's write raises: the copy may
// have to stop there, and the records before it still get their true lines.
//
// The lines of a batch are in the copy log before its records are committed.
// A log that cannot take them undoes the batch (its records have no line)
// and stops the copy; a commit that fails cuts them off the log again.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

class DPX_ConnectionContext;
class DPX_CopyLog;

namespace dpx::host {
class Company;
}

namespace dpx {

class TargetBatch {
 public:
  static constexpr size_t kLimit = 1000;

  // Without a target company every record is written on its own.
  explicit TargetBatch(DPX_ConnectionContext* context);
  // Commits what the batch still holds; a failure there is logged.
  ~TargetBatch();
  TargetBatch(const TargetBatch&) = delete;
  TargetBatch& operator=(const TargetBatch&) = delete;

  // Writes one record (and its copy-log line) by calling `write`, which may
  // be called again later for the replay described above. A transaction the
  // caller already holds (a CompanyTransaction, another batch) is left to the
  // caller: the record is written in it. One that no one holds was left open
  // by a write that failed: it is rolled back and the copy stops
  // (DPX_CopyStopped), for nothing may be written into it.
  void write(std::function<void()> write);
  // Commits the records written so far. Raises DPX_CopyStopped, with the
  // batch undone, when the copy log cannot take their lines.
  void commit();

 private:
  void begin();
  void end();
  [[noreturn]] void refuseLeftover();
  // Undoes the open batch and forgets its lines.
  void rollBack();
  // Undoes the open batch and writes its records again one by one.
  void replay();

  std::shared_ptr<host::Company> target_;
  DPX_CopyLog* log_ = nullptr;
  bool open_ = false;
  std::vector<std::function<void()>> writes_;
};

}  // namespace dpx
