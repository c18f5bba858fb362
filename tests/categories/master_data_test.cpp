// Master-data categories copied between two simulated companies: credit card
// payments and payment methods, business partners, item groups, warehouses
// and items. Every case runs with the target as server type 5 and with the
// default dialect; what counts is the target's rows and the copy-log lines.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "categories/finance/bp_general_manager.h"
#include "categories/finance/credit_card_payment_methods_manager.h"
#include "categories/finance/credit_card_payments_manager.h"
#include "categories/finance/item_groups_manager.h"
#include "categories/finance/items_manager.h"
#include "categories/finance/warehouses_manager.h"
#include "engine/category_factory.h"
#include "engine/configuration_source.h"
#include "platform/host/host.h"
#include "tests/support/copy_fixture.h"
#include "tests/support/stored_blocks.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kPaymentsKey = "DPX_TRN_CCPAYMENTS_100";
constexpr const char* kMethodsKey = "DPX_TRN_CCPAYMNTMETHODS_100";
constexpr const char* kPartnersKey = "DPX_TRN_BPGENERALINFO_100";
constexpr const char* kGroupsKey = "DPX_TRN_ITEMGROUPS_100";
constexpr const char* kWarehousesKey = "DPX_TRN_WAREHOUSES_100";
constexpr const char* kItemsKey = "DPX_TRN_ITEMSLEAF_100";

// Reads the category from the base with one manager and writes it with a
// fresh one, both made by the category factory, as the copy driver does.
std::vector<DPX_OperationArgs> Read(CopyFixture& fx, const std::string& key) {
  RegisterCategoryClasses();
  std::vector<DPX_OperationArgs> blocks;
  DPX_CategoryFactory(&fx.context).createManager(key)->readFromDB(blocks, {});
  return blocks;
}

void Write(CopyFixture& fx, const std::string& key, std::vector<DPX_OperationArgs> blocks, uint8_t method) {
  RegisterCategoryClasses();
  DPX_CategoryFactory(&fx.context).createManager(key)->writeData(std::move(blocks), method);
}

void Copy(CopyFixture& fx, const std::string& key, uint8_t method) { Write(fx, key, Read(fx, key), method); }

Rows List(CopyFixture& fx, const std::string& key) {
  RegisterCategoryClasses();
  auto manager = DPX_CategoryFactory(&fx.context).createManager(key);
  return manager->collectDetails()->getListRows();
}

void SetAccountFlag(dpx::host::Company& company, bool on) {
  CopyFixture::Exec(company, std::string("UPDATE CINF SET EnableAccountSegmentation = ") + (on ? "1" : "0") + ";");
}

class MasterData : public ::testing::TestWithParam<int> {};

struct MethodCase {
  uint8_t method;
  std::string rows;
  Lines lines;
};

// --- Credit card payments: due dates found by name.

const std::vector<MethodCase> kPaymentCases = {
    {0, "", {"DPX_TRN_CCPAYMENTS_100|404|402|||5|B||", "DPX_TRN_CCPAYMENTS_100|404|402|||6|C||"}},
    {1, "5:B,6:C,7:A", {"DPX_TRN_CCPAYMENTS_100|212|402|1|A||||", "DPX_TRN_CCPAYMENTS_100|213|402|2|B|5|B|B|"}},
    {2, "5:B,6:C", {"DPX_TRN_CCPAYMENTS_100|213|402|2|B|5|B|B|"}},
    {3, "5:B,6:C,7:A", {"DPX_TRN_CCPAYMENTS_100|212|402|1|A||||"}},
    {4, "5:B,6:C,7:A", {"DPX_TRN_CCPAYMENTS_100|212|402|1|A||||", "DPX_TRN_CCPAYMENTS_100|213|402|2|B|5|B|B|"}},
};

