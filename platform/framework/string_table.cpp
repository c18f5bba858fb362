#include "platform/framework/string_table.h"

#include <fstream>
#include <map>
#include <mutex>
#include <unistd.h>

#include "platform/framework/variant.h"

namespace dpx {

namespace {

using Table = std::map<uint32_t, std::string>;

struct Tables {
  std::mutex mutex;
  std::filesystem::path folder;
  std::map<int, Table> byCode;
};

Tables& State() {
  static Tables tables;
  return tables;
}

std::string Unescape(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
  }
  return out;
}

Table ReadTable(const std::filesystem::path& file) {
  Table table;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    int64_t id = 0;
    if (!ParseInt64(line.substr(0, tab), id) || id < 0) continue;
    table[static_cast<uint32_t>(id)] = Unescape(line.substr(tab + 1));
  }
  return table;
}

const Table& TableFor(Tables& t, int code) {
  auto it = t.byCode.find(code);
  if (it != t.byCode.end()) return it->second;
  const auto folder = t.folder.empty() ? ProgramFolder() / "strings" : t.folder;
  return t.byCode.emplace(code, ReadTable(folder / (std::to_string(code) + ".txt"))).first->second;
}

}  // namespace

int StringTable::TableCode(int hostLanguage) {
  switch (hostLanguage) {
    case kHostLanguageEnglish: return 1033;
    case kHostLanguageGerman: return 1031;
    default: return 1033;
  }
}

std::string StringTable::Load(uint32_t id, int hostLanguage) {
  auto& t = State();
  std::lock_guard lock(t.mutex);
  const int code = TableCode(hostLanguage);
  for (int c : {code, 1033}) {
    const Table& table = TableFor(t, c);
    auto it = table.find(id);
    if (it != table.end() && !it->second.empty()) return it->second;
  }
  return "";
}

void StringTable::SetFolder(const std::filesystem::path& folder) {
  auto& t = State();
  std::lock_guard lock(t.mutex);
  t.folder = folder;
  t.byCode.clear();
}

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

}  // namespace dpx
