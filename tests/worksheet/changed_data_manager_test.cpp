// The changed-data merge: the user's edited values go into the records they
// name, and a partial selection of a file base keeps only the named records.
#include "worksheet/changed_data_manager.h"

#include <gtest/gtest.h>

#include "platform/framework/host_error.h"
#include "worksheet/selection_object.h"

namespace {

DPX_SelectionObject Pick(const std::string& table, std::vector<std::pair<std::string, std::string>> keys,
                         std::vector<std::pair<std::string, std::string>> edits = {}) {
  DPX_SelectionObject object;
  object.setTableName(table);
  for (auto& [name, value] : keys) object.addSubsKeyField(name, value, "db_Alpha");
  for (auto& [name, value] : edits) object.addAdditionalDataField(name, value, "db_Alpha");
  return object;
}

std::string Item(const std::string& code, const std::string& fields) {
  return "<BOM><BO><AdmInfo><Object>4</Object></AdmInfo><OITM><row><ItemCode>" + code + "</ItemCode>" + fields +
         "</row></OITM></BO></BOM>";
}

std::string Object(const std::string& tables) { return "<OBJECT string_id=\"DPX_TRN_ITEMS_100\">" + tables + "</OBJECT>\n"; }

}  // namespace

TEST(ChangedDataMerge, WritesEscapedValueIntoTheNamedRecordOnly) {
  std::string text = Object("<table name=\"OITM\">" + Item("A1", "<ItemName>Old</ItemName>") +
                            Item("B2", "<ItemName>Other</ItemName>") + "</table>");
  const std::string expected = Object("<table name=\"OITM\">" + Item("A1", "<ItemName>New &amp; better</ItemName>") +
                                      Item("B2", "<ItemName>Other</ItemName>") + "</table>");
  DPX_ChangedDataManager merger(nullptr, nullptr);
  EXPECT_EQ(merger.mergeSingle(Pick("OITM", {{"ItemCode", "A1"}}, {{"ItemName", "New & better"}}), text), dpx::S_OK);
  EXPECT_EQ(text, expected);
}

TEST(ChangedDataMerge, FillsNilShortFormAndMissingElements) {
  struct Case {
    const char* fields;
    const char* expected;
  } cases[] = {
      {"<FrgnName nil=\"true\"></FrgnName>", "<FrgnName>X</FrgnName>"},
      {"<FrgnName/>", "<FrgnName>X</FrgnName>"},
      {"<FrgnName />", "<FrgnName>X</FrgnName>"},
      {"<FrgnName>old</FrgnName>", "<FrgnName>X</FrgnName>"},
      {"<ItemName>n</ItemName>", "<ItemName>n</ItemName><FrgnName>X</FrgnName>"},
  };
  for (const auto& c : cases) {
    std::string text = Object("<table name=\"OITM\">" + Item("A1", c.fields) + "</table>");
    DPX_ChangedDataManager merger(nullptr, nullptr);
    EXPECT_EQ(merger.mergeSingle(Pick("OITM", {{"ItemCode", "A1"}}, {{"FrgnName", "X"}}), text), dpx::S_OK) << c.fields;
    EXPECT_EQ(text, Object("<table name=\"OITM\">" + Item("A1", c.expected) + "</table>")) << c.fields;
  }
}

TEST(ChangedDataMerge, MatchesKeysHoldingEscapedCharacters) {
  for (const std::string key : {"A\"1", "O'Brien", "R&D", "a&lt;b"}) {
    std::string stored;
    for (char c : key) {
      if (c == '"') stored += "&quot;";
      else if (c == '\'') stored += "&apos;";
      else if (c == '&') stored += "&amp;";
      else stored += c;
    }
    std::string text = Object("<table name=\"OITM\">" + Item(stored, "<ItemName>Old</ItemName>") + "</table>");
    DPX_ChangedDataManager merger(nullptr, nullptr);
    EXPECT_EQ(merger.mergeSingle(Pick("OITM", {{"ItemCode", key}}, {{"ItemName", "New"}}), text), dpx::S_OK) << key;
    EXPECT_NE(text.find("<ItemName>New</ItemName>"), std::string::npos) << key;
  }
}

