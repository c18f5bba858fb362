// The common base of the program's XML wrappers over the Xerces-C library:
// it owns the error collector, loads XML text from memory or from a file and
// writes the current node to a file. DPX_DOMParser keeps a document and a
// cursor; DPX_SAXParser streams a document to the caller's handlers.
//
// Texts are UTF-8 inside the program; conversion to the library's UTF-16
// happens here. Documents come from users, so the parsers never load external
// DTDs or resolve external entities, and entity expansion is limited.
#pragma once

#include <memory>
#include <string>

#include <xercesc/util/XercesDefs.hpp>

#include "engine/xml_parser_error.h"

XERCES_CPP_NAMESPACE_BEGIN
class XercesDOMParser;
class SAX2XMLReader;
class SecurityManager;
class InputSource;
XERCES_CPP_NAMESPACE_END

class DPX_XmlParser {
 public:
  // "<?xml version="1.0" encoding="UTF-16"?>": the program's documents are
  // UTF-16 when they leave it.
  static const char* const kDeclaration;
  // The system id of documents loaded from memory.
  static const char* const kMemorySystemId;

  virtual ~DPX_XmlParser();
  DPX_XmlParser(const DPX_XmlParser&) = delete;
  DPX_XmlParser& operator=(const DPX_XmlParser&) = delete;

  // The current node with its subtree as text, the declaration first when asked.
  virtual std::string serialize(bool withDeclaration) = 0;
  // Puts the cursor on the document's first node; run after every successful parse.
  virtual void resetCursor() = 0;
  virtual std::string writeDeclaration() = 0;

  // Parses a whole document held in text (UTF-8, whatever encoding its
  // declaration names). True when it parsed without an error.
  bool loadXML(const std::string& text);
  // Parses the file at path (its encoding is detected from its bytes).
  bool parseFile(const std::string& path);
  // Writes a byte-order mark, the declaration and the current node as UTF-16LE.
  // The file is replaced only when the whole text was written; false otherwise.
  bool saveToFile(const std::string& path);
  // The collected errors as "<ErrorList>...</ErrorList>"; clears them.
  std::string getErrors();
  // The first error of the collected ones, "line L, column C: message".
  const std::string& firstError() const { return m_errors->firstError(); }

 protected:
  DPX_XmlParser();
  // Called after a successful parse, before resetCursor: the DOM wrapper takes
  // the new document over from the library parser.
  virtual void adoptParsedDocument() {}

  std::unique_ptr<DPX_XmlParserError> m_errors;
  std::unique_ptr<xercesc::SecurityManager> m_security;
  xercesc::XercesDOMParser* m_domParser = nullptr;  // owned by DPX_DOMParser
  xercesc::SAX2XMLReader* m_saxReader = nullptr;     // owned by DPX_SAXParser
  // While true, move() passes over text and comment nodes.
  bool m_skipText = true;

 private:
  bool parse(const xercesc::InputSource& source);
};
