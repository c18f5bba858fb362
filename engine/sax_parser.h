// Streams a document to the caller's SAX handlers (configuration files); keeps
// no document of its own.
#pragma once

#include <string>

#include "engine/xml_parser.h"

XERCES_CPP_NAMESPACE_BEGIN
class ContentHandler;
class ErrorHandler;
XERCES_CPP_NAMESPACE_END

class DPX_SAXParser : public DPX_XmlParser {
 public:
  DPX_SAXParser();
  ~DPX_SAXParser() override;

  std::string serialize(bool) override { return ""; }
  void resetCursor() override {}
  std::string writeDeclaration() override { return kDeclaration; }

  // The handlers stay the caller's. Until the caller sets an error handler the
  // wrapper's own collector takes the reports, so getErrors explains a failure.
  void setContentHandler(xercesc::ContentHandler* handler);
  void setErrorHandler(xercesc::ErrorHandler* handler);
};
