// The copy-log viewer: reading a log file into rows (and refusing malformed
// records), sorting and filtering the rows shown, the export and the printing
// of what is shown, and opening the viewer from the copy-completed notice.
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include "platform/framework/text.h"
#include "tests/ui/dialog_driving.h"
#include "tests/ui/worksheet_fixture.h"
#include "ui/grid_list_ctrl.h"
#include "ui/log_file_dlg.h"
#include "ui/printed_pages.h"
#include "worksheet/worksheet_template_manager.h"

namespace dpx::test {
namespace {

constexpr const char* kHeader = "2026-12-10 09:00:00|DEMO_BASE|DEMO_TARGET|2022|403|1";

class LogViewer : public WorksheetFixture {
 protected:
  void SetUp() override {
    WorksheetFixture::SetUp();
    // Two categories of the template, with the number, path and name it gives.
    for (const auto& node : DPX_WorksheetTemplateManager::getInstance(context()).getTemplate().getNodes()) {
      if (!node.isLeaf() || node.getStringKey().empty()) continue;
      Category c{node.getStringKey(), node.getLeafId(), "", ""};
      DPX_WorksheetTemplateManager::getInstance(context()).getNodeNameFromID(c.number, c.name, c.path);
      categories.push_back(c);
      if (categories.size() == 2) break;
    }
    ASSERT_EQ(categories.size(), 2u);
  }
  void TearDown() override {
    if (gui().logViewer()) delete gui().logViewer();
    WorksheetFixture::TearDown();
    std::filesystem::remove_all(dir);
  }

  // A log file in UTF-16 LE with a byte-order mark, lines ended by CR LF.
  std::string writeLog(const std::string& name, const std::vector<std::string>& lines) {
    std::filesystem::create_directories(dir);
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    const auto path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << "\xFF\xFE" << Utf8ToUtf16LEBytes(text);
    return path;
  }
  // A record of category `c` with the nine fields.
  std::string record(int c, const std::string& action, const std::string& result, const std::string& code,
                     const std::string& description = "Desc") {
    return categories[static_cast<size_t>(c)].key + "|" + action + "|" + result + "|" + code + "|" + description +
           "|" + code + "|" + description + "|Former|";
  }
  // A viewer on the file, owned by the test.
  std::unique_ptr<DPX_LogFileDlg> viewer(const std::string& path, int mode = 2) {
    auto v = std::make_unique<DPX_LogFileDlg>(context(), mode, path, frame());
    v->setAttribute(Qt::WA_DeleteOnClose, false);
    return v;
  }
  static QString shown(DPX_LogFileDlg* v, int row, int column) {
    return v->model()->data(v->model()->index(row, column), Qt::DisplayRole).toString();
  }

  // The filter dialog's answer: only the rows whose Result is "Failed".
  static void KeepFailedRows(QWidget* w) {
    EXPECT_EQ(w->objectName(), "DPX_FilterTableDlg");
    auto* rule = w->findChild<QComboBox*>("1105");  // the line of column 4, Result
    rule->setCurrentIndex(rule->findData(1));
    w->findChild<QComboBox*>("1205")->setEditText("Failed");
    ClickButton(w, "1");
  }

