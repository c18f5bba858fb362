// The copy log of one copy: a UTF-16LE text file without byte-order mark in
// the log-file folder of the settings, with a header line, one line per
// record the copy added, updated, removed or failed on, and an end marker.
// The log viewer reads these files back, so the format is fixed:
//   header   start time|base name|target name|copy method id|response id|0 or 1\r\n
//   record   nine columns (DPX_CopyLogRecord) joined by "|", then \r\n
//   end      <DPX_LOG_END>end time   (no line end)
// Times are local, "%Y-%m-%d %H:%M:%S". The file is named after the target
// company and the start time to the second; a log that already exists under
// that name is never overwritten: the new one gets a suffix "_2", "_3"...
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "engine/copy_log_record.h"
#include "engine/copy_stop.h"

class DPX_ConnectionContext;

// The local time of `time` in the strftime `format`; "" when the format is
// null or the time cannot be converted.
std::string formatTime(std::time_t time, const char* format);

class DPX_CopyLog {
 public:
  using Clock = std::function<std::time_t()>;

  explicit DPX_CopyLog(DPX_ConnectionContext* context);
  ~DPX_CopyLog();
  DPX_CopyLog(const DPX_CopyLog&) = delete;
  DPX_CopyLog& operator=(const DPX_CopyLog&) = delete;

  // Creates the log file in the settings' log-file folder and stores its path
  // in the context. False when the folder is empty or no file can be made.
  bool open();
  // Creates the log file in `folder`, named after `targetName` (or
  // "NO_TARGET" when hasTarget is false). False when no file can be made.
  bool openIn(const std::string& folder, const std::string& targetName, bool hasTarget);

  // The header from the context's companies and options.
  void writeHeader();
  void writeHeaderLine(const std::string& baseName, const std::string& targetName, int32_t copyMethod,
                       int32_t responseToFailure, bool failRecordsForMissingFields);

  void clearRecord() {
    record_.clear();
    leftOut_.clear();
  }
  void setCategoryNo(std::string text) { record_.set(DPX_CopyLogRecord::kCategoryNo, text); }
  void setResult(std::string text) { record_.set(DPX_CopyLogRecord::kResult, text); }
  void setBaseCode(std::string text) { record_.set(DPX_CopyLogRecord::kBaseCode, text); }
  void setBaseDescription(std::string text) { record_.set(DPX_CopyLogRecord::kBaseDescription, text); }
  void setTargetCode(std::string text) { record_.set(DPX_CopyLogRecord::kTargetCode, text); }
  void setTargetDescription(std::string text) { record_.set(DPX_CopyLogRecord::kTargetDescription, text); }
  void setTargetFormerDescription(std::string text) {
    record_.set(DPX_CopyLogRecord::kTargetFormerDescription, text);
  }
  // An error text longer than kErrorLength characters (a statement of
  // thousands of keys, say) is cut there and ends with "...".
  static constexpr size_t kErrorLength = 1000;
  void setError(std::string text);
  // The action of a writeData method: 0 "404" Deleted, 2 "213" Updated,
  // 3 "212" Added; any other value leaves the column empty.
  void setAction(int32_t action);
  // The action a copy method stands for on a line that names no record's own
  // action: a method of adding (1, 3, 4) adds what the target lacks.
  static int32_t actionOfMethod(int method) { return method == 0 || method == 2 ? method : 3; }

  // Notes that the current record is written without a field (the sentence
  // of engine/left_out_field.h). A line that succeeds names its notes in its
  // Error column, after any text it holds; clearRecord forgets them.
  void noteLeftOut(std::string sentence) { leftOut_.push_back(std::move(sentence)); }

  // Writes the current record as one line when `write` is true, or when its
  // Result is "403": a failure is never hidden, whatever the log switch of
  // the writer. The record stays as it is (with its notes in Error). Throws
  // std::runtime_error when no file is open, and DPX_CopyStopped when the
  // file cannot be written (a full disk) or has no room left for the line
  // after it: the file then ends with its last whole line.
  // Every record of the copy passes here, written or not: the record check
  // then sees it, and may raise to end the copy.
  void writeRecord(bool write);
  using RecordCheck = std::function<void(const DPX_CopyLogRecord&)>;
  void setRecordCheck(RecordCheck check) { check_ = std::move(check); }
  void writeEndMarker();
  void close();

  // The lines of a batch of target writes: while held, lines wait in memory;
  // releaseLines writes them at once (throws as writeRecord does, with none
  // of them in the file), dropLines forgets them (their records were undone).
  // The batch's records are committed only after their lines are in the
  // file; takeBackLines cuts the lines of the last release off the file again
  // when that commit fails.
  void holdLines();
  void releaseLines();
  void takeBackLines();
  void dropLines();
  // Why the file could not be written the last time it failed; "" until then.
  const std::string& writeFailure() const { return failed_; }

  const DPX_CopyLogRecord& record() const { return record_; }
  // The path of the open (or last opened) file; "" before open.
  const std::string& path() const { return path_; }
  // errno of the last failed open, 0 after a successful one.
  int lastOpenError() const { return lastOpenError_; }

  // The file name for a target company (the characters \ / : * < > ? " and
  // control characters removed) at a start time, without the folder.
  static std::string FileName(const std::string& targetName, bool hasTarget, std::time_t startTime);
  // Where the times come from (tests fix them).
  void setClock(Clock clock) { clock_ = std::move(clock); }

 private:
  // A record line (`record`) must leave room for the next: see keepRoom.
  void writeText(const std::string& utf8, bool record = false);
  void writeBytes(const std::string& bytes);
  // Reserves kRoom bytes beyond the end of the file, so that the line of a
  // record written without a batch always finds room: the copy stops while
  // the last written line still has its record, not after the next record
  // was written without one. Without room the file is cut back to `cutTo`
  // and DPX_CopyStopped raises.
  void keepRoom(uint64_t cutTo);
  DPX_CopyStopped stopped() const;
  static constexpr int64_t kRoom = 64 * 1024;
  // Cuts the file to `size` bytes and writes on from there.
  void cutBack(uint64_t size);

  std::FILE* file_ = nullptr;
  int lastOpenError_ = 0;
  DPX_ConnectionContext* context_;
  DPX_CopyLogRecord record_;
  std::vector<std::string> leftOut_;  // fields the current record is written without
  std::string path_;
  Clock clock_;
  RecordCheck check_;
  bool holding_ = false;
  std::string held_;  // UTF-16LE bytes of the held lines
  uint64_t size_ = 0;      // bytes in the file, all of them whole lines
  uint64_t released_ = 0;  // the file's size before the last release
  std::string failed_;     // why a write failed
};
