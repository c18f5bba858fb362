// The collection object of one line element of a business object: its line
// count, the current line and that line's properties. Lines are added at
// the end and the new line becomes current; SetCurrentLine past the end
// leaves the current line where it is.
#pragma once

#include <memory>
#include <string>

#include "platform/host/host_object.h"

namespace dpx::host {

class BusinessObject;

class LineCollection : public HostObject {
 public:
  LineCollection(std::shared_ptr<BusinessObject> owner, std::string element);

  // By name: "Count" (read), the current line's properties (get and put),
  // SetCurrentLine(index) and Add().
  HRESULT get(const std::string& name, Variant& out) override;
  HRESULT put(const std::string& name, const Variant& value) override;
  HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) override;
  bool hasMember(const std::string& name) const override;
  std::string typeName() const override { return element_; }

 private:
  std::shared_ptr<BusinessObject> owner_;
  std::string element_;
};

}  // namespace dpx::host