TEST(ChangedDataMerge, ReportsFailureWhenNothingMatches) {
  const std::string original = Object("<table name=\"OITM\">" + Item("A1", "<ItemName>Old</ItemName>") + "</table>");
  DPX_ChangedDataManager merger(nullptr, nullptr);
  for (const auto& object : {Pick("OITM", {{"ItemCode", "a1"}}, {{"ItemName", "x"}}),
                             Pick("OCRD", {{"ItemCode", "A1"}}, {{"ItemName", "x"}}),
                             Pick("OITM", {}, {{"ItemName", "x"}})}) {
    std::string text = original;
    EXPECT_EQ(merger.mergeSingle(object, text), dpx::E_FAIL);
    EXPECT_EQ(text, original);
  }
}

TEST(ChangedDataMerge, EditsWithoutTableNameFindTheirRecordInAnyTable) {
  // A worksheet read back from its file no longer knows the table name.
  std::string text = Object("<table name=\"OITM\">" + Item("A1", "<ItemName>Old</ItemName>") + "</table>");
  DPX_ChangedDataManager merger(nullptr, nullptr);
  EXPECT_EQ(merger.mergeSingle(Pick("", {{"ItemCode", "A1"}}, {{"ItemName", "New"}}), text), dpx::S_OK);
  EXPECT_NE(text.find("<ItemName>New</ItemName>"), std::string::npos);
}

TEST(ChangedDataMerge, AnEditLandsOnTheFirstRecordOfItsKeyOnly) {
  const auto query = [](const char* key, const char* text) {
    return std::string("<BOM><BO><AdmInfo><Object>160</Object></AdmInfo><UserQueries><row><InternalKey>") + key +
           "</InternalKey><QueryDescription>Dup</QueryDescription><Query>" + text +
           "</Query></row></UserQueries></BO></BOM>";
  };
  for (const std::string table : {"OUQR", ""}) {
    std::string text = Object("<table name=\"OUQR\">" + query("1", "SELECT 1") + query("2", "SELECT 2") + "</table>");
    DPX_ChangedDataManager merger(nullptr, nullptr);
    EXPECT_EQ(merger.mergeSingle(Pick(table, {{"QueryDescription", "Dup"}}, {{"Query", "SELECT 3"}}), text), dpx::S_OK);
    EXPECT_EQ(text, Object("<table name=\"OUQR\">" + query("1", "SELECT 3") + query("2", "SELECT 2") + "</table>"))
        << "table '" << table << "'";
  }
}

TEST(ChangedDataMerge, EditsReachEveryRowOfATableCategory) {
  const auto rows = [](const char* n1, const char* n2, const char* n3) {
    return Object(std::string("<table name=\"OCRG\"><BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><OCRG>") +
                  "<row><GroupCode>1</GroupCode><GroupName>" + n1 + "</GroupName></row>" +
                  "<row><GroupCode>2</GroupCode><GroupName>" + n2 + "</GroupName></row>" +
                  "<row><GroupCode>3</GroupCode><GroupName>" + n3 + "</GroupName></row>" +
                  "</OCRG></BO></BOM></table>");
  };
  std::string text = rows("a", "b", "c");
  DPX_ChangedDataManager merger(nullptr, nullptr);
  EXPECT_EQ(merger.mergeAll(text, {Pick("OCRG", {{"GroupCode", "3"}}, {{"GroupName", "C"}}),
                                   Pick("OCRG", {{"GroupCode", "2"}}, {{"GroupName", "B"}})}),
            dpx::S_OK);
  EXPECT_EQ(text, rows("a", "B", "C"));
}

namespace {
std::string Table(const std::string& blocks) { return "<table name=\"OCRG\">" + blocks + "</table>"; }
std::string Group(const std::string& code) {
  return "<BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><OCRG><row><GroupCode>" + code +
         "</GroupCode></row></OCRG></BO></BOM>";
}
std::string Rows(std::initializer_list<const char*> codes) {
  std::string text = "<BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><OCRG>";
  for (const char* code : codes) text += std::string("<row><GroupCode>") + code + "</GroupCode></row>";
  return text + "</OCRG></BO></BOM>";
}
}  // namespace

