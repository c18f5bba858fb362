// The copy from the window, end to end on the demo server: a new worksheet on
// the demo base and target, queries and transaction codes ticked, the copy
// method chosen in the options, the copy command with its dialogs and
// questions, the target's rows and the copy log afterwards, the progress bar
// while the copy runs, and the copy log in the viewer the completed notice opens.
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>
#include <algorithm>
#include <map>
#include <tuple>
#include <utility>

#include "platform/host/server_catalogue.h"
#include "tests/support/copy_fixture.h"
#include "tests/ui/dialog_driving.h"
#include "tests/ui/worksheet_fixture.h"
#include "ui/log_file_dlg.h"
#include "ui/table_model.h"

namespace dpx::test {
namespace {

constexpr const char* kQueries = "1.1";
constexpr const char* kTransactionCodes = "2.2.2.2";

using Rows = std::vector<std::vector<std::string>>;

// What one copy method leaves: the target's queries (category, name, text)
// and transaction codes, and the copy log's record lines in order.
struct MethodCase {
  int method;
  Rows queries;
  std::string codes;
  std::vector<std::string> lines;
};

// The demo rows: "Open orders" and "Sales by month" are in both companies
// (the first with another text, under another category number), three
// queries only in the base (the test adds a fourth), two of their categories
// unknown to the target; the target alone has "Target only query", and both
// have a system query, which is never copied. A formatted search of the
// target uses "Open orders" and "Target only query", so the host refuses to
// remove them.
const std::vector<std::string> kNewOpenOrders = {"General", "Open orders",
                                                 "SELECT DocEntry FROM ORDR WHERE DocStatus = 'O'"};
const std::vector<std::string> kOldOpenOrders = {"General", "Open orders", "SELECT DocEntry FROM ORDR"};
const std::string kUnicode = "Ünïcødé 日本 – ﬁ";
const Rows kBaseOnlyQueries = {
    {"General", "Base only query", "SELECT ItemCode FROM OITM"},
    {"General", kUnicode, "SELECT '" + kUnicode + "'"},
    {"Marketing & <Events>", "Customers & <prospects>", "SELECT CardCode FROM OCRD WHERE CardType <> 'S'"},
    {"Owner's reports", "O'Neil's query", "SELECT 'it''s' FROM OADM"}};
const Rows kKeptQueries = {{"Sales", "Sales by month", "SELECT 1"},
                           {"System", "System query", "SELECT 1"},
                           {"Target only", "Target only query", "SELECT 2"}};

// Sorted, as the target's rows are compared.
Rows Queries(const std::vector<std::string>& openOrders, bool added) {
  Rows rows = added ? kBaseOnlyQueries : Rows{};
  rows.push_back(openOrders);
  rows.insert(rows.end(), kKeptQueries.begin(), kKeptQueries.end());
  std::sort(rows.begin(), rows.end());
  return rows;
}

const std::string kQ = "DPX_TRN_QUERIES_100|";
const std::string kT = "DPX_TRN_TRANSACTIONCODES_100|";
const std::string kInUse = " cannot be removed: 1 record(s) of CSHS (Formatted Search) still refer to it in QueryId";

const std::vector<std::string> kAddQueries = {kQ + "212|402|2|Customers & <prospects>||||",
                                              kQ + "212|402|3|O'Neil's query||||",
                                              kQ + "212|402|5|Base only query||||"};
const std::vector<std::string> kAddCodes = {kT + "212|402|R&D|Research & <Development>||||",
                                            kT + "212|402|ADJ|Year's adjustment||||"};
const std::string kAddUnicode = kQ + "212|402|7|" + kUnicode + "||||";
const std::string kUpdateOpenOrders = kQ + "213|402|1|Open orders|1|Open orders|Open orders|";
const std::string kUpdateSales = kQ + "213|402|6|Sales by month|4|Sales by month|Sales by month|";
const std::string kUpdateOb = kT + "213|402|OB|Opening balance|OB|Opening balance|Opening balances|";

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

const MethodCase kCases[] = {
    // Replace All: the target's records go first, last category first; what
    // the host keeps is then updated, the rest added.
    {1, Queries(kNewOpenOrders, true), "ADJ:Year's adjustment,OB:Opening balance,R&D:Research & <Development>",
     Join({{kT + "404|402|||OB|Opening balances||", kT + "404|402|||TG|Target only||",
            kQ + "404|403|||1|Open orders||Query '1, 2'" + kInUse,
            kQ + "404|403|||2|Target only query||Query '2, 8'" + kInUse, kQ + "404|402|||4|Sales by month||",
            kUpdateOpenOrders},
           kAddQueries,
           {kQ + "212|402|6|Sales by month||||", kAddUnicode, kT + "212|402|OB|Opening balance||||"},
           kAddCodes})},
    {2,
     Queries(kNewOpenOrders, false),
     "OB:Opening balance,TG:Target only",
     {kUpdateOpenOrders, kUpdateSales, kUpdateOb}},
    {3, Queries(kOldOpenOrders, true),
     "ADJ:Year's adjustment,OB:Opening balances,R&D:Research & <Development>,TG:Target only",
     Join({kAddQueries, {kAddUnicode}, kAddCodes})},
    {4, Queries(kNewOpenOrders, true),
     "ADJ:Year's adjustment,OB:Opening balance,R&D:Research & <Development>,TG:Target only",
     Join({{kUpdateOpenOrders}, kAddQueries, {kUpdateSales, kAddUnicode, kUpdateOb}, kAddCodes})},
};

const char* kQueryRows =
    "SELECT COALESCE(c.CatName, '?'), q.QName, q.QString FROM OUQR q "
    "LEFT JOIN OQCN c ON c.CategoryId = q.QCategory";
const char* kCodeRows = "SELECT TrnsCode || ':' || TrnsCodDsc FROM OTRC ORDER BY TrnsCode";

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size())
    out.push_back(text.substr(start, at - start));
  out.push_back(text.substr(start));
  return out;
}

