// The category tree and the record list on a small worksheet of their own:
// three levels, a user-defined category, one without localization transfer,
// queries and print layouts, and dependencies (one of them on every top-level
// category "1" to "7"). The categories with records list them from a manager
// of the test's own.
#include <functional>
#include <map>
#include <memory>

#include <fmt/printf.h>

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "engine/di_interface.h"
#include "engine/util.h"
#include "platform/host/server_catalogue.h"
#include "tests/ui/worksheet_fixture.h"
#include "ui/grid_list_ctrl.h"

namespace dpx::test {
namespace {

// A category manager that lists `records` records of its own: a read-only
// code, a name and, past two columns, fields of their own.
class ListedManager : public DPX_DIInterface {
 public:
  explicit ListedManager(int records, int columns = 2) {
    std::vector<std::string> names{"Code", "Name"};
    for (int c = 2; c < columns; ++c) names.push_back("Field " + std::to_string(c));
    std::vector<int32_t> editable(names.size(), 1);
    editable[0] = 0;
    m_tableInfo.setTableName("OTST");
    m_tableInfo.setColumns(names, editable, std::vector<int32_t>(names.size(), dpx::fieldtype::kAlpha));
    m_tableInfo.setTextList(names);
    for (int i = 0; i < records; ++i) {
      const std::string code = fmt::sprintf("C%05d", i);
      std::vector<std::string> cells{code, "Record " + std::to_string(i)};
      for (int c = 2; c < columns; ++c) cells.push_back(std::to_string(c));
      m_tableInfo.addListRow(cells);
      DPX_DetailRecord record;
      record.addKeyValue("Code", dpx::Variant(code));
      record.addValue("Group", dpx::Variant(int32_t{i % 3}));
      m_tableInfo.addRow(std::move(record));
    }
  }
  int32_t readFromDB(std::vector<DPX_OperationArgs>&, std::vector<DPX_DetailRecord>) override { return 0; }
  DPX_TableInfo* collectDetails() override { return &m_tableInfo; }
  void writeData(std::vector<DPX_OperationArgs>, uint8_t) override {}
};

// String ids the worksheet node reads as user-defined, queries and print layouts.
constexpr uint32_t kUserDefined = 702, kQueries = 701, kPrintLayouts = 707;
constexpr int kCopyMethodWithSubstitute = 2;

class SmallWorksheet : public WorksheetFixture {
 protected:
  void SetUp() override {
    WorksheetFixture::SetUp();
    if (HasFatalFailure()) return;
    show(3);
  }
  void TearDown() override {
    if (auto base = context() ? context()->getBaseCompany() : nullptr) base->SetDbServerType(server.serverType());
    WorksheetFixture::TearDown();
  }

  // Replaces the open worksheet's categories by the small tree; "1.1" lists `records` records.
  void show(int records) {
    ASSERT_EQ(gui().showTreeForm(false), S_OK);
    auto& nodes = worksheet()->getNodes();
    nodes.clear();
    auto add = [&](const std::string& id, const std::string& name, bool leaf) -> DPX_WorksheetNode& {
      DPX_WorksheetNode node;
      node.setLeafId(id);
      node.setDisplayName(name);
      node.setIsLeaf(leaf);
      node.setAllowSelection(true);
      node.setLocalizationTransfer(true);
      nodes.push_back(std::move(node));
      return nodes.back();
    };
    auto table = [&](DPX_WorksheetNode& node, int count) {
      node.setDataAreaFormat(DPX_WorksheetNode::kFormatTable);
      node.setDataInterface(std::make_shared<ListedManager>(count));
      node.setDetailsTitle("OTST");
    };
    auto depends = [](DPX_WorksheetNode& node, std::initializer_list<const char*> ids) {
      for (const char* id : ids) node.addDependency(id);
      node.setHasDependencies(true);
    };
    add("1", "Setup", false);
    table(add("1.1", "Currencies", true), records);
    add("1.2", "General", false);
    depends(add("1.2.1", "Units", true), {"1.1"});
    DPX_WorksheetNode& terms = add("1.2.2", "Terms", true);
    terms.setLocalizationTransfer(false);
    terms.setDataAreaFormat(DPX_WorksheetNode::kFormatNoRecords);
    terms.setNoteText("Prices &gt; 0 only");
    add("2", "Customization", false);
    DPX_WorksheetNode& userTables = add("2.1", "User Tables", true);
    userTables.setStringId(kUserDefined);
    table(userTables, 2);
    add("2.2", "Queries", true).setStringId(kQueries);
    DPX_WorksheetNode& layouts = add("2.3", "Layouts", true);
    layouts.setStringId(kPrintLayouts);
    layouts.addProhibitedCopyMethod(kCopyMethodWithSubstitute);
    layouts.setSubstituteCopyMethod(33);
    add("2.4", "Alerts", true).addProhibitedCopyMethod(kCopyMethodWithSubstitute);
    add("3", "Transactions", false);
    depends(add("3.1", "Journal", true), {"1", "2", "3", "4", "5", "6", "7"});
    depends(add("3.2", "Orders", true), {"1.2"});
    DPX_WorksheetNode& company = add("3.3", "Company Details", true);
    company.setDataAreaFormat(DPX_WorksheetNode::kFormatDetail);
    company.setDataInterface(std::make_shared<ListedManager>(1, 3));
    ASSERT_EQ(gui().showTreeForm(true), S_OK);
  }