  struct Category {
    std::string key, number, name, path;
  };
  std::vector<Category> categories;
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("dpx-log-viewer-" + std::to_string(getpid()));
};

TEST_F(LogViewer, ReadsRecordsAndRefusesMalformedLines) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;  // after the header
    bool endMarker;
    int rows;
    std::string message;  // empty: no message box
  };
  const std::string path = (dir / "case.txt").string();
  const std::vector<Case> cases = {
      {"ten fields accepted, empty line skipped",
       {record(0, "212", "402", "A1"), "", record(1, "213", "403", "B1") + "|extra"}, true, 2, ""},
      {"eight fields", {record(0, "212", "402", "A1"), "K|212|402|a|b|c|d|e", record(1, "212", "402", "B2")}, true,
       1, "Wrong format in the line 2 of the log file - \n'K|212|402|a|b|c|d|e'"},
      {"separator first", {"|212|402|a|b|c|d|e|f"}, true, 0,
       "Invalid value in the log file - '" + path +
           "' \nLine 1: '|212|402|a|b|c|d|e|f'\nColumn 1:  is not a valid 'Category No."},
      {"unknown action", {record(0, "212", "402", "A1"), record(0, "999", "402", "A2")}, true, 1,
       "Invalid value in the log file - '" + path + "' \nLine 2: '" + record(0, "999", "402", "A2") +
           "'\nColumn 2: 999 is not a valid 'Trans. Type"},
      {"result as text", {record(0, "212", "Failed", "A1")}, true, 0,
       "Invalid value in the log file - '" + path + "' \nLine 1: '" + record(0, "212", "Failed", "A1") +
           "'\nColumn 3: Failed is not a valid 'Result"},
      {"no end marker", {record(0, "212", "402", "A1"), record(1, "404", "10024", "B1")}, false, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines{kHeader};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    if (c.endMarker) lines.push_back("<DPX_LOG_END>2026-12-10 09:05:00");
    writeLog("case.txt", lines);
    const size_t seen = modals.seen.size();
    auto v = viewer(path);
    EXPECT_EQ(v->model()->rowCount(), c.rows);
    EXPECT_EQ(v->view().rowCount(), c.rows);
    if (c.message.empty()) {
      EXPECT_EQ(modals.seen.size(), seen);
    } else {
      ASSERT_EQ(modals.seen.size(), seen + 1);
      EXPECT_EQ(modals.seen.back().text, c.message);
    }
    EXPECT_EQ(v->headerLine(), kHeader);
    // The end time joins the header only when reading reached the marker.
    const bool ended = c.endMarker && c.message.empty();
    EXPECT_EQ(v->header(), ended ? std::string(kHeader) + "|2026-12-10 09:05:00" : std::string(kHeader));
  }
}

TEST_F(LogViewer, ARowHoldsElevenCellsTranslated) {
  const auto path = writeLog("one.txt", {kHeader, record(1, "404", "403", "C9", "Ünïcødé 日本"), "<DPX_LOG_END>x"});
  auto v = viewer(path);
  ASSERT_EQ(v->model()->rowCount(), 1);
  ASSERT_EQ(v->model()->columnCount(), DPX_LogFileDlg::kColumns);
  const auto& c = categories[1];
  const std::vector<std::string> expected{c.number, c.path, c.name, "Deleted", "Failed", "C9",
                                          "Ünïcødé 日本", "C9", "Ünïcødé 日本", "Former", " "};
  for (int col = 0; col < DPX_LogFileDlg::kColumns; ++col)
    EXPECT_EQ(shown(v.get(), 0, col).toStdString(), expected[static_cast<size_t>(col)]) << col;
  EXPECT_EQ(v->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "Category No.");
  EXPECT_EQ(v->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Category Path");
  EXPECT_EQ(v->model()->headerData(10, Qt::Horizontal, Qt::DisplayRole).toString(), "Error");
  EXPECT_EQ(v->windowTitle().toStdString(), "Copy Configuration Log - '" + path + "'");
}

TEST_F(LogViewer, EmptyFileAndUnopenableFile) {
  const auto empty = writeLog("empty.txt", {});
  std::ofstream(empty, std::ios::binary | std::ios::trunc).close();
  const size_t seen = modals.seen.size();
  auto v = viewer(empty);
  EXPECT_EQ(v->model()->rowCount(), 0);
  EXPECT_EQ(modals.seen.size(), seen);

  auto missing = viewer((dir / "missing.txt").string());
  EXPECT_EQ(missing->model()->rowCount(), 0);
  ASSERT_EQ(modals.seen.size(), seen + 1);
  EXPECT_EQ(modals.seen.back().text, "Could not open file '" + (dir / "missing.txt").string() + "'");
}

TEST_F(LogViewer, EveryLineOfALargeLogIsShown) {
  std::vector<std::string> lines{kHeader};
  for (int i = 0; i < 50001; ++i) lines.push_back(record(i % 2, "212", "402", "R" + std::to_string(i)));
  auto v = viewer(writeLog("large.txt", lines));
  EXPECT_EQ(v->model()->rowCount(), 50001);
  EXPECT_EQ(shown(v.get(), 50000, 5), "R50000");
}

TEST_F(LogViewer, HeaderClicksSortAndTheExportHoldsTheRowsShown) {
  const auto path = writeLog("export.txt", {kHeader, record(0, "212", "402", "B", "Ünïcødé 日本"),
                                            record(1, "213", "403", "X"), record(0, "212", "402", "A"),
                                            record(1, "212", "402", "C"), "<DPX_LOG_END>end"});
  auto v = viewer(path);
  auto* header = v->grid()->horizontalHeader();
  header->sectionClicked(5);
  EXPECT_EQ(shown(v.get(), 0, 5), "A");
  header->sectionClicked(5);  // the same column again: the other way round
  EXPECT_EQ(shown(v.get(), 0, 5), "X");
  v->view().addFilterRule(4, 1, "Succeeded", "");
  v->ApplyFilterRules();
  ASSERT_EQ(v->model()->rowCount(), 3);
  EXPECT_TRUE(gui().updateLogFilterCheck() == false) << "not the log viewer of the controller";

  const auto out = (dir / "export.xls").string();
  ASSERT_TRUE(v->exportToExcel(out));
  std::ifstream in(out, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  const auto row = [&](int c, const std::string& code, const std::string& description) {
    const auto& cat = categories[static_cast<size_t>(c)];
    return "#" + cat.number + "\t" + cat.path + "\t" + cat.name + "\tAdded\tSucceeded\t" + code + "\t" + description +
           "\t" + code + "\t" + description + "\tFormer\t \t\r\n";
  };
  const std::string expected =
      "\xEF\xBB\xBF"
      "Category No.\tCategory Path\tCategory\tTrans. Type\tResult\tBase Code\tBase Desc.\tTarget Code\t"
      "Target Desc.\tTarget Former Desc.\tError\t\r\n" +
      row(1, "C", "Desc") + row(0, "B", "Ünïcødé 日本") + row(0, "A", "Desc");
  EXPECT_EQ(bytes, expected);

  v->UnApplyFilterRules();
  EXPECT_EQ(v->model()->rowCount(), 4);
}

TEST_F(LogViewer, ResultAndCodeCellsShowWholeAtFirstShow) {
  // Codes longer than a 14.8th of the grid, and every result the copy writes.
  const auto path = writeLog("whole.txt", {kHeader, record(0, "212", "402", "ITEM-000000000042-BLUE"),
                                           record(1, "213", "403", "PARTNER-C0000000000017"),
                                           record(0, "404", "10024", "A"), "<DPX_LOG_END>2026-12-10 09:05:00"});
  auto v = viewer(path);
  v->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(v.get()));
  auto* grid = v->findChild<CGridListCtrl*>("1048");
  ASSERT_NE(grid, nullptr);
  const QFontMetrics metrics(grid->font());
  const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
  for (int column : {0, 4, 5, 7}) {
    const int room = grid->columnWidth(column) - margins;
    const QString heading = v->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(metrics.elidedText(heading, Qt::ElideRight, room), heading) << "heading of column " << column;
    for (int row = 0; row < v->model()->rowCount(); ++row) {
      const QString text = shown(v.get(), row, column);
      EXPECT_EQ(metrics.elidedText(text, Qt::ElideRight, room), text) << "row " << row << ", column " << column;
    }
  }
  const auto heading = Qt::Alignment(v->model()->headerData(4, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
  EXPECT_EQ(heading & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  EXPECT_TRUE(v->grab().save(QString::fromStdString(screenshot("log-viewer-whole-results.png").string())));
}

TEST_F(LogViewer, TheCompletedNoticeOpensTheCopyLogAndTheContextMenuFilters) {
  const auto path = writeLog("copy.txt", {kHeader, record(0, "212", "402", "A"), record(1, "213", "403", "B"),
                                          record(0, "2022", "402", "C"), "<DPX_LOG_END>2026-12-10 09:05:00"});
  context()->setLogFile(path);
  modals.script.push_back([&](QWidget* w) { ClickButton(w, "1050"); });
  EXPECT_EQ(gui().showCopyCompletedForm(), S_OK);
  DPX_LogFileDlg* v = gui().logViewer();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->objectName(), "DPX_LogFileDlg");
  EXPECT_EQ(v->mode(), 1);
  EXPECT_TRUE(v->isVisible());
  EXPECT_FALSE(v->isModal());
  EXPECT_EQ(v->windowTitle(), "Approve Target Company Updates");
  EXPECT_EQ(v->model()->rowCount(), 3);
  EXPECT_EQ(shown(v, 2, 3), "Replace All");
  EXPECT_EQ(v->findChild<QAbstractButton*>("1075")->text(), "Save as Excel...");
  EXPECT_FALSE(v->findChild<QAbstractButton*>("2")->isVisible());
  QTest::qWait(30);
  EXPECT_TRUE(v->grab().save(QString::fromStdString(screenshot("log-viewer.png").string())));

  // Filter Table... with a rule set in its dialog; a second time removes it.
  modals.script.push_back(KeepFailedRows);
  frame()->command(32803)->trigger();
  EXPECT_EQ(v->model()->rowCount(), 1);
  EXPECT_TRUE(gui().updateLogFilterCheck());
  frame()->command(32803)->trigger();
  EXPECT_EQ(v->model()->rowCount(), 3);
  EXPECT_FALSE(gui().updateLogFilterCheck());

  // OK closes the window, which deletes itself.
  ClickButton(v, "1");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(gui().logViewer(), nullptr);
}

TEST_F(LogViewer, SaveAsExcelAddsTheExtensionToANameTypedWithoutIt) {
  auto v = viewer(writeLog("typed.txt", {kHeader, record(0, "212", "402", "A"), "<DPX_LOG_END>end"}));
  modals.script.push_back(ChooseFile((dir / "typed name").string()));
  v->OnBnClickedSaveAsExcel();
  EXPECT_TRUE(std::filesystem::exists(dir / "typed name.xls"));
  EXPECT_FALSE(std::filesystem::exists(dir / "typed name"));
}

TEST_F(LogViewer, OpenLogFileShowsTheChosenFile) {
  const auto path = writeLog("chosen.txt", {kHeader, record(0, "212", "402", "A"), "<DPX_LOG_END>end"});
  modals.script.push_back(ChooseFile(path));
  frame()->command(508)->trigger();
  DPX_LogFileDlg* v = gui().logViewer();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->mode(), 2);
  EXPECT_EQ(v->path(), path);
  EXPECT_EQ(v->model()->rowCount(), 1);

  // Cancelled: no new viewer.
  frame()->command(508)->trigger();
  EXPECT_EQ(gui().logViewer(), v);
}

TEST_F(LogViewer, TheContextMenuFiltersTheViewerItIsShownIn) {
  const auto path = writeLog("two.txt", {kHeader, record(0, "212", "402", "A"), record(1, "213", "403", "B"),
                                         "<DPX_LOG_END>end"});
  modals.script = {ChooseFile(path), ChooseFile(path)};
  frame()->command(508)->trigger();
  QPointer<DPX_LogFileDlg> older = gui().logViewer();
  frame()->command(508)->trigger();
  QPointer<DPX_LogFileDlg> newer = gui().logViewer();
  ASSERT_TRUE(older && newer && older != newer);

  // The older viewer's context menu, closed again, then its Filter Table...
  QTimer::singleShot(50, [] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) menu->close();
  });
  QWidget* viewport = older->grid()->viewport();
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), viewport->mapToGlobal(QPoint(20, 20)));
  QApplication::sendEvent(viewport, &event);
  modals.script.push_back(KeepFailedRows);
  frame()->command(32803)->trigger();
  EXPECT_EQ(older->model()->rowCount(), 1);
  EXPECT_EQ(newer->model()->rowCount(), 2);
  delete newer.data();
}

