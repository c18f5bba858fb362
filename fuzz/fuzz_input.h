// What the fuzzers share: the program's log kept quiet, and the input handed
// to the readers as the file a user would give them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace dpx::fuzz {

// Silences the program's log once per process.
void Quiet();
// Writes the input to a private temporary file and gives its path; the
// file is replaced by the next input.
std::string InputFile(const uint8_t* data, size_t size);

}  // namespace dpx::fuzz
