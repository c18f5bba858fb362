// The category key table: every category key of the worksheet tree and every
// category-note key, tied to the string-table id of the text the user reads.
// One process-wide instance, complete before any other part of the program
// looks a key up; read-only afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class DPX_ResourceManager {
 public:
  // One row: key, string id, value (the value stays empty in this table).
  struct Row {
    std::string key;
    uint32_t stringId = 0;
    std::string value;
  };

  // The id of the terminator row, which the empty key finds.
  static constexpr uint32_t kTerminatorId = 0xFFFFFFFFu;

  static DPX_ResourceManager& getInstance();

  // The string id of the first row whose key equals `key` exactly (case and
  // blanks count); 0 when no row has it. The empty key yields kTerminatorId.
  uint32_t getStringId(const std::string& key) const;

  // Loads the text of `id` in the host language into `text`: 0 when a
  // non-empty text was found, 1 otherwise (id below 1, or no text), with
  // `text` then left as it was.
  static int32_t loadString(int32_t id, int language, std::string& text);

  // The rows in building order, the terminator last.
  const std::vector<Row>& rows() const { return rows_; }

  virtual ~DPX_ResourceManager();

 protected:
  DPX_ResourceManager();
  virtual void buildKeyTable();

 private:
  DPX_ResourceManager(const DPX_ResourceManager&) = delete;
  DPX_ResourceManager& operator=(const DPX_ResourceManager&) = delete;

  std::vector<Row> rows_;
  // The lookup map: keys and row copies in array order, searched linearly.
  std::vector<std::string> mapKeys_;
  std::vector<Row> mapRows_;
};
