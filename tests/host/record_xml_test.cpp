// The host's record XML reader: entities and character references decode to
// UTF-8, and what XML cannot carry is refused with the place of the fault.
#include <gtest/gtest.h>

#include "platform/framework/host_error.h"
#include "platform/host/host_codes.h"
#include "platform/host/record_xml.h"

namespace dpx::host {
namespace {

TEST(RecordXml, TextOfAFieldAndRefusedDocuments) {
  struct Case {
    std::string xml;
    std::string text;   // text of <BOM><v>; "!" + part of the error when refused
  } cases[] = {
      {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><BOM><v>O&apos;Brien &amp; &lt;Co&gt;</v></BOM>", "O'Brien & <Co>"},
      {"\xEF\xBB\xBF<BOM><v>&#65;&#x20AC;&#x1F600;</v></BOM>", "A\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"<BOM><v><![CDATA[a<b]]></v></BOM>", "a<b"},
      {"<BOM><v>a&#13;&#10;b&#13;</v></BOM>", "a\r\nb\r"},
      {"<BOM><v>" + RecordXml::Escape("a\r\nb\r") + "</v></BOM>", "a\r\nb\r"},
      {"<BOM><v>&#0;</v></BOM>", "!names no character"},
      {"<BOM><v>&#xD800;</v></BOM>", "!names no character"},
      {"<BOM><v>&#x;</v></BOM>", "!names no character"},
      {"<BOM><v>&#x110000;</v></BOM>", "!bad character reference"},
      {"<BOM><v>&nbsp;</v></BOM>", "!unknown entity"},
      {"<!DOCTYPE x><BOM/>", "!document type"},
      {"<BOM><v></w></BOM>", "!closes <v>"},
      {"<BOM><v>open</BOM>", "!closes <v>"},
  };
  for (const Case& c : cases) {
    try {
      auto doc = RecordXml::Parse(c.xml);
      ASSERT_NE(doc->child("v"), nullptr) << c.xml;
      EXPECT_EQ(doc->child("v")->text, c.text) << c.xml;
    } catch (const HostError& e) {
      EXPECT_EQ(e.code(), kHrInvalidXml);
      ASSERT_EQ(c.text.rfind('!', 0), 0u) << c.xml << ": " << e.description();
      EXPECT_NE(e.description().find(c.text.substr(1)), std::string::npos) << e.description();
    }
  }
}

}  // namespace
}  // namespace dpx::host
