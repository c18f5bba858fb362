// A category copied between the fixture's companies as the copy driver does
// it: read from the base by one manager, written into the target by a fresh
// one, both made by the category factory from the category key; and the
// blocks of a configuration file as the record list reads them back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "engine/category_factory.h"
#include "engine/configuration_source.h"
#include "tests/support/copy_fixture.h"

namespace dpx::test {

// The blocks the reader gave; nothing is written when the factory makes
// another class than Manager for the key.
template <class Manager>
std::vector<DPX_OperationArgs> CopyCategory(CopyFixture& fx, const std::string& key, uint8_t method,
                                            std::vector<DPX_DetailRecord> chosen = {}) {
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  std::vector<DPX_OperationArgs> blocks;
  auto reader = factory.createManager(key);
  EXPECT_NE(dynamic_cast<Manager*>(reader.get()), nullptr) << key;
  if (!dynamic_cast<Manager*>(reader.get())) return blocks;
  reader->readFromDB(blocks, std::move(chosen));
  reader.reset();
  factory.createManager(key)->writeData(blocks, method);
  return blocks;
}

// A configuration file's blocks of one category, as the record list reads them back.
class StoredBlocks : public dpx::ConfigurationSource {
 public:
  explicit StoredBlocks(std::vector<DPX_OperationArgs> blocks) : blocks_(std::move(blocks)) {}
  int32_t getData(const std::string&, std::vector<DPX_OperationArgs>& out) override {
    out = blocks_;
    return out.empty() ? -1 : 0;
  }

 private:
  std::vector<DPX_OperationArgs> blocks_;
};

}  // namespace dpx::test
