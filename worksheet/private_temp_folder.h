// A private temporary folder (mode 0700, unpredictable name) for the copy's
// configuration file, removed with everything in it when the object goes.
// A copy never writes its file under a fixed name in a shared folder.
//
// While the object lives it holds a lock on a file inside the folder. A copy
// that was killed leaves its folder (with the whole selection in it) but not
// its lock, so the next folder this user makes removes such left-over folders
// of the user's; a folder whose lock a live process holds is never touched.
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

  // Removes the folders in `base` that earlier objects of this user left
  // behind and no live process holds.
  static void removeLeftOvers(const std::filesystem::path& base);

 private:
  std::filesystem::path path_;
  int lock_ = -1;
};

}  // namespace dpx
