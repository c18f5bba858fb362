// The record families where a careless copy loses or corrupts data: rows
// written by their own fields, deletions reported only after they happened,
// user-defined fields checked record by record, and dependency records from a
// file that name tables or fields the target does not have.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/customization/query_manager.h"
#include "categories/setup/address_format_manager.h"
#include "categories/setup/currency_settings_manager.h"
#include "categories/setup/indexes_manager.h"
#include "categories/table_category.h"
#include "engine/dom_parser.h"
#include "engine/operation_args.h"
#include "platform/host/host.h"
#include "tests/support/copy_fixture.h"

namespace {

using dpx::test::CopyFixture;
using Lines = std::vector<std::string>;

class RecordFaults : public ::testing::TestWithParam<int> {};

// A per-row record as the table writer makes it.
std::string RowRecord(const std::string& row) {
  return "<BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><OADF>" + row + "</OADF></BO></BOM>";
}

// An address-format block holding these records.
DPX_OperationArgs AddressBlock(CopyFixture& fx, const std::vector<std::string>& records) {
  DPX_OperationArgs block;
  block.setWithValues("DPX_TRN_ADDRESSFORMAT_100", "OADF", &fx.context, 1, 300);
  for (const std::string& xml : records) {
    DPX_OperationArgs::DataItem item;
    item.xml = xml;
    block.dataItems.push_back(item);
  }
  return block;
}

TEST_P(RecordFaults, TableRowsAreWrittenByTheirOwnFields) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.target, "DELETE FROM OADF; INSERT INTO OADF (Code, Name, Format) VALUES (5, 'B', 'kept');");
  DPX_AddressFormatManager manager(&fx.context, "DPX_TRN_ADDRESSFORMAT_100");
  DPX_OperationArgs::DataItem item;
  // Other order than the target's columns, no Format, and a name the target does not know.
  item.xml = RowRecord("<row><Name>B</Name><Bogus>x</Bogus><Code>2</Code></row>");
  item.baseCode = "2";
  item.baseDescription = "B";
  manager.updateTableRows("OADF", item, {"Name"});
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name || ':' || Format FROM OADF"), "5:B:kept");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_ADDRESSFORMAT_100|213|402|2|B||B||"}));
}

TEST_P(RecordFaults, ARowTheBuilderRefusesIsLoggedAndTheNextIsInserted) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.target, "DELETE FROM OADF;");
  DPX_OperationArgs block;
  block.setWithValues("DPX_TRN_ADDRESSFORMAT_100", "OADF", &fx.context, 1, 300);
  DPX_OperationArgs::DataItem bad, good;
  bad.xml = RowRecord("<row><Code>1 OR 1=1</Code><Name>Bad</Name></row>");
  bad.baseDescription = "Bad";
  good.xml = RowRecord("<row><Code>8</Code><Name>Good</Name></row>");
  good.baseDescription = "Good";
  block.dataItems = {bad, good};
  // A table category without key mapping: the rows' own codes are written.
  DPX_TableCategory plain(&fx.context, "DPX_TRN_ADDRESSFORMAT_100", {"OADF", "", -1, "Code", {"Name"}, ""});
  plain.addTargetRows(block, -1, "Code");
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OADF"), "8:Good");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("DPX_TRN_ADDRESSFORMAT_100|212|403||Bad||||", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "DPX_TRN_ADDRESSFORMAT_100|212|402||Good||||");
}

TEST_P(RecordFaults, ReplaceAllReportsDeletionsOnlyAfterTheyHappened) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.target, "DELETE FROM OADF; INSERT INTO OADF (Code, Name) VALUES (5, 'B'), (6, 'C');");
  DPX_OperationArgs block = AddressBlock(fx, {});
  fx.target->InjectFault("DoQuery", 2, -99, "Deletion refused");  // the listing runs, the DELETE fails
  DPX_AddressFormatManager(&fx.context, "DPX_TRN_ADDRESSFORMAT_100").deleteTargetRows(block, {"Code", "Name"}, "", 0);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code FROM OADF ORDER BY Code"), "5,6");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("DPX_TRN_ADDRESSFORMAT_100|404|403|||5|B||", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("DPX_TRN_ADDRESSFORMAT_100|404|403|||6|C||", 0), 0u) << lines[1];
}

