// The worksheet on screen: the category tree and its check rules, the record
// list of a category, and saving what is ticked.
#include <fstream>
#include <functional>
#include <iterator>

#include <QAbstractButton>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "tests/ui/dialog_driving.h"
#include "tests/ui/worksheet_fixture.h"

namespace dpx::test {
namespace {

constexpr const char* kCurrencies = "2.2.1.1";

// The welcome dialog answered with "Existing Duplora Worksheet".
void ChooseExistingWorksheet(QWidget* w) {
  auto* existing = w->findChild<QRadioButton*>("1010");
  ASSERT_NE(existing, nullptr) << w->objectName().toStdString();
  existing->setChecked(true);
  static_cast<QDialog*>(w)->accept();
}

std::string ReadFile(const std::filesystem::path& path) { return ReadUtf16Text(path); }

class WorksheetOnScreen : public WorksheetFixture {
 protected:
  std::string parentOf(const std::string& leafId) { return leafId.substr(0, leafId.rfind('.')); }

  // The currencies in the record list; the grid's model rows.
  DPX_TableModel* showCurrencies() {
    EXPECT_TRUE(tree()->selectLeaf(kCurrencies));
    return detail()->model();
  }
};

TEST_F(WorksheetOnScreen, TickingFollowsTheParentRuleAndUndoTakesItBack) {
  const std::string parent = parentOf(kCurrencies);
  const int parentItem = itemOf(parent);
  ASSERT_GE(parentItem, 0);
  const auto siblings = tree()->model()->items()[static_cast<size_t>(parentItem)].children.size();
  tick(kCurrencies);
  EXPECT_EQ(state(kCurrencies), 1);
  EXPECT_EQ(state(parent), siblings == 1 ? 1 : 2);
  EXPECT_EQ(state(parentOf(parent)), 2) << "an ancestor with other unticked children is partial";
  EXPECT_TRUE(worksheet()->isModified());
  EXPECT_TRUE(frame()->command(520)->isEnabled()) << "undo is offered";

  tree()->undoSelection();
  EXPECT_EQ(state(kCurrencies), 0);
  EXPECT_EQ(state(parent), 0);
  tree()->undoSelection();
  EXPECT_EQ(state(kCurrencies), 1) << "a second undo brings the tick back";

  // Ticking the partial parent unticks its whole subtree.
  tick(parent);
  EXPECT_EQ(state(parent), 0);
  EXPECT_EQ(state(kCurrencies), 0);
  tick("2");
  tick("2");
  EXPECT_EQ(state("2"), 0);
  EXPECT_EQ(state(kCurrencies), 0);
}

TEST_F(WorksheetOnScreen, TheParentRuleAsATable) {
  // All, none and some children ticked, and a partial child.
  const std::string parent = parentOf(kCurrencies);
  const auto& items = tree()->model()->items();
  const auto& children = items[static_cast<size_t>(itemOf(parent))].children;
  if (children.size() < 2) GTEST_SKIP() << "the currencies have no sibling in this template";
  for (int child : children) tick(items[static_cast<size_t>(child)].node->getLeafId());
  EXPECT_EQ(state(parent), 1);
  tick(items[static_cast<size_t>(children[0])].node->getLeafId());
  EXPECT_EQ(state(parent), 2);
  for (int child : children)
    if (state(items[static_cast<size_t>(child)].node->getLeafId()) == 1) tick(items[static_cast<size_t>(child)].node->getLeafId());
  EXPECT_EQ(state(parent), 0);
  // One record of the currencies ticked makes the category, and every ancestor, partial.
  auto* model = showCurrencies();
  ASSERT_GE(model->rowCount(), 1);
  model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole);
  EXPECT_EQ(state(kCurrencies), 2);
  EXPECT_EQ(state(parent), 2);
  EXPECT_EQ(state("2"), 2);
}

TEST_F(WorksheetOnScreen, ALabelClickOnlySelectsAndShowsTheRecords) {
  auto* model = showCurrencies();
  EXPECT_EQ(state(kCurrencies), 0);
  ASSERT_EQ(tree()->currentNode()->getLeafId(), kCurrencies);
  ASSERT_GE(model->rowCount(), 2) << "the demo company has several currencies";
  EXPECT_TRUE(detail()->grid()->isVisible());
  EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "");
  EXPECT_EQ(model->data(model->index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_TRUE(frame()->command(521)->isEnabled()) << "a record table offers sort and filter";
}

TEST_F(WorksheetOnScreen, TheSelectionViewShowsTickedCategoriesOnlyAndKeepsItself) {
  tick(kCurrencies);
  ASSERT_EQ(gui().toggleSelectionView(), S_OK);
  EXPECT_TRUE(frame()->command(519)->isChecked());
  const auto& items = tree()->model()->items();
  for (const auto& item : items) EXPECT_NE(state(item.node->getLeafId()), 0) << item.node->getLeafId();
  EXPECT_GE(itemOf(kCurrencies), 0);
  tick(kCurrencies);  // unticked: it leaves the view, which stays on
  EXPECT_EQ(itemOf(kCurrencies), -1);
  EXPECT_TRUE(tree()->isSelectionView());
}

TEST_F(WorksheetOnScreen, RecordTicksAndEditsBecomeSelectionObjects) {
  auto* model = showCurrencies();
  ASSERT_GE(model->rowCount(), 2);
  // An edit in an unticked row writes nothing...
  const int nameColumn = 2;
  ASSERT_TRUE(model->flags(model->index(1, nameColumn)) & Qt::ItemIsEditable)
      << "the currency name can be edited";
  ASSERT_TRUE(model->setData(model->index(1, nameColumn), "Edited name", Qt::EditRole));
  tree()->updateCurrentWorksheet();
  auto* node = tree()->currentNode();
  EXPECT_TRUE(node->getSelectionObjects().empty());
  // ...ticked later, it writes key, subsKey and the edit.
  model->setData(model->index(1, 0), Qt::Checked, Qt::CheckStateRole);
  tree()->updateCurrentWorksheet();
  ASSERT_EQ(node->getSelectionObjects().size(), 1u);
  const auto& object = node->getSelectionObjects()[0];
  EXPECT_FALSE(object.getKey().empty());
  ASSERT_EQ(object.getAdditionalData().size(), 1u);
  EXPECT_EQ(object.getAdditionalData()[0].getValue(), "Edited name");

  // A fully ticked category writes the edited rows only.
  // The heading's double click acts by what the last refill showed: none ticked, so all.
  detail()->toggleAllChecks();
  EXPECT_EQ(state(kCurrencies), 1);
  detail()->toggleAllChecks();
  EXPECT_EQ(state(kCurrencies), 0);
  detail()->toggleAllChecks();
  EXPECT_EQ(state(kCurrencies), 1);
  tree()->updateCurrentWorksheet();
  EXPECT_EQ(node->getSelectionObjects().size(), 1u);
}

TEST_F(WorksheetOnScreen, CopyNodeTextPutsUnicodeOnTheClipboard) {
  showCurrencies();
  tree()->currentNode()->setDisplayName("Währungen ĉ 通貨");
  ASSERT_EQ(gui().copyTreeNodeText(), S_OK);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Währungen ĉ 通貨"));
}

TEST_F(WorksheetOnScreen, ATickedCurrencyIsWhatTheFileHoldsAndTheWorksheetKeepsTickAndEdit) {
  auto* model = showCurrencies();
  ASSERT_GE(model->rowCount(), 2);
  const QString ticked = cell(0, 1), other = cell(1, 1);
  model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole);
  ASSERT_TRUE(model->setData(model->index(0, 2), "Renamed currency", Qt::EditRole));
  EXPECT_EQ(state(kCurrencies), 2);

  const auto config = server.root() / "config.xml";
  modals.script = {ChooseFile(config.string())};
  ASSERT_EQ(gui().saveConfigurationFile(), S_OK);
  const std::string text = ReadFile(config);
  EXPECT_NE(text.find(">" + ticked.toStdString() + "<"), std::string::npos) << "the ticked currency";
  EXPECT_NE(text.find(">Renamed currency<"), std::string::npos) << "with its edited name";
  EXPECT_EQ(text.find(">" + other.toStdString() + "<"), std::string::npos) << "no other currency";

  const auto sheet = server.root() / "sheet.xml";
  modals.script = {ChooseFile(sheet.string())};
  ASSERT_EQ(gui().saveWorksheet(true, true), S_OK);
  ASSERT_EQ(gui().closeWorksheet(true), S_OK);
  EXPECT_FALSE(frame()->splitter()->isVisible());

  modals.script = {ChooseExistingWorksheet, ChooseFile(sheet.string())};
  ASSERT_EQ(gui().showWelcomeForm(), S_OK);
  ASSERT_TRUE(frame()->splitter()->isVisible());
  EXPECT_EQ(state(kCurrencies), 2);
  frame()->resize(1000, 650);
  QTest::qWait(20);
  model = showCurrencies();
  int tickedRows = 0;
  for (int r = 0; r < model->rowCount(); ++r) {
    if (model->data(model->index(r, 0), Qt::CheckStateRole).toInt() != Qt::Checked) continue;
    ++tickedRows;
    EXPECT_EQ(cell(r, 1), ticked);
    EXPECT_EQ(cell(r, 2), "Renamed currency");
  }
  EXPECT_EQ(tickedRows, 1);
  EXPECT_TRUE(frame()->grab().save(QString::fromStdString(screenshot("worksheet.png").string())));
}

TEST_F(WorksheetOnScreen, ANewFileBaseShowsOnlyTheFilesCategoriesAndRecords) {
  auto* model = showCurrencies();
  ASSERT_GE(model->rowCount(), 2);
  const QString kept = cell(0, 1);
  tickRow(0);
  const auto config = server.root() / "one_currency.xml";
  modals.script = {ChooseFile(config.string())};
  ASSERT_EQ(gui().saveConfigurationFile(), S_OK);

  // The base becomes that file and the worksheet is read again, as a change
  // of the worksheet's properties does it.
  context()->setBaseCompany(nullptr);
  context()->setBaseFile(config.string());
  context()->setTargetFile("");
  ASSERT_EQ(gui().showTreeForm(false), S_OK);
  ASSERT_EQ(gui().getSelectionManager()->refreshWorksheet(), S_OK);
  ASSERT_EQ(gui().showTreeForm(true), S_OK);
  ASSERT_TRUE(worksheet()->isSourceFromFile());

  int absent = 0;
  for (const auto& node : worksheet()->getNodes()) {
    if (!node.isLeaf() || node.isAvailable()) continue;
    EXPECT_EQ(itemOf(node.getLeafId()), -1) << node.getLeafId() << " is not in the file";
    ++absent;
  }
  EXPECT_GT(absent, 0);
  model = showCurrencies();
  ASSERT_EQ(model->rowCount(), 1) << "the file's currency, none of the company's";
  EXPECT_EQ(cell(0, 1), kept);
}

TEST_F(WorksheetOnScreen, AWorksheetOnAnotherCompanyIsNotOpenedWithoutAChoiceOfCompany) {
  struct Case {
    const char* name;
    std::function<void()> set;
  };
  const Case cases[] = {
      {"base", [&] { context()->setBaseCompany(server.target()); }},
      {"target", [&] { context()->setTargetCompany(server.target()); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!gui().isWorksheetOpen()) {
      context()->setBaseCompany(context()->getCompany());
      ASSERT_EQ(gui().showWorksheet(), S_OK);
    }
    c.set();
    const auto sheet = server.root() / (std::string(c.name) + "_elsewhere.xml");
    modals.script = {ChooseFile(sheet.string())};
    ASSERT_EQ(gui().saveWorksheet(true, true), S_OK);
    ASSERT_EQ(gui().closeWorksheet(true), S_OK);

    modals.script = {ChooseExistingWorksheet, ChooseFile(sheet.string())};
    gui().showWelcomeForm();
    EXPECT_FALSE(gui().isWorksheetOpen());
    EXPECT_FALSE(frame()->splitter()->isVisible());
  }
}

TEST_F(WorksheetOnScreen, TheSaveQuestionOnCloseAsATable) {
  // A worksheet never saved is asked about even when nothing changed.
  const std::string question = "Do you want to save the current worksheet?";
  const auto sheet = server.root() / "saved-on-close.xml";
  const ModalDriver::Handler cancelDialog = [](QWidget* w) { static_cast<QDialog*>(w)->reject(); };
  struct Case {
    const char* name;
    std::vector<ModalDriver::Handler> answers;
    HRESULT result;
    bool stillOpen;
    bool saved;
    bool byExit = false;  // the window's Exit asks first
  };
  const Case cases[] = {
      {"Exit, Cancel", {ModalDriver::Click("2")}, S_FALSE, true, false, true},
      {"Cancel", {ModalDriver::Click("2")}, S_FALSE, true, false},
      {"Yes, then the file dialog cancelled", {ModalDriver::Click("6"), cancelDialog}, S_FALSE, true, false},
      {"No", {ModalDriver::Click("7")}, S_OK, false, false},
      {"Yes, then a file", {ModalDriver::Click("6"), ChooseFile(sheet.string())}, S_OK, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!gui().isWorksheetOpen()) {
      context()->setBaseCompany(context()->getCompany());
      ASSERT_EQ(gui().showWorksheet(), S_OK);
    }
    std::filesystem::remove(sheet);
    const size_t seen = modals.seen.size();
    modals.script.assign(c.answers.begin(), c.answers.end());
    if (c.byExit) {
      frame()->command(516)->trigger();
      EXPECT_TRUE(frame()->isVisible()) << "the window stays with its worksheet";
    } else {
      EXPECT_EQ(gui().closeWorksheet(false), c.result);
    }
    ASSERT_GT(modals.seen.size(), seen);
    EXPECT_EQ(modals.seen[seen].text, question);
    EXPECT_EQ(gui().isWorksheetOpen(), c.stillOpen);
    EXPECT_EQ(frame()->splitter()->isVisible(), c.stillOpen);
    EXPECT_EQ(std::filesystem::exists(sheet), c.saved);
    modals.script.clear();
  }
}

TEST_F(WorksheetOnScreen, ALanguageChangeSaysToReopenAnOpenWorksheetOnly) {
  const std::string reopen =
      "The application language has changed. To update text in the current worksheet, you must close and reopen the "
      "worksheet.";
  auto boxes = [this](size_t from) {
    std::vector<std::string> texts;
    for (size_t i = from; i < modals.seen.size(); ++i)
      if (modals.seen[i].objectName == "DPX_MessageBox") texts.push_back(modals.seen[i].text);
    return texts;
  };
  size_t seen = modals.seen.size();
  client.setLanguage(kHostLanguageGerman);
  EXPECT_EQ(boxes(seen), std::vector<std::string>{reopen});
  EXPECT_TRUE(gui().isWorksheetOpen());

  ASSERT_EQ(gui().closeWorksheet(true), S_OK);
  seen = modals.seen.size();
  client.setLanguage(kHostLanguageEnglish);
  EXPECT_TRUE(boxes(seen).empty()) << "no worksheet, nothing to reopen";
}

TEST_F(WorksheetOnScreen, ARecordListShownAgainIsBuiltFromTheListedRecords) {
  auto* model = showCurrencies();
  const int listed = model->rowCount();
  ASSERT_GE(listed, 2);
  tickRow(1);
  tree()->updateCurrentWorksheet();
  // The panes let go of the worksheet and show it again: the record lists
  // start afresh while the categories keep what they listed.
  ASSERT_EQ(gui().showTreeForm(false), S_OK);
  ASSERT_EQ(gui().showTreeForm(true), S_OK);
  model = showCurrencies();
  ASSERT_EQ(model->rowCount(), listed);
  EXPECT_FALSE(ticked(0));
  EXPECT_TRUE(ticked(1));
  EXPECT_EQ(state(kCurrencies), 2);
}

}  // namespace
}  // namespace dpx::test
