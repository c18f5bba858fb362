// The copy log file. See copy_log.h for the format.
#include "engine/copy_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "engine/connection_context.h"
#include "engine/copy_stop.h"
#include "engine/settings_manager.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"

namespace {

constexpr const char* kLineTimeFormat = "%Y-%m-%d %H:%M:%S";
constexpr const char* kFileTimeFormat = "%Y%m%d%H%M%S";

std::string CopyMethodId(int32_t method) {
  switch (method) {
    case 1: return "2022";
    case 2: return "2023";
    case 3: return "2024";
    case 4: return "2025";
    default: return "10009";
  }
}

std::string ResponseId(int32_t response) {
  switch (response) {
    case 0: return "2029";
    case 1: return "2028";
    case 2: return "2027";
    default: return "10010";
  }
}

// The company's name as the host reports it; "" without a company or when
// the host cannot say.
std::string NameOf(const DPX_ConnectionContext::CompanyPtr& company) {
  if (!company) return {};
  try {
    return company->CompanyName();
  } catch (const dpx::HostError&) {
    return {};
  }
}

}  // namespace

std::string formatTime(std::time_t time, const char* format) {
  if (!format) return {};
  std::tm local{};
  if (!localtime_r(&time, &local)) return {};
  char buffer[128];
  const size_t n = std::strftime(buffer, sizeof buffer, format, &local);
  return n == 0 ? std::string() : std::string(buffer, n);
}

DPX_CopyLog::DPX_CopyLog(DPX_ConnectionContext* context)
    : context_(context), clock_([] { return std::time(nullptr); }) {}

DPX_CopyLog::~DPX_CopyLog() { close(); }

std::string DPX_CopyLog::FileName(const std::string& targetName, bool hasTarget, std::time_t startTime) {
  std::string name;
  if (hasTarget) {
    for (char c : targetName) {
      const bool forbidden = c == '\\' || c == '/' || c == ':' || c == '*' || c == '<' || c == '>' || c == '?' ||
                             c == '"' || (static_cast<unsigned char>(c) < 0x20);
      if (!forbidden) name += c;
    }
  } else {
    name = "NO_TARGET";
  }
  const std::string ending = "_" + formatTime(startTime, kFileTimeFormat) + ".txt";
  // A file name holds at most 255 bytes, with room left for the "_9999" of a
  // second log in the same second: a longer company name is cut, never in
  // the middle of a character.
  constexpr size_t kMaxFileName = 255;
  constexpr size_t kSuffixRoom = 5;
  const size_t room = kMaxFileName - kSuffixRoom - ending.size();
  if (name.size() > room) {
    size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  return name + ending;
}

bool DPX_CopyLog::open() {
  dpx::DPX_LogScope log("DPX_CopyLog::open");
  if (!context_) return false;
  DPX_SettingsManager settings(context_);
  // Without a settings row (or when it cannot be read) the folder stays empty.
  settings.getSettingsFromDatabase();
  const std::string folder = settings.getLogFileFolder();
  if (folder.empty()) return false;
  const auto target = context_->getTargetCompany();
  if (!openIn(folder, NameOf(target), target != nullptr)) {
    log.LogError("Failed to create the copy log in \"%s\" (error %d)\n", folder, lastOpenError_);
    return false;
  }
  context_->setLogFile(path_);
  return true;
}

bool DPX_CopyLog::openIn(const std::string& folder, const std::string& targetName, bool hasTarget) {
  close();
  if (folder.empty()) return false;
  const char last = folder.back();
  const std::string prefix = folder + (last == '/' || last == '\\' ? "" : "/");
  std::string name = FileName(targetName, hasTarget, clock_());
  const std::string stem = name.substr(0, name.size() - 4);
  // Two copies started within the same second must not share a file: create
  // exclusively and try the next suffix while the name is taken.
  for (int n = 1; n <= 9999; ++n) {
    const std::string candidate = prefix + (n == 1 ? name : stem + "_" + std::to_string(n) + ".txt");
    file_ = std::fopen(candidate.c_str(), "wbx");
    if (file_) {
      // Unbuffered: every line is in the file once written, and a write the
      // disk refuses is known at that line.
      std::setvbuf(file_, nullptr, _IONBF, 0);
      lastOpenError_ = 0;
      path_ = candidate;
      size_ = 0;
      released_ = 0;
      failed_.clear();
      return true;
    }
    if (errno != EEXIST) break;
  }
  lastOpenError_ = errno;
  return false;
}

void DPX_CopyLog::writeText(const std::string& utf8, bool record) {
  if (!file_) throw std::runtime_error("The copy log is not open");
  const std::string bytes = dpx::Utf8ToUtf16LEBytes(utf8);
  if (holding_) {
    held_ += bytes;
    return;
  }
  writeBytes(bytes);
  if (record) keepRoom(size_);
}

void DPX_CopyLog::keepRoom(uint64_t cutTo) {
  // Reserved beyond the end, the file's size unchanged: the lines to come
  // are written into room the disk has already given.
  if (::fallocate(::fileno(file_), FALLOC_FL_KEEP_SIZE, static_cast<off_t>(size_), kRoom) == 0) return;
  if (errno == EOPNOTSUPP || errno == ENOSYS) return;  // a disk that cannot reserve promises nothing
  failed_ = std::strerror(errno);
  cutBack(cutTo);
  throw stopped();
}

DPX_CopyStopped DPX_CopyLog::stopped() const {
  return DPX_CopyStopped("The copy log '" + path_ + "' cannot take more lines (" + failed_ +
                         "); the copy stopped here");
}

void DPX_CopyLog::writeBytes(const std::string& bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size() && std::fflush(file_) == 0) {
    size_ += bytes.size();
    return;
  }
  failed_ = std::strerror(errno);
  // What the file holds ends with its last whole line, never inside one.
  cutBack(size_);
  // Every record written after this would have no line: the copy stops.
  throw stopped();
}

