// The add-on framework's event sink: the host client calls one operation of it
// per user-interface event it sends to an add-on. An add-on derives its own
// sink and overrides the events it handles; the rest answer 0.
#pragma once

#include <memory>
#include <string>

#include "platform/framework/host_error.h"

namespace dpx::host {
class Company;
}

namespace dpx::hostclient {

class HostClient;

// A menu event: the unique id of the chosen entry and the phase (before the
// client's own action, or after it).
struct MenuEvent {
  std::string menuUid;
  bool beforeAction = true;
};

// A form event (the client's forms are not shown to add-ons here; only the
// form type travels).
struct FormEvent {
  int formType = 0;
};

class EventSink {
 public:
  virtual ~EventSink() = default;

  // Bubble: the client goes on with its own handling while it stays true.
  virtual HRESULT OnMenuEvent(const MenuEvent& event, bool& bubble);
  virtual HRESULT OnChangeLanguage();
  virtual HRESULT OnCompanyEvent(std::shared_ptr<host::Company> company);
  virtual HRESULT OnApplicationLoad(HostClient* application, std::shared_ptr<host::Company> company);
  virtual HRESULT OnApplicationUnload();
  virtual HRESULT OnFormLoad(const FormEvent& event, bool& bubble);
};

}  // namespace dpx::hostclient
