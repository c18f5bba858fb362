// The DOM wrapper: declarations, cursor moves and edits, round trips of record
// XML, saving, error lists and hostile documents.
#include "engine/dom_parser.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <xercesc/dom/DOM.hpp>

#include "platform/framework/text.h"
#include "tests/support/test_dir.h"

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>";

// A root holding, on indented lines, an empty element a, a comment, an element
// b with text and an attribute, and an element c with a child.
const char* kTree =
    "<root>\n"
    "  <a/>\n"
    "  <!-- note -->\n"
    "  <b kind=\"x\">text of b</b>\n"
    "  <c><d>deep</d></c>\n"
    "</root>";

TEST(DomParser, DeclarationIsAddedOnlyWhereTheTextHasNone) {
  struct Case {
    std::string text;
    std::string rootName;
  };
  const Case cases[] = {
      {"<a/>", "a"},
      // "?xml" inside data or a comment is data, not a declaration.
      {"<q>SELECT '?xml' FROM T</q>", "q"},
      {"<q><!-- <?XML --><x/></q>", "q"},
      {"<q attr=\"?xml\"/>", "q"},
      {kDecl + "<a/>", "a"},
      {"<?xml version=\"1.0\"?><a/>", "a"},
      {"\xEF\xBB\xBF<a/>", "a"},
      {"\xEF\xBB\xBF" + kDecl + "<a/>", "a"},
  };
  for (const auto& c : cases) {
    DPX_DOMParser p;
    ASSERT_TRUE(p.loadXML(c.text)) << c.text << p.getErrors();
    EXPECT_EQ(p.getNodeName(), c.rootName) << c.text;
    const std::string withDecl = p.serialize(true);
    EXPECT_EQ(withDecl.rfind(kDecl, 0), 0u) << withDecl;
    EXPECT_EQ(withDecl.find("<?xml", 1), std::string::npos) << "one declaration only: " << withDecl;
    EXPECT_EQ(p.serialize(false).find("<?xml"), std::string::npos) << c.text;
  }
}

TEST(DomParser, Utf8TextDeclaringUtf16ParsesWithItsCharacters) {
  DPX_DOMParser p;
  ASSERT_TRUE(p.loadXML(kDecl + "<BOM><Name>Grüße 日本 €</Name></BOM>")) << p.getErrors();
  ASSERT_EQ(p.findElement("Name"), 1u);
  EXPECT_EQ(p.getText(), "Grüße 日本 €");
}

struct CursorCase {
  const char* name;
  std::function<bool(DPX_DOMParser&)> steps;  // runs from the root; gives the last step's result
  bool result;
  std::string node;  // the cursor's node name afterwards
};

