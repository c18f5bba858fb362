#include "fuzz/fuzz_input.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include <unistd.h>

#include "platform/framework/log_scope.h"

namespace dpx::fuzz {

void Quiet() {
  static const bool done = [] {
    constexpr auto kNothing = static_cast<LogLevel>(-1);
    LogSink::Configure({}, kNothing, kNothing);
    return true;
  }();
  (void)done;
}

std::string InputFile(const uint8_t* data, size_t size) {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "dpx-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
    return pattern;
  }();
  const std::string path = folder + "/input.xml";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("the input cannot be written");
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return path;
}

}  // namespace dpx::fuzz
