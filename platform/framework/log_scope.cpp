#include "platform/framework/log_scope.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <mutex>

namespace dpx {

namespace {

struct SinkState {
  std::mutex mutex;
  std::ofstream file;
  std::filesystem::path path;
  LogLevel fileLevel = LogLevel::Info;
  LogLevel stderrLevel = LogLevel::Error;
  size_t errors = 0;
};

SinkState& State() {
  static SinkState state;
  return state;
}

const char* LevelName(LogLevel level) {
  switch (level) {
    case LogLevel::Error: return "ERROR";
    case LogLevel::Warning: return "WARN";
    case LogLevel::Info: return "INFO";
    case LogLevel::Debug: return "DEBUG";
  }
  return "?";
}

std::string Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return buf;
}

}  // namespace

void LogSink::Configure(const std::filesystem::path& folder, LogLevel fileLevel, LogLevel stderrLevel) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  s.fileLevel = fileLevel;
  s.stderrLevel = stderrLevel;
  s.errors = 0;
  if (s.file.is_open()) s.file.close();
  s.path.clear();
  if (folder.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  s.path = folder / "duplora.log";
  s.file.open(s.path, std::ios::app);
  if (!s.file) s.path.clear();
}

void LogSink::SetStderrLevel(LogLevel level) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  s.stderrLevel = level;
}

std::filesystem::path LogSink::FilePath() {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  return s.path;
}

size_t LogSink::ErrorCount() {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  return s.errors;
}

void LogSink::Write(LogLevel level, std::string_view scope, std::string_view message) {
  auto& s = State();
  std::lock_guard lock(s.mutex);
  if (level == LogLevel::Error) ++s.errors;
  const bool toFile = s.file.is_open() && level <= s.fileLevel;
  const bool toStderr = level <= s.stderrLevel;
  if (!toFile && !toStderr) return;
  std::string line = Now() + " " + LevelName(level) + " [" + std::string(scope) + "] " + std::string(message);
  while (!line.empty() && line.back() == '\n') line.pop_back();
  if (toFile) {
    s.file << line << '\n';
    s.file.flush();
  }
  if (toStderr) std::fprintf(stderr, "%s\n", line.c_str());
}

DPX_LogScope::DPX_LogScope(std::string_view name) : name_(name) {
  LogSink::Write(LogLevel::Debug, name_, "enter");
}

DPX_LogScope::~DPX_LogScope() { LogSink::Write(LogLevel::Debug, name_, "leave"); }

}  // namespace dpx