  // Clears every tick, then clicks the check boxes of `ids` in order.
  void ticks(const std::vector<std::string>& ids) {
    tree()->selectAll(false);
    for (const auto& id : ids) tick(id);
  }
  // A third company on the demo server, of its own localization.
  void catalogueCompany(const std::string& db, const std::string& localization) {
    host::ServerCatalogue catalogue(server.serverDir());
    catalogue.createCompany({db, "Demo " + localization, 930100, localization, server.serverType()});
    catalogue.addUser(db, "manager", "manager", "manager", true);
  }
  std::string text(uint32_t id) { return StringTable::Load(id, gui().getLanguage()); }
  std::string status() { return frame()->messagePane()->text().toStdString(); }
  bool checkable(const std::string& leafId) {
    return tree()->model()->flags(indexOf(leafId)) & Qt::ItemIsUserCheckable;
  }
};

TEST_F(SmallWorksheet, TheParentRuleAsATable) {
  struct Case {
    std::vector<std::string> clicks;
    int currencyRecords;  // records of "1.1" ticked in the grid afterwards; -1 none
    std::map<std::string, int> states;
  };
  const Case cases[] = {
      {{"1.1", "1.2.1", "1.2.2"}, -1, {{"1.2", 1}, {"1", 1}}},
      {{}, -1, {{"1.2", 0}, {"1", 0}}},
      {{"1.2.1"}, -1, {{"1.2", 2}, {"1", 2}}},
      {{"1.1"}, -1, {{"1.2", 0}, {"1", 2}}},
      {{"1.2"}, -1, {{"1.2.1", 1}, {"1.2.2", 1}, {"1", 2}}},
      // A partial child makes every ancestor partial, even beside checked siblings.
      {{"1.2"}, 1, {{"1.1", 2}, {"1.2", 1}, {"1", 2}}},
      {{"1.1", "1.2"}, 2, {{"1.1", 2}, {"1", 2}}},
      // Clicking a partial parent unticks its whole subtree.
      {{"1.2.1", "1"}, -1, {{"1", 0}, {"1.2", 0}, {"1.2.1", 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    ticks(c.clicks);
    if (c.currencyRecords >= 0) {
      ASSERT_TRUE(tree()->selectLeaf("1.1"));
      tickRow(0, false);
      tickRow(1, false);
      tickRow(2, false);
      for (int r = 0; r < c.currencyRecords; ++r) tickRow(r);
    }
    for (const auto& [id, expected] : c.states) EXPECT_EQ(state(id), expected) << id;
  }
}

TEST_F(SmallWorksheet, AClickOnTheLabelSelectsAndOnTheBoxTicks) {
  QTreeView* view = tree()->tree();
  frame()->resize(900, 600);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
  const QModelIndex index = indexOf("2");
  const QRect rect = view->visualRect(index);
  QStyleOptionViewItem option;
  option.initFrom(view);
  option.rect = rect;
  option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  const QRect box = view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view);
  ASSERT_TRUE(box.isValid());

  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(box.right() + 30, rect.center().y()));
  EXPECT_EQ(tree()->currentNode()->getLeafId(), "2");
  EXPECT_EQ(state("2"), 0) << "the label only selects";
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(state("2"), 1);
  EXPECT_EQ(state("2.4"), 1);
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(state("2"), 0);
}

TEST_F(SmallWorksheet, ServerTypesAndLocalizationsUntickAndLockTheirCategories) {
  catalogueCompany("DEMO_US", "US");  // the demo target is of localization GB
  struct Case {
    const char* name;
    std::function<void()> apply;
    bool userDefinedLocked, termsLocked;
  };
  auto targetOf = [this](const char* db, int type) {
    auto target = server.connect(db);
    target->SetDbServerType(type);
    context()->setTargetCompany(target);
  };
  const Case cases[] = {
      {"same server type and localization", [&] { targetOf("DEMO_US", 6); }, false, false},
      {"base on type 2", [&] { context()->getBaseCompany()->SetDbServerType(2); }, true, false},
      {"target on type 3", [&] { targetOf("DEMO_US", 3); }, true, false},
      {"target on type 5", [&] { targetOf("DEMO_US", 5); }, true, false},
      {"target of another localization", [&] { targetOf("DEMO_TARGET", 6); }, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ticks({"2.1", "1.2.2"});
    ASSERT_EQ(state("2.1"), 1);
    c.apply();
    tree()->showHeaderData();
    EXPECT_EQ(state("2.1"), c.userDefinedLocked ? 0 : 1);
    EXPECT_EQ(state("1.2.2"), c.termsLocked ? 0 : 1);
    EXPECT_EQ(checkable("2.1"), !c.userDefinedLocked);
    EXPECT_EQ(checkable("1.2.2"), !c.termsLocked);
    // A click on a locked category changes nothing; its parent's click passes it by.
    tree()->selectAll(false);
    tick("2.1");
    tick("1.2.2");
    EXPECT_EQ(state("2.1"), c.userDefinedLocked ? 0 : 1);
    EXPECT_EQ(state("1.2.2"), c.termsLocked ? 0 : 1);
    tree()->selectAll(false);
    tick("2");
    EXPECT_EQ(state("2.1"), c.userDefinedLocked ? 0 : 1);
    EXPECT_EQ(state("2.2"), 1);

    context()->getBaseCompany()->SetDbServerType(server.serverType());
    context()->setTargetCompany(nullptr);
    tree()->showHeaderData();
    EXPECT_TRUE(checkable("2.1"));
    EXPECT_TRUE(checkable("1.2.2"));
  }
}

TEST_F(SmallWorksheet, DisplayingDependenciesCountsThemOrSaysWhy) {
  struct Case {
    const char* shown;
    std::vector<std::string> ticked;
    bool selectionView;
    std::string status;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"1.2.1", {"1.1"}, false, text(10039), {}},  // its one dependency is ticked
      {"1.2.1", {}, false, fmt::sprintf(text(10038), 1), {}},
      {"3.2", {}, false, fmt::sprintf(text(10038), 2), {}},  // a dependency on a parent: both its leaves
      {"3.1", {}, false, "", {text(10040)}},
      // The currencies are not in the selection view: counted, and a warning says so.
      {"1.2.1", {"1.2.1"}, true, fmt::sprintf(text(10038), 1), {text(10041)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    ticks(c.ticked);
    if (c.selectionView) tree()->toggleSelectionView();
    ASSERT_TRUE(tree()->selectLeaf(c.shown));
    frame()->messagePane()->clear();
    modals.seen.clear();
    QAction* display = frame()->command(517);
    ASSERT_TRUE(display->isEnabled());
    display->trigger();
    EXPECT_EQ(status(), c.status);
    std::vector<std::string> boxes;
    for (const auto& seen : modals.seen) boxes.push_back(seen.text);
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(tree()->model()->data(indexOf(c.shown), Qt::FontRole).value<QFont>().bold(), true);
    QAction* hide = frame()->command(518);
    ASSERT_TRUE(hide->isEnabled());
    hide->trigger();
    EXPECT_FALSE(hide->isEnabled());
    EXPECT_FALSE(tree()->model()->data(indexOf(c.shown), Qt::FontRole).value<QFont>().bold());
    if (c.selectionView) tree()->toggleSelectionView();
  }
}

TEST_F(SmallWorksheet, TheAllDependenciesViewMarksWhatTheTickedCategoriesNeed) {
  // Images: 1 a ticked category missing a dependency, 2 such a one below a
  // collapsed node, 3 a category a ticked one needs, 4 one below a collapsed node.
  struct Step {
    const char* what;
    std::function<void()> act;
    std::map<std::string, int> images;
  };
  const Step steps[] = {
      {"units ticked, view off", [&] { tick("1.2.1"); }, {{"1.2.1", 1}, {"1.2", 2}, {"1", 2}, {"1.1", 0}}},
      {"view on", [&] { frame()->command(32806)->trigger(); },
       {{"1.1", 3}, {"1.2.1", 1}, {"1.2", 2}, {"1", 4}, {"1.2.2", 0}}},
      {"orders ticked: both leaves of its parent dependency", [&] { tick("3.2"); },
       {{"1.2.2", 3}, {"1.2.1", 1}, {"1.2", 4}, {"3.2", 1}, {"3", 2}}},
      {"currencies ticked", [&] { tick("1.1"); }, {{"1.1", 0}, {"1.2.1", 0}, {"1.2.2", 3}, {"1", 4}}},
      {"units and orders unticked", [&] { tick("1.2.1"); tick("3.2"); },
       {{"1.1", 0}, {"1.2.2", 0}, {"1", 0}, {"3", 0}}},
      {"undo brings orders back", [&] { tree()->undoSelection(); }, {{"1.2.2", 3}, {"1", 4}}},
      {"select all: nothing is missing", [&] { tree()->selectAll(true); },
       {{"1.1", 0}, {"1.2.2", 0}, {"1", 0}, {"3", 0}}},
      {"clear all", [&] { tree()->selectAll(false); }, {{"1.1", 0}, {"1.2.1", 0}, {"1", 0}}},
      {"units ticked, view off again", [&] { tick("1.2.1"); frame()->command(32806)->trigger(); },
       {{"1.1", 0}, {"1.2.1", 1}, {"1", 2}}},
  };
  EXPECT_FALSE(frame()->command(517)->isEnabled()) << "the category shown has no dependencies";
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    for (const auto& [id, expected] : step.images) EXPECT_EQ(image(id), expected) << id;
  }
  EXPECT_FALSE(tree()->isShowAllDependencies());
  EXPECT_FALSE(frame()->command(32806)->isChecked());

  // The counts: one per ticked category that needs the leaf.
  tree()->toggleShowAllDependencies();
  ticks({"1.2.1", "3.2"});
  const auto& nodes = worksheet()->getNodes();
  auto count = [&](const std::string& id) {
    for (const auto& n : nodes)
      if (n.getLeafId() == id) return n.getDependentCount();
    return -1;
  };
  EXPECT_EQ(count("1.1"), 1);
  EXPECT_EQ(count("1.2.1"), 1);
  EXPECT_EQ(count("1.2.2"), 1);
  tick("3.2");
  EXPECT_EQ(count("1.2.2"), 0);
  EXPECT_EQ(count("1.1"), 1);
}

TEST_F(SmallWorksheet, UncopyableCategoriesAreTheTickedOnesWithSubstitute33) {
  struct Case {
    int copyMethod;
    std::vector<std::string> ticked;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {kCopyMethodWithSubstitute, {"2.3", "2.4"}, {"Layouts"}},
      {kCopyMethodWithSubstitute, {"2.4"}, {}},
      {1, {"2.3", "2.4"}, {}},
      {kCopyMethodWithSubstitute, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    context()->setCopyMethod(c.copyMethod);
    ticks(c.ticked);
    std::vector<std::string> names{"stale"};
    EXPECT_EQ(tree()->getUncopyableCategories(names), !c.names.empty());
    EXPECT_EQ(names, c.names);
  }
}

TEST_F(SmallWorksheet, QueriesOrLayoutsSelectedOnlyWhenNothingElseIs) {
  const std::pair<std::vector<std::string>, bool> cases[] = {
      {{}, false}, {{"2.2"}, true}, {{"2.3"}, true}, {{"2.2", "2.3"}, true}, {{"2.2", "1.1"}, false}, {{"2"}, false},
  };
  for (const auto& [ticked, expected] : cases) {
    SCOPED_TRACE(testing::Message() << ticked.size() << " ticked");
    ticks(ticked);
    EXPECT_EQ(tree()->hasQueriesOrLayoutsSelected(), expected);
  }
}

// --- The record list ------------------------------------------------------

TEST_F(SmallWorksheet, ACategoryWithoutSingleRecordSelectionTicksEveryRecord) {
  for (auto& node : worksheet()->getNodes())
    if (node.getLeafId() == "1.1") node.setAllowSelection(false);
  ASSERT_TRUE(tree()->selectLeaf("1.1"));
  ASSERT_EQ(detail()->model()->rowCount(), 3);
  tickRow(1);
  EXPECT_TRUE(ticked(0) && ticked(1) && ticked(2));
  EXPECT_EQ(state("1.1"), 1);
  tickRow(0, false);
  EXPECT_FALSE(ticked(0) || ticked(1) || ticked(2));
  EXPECT_EQ(state("1.1"), 0);
}

TEST_F(SmallWorksheet, RecordsOfALockedCategoryCannotBeTicked) {
  context()->getBaseCompany()->SetDbServerType(2);
  tree()->showHeaderData();
  ASSERT_TRUE(tree()->selectLeaf("2.1"));
  ASSERT_EQ(detail()->model()->rowCount(), 2);
  tickRow(0);
  detail()->toggleAllChecks();
  EXPECT_FALSE(ticked(0) || ticked(1));
  EXPECT_EQ(state("2.1"), 0);
  tree()->updateCurrentWorksheet();
  for (const auto& node : worksheet()->getNodes()) EXPECT_TRUE(node.getSelectionObjects().empty()) << node.getLeafId();
}

TEST_F(SmallWorksheet, TheTickColumnHeadingActsOnEveryRowShown) {
  ASSERT_TRUE(tree()->selectLeaf("1.1"));
  auto* header = detail()->grid()->horizontalHeader();
  frame()->resize(900, 600);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame()));
  auto doubleClick = [&] {
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionPosition(0) + 5, header->height() / 2));
  };
  doubleClick();
  EXPECT_TRUE(ticked(0) && ticked(1) && ticked(2));
  EXPECT_EQ(state("1.1"), 1);
  doubleClick();
  EXPECT_FALSE(ticked(0) || ticked(1) || ticked(2));
  EXPECT_EQ(state("1.1"), 0);

