#include "tests/support/file_size_limit.h"

namespace dpx::test {

FileSizeLimit::FileSizeLimit(uint64_t bytes) {
  // A write past the limit then fails with EFBIG instead of ending the process.
  keptHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  getrlimit(RLIMIT_FSIZE, &kept_);
  rlimit limit = kept_;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &kept_);
  std::signal(SIGXFSZ, keptHandler_);
}

}  // namespace dpx::test
