#include "engine/xml_parser.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include <xercesc/framework/LocalFileInputSource.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/sax2/SAX2XMLReader.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>

#include "platform/framework/log_scope.h"
#include "platform/framework/text.h"

const char* const DPX_XmlParser::kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>";
const char* const DPX_XmlParser::kMemorySystemId = "DPX_XmlParser";

namespace {

// The library is started once, by the first wrapper, and shut down at process
// exit. A function-local object does not depend on the order in which static
// objects of other files are made. Wrappers that outlive the guard (held by
// other process-wide objects) keep the library up: it is then left running.
std::atomic<int> g_liveWrappers{0};

class XmlPlatform {
 public:
  XmlPlatform() {
    try {
      xercesc::XMLPlatformUtils::Initialize();
      started_ = true;
    } catch (...) {
      dpx::LogSink::Write(dpx::LogLevel::Error, "DPX_XmlParser", "ERROR AT THE DPX_XmlParser()");
      std::fputs("ERROR AT THE DPX_XmlParser()\n", stderr);
      std::exit(EXIT_FAILURE);
    }
  }
  ~XmlPlatform() {
    if (started_ && g_liveWrappers.load() == 0) xercesc::XMLPlatformUtils::Terminate();
  }

 private:
  bool started_ = false;
};

void StartXmlPlatform() { static XmlPlatform platform; }

const unsigned char kUtf8Bom[] = {0xEF, 0xBB, 0xBF};

}  // namespace

DPX_XmlParser::DPX_XmlParser() : m_errors(std::make_unique<DPX_XmlParserError>()) {
  StartXmlPlatform();
  ++g_liveWrappers;
  // Caps entity expansion, so a document that nests entities cannot exhaust memory.
  m_security = std::make_unique<xercesc::SecurityManager>();
}

DPX_XmlParser::~DPX_XmlParser() { --g_liveWrappers; }

bool DPX_XmlParser::loadXML(const std::string& text) {
  std::string_view body(text);
  if (body.size() >= 3 && body.compare(0, 3, std::string_view(reinterpret_cast<const char*>(kUtf8Bom), 3)) == 0)
    body.remove_prefix(3);
  // The declaration is added only where the text has none of its own; a
  // "?xml" further inside (a query text, a comment) is just data.
  std::string document;
  if (body.substr(0, 5) != "<?xml") document = kDeclaration;
  document.append(body);

  xercesc::MemBufInputSource source(reinterpret_cast<const XMLByte*>(document.data()), document.size(),
                                    kMemorySystemId, false);
  // The text is UTF-8 whatever its declaration says (the program's documents
  // declare UTF-16 because that is how they are written out).
  source.setEncoding(u"UTF-8");
  if (m_domParser) m_domParser->setIncludeIgnorableWhitespace(false);
  m_skipText = true;
  return parse(source);
}

bool DPX_XmlParser::parseFile(const std::string& path) {
  try {
    const std::u16string wide = dpx::Utf8ToUtf16(path);
    xercesc::LocalFileInputSource source(wide.c_str());
    return parse(source);
  } catch (...) {
    return false;
  }
}

bool DPX_XmlParser::parse(const xercesc::InputSource& source) {
  try {
    XMLSize_t errorCount = 0;
    if (m_domParser) {
      m_domParser->parse(source);
      errorCount = m_domParser->getErrorCount();
    } else if (m_saxReader) {
      m_saxReader->parse(source);
      errorCount = m_saxReader->getErrorCount();
    } else {
      return false;
    }
    if (errorCount > 0) return false;
  } catch (...) {
    // Parse failures are results: the error list says why.
    return false;
  }
  adoptParsedDocument();
  resetCursor();
  return true;
}

bool DPX_XmlParser::saveToFile(const std::string& path) {
  const std::string text = serialize(true);
  if (text == "ERROR") return false;  // nothing to save: keep whatever file is there
  return dpx::WriteUtf16File(path, text, true);
}

std::string DPX_XmlParser::getErrors() { return m_errors->getErrors(true); }
