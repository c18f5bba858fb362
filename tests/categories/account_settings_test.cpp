// Settings that overwrite the target, copied between two simulated
// companies: inventory settings, the accounts of the posting-period
// categories (G/L account determination and the G/L settings for
// inventory), the G/L settings for tax setup and for banks. Nothing is ever
// added or removed; every case runs with the target as server type 5 and
// with the default dialect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/category_support.h"
#include "engine/category_factory.h"
#include "engine/di_interface.h"
#include "platform/host/company.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"
#include "tests/support/stored_blocks.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kInventory = "DPX_TRN_INVENTORYSETTINGS_100";
constexpr const char* kDetermination = "DPX_TRN_GLACCTDETERMINATION_100";
constexpr const char* kInventoryAccounts = "DPX_TRN_GLINVNTRYSETTINGS_100";
constexpr const char* kTaxSetup = "DPX_TRN_GLTAXDEFSETTINGS_100";
constexpr const char* kBankSettings = "DPX_TRN_GLBANKSETTINGS_100";

std::vector<DPX_OperationArgs> Copy(CopyFixture& fx, const std::string& key, uint8_t method) {
  return dpx::test::CopyCategory(fx, key, method);
}

void Write(CopyFixture& fx, const std::string& key, std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  RegisterCategoryClasses();
  DPX_CategoryFactory(&fx.context).createManager(key)->writeData(std::move(blocks), method);
}

std::string Target(CopyFixture& fx, const std::string& sql) { return CopyFixture::Column(*fx.target, sql); }

void SetAccountFlag(dpx::host::Company& company, bool on) {
  CopyFixture::Exec(company, std::string("UPDATE CINF SET EnableAccountSegmentation = ") + (on ? "1" : "0"));
}

void Names(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base, "UPDATE OADM SET CompnyName = 'Base & <Co>''s'");
  CopyFixture::Exec(*fx.target, "UPDATE OADM SET CompnyName = 'Target Ltd'");
}

class AccountSettings : public ::testing::TestWithParam<int> {};

// --- Every category: the removal pass changes nothing and writes no line.

TEST_P(AccountSettings, TheRemovalPassOfEachCategoryChangesNothing) {
  for (const char* key : {kInventory, kDetermination, kInventoryAccounts, kTaxSetup, kBankSettings}) {
    SCOPED_TRACE(key);
    CopyFixture fx(GetParam());
    const char* rows =
        "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A1', 'Cash', '1100');"
        "INSERT INTO OACP (PeriodCat, PeriodName, BeginningofFinancialYear, SubPeriodType, StockAccount)"
        " VALUES ('P24', 'Year', '20240101', 0, NULL);"
        "INSERT INTO OWHT (WTCode, WTName, Account) VALUES ('W1', 'Tax', NULL);"
        "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, BankName) VALUES (1, 'IE', 'BK', 'Bank');";
    CopyFixture::Exec(*fx.base, rows);
    CopyFixture::Exec(*fx.target, rows);
    CopyFixture::Exec(*fx.base,
                      "UPDATE OACP SET StockAccount = 'A1', DebitorsFollowUpAccount = 'A1';"
                      "UPDATE OWHT SET Account = 'A1'; UPDATE ODSC SET BankName = 'Renamed';"
                      "UPDATE OADM SET PriceSystem = 1, BankCountry = 'IE', VendorDdct = 1");
    const std::string before = Target(fx, "SELECT IFNULL(StockAccount, '-') FROM OACP") +
                               Target(fx, "SELECT IFNULL(Account, '-') FROM OWHT") +
                               Target(fx, "SELECT BankName FROM ODSC") +
                               Target(fx, "SELECT IFNULL(PriceSystem, 0) || IFNULL(BankCountry, '-') FROM OADM");
    Copy(fx, key, 0);
    EXPECT_EQ(Target(fx, "SELECT IFNULL(StockAccount, '-') FROM OACP") +
                  Target(fx, "SELECT IFNULL(Account, '-') FROM OWHT") + Target(fx, "SELECT BankName FROM ODSC") +
                  Target(fx, "SELECT IFNULL(PriceSystem, 0) || IFNULL(BankCountry, '-') FROM OADM"),
              before);
    EXPECT_TRUE(fx.logLines().empty()) << ::testing::PrintToString(fx.logLines());
  }
}

