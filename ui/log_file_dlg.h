// The copy-log viewer: a modeless window that reads a copy-log file back and
// shows its records as a table, one row per record line, with the action and
// result translated and each category shown with its number, path and name
// from the category-tree template. The user sorts by a header click, sorts and
// filters through the grid's context menu, exports the rows shown and prints
// them.
#pragma once

#include <string>
#include <vector>

#include <QDialog>

#include "platform/framework/host_error.h"
#include "ui/log_header.h"
#include "ui/printed_pages.h"
#include "ui/table_view.h"

class CGridListCtrl;
class DPX_ConnectionContext;
class DPX_TableModel;
class DPX_WorksheetTemplateManager;
class QPainter;
class QPrinter;
class QPushButton;
class QResizeEvent;

class DPX_LogFileDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kColumns = 11;
  // Mode 1: the log of the copy just finished; 2: a file the user opened.
  DPX_LogFileDlg(DPX_ConnectionContext* context, int mode, std::string path, QWidget* parent);
  ~DPX_LogFileDlg() override;

  // Splits a line at `separator`: the line trimmed, each field up to the next
  // separator as it stands, the rest trimmed before it is split again; an
  // empty last field is one blank.
  static std::vector<std::string> tokenize(const std::string& line, char separator);

  // Reads the file into the view; a rejected line stops reading with its
  // message, the lines before it stay.
  void readLogFile();
  // 0 for an accepted record (appended to the view), 1 for an empty line,
  // E_FAIL for a rejected one (the error state says which field).
  dpx::HRESULT InsertLogLine(const std::string& line, int index, const DPX_WorksheetTemplateManager& templates);
  // Shows the view's rows (those passing an active filter) in the view's order.
  void InsertItems();

  void ApplySortRules();
  void ApplyFilterRules();
  void UnApplyFilterRules();
  // Sorts by a column: ascending when it is not the current sort column,
  // otherwise the opposite of the current order.
  void OnHeaderClick(int column);

  // The run's facts from the header text: 0 when all seven fields passed,
  // the failing field's position (1 to 7), or -1 with fewer than seven fields.
  int parseHeader(DPX_LogHeader& header) const;
  // The facts in the additional-information dialog, or message 144 naming
  // the field that does not read; nothing for a log without its end line.
  void showAdditionalInfo();

  void OnBnClickedSaveAsExcel();
  // Writes the rows shown, in the order shown: UTF-8 with a byte-order mark,
  // the headings line, then "#" and each cell followed by a TAB, CR LF.
  bool exportToExcel(const std::string& path) const;

  // The print dialog, then the rows shown on the printer it gives.
  void printLog();
  // Prints the rows shown as one document: false when a page failed, and
  // the document is then aborted.
  bool printTo(QPrinter& printer);
  // The lines that are printed: the headings, then each row shown, in the
  // order shown, a TAB after each heading and cell.
  QStringList printedText() const;

  DPX_TableView& view() { return view_; }
  CGridListCtrl* grid() const { return grid_; }
  DPX_TableModel* model() const { return model_; }
  int mode() const { return mode_; }
  const std::string& path() const { return path_; }
  // The header line with "|" and the end time when the end marker was read.
  const std::string& header() const { return header_; }
  const std::string& headerLine() const { return headerLine_; }
  const std::string& endLine() const { return endLine_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // After initialisation the grid keeps its margins to the window's edges,
  // OK stays at the bottom left and the other buttons at the bottom right.
  void resizeEvent(QResizeEvent* event) override;

  // The start of a print job: the font, the text and its pages.
  virtual bool OnBeginPrinting(QPainter& painter, QPrinter& printer);
  // One page (0-based) of the text laid out by OnBeginPrinting.
  virtual bool OnPrint(QPainter& painter, int page);
  // The end of a print job, after the last page.
  virtual void OnEndPrinting() {}

  // The laid-out text of the print job under way.
  const DPX_PrintedPages& printed() const { return printed_; }

 private:
  // The margin between the controls and around them, the buttons' sizes and
  // the least size of the window that shows every button whole.
  void measureLayout();
  // Widens the columns whose texts a user reads whole (numbers, results,
  // codes) to their widest cell and their heading.
  void widenWholeColumns();
  void placeControls();
  // Where the buttons at the right may start at the furthest left: past OK,
  // the hidden Cancel and their margins.
  int rightButtonsLeftmost() const;
  int rightButtonsWidth() const;
  // The headings line, then per row shown `rowStart` and each cell, each
  // heading and cell followed by a TAB.
  std::vector<std::string> shownLines(const std::string& rowStart) const;
  // The texts of a rejected line's field: 9 (too few fields), 1, 2 or 3.
  void showLineError(const std::string& line) const;

  DPX_ConnectionContext* context_;
  int mode_;
  std::string path_;
  DPX_TableView view_;
  std::string header_;
  std::string headerLine_;
  std::string endLine_;
  int lineCounter_ = 0;
  int errorField_ = 9;
  std::string errorValue_;
  CGridListCtrl* grid_ = nullptr;
  DPX_TableModel* model_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* info_ = nullptr;
  std::vector<int> columnWidths_;
  int margin_ = 0;
  int buttonHeight_ = 0;
  bool initialised_ = false;
  DPX_PrintedPages printed_;
  int lineHeight_ = 0;
  int ascent_ = 0;
};
