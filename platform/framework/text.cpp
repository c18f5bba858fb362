#include "platform/framework/text.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include <utility>

namespace dpx {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one code point at s[i], advancing i; invalid sequences give U+FFFD.
char32_t NextUtf8(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra = 0;
  char32_t c = 0;
  if ((b0 & 0xE0) == 0xC0) { extra = 1; c = b0 & 0x1F; }
  else if ((b0 & 0xF0) == 0xE0) { extra = 2; c = b0 & 0x0F; }
  else if ((b0 & 0xF8) == 0xF0) { extra = 3; c = b0 & 0x07; }
  else return kReplacement;
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size()) return kReplacement;
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return kReplacement;
    c = (c << 6) | (b & 0x3F);
    ++i;
  }
  static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
  if (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
  return c;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t c = NextUtf8(utf8, i);
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
        ++i;
      } else {
        c = kReplacement;
      }
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string Utf8ToUtf16LEBytes(std::string_view utf8) {
  const std::u16string u = Utf8ToUtf16(utf8);
  std::string out;
  out.resize(u.size() * 2);
  for (size_t i = 0; i < u.size(); ++i) {
    out[2 * i] = static_cast<char>(u[i] & 0xFF);
    out[2 * i + 1] = static_cast<char>(u[i] >> 8);
  }
  return out;
}

std::string Utf16LEBytesToUtf8(std::string_view bytes) {
  std::u16string u;
  u.resize(bytes.size() / 2);
  for (size_t i = 0; i < u.size(); ++i)
    u[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return Utf16ToUtf8(u);
}

bool ReadTextFile(const std::filesystem::path& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) return false;
  const std::string bytes = buf.str();
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    out = Utf16LEBytesToUtf8(std::string_view(bytes).substr(2));
  } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
             static_cast<unsigned char>(bytes[1]) == 0xFF) {
    std::string swapped = bytes.substr(2);
    for (size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    out = Utf16LEBytesToUtf8(swapped);
  } else if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    out = bytes.substr(3);
  } else if (bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes[0] != 0 && bytes[1] == 0) {
    // UTF-16LE without a byte-order mark (the copy log is written that way):
    // a UTF-8 text never holds a NUL byte, a text starting with an ASCII
    // character in UTF-16LE always does.
    out = Utf16LEBytesToUtf8(bytes);
  } else if (bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes[0] == 0 && bytes[1] != 0) {
    std::string swapped = bytes;
    for (size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    out = Utf16LEBytesToUtf8(swapped);
  } else {
    out = bytes;
  }
  return true;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path tmp = path.string() + ".tmp" + std::to_string(::getpid());
  {
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool flushed = std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed) {
      std::remove(tmp.c_str());
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

bool WriteUtf16File(const std::filesystem::path& path, std::string_view utf8, bool withBom) {
  std::string bytes = withBom ? std::string("\xFF\xFE") : std::string();
  bytes += Utf8ToUtf16LEBytes(utf8);
  return WriteFileAtomically(path, bytes);
}

std::string ToLowerAscii(std::string_view s) {
  std::string out(s);
  for (auto& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace dpx
