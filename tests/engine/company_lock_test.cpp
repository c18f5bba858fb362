// A lock of a company among the program's processes: one holder at a time
// for each purpose, and a bounded wait for the holder to let go.
#include <cerrno>
#include <chrono>

#include <gtest/gtest.h>

#include "engine/company_lock.h"
#include "platform/host/company.h"
#include "tests/support/demo_server.h"

TEST(CompanyLock, OneHolderPerCompanyAndPurpose) {
  dpx::test::DemoServerFixture server(6, false);
  DPX_CompanyLock first(*server.base(), ".setup.lock");
  ASSERT_EQ(first.take(), 0);
  // flock(2) tells two open files apart even in one process, as it does two processes.
  DPX_CompanyLock second(*server.base(), ".setup.lock");
  EXPECT_EQ(second.take(), EWOULDBLOCK);
  EXPECT_EQ(second.take(std::chrono::milliseconds(100)), EWOULDBLOCK);  // the wait ends
  EXPECT_FALSE(second.held());
  // Another purpose and another company are other locks.
  DPX_CompanyLock copy(*server.base(), ".lock");
  EXPECT_EQ(copy.take(), 0);
  DPX_CompanyLock target(*server.target(), ".setup.lock");
  EXPECT_EQ(target.take(), 0);
  first.release();
  EXPECT_EQ(second.take(std::chrono::milliseconds(100)), 0);
  EXPECT_TRUE(second.held());
  EXPECT_EQ(second.file(), server.serverDir() / "Quillon_SHR" / "Duplora" / "Locks" / "demo_base.setup.lock");
}
