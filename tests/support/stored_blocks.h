// A configuration file's blocks of one category, as the record list reads
// them back: every category key gets the same blocks.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/configuration_source.h"
#include "engine/operation_args.h"

namespace dpx::test {

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
