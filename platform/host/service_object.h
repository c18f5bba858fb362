// A value object of a company service (a numbering series and its
// parameters, a posting-period category, a period): a fixed set of typed
// properties read and written by name, and the object as XML under a root
// element named after its kind. The service that made it gives it meaning;
// the object itself never touches the database.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_object.h"
#include "platform/host/object_registry.h"

namespace dpx::host {

class Company;

struct ServiceProperty {
  std::string name;
  PropKind kind = PropKind::Text;   // Text, Int or Date
  bool readOnly = false;            // kept by the host: put refuses it, ReadXml passes over it
};

class ServiceObject : public HostObject {
 public:
  // `properties` outlives the object (the services keep them as constants).
  ServiceObject(std::shared_ptr<Company> company, std::string kind, const std::vector<ServiceProperty>& properties);

  const std::string& kind() const { return kind_; }

  // Host side: a value as the object holds it (empty when unset), and a set
  // that passes by the read-only rule.
  Variant value(const std::string& name) const;
  void setValue(const std::string& name, const Variant& value);

  // Declaration, then <Kind> with one child per property in declaration
  // order; integers in decimal, dates as YYYYMMDD, an empty value as
  // <Name nil="true"/>.
  std::string GetAsXML() const;
  // Fills the object from such XML: the root must be the object's kind and
  // name only its properties. Read-only properties keep their values. Raises
  // HostError(kHrInvalidXml) for XML it cannot take; nothing is changed then.
  void ReadXml(const std::string& xml);

  // By name: every property by get / put ("get:<Kind>.<Name>" and
  // "put:<Kind>.<Name>" faults apply), GetAsXML() and ReadXml(xml).
  HRESULT get(const std::string& name, Variant& out) override;
  HRESULT put(const std::string& name, const Variant& value) override;
  HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) override;
  bool hasMember(const std::string& name) const override;
  std::string typeName() const override { return kind_; }

 private:
  const ServiceProperty* find(const std::string& name) const;

  std::shared_ptr<Company> company_;
  std::string kind_;
  const std::vector<ServiceProperty>* properties_;
  std::map<std::string, Variant> values_;
};

// A list a service hands out (period categories, the periods of one
// category): Count and Item(i), zero-based. Item past the end raises.
class ServiceList : public HostObject {
 public:
  explicit ServiceList(std::vector<std::shared_ptr<ServiceObject>> items) : items_(std::move(items)) {}
  int Count() const { return static_cast<int>(items_.size()); }
  std::shared_ptr<ServiceObject> Item(int index) const;

  HRESULT get(const std::string& name, Variant& out) override;
  HRESULT getObject(const std::string& name, std::shared_ptr<HostObject>& out) override;
  bool hasMember(const std::string& name) const override { return name == "Count"; }
  std::string typeName() const override { return "List"; }

 private:
  std::vector<std::shared_ptr<ServiceObject>> items_;
};

}  // namespace dpx::host
