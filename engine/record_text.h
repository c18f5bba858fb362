// Text-level helpers over record XML as this program and the host write it:
// every text and attribute value escaped, no CDATA, no comments inside a
// record. A literal "<" therefore always starts a tag, and a record can be
// read and edited without building a document of it.
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

// --- Walking the elements of a record -----------------------------------------
// Positions are those of start tags ('<'); npos stands for "none".

// The first element of the text (after a declaration); npos when there is none.
size_t RootElement(std::string_view text);
// The name of the element whose start tag begins at `start`.
std::string_view TagName(std::string_view text, size_t start);
// The first child element of the element at `start`.
size_t FirstChildElement(std::string_view text, size_t start);
// The element after the element at `start` under the same parent.
size_t NextSiblingElement(std::string_view text, size_t start);
// The first descendant of the element at `start` named `name`, in document
// order; when there is none, the first named `name` in upper case.
size_t FindDescendant(std::string_view text, size_t start, std::string_view name);
// The first child element of the element at `start` named `name`, ASCII case ignored.
size_t FindChild(std::string_view text, size_t start, std::string_view name);
// Where the content of the element at `start` lies: [begin, end) between
// its start and end tag (begin == end for an empty or self-closing one),
// and `after` just past its end tag. False when the element is not closed.
bool ElementContent(std::string_view text, size_t start, size_t& begin, size_t& end, size_t& after);
// The decoded text before the first child element of the element at `start`
// ("" when it starts with an element or is empty): the value of a field.
std::string FirstText(std::string_view text, size_t start);
// Whether the element at `start` is marked as holding no value (nil="true"),
// which is NULL, not an empty text.
bool IsNil(std::string_view text, size_t start);
// Whether the element at `start` holds an element.
bool HasChildElement(std::string_view text, size_t start);
// Escapes element text as a document writer does: "&", "<", ">" and CR.
std::string EscapeText(std::string_view text);
// An element with a text: <name>escaped text</name>; <name/> without one.
std::string TextElement(std::string_view name, std::string_view text);

// The record without the dependency records its rows hold in place of values
// (the fields of a "row" that hold elements); with a field name, only those of
// that field. A record that is not well formed comes back as it is.
std::string WithoutDependencyRecords(std::string_view xml, std::string_view field = {});

}  // namespace dpx::recordtext
