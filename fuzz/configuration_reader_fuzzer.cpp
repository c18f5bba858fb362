// The configuration-file reader, then the splitting of every stored category
// into the records a copy hands to the managers.
#include <cstddef>
#include <cstdint>

#include "engine/connection_context.h"
#include "engine/operation_args.h"
#include "fuzz/fuzz_input.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/worksheet.h"
#include "worksheet/worksheet_node.h"

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
    std::string text;
    DPX_WorksheetNode whole;
    manager.GetBOMFromXML(text, it, {}, whole);
    const auto records = DPX_ConfigurationManager::splitRecords(key, text);
    std::vector<DPX_OperationArgs> stored;
    manager.getData(key, stored);
    (void)records;
  }
  return 0;
}
