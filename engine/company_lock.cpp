#include "engine/company_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/framework/text.h"
#include "platform/host/company.h"

namespace {

// The company's name as a file name: database names are compared without
// letter case on most servers, so the lock is too.
std::string LockName(const std::string& db) {
  std::string name;
  for (char c : dpx::ToLowerAscii(db)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
    name += plain ? c : '_';
  }
  return name.empty() || name[0] == '.' ? "_" + name : name;
}

}  // namespace

DPX_CompanyLock::DPX_CompanyLock(const dpx::host::Company& company, const std::string& suffix)
    : file_(File(company, suffix)) {}

DPX_CompanyLock::~DPX_CompanyLock() { release(); }

std::filesystem::path DPX_CompanyLock::File(const dpx::host::Company& company, const std::string& suffix) {
  return company.SharedFolder() / "Duplora" / "Locks" / (LockName(company.CompanyDB()) + suffix);
}

int DPX_CompanyLock::take(std::chrono::milliseconds wait) {
  if (fd_ >= 0) return 0;
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  // Asked again and again rather than blocking, so that the wait has an end.
  const auto until = std::chrono::steady_clock::now() + wait;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int cause = errno;
    if (cause == EINTR) continue;
    if (cause != EWOULDBLOCK || std::chrono::steady_clock::now() >= until) {
      ::close(fd);
      return cause;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  fd_ = fd;
  return 0;
}

void DPX_CompanyLock::release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}