TEST_P(RecordFaults, AMissingUserFieldDropsOnlyItsRecord) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                              "('AAA', 'Alpha', 0, 'N'), ('BBB', 'Beta', 0, 'N'), ('CCC', 'Gamma', 0, 'N');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OCRN;");
  std::vector<DPX_OperationArgs> blocks;
  DPX_CurrencySettingsManager(&fx.context, "DPX_TRN_CURRENCYSETTINGS_100").readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 1u);
  ASSERT_EQ(blocks[0].dataItems.size(), 3u);
  std::string& middle = blocks[0].dataItems[1].xml;
  const size_t end = middle.find("</row>");
  ASSERT_NE(end, std::string::npos);
  middle.insert(end, "<U_Color>red</U_Color>");

  fx.context.setFailRecordsForMissingFields(true);
  DPX_CurrencySettingsManager(&fx.context, "DPX_TRN_CURRENCYSETTINGS_100").writeData(blocks, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CurrCode FROM OCRN ORDER BY CurrCode"), "AAA,CCC");
  // The line names the record that was left out.
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_CURRENCYSETTINGS_100||10024|BBB|Beta||||Missing User Defined Fields",
                                  "DPX_TRN_CURRENCYSETTINGS_100|212|402|AAA|Alpha||||",
                                  "DPX_TRN_CURRENCYSETTINGS_100|212|402|CCC|Gamma||||"}));
}

TEST_P(RecordFaults, AMissingUserFieldIsLeftOutWhenRecordsNeedNotFail) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                              "('AAA', 'Alpha', 0, 'N');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OCRN;");
  std::vector<DPX_OperationArgs> blocks;
  DPX_CurrencySettingsManager(&fx.context, "DPX_TRN_CURRENCYSETTINGS_100").readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 1u);
  std::string& xml = blocks[0].dataItems[0].xml;
  xml.insert(xml.find("</row>"), "<U_Color>red</U_Color><U_NAME>kept</U_NAME>");
  DPX_CurrencySettingsManager manager(&fx.context, "DPX_TRN_CURRENCYSETTINGS_100");
  std::string checked = xml;
  EXPECT_EQ(manager.checkUserFields(blocks[0], checked), 1);
  EXPECT_EQ(checked.find("U_Color"), std::string::npos);
  EXPECT_NE(checked.find("U_NAME"), std::string::npos);
}

TEST_P(RecordFaults, ATableRowWithAMissingUserFieldIsLeftOutByItself) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.target, "DELETE FROM OADF;");
  // One record with every row, as the base read gives it.
  DPX_OperationArgs block = AddressBlock(fx, {RowRecord("<row><Code>1</Code><Name>A</Name></row>"
                                                        "<row><Code>2</Code><Name>B</Name><U_Color>red</U_Color></row>"
                                                        "<row><Code>3</Code><Name>C</Name></row>")});
  fx.context.setFailRecordsForMissingFields(true);
  DPX_AddressFormatManager(&fx.context, "DPX_TRN_ADDRESSFORMAT_100").writeData({block}, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT Code || ':' || Name FROM OADF ORDER BY Code"), "1:A,2:C");
  EXPECT_EQ(fx.logLines(), (Lines{"DPX_TRN_ADDRESSFORMAT_100||10024|2|B||||Missing User Defined Fields",
                                  "DPX_TRN_ADDRESSFORMAT_100|212|402|1|A||||",
                                  "DPX_TRN_ADDRESSFORMAT_100|212|402|3|C||||"}));
}

TEST_P(RecordFaults, RowsWithoutUserFieldsComeOutAsTheUserFieldCheckLeavesThem) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.target, "DELETE FROM OADF;");
  // Text that the XML writer escapes or keeps as it is, and an empty element.
  DPX_OperationArgs block = AddressBlock(
      fx, {RowRecord("<row><Code>1</Code><Name>A &amp; &lt;B&gt; \"q\" 'a'</Name><Format/></row>"
                     "<row><Code>2</Code><Name>Grüße €</Name><Format>l1&#13;\nl2\tx</Format></row>")});
  DPX_TableCategory plain(&fx.context, "DPX_TRN_ADDRESSFORMAT_100", {"OADF", "", -1, "Code", {"Name"}, ""});
  ASSERT_EQ(plain.buildTableXml(block, {"Code"}, {"Code", "Name"}, {"Code"}, 4), 1);
  ASSERT_EQ(block.dataItems.size(), 2u);
  // The row keeps its own spelling of the text; read as a document it is
  // what the check makes of it.
  for (const DPX_OperationArgs::DataItem& item : block.dataItems) {
    std::string checked = item.xml;
    EXPECT_EQ(plain.checkUserFields(block, checked), 1);
    DPX_DOMParser asChecked, asSplit;
    ASSERT_TRUE(asChecked.loadXML(checked));
    ASSERT_TRUE(asSplit.loadXML(item.xml));
    EXPECT_EQ(asSplit.serialize(true), asChecked.serialize(true));
  }
  EXPECT_EQ(block.dataItems[0].baseDescription, "A & <B> \"q\" 'a'");
}

