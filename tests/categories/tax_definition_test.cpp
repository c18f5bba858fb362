// Tax definitions between two simulated companies: the seven tables copied
// as one whole, tax types matched by name under other internal numbers, the
// transport account put into the accounts of added records, accounts by
// format code when both companies say so, and Replace All removing in the
// reverse order. Each case runs with the target as server type 5 and with the
// default dialect.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "categories/setup/tax_definition_manager.h"
#include "platform/host/host.h"
#include "tests/categories/category_copy.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

constexpr const char* kKey = "DPX_TRN_TAXDEFINITION_100";

// Tax types of one name under other numbers; authorities, VAT groups,
// deduction groups, withholding taxes and indicators in both companies and
// in one of them; accounts of one format code under other codes.
void Seed(CopyFixture& fx) {
  CopyFixture::Exec(*fx.base,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_SYS001', 'Payable', '1100'), "
                    "('_SYS002', 'Deferred', '1200'), ('_SYS004', 'Withheld', '1400'), ('_VAT', 'VAT', '1300');"
                    "INSERT INTO OSTT (AbsId, Name) VALUES (1, 'State'), (2, 'County & <City>'), (3, 'Base''s own');"
                    "INSERT INTO OSTA (Code, Type, Name, AOrPTaxAccount, DeferredTaxAccount) VALUES "
                    "('NY', 1, 'New York', '_SYS001', '_SYS002'), ('EMP', 1, 'No accounts', NULL, NULL);"
                    "INSERT INTO OSTA (Code, Type, Name, AOrPTaxAccount, AOrRTaxAccount, UseTaxAccount) VALUES "
                    "('OWN', 3, 'O''Brien''s', '_SYS001', '_SYS001', '_SYS004');"
                    "INSERT INTO OSTC (Code, Name) VALUES ('NY', 'New York');"
                    "INSERT INTO STC1 (STCCode, LineNum, STAType) VALUES ('NY', 0, 1);"
                    "INSERT INTO OVTG (Code, Name, AquisitionTax, TaxAccount) VALUES ('V1', 'VAT', NULL, '_VAT'), "
                    "('V2', 'Reduced & <7%>', '_VAT', '_VAT');"
                    "INSERT INTO ODDG (Numerator, DdgCode, DdgName) VALUES (1, 'DG1', 'Deduction & 1'), (2, 'DG2', 'Base''s');"
                    "INSERT INTO OWHT (WTCode, WTName, Account) VALUES ('W1', 'Ten', '_SYS004'), ('W2', 'None', NULL), "
                    "('W3', 'Set', '_SYS004');"
                    "INSERT INTO OIND (Code, Name) VALUES ('AB', 'Alpha & <Beta>'), ('I1', 'Index one');");
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_T01', 'Payable', '1100'), "
                    "('_T04', 'Deferred', '1200'), ('_T03', 'Withheld', '1400'), ('_VAT', 'VAT', '1300'), "
                    "('_SYS004', 'Other', '9400');"
                    "INSERT INTO OSTT (AbsId, Name) VALUES (1, 'County & <City>'), (2, 'State'), (4, 'Target only');"
                    "INSERT INTO OSTA (Code, Type, Name, AOrPTaxAccount) VALUES ('NY', 2, 'NY old', '_T01'), "
                    "('TGT', 4, 'Target only', NULL);"
                    "INSERT INTO OVTG (Code, Name, TaxAccount) VALUES ('V1', 'VAT old', '_VAT');"
                    "INSERT INTO ODDG (Numerator, DdgCode, DdgName) VALUES (5, 'DG1', 'Deduction & 1'), (6, 'DGT', 'T');"
                    "INSERT INTO OWHT (WTCode, WTName, Account) VALUES ('W1', 'old', '_T03');"
                    "INSERT INTO OIND (Code, Name) VALUES ('I1', 'Index one'), ('X9', 'Target''s');");
}

void AccountsByFormatCode(CopyFixture& fx) {
  for (auto* company : {fx.base.get(), fx.target.get()})
    CopyFixture::Exec(*company, "UPDATE CINF SET EnableAccountSegmentation = 1;");
}

void Copy(CopyFixture& fx, uint8_t method) {
  dpx::test::CopyCategory<DPX_TaxDefinitionManager>(fx, kKey, method);
}

std::string Column(CopyFixture& fx, const std::string& sql) { return CopyFixture::Column(*fx.target, sql); }

int Count(const Lines& lines, const std::string& part) {
  int n = 0;
  for (const std::string& l : lines) n += l.find(part) != std::string::npos;
  return n;
}

const char* kAuthorities =
    "SELECT Code || ':' || Type || ':' || IFNULL(AOrPTaxAccount, '') || ':' || IFNULL(AOrRTaxAccount, '') || ':' || "
    "IFNULL(DeferredTaxAccount, '') || ':' || IFNULL(UseTaxAccount, '') FROM OSTA ORDER BY Code";

class TaxDefinitions : public ::testing::TestWithParam<int> {};