// --- Inventory settings.

TEST_P(AccountSettings, InventorySettingsOverwriteTheTargetsValues) {
  CopyFixture fx(GetParam());
  Names(fx);
  CopyFixture::Exec(*fx.base,
                    "UPDATE OADM SET ContinuousStockManagement = 1, ContinuousStockSystem = 2, PriceSystem = 1,"
                    " UsePASystem = 1, UniqueSerialNo = 3, DefaultforBatchStatus = 1, DefaultWarehouse = 'W''1 & <2>',"
                    " GLMethod = 2, SetItemsWarehouses = 1, WTLiableExpense = 1;"
                    "UPDATE CINF SET EnableStockRelNoCostPrice = 1, SRIManagementSystem = 1,"
                    " AutoSRICreationOnReceipt = 1, AutoCreateCustomerEqCard = 1");
  const std::string values =
      "SELECT ContinuousStockManagement || ContinuousStockSystem || PriceSystem || UsePASystem || UniqueSerialNo ||"
      " DefaultforBatchStatus || GLMethod || SetItemsWarehouses || WTLiableExpense || ':' || DefaultWarehouse FROM OADM";
  const std::string info =
      "SELECT EnableStockRelNoCostPrice || SRIManagementSystem || AutoSRICreationOnReceipt || AutoCreateCustomerEqCard"
      " FROM CINF";
  Copy(fx, kInventory, 3);  // Add New Records overwrites the settings too
  EXPECT_EQ(Target(fx, values), "121131211:W'1 & <2>");
  EXPECT_EQ(Target(fx, info), "1111");
  EXPECT_EQ(Target(fx, "SELECT CompnyName FROM OADM"), "Target Ltd");
  EXPECT_EQ(fx.logLines(), Lines{"DPX_TRN_INVENTORYSETTINGS_100|213|402||Base & <Co>'s|||Target Ltd|"});
}

TEST_P(AccountSettings, InventorySettingsFromAFileKeepWhatTheRecordLacksAndRefuseWhatDoesNotParse) {
  struct Case {
    const char* record;
    const char* values;  // PriceSystem, GLMethod, DefaultWarehouse, SRIManagementSystem afterwards
    bool stored;
  };
  const std::vector<Case> cases = {
      // Element names of any case are found; an absent element keeps the target's value.
      {"<BOM><InventorySettings><pricesystem>1</pricesystem><DEFAULTWAREHOUSE>W9</DEFAULTWAREHOUSE>"
       "<srimanagementsystem>1</srimanagementsystem></InventorySettings></BOM>",
       "1|2|W9|1", true},
      {"<BOM><InventorySettings><PriceSystem>1", "0|2|W0|0", false},
      {"<BOM><Other><PriceSystem>1</PriceSystem></Other></BOM>", "0|2|W0|0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record);
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.target, "UPDATE OADM SET PriceSystem = 0, GLMethod = 2, DefaultWarehouse = 'W0';"
                                  "UPDATE CINF SET SRIManagementSystem = 0");
    DPX_OperationArgs block;
    block.setWithValues(kInventory, "OADM", &fx.context, 1, DPX_OperationArgs::kTableRows);
    block.dataItems.push_back(dpx::categories::Record(c.record));
    Write(fx, kInventory, {block}, 4);
    EXPECT_EQ(Target(fx, "SELECT PriceSystem || '|' || GLMethod || '|' || DefaultWarehouse FROM OADM") + "|" +
                  Target(fx, "SELECT SRIManagementSystem FROM CINF"),
              c.values);
    const Lines lines = fx.logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("|213|402|") != std::string::npos, c.stored) << lines[0];
  }
  // The administration record refused: the company information is not stored either.
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "UPDATE OADM SET PriceSystem = 1; UPDATE CINF SET SRIManagementSystem = 1");
  fx.target->InjectFault("UpdateAdminInfo", 1, -99, "Settings locked");
  Copy(fx, kInventory, 4);
  EXPECT_EQ(Target(fx, "SELECT IFNULL(PriceSystem, 0) FROM OADM") + Target(fx, "SELECT IFNULL(SRIManagementSystem, 0) FROM CINF"),
            "00");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("|213|403|"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("Settings locked"), std::string::npos) << lines[0];
}