  // A filter hides a row: the heading ticks the rows shown, not the hidden one.
  DPX_TableView* view = detail()->currentView();
  ASSERT_NE(view, nullptr);
  view->addFilterRule(0, 2, "C00001", "");  // code is not C00001
  detail()->applyFilterRules();
  ASSERT_EQ(detail()->model()->rowCount(), 2);
  doubleClick();
  EXPECT_EQ(state("1.1"), 2);
  EXPECT_FALSE(view->rows[1].selected);
  // One row ticked at the last refill: the next double click clears.
  detail()->clearFilter();
  ASSERT_EQ(detail()->model()->rowCount(), 3);
  doubleClick();
  EXPECT_EQ(state("1.1"), 0);
}

TEST_F(SmallWorksheet, NotesShowTheirTextBelowATableOrAtTheTopAlone) {
  for (auto& node : worksheet()->getNodes())
    if (node.getLeafId() == "1.1") node.setNoteText("Rates &gt; 1 &gt; 0");
  struct Case {
    const char* leaf;
    QString text;
    bool atTop;
  };
  const Case cases[] = {{"1.2.2", "Prices > 0 only", true}, {"1.1", "Rates > 1 > 0", false}};
  auto* layout = qobject_cast<QVBoxLayout*>(detail()->layout());
  ASSERT_NE(layout, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.leaf);
    ASSERT_TRUE(tree()->selectLeaf(c.leaf));
    auto* note = detail()->findChild<QWidget*>("note");
    ASSERT_TRUE(note && note->isVisibleTo(detail()));
    EXPECT_EQ(detail()->findChild<QPlainTextEdit*>("907")->toPlainText(), c.text);
    const int position = layout->indexOf(note);
    EXPECT_EQ(position == 0, c.atTop);
    EXPECT_EQ(detail()->grid()->isVisibleTo(detail()), !c.atTop);
    if (!c.atTop) {
      EXPECT_GT(position, layout->indexOf(detail()->grid()));
    }
  }
}

