// The shared record operations of the category base, driven by a bare
// manager: chosen rows read by their keys (apostrophes included), dependency
// records shown by their natural key in the record list, child rows whose
// reference the target cannot satisfy left out, and the element readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "engine/sql_statement.h"
#include "platform/host/host.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;

// A manager with no category of its own: the tests call the shared operations.
class BareManager : public DPX_DIInterface {
 public:
  BareManager(DPX_ConnectionContext* context, const std::string& key) : DPX_DIInterface(context, key) {}
  int32_t readFromDB(std::vector<DPX_OperationArgs>&, std::vector<DPX_DetailRecord>) override { return 0; }
  DPX_TableInfo* collectDetails() override { return &m_tableInfo; }
  void writeData(std::vector<DPX_OperationArgs>, uint8_t) override {}
};

class RecordFamilies : public ::testing::TestWithParam<int> {};

DPX_DetailRecord Chosen(const std::string& name, const dpx::Variant& value) {
  DPX_DetailRecord record;
  record.addKeyValue(name, value);
  return record;
}

TEST_P(RecordFamilies, ChosenRowsAreReadByTheirKeys) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OIDX; INSERT INTO OIDX (IdexCode, IndexName) VALUES "
                              "('CPI', 'Prices'), ('B''L', 'Bread'), ('OWN', 'Own');");
  BareManager manager(&fx.context, "DPX_TRN_INDEXES_100");
  DPX_OperationArgs block = manager.readBaseRows("OIDX", {Chosen("IdexCode", "B'L"), Chosen("IdexCode", "OWN")});
  EXPECT_EQ(block.tableName, "OIDX");
  EXPECT_EQ(block.severalRows, 1);
  EXPECT_EQ(block.hostObjectType, 300);
  ASSERT_EQ(block.dataItems.size(), 1u);
  const std::string& xml = block.dataItems[0].xml;
  EXPECT_NE(xml.find("<IdexCode>B&apos;L</IdexCode>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<IdexCode>OWN</IdexCode>"), std::string::npos) << xml;
  EXPECT_EQ(xml.find("CPI"), std::string::npos) << xml;

  // No row matches: the block comes back without data item.
  EXPECT_TRUE(manager.readBaseRows("OIDX", {Chosen("IdexCode", "NONE")}).dataItems.empty());
}

TEST_P(RecordFamilies, ChildRowsWhoseReferenceTheTargetLacksAreLeftOut) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.target, "DELETE FROM OQCN; INSERT INTO OQCN (CategoryId, CatName) VALUES (7, 'Sales'), (8, 'Stock');");
  auto dep = [](const std::string& name) {
    return "<Cat><dep><tableName>OQCN</tableName><fField>CategoryId</fField><fKeyFields><fField>CatName</fField>"
           "</fKeyFields><fKeyValues><fValue>" + name + "</fValue></fKeyValues></dep></Cat>";
  };
  DPX_OperationArgs block;
  block.setWithValues("K", "T", &fx.context, 1, 300);
  DPX_OperationArgs::DataItem item;
  item.xml = "<BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><T>"
             "<row><N>1</N>" + dep("Sales") + "</row>"
             "<row><N>2</N>" + dep("Missing") + "</row>"
             "<row><N>3</N>" + dep("Stock") + "</row>"
             "<row><N>4</N><Cat>-1</Cat></row>"
             // The same references again: looked up once, mapped alike.
             "<row><N>5</N>" + dep("Missing") + "</row>"
             "<row><N>6</N>" + dep("Sales") + "</row>"
             "</T></BO></BOM>";
  block.dataItems.push_back(item);
  BareManager manager(&fx.context, "K");
  manager.mapDependenciesToTarget(block, "Cat", "row", {{"OQCN", "CategoryId", {"CatName"}}});
  const std::string& xml = block.dataItems[0].xml;
  EXPECT_NE(xml.find("<row><N>1</N><Cat>7</Cat></row><row><N>3</N><Cat>8</Cat></row><row><N>4</N><Cat>-1</Cat></row>"
                     "<row><N>6</N><Cat>7</Cat></row>"),
            std::string::npos)
      << xml;
  EXPECT_EQ(xml.find("<N>2</N>"), std::string::npos) << xml;
  EXPECT_EQ(xml.find("<N>5</N>"), std::string::npos) << xml;
}