// --- The accounts of the posting-period categories.

// The base's 2024 category and the target's two of that start (T24, then
// T24B) and one of 2025; each chart knows format code 1100.
void SeedPeriods(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A1', 'Cash', '1100'), ('A2', 'Stock', '1300');"
                    "INSERT INTO OACP (PeriodCat, PeriodName, BeginningofFinancialYear, SubPeriodType,"
                    " DebitorsFollowUpAccount, StockAccount, DecreaseGLAcc, InvoicePaymentBP) VALUES"
                    " ('P23', 'Y23', '20230101', 0, 'A1', 'A2', 'A2', 'C1'), ('P24', 'Y24', '20240101', 0, 'A1', 'A2', 'A1', 'C1')");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A1', 'Old cash', '9100'),"
                    " ('A2', 'Old stock', '9300'), ('T1', 'Cash', '1100'), ('T2', 'Stock', '1300'), ('T9', 'Odd', 'A1');"
                    "INSERT INTO OACP (PeriodCat, PeriodName, BeginningofFinancialYear, SubPeriodType,"
                    " DebitorsFollowUpAccount, StockAccount, DecreaseGLAcc) VALUES"
                    " ('T24', 'Y24', '20240101', 0, NULL, NULL, NULL), ('T25', 'Y25', '20250101', 0, NULL, NULL, NULL),"
                    " ('T24B', 'Second', '20240101', 0, NULL, NULL, NULL)");
}

const char* const kPeriodAccounts =
    "SELECT PeriodCat || ':' || IFNULL(DebitorsFollowUpAccount, '') || ':' || IFNULL(StockAccount, '') || ':' ||"
    " IFNULL(DecreaseGLAcc, '') FROM OACP ORDER BY PeriodCat";

TEST_P(AccountSettings, AnAccountsRecordUpdatesTheFirstTargetCategoryOfItsStart) {
  struct Case {
    const char* key;
    const char* rows;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {kDetermination, "T24:A1:A2:A1,T24B:::,T25:::",
       {"DPX_TRN_GLACCTDETERMINATION_100|213|402|T24||T24|||",
        "DPX_TRN_GLACCTDETERMINATION_100|213|402|OADM||OADM|Target Ltd||"}},
      // The inventory accounts leave the receivables account alone.
      {kInventoryAccounts, "T24::A2:A1,T24B:::,T25:::", {"DPX_TRN_GLINVNTRYSETTINGS_100|213|402|T24||T24|||"}},
  };
  for (const Case& c : cases) {
    for (uint8_t method : {1, 2, 3, 4}) {
      SCOPED_TRACE(std::string(c.key) + " method " + std::to_string(method));
      CopyFixture fx(GetParam());
      Names(fx);
      SeedPeriods(fx);
      Copy(fx, c.key, method);
      EXPECT_EQ(Target(fx, kPeriodAccounts), c.rows);
      EXPECT_EQ(fx.logLines(), c.lines);
    }
  }
}