TEST_P(RecordFaults, ARowWithNothingToMatchByIsNotTakenForTheTargetsFirstRow) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.target, "DELETE FROM OADF; INSERT INTO OADF (Code, Name, Format) VALUES (5, 'B', 'other');");
  DPX_OperationArgs block = AddressBlock(fx, {RowRecord("<row><Code>1</Code><Name>A</Name><Format>fa</Format></row>")});
  // Matched by the memo column, which server type 5 cannot compare: no condition is left.
  DPX_TableCategory plain(&fx.context, "DPX_TRN_ADDRESSFORMAT_100", {"OADF", "", -1, "Code", {"Name"}, ""});
  plain.buildTableXml(block, {"Format"}, {"Code", "Name"}, {"Format"}, 4);
  if (GetParam() == 5) {
    EXPECT_TRUE(block.dataItems.empty());
    const Lines lines = fx.logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("DPX_TRN_ADDRESSFORMAT_100||403|1|A||||", 0), 0u) << lines[0];
  } else {
    ASSERT_EQ(block.dataItems.size(), 1u);
    EXPECT_FALSE(block.dataItems[0].exists);
  }
}

// A query whose category reference names the given table and columns.
DPX_OperationArgs QueryWithDependency(CopyFixture& fx, const std::string& table, const std::string& keyField,
                                      const std::string& nameField) {
  auto object = fx.base->NewBusinessObject(160);
  EXPECT_TRUE(object->GetByKey({dpx::Variant(int32_t{1}), dpx::Variant(int32_t{3})}));
  std::string xml = object->GetAsXML();
  const std::string from = "<QueryCategory>3</QueryCategory>";
  xml.replace(xml.find(from), from.size(),
              "<QueryCategory><dep><tableName>" + table + "</tableName><fField>" + keyField +
                  "</fField><fKeyFields><fField>" + nameField +
                  "</fField></fKeyFields><fKeyValues><fValue>Sales</fValue></fKeyValues></dep></QueryCategory>");
  DPX_OperationArgs block;
  block.setWithValues("DPX_TRN_QUERIES_100", "OUQR", &fx.context, 0, 160);
  DPX_OperationArgs::DataItem item;
  item.xml = xml;
  block.dataItems.push_back(item);
  return block;
}

TEST_P(RecordFaults, DependencyRecordsNameOnlyWhatTheCategoryDeclares) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OQCN; DELETE FROM OUQR; INSERT INTO OQCN (CategoryId, CatName) VALUES (3, 'Sales');"
                              "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES (1, 3, 'QA', 'S', 'W');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OQCN; INSERT INTO OQCN (CategoryId, CatName) VALUES (7, 'Sales');");
  DPX_QueryManager manager(&fx.context, "DPX_TRN_QUERIES_100");
  const DPX_DeclaredReferences declared = {{"OQCN", "CategoryId", {"CatName"}}};
  struct Case {
    std::string table, keyField, nameField;
    bool mapped;
  };
  const std::vector<Case> cases = {
      {"OQCN", "CategoryId", "CatName", true},
      {"OQCN", "categoryid", "CatName", false},                  // not the declared spelling
      {"OQCN", "CategoryId", "CatName = CatName OR 1", false},    // not a field
      {"OQCN WHERE 1 = 1 --", "CategoryId", "CatName", false},    // not a table
      {"NOSUCH", "CategoryId", "CatName", false},
      {"OQCN", "CatName", "CategoryId", false},                   // another column of the declared table
  };
  size_t refused = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table + " / " + c.keyField + " / " + c.nameField);
    DPX_OperationArgs block = QueryWithDependency(fx, c.table, c.keyField, c.nameField);
    manager.mapDependencyToTarget(block, "QueryCategory", "row", declared);
    if (c.mapped) {
      ASSERT_EQ(block.dataItems.size(), 1u);
      EXPECT_NE(block.dataItems[0].xml.find("<QueryCategory>7</QueryCategory>"), std::string::npos)
          << block.dataItems[0].xml;
      continue;
    }
    // The record is not written and says why.
    EXPECT_TRUE(block.dataItems.empty());
    const std::vector<std::string> lines = fx.logLines();
    ASSERT_EQ(lines.size(), ++refused);
    EXPECT_EQ(lines.back().rfind("DPX_TRN_QUERIES_100|212|403|", 0), 0u) << lines.back();
    EXPECT_NE(lines.back().find("QueryCategory"), std::string::npos) << lines.back();
  }
}

