// Categories whose records name other records, copied between two simulated
// companies: payment methods and their formats, sales employees with the
// employees and the lookup tables of the employee data, banks and house bank
// accounts, price lists and territories. Every case runs with the target as
// server type 5 and with the default dialect; what counts is the target's
// rows and the copy-log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "categories/category_classes.h"
#include "categories/setup/sales_employees_manager.h"
#include "engine/category_factory.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"
#include "tests/support/stored_blocks.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kPaymentMethods = "DPX_TRN_PAYMENTMETHODS_100";
constexpr const char* kSalesEmployees = "DPX_TRN_SALESEMPLOYEES_100";
constexpr const char* kBanks = "DPX_TRN_BANKSANDBRANCHES_100";
constexpr const char* kHouseBankAccounts = "DPX_TRN_HOUSEBANKACCOUNTS_100";
constexpr const char* kPriceLists = "DPX_TRN_PRICELISTDEFS_100";
constexpr const char* kTerritories = "DPX_TRN_TERRITORIES_100";

std::vector<DPX_OperationArgs> Copy(CopyFixture& fx, const std::string& key, uint8_t method,
                                    std::vector<DPX_DetailRecord> chosen = {}) {
  return dpx::test::CopyCategory(fx, key, method, std::move(chosen));
}

std::string Target(CopyFixture& fx, const std::string& sql) { return CopyFixture::Column(*fx.target, sql); }

// One category: the rows of both companies (A only in the base, B in both
// under other keys or with other texts, C only in the target), how the
// target's rows read, and what each copy method leaves behind.
struct CategoryCase {
  const char* key;
  const char* base;
  const char* target;
  const char* rows;
  const char* afterRemoval;
  const char* afterAddOrUpdate;  // methods 1 and 4
  const char* afterUpdate;       // method 2
  const char* afterAdd;          // method 3
  const char* addedA;
  const char* updatedB;
  Lines removed;
  // B's line by method 2, when it differs: A is not there to be named.
  const char* updatedBAlone = nullptr;
};