TEST_P(AccountSettings, AccountsTravelByFormatCodeWhereEachCompanysFlagSaysSo) {
  struct Case {
    bool baseFlag, targetFlag;
    const char* rows;
    const char* result;
  };
  const std::vector<Case> cases = {
      {false, false, "T24::A2:A1,", "|213|402|"},  // codes unchanged
      {true, true, "T24::T2:T1,", "|213|402|"},    // by format code both ways
      {false, true, "T24:::T9,", "|213|403|"},     // 'A1' read as a format code; none is 'A2'
      {true, false, "T24:::,", "|213|403|"},       // '1300' is no account code of the target
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.baseFlag) + std::to_string(c.targetFlag));
    CopyFixture fx(GetParam());
    SeedPeriods(fx);
    SetAccountFlag(*fx.base, c.baseFlag);
    SetAccountFlag(*fx.target, c.targetFlag);
    Copy(fx, kInventoryAccounts, 4);
    EXPECT_EQ(Target(fx, kPeriodAccounts).substr(0, std::string(c.rows).size()), c.rows);
    const Lines lines = fx.logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(c.result), std::string::npos) << lines[0];
  }
  // A format code the target lacks leaves that account as it was, and the line names it.
  CopyFixture fx(GetParam());
  SeedPeriods(fx);
  SetAccountFlag(*fx.base, true);
  SetAccountFlag(*fx.target, true);
  CopyFixture::Exec(*fx.target, "UPDATE OACT SET FormatCode = '7300' WHERE AcctCode = 'T2';"
                                "UPDATE OACP SET StockAccount = 'A2' WHERE PeriodCat = 'T24'");
  Copy(fx, kInventoryAccounts, 4);
  EXPECT_EQ(Target(fx, kPeriodAccounts), "T24::A2:T1,T24B:::,T25:::");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("|213|403|T24||T24|||The target has no account of the format codes '1300'"),
            std::string::npos)
      << lines[0];
}

TEST_P(AccountSettings, ACategoryTheTargetCannotFetchIsPassedOverAndARefusedUpdateSaysWhy) {
  CopyFixture fx(GetParam());
  SeedPeriods(fx);
  // The 2023 record walks all three categories first; then T24 cannot be fetched.
  fx.target->InjectFault("GetPeriodCategory", 4);
  Copy(fx, kInventoryAccounts, 4);
  EXPECT_EQ(Target(fx, kPeriodAccounts), "T24:::,T24B::A2:A1,T25:::");
  EXPECT_EQ(fx.logLines(), Lines{"DPX_TRN_GLINVNTRYSETTINGS_100|213|402|T24B||T24B|||"});

  fx.target->InjectFault("UpdatePeriodCategory", 1, -99, "Period's accounts locked");
  Copy(fx, kInventoryAccounts, 4);
  EXPECT_EQ(Target(fx, kPeriodAccounts), "T24:::,T24B::A2:A1,T25:::");
  EXPECT_EQ(fx.logLines().back(), "DPX_TRN_GLINVNTRYSETTINGS_100|213|403|T24||T24|||Period's accounts locked");
}

