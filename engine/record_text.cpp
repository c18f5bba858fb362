#include "engine/record_text.h"

#include <algorithm>
#include <cstdint>

#include "platform/framework/text.h"

namespace dpx::recordtext {

namespace {

bool IsNameEnd(char c) { return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

void AppendCodePoint(std::string& out, uint32_t cp) {
  std::u16string u;
  if (cp >= 0x10000) {
    cp -= 0x10000;
    u += static_cast<char16_t>(0xD800 + (cp >> 10));
    u += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    u += static_cast<char16_t>(cp);
  }
  out += Utf16ToUtf8(u);
}

}  // namespace

std::string DecodeXmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '&') {
      out += text[i++];
      continue;
    }
    const size_t semi = text.find(';', i);
    if (semi == npos || semi - i > 10) {
      out += text[i++];
      continue;
    }
    const std::string_view entity = text.substr(i + 1, semi - i - 1);
    if (entity == "amp") out += '&';
    else if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "quot") out += '"';
    else if (entity == "apos") out += '\'';
    else if (entity.size() > 1 && entity[0] == '#') {
      uint32_t cp = 0;
      bool ok = true;
      const bool hex = entity[1] == 'x' || entity[1] == 'X';
      for (size_t k = hex ? 2 : 1; k < entity.size() && ok; ++k) {
        const char c = entity[k];
        if (c >= '0' && c <= '9') cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(c - '0');
        else if (hex && c >= 'a' && c <= 'f') cp = cp * 16 + static_cast<uint32_t>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F') cp = cp * 16 + static_cast<uint32_t>(c - 'A' + 10);
        else ok = false;
        if (cp > 0x10FFFF) ok = false;
      }
      if (!ok || entity.size() == (hex ? 2u : 1u)) {
        out += text[i++];
        continue;
      }
      AppendCodePoint(out, cp);
    } else {
      out += text[i++];
      continue;
    }
    i = semi + 1;
  }
  return out;
}

size_t StartTagEnd(std::string_view text, size_t start) {
  // Attribute values are escaped, so the first '>' closes the tag.
  return text.find('>', start);
}

size_t ElementEnd(std::string_view text, size_t start) {
  size_t pos = start;
  int depth = 0;
  while (pos < text.size()) {
    const size_t lt = text.find('<', pos);
    if (lt == npos) return npos;
    const size_t gt = text.find('>', lt);
    if (gt == npos) return npos;
    const bool closing = lt + 1 < text.size() && text[lt + 1] == '/';
    const bool selfClosing = text[gt - 1] == '/';
    const bool special = lt + 1 < text.size() && (text[lt + 1] == '?' || text[lt + 1] == '!');
    if (!special) {
      if (closing) --depth;
      else if (!selfClosing) ++depth;
      if (depth == 0) return gt + 1;
    }
    pos = gt + 1;
  }
  return npos;
}

size_t FindStartTag(std::string_view text, std::string_view name, size_t from, size_t to) {
  if (to > text.size()) to = text.size();
  std::string open = "<";
  open += name;
  size_t pos = from;
  while (pos < to) {
    const size_t hit = text.find(open, pos);
    if (hit == npos || hit >= to) return npos;
    const size_t after = hit + open.size();
    if (after < text.size() && IsNameEnd(text[after])) return hit;
    pos = hit + 1;
  }
  return npos;
}

bool ElementValue(std::string_view text, std::string_view name, size_t from, size_t to, std::string& value) {
  const size_t start = FindStartTag(text, name, from, to);
  if (start == npos) return false;
  const size_t tagEnd = StartTagEnd(text, start);
  if (tagEnd == npos) return false;
  if (text[tagEnd - 1] == '/') {
    value.clear();
    return true;
  }
  const size_t end = ElementEnd(text, start);
  if (end == npos) return false;
  const size_t closeStart = text.rfind("</", end - 1);
  std::string_view inner = text.substr(tagEnd + 1, closeStart - tagEnd - 1);
  if (inner.find('<') != npos) {
    // A reference carried as a dependency record: its key value is the value.
    std::string dependencyValue;
    if (ElementValue(inner, "fValue", 0, inner.size(), dependencyValue)) {
      value = std::move(dependencyValue);
      return true;
    }
  }
  value = DecodeXmlText(inner);
  return true;
}

size_t RootElement(std::string_view text) {
  size_t pos = 0;
  while (true) {
    pos = text.find('<', pos);
    if (pos == npos || pos + 1 >= text.size()) return npos;
    if (text[pos + 1] != '?' && text[pos + 1] != '!' && text[pos + 1] != '/') return pos;
    pos = text.find('>', pos);
    if (pos == npos) return npos;
  }
}

