#include "platform/hostclient/add_on_util.h"

#include <map>

#include "platform/framework/string_table.h"

namespace dpx::hostclient {

namespace {
std::map<uint32_t, std::string>& MenuKeys() {
  static std::map<uint32_t, std::string> keys;
  return keys;
}
}  // namespace

std::string AddOnUtil::GetMenuUID(const std::string& prefix, uint32_t id) {
  const auto& keys = MenuKeys();
  auto it = keys.find(id);
  return prefix + "@" + (it != keys.end() ? it->second : std::to_string(id));
}

void AddOnUtil::RegisterMenuKeys(const XmlMap& table) {
  for (const auto& row : table) MenuKeys()[row.stringId] = row.key;
}

const std::vector<HostLanguage>& AddOnUtil::Languages() {
  static const std::vector<HostLanguage> languages = {
      {kHostLanguageEnglish, "EN", "English"},
      {kHostLanguageGerman, "DE", "Deutsch"},
  };
  return languages;
}

std::string AddOnUtil::ISOLangIDFromLanguage(int language) {
  for (const auto& l : Languages())
    if (l.value == language) return l.isoCode;
  return "EN";
}

}  // namespace dpx::hostclient
