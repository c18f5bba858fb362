#include "ui/printed_pages.h"

#include <algorithm>

namespace {

// Whether a cut at `at` keeps a surrogate pair together.
bool SplitsAPair(const QString& text, qsizetype at) {
  return at > 0 && at < text.size() && text[at - 1].isHighSurrogate() && text[at].isLowSurrogate();
}

// The number of leading UTF-16 units of `text` that fit in `pageWidth`: the
// widest prefix that fits, never a half of a surrogate pair, and at least one
// character even when that one is wider than the page.
qsizetype FittingPrefix(const QString& text, const std::function<int(const QString&)>& width, int pageWidth) {
  qsizetype fits = 0, tooWide = text.size();
  while (tooWide - fits > 1) {
    const qsizetype mid = fits + (tooWide - fits) / 2;
    if (width(text.left(mid)) <= pageWidth)
      fits = mid;
    else
      tooWide = mid;
  }
  if (SplitsAPair(text, fits)) --fits;
  if (fits == 0) fits = text.size() > 1 && SplitsAPair(text, 1) ? 2 : 1;
  return fits;
}

// Appends the wrapped pieces of one line (TABs already expanded).
void WrapLine(const QString& line, const std::function<int(const QString&)>& width, int pageWidth,
              QStringList& out) {
  if (line.isEmpty()) {
    out.push_back(line);
    return;
  }
  qsizetype at = 0;
  while (at < line.size()) {
    const QString rest = line.mid(at);
    if (width(rest) <= pageWidth) {
      out.push_back(rest);
      return;
    }
    qsizetype cut = FittingPrefix(rest, width, pageWidth);
    // A blank right after what fits is the break itself; else the last blank
    // inside it, as long as something other than blanks stands before it.
    if (cut < rest.size() && rest[cut] != ' ') {
      qsizetype blank = rest.lastIndexOf(' ', cut - 1);
      while (blank > 0 && rest[blank - 1] == ' ') --blank;
      if (blank > 0) cut = blank;
    }
    out.push_back(rest.left(cut));
    at += cut;
    // The blanks at the break start no line of their own.
    while (at < line.size() && line[at] == ' ') ++at;
  }
}

}  // namespace

QString DPX_PrintedPages::expandTabs(const QString& line) {
  QString out;
  out.reserve(line.size());
  int column = 0;
  for (const QChar c : line) {
    if (c == '\t') {
      const int blanks = kTabSize - column % kTabSize;
      out.append(QString(blanks, ' '));
      column += blanks;
      continue;
    }
    out.append(c);
    // The second half of a surrogate pair takes no column of its own.
    if (!c.isLowSurrogate()) ++column;
  }
  return out;
}

DPX_PrintedPages DPX_PrintedPages::wrap(const QStringList& textLines, const std::function<int(const QString&)>& width,
                                        int pageWidth, int pageHeight, int lineHeight) {
  DPX_PrintedPages printed;
  for (const QString& line : textLines) WrapLine(expandTabs(line), width, pageWidth, printed.lines);
  // A page lower than one line still takes one, so that every line is printed.
  printed.linesPerPage = std::max(1, lineHeight > 0 ? pageHeight / lineHeight : 1);
  printed.pages = static_cast<int>((printed.lines.size() + printed.linesPerPage - 1) / printed.linesPerPage);
  return printed;
}

QStringList DPX_PrintedPages::linesOfPage(int page) const {
  if (page < 0) return {};
  return lines.mid(static_cast<qsizetype>(page) * linesPerPage, linesPerPage);
}
