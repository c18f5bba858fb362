// The worksheet model's rules: levels from leaf ids, dependencies that cover
// their subtrees, what a node copy keeps, and which selection object stands
// for a listed record.
#include <gtest/gtest.h>

#include "engine/detail_record.h"
#include "engine/di_interface.h"
#include "engine/table_info.h"
#include "worksheet/worksheet.h"

namespace {

DPX_WorksheetNode NodeWithLeafId(const std::string& leafId, int level = 0) {
  DPX_WorksheetNode node;
  node.setLeafId(leafId);
  node.setLevel(level);
  return node;
}

TEST(WorksheetNode, LevelComesFromTheLeafIdUnlessOneIsStored) {
  const struct {
    const char* leafId;
    int stored;
    int level;
  } cases[] = {{"1.2.3", 0, 3}, {"1.2.3", 2, 2}, {"7", 0, 1}, {"12.10", 0, 2}, {".5", 0, 1}, {"", 0, 1}};
  for (const auto& c : cases) EXPECT_EQ(NodeWithLeafId(c.leafId, c.stored).getLevel(), c.level) << c.leafId;
}

TEST(WorksheetNode, ADependencyCoversItsWholeSubtreeAndNothingElse) {
  DPX_WorksheetNode node;
  node.addDependency("1.2");
  const struct {
    const char* id;
    bool covered;
  } cases[] = {{"1.2", true}, {"1.2.7", true}, {"1.2.5.1", true}, {"1.27", false}, {"1", false}, {"1.", false},
               {"2.1.2", false}};
  for (const auto& c : cases) EXPECT_EQ(node.dependsOn(c.id), c.covered) << c.id;

  node.addDependency("1.2.7");  // covered: not added
  node.addDependency("1.3");
  EXPECT_EQ(node.getDependencies(), (std::vector<std::string>{"1.2", "1.3"}));
  EXPECT_THROW(node.getDependency(2), std::out_of_range);
  EXPECT_THROW(node.getDependency(-1), std::out_of_range);
}

TEST(WorksheetNode, ACopyKeepsTheChoiceFixesTheLevelAndStartsWithoutDependents) {
  DPX_WorksheetNode source = NodeWithLeafId("3.1.4");
  source.addDependency("2.1.1");
  source.addDependency("2");  // stored after 2.1.1, which it covers
  source.addProhibitedCopyMethod(1);
  source.setSubstituteCopyMethod(4);
  DPX_SelectionObject object;
  object.addKeyField("ItemCode", "A1", "db_Alpha");
  object.setTableName("OITM");
  source.addSelectionObject(object);
  source.setSelected(DPX_WorksheetNode::kSelectedPartly);
  source.addDependentCount(1);
  source.addDependentCount(1);

  const DPX_WorksheetNode copy = source;
  EXPECT_EQ(copy.getLevel(), 3);
  EXPECT_EQ(copy.getDependencies(), (std::vector<std::string>{"2.1.1", "2"}));
  EXPECT_EQ(copy.getSelectionObjects(), source.getSelectionObjects());
  EXPECT_EQ(copy.getSelectionObjects()[0].getTableName(), "OITM");
  EXPECT_EQ(copy.getProhibitedCopyMethods(), std::vector<int>{1});
  EXPECT_EQ(copy.getSubstituteCopyMethod(), 4);
  EXPECT_EQ(copy.getSelected(), DPX_WorksheetNode::kSelectedPartly);
  EXPECT_EQ(copy.getDependentCount(), 0);

  // A dependency list written out of order is cleaned up by the copy.
  DPX_WorksheetNode later;
  later = NodeWithLeafId("5");
  later.addDependency("2");
  EXPECT_FALSE(later.dependsOn("3"));
}

TEST(WorksheetNode, CategoryTestsFollowTheStringId) {
  const struct {
    uint32_t id;
    bool userDefined, queries, printLayout;
  } cases[] = {{702, true, false, false}, {147, true, false, false}, {148, true, false, false},
               {149, true, false, false}, {704, true, false, false}, {705, true, false, false},
               {706, true, false, false}, {701, false, true, false},  {707, false, false, true},
               {708, false, false, true}, {709, false, false, true},  {703, false, false, false},
               {801, false, false, false}, {0, false, false, false}};
  for (const auto& c : cases) {
    DPX_WorksheetNode node;
    node.setStringId(c.id);
    EXPECT_EQ(node.isUserDefinedNode(), c.userDefined) << c.id;
    EXPECT_EQ(node.isQueriesNode(), c.queries) << c.id;
    EXPECT_EQ(node.isPrintLayoutNode(), c.printLayout) << c.id;
  }
}

TEST(WorksheetNode, ASelectionObjectMatchesARecordWhenEveryColumnHasItsKeyField) {
  DPX_WorksheetNode node;
  DPX_SelectionObject b2, a1, a1lower, twoKeys;
  b2.addKeyField("ItemCode", "B2", "db_Alpha");
  a1.addKeyField("ItemCode", "A1", "db_Alpha");
  a1lower.addKeyField("ItemCode", "a1", "db_Alpha");
  twoKeys.addKeyField("Code", "7", "db_Numeric");
  twoKeys.addKeyField("Line", "2", "db_Numeric");
  node.addSelectionObject(b2);
  node.addSelectionObject(a1);
  node.addSelectionObject(twoKeys);

  DPX_DetailRecord item;
  item.addKeyValue("ItemCode", dpx::Variant("A1"));
  item.addValue("ItemName", dpx::Variant("Pump"));
  DPX_SelectionObject* found = node.matchSelection(item, false);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->getKey()[0].getValue(), "A1");
  EXPECT_EQ(found, &node.getSelectionObjects()[1]);