// A record line as the viewer shows it: the category's number, path and
// name, the action and the result in words, then the six fields (an empty
// last field shows as one blank).
std::vector<std::string> Shown(const std::string& line) {
  static const std::map<std::string, std::vector<std::string>> categories = {
      {"DPX_TRN_QUERIES_100", {"1.1", "Customization", "Queries"}},
      {"DPX_TRN_TRANSACTIONCODES_100", {"2.2.2.2", "Initial Settings and Setup>Finance>Setup", "Transaction Codes"}}};
  static const std::map<std::string, std::string> words = {
      {"212", "Added"}, {"213", "Updated"}, {"404", "Deleted"}, {"402", "Succeeded"}, {"403", "Failed"}};
  const std::vector<std::string> fields = Split(line, "|");
  std::vector<std::string> row = categories.at(fields[0]);
  row.push_back(words.at(fields[1]));
  row.push_back(words.at(fields[2]));
  row.insert(row.end(), fields.begin() + 3, fields.end());
  if (row.back().empty()) row.back() = " ";
  return row;
}

class CopyFromTheWindow : public WorksheetFixture, public ::testing::WithParamInterface<std::tuple<int, int>> {
 protected:
  CopyFromTheWindow() : WorksheetFixture(std::get<0>(GetParam())) {}

  void SetUp() override {
    DesktopFixture::SetUp();
    ASSERT_TRUE(start());
    // Not the worksheet the fixture opens on the base alone: the welcome
    // dialog's new worksheet, whose properties get the base and the target
    // through the company choice.
    modals.script = {ModalDriver::Click("1"),
                     [](QWidget* w) {
                       Later(w, [w] {
                         ClickButton(w, "1015");
                         ClickButton(w, "1019");
                         ClickButton(w, "1");
                       });
                     },
                     ChooseCompany("DEMO_BASE"), ChooseCompany("DEMO_TARGET"),
                     ModalDriver::Click("6")};  // the localizations differ
    open();
    ASSERT_TRUE(gui().isWorksheetOpen()) << ::testing::PrintToString(modals.names());
    modals.script.clear();
    modals.seen.clear();
  }
  void TearDown() override {
    delete gui().logViewer();
    WorksheetFixture::TearDown();
  }
  int serverType() const { return std::get<0>(GetParam()); }
  int method() const { return std::get<1>(GetParam()); }
};

