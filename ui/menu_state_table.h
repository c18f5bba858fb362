// The GUI controller's table of command ids and their enabled states. The
// menus and the frame's commands read it; the controller recomputes it on
// every change of state. An id may stand in it more than once: the first
// entry answers a look-up, every entry is applied in order.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class DPX_MenuStateTable {
 public:
  struct Entry {
    uint32_t id;
    bool enabled;
  };

  void add(uint32_t id, bool enabled) { entries_.push_back({id, enabled}); }
  void clear() { entries_.clear(); }
  // The enabled state of the first entry with that id; nothing when none has it.
  std::optional<bool> find(uint32_t id) const {
    for (const auto& e : entries_)
      if (e.id == id) return e.enabled;
    return std::nullopt;
  }
  std::vector<Entry>& entries() { return entries_; }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};
