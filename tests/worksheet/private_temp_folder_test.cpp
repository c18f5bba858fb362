#include "worksheet/private_temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(PrivateTempFolder, IsPrivateUniqueAndRemovedWithItsFiles) {
  std::filesystem::path kept;
  {
    dpx::PrivateTempFolder a;
    dpx::PrivateTempFolder b;
    ASSERT_FALSE(a.path().empty());
    EXPECT_NE(a.path(), b.path());
    const auto perms = std::filesystem::status(a.path()).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_all);
    std::ofstream(a.path() / "DPX_Config.xml") << "x";
    kept = a.path();
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}