TEST(RemoveUnselected, KeepsOnlyTheNamedRecords) {
  struct Case {
    std::string name;
    std::string table;
    std::vector<DPX_SelectionObject> picks;
    std::string expected;
  } cases[] = {
      {"single-row blocks", Table(Group("1") + Group("2") + Group("3")),
       {Pick("OCRG", {{"GroupCode", "1"}}), Pick("OCRG", {{"GroupCode", "3"}})}, Table(Group("1") + Group("3"))},
      {"every unnamed row of one block", Table(Rows({"1", "2", "3", "4"})),
       {Pick("OCRG", {{"GroupCode", "1"}}), Pick("OCRG", {{"GroupCode", "3"}})}, Table(Rows({"1", "3"}))},
      {"no row named empties the block", Table(Rows({"1", "2"})), {Pick("OCRG", {{"GroupCode", "9"}})}, Table("")},
      {"empty selection empties the text", Table(Group("1")), {}, ""},
      {"a pick without keys names nothing", Table(Group("1")), {Pick("OCRG", {})}, Table("")},
      // The query categories of picked queries: no pick names their table.
      {"a table no pick names is kept whole", Table(Group("1") + Group("2")), {Pick("OITM", {{"GroupCode", "1"}})},
       Table(Group("1") + Group("2"))},
      // A worksheet file keeps no table name: a pick is for the table whose
      // records carry its key fields, and leaves the category's other tables whole.
      {"a pick without table name filters the table of its key", Table(Group("1") + Group("2")),
       {Pick("", {{"GroupCode", "2"}})}, Table(Group("2"))},
      {"a pick without table name keeps another table whole", Table(Group("1") + Group("2")),
       {Pick("", {{"QueryDescription", "Open orders"}})}, Table(Group("1") + Group("2"))},
  };
  for (auto& c : cases) {
    DPX_ChangedDataManager manager(nullptr, nullptr);
    std::string text = c.table;
    EXPECT_EQ(manager.removeUnselected(text, c.picks), 0) << c.name;
    EXPECT_EQ(text, c.expected) << c.name;
  }
}

TEST(RemoveUnselected, KeepsTheLinesOfANamedBusinessObject) {
  const std::string order = "<BOM><BO><AdmInfo><Object>17</Object></AdmInfo><ORDR><row><DocNum>5</DocNum></row></ORDR>"
                            "<RDR1><row><ItemCode>A</ItemCode></row><row><ItemCode>B</ItemCode></row></RDR1></BO></BOM>";
  const std::string other = "<BOM><BO><AdmInfo><Object>17</Object></AdmInfo><ORDR><row><DocNum>6</DocNum></row></ORDR>"
                            "<RDR1><row><ItemCode>A</ItemCode></row></RDR1></BO></BOM>";
  std::string text = "<table name=\"ORDR\">" + order + other + "</table>";
  DPX_ChangedDataManager manager(nullptr, nullptr);
  manager.removeUnselected(text, {Pick("ORDR", {{"DocNum", "5"}})});
  EXPECT_EQ(text, "<table name=\"ORDR\">" + order + "</table>");
}

TEST(RemoveUnselected, ReadsKeysCarriedAsDependencyRecords) {
  const auto account = [](const char* code) {
    return std::string("<BOM><BO><AdmInfo><Object>-1</Object></AdmInfo><OACT><row><AcctCode><dep><tableName>OACT"
                       "</tableName><fField>AcctCode</fField><fKeyFields><fField>FormatCode</fField></fKeyFields>"
                       "<fKeyValues><fValue>") +
           code + "</fValue></fKeyValues></dep></AcctCode></row></OACT></BO></BOM>";
  };
  std::string text = "<table name=\"OACT\">" + account("100") + account("200") + "</table>";
  DPX_ChangedDataManager manager(nullptr, nullptr);
  manager.removeUnselected(text, {Pick("OACT", {{"AcctCode", "200"}})});
  EXPECT_EQ(text, "<table name=\"OACT\">" + account("200") + "</table>");
}
