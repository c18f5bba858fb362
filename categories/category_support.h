// Small pieces the category managers share beyond the record families: a
// new record of a block, properties of host objects read and written by name
// with the host's reason in the error, and a compared block of business
// objects written by its copy method.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/operation_args.h"
#include "platform/framework/host_error.h"
#include "platform/framework/variant.h"

class DPX_DIInterface;

namespace dpx::host {
class Company;
class HostObject;
}  // namespace dpx::host

namespace dpx::categories {

// A record of a block, not yet compared with the target.
DPX_OperationArgs::DataItem Record(std::string xml);

// The text of a host error for the copy log: its description, else its message.
std::string ErrorText(const dpx::HostError& e);

// A property by name; a read the host refuses raises HostError.
dpx::Variant GetProperty(const std::shared_ptr<dpx::host::HostObject>& object, const std::string& property);
// Sets a property by name; a refusal raises HostError with the company's
// last error (when a company is given) in its description.
void PutProperty(const std::shared_ptr<dpx::host::HostObject>& object, const std::string& property,
                 const dpx::Variant& value, dpx::host::Company* company = nullptr);

// Writes a block that the comparison with the target has marked: 2 updates
// the records the target has, 3 adds the others, any other method adds or
// updates. The removal pass (0) is the caller's. The block's records are
// handed on to the write: it is left empty.
void WriteObjectsByMethod(DPX_DIInterface& manager, DPX_OperationArgs& block, uint8_t method);

}  // namespace dpx::categories
