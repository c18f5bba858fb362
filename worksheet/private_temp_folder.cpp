#include "worksheet/private_temp_folder.h"

#include <cstdlib>
#include <string>

namespace dpx {

PrivateTempFolder::PrivateTempFolder() {
  std::error_code ec;
  const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return;
  std::string pattern = (base / "duplora-XXXXXX").string();
  if (::mkdtemp(pattern.data())) path_ = pattern;  // made with mode 0700
}

PrivateTempFolder::~PrivateTempFolder() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

}  // namespace dpx
