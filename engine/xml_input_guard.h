// What a document handed to the program may ask of the XML library. The
// program writes every file it reads (configuration files, worksheets, record
// texts), and none of them carries a document type declaration, the only
// place where entities could be declared, nor nests elements more than a
// few levels. A document that does either is refused while it is read, before
// the library expands an entity or builds a deep tree: the refusal is reported
// to the parser's error handler as a fatal error with line and column, and
// the parse stops.
#pragma once

#include <cstddef>
#include <string>

#include <xercesc/framework/XMLAttr.hpp>
#include <xercesc/framework/XMLElementDecl.hpp>
#include <xercesc/util/RefVectorOf.hpp>
#include <xercesc/util/XercesDefs.hpp>
#include <xercesc/validators/DTD/DTDElementDecl.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class ErrorHandler;
class Locator;
XERCES_CPP_NAMESPACE_END

class DPX_XmlInputGuard {
 public:
  // The program's deepest documents nest about fifteen elements.
  static constexpr size_t kMaxDepth = 256;

  // At the start of every document.
  void reset() { depth_ = 0; }
  [[noreturn]] void refuseDoctype(const xercesc::Locator* where, xercesc::ErrorHandler* handler) const;
  // An element starts; an empty element ends at once and is not counted on.
  void enter(bool isEmpty, const xercesc::Locator* where, xercesc::ErrorHandler* handler);
  void leave() {
    if (depth_ > 0) --depth_;
  }

 private:
  [[noreturn]] static void refuse(const std::string& message, const xercesc::Locator* where,
                                  xercesc::ErrorHandler* handler);

  size_t depth_ = 0;
};

// One of the library's parsers (the DOM parser or the SAX2 reader) with the
// guard at the scanner's side; `where` tells where the scanner is.
template <class Parser>
class DPX_GuardedParser : public Parser {
 public:
  void startDocument() override {
    guard_.reset();
    Parser::startDocument();
  }
  void doctypeDecl(const xercesc::DTDElementDecl&, const XMLCh* const, const XMLCh* const, const bool,
                   const bool) override {
    guard_.refuseDoctype(where(), this->getErrorHandler());
  }
  void startElement(const xercesc::XMLElementDecl& elemDecl, const unsigned int urlId, const XMLCh* const elemPrefix,
                    const xercesc::RefVectorOf<xercesc::XMLAttr>& attrList, const XMLSize_t attrCount,
                    const bool isEmpty, const bool isRoot) override {
    guard_.enter(isEmpty, where(), this->getErrorHandler());
    Parser::startElement(elemDecl, urlId, elemPrefix, attrList, attrCount, isEmpty, isRoot);
  }
  void endElement(const xercesc::XMLElementDecl& elemDecl, const unsigned int urlId, const bool isRoot,
                  const XMLCh* const elemPrefix) override {
    guard_.leave();
    Parser::endElement(elemDecl, urlId, isRoot, elemPrefix);
  }

 protected:
  virtual const xercesc::Locator* where() const = 0;

 private:
  DPX_XmlInputGuard guard_;
};
