// Defaults of the by-name interface: no members.
#include "platform/host/host_object.h"

namespace dpx::host {

HRESULT HostObject::get(const std::string&, Variant& out) {
  out = Variant();
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT HostObject::put(const std::string&, const Variant&) { return DISP_E_MEMBERNOTFOUND; }

HRESULT HostObject::invoke(const std::string&, const std::vector<Variant>&, Variant& out) {
  out = Variant();
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT HostObject::getObject(const std::string&, std::shared_ptr<HostObject>& out) {
  out.reset();
  return DISP_E_MEMBERNOTFOUND;
}

bool HostObject::hasMember(const std::string&) const { return false; }

}  // namespace dpx::host
