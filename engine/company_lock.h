// An exclusive lock of one company database among all the program's
// processes that reach its server, for one purpose (a copy into it, the
// set-up of the program's tables in it). The lock is a file in the program's
// folder under the server's shared folder, one per company and purpose, held
// with flock(2): it ends with the process that held it, however that ends.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace dpx::host {
class Company;
}

class DPX_CompanyLock {
 public:
  // `suffix` ends the file name after the company's name (".lock").
  DPX_CompanyLock(const dpx::host::Company& company, const std::string& suffix);
  ~DPX_CompanyLock();
  DPX_CompanyLock(const DPX_CompanyLock&) = delete;
  DPX_CompanyLock& operator=(const DPX_CompanyLock&) = delete;

  // Takes the lock, waiting at most `wait` for another holder to let go.
  // 0 when it is held; otherwise the system's error number (EWOULDBLOCK:
  // another holder kept it), and nothing is held.
  int take(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
  bool held() const { return fd_ >= 0; }
  // The open lock file while it is held, -1 otherwise.
  int fd() const { return fd_; }
  void release();

  const std::filesystem::path& file() const { return file_; }
  static std::filesystem::path File(const dpx::host::Company& company, const std::string& suffix);

 private:
  std::filesystem::path file_;
  int fd_ = -1;
};
