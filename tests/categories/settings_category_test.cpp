// The settings family on a category of the tests' own: a few fields of the
// administration record go from the base into the target under every copy
// method, the removal pass leaves them alone, and every copy writes exactly
// one copy-log line, "402" or "403" with the reason. Each case runs with the
// target as server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "categories/settings_category.h"
#include "platform/host/host.h"
#include "worksheet/configuration_manager.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kKey = "DPX_TRN_TESTSETTINGS_100";

DPX_SettingsCategoryDefinition Display(bool hasCompanyName = true) {
  return {"TestSettings",
          {{"PriceAccuracy", DPX_SettingsField::kNumber},
           {"DateSeparator", DPX_SettingsField::kText},
           {"Address", DPX_SettingsField::kText},
           {"DisplayCurrencyontheRight", DPX_SettingsField::kNumber}},
          hasCompanyName};
}

void Seed(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "UPDATE OADM SET CompnyName = 'Base & <Co>', PriceAccuracy = 4, DateSeparator = '/', "
                    "CompnyAddr = 'O''Neil \"Yard\" 1', DisplayCurrencyontheRight = -1, TotalsAccuracy = 9;");
  CopyFixture::Exec(*fx.target,
                    "UPDATE OADM SET CompnyName = 'Target', PriceAccuracy = 2, DateSeparator = '.', "
                    "CompnyAddr = 'Old street', DisplayCurrencyontheRight = 0, TotalsAccuracy = 1;");
}

// The target's company name and the category's fields, plus one field the
// category does not carry.
std::string TargetSettings(CopyFixture& fx) {
  return CopyFixture::Column(*fx.target,
                             "SELECT CompnyName || '|' || PriceAccuracy || '|' || DateSeparator || '|' || "
                             "IFNULL(CompnyAddr, '') || '|' || DisplayCurrencyontheRight || '|' || TotalsAccuracy "
                             "FROM OADM");
}

constexpr const char* kUnchanged = "Target|2|.|Old street|0|1";
constexpr const char* kCopied = "Target|4|/|O'Neil \"Yard\" 1|-1|1";

// Reads with one manager and writes with a fresh one, as the copy driver does.
void Copy(CopyFixture& fx, uint8_t method, const DPX_SettingsCategoryDefinition& definition = Display()) {
  std::vector<DPX_OperationArgs> blocks;
  DPX_SettingsCategory(&fx.context, kKey, definition).readFromDB(blocks, {});
  DPX_SettingsCategory(&fx.context, kKey, definition).writeData(blocks, method);
}

// A settings category whose record lines are turned off.
class SilentSettings : public DPX_SettingsCategory {
 public:
  SilentSettings(DPX_ConnectionContext* context, DPX_SettingsCategoryDefinition definition)
      : DPX_SettingsCategory(context, kKey, std::move(definition)) {
    m_logRecords = 0;
  }
};

class SettingsCategoryTest : public ::testing::TestWithParam<int> {};

// The record is one "OADM" block whose XML has the category's element, the
// base's company name first and the fields in their order, numbers as
// decimal text and texts escaped.
TEST_P(SettingsCategoryTest, RecordXmlHasTheCategoryShape) {
  CopyFixture fx(GetParam());
  Seed(fx);
  const std::string fields =
      "<PriceAccuracy>4</PriceAccuracy><DateSeparator>/</DateSeparator>"
      "<Address>O&apos;Neil &quot;Yard&quot; 1</Address><DisplayCurrencyontheRight>-1</DisplayCurrencyontheRight>";
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>";
  struct Case {
    bool hasCompanyName;
    std::string xml;
  } cases[] = {
      {true, declaration + "<BOM><TestSettings><CompanyName>Base &amp; &lt;Co&gt;</CompanyName>" + fields +
                 "</TestSettings></BOM>"},
      {false, declaration + "<BOM><TestSettings>" + fields + "</TestSettings></BOM>"},
  };
  for (const Case& c : cases) {
    std::vector<DPX_OperationArgs> blocks;
    // The chosen keys do not matter: there is one record.
    DPX_SettingsCategory(&fx.context, kKey, Display(c.hasCompanyName)).readFromDB(blocks, {DPX_DetailRecord()});
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].tableName, "OADM");
    EXPECT_EQ(blocks[0].categoryKey, kKey);
    EXPECT_EQ(blocks[0].hostObjectType, 300);
    ASSERT_EQ(blocks[0].dataItems.size(), 1u);
    EXPECT_EQ(blocks[0].dataItems[0].xml, c.xml);
  }
  EXPECT_TRUE(fx.logLines().empty());
}