TEST_F(SmallWorksheet, EveryRecordIsShownAndAnEditFarDownIsWritten) {
  // More records than a grid of a fixed size would hold.
  constexpr int kRecords = 50'001;
  show(kRecords);
  ASSERT_TRUE(tree()->selectLeaf("1.1"));
  auto* model = detail()->model();
  ASSERT_EQ(model->rowCount(), kRecords);
  EXPECT_EQ(cell(kRecords - 1, 1), "C50000");
  detail()->toggleAllChecks();
  EXPECT_TRUE(ticked(kRecords - 1));
  EXPECT_EQ(state("1.1"), 1);
  ASSERT_TRUE(model->setData(model->index(kRecords - 1, 2), "Edited far down", Qt::EditRole));
  tree()->updateCurrentWorksheet();
  const DPX_WorksheetNode* node = tree()->currentNode();
  // Fully ticked: the edited record only, with its key, subsKey and edit.
  ASSERT_EQ(node->getSelectionObjects().size(), 1u);
  const auto& object = node->getSelectionObjects()[0];
  ASSERT_EQ(object.getKey().size(), 1u);
  EXPECT_EQ(object.getKey()[0].getValue(), "C50000");
  ASSERT_EQ(object.getSubsKey().size(), 1u);
  EXPECT_EQ(object.getSubsKey()[0].getFieldName(), "Group");
  ASSERT_EQ(object.getAdditionalData().size(), 1u);
  EXPECT_EQ(object.getAdditionalData()[0].getFieldName(), "Name");
  EXPECT_EQ(object.getAdditionalData()[0].getValue(), "Edited far down");
}