TEST_P(MasterData, CreditCardPaymentsByCopyMethod) {
  for (const MethodCase& c : kPaymentCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "INSERT INTO OCDT (Code, Name) VALUES (1, 'A'), (2, 'B');");
    CopyFixture::Exec(*fx.target, "INSERT INTO OCDT (Code, Name) VALUES (5, 'B'), (6, 'C');");
    Copy(fx, kPaymentsKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OCDT ORDER BY Code"), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

// --- Payment methods: the card and the due date they name travel by name.

void SeedPaymentMethods(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OCRC (CreditCard, CardName) VALUES (1, 'Visa'), (2, 'Master''s & <Card>');"
                    "INSERT INTO OCDT (Code, Name) VALUES (1, 'Monthly'), (2, 'Quarterly');"
                    "INSERT INTO OCRP (CrTypeCode, CrTypeName, CreditCard, DueTerms) VALUES "
                    "(0, 'Zero', 1, 1), (1, 'A', 2, 2), (2, 'B', 1, 1);");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OCRC (CreditCard, CardName) VALUES (4, 'Master''s & <Card>'), (9, 'Visa');"
                    "INSERT INTO OCDT (Code, Name) VALUES (6, 'Quarterly'), (8, 'Monthly');"
                    "INSERT INTO OCRP (CrTypeCode, CrTypeName, CreditCard, DueTerms) VALUES "
                    "(5, 'B', 4, 6), (6, 'C', 9, 8);");
}

const char* kMethodRows =
    "SELECT CrTypeCode || ':' || CrTypeName || ':' || CreditCard || ':' || DueTerms FROM OCRP ORDER BY CrTypeCode";

const std::vector<MethodCase> kMethodCases = {
    {0, "", {"DPX_TRN_CCPAYMNTMETHODS_100|404|402|||B|6||", "DPX_TRN_CCPAYMNTMETHODS_100|404|402|||C|8||"}},
    {1, "5:B:9:8,6:C:9:8,7:Zero:9:8,8:A:4:6",
     {"DPX_TRN_CCPAYMNTMETHODS_100|212|402|Zero|8||||", "DPX_TRN_CCPAYMNTMETHODS_100|213|402|B|8|B|8|6|",
      "DPX_TRN_CCPAYMNTMETHODS_100|212|402|A|6||||"}},
    {2, "5:B:9:8,6:C:9:8", {"DPX_TRN_CCPAYMNTMETHODS_100|213|402|B|8|B|8|6|"}},
    {3, "5:B:4:6,6:C:9:8,7:Zero:9:8,8:A:4:6",
     {"DPX_TRN_CCPAYMNTMETHODS_100|212|402|Zero|8||||", "DPX_TRN_CCPAYMNTMETHODS_100|212|402|A|6||||"}},
    {4, "5:B:9:8,6:C:9:8,7:Zero:9:8,8:A:4:6",
     {"DPX_TRN_CCPAYMNTMETHODS_100|212|402|Zero|8||||", "DPX_TRN_CCPAYMNTMETHODS_100|213|402|B|8|B|8|6|",
      "DPX_TRN_CCPAYMNTMETHODS_100|212|402|A|6||||"}},
};

