// The engine's view of the host client (dpx::HostApplication) over the running
// client window. When the client is gone every call raises HostError, which
// the connection context turns into the program's fatal message.
#pragma once

#include <QPointer>

#include "engine/host_application.h"
#include "platform/hostclient/host_client.h"

class DPX_ConnectionContext;

class DPX_ClientApplication : public dpx::HostApplication {
 public:
  explicit DPX_ClientApplication(dpx::hostclient::HostClient* client) : client_(client) {}

  void probe() override { live(); }
  int language() override { return live().language(); }
  int messageBox(const std::string& text, int defaultButton, const std::string& button1, const std::string& button2,
                 const std::string& button3) override {
    return live().messageBox(text, defaultButton, button1, button2, button3);
  }
  void setStatusBarErrorMessage(const std::string& text) override { live().setStatusBarErrorMessage(text); }

  dpx::hostclient::HostClient* client() const { return client_; }

  // The client window of a context's application; null when the context has
  // none (or another kind of application).
  static dpx::hostclient::HostClient* ClientOf(DPX_ConnectionContext* context);

 private:
  dpx::hostclient::HostClient& live();

  QPointer<dpx::hostclient::HostClient> client_;
};
