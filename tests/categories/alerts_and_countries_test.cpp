// Alerts with their recipients and countries with their states copied
// between two simulated companies. Every case runs with the target as server
// type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/setup/alerts_manager.h"
#include "categories/setup/countries_manager.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

class AlertsAndCountries : public ::testing::TestWithParam<int> {};

constexpr const char* kAlerts = "DPX_TRN_ALERTS_100";
constexpr const char* kCountries = "DPX_TRN_COUNTRIES_100";

// "Sales" is query 6 in the base and 4 in the target; auditor is user 10 in
// the base and 20 in the target, oneil only in the base. "Stock low" is the
// host's own alert.
void SeedAlerts(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base, "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER, Locked) VALUES "
                              "(10, 10, 'auditor', 'Auditor', 'N', 'N'), (11, 11, 'oneil', 'O''Neil', 'N', 'N');"
                              "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                              "(6, -1, 'Sales', 'SELECT 6', 'W');"
                              "INSERT INTO OALT VALUES (1, 'Stock low', 'S', 2, NULL), (2, 'Open & <late>', 'U', 1, 6),"
                              "(3, 'O''Neil''s', 'U', 0, NULL);"
                              "INSERT INTO ALT1 VALUES (1, 2), (2, 2), (2, 11), (3, 10);");
  CopyFixture::Exec(*fx.target, "INSERT INTO OUSR (INTERNAL_K, USERID, USER_CODE, U_NAME, SUPERUSER, Locked) VALUES "
                                "(20, 20, 'auditor', 'Auditor', 'N', 'N');"
                                "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                                "(3, -1, 'Other', 'SELECT 3', 'W'), (4, -1, 'Sales', 'SELECT 4', 'W');"
                                "INSERT INTO OALT VALUES (1, 'Stock low', 'S', 2, NULL), (5, 'Target only', 'U', 1, 3);"
                                "INSERT INTO ALT1 VALUES (1, 2), (1, 20), (5, 2);"
                                "INSERT INTO ONNM VALUES ('80', 6, 0);");
}

std::string Alerts(dpx::host::Company& company) {
  return CopyFixture::Column(company, "SELECT Code || ':' || Name || ':' || Type || ':' || IFNULL(QueryId, '-') "
                                      "FROM OALT ORDER BY Code");
}
std::string Recipients(dpx::host::Company& company) {
  return CopyFixture::Column(company, "SELECT Code || ':' || UserSign FROM ALT1 ORDER BY Code, UserSign");
}
std::string NextAlert(dpx::host::Company& company) {
  return CopyFixture::Column(company, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '80'");
}

TEST_P(AlertsAndCountries, NewAlertsTakeTheNextCodesWithTheirQueriesAndRecipients) {
  CopyFixture fx(GetParam());
  SeedAlerts(fx);
  dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 4);
  EXPECT_EQ(Alerts(*fx.target), "1:Stock low:S:-,5:Target only:U:3,6:Open & <late>:U:4,7:O'Neil's:U:-");
  // oneil's recipient is dropped: the target has no such user.
  EXPECT_EQ(Recipients(*fx.target), "1:2,1:20,5:2,6:2,7:20");
  EXPECT_EQ(NextAlert(*fx.target), "8");
  EXPECT_EQ(fx.logLines().size(), 2u);  // recipients are written without lines
}

TEST_P(AlertsAndCountries, AlertsByMethodAndReplaceAll) {
  {
    // An alert the target has by name stays as it is under Add New Records.
    CopyFixture fx(GetParam());
    SeedAlerts(fx);
    CopyFixture::Exec(*fx.target, "INSERT INTO OALT VALUES (8, 'Open & <late>', 'U', 0, NULL);");
    dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 3);
    EXPECT_EQ(Alerts(*fx.target),
              "1:Stock low:S:-,5:Target only:U:3,8:Open & <late>:U:-,9:O'Neil's:U:-");
    EXPECT_EQ(Recipients(*fx.target), "1:2,1:20,5:2,9:20");
  }
  {
    // Update only: a recipient of an alert the pass did not write is dropped,
    // never attached to whatever alert has its base code in the target.
    CopyFixture fx(GetParam());
    SeedAlerts(fx);
    CopyFixture::Exec(*fx.target, "INSERT INTO OALT VALUES (2, 'Other alert', 'U', 0, NULL), "
                                  "(8, 'Open & <late>', 'U', 0, NULL);");
    dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 2);
    EXPECT_EQ(Alerts(*fx.target),
              "1:Stock low:S:-,2:Other alert:U:-,5:Target only:U:3,8:Open & <late>:U:4");
    EXPECT_EQ(Recipients(*fx.target), "1:2,1:20,5:2,8:2");
  }
  {
    // Replace All: the host's alerts and their recipients stay.
    CopyFixture fx(GetParam());
    SeedAlerts(fx);
    dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 0);
    EXPECT_EQ(Alerts(*fx.target), "1:Stock low:S:-");
    EXPECT_EQ(Recipients(*fx.target), "1:2,1:20");
    EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_ALERTS_100|404|402|||5|Target only||"}));
    dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 1);
    EXPECT_EQ(Alerts(*fx.target), "1:Stock low:S:-,2:Open & <late>:U:4,3:O'Neil's:U:-");
    EXPECT_EQ(Recipients(*fx.target), "1:2,1:20,2:2,3:20");
  }
}

