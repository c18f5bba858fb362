// End-to-end copies of the first categories between two simulated companies:
// each family over the copy methods 0 to 4, against records that exist in the
// target (B, under another key) or not (A), beside a record only the target
// has (C). Every case runs with the target as server type 5 and with the
// default dialect; what counts is the target's rows and the copy-log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/customization/query_manager.h"
#include "categories/setup/address_format_manager.h"
#include "categories/setup/currency_settings_manager.h"
#include "categories/setup/indexes_manager.h"
#include "categories/setup/transaction_code_manager.h"
#include "engine/category_factory.h"
#include "engine/configuration_source.h"
#include "worksheet/configuration_manager.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"
#include "tests/support/stored_blocks.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

struct MethodCase {
  uint8_t method;
  std::string rows;  // the target's rows afterwards, as the assertion query renders them
  Lines lines;       // the copy-log lines, in order
};

// Reads the category from the base with one manager and writes it with a
// fresh one, both made by the category factory, as the copy driver does.
template <class Manager>
void Copy(CopyFixture& fx, const std::string& key, uint8_t method) {
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  std::vector<DPX_OperationArgs> blocks;
  {
    std::unique_ptr<DPX_DIInterface> reader = factory.createManager(key);
    ASSERT_NE(dynamic_cast<Manager*>(reader.get()), nullptr) << key;
    reader->readFromDB(blocks, {});
  }
  std::unique_ptr<DPX_DIInterface> writer = factory.createManager(key);
  ASSERT_NE(writer, nullptr);
  writer->writeData(blocks, method);
}

// The same, with the blocks on their way through the configuration file's
// form: each table block cut into "<BOM>" records as the copy driver reads them back.
template <class Manager>
void CopyThroughFile(CopyFixture& fx, const std::string& key, uint8_t method) {
  std::vector<DPX_OperationArgs> blocks;
  Manager(&fx.context, key).readFromDB(blocks, {});
  std::string text;
  for (const DPX_OperationArgs& block : blocks) {
    text += "<table name=\"" + block.tableName + "\">";
    for (const auto& item : block.dataItems) {
      const size_t bom = item.xml.find("<BOM>");
      if (bom != std::string::npos) text += item.xml.substr(bom);
    }
    text += "</table>";
  }
  Manager(&fx.context, key).writeData(DPX_ConfigurationManager::splitRecords(key, text), method);
}

// --- Address formats: a table category matched by name, new rows numbered by the target.

constexpr const char* kAddressKey = "DPX_TRN_ADDRESSFORMAT_100";

void SeedAddressFormats(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base, "DELETE FROM OADF; INSERT INTO OADF (Code, Name, Format) VALUES (1, 'A', 'fa'), (2, 'B', 'fb');");
  CopyFixture::Exec(*fx.target,
                    "DELETE FROM OADF; INSERT INTO OADF (Code, Name, Format) VALUES (5, 'B', 'old'), (6, 'C', 'fc');"
                    "DELETE FROM ONNM WHERE ObjectCode = '131';"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('131', 7, 0);");
}

// The format text (a memo column) travels on every server type.
const char* kAddressRows = "SELECT Code || ':' || Name || ':' || COALESCE(Format, '') FROM OADF ORDER BY Code";

const std::vector<MethodCase> kAddressCases = {
    {0, "", {"DPX_TRN_ADDRESSFORMAT_100|404|402|||5|B||", "DPX_TRN_ADDRESSFORMAT_100|404|402|||6|C||"}},
    {1, "5:B:fb,6:C:fc,7:A:fa",
     {"DPX_TRN_ADDRESSFORMAT_100|212|402|1|A||||", "DPX_TRN_ADDRESSFORMAT_100|213|402|2|B|5|B|B|"}},
    {2, "5:B:fb,6:C:fc", {"DPX_TRN_ADDRESSFORMAT_100|213|402|2|B|5|B|B|"}},
    {3, "5:B:old,6:C:fc,7:A:fa", {"DPX_TRN_ADDRESSFORMAT_100|212|402|1|A||||"}},
    {4, "5:B:fb,6:C:fc,7:A:fa",
     {"DPX_TRN_ADDRESSFORMAT_100|212|402|1|A||||", "DPX_TRN_ADDRESSFORMAT_100|213|402|2|B|5|B|B|"}},
};

class ServerTypes : public ::testing::TestWithParam<int> {};

