// A copy's hold on its target company. For the whole copy it holds an
// exclusive lock of the target, so that a second copy into the same company
// is refused at once instead of interleaving its writes with the first; and
// it tells whether the target can be written at all, before the first record
// and again after a record failed, so that a target that another program
// holds, that became read-only or whose disk is full stops the copy instead
// of failing every record in turn.
//
// The lock is a DPX_CompanyLock: every copy that reaches the server takes the
// same file, and the lock ends with the process that held it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "engine/company_lock.h"

namespace dpx::host {
class Company;
}

class DPX_TargetGuard {
 public:
  explicit DPX_TargetGuard(std::shared_ptr<dpx::host::Company> target);
  ~DPX_TargetGuard();
  DPX_TargetGuard(const DPX_TargetGuard&) = delete;
  DPX_TargetGuard& operator=(const DPX_TargetGuard&) = delete;

  // Takes the exclusive lock of the target company. False, with a message
  // naming the target in `error`, when another copy holds it or the lock
  // cannot be taken; nothing is held then.
  bool lock(std::string& error);
  bool locked() const { return lock_ != nullptr; }
  void unlock();

  // Whether a company takes writes now: a write that changes nothing is run
  // on it. False, with the host's reason in `reason`, when it does not.
  static bool CanWrite(const std::shared_ptr<dpx::host::Company>& company, std::string& reason);
  // Whether the company's last refusal came from its disk (full, or failing
  // to write), with the host's text in `reason`.
  static bool OutOfRoom(const std::shared_ptr<dpx::host::Company>& company, std::string& reason);
  // Raises DPX_CopyStopped, naming the company and the reason, when it does
  // not take writes or its last refusal came from its disk.
  static void StopUnlessWritable(const std::shared_ptr<dpx::host::Company>& company);

  // The lock file of a company database on a server.
  static std::filesystem::path LockFile(const dpx::host::Company& company);

 private:
  std::shared_ptr<dpx::host::Company> target_;
  std::unique_ptr<DPX_CompanyLock> lock_;
};
