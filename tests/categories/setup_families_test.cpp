// The setup categories of the two definition tables, end to end between two
// simulated companies: each category over the copy methods 0 to 4, with a
// record only the base has (A), one both have under different keys (B) and
// one only the target has (C); then the rules single categories add. Every
// case runs with the target as server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "categories/category_classes.h"
#include "categories/setup/setup_category_tables.h"
#include "engine/category_factory.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

// Reads the category from the base with one manager and writes it with a
// fresh one, both made by the category factory, as the copy driver does.
void Copy(CopyFixture& fx, const std::string& key, uint8_t method, std::vector<DPX_DetailRecord> chosen = {}) {
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  std::vector<DPX_OperationArgs> blocks;
  {
    std::unique_ptr<DPX_DIInterface> reader = factory.createManager(key);
    ASSERT_NE(reader, nullptr) << key;
    reader->readFromDB(blocks, std::move(chosen));
  }
  std::unique_ptr<DPX_DIInterface> writer = factory.createManager(key);
  ASSERT_NE(writer, nullptr);
  writer->writeData(blocks, method);
}

// One category: the rows of both companies, how the target's rows read, and
// what each copy method leaves behind.
struct FamilyCase {
  const char* key;
  const char* base;    // SQL filling the base's table: A and B
  const char* target;  // the target's: B (under another key, or renamed where the key is the match) and C
  const char* rows;    // the target's rows as one text each
  const char* afterRemoval = "";
  const char* afterAddOrUpdate = "";  // methods 1 and 4
  const char* afterUpdate = "";       // method 2
  const char* afterAdd = "";          // method 3
  const char* addedA = "";            // the log line of A's add
  const char* updatedB = "";          // the log line of B's update
  Lines removed{};               // the removal pass's lines
};

