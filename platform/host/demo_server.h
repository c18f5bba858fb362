// Builds simulated database servers: the demo server of `duplora-host
// create-demo` (companies DEMO_BASE and DEMO_TARGET with their users and the
// registry's demo rows) and smaller ones for tests.
#pragma once

#include <filesystem>
#include <string>

namespace dpx::host {

struct DemoServerOptions {
  int serverType = 6;             // server type of both companies
  bool demoRows = true;           // write the registry's demo rows
  std::string baseDb = "DEMO_BASE";
  std::string targetDb = "DEMO_TARGET";
};

class DemoServer {
 public:
  // The users every demo company has: the superuser and an ordinary user.
  static constexpr const char* kSuperUser = "manager";
  static constexpr const char* kSuperPassword = "manager";
  static constexpr const char* kOrdinaryUser = "clerk";
  static constexpr const char* kOrdinaryPassword = "clerk";

  // Makes the server in `dir`. A folder that already holds a server is
  // refused (HostError) unless `force`, which replaces it.
  static void Create(const std::filesystem::path& dir, const DemoServerOptions& options, bool force);
};

}  // namespace dpx::host
