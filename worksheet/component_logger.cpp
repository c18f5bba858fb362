#include "worksheet/component_logger.h"

#include "platform/framework/log_scope.h"

namespace dpx {

void ComponentLogger::Log(int, std::string_view, int level, std::string_view method, std::string_view message) {
  LogSink::Write(level == kError ? LogLevel::Error : LogLevel::Warning, method, message);
}

}  // namespace dpx