const std::vector<CategoryCase> kCases = {
    // A's format is in the target under another key; B names none.
    {kPaymentMethods,
     "INSERT INTO OFRM VALUES (1, 'Cheque''s', 1);"
     "INSERT INTO OPYM (PayMethCod, Descript, Type, Format) VALUES ('A', 'Alpha', 'I', 1), ('B', 'Beta', 'O', NULL)",
     "INSERT INTO OFRM VALUES (7, 'Cheque''s', 1);"
     "INSERT INTO OPYM (PayMethCod, Descript, Type, Format) VALUES ('B', 'Beta old', 'I', 7), ('C', 'Gamma', 'I', NULL)",
     "SELECT PayMethCod || ':' || Descript || ':' || IFNULL(Format, '') FROM OPYM ORDER BY PayMethCod",
     "", "A:Alpha:7,B:Beta:,C:Gamma:", "B:Beta:,C:Gamma:", "A:Alpha:7,B:Beta old:7,C:Gamma:",
     "DPX_TRN_PAYMENTMETHODS_100|212|402|A|Alpha||||",
     "DPX_TRN_PAYMENTMETHODS_100|213|402|B|Beta|B|Beta|Beta old|",
     {"DPX_TRN_PAYMENTMETHODS_100|404|402|||B|Beta old||", "DPX_TRN_PAYMENTMETHODS_100|404|402|||C|Gamma||"}},
    // The host's own sales employee -1 is never listed, read or removed.
    {kSalesEmployees,
     "INSERT INTO OSLP (SlpCode, SlpName, Memo) VALUES (-1, 'None', NULL), (1, 'A', 'ma'), (2, 'B', 'mb')",
     "INSERT INTO OSLP (SlpCode, SlpName, Memo) VALUES (-1, 'None', NULL), (5, 'B', 'old'), (6, 'C', 'mc')",
     "SELECT SlpCode || ':' || SlpName || ':' || IFNULL(Memo, '') FROM OSLP ORDER BY SlpCode",
     "-1:None:", "-1:None:,5:B:mb,6:C:mc,7:A:ma", "-1:None:,5:B:mb,6:C:mc", "-1:None:,5:B:old,6:C:mc,7:A:ma",
     "DPX_TRN_SALESEMPLOYEES_100|212|402|A|ma||||",
     "DPX_TRN_SALESEMPLOYEES_100|213|402|B|mb|B|mb|old|",
     {"DPX_TRN_SALESEMPLOYEES_100|404|402|||B|old||", "DPX_TRN_SALESEMPLOYEES_100|404|402|||C|mc||"}},
    // A bank is its country and code.
    {kBanks,
     "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, BankName) VALUES (1, 'US', 'A', 'Alpha'), (2, 'IE', 'B', 'Beta')",
     "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, BankName) VALUES (5, 'IE', 'B', 'Beta old'), (6, 'FR', 'C', 'Gamma')",
     "SELECT AbsEntry || ':' || BankCode || ':' || BankName FROM ODSC ORDER BY AbsEntry",
     "", "5:B:Beta,6:C:Gamma,7:A:Alpha", "5:B:Beta,6:C:Gamma", "5:B:Beta old,6:C:Gamma,7:A:Alpha",
     "DPX_TRN_BANKSANDBRANCHES_100|212|402|A|Alpha||||",
     "DPX_TRN_BANKSANDBRANCHES_100|213|402|B|Beta|B|Beta|Beta old|",
     {"DPX_TRN_BANKSANDBRANCHES_100|404|402|||B|Beta old||", "DPX_TRN_BANKSANDBRANCHES_100|404|402|||C|Gamma||"}},
    // An account is its bank and number; the bank is 1 in the base and 4 in the target.
    {kHouseBankAccounts,
     "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, BankName) VALUES (1, 'IE', 'BK', 'Bank');"
     "INSERT INTO DSC1 (AbsEntry, BankCode, Account, Branch, BankKey) VALUES (1, 'BK', 'A', 'ba', 1), (2, 'BK', 'B', 'bb', 1)",
     "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, BankName) VALUES (4, 'IE', 'BK', 'Bank');"
     "INSERT INTO DSC1 (AbsEntry, BankCode, Account, Branch, BankKey) VALUES (5, 'BK', 'B', 'old', 4), (6, 'BK', 'C', 'bc', 4)",
     "SELECT AbsEntry || ':' || Account || ':' || Branch || ':' || BankKey FROM DSC1 ORDER BY AbsEntry",
     "", "5:B:bb:4,6:C:bc:4,7:A:ba:4", "5:B:bb:4,6:C:bc:4", "5:B:old:4,6:C:bc:4,7:A:ba:4",
     "DPX_TRN_HOUSEBANKACCOUNTS_100|212|402|BK|A||||",
     "DPX_TRN_HOUSEBANKACCOUNTS_100|213|402|BK|B|BK|B|B|",
     {"DPX_TRN_HOUSEBANKACCOUNTS_100|404|402|||BK|B||", "DPX_TRN_HOUSEBANKACCOUNTS_100|404|402|||BK|C||"}},
    // Each list is based on itself; a new one on the number the target gives it.
    {kPriceLists,
     "INSERT INTO OPLN (ListNum, ListName, BASE_NUM) VALUES (1, 'A', 1), (2, 'B', 2)",
     "INSERT INTO OPLN (ListNum, ListName, BASE_NUM) VALUES (5, 'B', 6), (6, 'C', 6)",
     "SELECT ListNum || ':' || ListName || ':' || IFNULL(BASE_NUM, '') FROM OPLN ORDER BY ListNum",
     "", "5:B:5,6:C:6,7:A:7", "5:B:5,6:C:6", "5:B:6,6:C:6,7:A:7",
     "DPX_TRN_PRICELISTDEFS_100|212|402|A|A||||",
     "DPX_TRN_PRICELISTDEFS_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_PRICELISTDEFS_100|404|402|||B|B||", "DPX_TRN_PRICELISTDEFS_100|404|402|||C|C||"}},
    // B lies in A; without A in the target B keeps the parent it has.
    {kTerritories,
     "INSERT INTO OTER (territryID, descript, parent) VALUES (1, 'A', -1), (2, 'B', 1)",
     "INSERT INTO OTER (territryID, descript, parent) VALUES (5, 'B', 6), (6, 'C', -1)",
     "SELECT territryID || ':' || descript || ':' || IFNULL(parent, '') FROM OTER ORDER BY territryID",
     "", "5:B:7,6:C:-1,7:A:-1", "5:B:6,6:C:-1", "5:B:6,6:C:-1,7:A:-1",
     "DPX_TRN_TERRITORIES_100|212|402|A|A||||",
     "DPX_TRN_TERRITORIES_100|213|402|B|B|B|B|B|",
     {"DPX_TRN_TERRITORIES_100|404|402|||B|B||", "DPX_TRN_TERRITORIES_100|404|402|||C|C||"},
     "DPX_TRN_TERRITORIES_100|213|402|B|B|B|B|B|Written without Parent 'A': the target has none"},
};

