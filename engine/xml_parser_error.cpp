#include "engine/xml_parser_error.h"

#include <cstdint>

#include <fmt/printf.h>

#include "platform/framework/text.h"

namespace {

std::string Utf8(const XMLCh* s) { return s ? dpx::Utf16ToUtf8(s) : std::string(); }

std::string Entry(const char* tag, const xercesc::SAXParseException& e) {
  return fmt::sprintf("<%s>System Id = %s, Line Number = %d, Column Number = %d, Description = %s</%s>", tag,
                      Utf8(e.getSystemId()), static_cast<int32_t>(e.getLineNumber()),
                      static_cast<int32_t>(e.getColumnNumber()), Utf8(e.getMessage()), tag);
}

std::string Where(const xercesc::SAXParseException& e) {
  return fmt::sprintf("line %d, column %d: %s", static_cast<int32_t>(e.getLineNumber()),
                      static_cast<int32_t>(e.getColumnNumber()), Utf8(e.getMessage()));
}

}  // namespace

void DPX_XmlParserError::warning(const xercesc::SAXParseException& e) { warnings_ += Entry("Warning", e); }

void DPX_XmlParserError::error(const xercesc::SAXParseException& e) {
  if (first_.empty()) first_ = Where(e);
  errors_ += Entry("Error", e);
}

void DPX_XmlParserError::fatalError(const xercesc::SAXParseException& e) {
  if (first_.empty()) first_ = Where(e);
  errors_ += Entry("Error", e);
}

std::string DPX_XmlParserError::getErrors(bool clear) {
  std::string list = "<ErrorList>" + errors_ + "</ErrorList>";
  if (clear) {
    errors_.clear();
    first_.clear();
  }
  return list;
}
