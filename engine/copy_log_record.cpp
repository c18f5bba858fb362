// One copy-log line. See copy_log_record.h for how values are kept from
// breaking the line apart.
#include "engine/copy_log_record.h"

std::string DPX_CopyLogRecord::CleanColumn(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '|') {
      out += "\xC2\xA6";  // broken bar
    } else if (c == '\r') {
      out += ' ';
      if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

// The byte length of the first `count` characters of UTF-8 text (all of it
// when it is shorter): a cut there never splits a character.
size_t PrefixOfCharacters(std::string_view text, size_t count) {
  size_t i = 0;
  for (size_t seen = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;  // inside a character
    if (seen++ == count) return i;
  }
  return i;
}

// The text, or its first `limit` characters and "..." when it is longer.
std::string Shortened(std::string_view text, size_t limit) {
  const size_t cut = PrefixOfCharacters(text, limit);
  if (cut == text.size()) return std::string(text);
  return std::string(text.substr(0, cut)) + "...";
}

// An error text with every value it quotes ('...' or "...") shortened, and
// the whole bounded too: a host error may repeat the value it refused.
std::string ShortenedQuotes(const std::string& text) {
  std::string out;
  size_t copied = 0;
  for (size_t open = text.find_first_of("'\""); open != std::string::npos;) {
    const size_t close = text.find(text[open], open + 1);
    if (close == std::string::npos) break;
    out.append(text, copied, open + 1 - copied);
    out += Shortened(std::string_view(text).substr(open + 1, close - open - 1), DPX_CopyLogRecord::kValueLimit);
    copied = close;
    open = text.find_first_of("'\"", close + 1);
  }
  out.append(text, copied, std::string::npos);
  return Shortened(out, 5 * DPX_CopyLogRecord::kValueLimit);
}

}  // namespace

void DPX_CopyLogRecord::set(Column column, const std::string& value) {
  const std::string clean = CleanColumn(value);
  switch (column) {
    case kBaseCode:
    case kBaseDescription:
    case kTargetCode:
    case kTargetDescription:
    case kTargetFormerDescription:
      columns_[column] = Shortened(clean, kValueLimit);
      break;
    case kError:
      columns_[column] = ShortenedQuotes(clean);
      break;
    default:
      columns_[column] = clean;
  }
}

void DPX_CopyLogRecord::clear() {
  for (auto& c : columns_) c.clear();
}

std::string DPX_CopyLogRecord::line() const {
  std::string out;
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (i > 0) out += '|';
    out += columns_[i];
  }
  out += "\r\n";
  return out;
}