TEST_F(SmallWorksheet, ADetailsCategoryShowsItsFieldsAndWritesAnEdit) {
  ASSERT_TRUE(tree()->selectLeaf("3.3"));
  const std::pair<const char*, const char*> fields[] = {{"1136", "Code"}, {"1072", "Name"}, {"1073", "Field 2"}};
  for (const auto& [label, heading] : fields) {
    auto* l = detail()->findChild<QLabel*>(label);
    ASSERT_NE(l, nullptr) << label;
    EXPECT_EQ(l->text().toStdString(), heading);
    EXPECT_TRUE(l->isVisibleTo(detail()));
  }
  EXPECT_FALSE(detail()->findChild<QLabel*>("1144")->isVisibleTo(detail()));
  EXPECT_TRUE(detail()->findChild<QLineEdit*>("1137")->isReadOnly());
  auto* name = detail()->findChild<QLineEdit*>("1070");
  EXPECT_EQ(name->text(), "Record 0");

  tick("3.3");
  name->setText("Our company");
  emit name->editingFinished();
  tree()->updateCurrentWorksheet();
  const DPX_WorksheetNode* node = tree()->currentNode();
  ASSERT_EQ(node->getSelectionObjects().size(), 1u);
  const auto& edits = node->getSelectionObjects()[0].getAdditionalData();
  ASSERT_EQ(edits.size(), 1u);
  EXPECT_EQ(edits[0].getFieldName(), "Name");
  EXPECT_EQ(edits[0].getValue(), "Our company");

  // More fields than the pane has pairs: nothing is shown.
  DPX_WorksheetNode* wide = tree()->currentNode();
  wide->setDataInterface(std::make_shared<ListedManager>(1, DPX_DetailFormDlg::kDetailFields + 1));
  EXPECT_EQ(detail()->setCurrentNode(wide, true), E_FAIL);
  EXPECT_FALSE(detail()->findChild<QLabel*>("1136")->isVisibleTo(detail()));
}