TEST_P(MasterData, PaymentMethodsFindTheirCardAndDueDateByName) {
  for (const MethodCase& c : kMethodCases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    SeedPaymentMethods(fx);
    Copy(fx, kMethodsKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kMethodRows), c.rows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(MasterData, PaymentMethodListShowsNamesAndHidesKeysUpToZero) {
  CopyFixture fx(GetParam());
  SeedPaymentMethods(fx);
  // A card the base lacks shows as its number, not as the previous row's card.
  CopyFixture::Exec(*fx.base, "INSERT INTO OCRP (CrTypeCode, CrTypeName, CreditCard, DueTerms) VALUES (3, 'D', 77, 2);");
  EXPECT_EQ(List(fx, kMethodsKey), (Rows{{"A", "Master's & <Card>", "Quarterly"},
                                         {"B", "Visa", "Monthly"},
                                         {"D", "77", "Quarterly"}}));
}

// --- Business partners.

// Every table a partner names, in both companies under other keys.
void SeedPartnerReferences(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OCRG (GroupCode, GroupName, GroupType) VALUES (921, 'X', 'C');"
                    "INSERT INTO OCOG (GroupCode, GroupName) VALUES (1, 'Com');"
                    "INSERT INTO OCRC (CreditCard, CardName) VALUES (1, 'Visa');"
                    "INSERT INTO OCTG (GroupNum, PymntGroup) VALUES (3, 'Net 30');"
                    "INSERT INTO OPLN (ListNum, ListName) VALUES (1, 'Base''s & <list>');"
                    "INSERT INTO OSHP (TrnspCode, TrnspName) VALUES (1, 'Courier');"
                    "INSERT INTO OSLP (SlpCode, SlpName) VALUES (1, 'Ann');"
                    "INSERT INTO OTER (territryID, descript) VALUES (1, 'North');"
                    "INSERT INTO OHEM (empID, lastName, firstName) VALUES (1, 'Smith', 'Jo'), (2, 'Smith', 'Al');"
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_B1', 'Receivables', '1100');");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OCRG (GroupCode, GroupName, GroupType) VALUES (921, 'Other', 'C'), (927, 'X', 'C');"
                    "INSERT INTO OCOG (GroupCode, GroupName) VALUES (4, 'Com');"
                    "INSERT INTO OCRC (CreditCard, CardName) VALUES (5, 'Visa');"
                    "INSERT INTO OCTG (GroupNum, PymntGroup) VALUES (7, 'Net 30');"
                    "INSERT INTO OPLN (ListNum, ListName) VALUES (2, 'Base''s & <list>');"
                    "INSERT INTO OSHP (TrnspCode, TrnspName) VALUES (2, 'Courier');"
                    "INSERT INTO OSLP (SlpCode, SlpName) VALUES (6, 'Ann');"
                    "INSERT INTO OTER (territryID, descript) VALUES (3, 'North');"
                    "INSERT INTO OHEM (empID, lastName, firstName) VALUES (1, 'Smith', 'Al'), (8, 'Smith', 'Jo');"
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_B1', 'Bank', '1000'), "
                    "('_T1', 'Receivables', '1100');");
}

const char* kPartnerReferences =
    "SELECT GroupCode || ':' || CommissionGroupCode || ':' || CreditCardCode || ':' || GroupNum || ':' || ListNum "
    "|| ':' || ShippingType || ':' || SalesPersonCode || ':' || Territory || ':' || DefaultTechnician FROM OCRD "
    "WHERE CardCode = 'C1'";

TEST_P(MasterData, PartnersArriveWithTheTargetsKeysOfTheRowsTheyName) {
  for (uint8_t method : {uint8_t{1}, uint8_t{3}, uint8_t{4}}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    SeedPartnerReferences(fx);
    CopyFixture::Exec(*fx.base,
                      "INSERT INTO OCRD (CardCode, CardType, CardName, GroupCode, CommissionGroupCode, CreditCardCode, "
                      "GroupNum, ListNum, ShippingType, SalesPersonCode, Territory, DefaultTechnician) VALUES "
                      "('C1', 'C', 'O''Brien & <Co>', 921, 1, 1, 3, 1, 1, 1, 1, 1);");
    Copy(fx, kPartnersKey, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, kPartnerReferences), "927:4:5:7:2:2:6:3:8");
    EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_BPGENERALINFO_100|212|402|C1|O'Brien & <Co>||||"}));
  }
}

struct FlagCase {
  bool base;
  bool target;
  bool dependency;       // the record read carries dependency records for its accounts
  std::string accounts;  // the target's DebitorAccount and line account afterwards
};

