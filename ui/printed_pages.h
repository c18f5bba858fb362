// The copy log as it goes onto paper: its text lines with the TABs expanded,
// wrapped to the page width, and cut into pages. Kept apart from the printer
// so that the layout is the same for every device and can be checked without
// one.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

struct DPX_PrintedPages {
  // TAB stops every this many characters.
  static constexpr int kTabSize = 8;

  QStringList lines;  // the wrapped lines, in print order
  int linesPerPage = 1;
  int pages = 0;

  // Wraps each text line to `pageWidth` as measured by `width` (device units)
  // and counts the pages of `pageHeight` that lines of `lineHeight` fill.
  // A line too wide breaks after the last blank that fits, else after the
  // last character that fits (at least one, so that every line ends); the
  // blanks at a break are dropped, every other character is printed once.
  static DPX_PrintedPages wrap(const QStringList& textLines, const std::function<int(const QString&)>& width,
                               int pageWidth, int pageHeight, int lineHeight);

  // The lines of a page (0-based): those of the earlier pages skipped, then
  // up to a page's worth.
  QStringList linesOfPage(int page) const;

  // A line with each TAB replaced by the blanks up to the next TAB stop.
  static QString expandTabs(const QString& line);
};