const std::vector<FamilyCase> kCases = {
    {"DPX_TRN_COMMISIONGROUPS_100",
     "INSERT INTO OCOG VALUES (1, 'A', 1), (2, 'B', 2)",
     "INSERT INTO OCOG VALUES (5, 'B', 9), (6, 'C', 3)",
     "SELECT GroupCode || ':' || GroupName || ':' || Commission FROM OCOG ORDER BY GroupCode",
     "", "5:B:2.0,6:C:3.0,7:A:1.0", "5:B:2.0,6:C:3.0", "5:B:9.0,6:C:3.0,7:A:1.0",
     "DPX_TRN_COMMISIONGROUPS_100|212|402|A|1.00||||",
     "DPX_TRN_COMMISIONGROUPS_100|213|402|B|2.00|B|2.00|9.00|",
     {"DPX_TRN_COMMISIONGROUPS_100|404|402|||B|9.00||", "DPX_TRN_COMMISIONGROUPS_100|404|402|||C|3.00||"}},
    {"DPX_TRN_RELTNSHPS_40",
     "INSERT INTO OORL VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OORL VALUES (5, 'B'), (6, 'C')",
     "SELECT OrlCode || ':' || OrlDesc FROM OORL ORDER BY OrlCode",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_RELTNSHPS_40|212|402|A|A||||",
     "DPX_TRN_RELTNSHPS_40|213|402|B|B|B|B|B|",
     {"DPX_TRN_RELTNSHPS_40|404|402|||B|B||", "DPX_TRN_RELTNSHPS_40|404|402|||C|C||"}},
    {"DPX_TRN_SALESSTAGES_100",
     "INSERT INTO OOST VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OOST VALUES (5, 'B'), (6, 'C')",
     "SELECT Num || ':' || Descript FROM OOST ORDER BY Num",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_SALESSTAGES_100|212|402|A|A||||",
     "DPX_TRN_SALESSTAGES_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_SALESSTAGES_100|404|402|||B|B||", "DPX_TRN_SALESSTAGES_100|404|402|||C|C||"}},
    {"DPX_TRN_LANDEDCOSTS_100",
     "INSERT INTO OALC VALUES ('A', 'Alpha', 0), ('B', 'Beta', 2)",
     "INSERT INTO OALC VALUES ('B', 'Beta old', 1), ('C', 'Gamma', 3)",
     "SELECT AlcCode || ':' || AlcName || ':' || OhType FROM OALC ORDER BY AlcCode",
     "", "A:Alpha:0,B:Beta:2,C:Gamma:3", "B:Beta:2,C:Gamma:3", "A:Alpha:0,B:Beta old:1,C:Gamma:3",
     "DPX_TRN_LANDEDCOSTS_100|212|402|A|Alpha||||",
     "DPX_TRN_LANDEDCOSTS_100|213|402|B|Beta|B|Beta|Beta old|",
     {"DPX_TRN_LANDEDCOSTS_100|404|402|||B|Beta old||", "DPX_TRN_LANDEDCOSTS_100|404|402|||C|Gamma||"}},
    {"DPX_TRN_BPPRIORITIES_100",
     "INSERT INTO OBPP VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OBPP VALUES (5, 'B'), (6, 'C')",
     "SELECT PrioCode || ':' || PrioDesc FROM OBPP ORDER BY PrioCode",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_BPPRIORITIES_100|212|402|A|A||||",
     "DPX_TRN_BPPRIORITIES_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_BPPRIORITIES_100|404|402|||B|B||", "DPX_TRN_BPPRIORITIES_100|404|402|||C|C||"}},
    {"DPX_TRN_LOCATIONS_100",
     "INSERT INTO OLCT VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OLCT VALUES (5, 'B'), (6, 'C')",
     "SELECT Code || ':' || Location FROM OLCT ORDER BY Code",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_LOCATIONS_100|212|402|A|A||||",
     "DPX_TRN_LOCATIONS_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_LOCATIONS_100|404|402|||B|B||", "DPX_TRN_LOCATIONS_100|404|402|||C|C||"}},
    {"DPX_TRN_UOMLENGTHWIDTH_100",
     "INSERT INTO OLGT VALUES (1, 'A', 'Alpha', 1), (2, 'B', 'Beta', 2)",
     "INSERT INTO OLGT VALUES (5, 'B', 'Beta old', 9), (6, 'C', 'Gamma', 3)",
     "SELECT UnitCode || ':' || UnitDisply || ':' || UnitName || ':' || SizeInMM FROM OLGT ORDER BY UnitCode",
     "", "5:B:Beta:2.0,6:C:Gamma:3.0,7:A:Alpha:1.0", "5:B:Beta:2.0,6:C:Gamma:3.0", "5:B:Beta old:9.0,6:C:Gamma:3.0,7:A:Alpha:1.0",
     "DPX_TRN_UOMLENGTHWIDTH_100|212|402|A|Alpha||||",
     "DPX_TRN_UOMLENGTHWIDTH_100|213|402|B|Beta|B|Beta|Beta old|",
     {"DPX_TRN_UOMLENGTHWIDTH_100|404|402|||B|Beta old||", "DPX_TRN_UOMLENGTHWIDTH_100|404|402|||C|Gamma||"}},
    {"DPX_TRN_UOMWEIGHT_100",
     "INSERT INTO OWGT VALUES (1, 'A', 'Alpha', 1), (2, 'B', 'Beta', 2)",
     "INSERT INTO OWGT VALUES (5, 'B', 'Beta old', 9), (6, 'C', 'Gamma', 3)",
     "SELECT UnitCode || ':' || UnitDisply || ':' || UnitName || ':' || WightInMG FROM OWGT ORDER BY UnitCode",
     "", "5:B:Beta:2.0,6:C:Gamma:3.0,7:A:Alpha:1.0", "5:B:Beta:2.0,6:C:Gamma:3.0", "5:B:Beta old:9.0,6:C:Gamma:3.0,7:A:Alpha:1.0",
     "DPX_TRN_UOMWEIGHT_100|212|402|A|Alpha||||",
     "DPX_TRN_UOMWEIGHT_100|213|402|B|Beta|B|Beta|Beta old|",
     {"DPX_TRN_UOMWEIGHT_100|404|402|||B|Beta old||", "DPX_TRN_UOMWEIGHT_100|404|402|||C|Gamma||"}},
    {"DPX_TRN_CUSTOMGROUPS_100",
     "INSERT INTO OARG VALUES (-1, 'Default', 0, 0, 0, 0), (1, 'A', 10, 1, 0, 0), (2, 'B', 20, 2, 0, 0)",
     "INSERT INTO OARG VALUES (-1, 'Default', 0, 0, 0, 0), (5, 'B', 90, 9, 0, 0), (6, 'C', 30, 3, 0, 0)",
     "SELECT CstGrpCode || ':' || CstGrpName || ':' || GroupNum FROM OARG ORDER BY CstGrpCode",
     "-1:Default:0", "-1:Default:0,5:B:20,6:C:30,7:A:10", "-1:Default:0,5:B:20,6:C:30", "-1:Default:0,5:B:90,6:C:30,7:A:10",
     "DPX_TRN_CUSTOMGROUPS_100|212|402|A|10||||",
     "DPX_TRN_CUSTOMGROUPS_100|213|402|B|20|B|20|90|",
     {"DPX_TRN_CUSTOMGROUPS_100|404|402|||B|90||", "DPX_TRN_CUSTOMGROUPS_100|404|402|||C|30||"}},
    {"DPX_TRN_MANUFACTURERS_100",
     "INSERT INTO OMRC VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OMRC VALUES (5, 'B'), (6, 'C')",
     "SELECT FirmCode || ':' || FirmName FROM OMRC ORDER BY FirmCode",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_MANUFACTURERS_100|212|402|A|A||||",
     "DPX_TRN_MANUFACTURERS_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_MANUFACTURERS_100|404|402|||B|B||", "DPX_TRN_MANUFACTURERS_100|404|402|||C|C||"}},
    {"DPX_TRN_SHIPPINGTYPES_100",
     "INSERT INTO OSHP VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OSHP VALUES (5, 'B'), (6, 'C')",
     "SELECT TrnspCode || ':' || TrnspName FROM OSHP ORDER BY TrnspCode",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_SHIPPINGTYPES_100|212|402|A|A||||",
     "DPX_TRN_SHIPPINGTYPES_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_SHIPPINGTYPES_100|404|402|||B|B||", "DPX_TRN_SHIPPINGTYPES_100|404|402|||C|C||"}},
    {"DPX_TRN_TEMPLATES_100",
     "INSERT INTO OCTT VALUES ('A', 'Alpha', NULL), ('B', 'Beta', NULL)",
     "INSERT INTO OCTT VALUES ('B', 'Beta old', NULL), ('C', 'Gamma', NULL)",
     "SELECT TmpltName || ':' || Descriptio FROM OCTT ORDER BY TmpltName",
     "", "A:Alpha,B:Beta,C:Gamma", "B:Beta,C:Gamma", "A:Alpha,B:Beta old,C:Gamma",
     "DPX_TRN_TEMPLATES_100|212|402|A|Alpha||||",
     "DPX_TRN_TEMPLATES_100|213|402|B|Beta|B|Beta|Beta old|",
     {"DPX_TRN_TEMPLATES_100|404|402|||B|Beta old||", "DPX_TRN_TEMPLATES_100|404|402|||C|Gamma||"}},
    {"DPX_TRN_PACKAGETYPES_100",
     "INSERT INTO OPKG VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OPKG VALUES (5, 'B'), (6, 'C')",
     "SELECT PkgCode || ':' || PkgType FROM OPKG ORDER BY PkgCode",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_PACKAGETYPES_100|212|402|A|A||||",
     "DPX_TRN_PACKAGETYPES_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_PACKAGETYPES_100|404|402|||B|B||", "DPX_TRN_PACKAGETYPES_100|404|402|||C|C||"}},
    {"DPX_TRN_CREDITSUPPLIERS_100",
     "INSERT INTO OPVL VALUES (1, 'A', 'VA'), (2, 'B', 'VB')",
     "INSERT INTO OPVL VALUES (5, 'B old', 'VB'), (6, 'C', 'VC')",
     "SELECT Code || ':' || Name || ':' || ConsolNum FROM OPVL ORDER BY Code",
     "", "5:B:VB,6:C:VC,7:A:VA", "5:B:VB,6:C:VC", "5:B old:VB,6:C:VC,7:A:VA",
     "DPX_TRN_CREDITSUPPLIERS_100|212|402|1|A||||",
     "DPX_TRN_CREDITSUPPLIERS_100|213|402|2|B|5|B|B old|",
     {"DPX_TRN_CREDITSUPPLIERS_100|404|402|||5|B old||", "DPX_TRN_CREDITSUPPLIERS_100|404|402|||6|C||"}},
    {"DPX_TRN_PAYMENTBLOCKS_100",
     "INSERT INTO OPYB VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OPYB VALUES (5, 'B'), (6, 'C')",
     "SELECT AbsEntry || ':' || PayBlock FROM OPYB ORDER BY AbsEntry",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_PAYMENTBLOCKS_100|212|402|1|A||||",
     "DPX_TRN_PAYMENTBLOCKS_100|213|402|2|B|5|B|B|",
     {"DPX_TRN_PAYMENTBLOCKS_100|404|402|||5|B||", "DPX_TRN_PAYMENTBLOCKS_100|404|402|||6|C||"}},
    {"DPX_TRN_PROJECTS_100",
     "INSERT INTO OPRJ VALUES ('A', 'Alpha'), ('B', 'Beta')",
     "INSERT INTO OPRJ VALUES ('B', 'Beta old'), ('C', 'Gamma')",
     "SELECT PrjCode || ':' || PrjName FROM OPRJ ORDER BY PrjCode",
     "", "A:Alpha,B:Beta,C:Gamma", "B:Beta,C:Gamma", "A:Alpha,B:Beta old,C:Gamma",
     "DPX_TRN_PROJECTS_100|212|402|A|Alpha||||",
     "DPX_TRN_PROJECTS_100|213|402|B|Beta|B|Beta|Beta old|",
     {"DPX_TRN_PROJECTS_100|404|402|||B|Beta old||", "DPX_TRN_PROJECTS_100|404|402|||C|Gamma||"}},
    {"DPX_TRN_PARTNERS_100",
     "INSERT INTO OPRT VALUES (1, 'A', 1, NULL, 'ma'), (2, 'B', 2, NULL, 'mb')",
     "INSERT INTO OPRT VALUES (5, 'B', 1, NULL, 'old'), (6, 'C', 1, NULL, 'mc')",
     "SELECT PrtId || ':' || Name || ':' || Memo FROM OPRT ORDER BY PrtId",
     "", "5:B:mb,6:C:mc,7:A:ma", "5:B:mb,6:C:mc", "5:B:old,6:C:mc,7:A:ma",
     "DPX_TRN_PARTNERS_100|212|402|A|ma||||",
     "DPX_TRN_PARTNERS_100|213|402|B|mb|B|mb|old|",
     {"DPX_TRN_PARTNERS_100|404|402|||B|old||", "DPX_TRN_PARTNERS_100|404|402|||C|mc||"}},
    {"DPX_TRN_COMPETITORS_100",
     "INSERT INTO OCMT VALUES (1, 'A', 1, 'ma'), (2, 'B', 2, 'mb')",
     "INSERT INTO OCMT VALUES (5, 'B', 1, 'old'), (6, 'C', 3, 'mc')",
     "SELECT CompetId || ':' || Name || ':' || Memo FROM OCMT ORDER BY CompetId",
     "", "5:B:mb,6:C:mc,7:A:ma", "5:B:mb,6:C:mc", "5:B:old,6:C:mc,7:A:ma",
     "DPX_TRN_COMPETITORS_100|212|402|A|ma||||",
     "DPX_TRN_COMPETITORS_100|213|402|B|mb|B|mb|old|",
     {"DPX_TRN_COMPETITORS_100|404|402|||B|old||", "DPX_TRN_COMPETITORS_100|404|402|||C|mc||"}},
    {"DPX_TRN_CUSTOMERGROUPS_100",
     "INSERT INTO OCRG VALUES (1, 'A', 'C'), (2, 'B', 'C')",
     "INSERT INTO OCRG VALUES (5, 'B', 'C'), (6, 'C', 'C')",
     "SELECT GroupCode || ':' || GroupName || ':' || GroupType FROM OCRG ORDER BY GroupCode",
     "", "5:B:C,6:C:C,7:A:C", "5:B:C,6:C:C", "5:B:C,6:C:C,7:A:C",
     "DPX_TRN_CUSTOMERGROUPS_100|212|402|1|A||||",
     "DPX_TRN_CUSTOMERGROUPS_100|213|402|2|B|5|B|B|",
     {"DPX_TRN_CUSTOMERGROUPS_100|404|402|||5|B||", "DPX_TRN_CUSTOMERGROUPS_100|404|402|||6|C||"}},
    {"DPX_TRN_SUPPLIERGROUPS_100",
     "INSERT INTO OCRG VALUES (1, 'A', 'S'), (2, 'B', 'S')",
     "INSERT INTO OCRG VALUES (5, 'B', 'S'), (6, 'C', 'S')",
     "SELECT GroupCode || ':' || GroupName || ':' || GroupType FROM OCRG ORDER BY GroupCode",
     "", "5:B:S,6:C:S,7:A:S", "5:B:S,6:C:S", "5:B:S,6:C:S,7:A:S",
     "DPX_TRN_SUPPLIERGROUPS_100|212|402|1|A||||",
     "DPX_TRN_SUPPLIERGROUPS_100|213|402|2|B|5|B|B|",
     {"DPX_TRN_SUPPLIERGROUPS_100|404|402|||5|B||", "DPX_TRN_SUPPLIERGROUPS_100|404|402|||6|C||"}},
    {"DPX_TRN_BPPROPERTIES_100",
     "INSERT INTO OCQG VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OCQG VALUES (5, 'B'), (6, 'C')",
     "SELECT GroupCode || ':' || GroupName FROM OCQG ORDER BY GroupCode",
     "", "5:B,6:C,7:A", "5:B,6:C", "5:B,6:C,7:A",
     "DPX_TRN_BPPROPERTIES_100|212|402|A|A||||",
     "DPX_TRN_BPPROPERTIES_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_BPPROPERTIES_100|404|402|||B|B||", "DPX_TRN_BPPROPERTIES_100|404|402|||C|C||"}},
    {"DPX_TRN_INVENTORYCYCLES_100",
     "INSERT INTO OCYC VALUES (1, 'A', 0, '20260105', 800), (2, 'B', 1, '20260106', 900)",
     "INSERT INTO OCYC VALUES (5, 'B', 2, '20250101', 700), (6, 'C', 3, '20250102', 600)",
     "SELECT Code || ':' || Name || ':' || Frequency || ':' || NextDate FROM OCYC ORDER BY Code",
     "", "5:B:1:20260106,6:C:3:20250102,7:A:0:20260105", "5:B:1:20260106,6:C:3:20250102", "5:B:2:20250101,6:C:3:20250102,7:A:0:20260105",
     "DPX_TRN_INVENTORYCYCLES_100|212|402|1|A||||",
     "DPX_TRN_INVENTORYCYCLES_100|213|402|2|B|5|B|B|",
     {"DPX_TRN_INVENTORYCYCLES_100|404|402|||5|B||", "DPX_TRN_INVENTORYCYCLES_100|404|402|||6|C||"}},
    {"DPX_TRN_ITEMPROPERTIES_100",
     "INSERT INTO OITG VALUES (1, 'A'), (2, 'B')",
     "INSERT INTO OITG VALUES (2, 'B old'), (6, 'C')",
     "SELECT ItmsTypCod || ':' || ItmsGrpNam FROM OITG ORDER BY ItmsTypCod",
     "", "1:A,2:B,6:C", "2:B,6:C", "1:A,2:B old,6:C",
     "DPX_TRN_ITEMPROPERTIES_100|212|402|1|A||||",
     "DPX_TRN_ITEMPROPERTIES_100|213|402|2|B|2|B|B old|",
     {"DPX_TRN_ITEMPROPERTIES_100|404|402|||2|B old||", "DPX_TRN_ITEMPROPERTIES_100|404|402|||6|C||"}},
    {"DPX_TRN_PREDEFINEDTEXT_100",
     "INSERT INTO OPDT VALUES (1, 'A', 'ta'), (2, 'B', 'tb')",
     "INSERT INTO OPDT VALUES (5, 'B', 'old'), (6, 'C', 'tc')",
     "SELECT AbsEntry || ':' || TextCode || ':' || Text FROM OPDT ORDER BY AbsEntry",
     "", "5:B:tb,6:C:tc,7:A:ta", "5:B:tb,6:C:tc", "5:B:old,6:C:tc,7:A:ta",
     "DPX_TRN_PREDEFINEDTEXT_100|212|402|A|ta||||",
     "DPX_TRN_PREDEFINEDTEXT_100|213|402|B|tb|B|tb|old|",
     {"DPX_TRN_PREDEFINEDTEXT_100|404|402|||B|old||", "DPX_TRN_PREDEFINEDTEXT_100|404|402|||C|tc||"}},
};

