// Status codes and the exception that a failing host call raises.
// Operations return a 32-bit status: 0 success, negative failure.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace dpx {

using HRESULT = int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
// The add-on framework's own codes: a user-table definition that could not be
// created, and a host call refused by the data interface.
constexpr HRESULT DPX_E_CREATE_FAILED = static_cast<HRESULT>(0x80040500u);
constexpr HRESULT DPX_E_HOST_REFUSED = static_cast<HRESULT>(0x80040503u);

inline bool Failed(HRESULT hr) { return hr < 0; }
inline bool Succeeded(HRESULT hr) { return hr >= 0; }

// The system's message for a status: a fixed text for the codes the program
// produces, "Unknown error 0x%0lX" for any other.
std::string StatusMessage(HRESULT hr);

// The interface-specific part of a status (status - 0x80040200 for
// 0x80040200..0x8004FFFF), 0 for any other.
int32_t InterfaceCode(HRESULT hr);

// Raised by a failing host call, as the host API's COM error would be.
class HostError : public std::runtime_error {
 public:
  HostError(HRESULT code, std::string source, std::string description)
      : std::runtime_error(description.empty() ? StatusMessage(code) : description),
        code_(code),
        source_(std::move(source)),
        description_(std::move(description)) {}

  HRESULT code() const { return code_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }
  // The system's message for the code.
  std::string errorMessage() const { return StatusMessage(code_); }

 private:
  HRESULT code_;
  std::string source_;
  std::string description_;
};

}  // namespace dpx