// Added authorities and VAT groups name the transport account wherever the
// base names an account; withholding taxes only where the base names none.
TEST_P(TaxDefinitions, AddedRecordsNameTheTransportAccount) {
  CopyFixture fx(GetParam());
  Seed(fx);
  Copy(fx, 3);
  // The category has no record list: it is copied whole.
  EXPECT_TRUE(DPX_TaxDefinitionManager(&fx.context, kKey).collectDetails()->getListRows().empty());
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
  EXPECT_EQ(Column(fx, "SELECT AcctName FROM OACT WHERE AcctCode = 'DXTRANSACCT'"), "Duplora transport account");
  // "Base's own" is new in the target (5); the two authorities of State use its number there (2).
  EXPECT_EQ(Column(fx, "SELECT AbsId || ':' || Name FROM OSTT ORDER BY AbsId"),
            "1:County & <City>,2:State,4:Target only,5:Base's own");
  EXPECT_EQ(Column(fx, kAuthorities),
            "EMP:2::::,NY:2:_T01:::,OWN:5:DXTRANSACCT:DXTRANSACCT::DXTRANSACCT,TGT:4::::");
  EXPECT_EQ(Column(fx, "SELECT Code || ':' || IFNULL(AquisitionTax, '') || ':' || IFNULL(TaxAccount, '') FROM OVTG "
                       "ORDER BY Code"),
            "V1::_VAT,V2:DXTRANSACCT:DXTRANSACCT");
  EXPECT_EQ(Column(fx, "SELECT WTCode || ':' || IFNULL(Account, '') FROM OWHT ORDER BY WTCode"),
            "W1:_T03,W2:DXTRANSACCT,W3:_SYS004");
  EXPECT_EQ(Column(fx, "SELECT Numerator || ':' || DdgCode FROM ODDG ORDER BY Numerator"), "5:DG1,6:DGT,7:DG2");
  EXPECT_EQ(Column(fx, "SELECT Code || ':' || Name FROM OIND ORDER BY Code"), "AB:Alpha & <Beta>,I1:Index one,X9:Target's");
  // The code's line names State as the target numbers it.
  EXPECT_EQ(Column(fx, "SELECT STCCode || ':' || STAType FROM STC1"), "NY:2");
}

// An update takes the base's accounts (by format code here) and makes no transport account.
TEST_P(TaxDefinitions, UpdatesKeepTheirAccountsByFormatCodeAndMakeNoTransportAccount) {
  CopyFixture fx(GetParam());
  Seed(fx);
  AccountsByFormatCode(fx);
  Copy(fx, 2);
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
  // State, County, NY, V1, DG1, W1 and the indicator I1.
  EXPECT_EQ(Count(lines, "|213|402|"), 7) << ::testing::PrintToString(lines);
  EXPECT_EQ(Column(fx, "SELECT COUNT(*) FROM OACT WHERE AcctCode = 'DXTRANSACCT'"), "0");
  EXPECT_EQ(Column(fx, kAuthorities), "NY:2:_T01::_T04:,TGT:4::::");
  EXPECT_EQ(Column(fx, "SELECT WTCode || ':' || WTName || ':' || Account FROM OWHT"), "W1:Ten:_T03");
}

// Under the flag an added authority's accounts still give way to the
// transport account; an added withholding tax keeps its account by format code.
TEST_P(TaxDefinitions, AddedRecordsUnderTheFlagMapAccountsAndTypesByName) {
  CopyFixture fx(GetParam());
  Seed(fx);
  AccountsByFormatCode(fx);
  Copy(fx, 4);
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
  EXPECT_EQ(Column(fx, "SELECT WTCode || ':' || IFNULL(Account, '') FROM OWHT ORDER BY WTCode"),
            "W1:_T03,W2:DXTRANSACCT,W3:_T03");
  EXPECT_EQ(Column(fx, kAuthorities),
            "EMP:2::::,NY:2:_T01::_T04:,OWN:5:DXTRANSACCT:DXTRANSACCT::DXTRANSACCT,TGT:4::::");
  EXPECT_EQ(Column(fx, "SELECT STCCode || ':' || STAType FROM STC1"), "NY:2");
}

