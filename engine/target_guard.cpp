#include "engine/target_guard.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "engine/copy_stop.h"
#include "platform/framework/host_error.h"
#include "platform/framework/log_scope.h"
#include "platform/host/company.h"
#include "platform/host/host_codes.h"
#include "platform/host/recordset.h"

DPX_TargetGuard::DPX_TargetGuard(std::shared_ptr<dpx::host::Company> target) : target_(std::move(target)) {}

DPX_TargetGuard::~DPX_TargetGuard() { unlock(); }

std::filesystem::path DPX_TargetGuard::LockFile(const dpx::host::Company& company) {
  return DPX_CompanyLock::File(company, ".lock");
}

bool DPX_TargetGuard::lock(std::string& error) {
  dpx::DPX_LogScope scope("DPX_TargetGuard::lock");
  if (lock_) return true;
  if (!target_) {
    error = "there is no target company";
    return false;
  }
  const std::string name = target_->CompanyDB();
  auto lock = std::make_unique<DPX_CompanyLock>(*target_, ".lock");
  const int cause = lock->take();
  if (cause != 0) {
    if (cause != EWOULDBLOCK) {
      error = "the target company '" + name + "' cannot be locked for the copy: " + lock->file().string() + ": " +
              std::strerror(cause);
      return false;
    }
    // The holder wrote who it is; a holder that has not yet done so is still a holder.
    std::ifstream in(lock->file());
    std::string holder{std::istreambuf_iterator<char>(in), {}};
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\r')) holder.pop_back();
    error = "another copy into the target company '" + name + "' is under way" +
            (holder.empty() ? std::string() : " (" + holder + ")") + "; try again when it has ended";
    scope.LogWarning("Target %s is locked by another copy", name);
    return false;
  }
  const std::string holder = "process " + std::to_string(::getpid());
  if (::ftruncate(lock->fd(), 0) != 0 || ::write(lock->fd(), holder.data(), holder.size()) < 0)
    scope.LogWarning("Cannot note the holder in %s", lock->file().string());  // the lock holds all the same
  lock_ = std::move(lock);
  return true;
}

void DPX_TargetGuard::unlock() {
  if (!lock_) return;
  // Emptied first: a file of a finished copy names no holder.
  if (::ftruncate(lock_->fd(), 0) != 0) {
    dpx::DPX_LogScope scope("DPX_TargetGuard::unlock");
    scope.LogWarning("Cannot empty the lock file: %s", std::strerror(errno));
  }
  lock_.reset();
}

bool DPX_TargetGuard::CanWrite(const std::shared_ptr<dpx::host::Company>& company, std::string& reason) {
  if (!company) {
    reason = "there is no target company";
    return false;
  }
  try {
    // A write that changes no row still needs the right to write: the server
    // refuses it when another connection holds the database or it is read-only.
    const bool quoted = company->DbServerType() == 5;
    auto recordset = company->NewRecordset();
    recordset->DoQuery(quoted ? "UPDATE \"OADM\" SET \"CompnyName\" = \"CompnyName\" WHERE 1 = 0"
                              : "UPDATE OADM SET CompnyName = CompnyName WHERE 1 = 0");
    return true;
  } catch (const dpx::HostError& e) {
    reason = e.description().empty() ? e.what() : e.description();
    return false;
  }
}

bool DPX_TargetGuard::OutOfRoom(const std::shared_ptr<dpx::host::Company>& company, std::string& reason) {
  if (!company) return false;
  const int code = company->GetLastErrorCode();
  if (code != dpx::host::kErrCompanyFull && code != dpx::host::kErrCompanyIoError) return false;
  reason = company->GetLastErrorDescription();
  return true;
}

void DPX_TargetGuard::StopUnlessWritable(const std::shared_ptr<dpx::host::Company>& company) {
  std::string reason;
  // A full or failing disk still lets a write that changes nothing through:
  // the refusal itself tells.
  if (!OutOfRoom(company, reason) && CanWrite(company, reason)) return;
  const std::string name = company ? company->CompanyDB() : std::string();
  throw DPX_CopyStopped("The target company '" + name + "' cannot be written (" + reason + "); the copy stopped here");
}