using CaseParam = std::tuple<int, size_t>;  // server type, index into kCases

class EveryCategory : public ::testing::TestWithParam<CaseParam> {};

TEST_P(EveryCategory, CopiesByEachMethod) {
  const auto [serverType, index] = GetParam();
  const FamilyCase& c = kCases[index];
  for (uint8_t method = 0; method <= 4; ++method) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(serverType);
    CopyFixture::Exec(*fx.base, c.base);
    CopyFixture::Exec(*fx.target, c.target);
    Copy(fx, c.key, method);
    switch (method) {
      case 0:
        EXPECT_EQ(CopyFixture::Column(*fx.target, c.rows), c.afterRemoval);
        EXPECT_EQ(fx.logLines(), c.removed);
        break;
      case 2:  // A has no counterpart: nothing written, no line
        EXPECT_EQ(CopyFixture::Column(*fx.target, c.rows), c.afterUpdate);
        EXPECT_EQ(fx.logLines(), Lines{c.updatedB});
        break;
      case 3:  // B has one: left as it is, no line
        EXPECT_EQ(CopyFixture::Column(*fx.target, c.rows), c.afterAdd);
        EXPECT_EQ(fx.logLines(), Lines{c.addedA});
        break;
      default:
        EXPECT_EQ(CopyFixture::Column(*fx.target, c.rows), c.afterAddOrUpdate);
        EXPECT_EQ(fx.logLines(), (Lines{c.addedA, c.updatedB}));
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SetupCopy, EveryCategory,
                         ::testing::Combine(::testing::ValuesIn(dpx::test::kServerTypes),
                                            ::testing::Range(size_t{0}, kCases.size())),
                         [](const ::testing::TestParamInfo<CaseParam>& info) {
                           std::string key = kCases[std::get<1>(info.param)].key;
                           key = key.substr(std::string("DPX_TRN_").size());
                           return key + "_ServerType" + std::to_string(std::get<0>(info.param));
                         });

// --- The rules single categories add.

class SetupRules : public ::testing::TestWithParam<int> {};

TEST_P(SetupRules, EveryDefinitionRowHasItsCase) {
  std::vector<std::string> keys;
  for (const FamilyCase& c : kCases) keys.push_back(c.key);
  for (const auto& row : SetupObjectCategories()) EXPECT_NE(std::find(keys.begin(), keys.end(), row.key), keys.end());
  for (const auto& row : SetupTableCategories()) EXPECT_NE(std::find(keys.begin(), keys.end(), row.key), keys.end());
}

TEST_P(SetupRules, CustomsGroupMinusOneIsNeverListedReadOrRemoved) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OARG VALUES (-1, 'Default', 0, 0, 0, 0), (1, 'A', 10, 1, 2, 3)");
  CopyFixture::Exec(*fx.target, "INSERT INTO OARG VALUES (-1, 'Standard', 0, 0, 0, 0)");
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  auto lister = factory.createManager("DPX_TRN_CUSTOMGROUPS_100");
  EXPECT_EQ(lister->collectDetails()->getListRows(),
            (std::vector<std::vector<std::string>>{{"A", "10", "1.00", "2.00", "3.00"}}));
  std::vector<DPX_OperationArgs> blocks;
  factory.createManager("DPX_TRN_CUSTOMGROUPS_100")->readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].dataItems.size(), 1u);
  Copy(fx, "DPX_TRN_CUSTOMGROUPS_100", 0);
  Copy(fx, "DPX_TRN_CUSTOMGROUPS_100", 1);
  // The target's own -1 keeps its name; A arrives beside it.
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CstGrpCode || ':' || CstGrpName FROM OARG ORDER BY CstGrpCode"),
            "-1:Standard,1:A");
  EXPECT_EQ(fx.logLines(), Lines{"DPX_TRN_CUSTOMGROUPS_100|212|402|A|10||||"});
}