TEST_P(MasterData, AccountsTravelByTheBasesFlagAndAreTranslatedByTheTargets) {
  const std::vector<FlagCase> cases = {
      {false, false, false, "_B1:_B1"},
      {false, true, false, "_B1:_B1"},
      {true, true, true, "_T1:_T1"},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(std::string("base flag ") + (c.base ? "on" : "off") + ", target flag " + (c.target ? "on" : "off"));
    CopyFixture fx(GetParam());
    SeedPartnerReferences(fx);
    SetAccountFlag(*fx.base, c.base);
    SetAccountFlag(*fx.target, c.target);
    CopyFixture::Exec(*fx.base,
                      "INSERT INTO OCRD (CardCode, CardType, CardName, DebitorAccount) VALUES ('C1', 'C', 'P', '_B1');"
                      "INSERT INTO CRD3 (CardCode, LineNum, AcctType, AcctCode) VALUES ('C1', 0, 'D', '_B1');");
    std::vector<DPX_OperationArgs> blocks = Read(fx, kPartnersKey);
    ASSERT_EQ(blocks.size(), 1u);
    ASSERT_EQ(blocks[0].dataItems.size(), 1u);
    const std::string& xml = blocks[0].dataItems[0].xml;
    EXPECT_EQ(xml.find("<tableName>OACT</tableName>") != std::string::npos, c.dependency) << xml;
    Write(fx, kPartnersKey, blocks, 4);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT o.DebitorAccount || ':' || l.AcctCode FROM OCRD o "
                                              "JOIN CRD3 l ON l.CardCode = o.CardCode"),
              c.accounts);
  }
}

TEST_P(MasterData, AccountsReadUnderTheBasesFlagAreNotTranslatedWithoutTheTargets) {
  CopyFixture fx(GetParam());
  SeedPartnerReferences(fx);
  SetAccountFlag(*fx.base, true);
  SetAccountFlag(*fx.target, false);
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OCRD (CardCode, CardType, CardName, DebitorAccount) VALUES ('C1', 'C', 'P', '_B1');");
  Copy(fx, kPartnersKey, 4);
  // The partner is written; its account is not translated into the target's,
  // and its line says so.
  EXPECT_NE(CopyFixture::Column(*fx.target, "SELECT COALESCE(DebitorAccount, '') FROM OCRD"), "_T1");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_BPGENERALINFO_100|212|402|C1|P||||Written without DebitorAccount '1100': "
                                  "the target names its accounts otherwise"}));
}

// Indicator codes and 1099 forms: by name under every method but the removal pass, never logged.
struct RowsCase {
  uint8_t method;
  std::string indicators;
  std::string forms;
};

TEST_P(MasterData, IndicatorCodesAndFormsAreWrittenByNameAndNeverLogged) {
  const std::vector<RowsCase> cases = {
      {0, "5:Export,9:Target", "6:1099-MISC"},
      {1, "5:Export,9:Target,10:Domestic & <EU>", "6:1099-MISC,7:O'Reilly's 1099"},
      {2, "5:Export,9:Target,10:Domestic & <EU>", "6:1099-MISC,7:O'Reilly's 1099"},
      {3, "5:Export,9:Target,10:Domestic & <EU>", "6:1099-MISC,7:O'Reilly's 1099"},
      {4, "5:Export,9:Target,10:Domestic & <EU>", "6:1099-MISC,7:O'Reilly's 1099"},
  };
  for (const RowsCase& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base,
                      "INSERT INTO OIDC (Code, Name) VALUES (1, 'Export'), (5, 'Domestic & <EU>');"
                      "INSERT INTO OTNN (FormCode, Form1099) VALUES (1, '1099-MISC'), (2, 'O''Reilly''s 1099');"
                      "INSERT INTO OCRD (CardCode, CardType, CardName) VALUES ('C1', 'C', 'P');");
    CopyFixture::Exec(*fx.target,
                      "INSERT INTO OIDC (Code, Name) VALUES (5, 'Export'), (9, 'Target');"
                      "INSERT INTO OTNN (FormCode, Form1099) VALUES (6, '1099-MISC');"
                      "INSERT INTO OCRD (CardCode, CardType, CardName) VALUES ('C1', 'C', 'Old');");
    Copy(fx, kPartnersKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OIDC ORDER BY Code"), c.indicators);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT FormCode || ':' || Form1099 FROM OTNN ORDER BY FormCode"),
              c.forms);
    // Only the partner has a line (none under method 3, which leaves it alone); the rows have none.
    const Lines lines = fx.logLines();
    ASSERT_EQ(lines.size(), c.method == 3 ? 0u : 1u);
    for (const std::string& line : lines) EXPECT_NE(line.find("|C1|"), std::string::npos) << line;
  }
}