TEST_P(ServerTypes, AddressFormatsByCopyMethod) {
  for (const MethodCase& c : kAddressCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedAddressFormats(fx);
    Copy<DPX_AddressFormatManager>(fx, kAddressKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kAddressRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(ServerTypes, AddressFormatsThroughTheFileForm) {
  CopyFixture fx(GetParam());
  SeedAddressFormats(fx);
  CopyThroughFile<DPX_AddressFormatManager>(fx, kAddressKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kAddressRows), kAddressCases[4].rows);
  EXPECT_EQ(fx.logLines(), kAddressCases[4].lines);
}

TEST_P(ServerTypes, NewAddressFormatsTakeTheNextFreeKeysAndTheCounterEndsPastThem) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "DELETE FROM OADF; INSERT INTO OADF (Code, Name) VALUES (1, 'X'), (2, 'Y'), (3, 'O''Brien');");
  CopyFixture::Exec(*fx.target,
                    "DELETE FROM OADF; INSERT INTO OADF (Code, Name) VALUES (4, 'O''Brien'), (9, 'C');"
                    "DELETE FROM ONNM WHERE ObjectCode = '131';"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('131', 3, 0);");
  Copy<DPX_AddressFormatManager>(fx, kAddressKey, 4);
  // The name with an apostrophe finds its target row (key 4); the new rows get 10 and 11.
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OADF ORDER BY Code"),
            "4:O'Brien,9:C,10:X,11:Y");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '131'"), "12");
}

TEST_P(ServerTypes, TheNextNumberIsNeverLowered) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OADF; INSERT INTO OADF (Code, Name) VALUES (1, 'X');");
  CopyFixture::Exec(*fx.target,
                    "DELETE FROM OADF; DELETE FROM ONNM WHERE ObjectCode = '131';"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('131', 50, 0);");
  Copy<DPX_AddressFormatManager>(fx, kAddressKey, 3);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OADF"), "1:X");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '131'"), "50");
}

TEST_P(ServerTypes, TextKeysKeepTheirCodeAndLeaveTheNextNumberAlone) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "DELETE FROM OIDX; INSERT INTO OIDX (IdexCode, IndexName) VALUES ('CPI', 'Prices'), ('OWN', 'Own''s');");
  CopyFixture::Exec(*fx.target,
                    "DELETE FROM OIDX; INSERT INTO OIDX (IdexCode, IndexName) VALUES ('CPI', 'Old'), ('TGT', 'T');"
                    "DELETE FROM ONNM WHERE ObjectCode = '38';"
                    "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('38', 5, 0);");
  Copy<DPX_IndexesManager>(fx, "DPX_TRN_INDEXES_100", 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT IdexCode || ':' || IndexName FROM OIDX ORDER BY IdexCode"),
            "CPI:Prices,OWN:Own's,TGT:T");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '38'"), "5");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_INDEXES_100|213|402|CPI|Prices|CPI|Prices|Old|",
                                  "DPX_TRN_INDEXES_100|212|402|OWN|Own's||||"}));
}

TEST_P(ServerTypes, TransactionCodesReplaceAllEmptiesTheTableFirst) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OTRC; INSERT INTO OTRC (TrnsCode, TrnsCodDsc) VALUES ('OB', 'Opening');");
  CopyFixture::Exec(*fx.target,
                    "DELETE FROM OTRC; INSERT INTO OTRC (TrnsCode, TrnsCodDsc) VALUES ('OB', 'Old'), ('TG', 'T');");
  Copy<DPX_TransactionCodeManager>(fx, "DPX_TRN_TRANSACTIONCODES_100", 0);
  Copy<DPX_TransactionCodeManager>(fx, "DPX_TRN_TRANSACTIONCODES_100", 1);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT TrnsCode || ':' || TrnsCodDsc FROM OTRC"), "OB:Opening");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_TRANSACTIONCODES_100|404|402|||OB|Old||",
                                  "DPX_TRN_TRANSACTIONCODES_100|404|402|||TG|T||",
                                  "DPX_TRN_TRANSACTIONCODES_100|212|402|OB|Opening||||"}));
}

// --- Currencies: a business-object category matched by code.

constexpr const char* kCurrencyKey = "DPX_TRN_CURRENCYSETTINGS_100";