TEST_P(AccountSettings, TheTenSettingsFollowTheirRulesAndAFileListsThePeriodCategories) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "UPDATE OADM SET ChangeDefReconARAccounts = 1, TaxDefinitionforVatitem = '',"
                    " TaxDefinitionforVatservice = 'S''1 & <2>', ChangeDefReconAPAccounts = 1,"
                    " WithholdingTaxPHandle = '', TaxGroupforPurchaseItem = NULL, TaxGroupforServicePurchase = 'G2',"
                    " VendorDdct = 1, CustomersDeductionatSource = 1, SHandleWT = 1");
  CopyFixture::Exec(*fx.target,
                    "UPDATE OADM SET ChangeDefReconARAccounts = 0, TaxDefinitionforVatitem = 'old1',"
                    " TaxDefinitionforVatservice = 'old2', ChangeDefReconAPAccounts = 0, WithholdingTaxPHandle = 'old3',"
                    " TaxGroupforPurchaseItem = 'old4', TaxGroupforServicePurchase = 'old5', VendorDdct = 0,"
                    " CustomersDeductionatSource = 0, SHandleWT = 0");
  SeedPeriods(fx);
  const auto blocks = Copy(fx, kDetermination, 2);
  EXPECT_EQ(Target(fx, "SELECT ChangeDefReconARAccounts || ChangeDefReconAPAccounts || VendorDdct ||"
                       " CustomersDeductionatSource || SHandleWT || '|' || TaxDefinitionforVatitem || '|' ||"
                       " TaxDefinitionforVatservice || '|' || IFNULL(WithholdingTaxPHandle, '') || '|' ||"
                       " TaxGroupforPurchaseItem || '|' || TaxGroupforServicePurchase FROM OADM"),
            "11111|old1|S'1 & <2>||old4|G2");
  // Listed from a configuration file: the period categories by their start, not the settings.
  RegisterCategoryClasses();
  dpx::test::StoredBlocks file(blocks);
  auto manager = DPX_CategoryFactory(&fx.context).createManager(kDetermination);
  EXPECT_EQ(manager->readFromFile(&file)->getListRows(),
            (std::vector<std::vector<std::string>>{{"2023-01-01"}, {"2024-01-01"}}));
}

// --- Tax setup and banks.

TEST_P(AccountSettings, TaxRecordsTheTargetHasGetTheBasesAccountsAndNothingIsAddedOrRemoved) {
  for (uint8_t method : {1, 2, 4}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base,
                      "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A1', 'Tax''s & <due>', '1100'),"
                      " ('A2', 'Withheld', '1400');"
                      "INSERT INTO OSTT (AbsId, Name) VALUES (1, 'State'), (2, 'County');"
                      "INSERT INTO OSTA (Code, Type, Name, AOrPTaxAccount) VALUES ('NY', 1, 'New York', 'A1'),"
                      " ('BO', 2, 'Base only', 'A1');"
                      "INSERT INTO OWHT (WTCode, WTName, Account) VALUES ('W1', 'Ten', 'A2'), ('WB', 'Base', 'A2');"
                      "INSERT INTO OIND (Code, Name) VALUES ('I1', 'Index & <1>'), ('IB', 'Base')");
    CopyFixture::Exec(*fx.target,
                      "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('T1', 'Tax''s & <due>', '1100'),"
                      " ('T2', 'Withheld', '1400'), ('A1', 'Other', '9999');"
                      "INSERT INTO OSTT (AbsId, Name) VALUES (7, 'State');"
                      "INSERT INTO OSTA (Code, Type, Name, AOrPTaxAccount) VALUES ('NY', 7, 'NY old', NULL),"
                      " ('TG', 7, 'Target only', NULL);"
                      "INSERT INTO OWHT (WTCode, WTName, Account) VALUES ('W1', 'Old', NULL), ('WT', 'Target', NULL);"
                      "INSERT INTO OIND (Code, Name) VALUES ('I1', 'Old'), ('IT', 'Target')");
    Copy(fx, kTaxSetup, method);
    // Flags clear: authority accounts go by code, withholding accounts by name.
    EXPECT_EQ(Target(fx, "SELECT Code || Type || ':' || Name || ':' || IFNULL(AOrPTaxAccount, '') FROM OSTA ORDER BY Code"),
              "NY7:New York:A1,TG7:Target only:");
    EXPECT_EQ(Target(fx, "SELECT WTCode || ':' || WTName || ':' || IFNULL(Account, '') FROM OWHT ORDER BY WTCode"),
              "W1:Ten:T2,WT:Target:");
    EXPECT_EQ(Target(fx, "SELECT Code || ':' || Name FROM OIND ORDER BY Code"), "I1:Index & <1>,IT:Target");
    EXPECT_EQ(Target(fx, "SELECT AbsId || Name FROM OSTT"), "7State");
    for (const std::string& line : fx.logLines()) EXPECT_NE(line.find("|213|402|"), std::string::npos) << line;
    EXPECT_EQ(fx.logLines().size(), 4u);
  }
}

