// Helpers of the add-on framework: the unique ids of an add-on's menu entries
// and the ISO codes of the host client's languages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dpx::hostclient {

// One row of a menu key table: a key that stands in a menu batch, the string
// id whose text replaces it, and a value (unused, empty).
struct XmlMapRow {
  std::string key;
  uint32_t stringId = 0;
  std::string value;
};
using XmlMap = std::vector<XmlMapRow>;

// A language the host client offers: its value, ISO code and own name.
struct HostLanguage {
  int value;
  const char* isoCode;
  const char* name;
};

class AddOnUtil {
 public:
  // The unique id of an add-on's menu entry: the prefix, "@" and the key that
  // the add-on's menu key table gives the id ("DPX_" and 505 give
  // "DPX_@DPX_MNU_MO_OPENAPPLICATION_100"). An id no table names gives the
  // prefix, "@" and the id.
  static std::string GetMenuUID(const std::string& prefix, uint32_t id);
  // Makes the keys of a menu key table known to GetMenuUID.
  static void RegisterMenuKeys(const XmlMap& table);

  // The ISO code of a host language ("EN", "DE"); "EN" for an unknown one.
  static std::string ISOLangIDFromLanguage(int language);
  static const std::vector<HostLanguage>& Languages();
};

}  // namespace dpx::hostclient
