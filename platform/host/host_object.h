// The by-name face of every host object (business objects, recordsets, the
// bridge, the company service and its settings objects). The program's
// by-name helpers call members through it: a member that does not exist gives
// a failing status, never an exception. Typed C++ methods on the concrete
// classes are the fast path; both reach the same state.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/host_error.h"
#include "platform/framework/variant.h"

namespace dpx::host {

class HostObject : public std::enable_shared_from_this<HostObject> {
 public:
  virtual ~HostObject() = default;

  // Reads a property. DISP_E_MEMBERNOTFOUND for an unknown name; a host
  // failure behind the property gives its code (and out stays empty).
  virtual HRESULT get(const std::string& name, Variant& out);
  // Writes a property. DISP_E_MEMBERNOTFOUND for an unknown or read-only
  // name, E_INVALIDARG for a value the property cannot take.
  virtual HRESULT put(const std::string& name, const Variant& value);
  // Calls a method with its arguments in declaration order (not COM's
  // reversed order). A method's own result (a found flag, an Add result, an
  // XML text) comes back in out; the status says whether the call happened.
  // A host call that raises gives the HostError's code here.
  virtual HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out);
  // A member that is itself an object (the "Browser" of a business object,
  // the "Fields" of a recordset...). DISP_E_MEMBERNOTFOUND when absent.
  virtual HRESULT getObject(const std::string& name, std::shared_ptr<HostObject>& out);
  // Whether a property, method or object member of that name exists.
  virtual bool hasMember(const std::string& name) const;
  // The name the host gives the object's kind, for messages ("Recordset",
  // "BusinessObject 12"...).
  virtual std::string typeName() const = 0;
};

}  // namespace dpx::host
