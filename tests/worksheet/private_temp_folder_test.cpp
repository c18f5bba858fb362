#include "worksheet/private_temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/test_dir.h"

namespace {

// TMPDIR pointed at a folder of the test for the object's life.
class TemporaryFolderAt {
 public:
  explicit TemporaryFolderAt(const std::filesystem::path& folder) {
    if (const char* old = std::getenv("TMPDIR")) kept_ = old, hadOne_ = true;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolderAt() {
    if (hadOne_) ::setenv("TMPDIR", kept_.c_str(), 1);
    else ::unsetenv("TMPDIR");
  }

 private:
  std::string kept_;
  bool hadOne_ = false;
};

// The folder of a copy killed while it ran: its process ends by SIGKILL with
// the folder and its file still there.
std::filesystem::path FolderOfAKilledCopy() {
  int channel[2];
  if (::pipe(channel) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    dpx::PrivateTempFolder folder;
    std::ofstream(folder.path() / "DPX_Config.xml") << "the whole selection";
    const std::string path = folder.path().string() + "\n";
    if (::write(channel[1], path.data(), path.size()) < 0) ::_exit(1);
    ::raise(SIGKILL);
  }
  ::close(channel[1]);
  std::string path;
  char c = 0;
  while (::read(channel[0], &c, 1) == 1 && c != '\n') path += c;
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return path;
}

}  // namespace

TEST(PrivateTempFolder, IsPrivateUniqueAndRemovedWithItsFiles) {
  std::filesystem::path kept;
  {
    dpx::PrivateTempFolder a;
    dpx::PrivateTempFolder b;
    ASSERT_FALSE(a.path().empty());
    EXPECT_NE(a.path(), b.path());
    // The second folder left the first, whose owner lives, as it was.
    EXPECT_TRUE(std::filesystem::exists(a.path()));
    const auto perms = std::filesystem::status(a.path()).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    std::ofstream(a.path() / "DPX_Config.xml") << "x";
    kept = a.path();
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST(PrivateTempFolder, TheNextFolderRemovesWhatAKilledCopyLeftAndNothingElse) {
  dpx::test::TestDir dir;
  TemporaryFolderAt tmp(dir.path());
  const auto killed = FolderOfAKilledCopy();
  ASSERT_FALSE(killed.empty());
  ASSERT_TRUE(std::filesystem::exists(killed / "DPX_Config.xml"));
  // Folders that are not a left-over copy's: another program's of the same
  // prefix without the lock file, and a link to a folder elsewhere.
  std::filesystem::create_directory(dir / "duplora-other");
  std::ofstream(dir / "duplora-other" / "keep.txt") << "keep";
  std::filesystem::create_directory(dir / "elsewhere");
  std::ofstream(dir / "elsewhere" / "owner.lock") << "";
  std::filesystem::create_directory_symlink(dir / "elsewhere", dir / "duplora-link");

  dpx::PrivateTempFolder next;
  ASSERT_FALSE(next.path().empty());
  EXPECT_FALSE(std::filesystem::exists(killed));
  EXPECT_TRUE(std::filesystem::exists(dir / "duplora-other" / "keep.txt"));
  EXPECT_TRUE(std::filesystem::exists(dir / "elsewhere" / "owner.lock"));
  EXPECT_TRUE(std::filesystem::exists(next.path()));
}
