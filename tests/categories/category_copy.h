// Shared by the category copy tests: a case of the copy-method tables; a
// copy of a whole category (or chosen records) by two managers from the
// factory, one reading the base and a fresh one writing the target, as the
// copy driver does; and the blocks of a configuration file as the record
// list reads them back (tests/support/stored_blocks.h).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "engine/category_factory.h"
#include "tests/support/copy_fixture.h"
#include "tests/support/stored_blocks.h"

namespace dpx::test {

struct MethodCase {
  uint8_t method;
  std::string rows;                // the target's rows afterwards, as the case's query renders them
  std::vector<std::string> lines;  // the copy-log lines, in order
};

// The blocks the reader gave; nothing is written when the factory makes
// another class than Manager for the key.
template <class Manager = DPX_DIInterface>
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

}  // namespace dpx::test
