// A disk of a few hundred kilobytes for the tests of a full disk: a tmpfs
// mounted on a folder for as long as the object lives, in a mount namespace
// of this process's own, so that nothing of it is seen outside the test and
// nothing stays mounted when the test process ends. Programs the test starts
// see it too. Mounting needs the superuser; where it is not allowed the disk
// is not mounted and why() says so (the test then skips).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace dpx::test {

class SmallDisk {
 public:
  // Mounts a tmpfs of `bytes` on `folder` (made when missing).
  SmallDisk(std::filesystem::path folder, uint64_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }
  const std::filesystem::path& path() const { return folder_; }

  // Fills the disk with a file of its own until `bytes` are left free.
  void leaveRoom(uint64_t bytes);
  // Removes that file again.
  void makeRoom();
  // The bytes free on the disk.
  uint64_t freeBytes() const;

  // Moves a file onto the disk and leaves a symbolic link in its place, so
  // that whoever opens the old path writes on the disk.
  void moveOnto(const std::filesystem::path& file);

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace dpx::test