// Every method but the removal pass puts the base's fields into the target
// (add-only too: there is nothing to add, the one record is updated); the
// company name only names the base in the log. The removal pass and a copy
// without a block change nothing and write nothing.
TEST_P(SettingsCategoryTest, CopyByMethod) {
  const std::string copied = std::string(kKey) + "|213|402||Base & <Co>|||Target|";
  struct Case {
    uint8_t method;
    std::string settings;
    Lines lines;
  } cases[] = {
      {0, kUnchanged, {}},
      {1, kCopied, {copied}},
      {2, kCopied, {copied}},
      {3, kCopied, {copied}},
      {4, kCopied, {copied}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "method " << int(c.method));
    CopyFixture fx(GetParam());
    Seed(fx);
    Copy(fx, c.method);
    EXPECT_EQ(TargetSettings(fx), c.settings);
    EXPECT_EQ(fx.logLines(), c.lines);

    DPX_SettingsCategory(&fx.context, kKey, Display()).writeData({}, c.method);
    EXPECT_EQ(fx.logLines(), c.lines);
  }

  // A category without a company name leaves the description empty; the
  // line is written even while the category's record lines are off.
  CopyFixture fx(GetParam());
  Seed(fx);
  std::vector<DPX_OperationArgs> blocks;
  DPX_SettingsCategory(&fx.context, kKey, Display(false)).readFromDB(blocks, {});
  SilentSettings(&fx.context, Display(false)).writeData(blocks, 4);
  EXPECT_EQ(TargetSettings(fx), kCopied);
  EXPECT_EQ(fx.logLines(), (Lines{std::string(kKey) + "|213|402||||||"}));
}

// Line ends in a text setting arrive as written, also through the file's form.
TEST_P(SettingsCategoryTest, LineEndsInATextArriveAsWritten) {
  for (bool throughFile : {false, true}) {
    SCOPED_TRACE(throughFile ? "through the file" : "directly");
    CopyFixture fx(GetParam());
    Seed(fx);
    CopyFixture::Exec(*fx.base, "UPDATE OADM SET CompnyAddr = 'Yard 1' || char(13) || char(10) || 'Town' || "
                                "char(13) || 'Land' || char(10) || 'End'");
    std::vector<DPX_OperationArgs> blocks;
    DPX_SettingsCategory(&fx.context, kKey, Display()).readFromDB(blocks, {});
    ASSERT_EQ(blocks.size(), 1u);
    if (throughFile) {
      const std::string& xml = blocks[0].dataItems[0].xml;
      const std::string text = "<table name=\"OADM\">" + xml.substr(xml.find("<BOM>")) + "</table>";
      blocks = DPX_ConfigurationManager::splitRecords(kKey, text);
    }
    DPX_SettingsCategory(&fx.context, kKey, Display()).writeData(blocks, 4);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT replace(replace(CompnyAddr, char(13), '<CR>'), char(10), '<LF>') "
                                              "FROM OADM"),
              "Yard 1<CR><LF>Town<CR>Land<LF>End");
  }
}

// The record read back from a configuration file copies the same way.
TEST_P(SettingsCategoryTest, CopyThroughConfigurationFile) {
  CopyFixture fx(GetParam());
  Seed(fx);
  std::vector<DPX_OperationArgs> blocks;
  DPX_SettingsCategory(&fx.context, kKey, Display()).readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 1u);
  const std::string& xml = blocks[0].dataItems[0].xml;
  const std::string text = "<table name=\"OADM\">" + xml.substr(xml.find("<BOM>")) + "</table>";
  DPX_SettingsCategory(&fx.context, kKey, Display()).writeData(DPX_ConfigurationManager::splitRecords(kKey, text), 3);
  EXPECT_EQ(TargetSettings(fx), kCopied);
  EXPECT_EQ(fx.logLines(), (Lines{std::string(kKey) + "|213|402||Base & <Co>|||Target|"}));
}

