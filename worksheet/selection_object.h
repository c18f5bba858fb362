// One record that the user picked in a partly selected category: the values
// by which it is fetched from a company base (key), the values by which its
// rows are picked from a configuration-file base (subsKey), the user's edits
// and other values kept with the selection (additionalData), and the name of
// the table the record belongs to, which the changed-data merge needs.
#pragma once

#include <string>
#include <vector>

#include "worksheet/selection_field.h"

class DPX_SelectionObject {
 public:
  using Fields = std::vector<DPX_SelectionField>;

  Fields& getKey() { return key_; }
  Fields& getSubsKey() { return subsKey_; }
  Fields& getAdditionalData() { return additionalData_; }
  const Fields& getKey() const { return key_; }
  const Fields& getSubsKey() const { return subsKey_; }
  const Fields& getAdditionalData() const { return additionalData_; }

  void addKeyField(const DPX_SelectionField& field) { key_.push_back(field); }
  void addSubsKeyField(const DPX_SelectionField& field) { subsKey_.push_back(field); }
  void addAdditionalDataField(const DPX_SelectionField& field) { additionalData_.push_back(field); }
  void addKeyField(std::string name, std::string value, std::string type) {
    key_.emplace_back(std::move(name), std::move(value), std::move(type));
  }
  void addSubsKeyField(std::string name, std::string value, std::string type) {
    subsKey_.emplace_back(std::move(name), std::move(value), std::move(type));
  }
  void addAdditionalDataField(std::string name, std::string value, std::string type) {
    additionalData_.emplace_back(std::move(name), std::move(value), std::move(type));
  }

  void clearKey() { key_.clear(); }
  void clearSubsKey() { subsKey_.clear(); }
  void clearAdditionalData() { additionalData_.clear(); }

  const std::string& getTableName() const { return tableName_; }
  void setTableName(std::string name) { tableName_ = std::move(name); }

  bool operator==(const DPX_SelectionObject&) const = default;

 private:
  Fields key_;
  Fields subsKey_;
  Fields additionalData_;
  std::string tableName_;
};