TEST_F(LogViewer, ResizingKeepsTheGridsMarginsAndTheButtonsInTheBottomCorners) {
  const auto path = writeLog("resize.txt", {kHeader, record(0, "212", "402", "A"), "<DPX_LOG_END>end"});
  auto v = viewer(path);
  v->show();  // and destroyed while it is shown
  auto* grid = v->grid();
  const auto button = [&](const char* id) { return v->findChild<QAbstractButton*>(id)->geometry(); };
  // What the window shows at its first size.
  const QRect g = grid->geometry();
  const int left = g.left(), top = g.top(), right = v->width() - g.right(), below = v->height() - g.bottom();
  const int bottom = v->height() - button("1").bottom();
  const int okWidth = button("1").width();
  EXPECT_EQ(button("1").left(), left);
  EXPECT_GT(below, bottom) << "the buttons stand below the grid";
  // Path, name and action a seventh of the grid each, the others a 14.8th
  // (number, result and codes no narrower than their texts); a filter that
  // refills the grid keeps them.
  const int client = g.width() - 2 * grid->frameWidth();
  std::vector<int> widths;
  for (int c = 0; c < DPX_LogFileDlg::kColumns; ++c) widths.push_back(grid->columnWidth(c));
  EXPECT_GE(widths[0], static_cast<int>(client / 14.8));
  EXPECT_EQ(widths[6], static_cast<int>(client / 14.8));
  EXPECT_EQ(widths[2], client / 7);
  EXPECT_EQ(widths[10], static_cast<int>(client / 14.8));
  grid->setColumnWidth(4, 150);  // the user widens a column
  widths[4] = 150;
  v->view().addFilterRule(4, 1, "Failed", "");
  v->ApplyFilterRules();
  v->UnApplyFilterRules();
  for (int c = 0; c < DPX_LogFileDlg::kColumns; ++c)
    EXPECT_EQ(grid->columnWidth(c), widths[static_cast<size_t>(c)]) << c;

  for (const QSize asked : {QSize(1300, 700), QSize(620, 260), QSize(100, 100), QSize(900, 420)}) {
    SCOPED_TRACE(asked.width());
    v->resize(asked);
    const QSize size = v->size();
    EXPECT_GE(size.width(), 450);
    EXPECT_GE(size.height(), 200);
    EXPECT_EQ(size, asked.expandedTo(v->minimumSize()));
    const QRect r = grid->geometry();
    EXPECT_EQ(r.left(), left);
    EXPECT_EQ(r.top(), top);
    EXPECT_EQ(size.width() - r.right(), right);
    EXPECT_EQ(size.height() - r.bottom(), below);
    // OK at the bottom left; 1075, 1074 and 1047 from left to right at the
    // bottom right, whole, and clear of OK and the hidden Cancel.
    EXPECT_EQ(button("1").topLeft(), QPoint(left, size.height() - bottom - button("1").height() + 1));
    const QRect save = button("1075"), print = button("1074"), info = button("1047");
    for (const QRect& b : {save, print, info}) EXPECT_EQ(b.bottom(), button("1").bottom());
    EXPECT_EQ(size.width() - info.right(), right);
    EXPECT_LT(save.right(), print.left());
    EXPECT_LT(print.right(), info.left());
    EXPECT_GE(save.left(), left + 2 * okWidth);
  }
  // The program's icon at the title bar's and the task switcher's size.
  const QList<QSize> sizes = v->windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

// Each character 10 units wide (a surrogate pair is one character), pages 100
// units wide, lines 10 high.
TEST(PrintedPages, WrapsLinesToThePageWidthAndCountsThePages) {
  struct Case {
    const char* name;
    QStringList text;
    int pageHeight;
    QStringList lines;
    int pages;
  };
  const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
  const std::vector<Case> cases = {
      {"empty", {}, 30, {}, 0},
      {"exact fit", {"abcdefghij"}, 30, {"abcdefghij"}, 1},
      {"one over, no blank", {"abcdefghijk"}, 30, {"abcdefghij", "k"}, 1},
      {"overlong without blanks", {QString(25, 'x')}, 30, {QString(10, 'x'), QString(10, 'x'), QString(5, 'x')}, 1},
      {"breaks after the last blank that fits", {"hello world again"}, 30, {"hello", "world", "again"}, 1},
      {"a blank right after what fits", {"abcdefghij   klm"}, 30, {"abcdefghij", "klm"}, 1},
      {"TABs to the next stop of eight", {"a\tb", "abc\tdefg\thij"}, 30, {"a       b", "abc", "defg", "hij"}, 2},
      {"empty lines and leading blanks stay", {"", "  ab", ""}, 30, {"", "  ab", ""}, 1},
      {"leading blanks are no break", {"   " + QString(12, 'x')}, 30, {"   " + QString(7, 'x'), QString(5, 'x')}, 1},
      {"pages filled exactly", {"1", "2", "3", "4", "5", "6"}, 30, {"1", "2", "3", "4", "5", "6"}, 2},
      {"a part page rounds up", {"1", "2", "3", "4", "5", "6", "7"}, 39, {"1", "2", "3", "4", "5", "6", "7"}, 3},
      {"a page lower than a line holds one", {"1", "2"}, 5, {"1", "2"}, 2},
      {"surrogate pairs stay whole", {QString(emoji).repeated(12)}, 30,
       {emoji.repeated(10), emoji.repeated(2)}, 1},
  };
  const auto width = [](const QString& s) { return static_cast<int>(s.toUcs4().size()) * 10; };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DPX_PrintedPages printed = DPX_PrintedPages::wrap(c.text, width, 100, c.pageHeight, 10);
    EXPECT_EQ(printed.lines, c.lines) << printed.lines.join("|").toStdString();
    EXPECT_EQ(printed.pages, c.pages);
    for (const auto& line : printed.lines) EXPECT_LE(width(line), 100) << line.toStdString();
    // Only the blanks at a break are dropped.
    const auto ink = [](const QStringList& lines) { return lines.join("").remove(' ').remove('\t'); };
    EXPECT_EQ(ink(printed.lines), ink(c.text));
    // The pages hold every line once, in order.
    QStringList paged;
    for (int page = 0; page < printed.pages; ++page) paged += printed.linesOfPage(page);
    EXPECT_EQ(paged, printed.lines);
  }
}

