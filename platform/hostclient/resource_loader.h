// The add-on framework's resource loader: reads the XML resources an add-on
// ships beside its executable (resources/menus/<id>.xml, ISO-8859-1) and
// localises them for the host client's language.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/framework/host_error.h"
#include "platform/hostclient/add_on_util.h"

namespace dpx::hostclient {

class ResourceLoader {
 public:
  // Resources are looked for in `folder`; empty: the program folder.
  explicit ResourceLoader(std::filesystem::path folder = {}) : folder_(std::move(folder)) {}

  // The raw bytes of resource `id`. E_FAIL (contents empty) when it is missing.
  HRESULT GetResourceFileContents(int logValue, uint32_t id, std::string& contents) const;

  // Parses `contents` (a batch document in its declared encoding) and gives
  // its XML text in UTF-8, every attribute value that equals a key of `table`
  // replaced by the text of the key's string id in `language`. E_FAIL for a
  // document that is not well-formed, carries a DOCTYPE or is too large.
  HRESULT LoadXML(int logValue, const std::string& contents, std::string& document, const XmlMap& table,
                  int language) const;

 private:
  std::filesystem::path folder_;
};

}  // namespace dpx::hostclient
