#include "engine/detail_record.h"

#include <stdexcept>

#include <fmt/format.h>

namespace {

template <class T>
const T& At(const std::vector<T>& list, size_t index, const char* what) {
  if (index >= list.size())
    throw std::out_of_range(fmt::format("DPX_DetailRecord: {} index {} outside 0..{}", what, index, list.size()));
  return list[index];
}

}  // namespace

dpx::Variant DPX_DetailRecord::getKeyValue(size_t index) const { return At(keyValues_, index, "key value"); }

std::string DPX_DetailRecord::getKeyName(size_t index) const { return At(keyNames_, index, "key name"); }

std::string DPX_DetailRecord::getText(size_t index) const { return At(names_, index, "field name"); }

dpx::Variant DPX_DetailRecord::getValue(size_t index) const { return At(values_, index, "field value"); }

void DPX_DetailRecord::addValue(const std::string& name, const dpx::Variant& value) {
  names_.push_back(name);
  values_.push_back(value);
}

void DPX_DetailRecord::addKeyValue(const std::string& name, const dpx::Variant& value) {
  keyNames_.push_back(name);
  keyValues_.push_back(value);
}