using CaseParam = std::tuple<int, size_t>;  // server type, index into kCases

class EachCategory : public ::testing::TestWithParam<CaseParam> {};

TEST_P(EachCategory, CopiesByEachMethod) {
  const auto [serverType, index] = GetParam();
  const CategoryCase& c = kCases[index];
  for (uint8_t method = 0; method <= 4; ++method) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(serverType);
    CopyFixture::Exec(*fx.base, c.base);
    CopyFixture::Exec(*fx.target, c.target);
    Copy(fx, c.key, method);
    switch (method) {
      case 0:
        EXPECT_EQ(Target(fx, c.rows), c.afterRemoval);
        EXPECT_EQ(fx.logLines(), c.removed);
        break;
      case 2:  // A has no counterpart: nothing written, no line
        EXPECT_EQ(Target(fx, c.rows), c.afterUpdate);
        EXPECT_EQ(fx.logLines(), Lines{c.updatedBAlone ? c.updatedBAlone : c.updatedB});
        break;
      case 3:  // B has one: left as it is, no line
        EXPECT_EQ(Target(fx, c.rows), c.afterAdd);
        EXPECT_EQ(fx.logLines(), Lines{c.addedA});
        break;
      default:
        EXPECT_EQ(Target(fx, c.rows), c.afterAddOrUpdate);
        EXPECT_EQ(fx.logLines(), (Lines{c.addedA, c.updatedB}));
        break;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(RecordsThatNameRecords, EachCategory,
                         ::testing::Combine(::testing::ValuesIn(dpx::test::kServerTypes),
                                            ::testing::Range(size_t{0}, kCases.size())),
                         [](const ::testing::TestParamInfo<CaseParam>& info) {
                           std::string key = kCases[std::get<1>(info.param)].key;
                           key = key.substr(std::string("DPX_TRN_").size());
                           return key + "_ServerType" + std::to_string(std::get<0>(info.param));
                         });

class NamedRecords : public ::testing::TestWithParam<int> {};

// --- Payment methods.

TEST_P(NamedRecords, APaymentMethodTakesTheTargetsFormatOfItsNameAndType) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OFRM VALUES (1, 'O''Brien''s & <EFT>', 1), (2, 'Missing', 2);"
                    "INSERT INTO OPYM (PayMethCod, Descript, Format) VALUES ('A', 'there', 1), ('B', 'missing', 2),"
                    " ('C', 'none', -1)");
  // "Missing" is in the target with another format type: not the same format.
  CopyFixture::Exec(*fx.target, "INSERT INTO OFRM VALUES (8, 'O''Brien''s & <EFT>', 1), (9, 'Missing', 1)");
  const auto blocks = Copy(fx, kPaymentMethods, 4);
  EXPECT_EQ(Target(fx, "SELECT PayMethCod || ':' || IFNULL(Format, '') FROM OPYM ORDER BY PayMethCod"), "A:8,B:,C:-1");
  ASSERT_EQ(blocks.size(), 1u);
  for (const auto& item : blocks[0].dataItems)
    EXPECT_EQ(item.xml.find("<dep>") == std::string::npos,
              item.xml.find("<PaymentMethodCode>C</PaymentMethodCode>") != std::string::npos)
        << item.xml;
  EXPECT_EQ(fx.logLines().size(), 3u);
}

// --- Sales employees.

