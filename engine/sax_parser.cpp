#include "engine/sax_parser.h"

#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/sax2/XMLReaderFactory.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLUni.hpp>

DPX_SAXParser::DPX_SAXParser() {
  xercesc::SAX2XMLReader* reader = xercesc::XMLReaderFactory::createXMLReader();
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
