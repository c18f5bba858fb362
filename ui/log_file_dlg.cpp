#include "ui/log_file_dlg.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <set>

#include <fmt/printf.h>

#include <QDateTime>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QLocale>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>

#include "engine/settings_manager.h"
#include "engine/ui_services.h"
#include "platform/framework/text.h"
#include "ui/dialog_texts.h"
#include "ui/grid_list_ctrl.h"
#include "ui/log_additional_info_dlg.h"
#include "ui/program_icon.h"
#include "ui/gui_manager.h"
#include "ui/qt_text.h"
#include "ui/table_model.h"
#include "worksheet/worksheet_template_manager.h"

using dpx::HRESULT;
using dpx::ui::S;
using dpx::ui::Text;

namespace {

constexpr std::array<uint32_t, DPX_LogFileDlg::kColumns> kHeadings{133, 145, 134, 135, 136, 137,
                                                                    138, 139, 140, 141, 142};
constexpr std::array<int, 8> kActions{2022, 2023, 2024, 2025, 404, 184, 212, 213};
constexpr std::array<const char*, 4> kResults{"402", "403", "10024", "10020"};
constexpr const char* kEndMarker = "<DPX_LOG_END>";
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";  // U+FEFF in UTF-8
constexpr int kTooFewFields = 9;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trimmed(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  return QString::fromStdString(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

// A date and time as the log writes it, or in the user's locale.
QDateTime ReadDateTime(const std::string& text) {
  const QString t = QString::fromStdString(text).trimmed();
  QDateTime at = QDateTime::fromString(t, "yyyy-MM-dd HH:mm:ss");
  if (!at.isValid()) at = QLocale().toDateTime(t, QLocale::ShortFormat);
  return at;
}

bool OneOf(long value, std::initializer_list<long> allowed) {
  return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

void ShowError(const std::string& text) {
  dpx::Ui().messageBox(text, S(Text(2041)), dpx::mb::kIconError | dpx::mb::kSetForeground);
}

}  // namespace

DPX_LogFileDlg::DPX_LogFileDlg(DPX_ConnectionContext* context, int mode, std::string path, QWidget* parent)
    : QDialog(parent), context_(context), mode_(mode), path_(std::move(path)) {
  setObjectName("DPX_LogFileDlg");
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  setWindowIcon(dpx::ui::ProgramIcon());
  setWindowTitle(mode_ == 1 ? Text(129) : QString::fromStdString(fmt::sprintf(S(Text(130)), path_)));

  grid_ = new CGridListCtrl(this, true);
  grid_->setObjectName("1048");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->horizontalHeader()->setSectionsMovable(false);
  model_ = new DPX_TableModel(this);
  model_->setCheckColumn(false);
  grid_->setModel(model_);
  connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { OnHeaderClick(c); });
  grid_->viewport()->installEventFilter(this);

  ok_ = DPX_NewControl<QPushButton>(this, "1");
  cancel_ = DPX_NewControl<QPushButton>(this, "2");
  cancel_->hide();
  save_ = DPX_NewControl<QPushButton>(this, "1075");
  print_ = DPX_NewControl<QPushButton>(this, "1074");
  info_ = DPX_NewControl<QPushButton>(this, "1047");
  for (QPushButton* b : {save_, print_, info_}) b->setAutoDefault(false);
  ok_->setText(Text(1));
  cancel_->setText(Text(2));
  info_->setText(Text(131));
  print_->setText(Text(159));
  save_->setText(Text(57345));
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(save_, &QPushButton::clicked, this, &DPX_LogFileDlg::OnBnClickedSaveAsExcel);
  connect(info_, &QPushButton::clicked, this, &DPX_LogFileDlg::showAdditionalInfo);
  connect(print_, &QPushButton::clicked, this, &DPX_LogFileDlg::printLog);

  measureLayout();
  resize(900, 420);
  placeControls();
  // Columns 1 to 3 (path, name, action) get a seventh of the grid's width
  // each, the others a 14.8th, measured before any row takes room.
  const int width = grid_->width() - 2 * grid_->frameWidth();
  for (int c = 0; c < kColumns; ++c)
    columnWidths_.push_back(c >= 1 && c <= 3 ? width / 7 : static_cast<int>(width / 14.8));
  readLogFile();
  InsertItems();
  widenWholeColumns();
  initialised_ = true;
}

bool DPX_LogFileDlg::eventFilter(QObject* watched, QEvent* event) {
  // The context menu's sort and filter commands act on the controller's log
  // viewer: with several viewers open, that is the one whose menu is shown.
  if (watched == grid_->viewport() && event->type() == QEvent::ContextMenu)
    DPX_GUIManager::getInstance().setLogViewer(this);
  return QDialog::eventFilter(watched, event);
}

DPX_LogFileDlg::~DPX_LogFileDlg() {
  // The grid outlives the view (children go after the members) and may still
  // paint its header while it goes.
  model_->setView(nullptr, false);
}

void DPX_LogFileDlg::measureLayout() {
  margin_ = std::max(4, style()->pixelMetric(QStyle::PM_LayoutLeftMargin));
  // Each button as wide as its text needs; OK and Cancel share one width.
  buttonHeight_ = 0;
  for (QPushButton* b : {ok_, cancel_, save_, print_, info_})
    buttonHeight_ = std::max(buttonHeight_, b->sizeHint().height());
  const int okWidth = std::max(ok_->sizeHint().width(), cancel_->sizeHint().width());
  for (QPushButton* b : {ok_, cancel_}) b->resize(okWidth, buttonHeight_);
  for (QPushButton* b : {save_, print_, info_}) b->resize(b->sizeHint().width(), buttonHeight_);
  // Never so narrow that the right-hand buttons would cover OK and Cancel.
  setMinimumSize(std::max(450, rightButtonsLeftmost() + rightButtonsWidth() + margin_), 200);
}

int DPX_LogFileDlg::rightButtonsLeftmost() const { return 2 * ok_->width() + 3 * margin_; }

int DPX_LogFileDlg::rightButtonsWidth() const {
  return save_->width() + print_->width() + info_->width() + 2 * margin_;
}

void DPX_LogFileDlg::placeControls() {
  const int top = height() - margin_ - buttonHeight_;
  grid_->setGeometry(margin_, margin_, width() - 2 * margin_, top - 2 * margin_);
  ok_->move(margin_, top);
  cancel_->move(2 * margin_ + ok_->width(), top);
  // 1075, 1074 and 1047 from left to right, against the right edge.
  int x = std::max(width() - margin_ - rightButtonsWidth(), rightButtonsLeftmost());
  for (QPushButton* b : {save_, print_, info_}) {
    b->move(x, top);
    x += b->width() + margin_;
  }
}

void DPX_LogFileDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (initialised_) placeControls();
}

std::vector<std::string> DPX_LogFileDlg::tokenize(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::string rest = Trimmed(line);
  for (size_t at = rest.find(separator); at != std::string::npos; at = rest.find(separator)) {
    fields.push_back(rest.substr(0, at));
    rest = Trimmed(rest.substr(at + 1));
  }
  fields.push_back(rest.empty() ? std::string(" ") : rest);
  return fields;
}

void DPX_LogFileDlg::readLogFile() {
  std::ifstream in(path_, std::ios::binary);
  if (!in) {
    ShowError(fmt::sprintf(S(Text(10023)), path_));
    return;
  }
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  const std::string text = dpx::Utf16LEBytesToUtf8(bytes);
  size_t at = 0;
  // One line at a time, without its LF, its CR and the blanks around them.
  auto nextLine = [&](std::string& line) {
    if (at >= text.size()) return false;
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    line = text.substr(at, end - at);
    at = end + 1;
    return true;
  };

  view_ = DPX_TableView{};
  std::string line;
  if (!nextLine(line)) return;
  for (size_t bom = line.find(kByteOrderMark); bom != std::string::npos; bom = line.find(kByteOrderMark))
    line.erase(bom, 3);
  line = Trimmed(line);
  header_ = headerLine_ = line;
  lineCounter_ = 0;
  for (uint32_t id : kHeadings) view_.columnNames.push_back(S(Text(id)));
  view_.readOnly.assign(kColumns, true);
  view_.columnTypes.assign(kColumns, 0);

  const auto& templates = DPX_WorksheetTemplateManager::getInstance(context_);
  while (nextLine(line)) {
    line = Trimmed(line);
    if (line.rfind(kEndMarker, 0) == 0) {
      endLine_ = line;
      header_ += "|" + Trimmed(line.substr(std::char_traits<char>::length(kEndMarker)));
      break;
    }
    const HRESULT result = InsertLogLine(line, view_.rowCount(), templates);
    ++lineCounter_;
    if (dpx::Failed(result)) {
      showLineError(line);
      break;
    }
  }
}

void DPX_LogFileDlg::showLineError(const std::string& line) const {
  if (errorField_ == kTooFewFields) {
    ShowError(fmt::sprintf(S(Text(143)), lineCounter_, line));
    return;
  }
  const uint32_t name = errorField_ == 1 ? 133 : errorField_ == 2 ? 135 : 136;
  ShowError(fmt::sprintf(S(Text(144)), path_, lineCounter_, Trimmed(line), errorField_, errorValue_, S(Text(name))));
}

HRESULT DPX_LogFileDlg::InsertLogLine(const std::string& line, int index,
                                      const DPX_WorksheetTemplateManager& templates) {
  errorField_ = kTooFewFields;
  errorValue_.clear();
  if (Trimmed(line).empty()) return dpx::S_FALSE;
  const std::vector<std::string> fields = tokenize(line, '|');
  if (fields.size() < 9) return dpx::E_FAIL;

  DPX_TableRow row;
  row.index = index;
  std::string number, name, path;
  if (dpx::Failed(templates.getLeafIdFromStringKey(fields[0], number))) {
    errorField_ = 1;
    errorValue_ = fields[0];
    return dpx::E_FAIL;
  }
  // A category the template names without a path keeps its cells in place.
  if (dpx::Failed(templates.getNodeNameFromID(number, name, path))) name.clear(), path.clear();
  row.cells = {number, path, name};

  const long action = dpx::ui::ReadIntegerPrefix(fields[1]);
  if (std::find(kActions.begin(), kActions.end(), action) == kActions.end()) {
    errorField_ = 2;
    errorValue_ = fmt::sprintf("%d", action);
    return dpx::E_FAIL;
  }
  row.cells.push_back(S(Text(static_cast<uint32_t>(action))));

  const auto result = std::find_if(kResults.begin(), kResults.end(),
                                   [&](const char* code) { return EqualsIgnoringCase(fields[2], code); });
  if (result == kResults.end()) {
    errorField_ = 3;
    errorValue_ = fields[2];
    return dpx::E_FAIL;
  }
  row.cells.push_back(S(Text(static_cast<uint32_t>(std::stoul(*result)))));
  row.cells.insert(row.cells.end(), fields.begin() + 3, fields.begin() + 9);
  view_.rows.push_back(std::move(row));
  return dpx::S_OK;
}

void DPX_LogFileDlg::InsertItems() {
  // A refill resets the grid's columns: they keep the widths they had.
  QHeaderView* header = grid_->horizontalHeader();
  if (header->count() == kColumns) {
    for (int c = 0; c < kColumns; ++c) columnWidths_[static_cast<size_t>(c)] = header->sectionSize(c);
  }
  // Every row of the log, however many: none is left out of the grid.
  model_->setView(&view_, false);
  for (int c = 0; c < header->count() && c < kColumns; ++c)
    header->resizeSection(c, columnWidths_[static_cast<size_t>(c)]);
}

void DPX_LogFileDlg::widenWholeColumns() {
  // Category No., Result, Base Code and Target Code: a clipped "Succe..." or
  // code tells the user nothing, so these never start narrower than their text.
  static constexpr std::array<int, 4> kWhole{0, 4, 5, 7};
  QHeaderView* header = grid_->horizontalHeader();
  const QFontMetrics metrics(grid_->font());
  const int textMargins = 2 * (grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 1) + 2;
  for (int c : kWhole) {
    // Few distinct texts even in a long log: each is measured once.
    std::set<std::string> texts;
    for (const auto& row : view_.rows)
      if (c < static_cast<int>(row.cells.size())) texts.insert(row.cells[static_cast<size_t>(c)]);
    int width = std::max(columnWidths_[static_cast<size_t>(c)], header->sectionSizeHint(c));
    for (const auto& text : texts) width = std::max(width, metrics.horizontalAdvance(dpx::ui::Q(text)) + textMargins);
    columnWidths_[static_cast<size_t>(c)] = width;
    header->resizeSection(c, width);
  }
}

void DPX_LogFileDlg::ApplySortRules() { model_->refill(); }

void DPX_LogFileDlg::ApplyFilterRules() {
  view_.filterActive = !view_.filterRules.empty();
  view_.markFilteredRows();
  InsertItems();
}

void DPX_LogFileDlg::UnApplyFilterRules() {
  view_.filterActive = false;
  InsertItems();
}

void DPX_LogFileDlg::OnHeaderClick(int column) {
  if (model_->rowCount() < 2 || column < 0 || column >= view_.columnCount()) return;
  const bool ascending = column != view_.sortColumn ? true : !view_.sortAscending;
  view_.sortRules.clear();
  view_.setSort(column, ascending);
  ApplySortRules();
}

int DPX_LogFileDlg::parseHeader(DPX_LogHeader& header) const {
  const std::vector<std::string> fields = tokenize(header_, '|');
  if (fields.size() < 7) return -1;
  const QLocale locale;
  const QDateTime start = ReadDateTime(fields[0]);
  if (!start.isValid()) return 1;
  header.date = S(locale.toString(start.date(), QLocale::ShortFormat));
  header.startTime = S(locale.toString(start.time(), QLocale::ShortFormat));
  header.base = fields[1];
  header.target = fields[2];
  header.copyMethod = static_cast<int>(dpx::ui::ReadIntegerPrefix(fields[3]));
  if (!OneOf(header.copyMethod, {2022, 2023, 2024, 2025, 10009})) return 4;
  header.response = static_cast<int>(dpx::ui::ReadIntegerPrefix(fields[4]));
  if (!OneOf(header.response, {2029, 2028, 2027, 10010})) return 5;
  header.failRecordsForMissingFields = dpx::ui::ReadIntegerPrefix(fields[5]) == 1;
  const QDateTime end = ReadDateTime(fields[6]);
  if (!end.isValid()) return 7;
  header.endTime = S(locale.toString(end.time(), QLocale::ShortFormat));
  return 0;
}

void DPX_LogFileDlg::showAdditionalInfo() {
  DPX_LogHeader header;
  const int failed = parseHeader(header);
  if (failed < 0) return;
  if (failed == 0) {
    DPX_LogAdditionalInfoDlg dialog(header, this);
    dialog.exec();
    return;
  }
  const std::vector<std::string> fields = tokenize(header_, '|');
  static constexpr std::array<uint32_t, 7> kNames{151, 2039, 2040, 156, 157, 158, 151};
  const bool endField = failed == 7;
  ShowError(fmt::sprintf(S(Text(144)), path_, endField ? lineCounter_ : 1, Trimmed(endField ? endLine_ : headerLine_),
                         endField ? 1 : failed, fields[static_cast<size_t>(failed - 1)],
                         S(Text(kNames[static_cast<size_t>(failed - 1)]))));
}

void DPX_LogFileDlg::OnBnClickedSaveAsExcel() {
  DPX_SettingsManager settings(context_);
  settings.updateSettingsFromDatabase();
  std::string path;
  if (DPX_GUIManager::getInstance().showSaveFileForm(S(Text(228)), settings.getLogFileFolder(), path, "xls", 229,
                                                     "") != dpx::S_OK ||
      path.empty())
    return;
  if (!exportToExcel(path)) ShowError(fmt::sprintf(S(Text(10023)), path));
}

std::vector<std::string> DPX_LogFileDlg::shownLines(const std::string& rowStart) const {
  std::vector<std::string> lines;
  std::string headings;
  for (const auto& heading : view_.columnNames) headings += heading + "\t";
  lines.push_back(std::move(headings));
  for (int shown : model_->shownRows()) {
    const DPX_TableRow& row = view_.rows[static_cast<size_t>(shown)];
    std::string line = rowStart;
    for (int c = 0; c < view_.columnCount(); ++c) line += DPX_TableView::cellText(row, c) + "\t";
    lines.push_back(std::move(line));
  }
  return lines;
}

bool DPX_LogFileDlg::exportToExcel(const std::string& path) const {
  // UTF-8 with a byte-order mark: every language's text arrives whole.
  std::string out = kByteOrderMark;
  for (const auto& line : shownLines("#")) out += line + "\r\n";
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << out;
  file.close();
  return static_cast<bool>(file);
}

QStringList DPX_LogFileDlg::printedText() const {
  QStringList text;
  for (const auto& line : shownLines("")) {
    // A line break inside a cell starts a new printed line.
    text += QString::fromStdString(line).split(QRegularExpression("\r\n|\r|\n"));
  }
  return text;
}

void DPX_LogFileDlg::printLog() {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, this);
  dialog.setObjectName("QPrintDialog");
  // All pages of the rows shown: no page range, selection or file to choose.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setPrintRange(QAbstractPrintDialog::AllPages);
  if (dialog.exec() != QDialog::Accepted) return;
  // A long log takes a while to lay out and send.
  dpx::WaitCursor wait;
  // Read before the job: an aborted printer forgets where it was to print.
  const QString where = printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
  if (printTo(printer)) return;
  // No printer, or one that refused: the user hears of it, not silence.
  ShowError(where.isEmpty() ? S(Text(10047)) : fmt::sprintf(S(Text(10046)), S(where)));
}

