// One listed record of a category: the names and values of its key fields
// and of its listed fields. The record list shows it, the worksheet matches
// its selections against it, and readFromDB receives the chosen ones.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/variant.h"

class DPX_DetailRecord {
 public:
  // Reads by index return copies; an index outside the list throws
  // std::out_of_range.
  dpx::Variant getKeyValue(size_t index) const;
  std::string getKeyName(size_t index) const;
  std::string getText(size_t index) const;  // the name of field index
  dpx::Variant getValue(size_t index) const;

  size_t getKeyCount() const { return keyValues_.size(); }
  size_t getValueCount() const { return values_.size(); }
  const std::vector<std::string>& getKeyNames() const { return keyNames_; }
  const std::vector<dpx::Variant>& getKeyValues() const { return keyValues_; }
  const std::vector<std::string>& getNames() const { return names_; }
  const std::vector<dpx::Variant>& getValues() const { return values_; }

  // Appends a field (name and value); the key lists stay as they are.
  void addValue(const std::string& name, const dpx::Variant& value);
  // Appends a key field (name and value); the field lists stay as they are.
  void addKeyValue(const std::string& name, const dpx::Variant& value);

 private:
  std::vector<std::string> keyNames_;
  std::vector<std::string> names_;
  std::vector<dpx::Variant> keyValues_;
  std::vector<dpx::Variant> values_;
};