// Rows written without lines of their own are never refused in silence: a
// refused indicator code gets a "403" line naming it, and the others stay
// without lines.
TEST_P(MasterData, ARefusedIndicatorCodeHasALineOfItsOwn) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OIDC (Code, Name) VALUES (1, 'Export'), (5, 'Domestic & <EU>');"
                    "INSERT INTO OCRD (CardCode, CardType, CardName) VALUES ('C1', 'C', 'P');");
  CopyFixture::Exec(*fx.target, "INSERT INTO OIDC (Code, Name) VALUES (5, 'Export');");
  // The first statement naming the row looks it up in the target; the second writes it.
  fx.target->InjectSqlFault("Domestic", 2, "The disk is full");
  Copy(fx, kPartnersKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OIDC ORDER BY Code"), "5:Export");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("DPX_TRN_BPGENERALINFO_100|212|403|5|Domestic & <EU>||||", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("The disk is full"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1], "DPX_TRN_BPGENERALINFO_100|212|402|C1|P||||");
}

TEST_P(MasterData, AFormWithAnApostropheIsFoundAndThePartnersAfterItAreWritten) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OTNN (FormCode, Form1099) VALUES (1, 'O''Reilly''s 1099'), (2, 'Other');"
                    "INSERT INTO OCRD (CardCode, CardType, CardName) VALUES ('C1', 'C', 'P'), ('C2', 'S', 'Q');");
  CopyFixture::Exec(*fx.target, "INSERT INTO OTNN (FormCode, Form1099) VALUES (4, 'O''Reilly''s 1099');");
  Copy(fx, kPartnersKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT FormCode || ':' || Form1099 FROM OTNN ORDER BY FormCode"),
            "4:O'Reilly's 1099,5:Other");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CardCode FROM OCRD ORDER BY CardCode"), "C1,C2");
}

TEST_P(MasterData, AParentIsAddedBeforeTheChildThatSortsFirst) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OCRD (CardCode, CardType, CardName, FatherCard) VALUES "
                    "('A', 'C', 'Child', 'P'), ('P', 'C', 'Parent', NULL);");
  Copy(fx, kPartnersKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CardCode || ':' || COALESCE(FatherCard, '') FROM OCRD "
                                            "ORDER BY CardCode"),
            "A:P,P:");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_BPGENERALINFO_100|212|402|P|Parent||||",
                                  "DPX_TRN_BPGENERALINFO_100|212|402|A|Child||||"}));
}

TEST_P(MasterData, TheHostRefusesAChildWhoseParentIsMissing) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OCRD (CardCode, CardType, CardName, FatherCard) VALUES "
                              "('A', 'C', 'Child', 'P'), ('P', 'C', 'Parent', NULL);");
  std::vector<DPX_OperationArgs> blocks = Read(fx, kPartnersKey);
  ASSERT_EQ(blocks.size(), 1u);
  std::reverse(blocks[0].dataItems.begin(), blocks[0].dataItems.end());  // the child first
  Write(fx, kPartnersKey, blocks, 3);
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("DPX_TRN_BPGENERALINFO_100|212|403|A|Child|", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "DPX_TRN_BPGENERALINFO_100|212|402|P|Parent||||");
}

TEST_P(MasterData, ARefusedPartnerIsLoggedAndTheNextOneIsWritten) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "INSERT INTO OCRD (CardCode, CardType, CardName) VALUES "
                              "('C1', 'C', 'One'), ('C2', 'C', 'Two'), ('C3', 'C', 'Three');");
  fx.target->InjectFault("Add:2", 2, -99, "Refused by the test");
  Copy(fx, kPartnersKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CardCode FROM OCRD ORDER BY CardCode"), "C1,C3");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_BPGENERALINFO_100|212|402|C1|One||||",
                                  "DPX_TRN_BPGENERALINFO_100|212|403|C2|Two||||Refused by the test",
                                  "DPX_TRN_BPGENERALINFO_100|212|402|C3|Three||||"}));
}