TEST_F(SmallWorksheet, TheGridsContextMenuOffersTheirTableCommands) {
  const std::pair<bool, QStringList> cases[] = {{false, {"522", "521"}}, {true, {"32803", "32804"}}};
  // Both grids' commands read like the Data menu's.
  const QStringList captions{frame()->command(522)->text(), frame()->command(521)->text()};
  ASSERT_EQ(captions, (QStringList{"Filter Table...", "Sort Table..."}));
  for (const auto& [logGrid, expected] : cases) {
    SCOPED_TRACE(logGrid ? "log grid" : "record grid");
    CGridListCtrl grid(nullptr, logGrid);
    grid.resize(300, 200);
    grid.show();
    QStringList offered, texts;
    QTimer::singleShot(50, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* action : menu->actions()) {
        offered << action->objectName();
        texts << action->text();
      }
      menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), grid.viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(grid.viewport(), &event);
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(texts.join('|').toStdString(), captions.join('|').toStdString());
  }
}

TEST_F(SmallWorksheet, SelectAllRecordsActsOnTheTableShownWithoutAnUndoStep) {
  ASSERT_TRUE(tree()->selectLeaf("1.2.2"));
  EXPECT_FALSE(frame()->command(529)->isEnabled()) << "a category without a table";
  ASSERT_TRUE(tree()->selectLeaf("1.1"));
  ASSERT_TRUE(frame()->command(529)->isEnabled());
  frame()->command(529)->trigger();
  EXPECT_TRUE(ticked(0) && ticked(1) && ticked(2));
  EXPECT_EQ(state("1.1"), 1);
  EXPECT_EQ(state("1"), 2);
  EXPECT_FALSE(tree()->canUndo());
  frame()->command(530)->trigger();
  EXPECT_FALSE(ticked(0) || ticked(1) || ticked(2));
  EXPECT_EQ(state("1"), 0);
  EXPECT_FALSE(tree()->canUndo());
}

