#include "tests/support/small_disk.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace dpx::test {

namespace {

constexpr const char* kFiller = ".filler";

// A mount namespace of this process's own, once; "" when it is there.
std::string PrivateMounts() {
  static const std::string why = [] {
    if (::unshare(CLONE_NEWNS) != 0) return std::string("no mount namespace of its own: ") + std::strerror(errno);
    // Mounts made from now on stay in this namespace.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      return std::string("mounts cannot be made private: ") + std::strerror(errno);
    return std::string();
  }();
  return why;
}

}  // namespace

SmallDisk::SmallDisk(std::filesystem::path folder, uint64_t bytes) : folder_(std::move(folder)) {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  why_ = PrivateMounts();
  if (!why_.empty()) {
    why_ = "a small disk cannot be mounted here (" + why_ + ")";
    return;
  }
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
  if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
    why_ = std::string("a small disk cannot be mounted here (") + std::strerror(errno) + ")";
    return;
  }
  mounted_ = true;
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

uint64_t SmallDisk::freeBytes() const {
  struct statvfs s {};
  if (::statvfs(folder_.c_str(), &s) != 0) return 0;
  return static_cast<uint64_t>(s.f_bavail) * s.f_frsize;
}

void SmallDisk::leaveRoom(uint64_t bytes) {
  const uint64_t free = freeBytes();
  if (free <= bytes) return;
  std::ofstream filler(folder_ / kFiller, std::ios::binary | std::ios::app);
  const std::string block(4096, '\0');
  for (uint64_t left = free - bytes; left >= block.size(); left -= block.size()) filler.write(block.data(), block.size());
}

void SmallDisk::makeRoom() {
  std::error_code ec;
  std::filesystem::remove(folder_ / kFiller, ec);
}

void SmallDisk::moveOnto(const std::filesystem::path& file) {
  const auto moved = folder_ / file.filename();
  std::filesystem::copy_file(file, moved, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::remove(file);
  std::filesystem::create_symlink(moved, file);
}

}  // namespace dpx::test