TEST(DomParser, CursorMovesAndReads) {
  const CursorCase cases[] = {
      {"first child skips white space", [](DPX_DOMParser& p) { return p.move(0, true); }, true, "a"},
      {"next sibling skips white space and the comment",
       [](DPX_DOMParser& p) { return p.move(0, true) && p.move(1, true); }, true, "b"},
      {"previous sibling skips back over the comment",
       [](DPX_DOMParser& p) { return p.move(0, true) && p.move(1, true) && p.move(1, false); }, true, "a"},
      {"no previous sibling keeps the cursor",
       [](DPX_DOMParser& p) { return p.move(0, true) && p.move(1, false); }, false, "a"},
      {"parent", [](DPX_DOMParser& p) { return p.move(0, true) && p.move(0, false); }, true, "root"},
      {"unknown direction fails", [](DPX_DOMParser& p) { return p.move(2, true); }, false, "root"},
      {"gotoNextSibling takes the white-space text",
       [](DPX_DOMParser& p) { return p.move(0, true) && p.gotoNextSibling(); }, true, "#text"},
      {"gotoChild counts every node kind", [](DPX_DOMParser& p) { return p.gotoChild(3); }, true, "#comment"},
      {"gotoChild past the end leaves no cursor", [](DPX_DOMParser& p) { return p.gotoChild(50); }, false, "ERROR"},
      {"gotoChild of a negative index leaves no cursor", [](DPX_DOMParser& p) { return p.gotoChild(-1); }, false,
       "ERROR"},
      {"no cursor: moves fail", [](DPX_DOMParser& p) { return !p.gotoChild(50) && p.move(0, true); }, false, "ERROR"},
      {"findElement moves to the first match", [](DPX_DOMParser& p) { return p.findElement("d") == 1; }, true, "d"},
      {"findElement without a match keeps the cursor", [](DPX_DOMParser& p) { return p.findElement("zz") == 0; },
       true, "root"},
      {"findElement on a non-element gives 0",
       [](DPX_DOMParser& p) { return p.gotoChild(0) && p.findElement("d") == 0; }, true, "#text"},
      {"getText of an element with text", [](DPX_DOMParser& p) { return p.findElement("b") && p.getText() == "text of b"; },
       true, "b"},
      {"getText of an element holding an element is empty",
       [](DPX_DOMParser& p) { return p.findElement("c") && p.getText().empty(); }, true, "c"},
      {"getText without a cursor", [](DPX_DOMParser& p) { return !p.gotoChild(99) && p.getText() == "ERROR"; }, true,
       "ERROR"},
      {"countElements counts elements only", [](DPX_DOMParser& p) { return p.countElements() == 3; }, true, "root"},
      {"countElements without a cursor",
       [](DPX_DOMParser& p) { return !p.gotoChild(99) && p.countElements() == 0; }, true, "ERROR"},
      {"getAttribute finds a value",
       [](DPX_DOMParser& p) {
         std::string v;
         return p.findElement("b") && p.getAttribute("kind", v) && v == "x";
       },
       true, "b"},
      {"getAttribute of a missing name leaves the value",
       [](DPX_DOMParser& p) {
         std::string v = "keep";
         return p.findElement("b") && !p.getAttribute("nope", v) && v == "keep";
       },
       true, "b"},
      {"getAttribute of a text node",
       [](DPX_DOMParser& p) {
         std::string v = "keep";
         return p.gotoChild(0) && !p.getAttribute("kind", v) && v == "keep";
       },
       true, "#text"},
  };
  for (const auto& c : cases) {
    DPX_DOMParser p;
    ASSERT_TRUE(p.loadXML(kTree)) << p.getErrors();
    EXPECT_EQ(c.steps(p), c.result) << c.name;
    EXPECT_EQ(p.getNodeName(), c.node) << c.name;
  }
}

TEST(DomParser, FindElementRetriesInUpperCaseOnly) {
  DPX_DOMParser p;
  ASSERT_TRUE(p.loadXML("<r><ITEM>1</ITEM><ITEM>2</ITEM><Item>3</Item></r>"));
  EXPECT_EQ(p.findElement("item"), 2u);
  EXPECT_EQ(p.getText(), "1");
  ASSERT_TRUE(p.move(0, false));
  EXPECT_EQ(p.findElement("iTEm"), 2u);
  ASSERT_TRUE(p.move(0, false));
  ASSERT_TRUE(p.loadXML("<r><Item>3</Item></r>"));
  EXPECT_EQ(p.findElement("item"), 0u);
  EXPECT_EQ(p.getNodeName(), "r");
}

struct EditCase {
  const char* name;
  std::function<bool(DPX_DOMParser&)> steps;
  bool result;
  std::string node;  // cursor afterwards
  std::string xml;   // serialize(false) of the root afterwards
};

