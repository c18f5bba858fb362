// Test fixture helper: a small simulated server in a private TestDir with two
// companies of a chosen server type, and connected company objects on them.
#pragma once

#include <memory>
#include <string>

#include "platform/host/host.h"
#include "tests/support/test_dir.h"

namespace dpx::test {

class DemoServerFixture {
 public:
  // Makes the server (companies DEMO_BASE and DEMO_TARGET, users manager /
  // manager and clerk / clerk) with or without the demo rows.
  explicit DemoServerFixture(int serverType = 6, bool demoRows = true);

  // The server folder (inside the fixture's TestDir), and the TestDir's root
  // for any other files a test needs.
  const std::filesystem::path& serverDir() const { return serverDir_; }
  const std::filesystem::path& root() const { return dir_.path(); }
  int serverType() const { return serverType_; }

  // A connected company object (raises when the connection is refused).
  std::shared_ptr<dpx::host::Company> connect(const std::string& db, const std::string& user = "manager",
                                              const std::string& password = "manager") const;
  std::shared_ptr<dpx::host::Company> base() const { return connect("DEMO_BASE"); }
  std::shared_ptr<dpx::host::Company> target() const { return connect("DEMO_TARGET"); }
  // An unconnected company object with the server settings filled in.
  std::shared_ptr<dpx::host::Company> unconnected(const std::string& db) const;

 private:
  TestDir dir_;
  std::filesystem::path serverDir_;
  int serverType_;
};

}  // namespace dpx::test