TEST_P(AccountSettings, TheTransportAccountGoesOnlyWhenNoRecordNamesIt) {
  for (bool named : {false, true}) {
    SCOPED_TRACE(named ? "named" : "not named");
    for (const char* key : {kTaxSetup, kBankSettings}) {
      CopyFixture fx(GetParam());
      CopyFixture::Exec(*fx.target, "INSERT INTO OACT (AcctCode, AcctName) VALUES ('DXTRANSACCT', 'Transport');"
                                    "INSERT INTO OVTG (Code, Name, TaxAccount) VALUES ('V1', 'VAT', NULL)");
      if (named) CopyFixture::Exec(*fx.target, "UPDATE OVTG SET TaxAccount = 'DXTRANSACCT'");
      Copy(fx, key, 0);
      EXPECT_EQ(Target(fx, "SELECT COUNT(*) FROM OACT WHERE AcctCode = 'DXTRANSACCT'"), named ? "1" : "0") << key;
    }
  }
}

TEST_P(AccountSettings, BankSettingsUpdateWhatTheTargetHasAndTheDefaultBankButNotItsBranch) {
  CopyFixture fx(GetParam());
  Names(fx);
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A1', 'Bank', '1000');"
                    "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, BankName) VALUES (1, 'IE', 'BK', 'Bank & <Co>''s'),"
                    " (2, 'DE', 'BO', 'Base only');"
                    "INSERT INTO RDOC (DocCode, DocName, TypeCode) VALUES ('INV11', 'Invoice & <Co>''s', 'INV1');"
                    "INSERT INTO DSC1 (AbsEntry, BankCode, Account, Branch, BankKey, GLAccount, TemplateName) VALUES"
                    " (1, 'BK', '11', 'Main', 1, 'A1', 'INV11'), (2, 'BO', '22', 'Base', 2, 'A1', NULL);"
                    "UPDATE OADM SET BankCountry = 'IE', DefaultBankNo = 'BK', DefaultBankAccount = '11',"
                    " DefaultBranch = 'Main'");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('A1', 'Bank', '1000');"
                    "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, BankName) VALUES (4, 'IE', 'BK', 'Old');"
                    "INSERT INTO RDOC (DocCode, DocName, TypeCode) VALUES ('INV17', 'Invoice & <Co>''s', 'INV1');"
                    "INSERT INTO DSC1 (AbsEntry, BankCode, Account, Branch, BankKey, GLAccount) VALUES"
                    " (5, 'BK', '11', 'Old', 4, NULL);"
                    "UPDATE OADM SET BankCountry = 'FR', DefaultBankNo = 'TB', DefaultBankAccount = '99',"
                    " DefaultBranch = 'Paris'");
  Copy(fx, kBankSettings, 4);
  EXPECT_EQ(Target(fx, "SELECT AbsEntry || ':' || BankName FROM ODSC"), "4:Bank & <Co>'s");
  // The layout is the target's of the same name.
  EXPECT_EQ(Target(fx, "SELECT AbsEntry || ':' || Branch || ':' || IFNULL(GLAccount, '') || ':' || TemplateName FROM DSC1"),
            "5:Main:A1:INV17");
  EXPECT_EQ(Target(fx, "SELECT BankCountry || DefaultBankNo || DefaultBankAccount || DefaultBranch FROM OADM"),
            "IEBK11Paris");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
  EXPECT_EQ(lines[2], "DPX_TRN_GLBANKSETTINGS_100|213|402|OADM||OADM|Target Ltd||");
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, AccountSettings, ::testing::ValuesIn(dpx::test::kServerTypes));

}  // namespace