TEST_P(SetupRules, ATemplateLosesItsFirstAttachmentEntryBeforeItIsWritten) {
  CopyFixture fx(GetParam());
  // The base's attachment 1 is not in the target; the target has 5.
  CopyFixture::Exec(*fx.base, "INSERT INTO OATC VALUES (1, 'a.pdf'); INSERT INTO OCTT VALUES ('T', 'Template', 1)");
  CopyFixture::Exec(*fx.target, "INSERT INTO OATC VALUES (5, 'b.pdf')");
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  std::vector<DPX_OperationArgs> blocks;
  factory.createManager("DPX_TRN_TEMPLATES_100")->readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 1u);
  ASSERT_EQ(blocks[0].dataItems.size(), 1u);
  const std::string one = "<AttachmentEntry>1</AttachmentEntry>";
  std::string& xml = blocks[0].dataItems[0].xml;
  ASSERT_NE(xml.find(one), std::string::npos) << xml;

  // One entry: it goes, and the target takes the template without one.
  auto single = blocks;
  factory.createManager("DPX_TRN_TEMPLATES_100")->writeData(single, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT TmpltName || ':' || COALESCE(AtcEntry, '-') FROM OCTT"), "T:-");

  // Two entries: only the first goes; the second names the target's own attachment.
  CopyFixture::Exec(*fx.target, "DELETE FROM OCTT");
  xml.replace(xml.find(one), one.size(), one + "<AttachmentEntry>5</AttachmentEntry>");
  std::string adjusted = xml;
  factory.createManager("DPX_TRN_TEMPLATES_100")->adjustXml(170, adjusted);
  EXPECT_EQ(adjusted.find(one), std::string::npos) << adjusted;
  EXPECT_NE(adjusted.find("<AttachmentEntry>5</AttachmentEntry>"), std::string::npos) << adjusted;
  std::string otherType = xml;
  factory.createManager("DPX_TRN_TEMPLATES_100")->adjustXml(43, otherType);
  EXPECT_EQ(otherType, xml);
  factory.createManager("DPX_TRN_TEMPLATES_100")->writeData(blocks, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT TmpltName || ':' || COALESCE(AtcEntry, '-') FROM OCTT"), "T:5");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_TEMPLATES_100|212|402|T|Template||||",
                                  "DPX_TRN_TEMPLATES_100|212|402|T|Template||||"}));
}

