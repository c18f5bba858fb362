#include "worksheet/private_temp_folder.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dpx {

namespace {

constexpr std::string_view kPrefix = "duplora-";
// Held locked by the folder's owner for the folder's whole life.
constexpr const char* kLockName = "owner.lock";

// Whether the folder is one of this user's own, not a link to elsewhere.
bool OwnFolder(const std::filesystem::path& folder) {
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

}  // namespace

void PrivateTempFolder::removeLeftOvers(const std::filesystem::path& base) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    const std::filesystem::path folder = it->path();
    if (folder.filename().string().rfind(kPrefix, 0) != 0 || !OwnFolder(folder)) continue;
    // A folder without its lock file is not known to be ours, or is being
    // made right now: it stays.
    const std::filesystem::path lockFile = folder / kLockName;
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held {};
    struct stat named {};
    // Locked by a live owner: in use. Unlocked, but no longer the file of that
    // name: its owner has just removed the folder itself.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && held.st_nlink > 0 &&
        ::lstat(lockFile.c_str(), &named) == 0 && named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
      std::error_code removeError;
      std::filesystem::remove_all(folder, removeError);
    }
    ::close(fd);
  }
}

PrivateTempFolder::PrivateTempFolder() {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return;
  removeLeftOvers(base);
  std::string pattern = (base / (std::string(kPrefix) + "XXXXXX")).string();
  if (!::mkdtemp(pattern.data())) return;  // made with mode 0700
  const std::filesystem::path folder = pattern;
  // The lock file is locked before it gets its name: another copy that looks
  // for left-over folders never finds it unlocked while this one lives.
  const std::filesystem::path unnamed = folder / (std::string(kLockName) + ".new");
  lock_ = ::open(unnamed.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (lock_ < 0 || ::flock(lock_, LOCK_EX | LOCK_NB) != 0 || ::rename(unnamed.c_str(), (folder / kLockName).c_str()) != 0) {
    // A folder that cannot be held could be taken for a left-over one.
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
    std::filesystem::remove_all(folder, ec);
    return;
  }
  path_ = folder;
}

PrivateTempFolder::~PrivateTempFolder() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  if (lock_ >= 0) ::close(lock_);
}

}  // namespace dpx
