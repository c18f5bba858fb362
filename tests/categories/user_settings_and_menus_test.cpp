// Users' column preferences and personal menus copied to the users of the
// same code in the target. Every case runs with the target as server type 5
// and with the default dialect.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/category_support.h"
#include "categories/customization/user_display_settings_manager.h"
#include "categories/customization/user_menus_manager.h"
#include "engine/host_application.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

class UserSettings : public ::testing::TestWithParam<int> {};

constexpr const char* kPreferences = "DPX_TRN_USRDSPSETTINGS_100";
constexpr const char* kMenus = "DPX_TRN_USRMENUS_100";
// A code that must be quoted in SQL and escaped in XML.
const std::string kOdd = "o'b&<c>";

void AddUser(dpx::host::Company& company, int key, const std::string& code) {
  CopyFixture::Exec(company, "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER, Locked) VALUES (" +
                                 std::to_string(key) + ", " + std::to_string(key) + ", '" + code + "', 'Name of " +
                                 code + "', 'N', 'N');");
}

// clerk (2 in both), o'b&<c> (10 in the base, 20 in the target), oneil (11, base only).
void SeedUsers(CopyFixture& fx) {
  AddUser(*fx.base, 10, "o''b&<c>");
  AddUser(*fx.base, 11, "oneil");
  AddUser(*fx.target, 20, "o''b&<c>");
}

std::string Preferences(dpx::host::Company& company) {
  return CopyFixture::Column(company, "SELECT UserSign || ':' || FormID || ':' || ItemID || ':' || ColID || ':' || Width "
                                      "FROM CPRF ORDER BY UserSign, FormID, ItemID, ColID");
}

// --- Column preferences.

TEST_P(UserSettings, PreferencesGoToTheTargetUserOfTheSameCodeFormByForm) {
  for (uint8_t method : {1, 2, 3, 4}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedUsers(fx);
    CopyFixture::Exec(*fx.base, "INSERT INTO CPRF VALUES ('139', 2, '38', '1', 120), ('139', 2, '38', '3', 80),"
                                "('134', 10, '5', '-1', 60), ('150', 11, '5', '-1', 70);");
    // The odd user's other form stays; its form 134 is replaced.
    CopyFixture::Exec(*fx.target, "INSERT INTO CPRF VALUES ('134', 20, '7', '-1', 10), ('150', 20, '5', '-1', 55);");
    dpx::test::CopyCategory<DPX_UserDisplaySettingsManager>(fx, kPreferences, method);
    EXPECT_EQ(Preferences(*fx.target), "2:139:38:1:120,2:139:38:3:80,20:134:5:-1:60,20:150:5:-1:55");
    EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_USRDSPSETTINGS_100|213|402|" + kOdd + "||" + kOdd + "|||",
                                    "DPX_TRN_USRDSPSETTINGS_100|213|402|clerk||clerk|||"}));
  }
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO CPRF VALUES ('139', 2, '38', '1', 120);");
  dpx::test::CopyCategory<DPX_UserDisplaySettingsManager>(fx, kPreferences, 0);
  EXPECT_EQ(Preferences(*fx.target), "");
  EXPECT_TRUE(fx.logLines().empty());
}

TEST_P(UserSettings, FormsOfOneUserApartInTheBlockAllArrive) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  auto record = [](const std::string& user, const std::string& form) {
    return dpx::categories::Record("<BOM><ColumnsPreferences><User>" + user +
                                   "</User><ColumnPreference><FormID>" + form +
                                   "</FormID><ItemID>5</ItemID><ColID>-1</ColID><Width>9</Width></ColumnPreference>"
                                   "</ColumnsPreferences></BOM>");
  };
  DPX_OperationArgs block;
  block.set(kPreferences, "CPRF", 1, 300);
  block.dataItems = {record("clerk", "139"), record("o'b&amp;&lt;c&gt;", "134"), record("nobody", "1"),
                     record("clerk", "134")};
  DPX_UserDisplaySettingsManager(&fx.context, kPreferences).writeData({block}, 4);
  EXPECT_EQ(Preferences(*fx.target), "2:134:5:-1:9,2:139:5:-1:9,20:134:5:-1:9");
  EXPECT_EQ(fx.logLines().size(), 3u);
}

TEST_P(UserSettings, AnUnknownTargetUserOrARefusedUpdateLogs403) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  CopyFixture::Exec(*fx.target, "INSERT INTO CPRF VALUES ('139', 2, '38', '1', 1);");
  fx.target->InjectFault("UpdateColumnsPreferences", 1, -99, "Preferences locked");
  DPX_UserDisplaySettingsManager writer(&fx.context, kPreferences);
  writer.writeUserPreferences("clerk", {2, "<ColumnPreference><FormID>139</FormID><ItemID>38</ItemID><ColID>1</ColID>"
                                           "<Width>5</Width></ColumnPreference>"});
  writer.writeUserPreferences("ghost", {99, ""});
  EXPECT_EQ(Preferences(*fx.target), "2:139:38:1:1");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_USRDSPSETTINGS_100|213|403|clerk||clerk|||Preferences locked",
                                  "DPX_TRN_USRDSPSETTINGS_100|213|403|ghost||ghost|||Invalid User 99"}));
}