TEST_P(AlertsAndCountries, AUserAlertNamedLikeASystemAlertIsAnAlertOfItsOwn) {
  CopyFixture fx(GetParam());
  SeedAlerts(fx);
  CopyFixture::Exec(*fx.base, "DELETE FROM OALT WHERE Type = 'S'; DELETE FROM ALT1 WHERE Code = 1;"
                              "INSERT INTO OALT VALUES (4, 'Stock low', 'U', 0, NULL); INSERT INTO ALT1 VALUES (4, 10);");
  dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 4);
  EXPECT_EQ(Alerts(*fx.target),
            "1:Stock low:S:-,5:Target only:U:3,6:Open & <late>:U:4,7:O'Neil's:U:-,8:Stock low:U:-");
  EXPECT_EQ(Recipients(*fx.target), "1:2,1:20,5:2,6:2,7:20,8:20");
  // Chosen by its name, it is the user alert that is read.
  DPX_DetailRecord chosen;
  chosen.addKeyValue("Name", dpx::Variant("Stock low"));
  CopyFixture::Exec(*fx.base, "INSERT INTO OALT VALUES (1, 'Stock low', 'S', 2, NULL)");
  std::vector<DPX_OperationArgs> blocks;
  DPX_AlertsManager(&fx.context, kAlerts).readFromDB(blocks, {chosen});
  ASSERT_FALSE(blocks.empty());
  ASSERT_EQ(blocks[0].dataItems.size(), 1u);
  EXPECT_EQ(blocks[0].dataItems[0].xml.find("<Type>S</Type>"), std::string::npos);
  // A later Replace All removes the user alerts only.
  dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 0);
  EXPECT_EQ(Alerts(*fx.target), "1:Stock low:S:-");
  EXPECT_EQ(Recipients(*fx.target), "1:2,1:20");
}

TEST_P(AlertsAndCountries, ARefusedAlertKeepsItsRecipientsToItself) {
  CopyFixture fx(GetParam());
  SeedAlerts(fx);
  fx.target->InjectSqlFault("INSERT INTO OALT", 1, "Refused by the test");
  dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 4);
  // "O'Neil's" takes the code the refused alert would have had; the refused one's recipients go nowhere.
  EXPECT_EQ(Alerts(*fx.target), "1:Stock low:S:-,5:Target only:U:3,6:O'Neil's:U:-");
  EXPECT_EQ(Recipients(*fx.target), "1:2,1:20,5:2,6:20");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("DPX_TRN_ALERTS_100|212|403|", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("DPX_TRN_ALERTS_100|212|402|", 0), 0u) << lines[1];
}

TEST_P(AlertsAndCountries, AChosenAlertTakesOnlyItsRecipients) {
  CopyFixture fx(GetParam());
  SeedAlerts(fx);
  DPX_DetailRecord chosen;
  chosen.addKeyValue("Name", dpx::Variant("O'Neil's"));
  dpx::test::CopyCategory<DPX_AlertsManager>(fx, kAlerts, 4, {chosen});
  EXPECT_EQ(Alerts(*fx.target), "1:Stock low:S:-,5:Target only:U:3,6:O'Neil's:U:-");
  EXPECT_EQ(Recipients(*fx.target), "1:2,1:20,5:2,6:20");
}

// --- Countries.

