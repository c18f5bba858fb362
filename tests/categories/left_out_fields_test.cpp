// Records that name rows the target lacks are written without those fields,
// and their copy-log lines say so: the result stays "402", and the Error
// column names each field left out and the value it held. Every case runs
// with the target as server type 5 and with the default dialect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/di_interface.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

class LeftOutFields : public ::testing::TestWithParam<int> {};

struct LeftOutCase {
  const char* name;
  const char* key;
  const char* base;    // the base's rows
  const char* target;  // the target's rows
  const char* query;   // the target's record afterwards
  const char* row;     // what it reads: the fields left out are empty
  Lines lines;
};

TEST_P(LeftOutFields, RecordsWrittenWithoutFieldsTheTargetLacksSaySo) {
  const std::vector<LeftOutCase> cases = {
      {"an item with a manufacturer the target lacks", "DPX_TRN_ITEMSLEAF_100",
       "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (100, 'Tools');"
       "INSERT INTO OMRC (FirmCode, FirmName) VALUES (1, 'Acme & <Co>');"
       "INSERT INTO OITM (ItemCode, ItemType, ItemName, ItmsGrpCod, FirmCode) VALUES ('I1', 0, 'Bolt', 100, 1)",
       "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (107, 'Tools');"
       "INSERT INTO OMRC (FirmCode, FirmName) VALUES (1, 'Other')",
       "SELECT ItemCode || ':' || ItmsGrpCod || ':' || IFNULL(FirmCode, '') FROM OITM", "I1:107:",
       {"DPX_TRN_ITEMSLEAF_100|212|402|I1|Bolt||||Written without Manufacturer 'Acme & <Co>': the target has none"}},
      {"a partner with a commission group and a shipping type the target lacks, updated",
       "DPX_TRN_BPGENERALINFO_100",
       "INSERT INTO OCOG (GroupCode, GroupName) VALUES (1, 'Retail');"
       "INSERT INTO OSHP (TrnspCode, TrnspName) VALUES (2, 'Courier ''n'' <Sons>');"
       "INSERT INTO OCRD (CardCode, CardType, CardName, CommissionGroupCode, ShippingType) VALUES "
       "('C1', 'C', 'Partner', 1, 2)",
       "INSERT INTO OCRD (CardCode, CardType, CardName) VALUES ('C1', 'C', 'Old name')",
       "SELECT CardCode || ':' || CardName || ':' || IFNULL(CommissionGroupCode, '') || ':' || IFNULL(ShippingType, "
       "'') FROM OCRD",
       "C1:Partner::",
       {"DPX_TRN_BPGENERALINFO_100|213|402|C1|Partner|C1|Partner|Old name|Written without CommissionGroupCode "
        "'Retail': the target has none; Written without ShippingType 'Courier 'n' <Sons>': the target has none"}},
      {"a partner whose shipping type the target has", "DPX_TRN_BPGENERALINFO_100",
       "INSERT INTO OSHP (TrnspCode, TrnspName) VALUES (2, 'Courier');"
       "INSERT INTO OCRD (CardCode, CardType, CardName, ShippingType) VALUES ('C1', 'C', 'Partner', 2)",
       "INSERT INTO OSHP (TrnspCode, TrnspName) VALUES (5, 'Courier')",
       "SELECT CardCode || ':' || IFNULL(ShippingType, '') FROM OCRD", "C1:5",
       {"DPX_TRN_BPGENERALINFO_100|212|402|C1|Partner||||"}},
  };
  for (const LeftOutCase& c : cases) {
    SCOPED_TRACE(c.name);
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, c.base);
    CopyFixture::Exec(*fx.target, c.target);
    dpx::test::CopyCategory(fx, c.key, 4);
    EXPECT_EQ(CopyFixture::Column(*fx.target, c.query), c.row);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

INSTANTIATE_TEST_SUITE_P(LeftOut, LeftOutFields, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
