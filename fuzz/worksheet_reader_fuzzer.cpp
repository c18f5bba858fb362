// The worksheet reader: a worksheet file into the worksheet model.
#include <cstddef>
#include <cstdint>

#include "engine/connection_context.h"
#include "fuzz/fuzz_input.h"
#include "worksheet/worksheet.h"
#include "worksheet/worksheet_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dpx::fuzz::Quiet();
  DPX_ConnectionContext context;
  DPX_Worksheet worksheet;
  DPX_WorksheetManager(&context).readWorksheet(worksheet, dpx::fuzz::InputFile(data, size));
  return 0;
}