TEST_P(NamedRecords, LookupRowsKeepTheTargetsKeyOfTheirNameOrTakeTheNextOne) {
  CopyFixture fx(GetParam());
  for (const auto& lookup : DPX_SalesEmployeesManager::lookupTables()) {
    const std::string table = lookup.table;
    const std::string key = lookup.keyColumn;
    const bool lockable = table == "OHTY" || table == "OHED";
    const std::string columns = "(" + key + ", name" + (lockable ? ", locked)" : ")");
    auto row = [&](const char* number, const char* name, const char* locked = "N") {
      return std::string("(") + number + ", '" + name + "'" + (lockable ? std::string(", '") + locked + "'" : "") +
             ")";
    };
    // The base's key 1 is free in the target, and is not what the new row gets.
    CopyFixture::Exec(*fx.base, "INSERT INTO " + table + " " + columns + " VALUES " + row("2", "O''Neil''s & <x>") +
                                    ", " + row("1", "New") + ", " + row("3", "Locked", "Y"));
    CopyFixture::Exec(*fx.target, "INSERT INTO " + table + " " + columns + " VALUES " + row("4", "O''Neil''s & <x>") +
                                      ", " + row("6", "Other") + ";" + "INSERT INTO ONNM (ObjectCode, AutoKey) VALUES ('" +
                                      std::to_string(lookup.counterObjectType) + "', 1)");
  }
  Copy(fx, kSalesEmployees, 2);  // the lookup rows are add-or-update whatever the method
  for (const auto& lookup : DPX_SalesEmployeesManager::lookupTables()) {
    const std::string table = lookup.table;
    SCOPED_TRACE(table);
    const bool lockable = table == "OHTY" || table == "OHED";
    EXPECT_EQ(Target(fx, std::string("SELECT ") + lookup.keyColumn + " || ':' || name FROM " + table + " ORDER BY 1"),
              std::string("4:O'Neil's & <x>,6:Other,7:New") + (lockable ? "" : ",8:Locked"));
    EXPECT_EQ(Target(fx, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '" + std::to_string(lookup.counterObjectType) +
                             "'"),
              lockable ? "8" : "9");
  }
  EXPECT_TRUE(fx.logLines().empty());
}

TEST_P(NamedRecords, AFirstCopyIntoAnEmptyTargetKeepsEveryManagerEmployeeAndGroup) {
  CopyFixture fx(GetParam());
  // Low reports to Mid and Mid to Boss; read by manager, Low comes before Mid.
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OCOG VALUES (1, 'Group''s & <A>', 5);"
                    "INSERT INTO OHEM (empID, lastName, firstName, manager) VALUES (5, 'Boss', 'B', NULL),"
                    " (4, 'Low', 'L', 3), (3, 'Mid', 'M', 5);"
                    "INSERT INTO OSLP (SlpCode, SlpName, GroupCode, EmployeeID) VALUES (-1, 'None', NULL, NULL),"
                    " (1, 'Seller', 1, 4), (2, 'Boss''s seller', NULL, 5)");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OCOG VALUES (9, 'Group''s & <A>', 1);"
                    "INSERT INTO OHEM (empID, lastName, firstName) VALUES (1, 'Other', 'O');"
                    "INSERT INTO OSLP (SlpCode, SlpName) VALUES (-1, 'None')");
  Copy(fx, kSalesEmployees, 1);
  EXPECT_EQ(Target(fx, "SELECT e.lastName || ':' || IFNULL(m.lastName, '') FROM OHEM e"
                       " LEFT JOIN OHEM m ON m.empID = e.manager ORDER BY e.lastName"),
            "Boss:,Low:Mid,Mid:Boss,Other:");
  EXPECT_EQ(Target(fx, "SELECT s.SlpName || ':' || IFNULL(s.GroupCode, '') || ':' || IFNULL(e.lastName, '') FROM OSLP s"
                       " LEFT JOIN OHEM e ON e.empID = s.EmployeeID ORDER BY s.SlpName"),
            "Boss's seller::Boss,None::,Seller:9:Low");
  Lines lines = fx.logLines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (Lines{"DPX_TRN_SALESEMPLOYEES_100|212|402|Boss's seller|||||",
                          "DPX_TRN_SALESEMPLOYEES_100|212|402|Seller|||||"}));
}

TEST_P(NamedRecords, ReplaceAllRemovesTheSalesEmployeesAndLeavesEmployeesAndLookups) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OHTY VALUES (1, 'Full', 'N');"
                    "INSERT INTO OHEM (empID, lastName, firstName) VALUES (1, 'Smith', 'Jo');"
                    "INSERT INTO OSLP (SlpCode, SlpName) VALUES (-1, 'None'), (1, 'Ann')");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OHTY VALUES (3, 'Part', 'N');"
                    "INSERT INTO OHEM (empID, lastName, firstName) VALUES (2, 'Target', 'T');"
                    "INSERT INTO OSLP (SlpCode, SlpName, EmployeeID) VALUES (-1, 'None', NULL), (4, 'Bob', 2)");
  Copy(fx, kSalesEmployees, 0);
  EXPECT_EQ(Target(fx, "SELECT SlpCode FROM OSLP"), "-1");
  EXPECT_EQ(Target(fx, "SELECT typeID || name FROM OHTY"), "3Part");
  EXPECT_EQ(Target(fx, "SELECT empID || lastName FROM OHEM"), "2Target");
  EXPECT_EQ(fx.logLines(), Lines{"DPX_TRN_SALESEMPLOYEES_100|404|402|||Bob|||"});
}

