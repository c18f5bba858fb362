// Makes every file write of this process fail beyond a size, as a full disk
// or a quota does, for as long as the object lives. Unlike a folder without
// write permission it also stops the superuser, so the tests that use it run
// under any user.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace dpx::test {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit kept_{};
  void (*keptHandler_)(int) = nullptr;
};

}  // namespace dpx::test
