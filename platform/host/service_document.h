// A document a company service hands out or takes (a report layout, a user's
// column preferences, a user's menu entry): an XML text with a few text
// properties the service read from it. It never touches the database; the
// service that made it gives it meaning.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_object.h"

namespace dpx::host {

class Company;

class ServiceDocument : public HostObject {
 public:
  ServiceDocument(std::string kind, std::string xml, std::map<std::string, std::string> properties = {})
      : kind_(std::move(kind)), xml_(std::move(xml)), properties_(std::move(properties)) {}

  const std::string& kind() const { return kind_; }
  // The document with the host's declaration in front.
  const std::string& GetAsXML() const { return xml_; }
  // A property the service read from the document; "" when it has none.
  std::string property(const std::string& name) const;

  // By name: the properties, and GetAsXML().
  HRESULT get(const std::string& name, Variant& out) override;
  HRESULT invoke(const std::string& name, const std::vector<Variant>& args, Variant& out) override;
  bool hasMember(const std::string& name) const override;
  std::string typeName() const override { return kind_; }

 private:
  std::string kind_;
  std::string xml_;
  std::map<std::string, std::string> properties_;
};

// The text between the root element's start and end tags of an XML document
// (declaration skipped), as it stands; the root's name in `root`. Raises
// HostError(kHrInvalidXml) when the text is no element.
std::string RootContent(const std::string& xml, std::string& root);

// The per-user services name a user by its internal key: one the company
// does not have raises HostError with "Invalid User" as last error.
void RequireUserKey(Company& company, int64_t user, const std::string& service);

}  // namespace dpx::host
