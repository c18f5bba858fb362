// A small reader and writer for the host's record XML (BOM / BO / AdmInfo /
// table elements / row / fields). The host keeps no dependency on the
// program's XML layer; this is all the XML it needs.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace dpx::host {

struct XmlNode {
  std::string name;
  std::string text;                                       // text content (decoded)
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<std::unique_ptr<XmlNode>> children;

  const XmlNode* child(const std::string& n) const;       // first child of that name
  std::string attribute(const std::string& n) const;
  bool isNil() const;                                     // nil="true"
};

class RecordXml {
 public:
  // Parses a document; a declaration (any encoding name) and a byte-order
  // mark are skipped. Raises HostError(kHrInvalidXml) with the place of the fault.
  static std::unique_ptr<XmlNode> Parse(const std::string& xml);
  // Escapes &, <, >, " and ' for element text, and CR as a character reference.
  static std::string Escape(const std::string& text);
  // The declaration the host writes before record XML.
  static constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>";
};

}  // namespace dpx::host