const std::vector<MethodCase> kCurrencyCases = {
    {0, "", {"DPX_TRN_CURRENCYSETTINGS_100|404|402|||BBB|Beta-old||",
             "DPX_TRN_CURRENCYSETTINGS_100|404|402|||CCC|Gamma||"}},
    {1, "AAA:Alpha,BBB:Beta,CCC:Gamma",
     {"DPX_TRN_CURRENCYSETTINGS_100|212|402|AAA|Alpha||||",
      "DPX_TRN_CURRENCYSETTINGS_100|213|402|BBB|Beta|BBB|Beta|Beta-old|"}},
    {2, "BBB:Beta,CCC:Gamma", {"DPX_TRN_CURRENCYSETTINGS_100|213|402|BBB|Beta|BBB|Beta|Beta-old|"}},
    {3, "AAA:Alpha,BBB:Beta-old,CCC:Gamma", {"DPX_TRN_CURRENCYSETTINGS_100|212|402|AAA|Alpha||||"}},
    {4, "AAA:Alpha,BBB:Beta,CCC:Gamma",
     {"DPX_TRN_CURRENCYSETTINGS_100|212|402|AAA|Alpha||||",
      "DPX_TRN_CURRENCYSETTINGS_100|213|402|BBB|Beta|BBB|Beta|Beta-old|"}},
};

TEST_P(ServerTypes, CurrenciesByCopyMethod) {
  for (const MethodCase& c : kCurrencyCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                                "('AAA', 'Alpha', 0, 'N'), ('BBB', 'Beta', 0, 'N');");
    CopyFixture::Exec(*fx.target, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                                  "('BBB', 'Beta-old', 0, 'N'), ('CCC', 'Gamma', 0, 'N');");
    Copy<DPX_CurrencySettingsManager>(fx, kCurrencyKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CurrCode || ':' || CurrName FROM OCRN ORDER BY CurrCode"),
              c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(ServerTypes, CurrenciesThroughTheFileForm) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                              "('AAA', 'Alpha', 0, 'N'), ('BBB', 'Beta', 0, 'N');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                                "('BBB', 'Beta-old', 0, 'N'), ('CCC', 'Gamma', 0, 'N');");
  CopyThroughFile<DPX_CurrencySettingsManager>(fx, kCurrencyKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CurrCode || ':' || CurrName FROM OCRN ORDER BY CurrCode"),
            kCurrencyCases[4].rows);
  EXPECT_EQ(fx.logLines(), kCurrencyCases[4].lines);
}

TEST_P(ServerTypes, ARefusedUpdateLeavesTheTargetsCurrencyInPlace) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                              "('BBB', 'Beta', 0, 'N'), ('DDD', 'Delta', 0, 'N');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                                "('BBB', 'Beta-old', 0, 'N');");
  std::vector<DPX_OperationArgs> blocks;
  DPX_CurrencySettingsManager(&fx.context, kCurrencyKey).readFromDB(blocks, {});
  // Without a "Browser" the update removes BBB and adds it anew. The Add is refused.
  fx.target->SetBrowserEnabled(37, false);
  fx.target->InjectFault("Add:37", 1, -99, "Refused by the test");
  DPX_CurrencySettingsManager(&fx.context, kCurrencyKey).writeData(blocks, 4);
  // BBB stays as it was; DDD, the next record, is still written.
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CurrCode || ':' || CurrName FROM OCRN ORDER BY CurrCode"),
            "BBB:Beta-old,DDD:Delta");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "DPX_TRN_CURRENCYSETTINGS_100|213|403|BBB|Beta|BBB||Beta-old|Refused by the test");
  EXPECT_EQ(lines[1], "DPX_TRN_CURRENCYSETTINGS_100|212|402|DDD|Delta||||");
}

// --- Queries: a business-object category with its categories carried along.

constexpr const char* kQueryKey = "DPX_TRN_QUERIES_100";