using dpx::test::StoredBlocks;

TEST_P(MasterData, CardTypesShowAsCustomerVendorOrLead) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OCRG (GroupCode, GroupName, GroupType) VALUES (921, 'O''Neil & <X>', 'C');"
                    "INSERT INTO OCTG (GroupNum, PymntGroup) VALUES (3, 'Net 30');"
                    "INSERT INTO OPLN (ListNum, ListName) VALUES (1, 'Retail');"
                    "INSERT INTO OIDC (Code, Name) VALUES (1, 'Export');"
                    "INSERT INTO OCRD (CardCode, CardType, CardName, GroupCode, GroupNum, ListNum) VALUES "
                    "('C', 'C', 'Cust', 921, 3, 1), ('L', 'L', 'Lead', NULL, NULL, NULL), "
                    "('S', 'S', 'Supp', 42, NULL, NULL);");
  const Rows listed = List(fx, kPartnersKey);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0][1], "Customer");
  EXPECT_EQ(listed[0][4], "O'Neil & <X>");
  EXPECT_EQ(listed[0][6], "Net 30");
  EXPECT_EQ(listed[0][7], "Retail");
  EXPECT_EQ(listed[1][1], "Lead");
  EXPECT_EQ(listed[1][4], "");
  EXPECT_EQ(listed[2][1], "Vendor");
  EXPECT_EQ(listed[2][4], "42");  // a group the base lacks shows as its code

  // From a file the types come as the host's names; the partners' block is the last.
  std::vector<DPX_OperationArgs> blocks = Read(fx, kPartnersKey);
  ASSERT_EQ(blocks.size(), 2u);
  std::string& third = blocks[1].dataItems[2].xml;
  const std::string supplier = "<CardType>cSupplier</CardType>";
  ASSERT_NE(third.find(supplier), std::string::npos) << third;
  third.replace(third.find(supplier), supplier.size(), "<CardType>cOther</CardType>");
  StoredBlocks file(blocks);
  DPX_BPGeneralManager manager(&fx.context, kPartnersKey);
  const Rows stored = manager.readFromFile(&file)->getListRows();
  ASSERT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored[0][1], "Customer");
  EXPECT_EQ(stored[1][1], "Lead");
  EXPECT_EQ(stored[2][1], "Lead");
}

// --- Item groups: found by name; the history is emptied only by the removal pass.

struct GroupCase {
  uint8_t method;
  std::string groups;
  size_t historyRows;
  Lines lines;
};

TEST_P(MasterData, ItemGroupsByNameAndTheirHistoryOnlyByTheRemovalPass) {
  const std::vector<GroupCase> cases = {
      {0, "", 0, {"DPX_TRN_ITEMGROUPS_100|404|402|||7|X||", "DPX_TRN_ITEMGROUPS_100|404|402|||8|T||"}},
      {1, "7:X:4,8:T:", 2, {"DPX_TRN_ITEMGROUPS_100|213|402|3|X|7|X|X|"}},
      {2, "7:X:4,8:T:", 2, {"DPX_TRN_ITEMGROUPS_100|213|402|3|X|7|X|X|"}},
      {3, "7:X:,8:T:", 2, {}},
      {4, "7:X:4,8:T:", 2, {"DPX_TRN_ITEMGROUPS_100|213|402|3|X|7|X|X|"}},
  };
  for (const GroupCase& c : cases) {
    SCOPED_TRACE("method " + std::to_string(c.method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "INSERT INTO OCYC (Code, Name) VALUES (1, 'Weekly');"
                                "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam, CycleCode) VALUES (3, 'X', 1);");
    CopyFixture::Exec(*fx.target, "INSERT INTO OCYC (Code, Name) VALUES (1, 'Daily'), (4, 'Weekly');"
                                  "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (7, 'X'), (8, 'T');"
                                  "INSERT INTO AITB (ItmsGrpCod, LogInstanc, ItmsGrpNam) VALUES (7, 1, 'X'), (8, 1, 'T');");
    Copy(fx, kGroupsKey, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT ItmsGrpCod || ':' || ItmsGrpNam || ':' || "
                                              "COALESCE(CycleCode, '') FROM OITB ORDER BY ItmsGrpCod"),
              c.groups);
    EXPECT_EQ(CopyFixture::Rows(*fx.target, "SELECT * FROM AITB").size(), c.historyRows);
    EXPECT_EQ(fx.logLines(), c.lines);
  }
}

