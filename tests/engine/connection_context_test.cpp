// The connection context: reset and the disconnect rules, the fatal loss of
// the host client, and the company handle.
#include <memory>

#include <gtest/gtest.h>

#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "platform/host/host.h"
#include "tests/engine/engine_fakes.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/demo_server.h"

namespace {

using dpx::test::DemoServerFixture;

TEST(ConnectionContext, FreshContextHoldsNothing) {
  DPX_ConnectionContext context;
  EXPECT_EQ(context.getCompany(), nullptr);
  EXPECT_EQ(context.getBaseCompany(), nullptr);
  EXPECT_EQ(context.getTargetCompany(), nullptr);
  EXPECT_EQ(context.getApplication(), nullptr);
  EXPECT_EQ(context.getCopyMethod(), -1);
  EXPECT_EQ(context.getResponseToCopyFailure(), -1);
  EXPECT_FALSE(context.getFailRecordsForMissingFields());
  EXPECT_FALSE(context.getForceBackup());
  EXPECT_EQ(context.copyLog, nullptr);
}

TEST(ConnectionContext, ResetNeverDisconnectsACompanySharedWithAnotherField) {
  DemoServerFixture server(6, false);
  auto company = server.base();
  auto otherUser = server.connect("DEMO_BASE", "clerk", "clerk");
  auto sameUserOtherObject = server.base();
  auto target = server.target();

  struct Case {
    const char* name;
    std::shared_ptr<dpx::host::Company> base, target;
    bool baseConnectedAfter, targetConnectedAfter;
  } cases[] = {
      // base and target are the company object itself
      {"all one object", company, company, true, true},
      // another object on the same company and user is the same connection
      {"same connection", sameUserOtherObject, nullptr, true, false},
      // the same company under another user is a connection of its own
      {"other user", otherUser, nullptr, false, false},
      // base and target share an object that the company does not hold
      {"base is target", target, target, false, false},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (auto& co : {c.base, c.target})
      if (co && !co->Connected()) {
        ASSERT_EQ(co->Connect(), 0);
      }
    DPX_ConnectionContext context;
    context.setCompany(company);
    context.setBaseCompany(c.base);
    context.setTargetCompany(c.target);
    context.setForceBackup(true);
    context.setCopyMethod(3);
    context.setResponseToCopyFailure(2);
    context.setFailRecordsForMissingFields(true);
    context.setBaseFile("a");
    context.setTargetFile("b");
    context.setTargetName("c");
    context.setWorksheetFile("d");
    context.setLogFile("e");
    DPX_CopyLog* log = reinterpret_cast<DPX_CopyLog*>(&context);  // any non-null pointer; never used
    context.copyLog = log;

    context.reset();
    EXPECT_EQ(context.getBaseCompany(), nullptr);
    EXPECT_EQ(context.getTargetCompany(), nullptr);
    EXPECT_EQ(context.getCompany(), company);
    EXPECT_TRUE(company->Connected());
    if (c.base) {
      EXPECT_EQ(c.base->Connected(), c.baseConnectedAfter);
    }
    if (c.target && c.target != c.base) {
      EXPECT_EQ(c.target->Connected(), c.targetConnectedAfter);
    }
    EXPECT_TRUE(context.getForceBackup());
    EXPECT_EQ(context.copyLog, log);
    EXPECT_EQ(context.getCopyMethod(), -1);
    EXPECT_EQ(context.getResponseToCopyFailure(), -1);
    EXPECT_FALSE(context.getFailRecordsForMissingFields());
    for (const auto& text : {context.getBaseFile(), context.getTargetFile(), context.getTargetName(),
                             context.getWorksheetFile(), context.getLogFile()})
      EXPECT_EQ(text, "");
    context.copyLog = nullptr;
  }
}

TEST(ConnectionContext, LosingTheHostClientTellsTheUserAndEndsTheProgram) {
  dpx::test::ScriptedUi ui;
  DPX_ConnectionContext context;
  auto app = std::make_shared<dpx::test::ScriptedApplication>();
  context.setApplication(app);
  int exitCode = -1;
  DPX_ConnectionContext::SetTerminateHook([&](int code) { exitCode = code; });

  EXPECT_EQ(context.getApplication(), app);
  EXPECT_EQ(exitCode, -1);

  app->gone = true;
  EXPECT_EQ(context.getApplication(), nullptr);
  DPX_ConnectionContext::SetTerminateHook(nullptr);
  EXPECT_EQ(exitCode, 0);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].caption, "Error");
  EXPECT_EQ(ui.boxes[0].flags & 0xF0, dpx::mb::kIconError);
  EXPECT_EQ(ui.boxes[0].text, "Failed to connect UI API. Duplora is terminating.\nError Code: 3\nError Message: " +
                                  dpx::StatusMessage(app->goneCode));
}

TEST(ConnectionContext, CreatesUnconnectedCompanies) {
  DPX_ConnectionContext::CompanyPtr company;
  EXPECT_EQ(DPX_ConnectionContext::CreateCompanyInstance(company), 0);
  ASSERT_NE(company, nullptr);
  EXPECT_FALSE(company->Connected());
}

TEST(CompanyHandle, KeepsPasswordsAndNeverFailsToName) {
  DPX_CompanyHandle empty;
  empty.setPassword("secret");
  empty.setDbPassword("db-secret");
  EXPECT_EQ(empty.getDbPassword(), "db-secret");
  EXPECT_EQ(empty.getServer(), "");
  EXPECT_EQ(empty.getCompanyName(), "");

  DemoServerFixture server(6, false);
  DPX_CompanyHandle handle(server.unconnected("DEMO_BASE"));
  EXPECT_EQ(handle.getCompanyDB(), "DEMO_BASE");
  EXPECT_EQ(handle.getCompanyName(), "");  // the host raises while not connected
  handle.setUserName("manager");
  handle.setPassword("manager");
  ASSERT_EQ(handle.getCompany()->Connect(), 0);
  EXPECT_NE(handle.getCompanyName(), "");
  EXPECT_EQ(handle.getUserName(), "manager");
}

}  // namespace