// A host client that describes form 139 as "T", or no form at all.
class Client : public dpx::HostApplication {
 public:
  explicit Client(bool describes) : describes_(describes) {}
  void probe() override {}
  int language() override { return 0; }
  int messageBox(const std::string&, int, const std::string&, const std::string&, const std::string&) override {
    return 1;
  }
  void setStatusBarErrorMessage(const std::string&) override {}
  std::string formDescription(const std::string& formId) override {
    if (describes_ && formId == "139") return "T";
    throw dpx::HostError(dpx::E_INVALIDARG, "Forms", "No form " + formId);
  }

 private:
  bool describes_;
};

TEST_P(UserSettings, FormLabelsNameTheFormAndItsUserFields) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO CPRF VALUES ('139', 2, '38', '1', 1), ('-139', 2, 'U_X', '-1', 1);");
  fx.context.setApplication(std::make_shared<Client>(true));
  DPX_UserDisplaySettingsManager manager(&fx.context, kPreferences);
  EXPECT_EQ(manager.collectDetails()->getListRows(),
            (Rows{{"Clerk O'Hara", "T [User-Defined Fields] (-139)"}, {"Clerk O'Hara", "T (139)"}}));
  fx.context.setApplication(std::make_shared<Client>(false));
  std::string label = "139";
  EXPECT_EQ(manager.formLabel("139", label), 0);
  EXPECT_EQ(label, "139 (139)");
}

TEST(UserRecordText, UserElementsAreInsertedRemovedAndReadBack) {
  std::string text = "<BOM><ColumnsPreferences><ColumnPreference><FormID>139</FormID></ColumnPreference></ColumnsPreferences></BOM>";
  insertUserElement(text, "a&amp;b");
  EXPECT_EQ(userCodeOf(text), "a&b");
  EXPECT_EQ(extractFormId(text), "139");
  removeUserElement(text);
  EXPECT_EQ(text.find("<User>"), std::string::npos);
  std::string none = "<BOM/>";
  insertUserElement(none, "x");
  removeUserElement(none);
  EXPECT_EQ(none, "<BOM/>");
  EXPECT_EQ(userCodeOf(none), "");
  EXPECT_EQ(extractFormId(none), "");
  std::string entries = "<A/>";
  wrapColumnsPreferences(entries);
  EXPECT_EQ(entries, "<ColumnsPreferences><A/></ColumnsPreferences>");
}

// --- User menus.

std::string Menus(dpx::host::Company& company) {
  return CopyFixture::Column(company, "SELECT UserSign || ':' || Position || ':' || Entry FROM CUMI "
                                      "ORDER BY UserSign, Position");
}

TEST_P(UserSettings, MenusReplaceTheWholeMenuOfTheUserOfTheSameCode) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO CUMI VALUES (2, 0, '<MenuItem><Name>A &amp; &lt;b&gt;</Name></MenuItem>'),"
                              "(2, 1, '<MenuItem><Name>B</Name></MenuItem>'), (11, 0, '<MenuItem/>');");
  CopyFixture::Exec(*fx.target, "INSERT INTO CUMI VALUES (2, 0, '<MenuItem><Name>Old</Name></MenuItem>'),"
                                "(20, 0, '<MenuItem><Name>Odd</Name></MenuItem>');");
  dpx::test::CopyCategory<DPX_UserMenusManager>(fx, kMenus, 0);
  EXPECT_TRUE(fx.logLines().empty());
  dpx::test::CopyCategory<DPX_UserMenusManager>(fx, kMenus, 3);
  // The odd user's empty base menu empties its target menu; oneil is not in the target.
  EXPECT_EQ(Menus(*fx.target),
            "2:0:<MenuItem><Name>A &amp; &lt;b&gt;</Name></MenuItem>,2:1:<MenuItem><Name>B</Name></MenuItem>");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_USRMENUS_100|213|402|1|manager|1|manager|manager|",
                                  "DPX_TRN_USRMENUS_100|213|402|2|clerk|2|clerk|clerk|",
                                  "DPX_TRN_USRMENUS_100|213|402|20|" + kOdd + "|20|" + kOdd + "|" + kOdd + "|"}));
}

TEST_P(UserSettings, AMenuTheTargetCannotStoreStaysAsItWas) {
  CopyFixture fx(GetParam());
  SeedUsers(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO CUMI VALUES (2, 0, '<MenuItem><Name>New</Name></MenuItem>');");
  CopyFixture::Exec(*fx.target, "INSERT INTO CUMI VALUES (2, 0, '<MenuItem><Name>Old</Name></MenuItem>');");
  fx.target->InjectFault("StoreUserMenu", 1, -99, "Menu store failed");
  DPX_DetailRecord clerk;
  clerk.addKeyValue("INTERNAL_K", dpx::Variant("2"));
  clerk.addKeyValue("USER_CODE", dpx::Variant("clerk"));
  dpx::test::CopyCategory<DPX_UserMenusManager>(fx, kMenus, 4, {clerk});
  EXPECT_EQ(Menus(*fx.target), "2:0:<MenuItem><Name>Old</Name></MenuItem>");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_USRMENUS_100|213|403|2|clerk|2|clerk|clerk|Menu store failed"}));
}

INSTANTIATE_TEST_SUITE_P(UserServices, UserSettings, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