TEST(DomParser, Edits) {
  const EditCase cases[] = {
      {"addElement without moving keeps the cursor on the parent",
       [](DPX_DOMParser& p) { return p.addElement("n", "v", "", "", false); }, true, "r", "<r><x/><n>v</n></r>"},
      {"addElement with move and attribute",
       [](DPX_DOMParser& p) { return p.addElement("n", "", "nil", "true", true); }, true, "n",
       "<r><x/><n nil=\"true\"/></r>"},
      {"addEmptyElement", [](DPX_DOMParser& p) { return p.addEmptyElement("e", true) && p.addEmptyElement("f", false); },
       true, "e", "<r><x/><e><f/></e></r>"},
      {"addElement of an invalid name changes nothing",
       [](DPX_DOMParser& p) { return p.addElement("1 bad", "v", "", "", true); }, false, "r", "<r><x/></r>"},
      {"addElement of an invalid attribute name changes nothing",
       [](DPX_DOMParser& p) { return p.addElement("n", "v", "a b", "1", true); }, false, "r", "<r><x/></r>"},
      {"addElement under a text node fails",
       [](DPX_DOMParser& p) {
         return p.move(0, true) && p.addElement("t", "v", "", "", true) && p.gotoChild(0) &&
                p.addElement("n", "", "", "", true);
       },
       false, "#text", "<r><x><t>v</t></x></r>"},
      {"addAttribute replaces a value", [](DPX_DOMParser& p) { return p.addAttribute("k", "1") && p.addAttribute("k", "2"); },
       true, "r", "<r k=\"2\"><x/></r>"},
      {"addAttribute on a text node fails",
       [](DPX_DOMParser& p) { return p.addElement("t", "v", "", "", true) && p.gotoChild(0) && p.addAttribute("k", "1"); },
       false, "#text", "<r><x/><t>v</t></r>"},
      {"setText on an element has no effect",
       [](DPX_DOMParser& p) {
         p.setText("ignored");
         return true;
       },
       true, "r", "<r><x/></r>"},
      {"setText on a text node replaces it",
       [](DPX_DOMParser& p) {
         if (!p.addElement("t", "old", "", "", true) || !p.gotoChild(0)) return false;
         p.setText("new & <improved>");
         return p.move(0, false);
       },
       true, "t", "<r><x/><t>new &amp; &lt;improved&gt;</t></r>"},
      {"removeCurrent goes to the parent",
       [](DPX_DOMParser& p) { return p.move(0, true) && p.removeCurrent(); }, true, "r", "<r/>"},
      {"removeCurrent of the document node fails",
       [](DPX_DOMParser& p) { return p.move(0, false) && p.removeCurrent(); }, false, "#document", ""},
  };
  for (const auto& c : cases) {
    DPX_DOMParser p;
    ASSERT_TRUE(p.loadXML("<r><x/></r>")) << p.getErrors();
    EXPECT_EQ(c.steps(p), c.result) << c.name;
    EXPECT_EQ(p.getNodeName(), c.node) << c.name;
    if (c.xml.empty()) continue;
    p.resetCursor();
    EXPECT_EQ(p.serialize(false), c.xml) << c.name;
  }
}

TEST(DomParser, WithoutADocumentEverythingFailsQuietly) {
  DPX_DOMParser p;
  std::string v = "keep";
  EXPECT_FALSE(p.move(0, true));
  EXPECT_FALSE(p.gotoNextSibling());
  EXPECT_FALSE(p.gotoChild(0));
  EXPECT_EQ(p.findElement("a"), 0u);
  EXPECT_EQ(p.getNodeName(), "ERROR");
  EXPECT_EQ(p.getText(), "ERROR");
  EXPECT_FALSE(p.getAttribute("a", v));
  EXPECT_EQ(v, "keep");
  EXPECT_EQ(p.countElements(), 0);
  EXPECT_FALSE(p.addElement("a", "b", "c", "d", true));
  EXPECT_FALSE(p.addAttribute("a", "b"));
  p.setText("x");
  EXPECT_FALSE(p.removeCurrent());
  EXPECT_EQ(p.serialize(true), "ERROR");
  EXPECT_EQ(p.writeDeclaration(), "");
  dpx::test::TestDir dir;
  EXPECT_FALSE(p.saveToFile((dir / "x.xml").string()));
  EXPECT_FALSE(std::filesystem::exists(dir / "x.xml"));
}

// Record XML as the host gives it: reserved characters, quotes, non-ASCII text
// and empty values marked nil.
const char* kRecord =
    "<BOM><BO><AdmInfo><Object>4</Object></AdmInfo><OITM><row>"
    "<ItemCode>A&amp;B &lt;1&gt;</ItemCode>"
    "<ItemName>Grüße \"quoted\" 'single' 日本 😀</ItemName>"
    "<FrgnName nil=\"true\"/>"
    "<U_Note note=\"a&quot;b&lt;c&amp;d 'e'\">x</U_Note>"
    "</row></OITM></BO></BOM>";

