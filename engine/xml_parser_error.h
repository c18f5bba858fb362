// Collects the XML library's error reports of a parse as a small XML text,
// "<ErrorList><Error>...</Error>...</ErrorList>", that callers write to their log.
#pragma once

#include <string>

#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/sax/SAXParseException.hpp>

class DPX_XmlParserError : public xercesc::ErrorHandler {
 public:
  DPX_XmlParserError() = default;
  ~DPX_XmlParserError() override = default;

  void warning(const xercesc::SAXParseException& e) override;
  void error(const xercesc::SAXParseException& e) override;
  void fatalError(const xercesc::SAXParseException& e) override;
  // The parser calls this at the start of every parse; errors are kept until
  // getErrors clears them, so it does nothing.
  void resetErrors() override {}

  // "<ErrorList>" + the collected error entries + "</ErrorList>"; with clear
  // the entries are emptied afterwards.
  std::string getErrors(bool clear);

  // The first error since the last getErrors with clear, as "line L, column
  // C: message"; empty when there was none.
  const std::string& firstError() const { return first_; }

  // Warnings are kept apart from the errors; only diagnostics read them.
  const std::string& warnings() const { return warnings_; }

 private:
  std::string errors_;
  std::string first_;
  std::string warnings_;
};