void DPX_CopyLog::cutBack(uint64_t size) {
  std::clearerr(file_);
  if (::ftruncate(::fileno(file_), static_cast<off_t>(size)) != 0 ||
      std::fseek(file_, static_cast<long>(size), SEEK_SET) != 0) {
    dpx::DPX_LogScope log("DPX_CopyLog::cutBack");
    log.LogError("The copy log \"%s\" cannot be cut back to %d bytes: %s", path_, static_cast<long long>(size),
                 std::strerror(errno));
  }
  size_ = size;
}

void DPX_CopyLog::holdLines() { holding_ = true; }

void DPX_CopyLog::releaseLines() {
  holding_ = false;
  std::string bytes;
  bytes.swap(held_);
  released_ = size_;
  if (bytes.empty()) return;
  writeBytes(bytes);
  keepRoom(released_);
}

void DPX_CopyLog::takeBackLines() {
  if (file_ && released_ < size_) cutBack(released_);
}

void DPX_CopyLog::dropLines() {
  holding_ = false;
  held_.clear();
}

void DPX_CopyLog::writeHeader() {
  if (!context_) {
    writeHeaderLine({}, {}, -1, -1, false);
    return;
  }
  writeHeaderLine(NameOf(context_->getBaseCompany()), NameOf(context_->getTargetCompany()),
                  context_->getCopyMethod(), context_->getResponseToCopyFailure(),
                  context_->getFailRecordsForMissingFields());
}

void DPX_CopyLog::writeHeaderLine(const std::string& baseName, const std::string& targetName, int32_t copyMethod,
                                  int32_t responseToFailure, bool failRecordsForMissingFields) {
  const std::string line = formatTime(clock_(), kLineTimeFormat) + "|" + DPX_CopyLogRecord::CleanColumn(baseName) +
                           "|" + DPX_CopyLogRecord::CleanColumn(targetName) + "|" + CopyMethodId(copyMethod) + "|" +
                           ResponseId(responseToFailure) + "|" + (failRecordsForMissingFields ? "1" : "0") + "\r\n";
  writeText(line);
}

void DPX_CopyLog::setAction(int32_t action) {
  switch (action) {
    case 0: record_.set(DPX_CopyLogRecord::kAction, "404"); break;
    case 2: record_.set(DPX_CopyLogRecord::kAction, "213"); break;
    case 3: record_.set(DPX_CopyLogRecord::kAction, "212"); break;
    default: record_.set(DPX_CopyLogRecord::kAction, ""); break;
  }
}

void DPX_CopyLog::writeRecord(bool write) {
  const std::string& result = record_.get(DPX_CopyLogRecord::kResult);
  if (result == "402" && !leftOut_.empty()) {
    std::string error = record_.get(DPX_CopyLogRecord::kError);
    for (const std::string& sentence : leftOut_) error += (error.empty() ? "" : "; ") + sentence;
    leftOut_.clear();
    setError(error);
  }
  if (write || result == "403") writeText(record_.line(), true);
  if (check_) check_(record_);
}

void DPX_CopyLog::writeEndMarker() { writeText("<DPX_LOG_END>" + formatTime(clock_(), kLineTimeFormat)); }

void DPX_CopyLog::close() {
  if (!file_) return;
  // The room reserved for lines that did not come is given back.
  if (::ftruncate(::fileno(file_), static_cast<off_t>(size_)) != 0) {
    dpx::DPX_LogScope log("DPX_CopyLog::close");
    log.LogWarning("The copy log \"%s\" keeps its reserved room: %s", path_, std::strerror(errno));
  }
  std::fclose(file_);
  file_ = nullptr;
}

void DPX_CopyLog::setError(std::string text) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;  // inside a character
    if (characters++ == kErrorLength) {
      text.erase(i);
      text += "...";
      break;
    }
  }
  record_.set(DPX_CopyLogRecord::kError, text);
}
