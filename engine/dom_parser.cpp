#include "engine/dom_parser.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/internal/XMLScanner.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLUni.hpp>

#include "engine/xml_input_guard.h"
#include "platform/framework/text.h"

namespace {

// The library's DOM parser, refusing what none of the program's documents
// holds (a DOCTYPE, deep nesting) before it is expanded or built.
class GuardedDOMParser : public DPX_GuardedParser<xercesc::XercesDOMParser> {
 protected:
  const xercesc::Locator* where() const override { return getScanner()->getLocator(); }
};

using xercesc::DOMNode;

std::u16string W(const std::string& s) { return dpx::Utf8ToUtf16(s); }
std::string N(const XMLCh* s) { return s ? dpx::Utf16ToUtf8(s) : std::string(); }

bool Skippable(const DOMNode* node) {
  const auto type = node->getNodeType();
  return type == DOMNode::TEXT_NODE || type == DOMNode::COMMENT_NODE;
}

std::string UpperAscii(std::string s) {
  for (auto& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

}  // namespace

DPX_DOMParser::DPX_DOMParser() {
  auto* parser = new GuardedDOMParser();
  parser->setValidationScheme(xercesc::XercesDOMParser::Val_Auto);
  parser->setDoNamespaces(false);
  parser->setDoSchema(false);
  parser->setValidationSchemaFullChecking(false);
  parser->setCreateEntityReferenceNodes(true);
  // Files come from other people: nothing outside the document is read.
  parser->setLoadExternalDTD(false);
  parser->setLoadSchema(false);
  parser->setDisableDefaultEntityResolution(true);
  parser->setSecurityManager(m_security.get());
  parser->setErrorHandler(m_errors.get());
  m_domParser = parser;
}

DPX_DOMParser::~DPX_DOMParser() {
  if (m_document) m_document->release();
  delete m_domParser;
  m_domParser = nullptr;
}

void DPX_DOMParser::adoptParsedDocument() {
  xercesc::DOMDocument* parsed = m_domParser->adoptDocument();
  if (!parsed || parsed == m_document) return;
  if (m_document) m_document->release();
  m_document = parsed;
  m_cursor = nullptr;
  m_nodeList = nullptr;
}

void DPX_DOMParser::resetCursor() {
  try {
    if (!m_document) return;
    m_nodeList = m_document->getChildNodes();
    m_cursor = m_document->getFirstChild();
  } catch (...) {
  }
}

std::string DPX_DOMParser::writeDeclaration() { return m_document ? kDeclaration : ""; }

bool DPX_DOMParser::move(int direction, bool forward) {
  if (!m_cursor) return false;
  DOMNode* node = nullptr;
  if (direction == 0) node = forward ? m_cursor->getFirstChild() : m_cursor->getParentNode();
  else if (direction == 1) node = forward ? m_cursor->getNextSibling() : m_cursor->getPreviousSibling();
  else return false;
  while (node && m_skipText && Skippable(node)) node = forward ? node->getNextSibling() : node->getPreviousSibling();
  if (!node) return false;
  m_cursor = node;
  return true;
}

bool DPX_DOMParser::gotoNextSibling() {
  if (!m_cursor) return false;
  DOMNode* next = m_cursor->getNextSibling();
  if (!next) return false;
  m_cursor = next;
  return true;
}

bool DPX_DOMParser::gotoChild(int32_t index) {
  if (!m_cursor) return false;
  m_nodeList = m_cursor->getChildNodes();
  m_cursor = index >= 0 && m_nodeList ? m_nodeList->item(static_cast<XMLSize_t>(index)) : nullptr;
  return m_cursor != nullptr;
}

uint32_t DPX_DOMParser::findElement(const std::string& tag) {
  if (!m_cursor || m_cursor->getNodeType() != DOMNode::ELEMENT_NODE) return 0;
  auto* element = static_cast<xercesc::DOMElement*>(m_cursor);
  m_nodeList = element->getElementsByTagName(W(tag).c_str());
  if (!m_nodeList || m_nodeList->getLength() == 0)
    m_nodeList = element->getElementsByTagName(W(UpperAscii(tag)).c_str());
  const XMLSize_t count = m_nodeList ? m_nodeList->getLength() : 0;
  if (count == 0) return 0;
  m_cursor = m_nodeList->item(0);
  return static_cast<uint32_t>(count);
}

std::string DPX_DOMParser::getNodeName() { return m_cursor ? N(m_cursor->getNodeName()) : "ERROR"; }

std::string DPX_DOMParser::getText() {
  if (!m_cursor) return "ERROR";
  const DOMNode* child = m_cursor->getFirstChild();
  return child ? N(child->getNodeValue()) : std::string();
}

bool DPX_DOMParser::getAttribute(const std::string& name, std::string& value) {
  if (!m_cursor) return false;
  const xercesc::DOMNamedNodeMap* attributes = m_cursor->getAttributes();
  if (!attributes) return false;
  const DOMNode* attribute = attributes->getNamedItem(W(name).c_str());
  if (!attribute) return false;
  value = N(attribute->getNodeValue());
  return true;
}

int32_t DPX_DOMParser::countElements() {
  if (!m_cursor) return 0;
  int32_t count = 0;
  for (DOMNode* child = m_cursor->getFirstChild(); child; child = child->getNextSibling())
    if (child->getNodeType() == DOMNode::ELEMENT_NODE) ++count;
  return count;
}

bool DPX_DOMParser::addElement(const std::string& name, const std::string& text, const std::string& attributeName,
                               const std::string& attributeValue, bool moveToNew) {
  if (!m_cursor) return false;
  xercesc::DOMDocument* document =
      m_cursor->getNodeType() == DOMNode::DOCUMENT_NODE ? static_cast<xercesc::DOMDocument*>(m_cursor)
                                                        : m_cursor->getOwnerDocument();
  if (!document) return false;
  DOMNode* parent = m_cursor;
  try {
    xercesc::DOMElement* element = document->createElement(W(name).c_str());
    if (!element) return false;
    if (!attributeName.empty()) element->setAttribute(W(attributeName).c_str(), W(attributeValue).c_str());
    parent->appendChild(element);
    if (moveToNew) m_cursor = element;
    if (!text.empty()) {
      try {
        element->appendChild(document->createTextNode(W(text).c_str()));
      } catch (...) {
        parent->removeChild(element);
        m_cursor = parent;
        return false;
      }
    }
    return true;
  } catch (...) {
    // An invalid name, or a node that cannot hold elements.
    m_cursor = parent;
    return false;
  }
}

bool DPX_DOMParser::addEmptyElement(const std::string& name, bool moveToNew) {
  return addElement(name, "", "", "", moveToNew);
}

bool DPX_DOMParser::addAttribute(const std::string& name, const std::string& value) {
  if (!m_cursor || !m_cursor->getAttributes() || m_cursor->getNodeType() != DOMNode::ELEMENT_NODE) return false;
  try {
    static_cast<xercesc::DOMElement*>(m_cursor)->setAttribute(W(name).c_str(), W(value).c_str());
    return true;
  } catch (...) {
    return false;
  }
}

void DPX_DOMParser::setText(const std::string& value) {
  if (!m_cursor) return;
  try {
    m_cursor->setNodeValue(W(value).c_str());
  } catch (...) {
  }
}

bool DPX_DOMParser::removeCurrent() {
  if (!m_cursor) return false;
  DOMNode* parent = m_cursor->getParentNode();
  if (!parent) return false;
  try {
    // The removed node stays in the document's memory until the document goes,
    // so a position a caller remembered inside it never dangles.
    parent->removeChild(m_cursor);
  } catch (...) {
    return false;
  }
  m_cursor = parent;
  return true;
}

std::string DPX_DOMParser::serialize(bool withDeclaration) {
  if (!m_cursor) return "ERROR";
  std::string result = withDeclaration ? writeDeclaration() : std::string();
  xercesc::DOMImplementation* impl = xercesc::DOMImplementationRegistry::getDOMImplementation(u"LS");
  if (!impl) return result;
  xercesc::DOMLSSerializer* writer = impl->createLSSerializer();
  try {
    // The declaration is ours to write (it names the encoding the text leaves in).
    xercesc::DOMConfiguration* config = writer->getDomConfig();
    if (config->canSetParameter(xercesc::XMLUni::fgDOMXMLDeclaration, false))
      config->setParameter(xercesc::XMLUni::fgDOMXMLDeclaration, false);
    XMLCh* text = writer->writeToString(m_cursor);
    if (text) {
      result += dpx::Utf16ToUtf8(text);
      xercesc::XMLString::release(&text);
    }
  } catch (...) {
  }
  writer->release();
  return result;
}