TEST_P(SetupRules, RecordListsShowNumbersAsTheirTexts) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OALC VALUES ('Q', 'By quantity', 2), ('E', 'Equal', 5);"
                    "INSERT INTO OCYC VALUES (1, 'Daily', 0, '20260105', 800), (2, 'Custom', 8, '20260106', 900)");
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  auto costs = factory.createManager("DPX_TRN_LANDEDCOSTS_100");
  const auto& costRows = costs->collectDetails()->getListRows();
  ASSERT_EQ(costRows.size(), 2u);
  EXPECT_EQ(costRows[0], (std::vector<std::string>{"E", "Equal", "Equal"}));
  EXPECT_EQ(costRows[1], (std::vector<std::string>{"Q", "By quantity", "Quantity"}));
  auto cycles = factory.createManager("DPX_TRN_INVENTORYCYCLES_100");
  const auto& cycleRows = cycles->collectDetails()->getListRows();
  ASSERT_EQ(cycleRows.size(), 2u);
  EXPECT_EQ(cycleRows[0].at(1), "Daily");
  EXPECT_EQ(cycleRows[1].at(1), "Every n Days");
}

TEST_P(SetupRules, AnEmptyTargetTableStartsAtKeyOne) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OPVL VALUES (7, 'A', 'VA')");
  CopyFixture::Exec(*fx.target, "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('115', 1, 0)");
  Copy(fx, "DPX_TRN_CREDITSUPPLIERS_100", 3);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OPVL"), "1:A");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '115'"), "2");
}

