// Record XML reading and escaping. Deliberately small: elements, attributes,
// text, the five entities and character references, CDATA, comments and
// processing instructions. No DTDs: a document with one is refused.
#include "platform/host/record_xml.h"

#include <algorithm>

#include "platform/framework/host_error.h"
#include "platform/framework/text.h"
#include "platform/host/host_codes.h"

namespace dpx::host {

const XmlNode* XmlNode::child(const std::string& n) const {
  for (const auto& c : children)
    if (c->name == n) return c.get();
  return nullptr;
}

std::string XmlNode::attribute(const std::string& n) const {
  for (const auto& [k, v] : attributes)
    if (k == n) return v;
  return "";
}

bool XmlNode::isNil() const { return attribute("nil") == "true"; }

namespace {

class Parser {
 public:
  explicit Parser(const std::string& s) : s_(s) {}

  std::unique_ptr<XmlNode> document() {
    if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0) p_ = 3;
    skipMisc();
    if (p_ >= s_.size() || s_[p_] != '<') fail("no root element");
    auto root = element();
    skipMisc();
    if (p_ != s_.size()) fail("text after the root element");
    return root;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw HostError(kHrInvalidXml, "RecordXml", "Invalid XML at offset " + std::to_string(p_) + ": " + what);
  }

  bool at(const char* t) const { return s_.compare(p_, std::char_traits<char>::length(t), t) == 0; }

  void skipSpace() {
    while (p_ < s_.size() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\r' || s_[p_] == '\n')) ++p_;
  }

  void skipMisc() {
    for (;;) {
      skipSpace();
      if (at("<?")) {
        size_t e = s_.find("?>", p_);
        if (e == std::string::npos) fail("unterminated processing instruction");
        p_ = e + 2;
      } else if (at("<!--")) {
        size_t e = s_.find("-->", p_);
        if (e == std::string::npos) fail("unterminated comment");
        p_ = e + 3;
      } else if (at("<!DOCTYPE")) {
        fail("document type declarations are not accepted");
      } else {
        return;
      }
    }
  }

  static bool NameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == ':' || static_cast<unsigned char>(c) >= 0x80;
  }

  std::string name() {
    size_t b = p_;
    while (p_ < s_.size() && NameChar(s_[p_])) ++p_;
    if (b == p_) fail("name expected");
    return s_.substr(b, p_ - b);
  }

  void entity(std::string& out) {
    size_t e = s_.find(';', p_);
    if (e == std::string::npos || e - p_ > 12) fail("bad entity");
    std::string ent = s_.substr(p_ + 1, e - p_ - 1);
    p_ = e + 1;
    if (ent == "amp") out += '&';
    else if (ent == "lt") out += '<';
    else if (ent == "gt") out += '>';
    else if (ent == "quot") out += '"';
    else if (ent == "apos") out += '\'';
    else if (ent.size() > 1 && ent[0] == '#') {
      uint32_t cp = 0;
      bool hex = ent[1] == 'x' || ent[1] == 'X';
      for (size_t i = hex ? 2 : 1; i < ent.size(); ++i) {
        char c = ent[i];
        int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                : hex && std::isxdigit(static_cast<unsigned char>(c)) ? (std::tolower(c) - 'a' + 10)
                                                                        : -1;
        if (d < 0) fail("bad character reference");
        cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(d);
        if (cp > 0x10FFFF) fail("bad character reference");
      }
      // No NUL and no lone surrogate: neither is a character XML can carry.
      if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) fail("character reference &" + ent + "; names no character");
      std::u16string unit;
      if (cp < 0x10000) {
        unit += static_cast<char16_t>(cp);
      } else {
        unit += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        unit += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
      }
      out += Utf16ToUtf8(unit);
    } else {
      fail("unknown entity &" + ent + ";");
    }
  }

  std::unique_ptr<XmlNode> element() {
    if (++depth_ > 200) fail("nesting too deep");
    ++p_;   // '<'
    auto node = std::make_unique<XmlNode>();
    node->name = name();
    for (;;) {
      skipSpace();
      if (p_ >= s_.size()) fail("unterminated start tag");
      if (at("/>")) {
        p_ += 2;
        --depth_;
        return node;
      }
      if (s_[p_] == '>') {
        ++p_;
        break;
      }
      std::string key = name();
      skipSpace();
      if (p_ >= s_.size() || s_[p_] != '=') fail("'=' expected");
      ++p_;
      skipSpace();
      if (p_ >= s_.size() || (s_[p_] != '"' && s_[p_] != '\'')) fail("quoted attribute value expected");
      char q = s_[p_++];
      std::string value;
      while (p_ < s_.size() && s_[p_] != q) {
        if (s_[p_] == '&') entity(value);
        else if (s_[p_] == '<') fail("'<' in attribute value");
        else value += s_[p_++];
      }
      if (p_ >= s_.size()) fail("unterminated attribute value");
      ++p_;
      node->attributes.emplace_back(std::move(key), std::move(value));
    }
    for (;;) {
      if (p_ >= s_.size()) fail("unterminated element <" + node->name + ">");
      if (s_[p_] != '<' && s_[p_] != '&') {
        // A run of plain text goes in at once.
        const size_t end = std::min(s_.find_first_of("<&", p_), s_.size());
        node->text.append(s_, p_, end - p_);
        p_ = end;
        continue;
      }
      if (at("</")) {
        p_ += 2;
        std::string end = name();
        if (end != node->name) fail("</" + end + "> closes <" + node->name + ">");
        skipSpace();
        if (p_ >= s_.size() || s_[p_] != '>') fail("'>' expected");
        ++p_;
        --depth_;
        return node;
      }
      if (at("<!--")) {
        size_t e = s_.find("-->", p_);
        if (e == std::string::npos) fail("unterminated comment");
        p_ = e + 3;
      } else if (at("<![CDATA[")) {
        size_t e = s_.find("]]>", p_);
        if (e == std::string::npos) fail("unterminated CDATA");
        node->text += s_.substr(p_ + 9, e - p_ - 9);
        p_ = e + 3;
      } else if (at("<?")) {
        size_t e = s_.find("?>", p_);
        if (e == std::string::npos) fail("unterminated processing instruction");
        p_ = e + 2;
      } else if (s_[p_] == '<') {
        node->children.push_back(element());
      } else {
        entity(node->text);
      }
    }
  }

  const std::string& s_;
  size_t p_ = 0;
  int depth_ = 0;
};

}  // namespace

std::unique_ptr<XmlNode> RecordXml::Parse(const std::string& xml) { return Parser(xml).document(); }

std::string RecordXml::Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      case '\r': out += "&#13;"; break;  // a literal CR would be read as a line end
      default: out += c;
    }
  }
  return out;
}

}  // namespace dpx::host
