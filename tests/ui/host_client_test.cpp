// The host client and add-on framework stand-ins: menu unique ids, menu batch
// localisation, the batch loader, and connecting an add-on.
#include <gtest/gtest.h>

#include <QMenu>

#include "platform/framework/string_table.h"
#include "platform/host/company.h"
#include "platform/hostclient/add_on.h"
#include "platform/hostclient/add_on_util.h"
#include "platform/hostclient/host_client.h"
#include "platform/hostclient/resource_loader.h"
#include "tests/support/demo_server.h"
#include "tests/support/test_dir.h"

namespace dpx::hostclient {
namespace {

TEST(AddOnUtilTest, MenuUidComesFromTheRegisteredKey) {
  AddOnUtil::RegisterMenuKeys({{"DPX_MNU_MO_OPENAPPLICATION_100", 505, ""}});
  EXPECT_EQ(AddOnUtil::GetMenuUID("DPX_", 505), "DPX_@DPX_MNU_MO_OPENAPPLICATION_100");
  EXPECT_EQ(AddOnUtil::GetMenuUID("DPX_", 77777), "DPX_@77777");
  EXPECT_EQ(AddOnUtil::ISOLangIDFromLanguage(kHostLanguageGerman), "DE");
  EXPECT_EQ(AddOnUtil::ISOLangIDFromLanguage(12345), "EN");
}

TEST(ResourceLoaderTest, LocalisesKeysInTheHostLanguageAndRefusesHostileDocuments) {
  ResourceLoader loader;
  std::string contents, document;
  ASSERT_EQ(loader.GetResourceFileContents(0, 136, contents), S_OK);
  EXPECT_NE(contents.find("encoding=\"ISO-8859-1\""), std::string::npos);
  const XmlMap table = {{"DPX_MNU_MO_OPENAPPLICATION_100", 505, ""}};
  ASSERT_EQ(loader.LoadXML(0, contents, document, table, kHostLanguageGerman), S_OK);
  EXPECT_NE(document.find("String=\"Duplora öffnen\""), std::string::npos) << document;
  EXPECT_NE(document.find("UniqueID=\"DPX_@DPX_MNU_MO_OPENAPPLICATION_100\""), std::string::npos);

  EXPECT_EQ(loader.GetResourceFileContents(0, 999, contents), E_FAIL);
  EXPECT_EQ(loader.LoadXML(0, "<!DOCTYPE a [<!ENTITY x 'y'>]><a b='&x;'/>", document, table, 3), E_FAIL);
  EXPECT_EQ(loader.LoadXML(0, "<a><b></a>", document, table, 3), E_FAIL);
  std::string deep;
  for (int i = 0; i < 40; ++i) deep += "<b>";
  for (int i = 0; i < 40; ++i) deep += "</b>";
  EXPECT_EQ(loader.LoadXML(0, deep, document, table, 3), E_FAIL);
}

class HostClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(client.logOn(server.serverDir().string(), "manager", "manager", "DEMO_BASE", error)) << error;
  }
  int entries() { return static_cast<int>(client.findChild<QMenu*>("4864")->actions().size()); }

  test::DemoServerFixture server;
  HostClient client;
};

TEST_F(HostClientTest, BatchLoaderAddsAndRemovesEntriesAndReportsWhatFailed) {
  const std::string add =
      "<Application><Menus><action type=\"add\"><Menu Type=\"1\" UniqueID=\"X_1\" String=\"One\" Checked=\"0\" "
      "Enabled=\"0\" Image=\"\" FatherUID=\"4864\" Position=\"\"/></action></Menus></Application>";
  const std::string remove =
      "<Application><Menus><action type=\"remove\"><Menu UniqueID=\"X_1\"/></action></Menus></Application>";
  ASSERT_EQ(client.loadBatchActions(add), S_OK);
  ASSERT_NE(client.menuItem("X_1"), nullptr);
  EXPECT_EQ(client.menuItem("X_1")->text(), "One");
  EXPECT_FALSE(client.menuItem("X_1")->isEnabled());

  EXPECT_EQ(client.loadBatchActions(add), E_FAIL);
  EXPECT_NE(client.lastBatchResults().find("already exists"), std::string::npos);
  EXPECT_EQ(entries(), 1);

  EXPECT_EQ(client.loadBatchActions(remove), S_OK);
  EXPECT_EQ(client.menuItem("X_1"), nullptr);
  EXPECT_EQ(client.loadBatchActions(remove), E_FAIL);
  EXPECT_NE(client.lastBatchResults().find("not found"), std::string::npos);

  EXPECT_EQ(client.loadBatchActions("<Application><Menus><action type=\"add\"><Menu UniqueID=\"X_2\" "
                                    "FatherUID=\"9999\"/></action></Menus></Application>"),
            E_FAIL);
  EXPECT_EQ(client.loadBatchActions("<!DOCTYPE x><Application/>"), E_FAIL);
  EXPECT_EQ(entries(), 0);
}

TEST_F(HostClientTest, LogOnRefusalsSayWhy) {
  HostClient other;
  std::string error;
  EXPECT_FALSE(other.logOn((server.root() / "nothing").string(), "manager", "manager", "DEMO_BASE", error));
  EXPECT_NE(error.find("No server"), std::string::npos) << error;
  EXPECT_FALSE(other.logOn(server.serverDir().string(), "manager", "manager", "NO_SUCH_DB", error));
  EXPECT_NE(error.find("NO_SUCH_DB"), std::string::npos) << error;
  EXPECT_FALSE(other.logOn(server.serverDir().string(), "manager", "wrong", "DEMO_BASE", error));
  EXPECT_NE(error.find("Cannot log on"), std::string::npos) << error;
  EXPECT_EQ(other.company(), nullptr);
}

struct RecordingSink : EventSink {
  std::vector<std::string> events;
  std::shared_ptr<host::Company> company;
  HRESULT OnApplicationLoad(HostClient*, std::shared_ptr<host::Company> c) override {
    company = c;
    events.push_back("load");
    return S_OK;
  }
  HRESULT OnApplicationUnload() override {
    events.push_back("unload");
    return S_OK;
  }
  HRESULT OnChangeLanguage() override {
    events.push_back("language");
    return S_OK;
  }
};

struct RecordingAddOn : AddOn {
  using AddOn::AddOn;
  EventSink* createEventSink() override { return new RecordingSink; }
  ResourceLoader& getResourceLoader() override { return loader; }
  ResourceLoader loader;
};

TEST_F(HostClientTest, ConnectDeliversLoadWithACompanyOfTheAddOnsOwn) {
  RecordingAddOn addOn(client.connectionString(), "DPX", "");
  ASSERT_EQ(addOn.Connect(0), 0);
  auto* sink = static_cast<RecordingSink*>(addOn.sink());
  ASSERT_EQ(sink->events, std::vector<std::string>{"load"});
  ASSERT_NE(sink->company, nullptr);
  EXPECT_NE(sink->company, client.company());
  sink->company->Disconnect();
  EXPECT_TRUE(client.company()->Connected());

  client.setLanguage(kHostLanguageGerman);
  EXPECT_EQ(sink->events.back(), "language");

  RecordingAddOn lost("HostClient:none", "DPX", "");
  EXPECT_THROW(lost.Connect(0), HostError);
}

}  // namespace
}  // namespace dpx::hostclient
