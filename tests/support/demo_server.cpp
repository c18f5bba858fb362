#include "tests/support/demo_server.h"

namespace dpx::test {

DemoServerFixture::DemoServerFixture(int serverType, bool demoRows) : serverType_(serverType) {
  dpx::host::DemoServerOptions options;
  options.serverType = serverType;
  options.demoRows = demoRows;
  dpx::host::DemoServer::Create(dir_.path() / "server", options, false);
  serverDir_ = dir_.path() / "server";
}

std::shared_ptr<dpx::host::Company> DemoServerFixture::unconnected(const std::string& db) const {
  auto c = dpx::host::CreateCompany();
  c->SetServer(serverDir_.string());
  c->SetCompanyDB(db);
  c->SetDbServerType(serverType_);
  c->SetUseTrusted(true);
  return c;
}

std::shared_ptr<dpx::host::Company> DemoServerFixture::connect(const std::string& db, const std::string& user,
                                                               const std::string& password) const {
  auto c = unconnected(db);
  c->SetUserName(user);
  c->SetPassword(password);
  if (c->Connect() != 0)
    throw dpx::HostError(dpx::E_FAIL, "DemoServerFixture", "Cannot connect to " + db + ": " + c->GetLastErrorDescription());
  return c;
}

}  // namespace dpx::test
