// One copy-log line. See copy_log_record.h for how values are kept from
// breaking the line apart.
#include "engine/copy_log_record.h"

std::string DPX_CopyLogRecord::CleanColumn(const std::string& value) {
  std::string out;
  out.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '|') {
      out += "\xC2\xA6";  // broken bar
    } else if (c == '\r') {
      out += ' ';
      if (i + 1 < value.size() && value[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

void DPX_CopyLogRecord::set(Column column, const std::string& value) { columns_[column] = CleanColumn(value); }

void DPX_CopyLogRecord::clear() {
  for (auto& c : columns_) c.clear();
}

std::string DPX_CopyLogRecord::line() const {
  std::string out;
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (i > 0) out += '|';
    out += columns_[i];
  }
  out += "\r\n";
  return out;
}