bool DPX_LogFileDlg::printTo(QPrinter& printer) {
  printer.setDocName(mode_ == 1 ? Text(129) : QString::fromStdString(fmt::sprintf(S(Text(130)), path_)));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  bool ok = OnBeginPrinting(painter, printer);
  for (int page = 0; ok && page < printed_.pages; ++page) {
    // The painter starts on the first page; each further one is asked for.
    ok = (page == 0 || printer.newPage()) && OnPrint(painter, page);
  }
  OnEndPrinting();
  if (!ok) printer.abort();
  painter.end();
  return ok;
}

bool DPX_LogFileDlg::OnBeginPrinting(QPainter& painter, QPrinter& printer) {
  QFont font("Courier");
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSize(8);
  painter.setFont(font);
  // Measured on the printer, at its resolution.
  const QFontMetrics metrics(painter.font(), &printer);
  lineHeight_ = metrics.size(Qt::TextSingleLine, "A").height();
  ascent_ = metrics.ascent();
  // The printable area; the painter's origin is its top left corner.
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  printed_ = DPX_PrintedPages::wrap(
      printedText(), [&metrics](const QString& s) { return metrics.horizontalAdvance(s); }, page.width(),
      page.height(), lineHeight_);
  return lineHeight_ > 0;
}

bool DPX_LogFileDlg::OnPrint(QPainter& painter, int page) {
  int y = 0;
  for (const QString& line : printed_.linesOfPage(page)) {
    painter.drawText(0, y + ascent_, line);
    y += lineHeight_;
  }
  return painter.isActive();
}
