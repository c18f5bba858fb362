// The configuration-file reader, then the splitting of every stored category
// into the records a copy hands to the managers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/connection_context.h"
#include "engine/operation_args.h"
#include "fuzz/fuzz_input.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dpx::fuzz::Quiet();
  DPX_ConnectionContext context;
  DPX_ConfigurationManager manager(&context);
  manager.setLogger(nullptr);
  DPX_Worksheet worksheet;
  if (manager.readConfigurationFile(worksheet, dpx::fuzz::InputFile(data, size)) != 0) return 0;
  for (auto it = manager.objects().cbegin(); it != manager.objects().cend(); ++it) {
    std::string key;
    if (!manager.getObjectStringId(it, key)) continue;
    const auto records = manager.categoryRecords(*it, key);
    std::vector<DPX_OperationArgs> stored;
    manager.getData(key, stored);
  }
  return 0;
}
