// One field of a record that the user picked in the record list: its name,
// its value as text and the host's field-type name ("db_Alpha" ...). A
// selected record keeps three lists of them (key, subsKey, additionalData).
#pragma once

#include <string>

class DPX_SelectionField {
 public:
  DPX_SelectionField() = default;
  DPX_SelectionField(std::string fieldName, std::string value, std::string type)
      : fieldName_(std::move(fieldName)), value_(std::move(value)), type_(std::move(type)) {}

  const std::string& getFieldName() const { return fieldName_; }
  const std::string& getValue() const { return value_; }
  const std::string& getType() const { return type_; }
  void setFieldName(std::string v) { fieldName_ = std::move(v); }
  void setValue(std::string v) { value_ = std::move(v); }
  void setType(std::string v) { type_ = std::move(v); }

  // The type name of a host field type (0 alpha ... 4 float); empty for any other.
  void setTypeFromFieldType(int fieldType);

  bool operator==(const DPX_SelectionField&) const = default;

 private:
  std::string fieldName_;
  std::string value_;
  std::string type_;
};
