#include "engine/xml_input_guard.h"

#include <xercesc/sax/ErrorHandler.hpp>
#include <xercesc/sax/Locator.hpp>
#include <xercesc/sax/SAXParseException.hpp>

#include "platform/framework/text.h"

void DPX_XmlInputGuard::refuse(const std::string& message, const xercesc::Locator* where,
                               xercesc::ErrorHandler* handler) {
  const std::u16string text = dpx::Utf8ToUtf16(message);
  static const XMLCh kNone[] = {0};
  const xercesc::SAXParseException e(text.c_str(), where && where->getPublicId() ? where->getPublicId() : kNone,
                                     where && where->getSystemId() ? where->getSystemId() : kNone,
                                     where ? where->getLineNumber() : 0, where ? where->getColumnNumber() : 0);
  if (handler) handler->fatalError(e);
  // The library lets a handler's exception through and stops the parse.
  throw e;
}

void DPX_XmlInputGuard::refuseDoctype(const xercesc::Locator* where, xercesc::ErrorHandler* handler) const {
  refuse("the file holds a document type declaration (DOCTYPE), which none of the program's files has", where,
         handler);
}

void DPX_XmlInputGuard::enter(bool isEmpty, const xercesc::Locator* where, xercesc::ErrorHandler* handler) {
  if (depth_ + 1 > kMaxDepth)
    refuse("the file nests elements more than " + std::to_string(kMaxDepth) +
               " levels deep, far deeper than any of the program's files",
           where, handler);
  if (!isEmpty) ++depth_;
}