  DPX_DetailRecord numbered;
  numbered.addKeyValue("Code", dpx::Variant(int32_t{7}));
  numbered.addKeyValue("Line", dpx::Variant(int32_t{2}));
  EXPECT_EQ(node.matchSelection(numbered, false), &node.getSelectionObjects()[2]);
  DPX_DetailRecord otherLine;
  otherLine.addKeyValue("Code", dpx::Variant(int32_t{7}));
  otherLine.addKeyValue("Line", dpx::Variant(int32_t{3}));
  EXPECT_EQ(node.matchSelection(otherLine, false), nullptr);

  // Matching is exact: a different letter case is another record.
  DPX_WorksheetNode caseOnly;
  caseOnly.addSelectionObject(a1lower);
  EXPECT_EQ(caseOnly.matchSelection(item, false), nullptr);
  // With field values the record's listed fields are compared instead.
  DPX_SelectionObject byName;
  byName.addKeyField("ItemName", "Pump", "db_Alpha");
  caseOnly.addSelectionObject(byName);
  EXPECT_EQ(caseOnly.matchSelection(item, true), &caseOnly.getSelectionObjects()[1]);
}

// A category manager that counts how often it lists its records and notes
// when it is deleted.
class CountingManager : public DPX_DIInterface {
 public:
  CountingManager(int& listed, int& deleted) : listed_(listed), deleted_(deleted) {}
  ~CountingManager() override { ++deleted_; }
  int32_t readFromDB(std::vector<DPX_OperationArgs>&, std::vector<DPX_DetailRecord>) override { return 0; }
  DPX_TableInfo* collectDetails() override {
    ++listed_;
    table_.setTableName("OITM");
    return &table_;
  }
  void writeData(std::vector<DPX_OperationArgs>, uint8_t) override {}

 private:
  DPX_TableInfo table_;
  int& listed_;
  int& deleted_;
};

TEST(WorksheetNode, RecordsAreListedOnceAndTheManagerIsDeletedOnceWhateverWasCopied) {
  int listed = 0, deleted = 0;
  {
    DPX_Worksheet ws;
    DPX_WorksheetNode node;
    node.setDataInterface(std::make_shared<CountingManager>(listed, deleted));
    DPX_TableInfo* details = nullptr;
    EXPECT_EQ(node.loadDetails(details), 1);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(node.getDetailsTitle(), "OITM");
    EXPECT_EQ(node.loadDetails(details), 0);
    EXPECT_EQ(listed, 1);

    // Copies share the manager and its records; releasing one copy leaves the others working.
    ws.getNodes().push_back(node);
    ws.getNodes().push_back(node);
    DPX_WorksheetNode assigned;
    assigned = ws.getNodes()[0];
    node.releaseDataInterface();
    EXPECT_EQ(node.getDetails(), nullptr);
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(ws.getNodes()[1].loadDetails(details), 0);
    EXPECT_EQ(details->getTableName(), "OITM");
    ws.releaseDataInterfaces();
    ws.releaseDataInterfaces();
    EXPECT_EQ(deleted, 0);
    assigned.releaseDataInterface();
    EXPECT_EQ(deleted, 1);
  }
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(listed, 1);

  // Nodes destroyed without a release do not leak their manager either.
  {
    DPX_WorksheetNode node;
    node.setDataInterface(std::make_shared<CountingManager>(listed, deleted));
    DPX_WorksheetNode copy = node;
  }
  EXPECT_EQ(deleted, 2);
}

TEST(SelectionField, TypeNamesOfHostFieldTypes) {
  const std::pair<int, const char*> cases[] = {{0, "db_Alpha"}, {1, "db_Memo"},  {2, "db_Numeric"},
                                               {3, "db_Date"},  {4, "db_Float"}, {7, ""}, {-1, ""}};
  for (const auto& [type, name] : cases) {
    DPX_SelectionField field("F", "v", "old");
    field.setTypeFromFieldType(type);
    EXPECT_EQ(field.getType(), name) << type;
  }
}

TEST(Worksheet, ANewWorksheetHasNoOptionsNoTreeAndNoFile) {
  DPX_Worksheet ws;
  EXPECT_EQ(ws.getCopyMethod(), -1);
  EXPECT_EQ(ws.getRTCF(), -1);
  EXPECT_FALSE(ws.isFRFMUDF() || ws.isBackup() || ws.isApproval() || ws.isModified());
  EXPECT_TRUE(ws.getNodes().empty());
  EXPECT_TRUE(ws.isFilePathEmpty());
  EXPECT_FALSE(ws.isSourceFromFile());
  EXPECT_FALSE(ws.hasSourceDB());
}

}  // namespace
