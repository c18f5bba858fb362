// String tables: the program's user-visible texts by string id and language.
// Each language is one file "strings/<table code>.txt" in the program folder,
// lines of "<id><TAB><text>" in UTF-8 (\n, \t and \\ escaped; "#" starts a
// comment line). English (table 1033) holds every text; a language without its
// own text for an id falls back to English; an empty text counts as not found.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace dpx {

// The host client's language values the program knows; any other value reads
// the English table.
constexpr int kHostLanguageEnglish = 3;
constexpr int kHostLanguageGerman = 9;

class StringTable {
 public:
  // The text of id in the host language; "" when no table has it.
  static std::string Load(uint32_t id, int hostLanguage = kHostLanguageEnglish);
  // The table code (1033 for English) that a host language reads.
  static int TableCode(int hostLanguage);
  // Reads the tables from another folder (tests); clears what was loaded.
  static void SetFolder(const std::filesystem::path& folder);
};

// The folder of the running executable (where its templates and tables are).
std::filesystem::path ProgramFolder();

}  // namespace dpx