void SeedQueries(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "DELETE FROM OQCN; DELETE FROM OUQR;"
                    "INSERT INTO OQCN (CategoryId, CatName) VALUES (-2, 'System'), (3, 'Sales');"
                    "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                    "(1, 3, 'QA', 'SELECT 1', 'W'), (2, 3, 'QB', 'SELECT 2', 'W'), (4, -2, 'QS', 'SELECT 4', 'W');");
  CopyFixture::Exec(*fx.target,
                    "DELETE FROM OQCN; DELETE FROM OUQR;"
                    "INSERT INTO OQCN (CategoryId, CatName) VALUES (-2, 'System'), (7, 'Sales');"
                    "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                    "(9, 7, 'QB', 'SELECT old', 'W'), (10, 7, 'QC', 'SELECT 3', 'W'), (11, -2, 'QS', 'SELECT sys', 'W');");
}

const char* kQueryRows =
    "SELECT IntrnalKey || ':' || QCategory || ':' || QName || ':' || QString FROM OUQR ORDER BY IntrnalKey";

const std::vector<MethodCase> kQueryCases = {
    {0, "11:-2:QS:SELECT sys", {"DPX_TRN_QUERIES_100|404|402|||9|QB||", "DPX_TRN_QUERIES_100|404|402|||10|QC||"}},
    {1, "9:7:QB:SELECT 2,10:7:QC:SELECT 3,11:-2:QS:SELECT sys,12:7:QA:SELECT 1",
     {"DPX_TRN_QUERIES_100|212|402|1|QA||||", "DPX_TRN_QUERIES_100|213|402|2|QB|9|QB|QB|"}},
    {2, "9:7:QB:SELECT 2,10:7:QC:SELECT 3,11:-2:QS:SELECT sys", {"DPX_TRN_QUERIES_100|213|402|2|QB|9|QB|QB|"}},
    {3, "9:7:QB:SELECT old,10:7:QC:SELECT 3,11:-2:QS:SELECT sys,12:7:QA:SELECT 1",
     {"DPX_TRN_QUERIES_100|212|402|1|QA||||"}},
    {4, "9:7:QB:SELECT 2,10:7:QC:SELECT 3,11:-2:QS:SELECT sys,12:7:QA:SELECT 1",
     {"DPX_TRN_QUERIES_100|212|402|1|QA||||", "DPX_TRN_QUERIES_100|213|402|2|QB|9|QB|QB|"}},
};

TEST_P(ServerTypes, QueriesByCopyMethodArriveUnderTheTargetsCategory) {
  for (const MethodCase& c : kQueryCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedQueries(fx);
    Copy<DPX_QueryManager>(fx, kQueryKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kQueryRows), c.rows);
    // "Sales" (3 in the base) is the target's 7; no category is added, none removed, none logged.
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CategoryId || ':' || CatName FROM OQCN ORDER BY CategoryId"),
              "-2:System,7:Sales");
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(ServerTypes, QueriesOfOneNameInTwoCategoriesAreTwoQueries) {
  for (uint8_t method : {uint8_t{2}, uint8_t{4}}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedQueries(fx);
    // "Dup" lies in General and in Sales in both companies, under other numbers.
    CopyFixture::Exec(*fx.base, "INSERT INTO OQCN (CategoryId, CatName) VALUES (1, 'General');"
                                "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                                "(20, 1, 'Dup', 'SELECT general', 'W'), (21, 3, 'Dup', 'SELECT sales', 'W');");
    CopyFixture::Exec(*fx.target, "INSERT INTO OQCN (CategoryId, CatName) VALUES (2, 'General');"
                                  "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                                  "(30, 2, 'Dup', 'old general', 'W'), (31, 7, 'Dup', 'old sales', 'W');");
    Copy<DPX_QueryManager>(fx, kQueryKey, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT IntrnalKey || ':' || QCategory || ':' || QString FROM OUQR "
                                              "WHERE QName = 'Dup' ORDER BY IntrnalKey"),
              "30:2:SELECT general,31:7:SELECT sales");
    const Lines lines = fx.logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "DPX_TRN_QUERIES_100|213|402|20|Dup|30|Dup|Dup|"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "DPX_TRN_QUERIES_100|213|402|21|Dup|31|Dup|Dup|"), lines.end());
  }
}

TEST_P(ServerTypes, QueriesThroughTheFileForm) {
  CopyFixture fx(GetParam());
  SeedQueries(fx);
  CopyThroughFile<DPX_QueryManager>(fx, kQueryKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kQueryRows), kQueryCases[4].rows);
  EXPECT_EQ(fx.logLines(), kQueryCases[4].lines);
}

TEST_P(ServerTypes, CategoriesTheTargetLacksAreAddedWhateverTheMethod) {
  for (uint8_t method : {uint8_t{2}, uint8_t{4}}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedQueries(fx);
    CopyFixture::Exec(*fx.base, "INSERT INTO OQCN (CategoryId, CatName) VALUES (5, 'Reports');"
                                "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                                "(6, 5, 'QR', 'SELECT 6', 'W');");
    Copy<DPX_QueryManager>(fx, kQueryKey, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CategoryId || ':' || CatName FROM OQCN ORDER BY CategoryId"),
              "-2:System,7:Sales,8:Reports");
    // Only the add-or-update method adds the query, under the category's new number.
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT QCategory FROM OUQR WHERE QName = 'QR'"),
              method == 4 ? "8" : "");
  }
}

TEST_P(ServerTypes, TheSystemCategoryIsNeverListed) {
  CopyFixture fx(GetParam());
  SeedQueries(fx);
  // A category number the base does not have shows as an empty name.
  CopyFixture::Exec(*fx.base, "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                              "(5, 42, 'QX', 'SELECT 5', 'W');");
  DPX_QueryManager manager(&fx.context, kQueryKey);
  DPX_TableInfo* info = manager.collectDetails();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->getListRows(), (std::vector<std::vector<std::string>>{{"QA", "SELECT 1", "Sales"},
                                                                       {"QB", "SELECT 2", "Sales"},
                                                                       {"QX", "SELECT 5", ""}}));
}