TEST_P(SetupRules, TwoNewRowsOfOneNameGetKeysOfTheirOwn) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OCMT VALUES (1, 'Twin', 1, 'first'), (2, 'Twin', 2, 'second')");
  CopyFixture::Exec(*fx.target, "INSERT INTO OCMT VALUES (9, 'Other', 1, 'o');"
                                "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('109', 10, 0)");
  Copy(fx, "DPX_TRN_COMPETITORS_100", 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CompetId || ':' || Name || ':' || Memo FROM OCMT ORDER BY CompetId"),
            "9:Other:o,10:Twin:first,11:Twin:second");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '109'"), "12");
}

TEST_P(SetupRules, ACustomerGroupNeverStandsInForAVendorGroupOfTheSameName) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OCRG VALUES (1, 'X', 'C'), (2, 'Y', 'C'), (3, 'X', 'S')");
  CopyFixture::Exec(*fx.target, "INSERT INTO OCRG VALUES (5, 'X', 'S'), (6, 'Y', 'C'), (8, 'Z', 'S')");
  const char* rows = "SELECT GroupCode || ':' || GroupName || ':' || GroupType FROM OCRG ORDER BY GroupCode";
  Copy(fx, "DPX_TRN_CUSTOMERGROUPS_100", 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, rows), "5:X:S,6:Y:C,8:Z:S,9:X:C");
  // Replace All on customer groups leaves every vendor group where it is.
  Copy(fx, "DPX_TRN_CUSTOMERGROUPS_100", 0);
  EXPECT_EQ(CopyFixture::Column(*fx.target, rows), "5:X:S,8:Z:S");
  Copy(fx, "DPX_TRN_CUSTOMERGROUPS_100", 1);
  EXPECT_EQ(CopyFixture::Column(*fx.target, rows), "5:X:S,8:Z:S,9:X:C,10:Y:C");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_CUSTOMERGROUPS_100|212|402|1|X||||",
                                  "DPX_TRN_CUSTOMERGROUPS_100|213|402|2|Y|6|Y|Y|",
                                  "DPX_TRN_CUSTOMERGROUPS_100|404|402|||6|Y||",
                                  "DPX_TRN_CUSTOMERGROUPS_100|404|402|||9|X||",
                                  "DPX_TRN_CUSTOMERGROUPS_100|212|402|1|X||||",
                                  "DPX_TRN_CUSTOMERGROUPS_100|212|402|2|Y||||"}));
}

TEST_P(SetupRules, ABusinessPartnerPropertyIsFoundByItsNameAndASecondCopyAddsNothing) {
  CopyFixture fx(GetParam());
  // The base's 2 bears the name of the target's 7: 7 is its counterpart,
  // and the target's 2 (another property) stays as it is.
  CopyFixture::Exec(*fx.base, "INSERT INTO OCQG VALUES (2, 'Big'), (3, 'O''Hara & <Co>')");
  CopyFixture::Exec(*fx.target, "INSERT INTO OCQG VALUES (2, 'Small'), (7, 'Big')");
  const char* rows = "SELECT GroupCode || ':' || GroupName FROM OCQG ORDER BY GroupCode";
  for (uint8_t method : {4, 4, 1, 3}) {
    SCOPED_TRACE("method " + std::to_string(method));
    Copy(fx, "DPX_TRN_BPPROPERTIES_100", method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, rows), "2:Small,7:Big,8:O'Hara & <Co>");
  }
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_BPPROPERTIES_100|213|402|Big|Big|Big|Big|Big|",
                                  "DPX_TRN_BPPROPERTIES_100|212|402|O'Hara & <Co>|O'Hara & <Co>||||",
                                  "DPX_TRN_BPPROPERTIES_100|213|402|Big|Big|Big|Big|Big|",
                                  "DPX_TRN_BPPROPERTIES_100|213|402|O'Hara & <Co>|O'Hara & <Co>|O'Hara & <Co>|O'Hara & <Co>|O'Hara & <Co>|",
                                  "DPX_TRN_BPPROPERTIES_100|213|402|Big|Big|Big|Big|Big|",
                                  "DPX_TRN_BPPROPERTIES_100|213|402|O'Hara & <Co>|O'Hara & <Co>|O'Hara & <Co>|O'Hara & <Co>|O'Hara & <Co>|"}));
}

// Replace All runs as plain SQL past the host's check of what records name:
// a row that a target record still names stays, with its line saying why,
// and the write pass finds it by its name.
struct KeptCase {
  const char* key;
  const char* base;
  const char* target;  // the target's rows and the records that name some of them
  const char* rows;
  const char* afterRemoval;
  Lines removed;
};

