#include "worksheet/utf16_file_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/framework/text.h"

namespace dpx {

Utf16FileStream::Utf16FileStream(const std::filesystem::path& path, bool withBom) : path_(path) {
  std::string pattern = path.string() + ".XXXXXX";
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error_ = errno;
    return;
  }
  temp_ = pattern;
  // mkstemp makes the file private; the finished file gets the usual mode.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  file_ = ::fdopen(fd, "wb");
  if (!file_) {
    error_ = errno;
    ::close(fd);
    discard();
    return;
  }
  if (withBom) write("\xEF\xBB\xBF");  // U+FEFF, written as FF FE
}

Utf16FileStream::~Utf16FileStream() { discard(); }

bool Utf16FileStream::write(std::string_view utf8) {
  if (!file_ || failed_) return false;
  // Converted slice by slice, so that a large text is never held twice.
  constexpr size_t kSlice = size_t{1} << 20;
  while (!utf8.empty() && !failed_) {
    size_t n = std::min(utf8.size(), kSlice);
    while (n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) ++n;  // whole characters
    const std::string bytes = Utf8ToUtf16LEBytes(utf8.substr(0, n));
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
      failed_ = true;
      error_ = errno;
    }
    utf8.remove_prefix(n);
  }
  return !failed_;
}

bool Utf16FileStream::commit() {
  if (!file_ || failed_) {
    discard();
    return false;
  }
  const bool flushed = std::fflush(file_) == 0 && ::fsync(::fileno(file_)) == 0;
  if (!flushed) error_ = errno;
  const bool closed = std::fclose(file_) == 0;
  if (!closed && !error_) error_ = errno;
  file_ = nullptr;
  std::error_code ec;
  if (flushed && closed) std::filesystem::rename(temp_, path_, ec);
  if (ec) error_ = ec.value();
  if (!flushed || !closed || ec) {
    discard();
    return false;
  }
  temp_.clear();
  return true;
}

void Utf16FileStream::discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!temp_.empty()) std::remove(temp_.c_str());
  temp_.clear();
}

}  // namespace dpx