TEST(DomParser, RecordXmlSurvivesRoundTrips) {
  DPX_DOMParser first;
  ASSERT_TRUE(first.loadXML(kRecord)) << first.getErrors();
  const std::string once = first.serialize(true);

  DPX_DOMParser second;
  ASSERT_TRUE(second.loadXML(once)) << second.getErrors();
  EXPECT_EQ(second.serialize(true), once);

  // Each field: its text and, where it has one, an attribute's value.
  struct Field {
    const char* tag;
    std::string text;
    const char* attribute;
    std::string value;
  };
  const Field fields[] = {
      {"ItemCode", "A&B <1>", "", ""},
      {"ItemName", "Grüße \"quoted\" 'single' 日本 😀", "", ""},
      {"FrgnName", "", "nil", "true"},
      {"U_Note", "x", "note", "a\"b<c&d 'e'"},
  };
  for (const auto& f : fields) {
    second.resetCursor();
    ASSERT_EQ(second.findElement(f.tag), 1u) << f.tag;
    EXPECT_EQ(second.getText(), f.text) << f.tag;
    std::string value;
    EXPECT_EQ(second.getAttribute(f.attribute, value), *f.attribute != 0) << f.tag;
    EXPECT_EQ(value, f.value) << f.tag;
  }
}

TEST(DomParser, BuiltTextsAreEscapedOnTheWayOut) {
  const std::string raw = "Smith & Sons <\"Ltd\"> 'ü' ]]>";
  DPX_DOMParser p;
  ASSERT_TRUE(p.loadXML("<BOM/>"));
  ASSERT_TRUE(p.addElement("CardName", raw, "attr", raw, true));
  p.resetCursor();
  DPX_DOMParser back;
  ASSERT_TRUE(back.loadXML(p.serialize(true))) << back.getErrors();
  ASSERT_EQ(back.findElement("CardName"), 1u);
  EXPECT_EQ(back.getText(), raw);
  std::string attr;
  EXPECT_TRUE(back.getAttribute("attr", attr));
  EXPECT_EQ(attr, raw);
}

TEST(DomParser, SaveWritesAByteOrderMarkAndReadsBack) {
  dpx::test::TestDir dir;
  const std::string path = (dir / "saved ü.xml").string();
  DPX_DOMParser p;
  ASSERT_TRUE(p.loadXML(kRecord));
  ASSERT_TRUE(p.saveToFile(path));

  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(bytes.substr(2, 2 * kDecl.size()), dpx::Utf8ToUtf16LEBytes(kDecl));
  EXPECT_EQ(dpx::Utf16LEBytesToUtf8(bytes.substr(2)), p.serialize(true));

  DPX_DOMParser back;
  ASSERT_TRUE(back.parseFile(path)) << back.getErrors();
  EXPECT_EQ(back.serialize(false), p.serialize(false));
}

TEST(DomParser, FailedSaveKeepsTheOldFile) {
  dpx::test::TestDir dir;
  DPX_DOMParser p;
  ASSERT_TRUE(p.loadXML("<a/>"));
  EXPECT_FALSE(p.saveToFile((dir / "missing" / "x.xml").string()));
  // A folder in the way of the file: nothing is written, the folder stays.
  std::filesystem::create_directory(dir / "taken");
  EXPECT_FALSE(p.saveToFile((dir / "taken").string()));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken"));
}

TEST(DomParser, MalformedTextGivesAnErrorListAndKeepsTheLastDocument) {
  DPX_DOMParser p;
  ASSERT_TRUE(p.loadXML("<good><x/></good>"));
  ASSERT_TRUE(p.move(0, true));

  EXPECT_FALSE(p.loadXML("<a>\n<b></a>"));
  const std::string errors = p.getErrors();
  EXPECT_EQ(errors.rfind("<ErrorList><Error>System Id = DPX_XmlParser, Line Number = 2, Column Number = ", 0), 0u)
      << errors;
  EXPECT_NE(errors.find(", Description = "), std::string::npos) << errors;
  EXPECT_EQ(errors.find("<Error>", 12), std::string::npos) << "one entry: " << errors;
  EXPECT_EQ(errors.substr(errors.size() - 20), "</Error></ErrorList>");
  EXPECT_EQ(p.getErrors(), "<ErrorList></ErrorList>");

  // The failed parse leaves the previous document and the cursor usable.
  EXPECT_EQ(p.getNodeName(), "x");
  EXPECT_EQ(p.serialize(false), "<x/>");
}

