// The user-menu service (business service 2002 of the company service): a
// user's personal menu (table CUMI, one row per entry in menu order). The
// menu a service hands out is a collection in memory; removing, adding and
// setting entries change only it, and the database changes when the menu is
// stored, all at once or not at all.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/host/host_object.h"
#include "platform/host/service_object.h"

namespace dpx::host {

class Company;

// One user's menu: entries in order, each one element's XML.
class UserMenu : public HostObject {
 public:
  static constexpr const char* kRoot = "UserMenu";

  explicit UserMenu(std::vector<std::string> entries) : entries_(std::move(entries)) {}

  // The declaration and the root with one child element per entry.
  std::string GetAsXML() const;
  int Count() const { return static_cast<int>(entries_.size()); }
  // Raises HostError for an index past the end.
  void Remove(int index);
  // A new empty entry at the end; its index.
  int Add();
  // The entry at the index becomes the one element of the text; raises
  // HostError(kHrInvalidXml) for a text that is not one element.
  void SetEntryFromXML(int index, const std::string& xml);
  const std::vector<std::string>& entries() const { return entries_; }

  HRESULT get(const std::string& name, Variant& out) override;
  bool hasMember(const std::string& name) const override { return name == "Count" || name == "XML"; }
  std::string typeName() const override { return "UserMenu"; }

 private:
  std::vector<std::string> entries_;
};

class UserMenuService : public HostObject {
 public:
  static constexpr int kNumber = 2002;
  static constexpr int kParams = 0;  // GetDataInterface kind

  explicit UserMenuService(std::shared_ptr<Company> company);

  // Empty parameters (property UserId: the user's INTERNAL_K).
  std::shared_ptr<ServiceObject> GetDataInterface(int kind);
  // The user's menu; an unknown user raises.
  std::shared_ptr<UserMenu> GetUserMenu(const std::shared_ptr<ServiceObject>& params);
  // Stores the menu as the user's whole menu: 0. An unknown user or an entry
  // that was added but never set raises; nothing is stored then.
  int StoreUserMenu(const std::shared_ptr<ServiceObject>& params, const std::shared_ptr<UserMenu>& menu);

  std::string typeName() const override { return "UserMenuService"; }

 private:
  int64_t requireUser(const std::shared_ptr<ServiceObject>& params, const char* operation);

  std::shared_ptr<Company> company_;
};

}  // namespace dpx::host
