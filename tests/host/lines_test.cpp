// Business objects with lines: the lines travel in record XML, are written
// with their header, and their references are checked like the header's.
#include <gtest/gtest.h>

#include "platform/host/host.h"
#include "tests/support/demo_server.h"

namespace dpx::host {
namespace {

std::string Lines(Company& c, const std::string& code) {
  auto rs = c.NewRecordset();
  rs->DoQuery("SELECT LineNum, STAType, STATaxOnT FROM STC1 WHERE STCCode = '" + code + "' ORDER BY LineNum");
  std::string out;
  for (rs->MoveFirst(); !rs->EoF(); rs->MoveNext())
    out += rs->Field(0).toText() + ":" + rs->Field(1).toText() + ":" + rs->Field(2).toText() + ";";
  return out;
}

TEST(BusinessObjectLines, LinesRoundTripAndTheirReferencesAreChecked) {
  test::DemoServerFixture server(6);
  auto base = server.base();
  auto target = server.target();
  auto ny = base->NewBusinessObject(128);
  ASSERT_TRUE(ny->GetByKey({Variant("NY")}));
  EXPECT_EQ(ny->LineCount("SalesTaxCodes_Lines"), 2);
  std::string xml = ny->GetAsXML();
  EXPECT_NE(xml.find("</SalesTaxCodes><SalesTaxCodes_Lines><row><STAType>1</STAType><STATaxOnTaxType nil=\"true\"/>"
                     "<EffectiveRate>4</EffectiveRate></row><row><STAType>2</STAType><STATaxOnTaxType>1"),
            std::string::npos)
      << xml;

  // Update of the target's NY from the base's XML replaces its lines.
  auto tny = target->NewBusinessObject(128);
  ASSERT_TRUE(tny->GetByKey({Variant("NY")}));
  tny->Browser()->ReadXml(xml, 0);
  ASSERT_EQ(tny->Update(), 0) << target->GetLastErrorDescription();
  EXPECT_EQ(Lines(*target, "NY"), "0:1:;1:2:1;");

  // A line naming a tax type the target lacks is refused, header and all.
  auto own = base->NewBusinessObject(128);
  ASSERT_TRUE(own->GetByKey({Variant("BASE")}));
  auto copy = target->GetBusinessObjectFromXML(own->GetAsXML(), 0);
  EXPECT_EQ(copy->Add(), kErrMissingReference);
  EXPECT_NE(target->GetLastErrorDescription().find("refers to OSTT.AbsId = '3'"), std::string::npos)
      << target->GetLastErrorDescription();
  EXPECT_EQ(Lines(*target, "BASE"), "");
  ASSERT_EQ(copy->SetLineProperty("SalesTaxCodes_Lines", 0, "STAType", Variant(4)), S_OK);
  ASSERT_EQ(copy->Add(), 0) << target->GetLastErrorDescription();
  EXPECT_EQ(Lines(*target, "BASE"), "0:4:;");

  // A tax type used by lines cannot be removed; the code and its lines can.
  auto type4 = target->NewBusinessObject(127);
  ASSERT_TRUE(type4->GetByKey({Variant(4)}));
  EXPECT_EQ(type4->Remove(), kErrStillReferenced);
  auto code = target->NewBusinessObject(128);
  ASSERT_TRUE(code->GetByKey({Variant("BASE")}));
  ASSERT_EQ(code->Remove(), 0);
  EXPECT_EQ(Lines(*target, "BASE"), "");
  ASSERT_TRUE(code->GetByKey({Variant("TGT")}));
  ASSERT_EQ(code->Remove(), 0);
  EXPECT_EQ(type4->Remove(), 0) << target->GetLastErrorDescription();
}

}  // namespace
}  // namespace dpx::host
