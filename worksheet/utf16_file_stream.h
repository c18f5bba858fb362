// Writes a UTF-16LE text file chunk by chunk without ever leaving a partly
// written file behind: the chunks go to a private temporary file beside the
// target, which replaces the target only when everything was written.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace dpx {

class Utf16FileStream {
 public:
  // Opens the temporary file; with a byte-order mark first when asked.
  Utf16FileStream(const std::filesystem::path& path, bool withBom);
  ~Utf16FileStream();
  Utf16FileStream(const Utf16FileStream&) = delete;
  Utf16FileStream& operator=(const Utf16FileStream&) = delete;

  // False when the temporary file could not be made.
  bool isOpen() const { return file_ != nullptr; }
  // Appends UTF-8 text as UTF-16LE. False (and every later call false) on a
  // failed write.
  bool write(std::string_view utf8);
  // Flushes, syncs and closes the file and renames it over the target.
  // False when any step failed; the target is then as it was.
  bool commit();
  // The system's error number of the step that failed (0 when none did).
  int error() const { return error_; }

 private:
  void discard();

  std::filesystem::path path_;
  std::filesystem::path temp_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
  int error_ = 0;
};

}  // namespace dpx
