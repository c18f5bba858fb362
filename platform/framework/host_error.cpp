#include "platform/framework/host_error.h"

#include <fmt/printf.h>

namespace dpx {

std::string StatusMessage(HRESULT hr) {
  switch (static_cast<uint32_t>(hr)) {
    case 0x00000000u: return "The operation completed successfully.";
    case 0x00000001u: return "Incorrect function.";
    case 0x80004005u: return "Unspecified error";
    case 0x80004003u: return "Invalid pointer";
    case 0x80070057u: return "The parameter is incorrect.";
    case 0x80004004u: return "Operation aborted";
    case 0x8007000Eu: return "Not enough memory resources are available to complete this operation.";
    case 0x80004001u: return "Not implemented";
    case 0x80020003u: return "Member not found.";
    case 0x80040500u: return "The user-defined tables could not be created.";
    case 0x80040503u: return "The data interface refused the operation.";
    default: return fmt::sprintf("Unknown error 0x%0lX", static_cast<unsigned long>(static_cast<uint32_t>(hr)));
  }
}

int32_t InterfaceCode(HRESULT hr) {
  const auto u = static_cast<uint32_t>(hr);
  if (u >= 0x80040200u && u <= 0x8004FFFFu) return static_cast<int32_t>(u - 0x80040200u);
  return 0;
}

}  // namespace dpx
