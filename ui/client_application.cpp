#include "ui/client_application.h"

#include "engine/connection_context.h"

using dpx::hostclient::HostClient;

HostClient& DPX_ClientApplication::live() {
  if (!client_) throw dpx::HostError(dpx::E_FAIL, "HostClient", "The host client no longer runs");
  return *client_;
}

HostClient* DPX_ClientApplication::ClientOf(DPX_ConnectionContext* context) {
  if (!context) return nullptr;
  auto application = std::dynamic_pointer_cast<DPX_ClientApplication>(context->getApplication());
  return application ? application->client() : nullptr;
}
