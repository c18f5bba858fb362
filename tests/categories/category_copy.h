// Shared by the category copy tests: a case of the copy-method tables, and
// a copy of a whole category (or chosen records) by two managers from the
// factory, one reading the base and a fresh one writing the target, as the
// copy driver does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "categories/category_classes.h"
#include "engine/category_factory.h"
#include "tests/support/copy_fixture.h"

namespace dpx::test {

struct MethodCase {
  uint8_t method;
  std::string rows;                // the target's rows afterwards, as the case's query renders them
  std::vector<std::string> lines;  // the copy-log lines, in order
};

inline std::vector<DPX_OperationArgs> CopyCategory(CopyFixture& fx, const std::string& key, uint8_t method,
                                                   std::vector<DPX_DetailRecord> chosen = {}) {
  RegisterCategoryClasses();
  DPX_CategoryFactory factory(&fx.context);
  std::vector<DPX_OperationArgs> blocks;
  factory.createManager(key)->readFromDB(blocks, std::move(chosen));
  factory.createManager(key)->writeData(blocks, method);
  return blocks;
}

}  // namespace dpx::test
