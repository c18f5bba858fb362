// Documents none of the program's files would ever be: a DOCTYPE in any form
// (the entity bombs among them) or nesting far deeper than the formats. Both
// wrappers refuse them at once, from memory and from files, and say where.
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/sax2/DefaultHandler.hpp>

#include "engine/dom_parser.h"
#include "engine/sax_parser.h"
#include "engine/xml_input_guard.h"
#include "platform/framework/text.h"
#include "tests/support/test_dir.h"

namespace {

std::string Nested(size_t depth) {
  std::string xml;
  for (size_t i = 0; i < depth; ++i) xml += "<e>";
  for (size_t i = 0; i < depth; ++i) xml += "</e>";
  return xml;
}

// An ATTLIST default that names an entity of entities: about 1.2 KB that
// would expand to gigabytes.
std::string AttlistBomb() {
  std::string xml = "<!DOCTYPE r [<!ENTITY a0 \"" + std::string(100, 'x') + "\">";
  for (int i = 1; i <= 10; ++i) {
    xml += "<!ENTITY a" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) xml += "&a" + std::to_string(i - 1) + ";";
    xml += "\">";
  }
  return xml + "<!ATTLIST r x CDATA \"&a10;\">]><r/>";
}

// Many references to one large entity.
std::string ManyReferences(size_t references, size_t entitySize) {
  std::string xml = "<!DOCTYPE r [<!ENTITY big \"" + std::string(entitySize, 'y') + "\">]><r>";
  for (size_t i = 0; i < references; ++i) xml += "&big;";
  return xml + "</r>";
}

struct Hostile {
  const char* name;
  std::string xml;
  const char* reason;  // what the refusal says
};

std::vector<Hostile> HostileDocuments() {
  return {
      {"internal subset", "<!DOCTYPE r [<!ELEMENT r ANY>]><r/>", "DOCTYPE"},
      {"system id", "<!DOCTYPE r SYSTEM \"r.dtd\"><r/>", "DOCTYPE"},
      {"public id", "<!DOCTYPE r PUBLIC \"-//x//y\" \"r.dtd\"><r/>", "DOCTYPE"},
      {"bare", "<!DOCTYPE r><r/>", "DOCTYPE"},
      {"after a declaration and a comment", "<?xml version=\"1.0\"?><!-- c --><!DOCTYPE r><r/>", "DOCTYPE"},
      {"attlist default bomb", AttlistBomb(), "DOCTYPE"},
      {"many references", ManyReferences(2000, 5000), "DOCTYPE"},
      {"too deep", Nested(DPX_XmlInputGuard::kMaxDepth + 1), "levels deep"},
      {"too deep, innermost empty", Nested(DPX_XmlInputGuard::kMaxDepth) .insert(DPX_XmlInputGuard::kMaxDepth * 3,
                                                                                "<x/>"),
       "levels deep"},
  };
}

class Counter : public xercesc::DefaultHandler {
 public:
  int fatal = 0;
  std::string message;
  int line = 0;
  void fatalError(const xercesc::SAXParseException& e) override {
    ++fatal;
    message = dpx::Utf16ToUtf8(e.getMessage());
    line = static_cast<int>(e.getLineNumber());
  }
};

TEST(HostileXml, RefusedByBothWrappersFromMemoryAndFile) {
  dpx::test::TestDir dir;
  for (const auto& doc : HostileDocuments()) {
    SCOPED_TRACE(doc.name);
    DPX_DOMParser dom;
    EXPECT_FALSE(dom.loadXML(doc.xml));
    EXPECT_NE(dom.getErrors().find(doc.reason), std::string::npos);

    Counter counter;
    DPX_SAXParser sax;
    sax.setContentHandler(&counter);
    sax.setErrorHandler(&counter);
    EXPECT_FALSE(sax.loadXML(doc.xml));
    EXPECT_EQ(counter.fatal, 1);
    EXPECT_NE(counter.message.find(doc.reason), std::string::npos) << counter.message;

    const auto path = dir / "hostile.xml";
    ASSERT_TRUE(dpx::WriteUtf16File(path, doc.xml, true));
    DPX_DOMParser fromFile;
    EXPECT_FALSE(fromFile.parseFile(path.string()));
    const std::string errors = fromFile.getErrors();
    EXPECT_NE(errors.find("System Id = " + path.string() + ", Line Number = 1"), std::string::npos) << errors;
    EXPECT_NE(errors.find(doc.reason), std::string::npos) << errors;
  }
}

TEST(HostileXml, TheRefusalSaysWhere) {
  Counter counter;
  DPX_SAXParser sax;
  sax.setErrorHandler(&counter);
  EXPECT_FALSE(sax.loadXML("<?xml version=\"1.0\"?>\n\n<!DOCTYPE r>\n<r/>"));
  EXPECT_EQ(counter.line, 3);
}

TEST(HostileXml, DepthUpToTheCapAndNamesWithColonsStillRead) {
  DPX_DOMParser dom;
  EXPECT_TRUE(dom.loadXML(Nested(DPX_XmlInputGuard::kMaxDepth))) << dom.getErrors();
  // A wrapper reads one document after another: the count starts again.
  EXPECT_TRUE(dom.loadXML(Nested(DPX_XmlInputGuard::kMaxDepth))) << dom.getErrors();

  // The formats use no namespaces: a prefix is just part of the name.
  class Names : public xercesc::DefaultHandler {
   public:
    std::vector<std::string> names;
    void startElement(const XMLCh*, const XMLCh* localname, const XMLCh* qname, const xercesc::Attributes&) override {
      names.push_back(dpx::Utf16ToUtf8(localname) + "/" + dpx::Utf16ToUtf8(qname));
    }
  } names;
  DPX_SAXParser sax;
  sax.setContentHandler(&names);
  ASSERT_TRUE(sax.loadXML(Nested(DPX_XmlInputGuard::kMaxDepth)));
  ASSERT_TRUE(sax.loadXML("<a:b><c/></a:b>"));
  ASSERT_GE(names.names.size(), 2u);
  EXPECT_EQ(names.names[names.names.size() - 2].substr(names.names[names.names.size() - 2].find('/')), "/a:b");
}

}  // namespace