TEST_F(SmallWorksheet, TheSelectionViewShowsTickedRecordsOnly) {
  ASSERT_TRUE(tree()->selectLeaf("1.1"));
  tickRow(0);
  tickRow(2);
  frame()->command(519)->trigger();
  ASSERT_TRUE(tree()->isSelectionView());
  ASSERT_EQ(tree()->currentNode()->getLeafId(), "1.1");
  ASSERT_EQ(detail()->model()->rowCount(), 2);
  tickRow(0, false);  // a row unticked leaves the view at once; the category stays
  ASSERT_EQ(detail()->model()->rowCount(), 1);
  EXPECT_EQ(cell(0, 1), "C00002");
  EXPECT_GE(itemOf("1.1"), 0);
  tickRow(0, false);  // the last one: the category leaves the tree
  EXPECT_EQ(itemOf("1.1"), -1);
  EXPECT_TRUE(tree()->isSelectionView());
}

TEST_F(SmallWorksheet, TheDataMenuSortsAndFiltersTheRecordsShown) {
  ASSERT_TRUE(tree()->selectLeaf("1.1"));
  auto* model = detail()->model();
  // Sort by the code, descending.
  modals.script = {[](QWidget* w) {
    w->findChild<QComboBox*>("1081")->setCurrentIndex(2);  // after the empty line and the ticks
    w->findChild<QComboBox*>("1091")->setCurrentIndex(1);
    static_cast<QDialog*>(w)->accept();
  }};
  frame()->command(521)->trigger();
  EXPECT_EQ(cell(0, 1), "C00002");
  EXPECT_EQ(cell(2, 1), "C00000");
  EXPECT_FALSE(model->headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());

  // Filter: names that contain "1". A text column offers every rule by its name.
  QStringList rules;
  modals.script = {[&](QWidget* w) {
    auto* rule = w->findChild<QComboBox*>("1102");
    for (int i = 0; i < rule->count(); ++i) rules << rule->itemText(i);
    rule->setCurrentIndex(9);
    w->findChild<QComboBox*>("1202")->setEditText("1");
    EXPECT_TRUE(w->grab().save(QString::fromStdString(screenshot("filter-table.png").string())));
    static_cast<QDialog*>(w)->accept();
  }};
  frame()->command(522)->trigger();
  EXPECT_EQ(rules, QStringList({"", "Equal", "Not Equal", "In Range", "Out of Range", "Greater than",
                                "Greater or Equal", "Smaller than", "Smaller or Equal", "Contains",
                                "Does Not Contain", "Start with", "End with", "Is Empty", "Is Not Empty"}));
  ASSERT_EQ(model->rowCount(), 1);
  EXPECT_EQ(cell(0, 2), "Record 1");
  EXPECT_TRUE(frame()->command(522)->isChecked());
  EXPECT_FALSE(model->headerData(2, Qt::Horizontal, Qt::DecorationRole).isNull());

  // The command again takes the filter away without a dialog; the rules stay for the next use.
  modals.seen.clear();
  frame()->command(522)->trigger();
  EXPECT_EQ(model->rowCount(), 3);
  EXPECT_TRUE(modals.seen.empty());
  EXPECT_FALSE(frame()->command(522)->isChecked());
  EXPECT_EQ(detail()->currentView()->filterRules.size(), 1u);
  EXPECT_EQ(cell(0, 1), "C00002") << "the sort stays";
}

}  // namespace
}  // namespace dpx::test
