// The six settings categories copy the company's settings from the base into
// the target: display settings, company details with holidays and address
// lines, general settings with payment terms and folders, document settings,
// print-on-add settings with their per-document rows, and chart-of-accounts
// settings. Each case runs with the target as server type 5 and with the
// default dialect.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/setup/company_details_manager.h"
#include "engine/category_factory.h"
#include "engine/configuration_source.h"
#include "platform/host/host.h"
#include "tests/support/copy_fixture.h"
#include "worksheet/configuration_manager.h"

namespace {

using dpx::test::CopyFixture;
using Blocks = std::vector<DPX_OperationArgs>;
using Lines = std::vector<std::string>;

constexpr const char* kDisplay = "DPX_TRN_CMPDSPSETTINGS_100";
constexpr const char* kDetails = "DPX_TRN_CMPDETAILS_100";
constexpr const char* kGeneral = "DPX_TRN_GENERALSETTINGS_100";
constexpr const char* kDocument = "DPX_TRN_DOCSETTINGS_100";
constexpr const char* kPrintOnAdd = "DPX_TRN_PRTONADDSETTINGS_100";
constexpr const char* kCoa = "DPX_TRN_COASETTINGS_100";
const std::vector<std::string> kAllKeys = {kDisplay, kDetails, kGeneral, kDocument, kPrintOnAdd, kCoa};

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-16\" ?>";

std::unique_ptr<DPX_DIInterface> Manager(CopyFixture& fx, const std::string& key) {
  RegisterCategoryClasses();
  auto manager = DPX_CategoryFactory(&fx.context).createManager(key);
  EXPECT_NE(manager, nullptr) << key;
  return manager;
}

Blocks Read(CopyFixture& fx, const std::string& key) {
  Blocks blocks;
  Manager(fx, key)->readFromDB(blocks, {});
  return blocks;
}

// Writes with a fresh manager, as the copy driver does for each pass.
void Write(CopyFixture& fx, const std::string& key, const Blocks& blocks, uint8_t method) {
  Manager(fx, key)->writeData(blocks, method);
}

// Replace All runs the removal pass first.
void Copy(CopyFixture& fx, const std::string& key, uint8_t method) {
  const Blocks blocks = Read(fx, key);
  if (method == 1) Write(fx, key, blocks, 0);
  Write(fx, key, blocks, method);
}

// The blocks as the copy driver reads them back from a configuration file.
Blocks ThroughFile(const std::string& key, const Blocks& blocks) {
  std::string text;
  for (const DPX_OperationArgs& block : blocks) {
    text += "<table name=\"" + block.tableName + "\">";
    for (const auto& item : block.dataItems) text += item.xml.substr(item.xml.find("<BOM>"));
    text += "</table>";
  }
  return DPX_ConfigurationManager::splitRecords(key, text);
}

std::vector<std::string> Tables(const Blocks& blocks) {
  std::vector<std::string> tables;
  for (const auto& block : blocks) tables.push_back(block.tableName);
  return tables;
}

std::string Value(dpx::host::Company& company, const std::string& sql) { return CopyFixture::Column(company, sql); }

// Every row of the tables the six categories write, for comparing a target
// before and after, or two targets.
std::string Dump(dpx::host::Company& company) {
  std::string out;
  for (const char* table : {"OADM", "CINF", "OADP", "ADP1", "OHLD", "HLD1", "ADM1"}) {
    out += std::string(table) + ":";
    for (const auto& row : CopyFixture::Rows(company, std::string("SELECT * FROM ") + table + " ORDER BY 1, 2")) {
      for (const auto& cell : row) out += cell + "|";
      out += ";";
    }
    out += "\n";
  }
  return out;
}

// Settings of every category that differ between the companies.
void SeedAll(CopyFixture& fx) {
  for (auto* company : {fx.base.get(), fx.target.get()})
    CopyFixture::Exec(*company,
                      "INSERT INTO OCRN (CurrCode, CurrName) VALUES ('EUR', 'Euro');"
                      "UPDATE OADM SET MainCurncy = 'EUR', SysCurrncy = 'EUR';");
  CopyFixture::Exec(
      *fx.base,
      "UPDATE OADM SET CompnyName = 'Base & <Co>', CompanyColor = 3, DateTemplate = 0, TimeTemplate = 1, "
      "DateSeparator = '/', CompnyAddr = 'Line 1' || char(13) || char(10) || 'Line 2', CmpnyAddrF = 'Foreign', "
      "Phone1 = '555', ManagingDirector = 'Ann O''Neil', UseTax = 1, MinimumAmountfor347Report = 12.5, "
      "ISRType = 2, CurrPeriod = '2026', DefaultCustomerPaymentTerms = 3, DefaultVendorPaymentTerms = 4, "
      "CommitmentRestriction = 1, ExcelFolderPath = 'C:\\Base''s', PriceListforCostPrice = 2, OrderBlock = 'Y', "
      "CalculateRowDiscount = 1, CreditBalancewithMinusSign = 1, BlockBudget = 2;"
      "UPDATE CINF SET MinimumBaseAmountPerDoc = 1.25, BISRBankCountry = 'CH', BlockStockNegativeQuantity = 1, "
      "DefaultStampTax = 'S&<', EnableAccountSegmentation = 1, EnableBillOfExchange = 1;"
      "UPDATE OADP SET WordPath = 'C:\\Owner''s', BitmapPath = 'B', AttachPath = NULL, ExtPath = 'E', "
      "MaxLineNum = 60, V_Compress = NULL, TopMrgn = 5, DraftNote = 'it''s';"
      "INSERT INTO OCTG (GroupNum, PymntGroup) VALUES (3, 'Net 30'), (4, 'Only in the base');"
      "INSERT INTO OHLD (HldCode, WndFrm, WndTo) VALUES ('H26', 7, 1);"
      "INSERT INTO HLD1 (HldCode, StrDate, EndDate, Rmrks) VALUES ('H26', '20261224', '20261226', 'Xmas');"
      "INSERT INTO ADM1 (Code, CurrPeriod, Street) VALUES (1, '2026', 'Main'), (2, '2025', 'Old');"
      "INSERT INTO ADP1 (ObjType, PrintId) VALUES ('13', 'A'), ('17', 'B');");
  CopyFixture::Exec(
      *fx.target,
      "UPDATE OADM SET CompanyColor = 5, DateTemplate = 3, TimeTemplate = 0, DateSeparator = '.', "
      "CompnyAddr = 'Target street', Phone1 = '999', UseTax = 0, CurrPeriod = '2026', "
      "DefaultCustomerPaymentTerms = 8, DefaultVendorPaymentTerms = 8, PriceListforCostPrice = 1, OrderBlock = 'N', "
      "CalculateRowDiscount = 0, BlockBudget = 0;"
      "UPDATE OADP SET WordPath = 'D:\\Word', MaxLineNum = 40, V_Compress = 1, DraftNote = 'N';"
      "INSERT INTO OCTG (GroupNum, PymntGroup) VALUES (7, 'Net 30'), (8, 'Other');"
      "INSERT INTO OHLD (HldCode, WndFrm, WndTo) VALUES ('H26', 6, 7);"
      "INSERT INTO HLD1 (HldCode, StrDate, EndDate, Rmrks) VALUES ('H26', '20261224', '20261225', 'Xmas old');"
      "INSERT INTO ADM1 (Code, CurrPeriod, Street) VALUES (1, '2026', 'Target');"
      "INSERT INTO ADP1 (ObjType, PrintId) VALUES ('13', 'X'), ('15', 'Y');");
}

std::string Line(const std::string& key, const std::string& result, const std::string& baseCode,
                 const std::string& baseDescription, const std::string& targetCode,
                 const std::string& targetDescription, const std::string& targetFormer, const std::string& error = "") {
  return key + "|213|" + result + "|" + baseCode + "|" + baseDescription + "|" + targetCode + "|" +
         targetDescription + "|" + targetFormer + "|" + error;
}

// The line of a settings category that names the companies in its descriptions.
std::string DescriptionLine(const std::string& key, const std::string& result = "402", const std::string& error = "") {
  return Line(key, result, "", "Base & <Co>", "", "", "Demo Target & Sons", error);
}

class SettingsCategoriesTest : public ::testing::TestWithParam<int> {};

// --- Company display settings -------------------------------------------

TEST_P(SettingsCategoriesTest, DisplaySettingsRecordAndCopy) {
  CopyFixture fx(GetParam());
  SeedAll(fx);
  const Blocks blocks = Read(fx, kDisplay);
  ASSERT_EQ(Tables(blocks), (std::vector<std::string>{"OADM"}));
  ASSERT_EQ(blocks[0].dataItems.size(), 1u);
  EXPECT_EQ(blocks[0].dataItems[0].xml,
            std::string(kDeclaration) +
                "<BOM><AdminInfo><CompanyName>Base &amp; &lt;Co&gt;</CompanyName><CompanyColor>3</CompanyColor>"
                "<StandardUnitofLength>0</StandardUnitofLength><WeightUnitDefault>0</WeightUnitDefault>"
                "<TimeTemplate>1</TimeTemplate><DateTemplate>2</DateTemplate><DateSeparator>/</DateSeparator>"
                "<TotalsAccuracy>0</TotalsAccuracy><PriceAccuracy>0</PriceAccuracy><RateAccuracy>0</RateAccuracy>"
                "<AccuracyofQuantities>0</AccuracyofQuantities><PercentageAccuracy>0</PercentageAccuracy>"
                "<MeasuringAccuracy>0</MeasuringAccuracy><DecimalSeparator></DecimalSeparator>"
                "<ThousandsSeparator></ThousandsSeparator><DisplayCurrencyontheRight>0</DisplayCurrencyontheRight>"
                "<DirectIndirectRate>0</DirectIndirectRate><AccountSegmentsSeparator></AccountSegmentsSeparator>"
                "</AdminInfo></BOM>");

  // Every method but the removal pass overwrites the settings; the name
  // stays the target's and both names stand in the code columns.
  for (uint8_t method : {2, 3, 4}) {
    CopyFixture fresh(GetParam());
    SeedAll(fresh);
    Copy(fresh, kDisplay, method);
    EXPECT_EQ(Value(*fresh.target, "SELECT CompnyName || '|' || CompanyColor || '|' || TimeTemplate || '|' || "
                                   "DateTemplate || '|' || DateSeparator FROM OADM"),
              "Demo Target & Sons|3|1|0|/");
    EXPECT_EQ(fresh.logLines(), (Lines{Line(kDisplay, "402", "Base & <Co>", "", "Demo Target & Sons", "", "")}));
  }
}

// The templates travel as the category's own codes: a code puts its host
// value, an unknown code puts nothing, a host value without a code writes
// no element and the target keeps its own (time 0, date 3).
TEST_P(SettingsCategoriesTest, DisplaySettingsTemplateCodes) {
  struct Case {
    std::string base;      // the base's time and date templates
    std::string record;    // the templates' elements in the record read from the base, or put in its place
    std::string expected;  // time|date template of the target after the copy
  } cases[] = {
      {"0, 2", "<TimeTemplate>0</TimeTemplate><DateTemplate>5</DateTemplate>", "0|2"},
      {"1, 4", "<TimeTemplate>1</TimeTemplate><DateTemplate>0</DateTemplate>", "1|4"},
      {"5, 7", "", "0|3"},
      {"", "<TimeTemplate>1</TimeTemplate><DateTemplate>2</DateTemplate>", "1|0"},
      {"", "<DateTemplate>0</DateTemplate>", "0|4"},
      {"", "<TimeTemplate>x</TimeTemplate><DateTemplate>9</DateTemplate>", "0|3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.base + c.record);
    CopyFixture fx(GetParam());
    SeedAll(fx);
    Blocks blocks;
    if (c.base.empty()) {
      blocks = Read(fx, kDisplay);
      blocks[0].dataItems[0].xml = std::string(kDeclaration) + "<BOM><AdminInfo><CompanyName>B</CompanyName>" +
                                   c.record + "</AdminInfo></BOM>";
    } else {
      CopyFixture::Exec(*fx.base, "UPDATE OADM SET (TimeTemplate, DateTemplate) = (" + c.base + ")");
      blocks = Read(fx, kDisplay);
      const std::string& xml = blocks[0].dataItems[0].xml;
      const size_t from = xml.find("<TimeTemplate>") != std::string::npos ? xml.find("<TimeTemplate>")
                                                                            : xml.find("<DateSeparator>");
      EXPECT_EQ(xml.substr(from, xml.find("<DateSeparator>") - from), c.record);
    }
    Write(fx, kDisplay, blocks, 4);
    EXPECT_EQ(Value(*fx.target, "SELECT TimeTemplate || '|' || DateTemplate FROM OADM"), c.expected);
    ASSERT_EQ(fx.logLines().size(), 1u);
    EXPECT_NE(fx.logLines()[0].find("|402|"), std::string::npos);
  }

  // Of two stored records only the first is written.
  CopyFixture fx(GetParam());
  SeedAll(fx);
  Blocks blocks = Read(fx, kDisplay);
  blocks.push_back(blocks[0]);
  const std::string& xml = blocks[1].dataItems[0].xml;
  const size_t color = xml.find("<CompanyColor>3<");
  ASSERT_NE(color, std::string::npos);
  blocks[1].dataItems[0].xml = xml.substr(0, color) + "<CompanyColor>9<" + xml.substr(color + 16);
  Write(fx, kDisplay, ThroughFile(kDisplay, blocks), 4);
  EXPECT_EQ(Value(*fx.target, "SELECT CompanyColor FROM OADM"), "3");
  EXPECT_EQ(fx.logLines().size(), 1u);
}

// --- Company details ----------------------------------------------------

TEST_P(SettingsCategoriesTest, CompanyDetailsCopy) {
  for (uint8_t method : {1, 2, 3, 4}) {
    SCOPED_TRACE(testing::Message() << "method " << int(method));
    CopyFixture fx(GetParam());
    SeedAll(fx);
    const Blocks blocks = Read(fx, kDetails);
    EXPECT_EQ(Tables(blocks), (std::vector<std::string>{"OHLD", "HLD1", "ADM1", "CINF", "OADM"}));
    Copy(fx, kDetails, method);

    // The name is copied; the addresses are not.
    EXPECT_EQ(Value(*fx.target, "SELECT CompnyName || '|' || CompnyAddr || '|' || IFNULL(CmpnyAddrF, '-') || '|' || "
                                "Phone1 || '|' || ManagingDirector || '|' || UseTax || '|' || "
                                "MinimumAmountfor347Report || '|' || ISRType FROM OADM"),
              "Base & <Co>|Target street|-|555|Ann O'Neil|1|12.5|2");
    // A period with another end date stands beside the old one.
    EXPECT_EQ(Value(*fx.target, "SELECT HldCode || ':' || WndFrm FROM OHLD"), "H26:7");
    EXPECT_EQ(Value(*fx.target, "SELECT Rmrks FROM HLD1 ORDER BY EndDate"), "Xmas old,Xmas");
    // Only the address lines of the base's current period.
    EXPECT_EQ(Value(*fx.target, "SELECT Code || ':' || Street FROM ADM1 ORDER BY Code"), "1:Main");
    // The company information is saved, never written.
    EXPECT_EQ(Value(*fx.target, "SELECT IFNULL(BISRBankCountry, '-') FROM CINF"), "-");
    EXPECT_EQ(fx.logLines(),
              (Lines{Line(kDetails, "402", "", "Base & <Co>", "", "Base & <Co>", "Demo Target & Sons")}));
  }
}

// The record list: one row, the company, whose multi-line values show on
// one line; the same from a configuration file, and nothing from a file
// without the category.
TEST_P(SettingsCategoriesTest, CompanyDetailsRecordList) {
  struct File : dpx::ConfigurationSource {
    Blocks blocks;
    int32_t getData(const std::string&, Blocks& out) override {
      out = blocks;
      return blocks.empty() ? -1 : 0;
    }
  };
  CopyFixture fx(GetParam());
  SeedAll(fx);
  EXPECT_EQ(DPX_CompanyDetailsManager::cleanText("a\r\nb\rc\nd"), "a  b c d");

  const std::vector<std::string> row = {"Line 1  Line 2", "Foreign", "Base & <Co>", "", "555", "", "", "",
                                        "",               "",        "",            "", "",    "", ""};
  DPX_CompanyDetailsManager fromCompany(&fx.context, kDetails);
  DPX_TableInfo* info = fromCompany.collectDetails();
  ASSERT_EQ(info->getListRows().size(), 1u);
  EXPECT_EQ(info->getListRows()[0], row);
  EXPECT_EQ(info->getEditableFlags(), std::vector<int32_t>(15, 1));
  ASSERT_EQ(info->getDetailRecords().size(), 1u);
  EXPECT_EQ(info->getDetailRecords()[0].getKeyValue(0).toText(), "Base & <Co>");

  File file;
  file.blocks = ThroughFile(kDetails, Read(fx, kDetails));
  DPX_CompanyDetailsManager fromFile(&fx.context, kDetails);
  info = fromFile.readFromFile(&file);
  ASSERT_EQ(info->getListRows().size(), 1u);
  // The file carries the CR LF of the address as it is: the list shows the same row.
  EXPECT_EQ(info->getListRows()[0], row);

  File empty;
  DPX_CompanyDetailsManager fromNothing(&fx.context, kDetails);
  EXPECT_TRUE(fromNothing.readFromFile(&empty)->getListRows().empty());
}

// A company-information value the base cannot give is left out of the
// saved record; the rest is read.
TEST_P(SettingsCategoriesTest, CompanyDetailsUnreadableAnnualListAmount) {
  CopyFixture fx(GetParam());
  SeedAll(fx);
  fx.base->InjectFault("get:CompanyInfo.MinimumAmountForAnnualList", 1);
  const Blocks blocks = Read(fx, kDetails);
  ASSERT_EQ(Tables(blocks), (std::vector<std::string>{"OHLD", "HLD1", "ADM1", "CINF", "OADM"}));
  EXPECT_EQ(blocks[3].dataItems[0].xml,
            std::string(kDeclaration) +
                "<BOM><CompanyInfo><MinimumBaseAmountPerDoc>1.250000</MinimumBaseAmountPerDoc>"
                "<MinimumAmountForAppndixOP>0.000000</MinimumAmountForAppndixOP><BISRBankCountry>CH</BISRBankCountry>"
                "<BISRBankNo></BISRBankNo><BISRBankAccount></BISRBankAccount><BISRBranch></BISRBranch>"
                "</CompanyInfo></BOM>");
}

// The address lines follow the base's current period: an empty period
// reads the lines without one, a period called "NULL" its own lines.
TEST_P(SettingsCategoriesTest, CompanyDetailsAddressLinesOfTheCurrentPeriod) {
  struct Case {
    std::string period;
    std::string rows;  // the codes of the ADM1 block's rows
  } cases[] = {{"'2026'", "<Code>1</Code>"}, {"NULL", "<Code>3</Code>"}, {"'NULL'", "<Code>4</Code>"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.period);
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "UPDATE OADM SET CurrPeriod = " + c.period +
                                    "; INSERT INTO ADM1 (Code, CurrPeriod) VALUES (1, '2026'), (2, '2025'), (3, NULL), "
                                    "(4, 'NULL');");
    const Blocks blocks = Read(fx, kDetails);
    ASSERT_EQ(Tables(blocks), (std::vector<std::string>{"ADM1", "CINF", "OADM"}));
    std::string codes;
    const std::string& xml = blocks[0].dataItems[0].xml;
    for (size_t at = xml.find("<Code>"); at != std::string::npos; at = xml.find("<Code>", at + 1))
      codes += xml.substr(at, xml.find("</Code>", at) + 7 - at);
    EXPECT_EQ(codes, c.rows);
  }
}

// --- General settings ---------------------------------------------------

TEST_P(SettingsCategoriesTest, GeneralSettingsPaymentTermsAndPaths) {
  struct Case {
    std::string baseTerms;  // customer|vendor in the base
    std::string expected;   // customer|vendor in the target after the copy
    std::string error;      // of the line
  } cases[] = {
      // 3 is "Net 30", which the target numbers 7; 4 the target lacks: its own stays, and the line says so
      {"3|4", "7|8", "Written without DefaultVendorPaymentTerms 'Only in the base': the target has none"},
      {"-1|3", "-1|7", ""},  // "none" stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.baseTerms);
    CopyFixture fx(GetParam());
    SeedAll(fx);
    const std::string customer = c.baseTerms.substr(0, c.baseTerms.find('|'));
    const std::string vendor = c.baseTerms.substr(c.baseTerms.find('|') + 1);
    CopyFixture::Exec(*fx.base, "UPDATE OADM SET DefaultCustomerPaymentTerms = " + customer +
                                    ", DefaultVendorPaymentTerms = " + vendor);
    const Blocks blocks = Read(fx, kGeneral);
    EXPECT_EQ(Tables(blocks), (std::vector<std::string>{"OADM", "OADP"}));
    Write(fx, kGeneral, blocks, 0);
    Write(fx, kGeneral, blocks, 4);
    EXPECT_EQ(Value(*fx.target, "SELECT DefaultCustomerPaymentTerms || '|' || DefaultVendorPaymentTerms || '|' || "
                                "CommitmentRestriction || '|' || ExcelFolderPath FROM OADM"),
              c.expected + "|1|C:\\Base's");
    EXPECT_EQ(Value(*fx.target, "SELECT WordPath || '|' || BitmapPath || '|' || IFNULL(AttachPath, 'NULL') || '|' || "
                                "ExtPath FROM OADP"),
              "C:\\Owner's|B||E");
    EXPECT_EQ(fx.logLines(), (Lines{DescriptionLine(kGeneral, "402", c.error)}));
  }
}

// A file that holds only the folders writes them and no line; a base
// without the folders' row saves no such block.
TEST_P(SettingsCategoriesTest, GeneralSettingsFoldersAlone) {
  CopyFixture fx(GetParam());
  SeedAll(fx);
  Blocks blocks = ThroughFile(kGeneral, Read(fx, kGeneral));
  ASSERT_EQ(Tables(blocks), (std::vector<std::string>{"OADM", "OADP"}));
  blocks.erase(blocks.begin());
  Write(fx, kGeneral, blocks, 3);
  EXPECT_EQ(Value(*fx.target, "SELECT WordPath FROM OADP"), "C:\\Owner's");
  EXPECT_EQ(Value(*fx.target, "SELECT DefaultCustomerPaymentTerms FROM OADM"), "8");
  EXPECT_TRUE(fx.logLines().empty());

  CopyFixture::Exec(*fx.base, "DELETE FROM OADP");
  EXPECT_EQ(Tables(Read(fx, kGeneral)), (std::vector<std::string>{"OADM"}));
  EXPECT_EQ(Tables(Read(fx, kPrintOnAdd)), (std::vector<std::string>{"ADP1"}));
}

// --- Document settings --------------------------------------------------

// The row discount is put unless the target's settings entry 11 has the
// status 1; every other field is written.
TEST_P(SettingsCategoriesTest, DocumentSettingsRowDiscountFollowsEntry11) {
  struct Case {
    std::string entries;  // the target's settings entries
    std::string rowDiscount;
  } cases[] = {{"('11', 1)", "0"}, {"('11', 0)", "1"}, {"('6', 1)", "1"}, {"('011', 1), ('11', 0)", "0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries);
    CopyFixture fx(GetParam());
    SeedAll(fx);
    CopyFixture::Exec(*fx.target, "DELETE FROM HOST_SETTINGS; INSERT INTO HOST_SETTINGS (Code, Status) VALUES " +
                                      c.entries);
    Copy(fx, kDocument, 2);
    EXPECT_EQ(Value(*fx.target, "SELECT CalculateRowDiscount || '|' || PriceListforCostPrice || '|' || OrderBlock "
                                "FROM OADM"),
              c.rowDiscount + "|2|Y");
    EXPECT_EQ(Value(*fx.target, "SELECT BlockStockNegativeQuantity || '|' || DefaultStampTax FROM CINF"), "1|S&<");
    EXPECT_EQ(fx.logLines(), (Lines{DescriptionLine(kDocument)}));
  }
}

// --- Chart-of-accounts settings and the refusals of two objects -----------

TEST_P(SettingsCategoriesTest, CoaSettingsUpdateBothObjects) {
  CopyFixture fx(GetParam());
  SeedAll(fx);
  const Blocks blocks = Read(fx, kCoa);
  ASSERT_EQ(Tables(blocks), (std::vector<std::string>{"OADM"}));
  EXPECT_EQ(blocks[0].dataItems[0].xml,
            std::string(kDeclaration) +
                "<BOM><COASettings><CompanyName>Base &amp; &lt;Co&gt;</CompanyName><LocalCurrency>EUR</LocalCurrency>"
                "<SystemCurrency>EUR</SystemCurrency><CreditBalancewithMinusSign>1</CreditBalancewithMinusSign>"
                "<CalculateBudget>0</CalculateBudget><BlockBudget>2</BlockBudget><BudgetAlert>0</BudgetAlert>"
                "<BlockPurchaseOrders>0</BlockPurchaseOrders><BlockDelNotesforPurchase>0</BlockDelNotesforPurchase>"
                "<BlockBookkeeping>0</BlockBookkeeping><WholdingTaxDedHierarchy>0</WholdingTaxDedHierarchy>"
                "<EnableAccountSegmentation>1</EnableAccountSegmentation>"
                "<EnableBillOfExchange>1</EnableBillOfExchange></COASettings></BOM>");
  Copy(fx, kCoa, 1);
  EXPECT_EQ(Value(*fx.target, "SELECT CreditBalancewithMinusSign || '|' || BlockBudget FROM OADM"), "1|2");
  EXPECT_EQ(Value(*fx.target, "SELECT EnableAccountSegmentation || '|' || EnableBillOfExchange FROM CINF"), "1|1");
  EXPECT_EQ(fx.logLines(), (Lines{DescriptionLine(kCoa)}));
}

// Whatever one object refuses fails the line: a refused update leaves what
// the other object stored, a refused put stores nothing at all.
TEST_P(SettingsCategoriesTest, RefusalsOfTheTwoObjects) {
  struct Case {
    std::string name;
    std::string key;
    std::function<void(CopyFixture&)> arrange;
    std::string admin, info;  // two administration settings and one company-information setting afterwards
    std::string error;
  } cases[] = {
      {"company information refused", kDocument,
       [](CopyFixture& fx) { fx.target->InjectFault("Update:-11", 1, -5002, "Company information locked"); }, "2|1",
       "0", "Company information locked"},
      {"a currency the target lacks", kCoa,
       [](CopyFixture& fx) { CopyFixture::Exec(*fx.base, "UPDATE OADM SET MainCurncy = 'JPY'"); }, "0|0", "1",
       "refers to OCRN.CurrCode = 'JPY', which does not exist"},
      {"a put refused", kCoa, [](CopyFixture& fx) { fx.target->InjectFault("put:AdminInfo.BlockBudget", 1); }, "0|0",
       "0", "The target refused the value '2' of the setting 'BlockBudget': Injected fault"},
      {"a company-information put refused", kDocument,
       [](CopyFixture& fx) { fx.target->InjectFault("put:CompanyInfo.DefaultStampTax", 1, -99, "No stamps"); },
       "1|0", "0", "The target refused the value 'S&<' of the setting 'DefaultStampTax': No stamps"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CopyFixture fx(GetParam());
    SeedAll(fx);
    CopyFixture::Exec(*fx.target, "UPDATE CINF SET BlockStockNegativeQuantity = 0, EnableAccountSegmentation = 0");
    c.arrange(fx);
    Copy(fx, c.key, 4);
    const bool coa = c.key == kCoa;
    EXPECT_EQ(Value(*fx.target, coa ? "SELECT IFNULL(BlockBudget, 0) || '|' || IFNULL(CreditBalancewithMinusSign, 0) "
                                      "FROM OADM"
                                    : "SELECT PriceListforCostPrice || '|' || CalculateRowDiscount FROM OADM"),
              c.admin);
    EXPECT_EQ(Value(*fx.target, coa ? "SELECT EnableAccountSegmentation FROM CINF"
                                    : "SELECT BlockStockNegativeQuantity FROM CINF"),
              c.info);
    const Lines lines = fx.logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind(DescriptionLine(c.key, "403"), 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(c.error), std::string::npos) << lines[0];
  }
}

// --- Print-on-add settings ----------------------------------------------

TEST_P(SettingsCategoriesTest, PrintOnAddByMethod) {
  struct Case {
    uint8_t method;
    std::string rows;  // ObjType:PrintId of the target's ADP1 afterwards
  } cases[] = {{1, "13:A,17:B"}, {2, "13:A,15:Y"}, {3, "13:X,15:Y,17:B"}, {4, "13:A,15:Y,17:B"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "method " << int(c.method));
    CopyFixture fx(GetParam());
    SeedAll(fx);
    const Blocks blocks = Read(fx, kPrintOnAdd);
    ASSERT_EQ(Tables(blocks), (std::vector<std::string>{"OADP", "ADP1"}));
    EXPECT_EQ(blocks[0].dataItems[0].xml,
              std::string(kDeclaration) +
                  "<BOM><PrintPreference><MaxLineNum>60</MaxLineNum><V_Compress></V_Compress><TopMrgn>5</TopMrgn>"
                  "<BtmMrgn></BtmMrgn><MaxWordLin></MaxWordLin><SNType></SNType><PrintMeta>N</PrintMeta>"
                  "<PrnCompany></PrnCompany><MnhlNote></MnhlNote><DraftNote>it&apos;s</DraftNote>"
                  "<PrintRcpt></PrintRcpt><ShortRcpt></ShortRcpt></PrintPreference></BOM>");
    Copy(fx, kPrintOnAdd, c.method);
    EXPECT_EQ(Value(*fx.target, "SELECT ObjType || ':' || PrintId FROM ADP1 ORDER BY ObjType"), c.rows);
    // An empty number is NULL; a text keeps its apostrophe.
    EXPECT_EQ(Value(*fx.target, "SELECT MaxLineNum || '|' || IFNULL(V_Compress, 'NULL') || '|' || TopMrgn || '|' || "
                                "DraftNote FROM OADP"),
              "60|NULL|5|it's");
    // The removal pass logs each deleted row; the folders' update logs nothing.
    const Lines lines = fx.logLines();
    const Lines removed = {std::string(kPrintOnAdd) + "|404|402|||13|X||", std::string(kPrintOnAdd) + "|404|402|||15|Y||"};
    if (c.method == 1) {
      ASSERT_GE(lines.size(), 2u);
      EXPECT_EQ(Lines(lines.begin(), lines.begin() + 2), removed);
    }
    for (const std::string& line : lines) EXPECT_EQ(line.rfind(std::string(kPrintOnAdd) + "|", 0), 0u) << line;
  }
}

// --- All six ------------------------------------------------------------

// The removal pass changes no setting and writes no line; only the
// print-on-add rows are deleted, one line each.
TEST_P(SettingsCategoriesTest, RemovalPassLeavesTheSettings) {
  for (const std::string& key : kAllKeys) {
    SCOPED_TRACE(key);
    CopyFixture fx(GetParam());
    SeedAll(fx);
    const std::string before = Dump(*fx.target);
    Write(fx, key, Read(fx, key), 0);
    if (key == kPrintOnAdd) {
      EXPECT_EQ(Value(*fx.target, "SELECT COUNT(*) FROM ADP1"), "0");
      EXPECT_EQ(fx.logLines().size(), 2u);
    } else {
      EXPECT_EQ(Dump(*fx.target), before);
      EXPECT_TRUE(fx.logLines().empty());
    }
  }
}

// A record read back from a configuration file copies as the company's does.
TEST_P(SettingsCategoriesTest, CopyFromAFileEqualsCopyFromTheCompany) {
  for (const std::string& key : kAllKeys) {
    SCOPED_TRACE(key);
    CopyFixture direct(GetParam()), viaFile(GetParam());
    SeedAll(direct);
    SeedAll(viaFile);
    Copy(direct, key, 4);
    Write(viaFile, key, ThroughFile(key, Read(viaFile, key)), 4);
    EXPECT_EQ(Dump(*viaFile.target), Dump(*direct.target));
    EXPECT_EQ(viaFile.logLines(), direct.logLines());
    EXPECT_FALSE(direct.logLines().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, SettingsCategoriesTest, ::testing::ValuesIn(dpx::test::kServerTypes));

}  // namespace
