// Whether a base company's data may be copied into a target of another host
// version. Host version numbers end in a three-digit patch level, so the
// versions compare as numbers without their last three digits: 930150 and
// 930100 are one version, and a base of 1000 is newer than a target of 999.
#pragma once

#include <cstdint>

namespace dpx::ui {

inline bool BaseVersionIsHigher(int64_t baseVersion, int64_t targetVersion) {
  return baseVersion / 1000 > targetVersion / 1000;
}

}  // namespace dpx::ui
