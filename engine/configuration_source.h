// What a category manager reads of a parsed configuration file: the stored
// table blocks of its category. The configuration manager (a higher layer)
// implements it, so the engine can read stored records without knowing it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/operation_args.h"

namespace dpx {

class ConfigurationSource {
 public:
  virtual ~ConfigurationSource() = default;
  // The stored blocks of a category key (out is emptied first); negative when
  // the file holds none.
  virtual int32_t getData(const std::string& categoryKey, std::vector<DPX_OperationArgs>& records) = 0;
};

}  // namespace dpx