std::string_view TagName(std::string_view text, size_t start) {
  size_t end = start + 1;
  while (end < text.size() && !IsNameEnd(text[end])) ++end;
  return text.substr(start + 1, end - start - 1);
}

bool ElementContent(std::string_view text, size_t start, size_t& begin, size_t& end, size_t& after) {
  const size_t tagEnd = StartTagEnd(text, start);
  if (tagEnd == npos) return false;
  if (text[tagEnd - 1] == '/') {
    begin = end = after = tagEnd + 1;
    return true;
  }
  after = ElementEnd(text, start);
  if (after == npos) return false;
  begin = tagEnd + 1;
  end = text.rfind("</", after - 1);
  if (end == npos || end < begin) end = begin;
  return true;
}

namespace {
// The next element start at or after `pos`, before the parent's end tag.
size_t ElementAtOrAfter(std::string_view text, size_t pos) {
  while (true) {
    pos = text.find('<', pos);
    if (pos == npos || pos + 1 >= text.size() || text[pos + 1] == '/') return npos;
    if (text[pos + 1] != '?' && text[pos + 1] != '!') return pos;
    pos = text.find('>', pos);
    if (pos == npos) return npos;
  }
}
}  // namespace

size_t FirstChildElement(std::string_view text, size_t start) {
  size_t begin, end, after;
  if (!ElementContent(text, start, begin, end, after) || begin == end) return npos;
  return ElementAtOrAfter(text, begin);
}

size_t NextSiblingElement(std::string_view text, size_t start) {
  const size_t end = ElementEnd(text, start);
  return end == npos ? npos : ElementAtOrAfter(text, end);
}

size_t FindDescendant(std::string_view text, size_t start, std::string_view name) {
  size_t begin, end, after;
  if (!ElementContent(text, start, begin, end, after)) return npos;
  size_t found = FindStartTag(text, name, begin, end);
  if (found != npos) return found;
  std::string upper(name);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper == name ? npos : FindStartTag(text, upper, begin, end);
}

size_t FindChild(std::string_view text, size_t start, std::string_view name) {
  for (size_t child = FirstChildElement(text, start); child != npos; child = NextSiblingElement(text, child)) {
    const std::string_view tag = TagName(text, child);
    if (tag.size() == name.size() &&
        std::equal(tag.begin(), tag.end(), name.begin(), [](char a, char b) {
          auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
          return lower(a) == lower(b);
        }))
      return child;
  }
  return npos;
}

std::string FirstText(std::string_view text, size_t start) {
  size_t begin, end, after;
  if (!ElementContent(text, start, begin, end, after)) return {};
  const size_t lt = text.find('<', begin);
  return DecodeXmlText(text.substr(begin, (lt == npos || lt > end ? end : lt) - begin));
}

bool IsNil(std::string_view text, size_t start) {
  const size_t end = StartTagEnd(text, start);
  if (end == npos) return false;
  const std::string_view tag = text.substr(start, end - start);
  for (size_t at = tag.find("nil="); at != npos; at = tag.find("nil=", at + 1)) {
    if (!IsNameEnd(tag[at - 1])) continue;  // another attribute whose name ends in "nil"
    const std::string_view value = tag.substr(at + 4);
    return value.rfind("\"true\"", 0) == 0 || value.rfind("'true'", 0) == 0;
  }
  return false;
}

bool HasChildElement(std::string_view text, size_t start) { return FirstChildElement(text, start) != npos; }

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\r': out += "&#xD;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string TextElement(std::string_view name, std::string_view text) {
  std::string out = "<";
  out += name;
  if (text.empty()) return out + "/>";
  out += '>';
  out += EscapeText(text);
  out += "</";
  out += name;
  out += '>';
  return out;
}

std::string WithoutDependencyRecords(std::string_view xml, std::string_view field) {
  std::string out;
  size_t copied = 0;
  // Rows do not nest, except inside a dependency record, which goes whole.
  for (size_t row = FindStartTag(xml, "row", 0, xml.size()); row != npos;) {
    const size_t rowEnd = ElementEnd(xml, row);
    if (rowEnd == npos) return std::string(xml);
    for (size_t child = FirstChildElement(xml, row); child != npos; child = NextSiblingElement(xml, child)) {
      if (!HasChildElement(xml, child) || (!field.empty() && TagName(xml, child) != field)) continue;
      const size_t end = ElementEnd(xml, child);
      if (end == npos) return std::string(xml);
      out.append(xml.substr(copied, child - copied));
      copied = end;
    }
    row = FindStartTag(xml, "row", rowEnd, xml.size());
  }
  if (copied == 0) return std::string(xml);
  out.append(xml.substr(copied));
  return out;
}

}  // namespace dpx::recordtext