// Whatever stops the copy of the settings, the target keeps all of them and
// the one line says "403" and why.
TEST_P(SettingsCategoryTest, RefusedCopyKeepsTheTargetsSettings) {
  const std::string prefix = std::string(kKey) + "|213|403||Base & <Co>|||Target|";
  const DPX_SettingsCategoryDefinition withCurrency = {
      "TestSettings", {{"PriceAccuracy", DPX_SettingsField::kNumber}, {"LocalCurrency"}}, true};
  struct Case {
    std::string name;
    std::function<void(CopyFixture&)> arrange;
    std::string record;  // replaces the record read from the base, when given
    DPX_SettingsCategoryDefinition definition;
    std::string line;
  } cases[] = {
      {"the host raises on the update",
       [](CopyFixture& fx) { fx.target->InjectFault("UpdateAdminInfo", 1, -99, "Settings locked by the test"); },
       "", Display(), prefix + "Settings locked by the test"},
      {"the host refuses the update",
       [](CopyFixture& fx) { CopyFixture::Exec(*fx.base, "UPDATE OADM SET MainCurncy = 'EUR';"); }, "", withCurrency,
       prefix + "AdminInfo '' refers to OCRN.CurrCode = 'EUR', which does not exist"},
      {"the target lacks a setting of the record", [](CopyFixture&) {},
       "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><TestSettings><CompanyName>Base &amp; &lt;Co&gt;"
       "</CompanyName><PriceAccuracy>7</PriceAccuracy><NoSuchSetting>1</NoSuchSetting></TestSettings></BOM>",
       {"TestSettings", {{"PriceAccuracy", DPX_SettingsField::kNumber}, {"NoSuchSetting"}}, true},
       prefix + "The target has no setting 'NoSuchSetting'"},
      {"the record lacks the category's element", [](CopyFixture&) {},
       "<BOM><OtherSettings><PriceAccuracy>7</PriceAccuracy></OtherSettings></BOM>", Display(),
       std::string(kKey) + "|213|403||||||The settings record holds no element 'TestSettings'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CopyFixture fx(GetParam());
    Seed(fx);
    c.arrange(fx);
    std::vector<DPX_OperationArgs> blocks;
    DPX_SettingsCategory(&fx.context, kKey, c.record.empty() ? c.definition : Display()).readFromDB(blocks, {});
    if (!c.record.empty()) blocks[0].dataItems[0].xml = c.record;
    DPX_SettingsCategory(&fx.context, kKey, c.definition).writeData(blocks, 4);
    EXPECT_EQ(TargetSettings(fx), kUnchanged);
    EXPECT_EQ(fx.logLines(), (Lines{c.line}));
  }

  // A block without a record is refused as well.
  CopyFixture fx(GetParam());
  Seed(fx);
  std::vector<DPX_OperationArgs> blocks(1);
  blocks[0].tableName = "OADM";
  DPX_SettingsCategory(&fx.context, kKey, Display()).writeData(blocks, 1);
  EXPECT_EQ(TargetSettings(fx), kUnchanged);
  EXPECT_EQ(fx.logLines(), (Lines{std::string(kKey) + "|213|403||||||The category brings no settings record"}));
}

// A setting the record does not carry keeps the target's value rather than
// being blanked (or zeroed); the others are copied.
TEST_P(SettingsCategoryTest, MissingElementKeepsTheTargetsValue) {
  CopyFixture fx(GetParam());
  Seed(fx);
  std::vector<DPX_OperationArgs> blocks;
  DPX_SettingsCategory(&fx.context, kKey, Display()).readFromDB(blocks, {});
  blocks[0].dataItems[0].xml =
      "<?xml version=\"1.0\" encoding=\"UTF-16\" ?><BOM><TestSettings><CompanyName>Base</CompanyName>"
      "<DateSeparator>-</DateSeparator><Address></Address></TestSettings></BOM>";
  DPX_SettingsCategory(&fx.context, kKey, Display()).writeData(blocks, 2);
  EXPECT_EQ(TargetSettings(fx), "Target|2|-||0|1");
  EXPECT_EQ(fx.logLines(), (Lines{std::string(kKey) + "|213|402||Base|||Target|"}));
}

// A setting the base cannot read stops the reading: the caller reports the
// category instead of saving a record with a hole in it.
TEST_P(SettingsCategoryTest, UnreadableSettingRaises) {
  CopyFixture fx(GetParam());
  Seed(fx);
  fx.base->InjectFault("get:AdminInfo.DateSeparator", 1);
  std::vector<DPX_OperationArgs> blocks;
  EXPECT_THROW(DPX_SettingsCategory(&fx.context, kKey, Display()).readFromDB(blocks, {}), dpx::HostError);
  EXPECT_TRUE(blocks.empty());
}

// Numbers in the record are read back by their leading decimal number,
// whatever follows, and never by the user's locale; 0 when there is none.
TEST(SettingsRecordNumbers, ReadAndWrittenInTheCForm) {
  struct Case {
    std::string text;
    double value;
  } cases[] = {{"12.500000", 12.5}, {"  -3.25kg", -3.25}, {"+7", 7}, {"1,5", 1}, {"", 0}, {"abc", 0}, {"-", 0}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(DPX_SettingsCategory::LeadingDouble(c.text), c.value) << c.text;
  EXPECT_EQ(DPX_SettingsCategory::FormatNumber(dpx::Variant(0.5), DPX_SettingsField::kDouble), "0.500000");
  EXPECT_EQ(DPX_SettingsCategory::FormatNumber(dpx::Variant(), DPX_SettingsField::kDouble), "0.000000");
  EXPECT_EQ(DPX_SettingsCategory::FormatNumber(dpx::Variant(-12), DPX_SettingsField::kNumber), "-12");
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, SettingsCategoryTest, ::testing::ValuesIn(dpx::test::kServerTypes));

}  // namespace