TEST_P(MasterData, ItemGroupAccountsFollowBothFlags) {
  for (bool targetFlag : {false, true}) {
    SCOPED_TRACE(targetFlag ? "target flag on" : "target flag off");
    CopyFixture fx(GetParam());
    SetAccountFlag(*fx.base, true);
    SetAccountFlag(*fx.target, targetFlag);
    CopyFixture::Exec(*fx.base, "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_B2', 'Stock', '1300');"
                                "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam, InventoryAccount, "
                                "NegativeInventoryAdjustmentAccount) VALUES (3, 'X', '_B2', '_B2');");
    CopyFixture::Exec(*fx.target, "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES "
                                  "('_B2', 'Other', '9999'), ('_T2', 'Stock', '1300');");
    Copy(fx, kGroupsKey, 4);
    if (targetFlag) {
      EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT InventoryAccount || ':' || "
                                                "NegativeInventoryAdjustmentAccount FROM OITB"),
                "_T2:_T2");
    } else {
      EXPECT_NE(CopyFixture::Column(*fx.target, "SELECT COALESCE(InventoryAccount, '') FROM OITB"), "_T2");
    }
  }
}

// --- Warehouses: the locations of a matching name are updated first, none added, none logged.

TEST_P(MasterData, LocationsOfAMatchingNameAreUpdatedNoneAddedNoneLogged) {
  // The target has no location of that name: the warehouse goes without one, and says so.
  const std::string kYardWithoutLocation =
      "DPX_TRN_WAREHOUSES_100|212|402|02|Yard||||Written without Location 'Base's & <Yard>': the target has none";
  for (uint8_t method : {uint8_t{0}, uint8_t{2}, uint8_t{3}, uint8_t{4}}) {
    SCOPED_TRACE("method " + std::to_string(method));
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base,
                      "INSERT INTO OLCT (Code, Location) VALUES (1, 'Main Hall'), (2, 'Base''s & <Yard>');"
                      "INSERT INTO OWHS (WhsCode, WhsName, Location) VALUES ('01', 'General', 1), ('02', 'Yard', 2);");
    CopyFixture::Exec(*fx.target,
                      "INSERT INTO OLCT (Code, Location) VALUES (3, 'Main Hall'), (4, 'Target''s');"
                      "INSERT INTO OWHS (WhsCode, WhsName, Location) VALUES ('01', 'Old', 4);");
    Copy(fx, kWarehousesKey, method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Location FROM OLCT ORDER BY Code"),
              "3:Main Hall,4:Target's");
    const std::string warehouses = CopyFixture::Column(
        *fx.target, "SELECT WhsCode || ':' || WhsName || ':' || COALESCE(Location, '') FROM OWHS ORDER BY WhsCode");
    const Lines lines = fx.logLines();
    switch (method) {
      case 0:
        EXPECT_EQ(warehouses, "");
        EXPECT_EQ(lines, (Lines{"DPX_TRN_WAREHOUSES_100|404|402|||01|Old||"}));
        break;
      case 2:
        EXPECT_EQ(warehouses, "01:General:3");
        EXPECT_EQ(lines, (Lines{"DPX_TRN_WAREHOUSES_100|213|402|01|General|01|General|Old|"}));
        break;
      case 3:
        EXPECT_EQ(warehouses, "01:Old:4,02:Yard:");
        EXPECT_EQ(lines, (Lines{kYardWithoutLocation}));
        break;
      default:
        EXPECT_EQ(warehouses, "01:General:3,02:Yard:");
        EXPECT_EQ(lines, (Lines{"DPX_TRN_WAREHOUSES_100|213|402|01|General|01|General|Old|",
                                kYardWithoutLocation}));
        break;
    }
  }
}