TEST_P(RecordFamilies, StoredRowsAreListedWithTheNaturalKeyOfTheirDependencies) {
  CopyFixture fx(GetParam());
  BareManager manager(&fx.context, "K");
  DPX_OperationArgs::DataItem item;
  item.xml = "<BOM><BO><AdmInfo><Object>160</Object></AdmInfo><UserQueries>"
             "<row><QueryDescription>QA</QueryDescription><QueryCategory><dep><tableName>OQCN</tableName>"
             "<fField>CategoryId</fField><fKeyFields><fField>CatName</fField></fKeyFields><fKeyValues>"
             "<fValue>Sales</fValue></fKeyValues></dep></QueryCategory></row>"
             "</UserQueries></BO></BOM>";
  const std::vector<std::string> last =
      manager.parseKeyValues(item, {"QueryDescription"}, {"QueryDescription", "QueryCategory", "Absent"}, "row");
  EXPECT_EQ(last, (std::vector<std::string>{"QA", "Sales", ""}));
  const DPX_TableInfo& info = manager.getTableInfo();
  ASSERT_EQ(info.getDetailRecords().size(), 1u);
  EXPECT_EQ(info.getDetailRecords()[0].getKeyValue(0).toText(), "QA");
  EXPECT_TRUE(info.getListRows().empty());  // the caller appends the last row itself
  EXPECT_EQ(info.getTextList(), (std::vector<std::string>{"QueryDescription", "QueryCategory", "Absent"}));
}

TEST_P(RecordFamilies, ListedRecordsOfSeveralKeysAreAskedForASecondTime) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OUQR; INSERT INTO OUQR (IntrnalKey, QCategory, QName, QType) VALUES "
                              "(5, 2, 'Bob''s stock', 'R');");
  BareManager manager(&fx.context, "K");
  const std::vector<std::string> keyColumns{"IntrnalKey", "QCategory"};
  auto read = [&] {
    auto keys = manager.listObjectKeys("OUQR", keyColumns);
    return manager.readRecordKeys(160, *keys, keyColumns, {"InternalKey"}, {"QueryDescription"});
  };
  // The first answer is "not found", the second call finds the record.
  fx.base->InjectFault("GetByKeyNotFound", 1);
  EXPECT_EQ(read(), std::vector<std::string>{"Bob's stock"});
  fx.base->InjectFault("GetByKeyNotFound", 1);
  fx.base->InjectFault("GetByKeyNotFound", 2);
  EXPECT_TRUE(read().empty());
  EXPECT_EQ(manager.getTableInfo().getDetailRecords().size(), 1u);

  // Condition pairs are final: their columns and values are not quoted again.
  DPX_ValuePair pair;
  pair.column = GetParam() == 5 ? "\"QName\"" : "QName";
  pair.value = "Bob''s stock";
  auto found = manager.queryObjectKeys("OUQR", {"IntrnalKey"}, {pair});
  ASSERT_EQ(found->RecordCount(), 1);
  EXPECT_EQ(found->Field(0).toInt32(), 5);
}

TEST_P(RecordFamilies, UpdateExistingRecordsReportsAMatchedRecordTheTargetWillNotGive) {
  CopyFixture fx(GetParam());
  const std::string insert = "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, Locked) VALUES ";
  CopyFixture::Exec(*fx.base, insert + "('EUR', 'Euro', 'N'), ('JPY', 'Yen', 'N');");
  CopyFixture::Exec(*fx.target, insert + "('EUR', 'Old euro', 'N'), ('JPY', 'Old yen', 'N');");
  const std::string key = "DPX_TRN_CURRENCYSETTINGS_100";
  BareManager manager(&fx.context, key);
  DPX_OperationArgs block = manager.readBaseObjects(37, "OCRN", {Chosen("CurrCode", "EUR"), Chosen("CurrCode", "JPY")});
  ASSERT_EQ(block.dataItems.size(), 2u);
  // The records are compared last first: JPY's target record is matched, but not given by its key.
  fx.target->InjectFault("GetByKeyNotFound", 1);
  EXPECT_EQ(manager.compareWithTarget(block, "Code", "CurrCode", {"CurrCode"}, {"Code", "Name"}, 2), 1);
  ASSERT_EQ(block.dataItems.size(), 1u);
  EXPECT_EQ(block.dataItems[0].targetCode, "EUR");
  EXPECT_EQ(fx.logLines(), std::vector<std::string>{key + "|213|403|JPY|Yen||||The target's record that matches it "
                                                          "was not found by its key"});
}

TEST(RecordElements, ChildElementsAreFoundIgnoringCaseAndDependenciesComeBackWhole) {
  DPX_DOMParser parser;
  ASSERT_TRUE(parser.loadXML("<row><Code>5</Code><Empty/><Ref><dep><tableName>T</tableName></dep></Ref></row>"));
  std::string text = "unchanged";
  EXPECT_EQ(DPX_DIInterface::findChildElement(parser, "code", text), 0);
  EXPECT_EQ(text, "5");
  EXPECT_EQ(DPX_DIInterface::findChildElement(parser, "Missing", text), -1);
  EXPECT_EQ(text, "5");
  EXPECT_EQ(DPX_DIInterface::findChildElement(parser, "Empty", text), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(DPX_DIInterface::findChildElement(parser, "Ref", text), 1);
  EXPECT_NE(text.find("<Ref><dep><tableName>T</tableName></dep></Ref>"), std::string::npos) << text;
  EXPECT_EQ(DPX_DIInterface::getChildText(parser, "CODE"), "5");
  EXPECT_EQ(parser.getNodeName(), "row");  // the cursor stays where it was
}

INSTANTIATE_TEST_SUITE_P(RecordFamilies, RecordFamilies, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