TEST_P(RecordFaults, ReadingTurnsTheCategoryIntoADependencyRecord) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OQCN; DELETE FROM OUQR;"
                              "INSERT INTO OQCN (CategoryId, CatName) VALUES (3, 'Owner''s & <co>');"
                              "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES "
                              "(1, 3, 'QA', 'S', 'W'), (2, -1, 'QN', 'S', 'W');");
  std::vector<DPX_OperationArgs> blocks;
  DPX_QueryManager(&fx.context, "DPX_TRN_QUERIES_100").readFromDB(blocks, {});
  ASSERT_EQ(blocks.size(), 2u);
  ASSERT_EQ(blocks[1].dataItems.size(), 2u);
  EXPECT_NE(blocks[1].dataItems[0].xml.find("<QueryCategory><dep><tableName>OQCN</tableName><fField>CategoryId</fField>"
                                            "<fKeyFields><fField>CatName</fField></fKeyFields><fKeyValues>"
                                            "<fValue>Owner's &amp; &lt;co&gt;</fValue></fKeyValues></dep></QueryCategory>"),
            std::string::npos)
      << blocks[1].dataItems[0].xml;
  // "No category" stays as it is.
  EXPECT_NE(blocks[1].dataItems[1].xml.find("<QueryCategory>-1</QueryCategory>"), std::string::npos)
      << blocks[1].dataItems[1].xml;
}

TEST_P(RecordFaults, ARecordWhoseLookupFailsIsLoggedAndTheOthersAreCompared) {
  CopyFixture fx(GetParam());
  CopyFixture::Exec(*fx.base, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                              "('AAA', 'Alpha', 0, 'N'), ('BBB', 'Beta', 0, 'N'), ('CCC', 'Gamma', 0, 'N');");
  CopyFixture::Exec(*fx.target, "DELETE FROM OCRN; INSERT INTO OCRN (CurrCode, CurrName, RoundSys, Locked) VALUES "
                                "('BBB', 'Beta-old', 0, 'N');");
  std::vector<DPX_OperationArgs> blocks;
  DPX_CurrencySettingsManager(&fx.context, "DPX_TRN_CURRENCYSETTINGS_100").readFromDB(blocks, {});
  fx.target->InjectFault("GetByKey:37", 1, -99, "Lookup failed");  // BBB's lookup in the target
  DPX_CurrencySettingsManager(&fx.context, "DPX_TRN_CURRENCYSETTINGS_100").writeData(blocks, 4);
  EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT CurrCode || ':' || CurrName FROM OCRN ORDER BY CurrCode"),
            "AAA:Alpha,BBB:Beta-old,CCC:Gamma");
  const Lines lines = fx.logLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("DPX_TRN_CURRENCYSETTINGS_100||403|BBB|Beta||||", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1], "DPX_TRN_CURRENCYSETTINGS_100|212|402|AAA|Alpha||||");
  EXPECT_EQ(lines[2], "DPX_TRN_CURRENCYSETTINGS_100|212|402|CCC|Gamma||||");
}

// A statement the target rejects costs only its own row: the match of A2
// (method 3) or the insert of the second row (method 4).
TEST_P(RecordFaults, ARejectedRowStatementIsLoggedAndTheOtherRowsAreWritten) {
  struct Case {
    const char* fragment;
    int nth;
    const char* error;
    uint8_t method;
    Lines lines;
  };
  const Case cases[] = {
      {"A2", 1, "Statement rejected", 3,
       {"DPX_TRN_INDEXES_100||403|A2|Two||||Statement rejected", "DPX_TRN_INDEXES_100|212|402|A1|One||||",
        "DPX_TRN_INDEXES_100|212|402|A3|Three||||"}},
      {"INSERT", 2, "Insert rejected", 4,
       {"DPX_TRN_INDEXES_100|212|402|A1|One||||", "DPX_TRN_INDEXES_100|212|403|A2|Two||||Insert rejected",
        "DPX_TRN_INDEXES_100|212|402|A3|Three||||"}},
  };
  for (const Case& c : cases) {
    CopyFixture fx(GetParam());
    CopyFixture::Exec(*fx.base, "DELETE FROM OIDX; INSERT INTO OIDX (IdexCode, IndexName) VALUES "
                                "('A1', 'One'), ('A2', 'Two'), ('A3', 'Three');");
    CopyFixture::Exec(*fx.target, "DELETE FROM OIDX;");
    std::vector<DPX_OperationArgs> blocks;
    DPX_IndexesManager(&fx.context, "DPX_TRN_INDEXES_100").readFromDB(blocks, {});
    fx.target->InjectSqlFault(c.fragment, c.nth, c.error);
    DPX_IndexesManager(&fx.context, "DPX_TRN_INDEXES_100").writeData(blocks, c.method);
    EXPECT_EQ(CopyFixture::Column(*fx.target, "SELECT IdexCode FROM OIDX ORDER BY IdexCode"), "A1,A3") << c.error;
    EXPECT_EQ(fx.logLines(), c.lines) << c.error;
  }
}

INSTANTIATE_TEST_SUITE_P(RecordFaults, RecordFaults, ::testing::ValuesIn(dpx::test::kServerTypes),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "ServerType" + std::to_string(info.param);
                         });

}  // namespace
