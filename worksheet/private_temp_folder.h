// A private temporary folder (mode 0700, unpredictable name) for the copy's
// configuration file, removed with everything in it when the object goes.
// A copy never writes its file under a fixed name in a shared folder.
#pragma once

#include <filesystem>

namespace dpx {

class PrivateTempFolder {
 public:
  PrivateTempFolder();
  ~PrivateTempFolder();
  PrivateTempFolder(const PrivateTempFolder&) = delete;
  PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

  // Empty when no folder could be made.
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace dpx
