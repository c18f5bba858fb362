// Text-level helpers over stored record XML, as the configuration reader
// leaves it: every text and attribute value escaped, no white space between
// elements, no declaration. A literal "<" therefore always starts a tag.
#pragma once

#include <string>
#include <string_view>

namespace dpx::recordtext {

constexpr size_t npos = std::string_view::npos;

// Replaces the five XML entities and numeric character references in one
// pass ("&amp;lt;" gives "&lt;", never "<").
std::string DecodeXmlText(std::string_view text);

// For the start tag that begins at `start` (text[start] == '<'): the position
// just after its matching end tag (just after the tag itself when it is
// self-closing); npos when the element is not closed within the text.
size_t ElementEnd(std::string_view text, size_t start);

// The position of the first start tag of `name` (as "<name>", "<name/>" or
// "<name " with attributes) at or after `from` and before `to`; npos if none.
size_t FindStartTag(std::string_view text, std::string_view name, size_t from, size_t to);

// The value of the first element `name` inside text[from, to): its decoded
// text, or, when it holds a dependency record, the text of the record's first
// "fValue". False when there is no such element.
bool ElementValue(std::string_view text, std::string_view name, size_t from, size_t to, std::string& value);

// The end of the start tag that begins at `start`: the position of its '>'.
size_t StartTagEnd(std::string_view text, size_t start);

}  // namespace dpx::recordtext