const std::vector<KeptCase> kKeptCases = {
    {"DPX_TRN_CUSTOMERGROUPS_100", "INSERT INTO OCRG VALUES (1, 'Base', 'C')",
     "INSERT INTO OCRG VALUES (930, 'Customers', 'C'), (931, 'Vendors', 'S'), (932, 'Unused', 'C'), (933, 'Old', 'C');"
     "INSERT INTO OCRD (CardCode, GroupCode) VALUES ('C200', 930), ('C201', 933), ('T900', 931), ('C202', NULL)",
     "SELECT GroupCode || ':' || GroupName FROM OCRG ORDER BY GroupCode", "930:Customers,931:Vendors,933:Old",
     {"DPX_TRN_CUSTOMERGROUPS_100|404|403|||930|Customers||Kept while used: records of OCRD in the target still name it",
      "DPX_TRN_CUSTOMERGROUPS_100|404|403|||933|Old||Kept while used: records of OCRD in the target still name it",
      "DPX_TRN_CUSTOMERGROUPS_100|404|402|||932|Unused||"}},
    {"DPX_TRN_SUPPLIERGROUPS_100", "INSERT INTO OCRG VALUES (1, 'Base', 'S')",
     "INSERT INTO OCRG VALUES (930, 'Customers', 'C'), (931, 'Vendors', 'S'), (934, 'Unused', 'S');"
     "INSERT INTO OCRD (CardCode, GroupCode) VALUES ('C200', 930), ('T900', 931)",
     "SELECT GroupCode || ':' || GroupName FROM OCRG ORDER BY GroupCode", "930:Customers,931:Vendors",
     {"DPX_TRN_SUPPLIERGROUPS_100|404|403|||931|Vendors||Kept while used: records of OCRD in the target still name it",
      "DPX_TRN_SUPPLIERGROUPS_100|404|402|||934|Unused||"}},
    {"DPX_TRN_INVENTORYCYCLES_100", "INSERT INTO OCYC (Code, Name) VALUES (1, 'Base')",
     "INSERT INTO OCYC (Code, Name) VALUES (4, 'By group'), (5, 'By item'), (6, 'By count'), (7, 'Unused');"
     "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam, CycleCode) VALUES (1, 'G', 4);"
     "INSERT INTO OITM (ItemCode, OrderIntervals) VALUES ('A1', 5);"
     "INSERT INTO ITM5 (ItemCode, LineNum, CycleCode) VALUES ('A1', 0, 6)",
     "SELECT Code || ':' || Name FROM OCYC ORDER BY Code", "4:By group,5:By item,6:By count",
     {"DPX_TRN_INVENTORYCYCLES_100|404|403|||4|By group||Kept while used: records of OITB, OITM, ITM5 in the target still name it",
      "DPX_TRN_INVENTORYCYCLES_100|404|403|||5|By item||Kept while used: records of OITB, OITM, ITM5 in the target still name it",
      "DPX_TRN_INVENTORYCYCLES_100|404|403|||6|By count||Kept while used: records of OITB, OITM, ITM5 in the target still name it",
      "DPX_TRN_INVENTORYCYCLES_100|404|402|||7|Unused||"}},
};

TEST_P(SetupRules, ReplaceAllKeepsWhatTargetRecordsStillName) {
  for (const KeptCase& c : kKeptCases) {
    SCOPED_TRACE(c.key);
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, c.base);
    CopyFixture::Exec(*fx.target, c.target);
    Copy(fx, c.key, 0);
    EXPECT_EQ(CopyFixture::Column(*fx.target, c.rows), c.afterRemoval);
    EXPECT_EQ(fx.logLines(), c.removed);
  }
}

// A target that cannot list what it keeps still keeps it, and the line says
// the kept rows could not be named.
TEST_P(SetupRules, KeptRowsThatCannotBeListedStayWithALineSayingSo) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OPRJ VALUES ('P2', 'Beta')");
  CopyFixture::Exec(*fx.target, "INSERT INTO OPRJ VALUES ('P1', 'Used'), ('P9', 'Unused');"
                                "INSERT INTO OCRD (CardCode, ProjectCod) VALUES ('C1', 'P1')");
  fx.target->InjectSqlFault("IN (SELECT", 1, "Listing refused");
  Copy(fx, "DPX_TRN_PROJECTS_100", 0);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT PrjCode FROM OPRJ"), "P1");
  const Lines lines = fx.logLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].rfind("DPX_TRN_PROJECTS_100|404|403||||||The rows kept while records of OCRD in the target name "
                           "them could not be listed: ",
                           0),
            0u)
      << lines[0];
}

TEST_P(SetupRules, AGroupKeptWhileUsedIsUpdatedByNameAndANewOneTakesTheNextKey) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OCRG VALUES (1, 'Customers', 'C'), (2, 'New', 'C')");
  CopyFixture::Exec(*fx.target, "INSERT INTO OCRG VALUES (930, 'Customers', 'C'), (932, 'Unused', 'C');"
                                "INSERT INTO OCRD (CardCode, GroupCode) VALUES ('C200', 930)");
  Copy(fx, "DPX_TRN_CUSTOMERGROUPS_100", 0);
  Copy(fx, "DPX_TRN_CUSTOMERGROUPS_100", 1);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT GroupCode || ':' || GroupName FROM OCRG ORDER BY GroupCode"),
            "930:Customers,931:New");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT GroupCode FROM OCRD"), "930");
}

TEST_P(SetupRules, ReplaceAllKeepsAndUpdatesTheProjectsBusinessPartnersUse) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OPRJ VALUES ('P1', 'New alpha'), ('P2', 'Beta')");
  CopyFixture::Exec(*fx.target, "INSERT INTO OPRJ VALUES ('P1', 'Old alpha'), ('P9', 'Unused');"
                                "INSERT INTO OCRD (CardCode, ProjectCod) VALUES ('C1', 'P1'), ('C2', NULL)");
  Copy(fx, "DPX_TRN_PROJECTS_100", 0);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT PrjCode || ':' || PrjName FROM OPRJ ORDER BY PrjCode"),
            "P1:Old alpha");
  Copy(fx, "DPX_TRN_PROJECTS_100", 1);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT PrjCode || ':' || PrjName FROM OPRJ ORDER BY PrjCode"),
            "P1:New alpha,P2:Beta");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_PROJECTS_100|404|403|||P1|Old alpha||Kept while used: records of OCRD in the target still name it",
                                  "DPX_TRN_PROJECTS_100|404|402|||P9|Unused||",
                                  "DPX_TRN_PROJECTS_100|213|402|P1|New alpha|P1|New alpha|Old alpha|",
                                  "DPX_TRN_PROJECTS_100|212|402|P2|Beta||||"}));
}

TEST_P(SetupRules, PaymentBlocksLeaveThePaymentMethodsCounterAlone) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OPYB VALUES (1, 'New block')");
  CopyFixture::Exec(*fx.target, "INSERT INTO OPYB VALUES (20, 'Old block');"
                                "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('147', 9, 0)");
  Copy(fx, "DPX_TRN_PAYMENTBLOCKS_100", 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AbsEntry || ':' || PayBlock FROM OPYB ORDER BY AbsEntry"),
            "20:Old block,21:New block");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '147'"), "9");
}

