// A parsed document with a cursor (the current node): cursor moves, reads and
// edits for record XML, dependency records and worksheet files. The cursor is
// a plain node pointer into the document: callers remember it with getCursor
// and return there with setCursor.
#pragma once

#include <cstdint>
#include <string>

#include "engine/xml_parser.h"

XERCES_CPP_NAMESPACE_BEGIN
class DOMDocument;
class DOMNode;
class DOMNodeList;
XERCES_CPP_NAMESPACE_END

class DPX_DOMParser : public DPX_XmlParser {
 public:
  DPX_DOMParser();
  ~DPX_DOMParser() override;

  // The current node and its subtree; "ERROR" without a cursor.
  std::string serialize(bool withDeclaration) override;
  void resetCursor() override;
  // The declaration when there is a document, else "".
  std::string writeDeclaration() override;

  // direction 0: first child (forward) or parent; direction 1: next or previous
  // sibling. Text and comment nodes are passed over. False (cursor unchanged)
  // when there is no such node or the direction is unknown.
  bool move(int direction, bool forward);
  // The next sibling of any kind.
  bool gotoNextSibling();
  // The index-th child node of any kind; without one the cursor becomes none.
  bool gotoChild(int32_t index);
  // Searches the current element's descendants for elements named tag (then
  // for tag in upper case); moves to the first one found; returns the count.
  uint32_t findElement(const std::string& tag);

  // The current node's name; "ERROR" without a cursor.
  std::string getNodeName();
  // The value of the current node's first child ("" when it has none or it is
  // an element); "ERROR" without a cursor.
  std::string getText();
  // True with the value when the current node has the attribute.
  bool getAttribute(const std::string& name, std::string& value);
  // The number of element children of the current node.
  int32_t countElements();

  // Appends an element (with an optional text and attribute) under the current node.
  bool addElement(const std::string& name, const std::string& text, const std::string& attributeName,
                  const std::string& attributeValue, bool moveToNew);
  bool addEmptyElement(const std::string& name, bool moveToNew);
  // Adds or replaces an attribute of the current element.
  bool addAttribute(const std::string& name, const std::string& value);
  // Sets the current node's value (no effect on an element, as in the DOM).
  void setText(const std::string& value);
  // Removes the current node; the cursor moves to its parent.
  bool removeCurrent();

  xercesc::DOMNode* getCursor() const { return m_cursor; }
  void setCursor(xercesc::DOMNode* node) { m_cursor = node; }
  xercesc::DOMDocument* getDocument() const { return m_document; }

 protected:
  void adoptParsedDocument() override;

 private:
  xercesc::DOMDocument* m_document = nullptr;  // owned: taken over from the library parser
  xercesc::DOMNode* m_cursor = nullptr;
  xercesc::DOMNodeList* m_nodeList = nullptr;  // owned by the document
};