// Replace All removes records before the records they name, so the target
// refuses nothing, and the write pass adds every record back.
TEST_P(TaxDefinitions, ReplaceAllRemovesInReverseOrderAndAddsEverythingBack) {
  CopyFixture fx(GetParam());
  Seed(fx);
  CopyFixture::Exec(*fx.target,
                    "INSERT INTO OSTC (Code, Name) VALUES ('TC', 'Target code');"
                    "INSERT INTO STC1 (STCCode, LineNum, STAType) VALUES ('TC', 0, 4);");
  Copy(fx, 0);
  Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
  EXPECT_EQ(Count(lines, "|404|402|"), 12) << ::testing::PrintToString(lines);
  EXPECT_EQ(Column(fx, "SELECT (SELECT COUNT(*) FROM OSTT) + (SELECT COUNT(*) FROM OSTA) + (SELECT COUNT(*) FROM OSTC) + "
                       "(SELECT COUNT(*) FROM OVTG) + (SELECT COUNT(*) FROM ODDG) + (SELECT COUNT(*) FROM OWHT) + "
                       "(SELECT COUNT(*) FROM OIND)"),
            "0");
  // The withholding taxes go first, the indicators last.
  EXPECT_NE(lines.front().find("|W1|old|"), std::string::npos) << lines.front();
  EXPECT_NE(lines.back().find("|X9|Target's|"), std::string::npos) << lines.back();

  Copy(fx, 1);
  lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
  EXPECT_EQ(Column(fx, "SELECT Name FROM OSTT ORDER BY Name"), "Base's own,County & <City>,State");
  EXPECT_EQ(Column(fx, "SELECT Code FROM OSTA ORDER BY Code"), "EMP,NY,OWN");
  EXPECT_EQ(Column(fx, "SELECT Code FROM OSTC"), "NY");
  EXPECT_EQ(Column(fx, "SELECT Code FROM OVTG ORDER BY Code"), "V1,V2");
  EXPECT_EQ(Column(fx, "SELECT DdgCode FROM ODDG ORDER BY DdgCode"), "DG1,DG2");
  EXPECT_EQ(Column(fx, "SELECT WTCode FROM OWHT ORDER BY WTCode"), "W1,W2,W3");
  EXPECT_EQ(Column(fx, "SELECT Code FROM OIND ORDER BY Code"), "AB,I1");
}

// A VAT group's accounts travel by format code as the authorities' do.
TEST_P(TaxDefinitions, AnUpdatedVatGroupTakesTheTargetsAccountsByFormatCode) {
  CopyFixture fx(GetParam());
  Seed(fx);
  AccountsByFormatCode(fx);
  CopyFixture::Exec(*fx.base, "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_BV', 'Output VAT', '1500');"
                              "UPDATE OVTG SET TaxAccount = '_BV', AquisitionTax = '_SYS002' WHERE Code = 'V1';");
  CopyFixture::Exec(*fx.target, "INSERT INTO OACT (AcctCode, AcctName, FormatCode) VALUES ('_TV', 'Output VAT', '1500');");
  Copy(fx, 2);
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|403|"), 0) << ::testing::PrintToString(lines);
  EXPECT_EQ(Column(fx, "SELECT Code || ':' || Name || ':' || IFNULL(AquisitionTax, '') || ':' || IFNULL(TaxAccount, '') "
                       "FROM OVTG ORDER BY Code"),
            "V1:VAT:_T04:_TV");
}

// Replace All never leaves the target without a record it had because the
// base's one cannot be added: the target's record stays, and a line says why.
TEST_P(TaxDefinitions, ReplaceAllKeepsTheTargetsRecordWhenTheBasesOneWouldBeRefused) {
  CopyFixture fx(GetParam());
  Seed(fx);
  // The target has no account _SYS001, and a withholding tax keeps the account it names.
  CopyFixture::Exec(*fx.base, "UPDATE OWHT SET Account = '_SYS001' WHERE WTCode = 'W1';");
  Copy(fx, 0);
  Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|404|403|||W1|old||Kept: the base's record would be refused, the target has no account "
                         "'_SYS001'"),
            1)
      << ::testing::PrintToString(lines);
  EXPECT_EQ(Count(lines, "|403|"), 1) << ::testing::PrintToString(lines);
  EXPECT_EQ(Column(fx, "SELECT WTCode || ':' || WTName || ':' || Account FROM OWHT"), "W1:old:_T03");
  Copy(fx, 1);
  EXPECT_EQ(Column(fx, "SELECT WTCode || ':' || WTName || ':' || IFNULL(Account, '') FROM OWHT ORDER BY WTCode"),
            "W1:old:_T03,W2:None:DXTRANSACCT,W3:Set:_SYS004");
  EXPECT_EQ(Column(fx, "SELECT Code FROM OVTG ORDER BY Code"), "V1,V2");
}

// A put the target refuses fails that record with the host's reason; the next record follows.
TEST_P(TaxDefinitions, ARefusedAccountPutFailsOnlyItsRecord) {
  CopyFixture fx(GetParam());
  Seed(fx);
  fx.target->InjectFault("put:VAT Group.TaxAccount", 1, -72, "Account fields are locked");
  Copy(fx, 3);
  const Lines lines = fx.logLines();
  EXPECT_EQ(Count(lines, "|403|"), 1) << ::testing::PrintToString(lines);
  EXPECT_EQ(Count(lines, "Account fields are locked"), 1) << ::testing::PrintToString(lines);
  EXPECT_EQ(Column(fx, "SELECT Code FROM OVTG ORDER BY Code"), "V1");
  EXPECT_EQ(Column(fx, "SELECT WTCode FROM OWHT ORDER BY WTCode"), "W1,W2,W3");
}

INSTANTIATE_TEST_SUITE_P(ServerTypes, TaxDefinitions, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const auto& info) { return "ServerType" + std::to_string(info.param); });

}  // namespace
