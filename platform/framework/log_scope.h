// Scoped logging: every significant operation opens a DPX_LogScope named
// "Class::method"; its messages go to the program's one log sink with that
// name. Formats are printf-style (fmt::sprintf), never locale dependent.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <fmt/printf.h>

namespace dpx {

enum class LogLevel { Error = 0, Warning = 1, Info = 2, Debug = 3 };

// The one sink: a log file in a folder the program is given, plus stderr for
// messages at or above a chosen level. Until configured, messages go to stderr
// only (errors by default).
class LogSink {
 public:
  static void Configure(const std::filesystem::path& folder, LogLevel fileLevel, LogLevel stderrLevel);
  static void SetStderrLevel(LogLevel level);
  static void Write(LogLevel level, std::string_view scope, std::string_view message);
  static std::filesystem::path FilePath();
  // The error lines written since the sink was last configured.
  static size_t ErrorCount();
};

class DPX_LogScope {
 public:
  explicit DPX_LogScope(std::string_view name);
  ~DPX_LogScope();
  DPX_LogScope(const DPX_LogScope&) = delete;
  DPX_LogScope& operator=(const DPX_LogScope&) = delete;

  template <class... Args>
  void LogError(std::string_view format, const Args&... args) {
    write(LogLevel::Error, format, args...);
  }
  template <class... Args>
  void LogWarning(std::string_view format, const Args&... args) {
    write(LogLevel::Warning, format, args...);
  }
  template <class... Args>
  void LogInfo(std::string_view format, const Args&... args) {
    write(LogLevel::Info, format, args...);
  }
  template <class... Args>
  void LogDbg0(std::string_view format, const Args&... args) {
    write(LogLevel::Debug, format, args...);
  }

  const std::string& name() const { return name_; }

 private:
  template <class... Args>
  void write(LogLevel level, std::string_view format, const Args&... args) {
    std::string text;
    if constexpr (sizeof...(Args) == 0) {
      text = std::string(format);
    } else {
      try {
        text = fmt::sprintf(format, args...);
      } catch (const std::exception&) {
        text = std::string(format);  // a broken format still leaves a trace
      }
    }
    LogSink::Write(level, name_, text);
  }

  std::string name_;
};

}  // namespace dpx
