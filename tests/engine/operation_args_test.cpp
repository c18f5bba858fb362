#include "engine/operation_args.h"

#include <gtest/gtest.h>

#include "engine/di_interface.h"
#include "engine/dom_parser.h"

namespace {

DPX_ConnectionContext* SomeContext() {
  // Only the pointer is kept; it is never followed here.
  static int dummy = 0;
  return reinterpret_cast<DPX_ConnectionContext*>(&dummy);
}

TEST(OperationArgs, SetKeepsTheContextAndTheRecords) {
  DPX_OperationArgs args;
  EXPECT_EQ(args.setFlag, 0);
  EXPECT_EQ(args.setWithValues("DPX_TRN_INDEXES_100", "OIDX", SomeContext(), 1, 300), 1);
  args.dataItems.push_back({"<BOM/>", false, {dpx::Variant(int32_t{5})}, "5", "Index", "", "", {}});
  args.keyNames = {"IdexCode"};

  // A manager sets a block again with its own table and type before comparing.
  EXPECT_EQ(args.set("DPX_TRN_QUERIES_100", "OUQR", 0, 160), 1);
  EXPECT_EQ(args.setFlag, 1);
  EXPECT_EQ(args.context, SomeContext());
  EXPECT_EQ(args.getTableName(), "OUQR");
  EXPECT_EQ(args.categoryKey, "DPX_TRN_QUERIES_100");
  EXPECT_EQ(args.severalRows, 0);
  EXPECT_EQ(args.hostObjectType, 160);
  ASSERT_EQ(args.dataItems.size(), 1u);
  EXPECT_EQ(args.getKeyNames(), std::vector<std::string>{"IdexCode"});

  // Copies are whole and independent.
  DPX_OperationArgs copy = args;
  copy.dataItems[0].exists = true;
  copy.descriptionNames.push_back("IndexName");
  EXPECT_FALSE(args.dataItems[0].exists);
  EXPECT_TRUE(args.getDescriptionNames().empty());
  EXPECT_EQ(copy.dataItems[0].keyValues[0], dpx::Variant(int32_t{5}));
}

TEST(OperationArgs, ReplaceElementSwapsOrOnlyRemoves) {
  struct Case {
    int32_t add;
    const char* result;
  };
  const Case cases[] = {
      {1, "<row><Code>A</Code><Account>4000</Account></row>"},
      {0, "<row><Code>A</Code></row>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.add);
    DPX_DOMParser parser;
    ASSERT_TRUE(parser.loadXML(
        "<row><Code>A</Code><Account><dep><tableName>OACT</tableName></dep></Account></row>"));
    ASSERT_EQ(parser.findElement("Account"), 1u);
    EXPECT_EQ(DPX_DIInterface::replaceElement(parser, c.add, "Account", "4000"), 1);
    EXPECT_EQ(parser.getNodeName(), "row");  // the cursor stays on the parent
    EXPECT_EQ(parser.serialize(false), c.result);
  }
}

TEST(OperationArgs, ReplaceElementWithoutAParentAddsNothing) {
  DPX_DOMParser parser;
  EXPECT_EQ(DPX_DIInterface::replaceElement(parser, 1, "X", "1"), 0);
}

}  // namespace
