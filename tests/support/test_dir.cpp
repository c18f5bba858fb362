#include "tests/support/test_dir.h"

#include <cstdlib>
#include <stdexcept>

namespace dpx::test {

TestDir::TestDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "dpx-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a test folder");
  path_ = pattern;
}

TestDir::~TestDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace dpx::test