TEST_P(MasterData, WarehouseListShowsTheLocationsNameOrItsCode) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OLCT (Code, Location) VALUES (1, 'Main Hall');"
                    "INSERT INTO OWHS (WhsCode, WhsName, Location) VALUES "
                    "('01', 'General', 1), ('02', 'Lost', 9), ('03', 'None', NULL);");
  const Rows listed = List(fx, kWarehousesKey);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0][2], "Main Hall");
  EXPECT_EQ(listed[1][2], "9");
  EXPECT_EQ(listed[2][2], "");
}

// --- Items.

TEST_P(MasterData, ItemListShowsTypesGroupsAndManufacturersNeverAPreviousName) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (100, 'Items & <Parts>');"
                    "INSERT INTO OMRC (FirmCode, FirmName) VALUES (1, 'Acme''s');"
                    "INSERT INTO OITM (ItemCode, ItemType, ItemName, ItmsGrpCod, FirmCode) VALUES "
                    "('I1', 0, 'Bolt', 100, 1), ('I2', 1, 'Hour', 55, 66), ('I3', 5, 'Trip', NULL, NULL);");
  const Rows listed = List(fx, kItemsKey);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ((std::vector<std::string>{listed[0][1], listed[0][4], listed[0][5]}),
            (std::vector<std::string>{"Item", "Items & <Parts>", "Acme's"}));
  EXPECT_EQ((std::vector<std::string>{listed[1][1], listed[1][4], listed[1][5]}),
            (std::vector<std::string>{"Labor", "55", "66"}));
  EXPECT_EQ((std::vector<std::string>{listed[2][1], listed[2][4], listed[2][5]}),
            (std::vector<std::string>{"Travel", "", ""}));
}

TEST_P(MasterData, ItemsArriveWithTheTargetsGroupUnitsCycleAndAccounts) {
  CopyFixture fx(GetParam());
  SetAccountFlag(*fx.base, true);
  SetAccountFlag(*fx.target, true);
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (100, 'Tools');"
                    "INSERT INTO OLGT (UnitCode, UnitName) VALUES (1, 'm');"
                    "INSERT INTO OCYC (Code, Name) VALUES (1, 'Weekly');"
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_B3', 'Revenue', '4000');"
                    "INSERT INTO OWHS (WhsCode, WhsName) VALUES ('01', 'General');"
                    "INSERT INTO OITM (ItemCode, ItemType, ItemName, ItmsGrpCod, SalesHeightUnit, OrderIntervals) "
                    "VALUES ('I1', 0, 'Bolt', 100, 1, 1);"
                    "INSERT INTO ITM5 (ItemCode, LineNum, CycleCode) VALUES ('I1', 0, 1);"
                    "INSERT INTO OITW (ItemCode, WhsCode, RevenuesAccount) VALUES ('I1', '01', '_B3');");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OITB (ItmsGrpCod, ItmsGrpNam) VALUES (100, 'Other'), (107, 'Tools');"
                    "INSERT INTO OLGT (UnitCode, UnitName) VALUES (4, 'm');"
                    "INSERT INTO OCYC (Code, Name) VALUES (3, 'Weekly');"
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_T3', 'Revenue', '4000');"
                    "INSERT INTO OWHS (WhsCode, WhsName) VALUES ('01', 'General');");
  Copy(fx, kItemsKey, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT ItmsGrpCod || ':' || SalesHeightUnit || ':' || OrderIntervals "
                                            "FROM OITM"),
            "107:4:3");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CycleCode FROM ITM5"), "3");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT RevenuesAccount FROM OITW"), "_T3");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_ITEMSLEAF_100|212|402|I1|Bolt||||"}));
}

INSTANTIATE_TEST_SUITE_P(MasterDataCopy, MasterData, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
