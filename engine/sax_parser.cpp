#include "engine/sax_parser.h"

#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/sax2/ContentHandler.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "engine/xml_input_guard.h"

namespace {

// Hands every event to the caller's content handler (when there is one) and
// keeps the document locator, so that a refusal can say where it happened.
class LocatingHandler : public xercesc::ContentHandler {
 public:
  xercesc::ContentHandler* target = nullptr;
  const xercesc::Locator* locator = nullptr;

  void characters(const XMLCh* const chars, const XMLSize_t length) override {
    if (target) target->characters(chars, length);
  }
  void endDocument() override {
    if (target) target->endDocument();
  }
  void endElement(const XMLCh* const uri, const XMLCh* const localname, const XMLCh* const qname) override {
    if (target) target->endElement(uri, localname, qname);
  }
  void ignorableWhitespace(const XMLCh* const chars, const XMLSize_t length) override {
    if (target) target->ignorableWhitespace(chars, length);
  }
  void processingInstruction(const XMLCh* const name, const XMLCh* const data) override {
    if (target) target->processingInstruction(name, data);
  }
  void setDocumentLocator(const xercesc::Locator* const where) override {
    locator = where;
    if (target) target->setDocumentLocator(where);
  }
  void startDocument() override {
    if (target) target->startDocument();
  }
  void startElement(const XMLCh* const uri, const XMLCh* const localname, const XMLCh* const qname,
                    const xercesc::Attributes& attrs) override {
    if (target) target->startElement(uri, localname, qname, attrs);
  }
  void startPrefixMapping(const XMLCh* const prefix, const XMLCh* const uri) override {
    if (target) target->startPrefixMapping(prefix, uri);
  }
  void endPrefixMapping(const XMLCh* const prefix) override {
    if (target) target->endPrefixMapping(prefix);
  }
  void skippedEntity(const XMLCh* const name) override {
    if (target) target->skippedEntity(name);
  }
};

// The library's SAX2 reader, refusing what none of the program's documents
// holds (a DOCTYPE, deep nesting) before it is expanded or reported.
class GuardedSAX2Reader : public DPX_GuardedParser<xercesc::SAX2XMLReaderImpl> {
 public:
  GuardedSAX2Reader() {
    SAX2XMLReaderImpl::setContentHandler(&events_);
    // The reader hears of a DOCTYPE only while it has a lexical handler.
    SAX2XMLReaderImpl::setLexicalHandler(&lexical_);
  }

  void setContentHandler(xercesc::ContentHandler* const handler) override { events_.target = handler; }
  xercesc::ContentHandler* getContentHandler() const override { return events_.target; }

 protected:
  const xercesc::Locator* where() const override { return events_.locator; }

 private:
  LocatingHandler events_;
  xercesc::DefaultHandler lexical_;
};

}  // namespace

DPX_SAXParser::DPX_SAXParser() {
  xercesc::SAX2XMLReader* reader = new GuardedSAX2Reader();
  // The program's formats use no namespaces; resolving prefixes would only
  // cost time on every element.
  reader->setFeature(xercesc::XMLUni::fgSAX2CoreNameSpaces, false);
  // Files come from other people: nothing outside the document is read.
  reader->setFeature(xercesc::XMLUni::fgXercesLoadExternalDTD, false);
  reader->setFeature(xercesc::XMLUni::fgXercesLoadSchema, false);
  reader->setFeature(xercesc::XMLUni::fgXercesDisableDefaultEntityResolution, true);
  reader->setProperty(xercesc::XMLUni::fgXercesSecurityManager, m_security.get());
  reader->setErrorHandler(m_errors.get());
  m_saxReader = reader;
}

DPX_SAXParser::~DPX_SAXParser() {
  delete m_saxReader;
  m_saxReader = nullptr;
}

void DPX_SAXParser::setContentHandler(xercesc::ContentHandler* handler) { m_saxReader->setContentHandler(handler); }

void DPX_SAXParser::setErrorHandler(xercesc::ErrorHandler* handler) {
  m_saxReader->setErrorHandler(handler ? handler : m_errors.get());
}
