// The program's sink of host-client events. On application load it applies the
// superuser gate, makes the connection context, hands it to the GUI controller,
// checks the company's user tables and settings and adds the menu entry that
// opens the window. After a failed gate it holds no context, and every later
// event does nothing.
#pragma once

#include <memory>
#include <string>

#include "platform/hostclient/event_sink.h"

class DPX_ClientApplication;
class DPX_ConnectionContext;
class DPX_GUIManager;

class MyDispatch : public dpx::hostclient::EventSink {
 public:
  MyDispatch();
  ~MyDispatch() override;

  dpx::HRESULT OnMenuEvent(const dpx::hostclient::MenuEvent& event, bool& bubble) override;
  dpx::HRESULT OnChangeLanguage() override;
  dpx::HRESULT OnCompanyEvent(std::shared_ptr<dpx::host::Company> company) override;
  dpx::HRESULT OnApplicationLoad(dpx::hostclient::HostClient* application,
                                 std::shared_ptr<dpx::host::Company> company) override;
  dpx::HRESULT OnApplicationUnload() override;
  dpx::HRESULT OnFormLoad(const dpx::hostclient::FormEvent& event, bool& bubble) override;

  // 0 when the company's user is a superuser; otherwise the client's message
  // box says so, the company is disconnected and the result is E_FAIL.
  dpx::HRESULT checkSuperUser(const std::shared_ptr<dpx::host::Company>& company);
  // Starts the window for the program's own entry, before the client acts.
  dpx::HRESULT handleMenuEvent(const std::string& menuUid, bool& bubble);

  DPX_ConnectionContext* context() const { return context_.get(); }
  std::shared_ptr<dpx::host::Company> company() const { return company_; }

 private:
  std::shared_ptr<DPX_ClientApplication> application_;
  std::shared_ptr<dpx::host::Company> company_;
  std::unique_ptr<DPX_ConnectionContext> context_;
  DPX_GUIManager* gui_ = nullptr;
};
