// The logger that the configuration code reports through: one operation
// taking the host client's language, a category ("DPX"), a level (1 error,
// 2 warning), the reporting method's name and the message. Messages go to
// the program's log under the method's name. Tests may install their own
// logger to see what was reported.
#pragma once

#include <string>
#include <string_view>

namespace dpx {

class ComponentLogger {
 public:
  static constexpr int kError = 1;
  static constexpr int kWarning = 2;

  virtual ~ComponentLogger() = default;
  virtual void Log(int language, std::string_view category, int level, std::string_view method,
                   std::string_view message);
};

}  // namespace dpx