// --- Banks and house bank accounts.

TEST_P(NamedRecords, NewPaymentFormatsTakeTheKeysAfterTheTargetsCounter) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OFRM VALUES (1, 'One', 1), (2, 'Shared', 1), (3, 'Two & <2>', 1), (4, 'Three''s', 2)");
  CopyFixture::Exec(*fx.target, "INSERT INTO OFRM VALUES (7, 'Shared', 1); INSERT INTO ONNM (ObjectCode, AutoKey) VALUES ('183', 40)");
  const auto blocks = Copy(fx, kHouseBankAccounts, 2);
  ASSERT_EQ(blocks.size(), 1u);  // no accounts and no default accounts: the formats alone
  EXPECT_EQ(Target(fx, "SELECT AbsEntry || ':' || Name FROM OFRM ORDER BY AbsEntry"),
            "7:Shared,41:One,42:Two & <2>,43:Three's");
  EXPECT_EQ(Target(fx, "SELECT AutoKey FROM ONNM WHERE ObjectCode = '183'"), "44");
  EXPECT_TRUE(fx.logLines().empty());
}

TEST_P(NamedRecords, TheRemovalPassRemovesTheAccountsAndKeepsFormatsAndBanks) {
  CopyFixture fx(GetParam());
  const char* rows =
      "INSERT INTO OFRM VALUES (1, 'Format', 1);"
      "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, DfltAcct) VALUES (1, 'IE', 'BK', '11');"
      "INSERT INTO DSC1 (AbsEntry, BankCode, Account, BankKey) VALUES (1, 'BK', '11', 1)";
  CopyFixture::Exec(*fx.base, rows);
  CopyFixture::Exec(*fx.target, rows);
  CopyFixture::Exec(*fx.target, "INSERT INTO OFRM VALUES (2, 'Target''s', 1)");
  const auto blocks = Copy(fx, kHouseBankAccounts, 0);
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].tableName + blocks[1].tableName + blocks[2].tableName, "OFRMDSC1ODSC");
  EXPECT_EQ(Target(fx, "SELECT COUNT(*) FROM DSC1"), "0");
  EXPECT_EQ(Target(fx, "SELECT COUNT(*) FROM OFRM") + Target(fx, "SELECT COUNT(*) FROM ODSC"), "21");
  EXPECT_EQ(fx.logLines(), Lines{"DPX_TRN_HOUSEBANKACCOUNTS_100|404|402|||BK|11||"});

  // A configuration file lists its accounts (by the bank their key names), not the payment formats before them.
  RegisterCategoryClasses();
  dpx::test::StoredBlocks file(blocks);
  auto manager = DPX_CategoryFactory(&fx.context).createManager(kHouseBankAccounts);
  EXPECT_EQ(manager->readFromFile(&file)->getListRows(), (std::vector<std::vector<std::string>>{{"BK", "11", ""}}));
}