TEST_P(CopyFromTheWindow, TheTargetTheLogAndTheViewerByCopyMethod) {
  const MethodCase& c = kCases[method() - 1];
  ASSERT_EQ(c.method, method());
  // A query whose texts only UTF-16 keeps, on its way through the log to the viewer.
  const std::string unicodeQuery = "INSERT INTO OUQR (IntrnalKey, QCategory, QName, QString, QType) VALUES (7, 1, '" +
                                   kUnicode + "', 'SELECT ''" + kUnicode + "''', 'W')";
  CopyFixture::Exec(*server.base(), unicodeQuery);
  tick(kQueries);
  tick(kTransactionCodes);
  // A recent backup for the server type that keeps a backup history.
  host::ServerCatalogue(server.serverDir()).recordBackup("DEMO_TARGET", MinutesAgo(5));

  std::string methodShown;
  std::string completedTitle;
  modals.script.push_back([&](QWidget* w) {  // the copy dialog: the method in the options, then OK
    Later(w, [&, w] {
      ClickButton(w, "1035");
      methodShown = w->findChild<QLabel*>("1054")->text().toStdString();
      ClickButton(w, "1");
    });
  });
  modals.script.push_back([&](QWidget* w) {
    const char* radios[] = {"1037", "1038", "1039", "1182"};
    w->findChild<QRadioButton*>(radios[method() - 1])->setChecked(true);
    ClickButton(w, "1");
  });
  if (serverType() == 5) modals.script.push_back(ModalDriver::Click("6"));  // no backup history: asked instead
  modals.script.push_back([&](QWidget* w) {
    completedTitle = w->windowTitle().toStdString();
    ClickButton(w, "1050");
  });

  // The bar's value and maximum at each change while the command runs, and
  // whether the wait cursor showed.
  std::vector<std::pair<int, int>> progress;
  bool waited = true;
  QProgressBar* bar = frame()->progressBar();
  const auto watch = QObject::connect(bar, &QProgressBar::valueChanged, bar, [&](int v) {
    progress.emplace_back(v, bar->maximum());
    const QCursor* cursor = QApplication::overrideCursor();
    waited = waited && cursor && cursor->shape() == Qt::WaitCursor;
  });
  frame()->command(512)->trigger();
  QObject::disconnect(watch);

  std::vector<std::string> windows{"DPX_CopyConfigFormDlg", "DPX_CopyOptionsFormDlg", "DPX_CopyCompletedFormDlg"};
  if (serverType() == 5) windows.insert(windows.begin() + 2, "DPX_MessageBox");
  EXPECT_EQ(modals.names(), windows);
  if (serverType() == 5) {
    EXPECT_EQ(modals.seen[2].text,
              "We highly recommend that you backup the target company before performing the copy process. Continue?");
  }
  const char* methodTexts[] = {"Replace All", "Update Existing Records",
                               "Add new records without updating existing records",
                               "Add new records and update existing records"};
  EXPECT_EQ(methodShown, methodTexts[method() - 1]) << "the dialog shows the method the options chose";
  EXPECT_EQ(completedTitle, "Copy To Target Company");

  auto target = server.target();
  Rows queries = CopyFixture::Rows(*target, kQueryRows);
  std::sort(queries.begin(), queries.end());
  EXPECT_EQ(queries, c.queries);
  EXPECT_EQ(CopyFixture::Column(*target, kCodeRows), c.codes);

  // The log: the header with the run's facts, a line per record, the end
  // marker with the end time and no line end.
  std::vector<std::string> lines = Split(ReadUtf16Text(context()->getLogFile()), "\r\n");
  ASSERT_GE(lines.size(), 3u);
  const std::vector<std::string> header = Split(lines.front(), "|");
  ASSERT_EQ(header.size(), 6u) << lines.front();
  EXPECT_EQ(
      std::vector<std::string>(header.begin() + 1, header.end()),
      (std::vector<std::string>{"Demo Base Ltd.", "Demo Target & Sons", std::to_string(2021 + method()), "2029", "0"}));
  EXPECT_EQ(lines.back().rfind("<DPX_LOG_END>2", 0), 0u) << lines.back();
  const std::vector<std::string> records(lines.begin() + 1, lines.end() - 1);
  EXPECT_EQ(records, c.lines);

  // While the copy ran the bar rose step by step from each start, under the
  // wait cursor, and the copy's passes ran over the two categories; at the
  // end it is back at 0.
  ASSERT_FALSE(progress.empty());
  bool copyPassShown = false;
  for (size_t i = 1; i < progress.size(); ++i) {
    const auto [value, maximum] = progress[i];
    EXPECT_LE(value, maximum);
    if (value != 0) {
      EXPECT_EQ(value, progress[i - 1].first + 1) << "at change " << i;
    }
    copyPassShown = copyPassShown || (maximum == 2 && value == 1);
  }
  EXPECT_TRUE(std::any_of(progress.begin(), progress.end(), [](auto p) { return p.first == p.second; }))
      << "a pass reached the end of the bar";
  EXPECT_TRUE(copyPassShown);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_TRUE(waited) << "the wait cursor shows while the bar moves";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "and is gone afterwards";

  // The completed notice's Log File: the viewer on that log, every record
  // translated, in the log's order.
  DPX_LogFileDlg* viewer = gui().logViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->mode(), 1);
  EXPECT_EQ(viewer->windowTitle(), "Approve Target Company Updates");
  EXPECT_EQ(viewer->path(), context()->getLogFile());
  EXPECT_TRUE(viewer->isVisible());
  Rows shown;
  const auto* model = viewer->model();
  for (int r = 0; r < model->rowCount(); ++r) {
    std::vector<std::string> row;
    for (int column = 0; column < model->columnCount(); ++column)
      row.push_back(model->data(model->index(r, column), Qt::DisplayRole).toString().toStdString());
    shown.push_back(std::move(row));
  }
  Rows expected;
  for (const auto& line : records) expected.push_back(Shown(line));
  EXPECT_EQ(shown, expected);

  // Its additional information reads the facts of this run.
  std::vector<std::string> facts;
  modals.script.push_back([&](QWidget* w) {
    for (const char* id : {"1054", "906", "1056"}) facts.push_back(Edit(w, id).toStdString());
    ClickButton(w, "1");
  });
  ClickButton(viewer, "1047");
  const char* optionTexts[] = {"Replace All", "Update Existing Records",
                               "Add New Records Without Updating Existing Records",
                               "Add New Records and Update Existing Records"};
  EXPECT_EQ(facts, (std::vector<std::string>{"Demo Base Ltd.", "Demo Target & Sons", optionTexts[method() - 1]}));
}

INSTANTIATE_TEST_SUITE_P(ServerTypesAndMethods, CopyFromTheWindow,
                         ::testing::Combine(::testing::ValuesIn(kServerTypes), ::testing::Range(1, 5)),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
                           return "ServerType" + std::to_string(std::get<0>(info.param)) + "Method" +
                                  std::to_string(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace dpx::test
