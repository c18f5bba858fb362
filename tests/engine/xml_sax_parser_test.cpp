// The SAX wrapper: events reach the caller's handlers, from memory and from
// files; failures are results with a reason; hostile documents read nothing else.
#include "engine/sax_parser.h"

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>

#include "engine/dom_parser.h"
#include "platform/framework/text.h"
#include "tests/support/test_dir.h"

namespace {

std::string U8(const XMLCh* s) { return s ? dpx::Utf16ToUtf8(s) : std::string(); }

// Records the elements and text it is given, and the errors.
class Recorder : public xercesc::DefaultHandler {
 public:
  std::vector<std::string> elements;
  std::string text;
  int errors = 0;

  void startElement(const XMLCh*, const XMLCh*, const XMLCh* qname, const xercesc::Attributes& attrs) override {
    std::string e = U8(qname);
    for (XMLSize_t i = 0; i < attrs.getLength(); ++i) e += " " + U8(attrs.getQName(i)) + "=" + U8(attrs.getValue(i));
    elements.push_back(e);
  }
  void characters(const XMLCh* chars, const XMLSize_t length) override {
    text += dpx::Utf16ToUtf8(std::u16string_view(chars, length));
  }
  void error(const xercesc::SAXParseException&) override { ++errors; }
  void fatalError(const xercesc::SAXParseException&) override { ++errors; }
};

const char* kConfig =
    "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
    "<DPX_Configuration><DPX_TRN_ITEMS_100 name=\"Items &amp; more\">"
    "<Item>Grüße &lt;1&gt; 日本</Item><Empty nil=\"true\"/></DPX_TRN_ITEMS_100></DPX_Configuration>";

TEST(SaxParser, EventsReachTheCallersHandlers) {
  Recorder recorder;
  DPX_SAXParser p;
  p.setContentHandler(&recorder);
  p.setErrorHandler(&recorder);
  ASSERT_TRUE(p.loadXML(kConfig));
  EXPECT_EQ(recorder.elements, (std::vector<std::string>{"DPX_Configuration", "DPX_TRN_ITEMS_100 name=Items & more",
                                                          "Item", "Empty nil=true"}));
  EXPECT_EQ(recorder.text, "Grüße <1> 日本");
  EXPECT_EQ(recorder.errors, 0);
  EXPECT_EQ(p.serialize(true), "");
  EXPECT_EQ(p.writeDeclaration(), DPX_XmlParser::kDeclaration);
}

TEST(SaxParser, ReadsAUtf16FileWrittenByTheDomWrapper) {
  dpx::test::TestDir dir;
  const std::string path = (dir / "configuration ü.xml").string();
  DPX_DOMParser dom;
  ASSERT_TRUE(dom.loadXML(kConfig));
  ASSERT_TRUE(dom.saveToFile(path));

  Recorder recorder;
  DPX_SAXParser p;
  p.setContentHandler(&recorder);
  ASSERT_TRUE(p.parseFile(path)) << p.getErrors();
  EXPECT_EQ(recorder.elements.size(), 4u);
  EXPECT_EQ(recorder.text, "Grüße <1> 日本");
}

TEST(SaxParser, MalformedInputIsAResultWithAReason) {
  // The caller's error handler hears of it.
  Recorder recorder;
  DPX_SAXParser withHandler;
  withHandler.setContentHandler(&recorder);
  withHandler.setErrorHandler(&recorder);
  EXPECT_FALSE(withHandler.loadXML("<a><b></a>"));
  EXPECT_EQ(recorder.errors, 1);

  // Without one, the wrapper's own list says why.
  DPX_SAXParser bare;
  EXPECT_FALSE(bare.loadXML("<a><b></a>"));
  EXPECT_EQ(bare.getErrors().rfind("<ErrorList><Error>System Id = DPX_XmlParser, Line Number = 1", 0), 0u);

  dpx::test::TestDir dir;
  EXPECT_FALSE(bare.parseFile((dir / "missing.xml").string()));
  for (const char* input : {"", "<", "text", "<a>&nope;</a>", "<a>\x01</a>"}) EXPECT_FALSE(bare.loadXML(input)) << input;
}

TEST(SaxParser, ExternalEntitiesAreNotRead) {
  dpx::test::TestDir dir;
  const auto secret = dir / "secret.txt";
  { std::ofstream(secret) << "TOP-SECRET"; }
  const auto dtd = dir / "evil.dtd";
  { std::ofstream(dtd) << "<!ELEMENT r ANY><!ENTITY leak SYSTEM \"file://" + secret.string() + "\">"; }
  const std::string attacks[] = {
      "<!DOCTYPE r [<!ELEMENT r ANY><!ENTITY leak SYSTEM \"file://" + secret.string() + "\">]><r>&leak;</r>",
      "<!DOCTYPE r SYSTEM \"file://" + dtd.string() + "\"><r>&leak;</r>",
      "<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + dtd.string() + "\"> %p;]><r>&leak;</r>",
  };
  for (const auto& xml : attacks) {
    Recorder recorder;
    DPX_SAXParser p;
    p.setContentHandler(&recorder);
    p.loadXML(xml);
    EXPECT_EQ(recorder.text.find("TOP-SECRET"), std::string::npos) << xml;
  }
}

}  // namespace