// A viewer that tells what its print jobs did.
class PrintingViewer : public DPX_LogFileDlg {
 public:
  using DPX_LogFileDlg::DPX_LogFileDlg;
  using DPX_LogFileDlg::printed;
  int begun = 0, pagesPrinted = 0, linesPrinted = 0, ended = 0;

 protected:
  bool OnBeginPrinting(QPainter& painter, QPrinter& printer) override {
    ++begun;
    return DPX_LogFileDlg::OnBeginPrinting(painter, printer);
  }
  bool OnPrint(QPainter& painter, int page) override {
    EXPECT_EQ(page, pagesPrinted);
    ++pagesPrinted;
    linesPrinted += static_cast<int>(printed().linesOfPage(page).size());
    return DPX_LogFileDlg::OnPrint(painter, page);
  }
  void OnEndPrinting() override { ++ended; }
};

// The number of page objects of a PDF file (the page tree is "/Pages").
int PdfPageCount(const std::filesystem::path& pdf) {
  std::ifstream in(pdf, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  int pages = 0;
  for (size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
    pages += bytes.compare(at, 12, "/Type /Pages") != 0;
  return pages;
}

TEST_F(LogViewer, PrintsTheRowsShownOnTheComputedNumberOfPages) {
  std::vector<std::string> lines{kHeader};
  // Descriptions wider than a page, and more rows than a page holds.
  const std::string wide = "A description " + std::string(20, 'w') + " of many words to wrap " + std::string(200, 'z');
  for (int i = 0; i < 150; ++i)
    lines.push_back(record(i % 2, "212", i % 3 ? "402" : "403", "R" + std::to_string(i), wide));
  lines.push_back("<DPX_LOG_END>2026-12-10 09:05:00");
  const auto path = writeLog("print.txt", lines);
  PrintingViewer v(context(), 2, path, frame());
  v.setAttribute(Qt::WA_DeleteOnClose, false);
  v.view().addFilterRule(4, 1, "Succeeded", "");
  v.ApplyFilterRules();
  v.OnHeaderClick(5);
  v.OnHeaderClick(5);
  ASSERT_EQ(v.model()->rowCount(), 100);

  // The headings and the rows shown, in the order shown, without the "#".
  const QStringList text = v.printedText();
  ASSERT_EQ(text.size(), 101);
  EXPECT_TRUE(text[0].startsWith("Category No.\tCategory Path\t"));
  EXPECT_TRUE(text[0].endsWith("Error\t"));
  const auto& c = categories[0];  // row 98, the highest code shown
  EXPECT_EQ(text[1].toStdString(), c.number + "\t" + c.path + "\t" + c.name + "\tAdded\tSucceeded\tR98\t" + wide +
                                       "\tR98\t" + wide + "\tFormer\t \t");

  const auto pdf = dir / "log.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  ASSERT_TRUE(v.printTo(printer));
  EXPECT_EQ(printer.docName().toStdString(), "Copy Configuration Log - '" + path + "'");
  EXPECT_EQ(v.begun, 1);
  EXPECT_EQ(v.ended, 1);
  EXPECT_GT(v.printed().lines.size(), text.size()) << "the wide rows wrap";
  EXPECT_GT(v.printed().pages, 1);
  EXPECT_EQ(v.pagesPrinted, v.printed().pages);
  EXPECT_EQ(v.linesPrinted, v.printed().lines.size());
  EXPECT_EQ(PdfPageCount(pdf), v.printed().pages);
}

TEST_F(LogViewer, ACancelledPrintPrintsNothingAndARefusedOneSaysSo) {
  const auto path = writeLog("cancel.txt", {kHeader, record(0, "212", "402", "A"), "<DPX_LOG_END>end"});
  PrintingViewer v(context(), 1, path, frame());
  v.setAttribute(Qt::WA_DeleteOnClose, false);
  auto* print = v.findChild<QAbstractButton*>("1074");
  ASSERT_NE(print, nullptr);
  EXPECT_TRUE(print->isEnabled());
  EXPECT_EQ(print->text(), "Print Log");
  const size_t seen = modals.seen.size();
  // All pages, with no page range, selection or file to choose; cancelled.
  modals.script.push_back([](QWidget* w) {
    auto* dialog = qobject_cast<QPrintDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->printRange(), QAbstractPrintDialog::AllPages);
    for (const auto option : {QAbstractPrintDialog::PrintToFile, QAbstractPrintDialog::PrintPageRange,
                              QAbstractPrintDialog::PrintSelection, QAbstractPrintDialog::PrintCurrentPage})
      EXPECT_FALSE(dialog->testOption(option)) << option;
    dialog->reject();
  });
  print->click();
  ASSERT_EQ(modals.seen.size(), seen + 1);
  EXPECT_EQ(modals.seen.back().objectName, "QPrintDialog");
  EXPECT_EQ(v.begun, 0);
  EXPECT_EQ(v.ended, 0);

  // A job that no printer takes (none set up, or a file in a folder that is
  // not there) ends in a message, not in silence.
  const std::string refused = (dir / "no-such-folder" / "log.pdf").string();
  modals.script.push_back([&](QWidget* w) {
    auto* dialog = qobject_cast<QPrintDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(QString::fromStdString(refused));
    dialog->accept();
  });
  print->click();
  ASSERT_EQ(modals.seen.size(), seen + 3);
  EXPECT_TRUE(modals.seen.back().text == "The log could not be printed: no printer is set up." ||
              modals.seen.back().text == "The log could not be printed on '" + refused + "': the printer refused the job.")
      << modals.seen.back().text;
  EXPECT_FALSE(std::filesystem::exists(refused));
}

TEST_F(LogViewer, AdditionalInformationOfTheHeader) {
  struct Case {
    const char* name;
    std::string header;
    std::string end;            // after the marker; empty: no end line
    int failed;                 // parseHeader's answer
    std::string method;         // shown in 1056
    bool ignoreChecked = true;  // the box 1052
    std::string message = {};
  };
  const std::string path = (dir / "info.txt").string();
  const std::string line = record(0, "212", "402", "A");
  const std::vector<Case> cases = {
      {"replace all, fail flag 1", "2026-12-10 09:00:00|B|T|2022|2029|1", "2026-12-10 09:05:00", 0, "Replace All",
       false},
      {"unknown method logged", "2026-12-10 09:00:00|B|T|10009|2027|0", "2026-12-10 09:05:00", 0,
       "Log Error: Unknown copy method", true},
      {"other flag number", "2026-12-10 09:00:00|B|T|2023|10010|7", "2026-12-10 09:05:00", 0,
       "Update Existing Records", true},
      {"no end line", "2026-12-10 09:00:00|B|T|2022|2029|1", "", -1, ""},
      {"bad start time", "yesterday|B|T|2022|2029|1", "2026-12-10 09:05:00", 1, "", true,
       "Invalid value in the log file - '" + path +
           "' \nLine 1: 'yesterday|B|T|2022|2029|1'\nColumn 1: yesterday is not a valid 'Time"},
      {"bad method", "2026-12-10 09:00:00|B|T|12|2029|1", "2026-12-10 09:05:00", 4, "", true,
       "Invalid value in the log file - '" + path +
           "' \nLine 1: '2026-12-10 09:00:00|B|T|12|2029|1'\nColumn 4: 12 is not a valid 'Copy Method"},
      {"bad end time", "2026-12-10 09:00:00|B|T|2022|2029|1", "never", 7, "", true,
       "Invalid value in the log file - '" + path + "' \nLine 1: '<DPX_LOG_END>never'\nColumn 1: never is not a valid 'Time"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines{c.header, line};
    if (!c.end.empty()) lines.push_back("<DPX_LOG_END>" + c.end);
    writeLog("info.txt", lines);
    auto v = viewer(path);
    DPX_LogHeader header;
    EXPECT_EQ(v->parseHeader(header), c.failed);
    const size_t seen = modals.seen.size();
    std::string method;
    bool checked = false;
    // The dialog is read and closed; a message box gets the driver's answer.
    if (c.failed == 0) {
      modals.script.push_back([&](QWidget* w) {
        method = Edit(w, "1056").toStdString();
        checked = w->findChild<QAbstractButton*>("1052")->isChecked();
        if (method == "Log Error: Unknown copy method") {
          EXPECT_TRUE(w->grab().save(QString::fromStdString(screenshot("additional-info.png").string())));
        }
        ClickButton(w, "1");
      });
    }
    ClickButton(v.get(), "1047");
    if (c.failed < 0) {
      EXPECT_EQ(modals.seen.size(), seen);
      continue;
    }
    ASSERT_EQ(modals.seen.size(), seen + 1);
    if (c.failed == 0) {
      EXPECT_EQ(modals.seen.back().objectName, "DPX_LogAdditionalInfoDlg");
      EXPECT_EQ(method, c.method);
      EXPECT_EQ(checked, c.ignoreChecked);
      EXPECT_EQ(header.base, "B");
      EXPECT_FALSE(header.endTime.empty());
    } else {
      EXPECT_EQ(modals.seen.back().text, c.message);
    }
  }
}

}  // namespace
}  // namespace dpx::test