TEST_P(SetupRules, APartnerWithQuotesAndMarkupIsUpdatedInPlace) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OPRT VALUES (1, 'O''Hara & <Co>', 2, NULL, 'new')");
  CopyFixture::Exec(*fx.target, "INSERT INTO OPRT VALUES (8, 'O''Hara & <Co>', 1, NULL, 'old')");
  Copy(fx, "DPX_TRN_PARTNERS_100", 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT PrtId || ':' || Name || ':' || RelatnType || ':' || Memo FROM OPRT"),
            "8:O'Hara & <Co>:2:new");
  EXPECT_EQ(fx.logLines(), Lines{"DPX_TRN_PARTNERS_100|213|402|O'Hara & <Co>|new|O'Hara & <Co>|new|old|"});
}

// --- Dunning levels and payment terms: plain tables first, then the records.

TEST_P(SetupRules, TheRemovalPassRemovesEveryDunningLevelHighestFirst) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO ODUN VALUES (1, 10); INSERT INTO ODUT VALUES (1, 'Net 30')");
  CopyFixture::Exec(*fx.target, "INSERT INTO ODUN VALUES (1, 11), (2, 21), (3, 31); INSERT INTO ODUT VALUES (1, 'Old')");
  Copy(fx, "DPX_TRN_DUNNINGLEVELS_100", 0);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT LineNum FROM ODUN"), "");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT TermCode || ':' || TermName FROM ODUT"), "1:Old");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_DUNNINGLEVELS_100|404|402|||3|31||",
                                  "DPX_TRN_DUNNINGLEVELS_100|404|402|||2|21||",
                                  "DPX_TRN_DUNNINGLEVELS_100|404|402|||1|11||"}));
}

TEST_P(SetupRules, AccompanyingRowsAreOverwrittenWithoutALineEvenByAddOnly) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO ODUN VALUES (1, 10), (2, 20); INSERT INTO ODUT VALUES (1, 'New'), (2, 'Two');"
                              "INSERT INTO OCDC VALUES ('D1', 'New early'), ('D2', 'Late');"
                              "INSERT INTO OCTG (GroupNum, PymntGroup, DiscCode) VALUES (1, 'Net 30', 'D2')");
  CopyFixture::Exec(*fx.target, "INSERT INTO ODUN VALUES (1, 11); INSERT INTO ODUT VALUES (1, 'Old'), (4, 'Four');"
                                "INSERT INTO OCDC VALUES ('D1', 'Old early');"
                                "INSERT INTO ONNM (ObjectCode, AutoKey, DfltSeries) VALUES ('196', 1, 0)");
  Copy(fx, "DPX_TRN_DUNNINGLEVELS_100", 3);
  Copy(fx, "DPX_TRN_PAYMENTTERMS_100", 3);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT TermCode || ':' || TermName FROM ODUT ORDER BY TermCode"),
            "1:New,2:Two,4:Four");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '196'"), "5");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || TableDesc FROM OCDC ORDER BY Code"),
            "D1:New early,D2:Late");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT LineNum || ':' || LetrFormat FROM ODUN ORDER BY LineNum"),
            "1:11,2:20");
  // The payment term names a cash discount the target only has since the plain tables went first.
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT PymntGroup || ':' || DiscCode FROM OCTG"), "Net 30:D2");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_DUNNINGLEVELS_100|212|402|2|20||||",
                                  "DPX_TRN_PAYMENTTERMS_100|212|402|Net 30|Net 30||||"}));
}

TEST_P(SetupRules, OneChosenPaymentTermBringsEveryPlainRowAndNoNegativeTerm) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO RIT1 VALUES (1, 'First'), (2, 'Second'); INSERT INTO ORIT VALUES (1, 'Two');"
                    "INSERT INTO OCDC VALUES ('D1', 'Early'), ('D2', 'Late');"
                    "INSERT INTO CDC1 VALUES ('D1', 0, 2), ('D1', 1, 1), ('D2', 0, 3);"
                    "INSERT INTO OCTG (GroupNum, PymntGroup, DiscCode) VALUES "
                    "(-3, 'Host own', NULL), (1, 'Net 30', 'D1'), (2, 'Net 60', NULL)");
  CopyFixture::Exec(*fx.target, "INSERT INTO OCTG (GroupNum, PymntGroup, DiscCode) VALUES (-3, 'Target own', NULL);"
                                "INSERT INTO CDC1 VALUES ('D1', 0, 9)");
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  EXPECT_EQ(factory.createManager("DPX_TRN_PAYMENTTERMS_100")->collectDetails()->getListRows(),
            (std::vector<std::vector<std::string>>{{"Net 30"}, {"Net 60"}}));
  DPX_DetailRecord chosen;
  chosen.addKeyValue("GroupNum", dpx::Variant(int32_t{1}));
  Copy(fx, "DPX_TRN_PAYMENTTERMS_100", 4, {chosen});
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM RIT1 ORDER BY Code"), "1:First,2:Second");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM ORIT"), "1:Two");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || TableDesc FROM OCDC ORDER BY Code"),
            "D1:Early,D2:Late");
  EXPECT_EQ(CopyFixture::Column(*fx.target,
                                "SELECT CdcCode || ':' || LineId || ':' || Discount FROM CDC1 ORDER BY CdcCode, LineId"),
            "D1:0:2.0,D1:1:1.0,D2:0:3.0");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT GroupNum || ':' || PymntGroup FROM OCTG ORDER BY GroupNum"),
            "-3:Target own,1:Net 30");
  EXPECT_EQ(fx.logLines(), Lines{"DPX_TRN_PAYMENTTERMS_100|212|402|Net 30|Net 30||||"});
  // Replace All: the target's own negative term stays.
  Copy(fx, "DPX_TRN_PAYMENTTERMS_100", 0);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT GroupNum || ':' || PymntGroup FROM OCTG"), "-3:Target own");
}

INSTANTIATE_TEST_SUITE_P(SetupCopy, SetupRules, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