TEST_P(ServerTypes, ARefusedQueryIsLoggedAndTheNextOneIsWritten) {
  CopyFixture fx(GetParam());
  SeedQueries(fx);
  std::vector<DPX_OperationArgs> blocks;
  DPX_QueryManager(&fx.context, kQueryKey).readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 2u);
  ASSERT_EQ(blocks[1].tableName, "OUQR");
  // A record as a hand-edited file may carry it: a plain category number the target lacks.
  auto object = fx.base->NewBusinessObject(160);
  ASSERT_TRUE(object->GetByKey({dpx::Variant(int32_t{1}), dpx::Variant(int32_t{3})}));
  std::string orphan = object->GetAsXML();
  const std::string from = "<QueryCategory>3</QueryCategory>";
  ASSERT_NE(orphan.find(from), std::string::npos);
  orphan.replace(orphan.find(from), from.size(), "<QueryCategory>99</QueryCategory>");
  const std::string name = "<QueryDescription>QA</QueryDescription>";
  orphan.replace(orphan.find(name), name.size(), "<QueryDescription>Orphan</QueryDescription>");
  DPX_OperationArgs::DataItem refused;
  refused.xml = orphan;
  blocks[1].dataItems.insert(blocks[1].dataItems.begin(), refused);

  DPX_QueryManager(&fx.context, kQueryKey).writeData(blocks, 3);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT QName FROM OUQR ORDER BY IntrnalKey"), "QB,QC,QS,QA");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("DPX_TRN_QUERIES_100|212|403|1|Orphan|||", 0), 0u) << lines[0];
  EXPECT_GT(lines[0].size(), std::string("DPX_TRN_QUERIES_100|212|403|1|Orphan||||").size()) << "no error text";
  EXPECT_EQ(lines[1], "DPX_TRN_QUERIES_100|212|402|1|QA||||");
}

TEST_P(ServerTypes, ARefusedQueryUpdateIsLoggedAndTheCopyGoesOn) {
  CopyFixture fx(GetParam());
  SeedQueries(fx);
  fx.target->InjectFault("Update:160", 1, -99, "Refused by the test");
  Copy<DPX_QueryManager>(fx, kQueryKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, kQueryRows),
            "9:7:QB:SELECT old,10:7:QC:SELECT 3,11:-2:QS:SELECT sys,12:7:QA:SELECT 1");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_QUERIES_100|212|402|1|QA||||",
                                  "DPX_TRN_QUERIES_100|213|403|2|QB|9||QB|Refused by the test"}));
}

using dpx::test::StoredBlocks;

TEST_P(ServerTypes, StoredRecordsAreListedFromTheLastBlock) {
  CopyFixture fx(GetParam());
  SeedAddressFormats(fx);
  SeedQueries(fx);
  {
    std::vector<DPX_OperationArgs> blocks;
    DPX_AddressFormatManager(&fx.context, kAddressKey).readFromDB(blocks, {});
    StoredBlocks file(blocks);
    DPX_AddressFormatManager manager(&fx.context, kAddressKey);
    DPX_TableInfo* info = manager.readFromFile(&file);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->getListRows(), (std::vector<std::vector<std::string>>{{"A"}, {"B"}}));
    ASSERT_EQ(info->getDetailRecords().size(), 2u);
    EXPECT_EQ(info->getDetailRecords()[1].getKeyValue(0).toText(), "2");
  }
  {
    std::vector<DPX_OperationArgs> blocks;
    DPX_QueryManager(&fx.context, kQueryKey).readFromDB(blocks, {});
    StoredBlocks file(blocks);
    DPX_QueryManager manager(&fx.context, kQueryKey);
    DPX_TableInfo* info = manager.readFromFile(&file);
    ASSERT_NE(info, nullptr);
    // The category shows by its name, the natural key its dependency record carries.
    EXPECT_EQ(info->getListRows(), (std::vector<std::vector<std::string>>{{"QA", "SELECT 1", "Sales"},
                                                                         {"QB", "SELECT 2", "Sales"}}));
  }
  StoredBlocks empty({});
  EXPECT_TRUE(DPX_QueryManager(&fx.context, kQueryKey).readFromFile(&empty)->getListRows().empty());
}

INSTANTIATE_TEST_SUITE_P(RecordCopy, ServerTypes, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