// The United Kingdom is "UK" in the base and "GB" in the target.
void SeedCountries(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base, "INSERT INTO OCRY VALUES ('US', 'United States', 'US', 'N', 9),"
                              "('UK', 'United Kingdom', 'GB', 'N', 9), ('DE', 'Germany & <Co>', 'DE', 'Y', 11);"
                              "INSERT INTO OCST VALUES ('NY', 'US', 'New York'), ('ENG', 'UK', 'England'),"
                              "('BY', 'DE', 'Bavaria');");
  CopyFixture::Exec(*fx.target, "INSERT INTO OCRY VALUES ('US', 'United States', 'US', 'N', 9),"
                                "('GB', 'United Kingdom', 'GB', 'N', 9), ('FR', 'France', 'FR', 'Y', 11);"
                                "INSERT INTO OCST VALUES ('NY', 'US', 'Old York'), ('TX', 'US', 'Texas'),"
                                "('SCT', 'GB', 'Scotland'), ('ORP', 'XX', 'Orphan');");
}

std::string Countries(dpx::host::Company& company) {
  return CopyFixture::Column(company, "SELECT Code FROM OCRY ORDER BY Code");
}
std::string States(dpx::host::Company& company) {
  return CopyFixture::Column(company, "SELECT Country || ':' || Code || ':' || Name FROM OCST ORDER BY Country, Code");
}

TEST_P(AlertsAndCountries, OneChosenCountryTakesEveryStateUnderTheTargetsCountry) {
  CopyFixture fx(GetParam());
  SeedCountries(fx);
  DPX_DetailRecord chosen;
  chosen.addKeyValue("Code", dpx::Variant("DE"));
  dpx::test::CopyCategory<DPX_CountriesManager>(fx, kCountries, 2, {chosen});
  EXPECT_EQ(Countries(*fx.target), "FR,GB,US");
  // A state finds its country by code: neither Germany nor "UK" is in the
  // target, so their states have no country to go to (never to "GB", which
  // bears the same name).
  EXPECT_EQ(States(*fx.target), "GB:SCT:Scotland,US:NY:New York,US:TX:Texas,XX:ORP:Orphan");
  EXPECT_TRUE(fx.logLines().empty());
  dpx::test::CopyCategory<DPX_CountriesManager>(fx, kCountries, 4, {chosen});
  EXPECT_EQ(Countries(*fx.target), "DE,FR,GB,US");
  EXPECT_EQ(States(*fx.target),
            "DE:BY:Bavaria,GB:SCT:Scotland,US:NY:New York,US:TX:Texas,XX:ORP:Orphan");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_COUNTRIES_100|212|402|DE|Germany & <Co>||||"}));
}

TEST_P(AlertsAndCountries, AStateKeepsItsCountryWhenTheCountryIsRenamed) {
  CopyFixture fx(GetParam());
  SeedCountries(fx);
  // The target's "US" goes by another name; its France bears the base's German name.
  CopyFixture::Exec(*fx.target, "UPDATE OCRY SET Name = 'USA' WHERE Code = 'US';"
                                "UPDATE OCRY SET Name = 'Germany & <Co>' WHERE Code = 'FR';");
  dpx::test::CopyCategory<DPX_CountriesManager>(fx, kCountries, 3);
  EXPECT_EQ(Countries(*fx.target), "DE,FR,GB,UK,US");
  EXPECT_EQ(States(*fx.target),
            "DE:BY:Bavaria,GB:SCT:Scotland,UK:ENG:England,US:NY:New York,US:TX:Texas,XX:ORP:Orphan");
}

TEST_P(AlertsAndCountries, ReplaceAllRemovesTheStatesOfTheRemovedCountries) {
  CopyFixture fx(GetParam());
  SeedCountries(fx);
  dpx::test::CopyCategory<DPX_CountriesManager>(fx, kCountries, 0);
  EXPECT_EQ(Countries(*fx.target), "");
  EXPECT_EQ(States(*fx.target), "XX:ORP:Orphan");
  EXPECT_EQ(fx.logLines().size(), 3u);
  dpx::test::CopyCategory<DPX_CountriesManager>(fx, kCountries, 1);
  EXPECT_EQ(Countries(*fx.target), "DE,UK,US");
  EXPECT_EQ(States(*fx.target), "DE:BY:Bavaria,UK:ENG:England,US:NY:New York,XX:ORP:Orphan");
}

INSTANTIATE_TEST_SUITE_P(Setup, AlertsAndCountries, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