TEST_P(NamedRecords, AnAccountTakesTheBankOfItsCountryAndEachBankItsOwnDefaultAccount) {
  CopyFixture fx(GetParam());
  // AIB is a bank in Ireland and in Germany; BOA and the Irish AIB both use account number 1001.
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode, DfltAcct, DfltActKey) VALUES"
                    " (1, 'IE', 'AIB', '1001', 1), (2, 'DE', 'AIB', '2002', 2), (3, 'US', 'BOA', '1001', 3);"
                    "INSERT INTO DSC1 (AbsEntry, BankCode, Account, Branch, BankKey) VALUES"
                    " (1, 'AIB', '1001', 'Dublin', 1), (2, 'AIB', '2002', 'Berlin', 2), (3, 'BOA', '1001', 'Main', 3)");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO ODSC (AbsEntry, CountryCod, BankCode) VALUES (5, 'US', 'BOA'), (6, 'DE', 'AIB'),"
                    " (7, 'IE', 'AIB')");
  Copy(fx, kHouseBankAccounts, 4);
  EXPECT_EQ(Target(fx, "SELECT d.Branch || ':' || o.CountryCod || o.BankCode FROM DSC1 d"
                       " JOIN ODSC o ON o.AbsEntry = d.BankKey ORDER BY d.Branch"),
            "Berlin:DEAIB,Dublin:IEAIB,Main:USBOA");
  EXPECT_EQ(Target(fx, "SELECT o.CountryCod || o.BankCode || ':' || d.Branch FROM ODSC o"
                       " JOIN DSC1 d ON d.AbsEntry = o.DfltActKey ORDER BY o.AbsEntry"),
            "USBOA:Main,DEAIB:Berlin,IEAIB:Dublin");
  EXPECT_EQ(fx.logLines().size(), 3u);

  // A bank the target refuses to update keeps its default account, and says why.
  CopyFixture::Exec(*fx.target, "UPDATE ODSC SET DfltActKey = NULL");
  fx.target->InjectFault("Update:3", 1, -99, "Bank's update refused");
  Copy(fx, kHouseBankAccounts, 2);
  EXPECT_EQ(Target(fx, "SELECT COUNT(*) FROM ODSC WHERE DfltActKey IS NOT NULL"), "2");
  const Lines lines = fx.logLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("DPX_TRN_HOUSEBANKACCOUNTS_100|213|403|AIB|1001|AIB|", 0), 0u) << lines.back();
  EXPECT_NE(lines.back().find("Bank's update refused"), std::string::npos) << lines.back();
}

// --- Price lists and territories.

DPX_DetailRecord Chosen(const std::string& column, int key) {
  DPX_DetailRecord record;
  record.addKeyValue(column, dpx::Variant(key));
  return record;
}

TEST_P(NamedRecords, EveryTerritoryFindsItsParentWhateverTheirNumbers) {
  CopyFixture fx(GetParam());
  // Read by parent, Dublin and Cork (below Ireland, 6) come before Ireland (below Europe, 9).
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OTER (territryID, descript, parent) VALUES (9, 'Europe', -1), (6, 'O''Neill''s Ireland', 9),"
                    " (2, 'Dublin', 6), (3, 'Cork & <Kerry>', 6)");
  CopyFixture::Exec(*fx.target, "INSERT INTO OTER (territryID, descript, parent) VALUES (1, 'Other', -1)");
  Copy(fx, kTerritories, 4);
  EXPECT_EQ(Target(fx, "SELECT t.descript || ':' || IFNULL(p.descript, '') FROM OTER t"
                       " LEFT JOIN OTER p ON p.territryID = t.parent ORDER BY t.descript"),
            "Cork & <Kerry>:O'Neill's Ireland,Dublin:O'Neill's Ireland,Europe:,O'Neill's Ireland:Europe,Other:");
  EXPECT_EQ(fx.logLines().size(), 4u);
}

TEST_P(NamedRecords, APriceListIsBasedOnItselfOrOnAListTheTargetHas) {
  CopyFixture fx(GetParam());
  // Wholesale is based on Dealer, Dealer on Own, Own on itself; Missing is not chosen.
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OPLN (ListNum, ListName, BASE_NUM) VALUES (1, 'Own', 1), (2, 'Missing', 2),"
                    " (3, 'On missing', 2), (4, 'Wholesale''s', 5), (5, 'Dealer', 1)");
  CopyFixture::Exec(*fx.target, "INSERT INTO OPLN (ListNum, ListName, BASE_NUM) VALUES (1, 'X', 1), (2, 'Y', 2)");
  Copy(fx, kPriceLists, 4,
       {Chosen("ListNum", 4), Chosen("ListNum", 3), Chosen("ListNum", 5), Chosen("ListNum", 1)});
  EXPECT_EQ(Target(fx, "SELECT ListNum || ':' || ListName || ':' || BASE_NUM FROM OPLN ORDER BY ListNum"),
            "1:X:1,2:Y:2,3:Own:3,4:Dealer:3,5:Wholesale's:4");
  EXPECT_EQ(fx.logLines(),
            (Lines{"DPX_TRN_PRICELISTDEFS_100|212|402|Own|Own||||", "DPX_TRN_PRICELISTDEFS_100|212|402|Dealer|Dealer||||",
                   "DPX_TRN_PRICELISTDEFS_100|212|402|Wholesale's|Wholesale's||||",
                   "DPX_TRN_PRICELISTDEFS_100|212|403|On missing|On missing||||"
                   "The base price list 'Missing' is not in the target"}));
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, NamedRecords, ::testing::ValuesIn(dpx::test::kServerTypes));

}  // namespace