TEST(DomParser, ErrorsAccumulateUntilRead) {
  DPX_DOMParser p;
  EXPECT_FALSE(p.loadXML("<a>"));
  EXPECT_TRUE(p.loadXML("<a/>"));
  EXPECT_FALSE(p.loadXML("<b>"));
  const std::string errors = p.getErrors();
  EXPECT_NE(errors.find("</Error><Error>"), std::string::npos) << errors;
}

TEST(DomParser, BrokenInputNeverCrashes) {
  const std::string inputs[] = {
      "", "<", "<a", "plain text", "<a></b>", "<a>\x01</a>", "<a>\xFF\xFE\xC3</a>", "<a b=\"1\" b=\"2\"/>",
      "<a/><b/>", std::string("<a>\0</a>", 8), "<?xml version=\"9\"?><a/>", "<a>&undefined;</a>", "<a>&#0;</a>",
  };
  for (const auto& input : inputs) {
    DPX_DOMParser p;
    EXPECT_FALSE(p.loadXML(input)) << input;
    EXPECT_NE(p.getErrors().find("<Error>System Id = DPX_XmlParser"), std::string::npos) << input;
  }
  DPX_DOMParser p;
  dpx::test::TestDir dir;
  EXPECT_FALSE(p.parseFile((dir / "none.xml").string()));
  EXPECT_EQ(p.getNodeName(), "ERROR");
}

TEST(DomParser, FileErrorsNameTheFile) {
  dpx::test::TestDir dir;
  const auto path = dir / "bad.xml";
  ASSERT_TRUE(dpx::WriteUtf16File(path, "<a>\n  <b>\n</a>", true));
  DPX_DOMParser p;
  EXPECT_FALSE(p.parseFile(path.string()));
  const std::string errors = p.getErrors();
  EXPECT_NE(errors.find("System Id = " + path.string() + ", Line Number = 3"), std::string::npos) << errors;
}

// Files come from other people: a document must not pull in local files. The
// declarations make each attack valid, so only the parser's settings stop it.
TEST(DomParser, ExternalEntitiesAndDtdsAreNotLoaded) {
  dpx::test::TestDir dir;
  const auto secret = dir / "secret.txt";
  { std::ofstream(secret) << "TOP-SECRET"; }
  const auto dtd = dir / "evil.dtd";
  { std::ofstream(dtd) << "<!ELEMENT r ANY><!ENTITY leak SYSTEM \"file://" + secret.string() + "\">"; }
  const std::string url = "file://" + secret.string();

  const std::string attacks[] = {
      "<!DOCTYPE r [<!ELEMENT r ANY><!ENTITY leak SYSTEM \"" + url + "\">]><r>&leak;</r>",
      "<!DOCTYPE r [<!ELEMENT r ANY><!ENTITY leak SYSTEM \"" + secret.string() + "\">]><r>&leak;</r>",
      "<!DOCTYPE r SYSTEM \"file://" + dtd.string() + "\"><r>&leak;</r>",
      "<!DOCTYPE r [<!ENTITY % p SYSTEM \"file://" + dtd.string() + "\"> %p;]><r>&leak;</r>",
  };
  for (const auto& xml : attacks) {
    DPX_DOMParser p;
    if (p.loadXML(xml)) {
      // Entity references stay references when serialised: look at the tree itself.
      const XMLCh* content = p.getDocument()->getDocumentElement()->getTextContent();
      EXPECT_EQ(dpx::Utf16ToUtf8(content ? content : u"").find("TOP-SECRET"), std::string::npos) << xml;
    }
    EXPECT_EQ(p.getErrors().find("TOP-SECRET"), std::string::npos) << xml;
  }
}

TEST(DomParser, NestedEntityExpansionIsCapped) {
  std::string xml = "<!DOCTYPE r [<!ENTITY e0 \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\">";
  for (int i = 1; i <= 12; ++i) {
    xml += "<!ENTITY e" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) xml += "&e" + std::to_string(i - 1) + ";";
    xml += "\">";
  }
  xml += "]><r>&e12;</r>";
  DPX_DOMParser p;
  EXPECT_FALSE(p.loadXML(xml));
}

}  // namespace
