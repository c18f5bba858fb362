#include "platform/hostclient/add_on.h"

#include "platform/hostclient/host_client.h"

namespace dpx::hostclient {

AddOn::AddOn(std::string connectionString, std::string addOnId, std::string thirdText)
    : connectionString_(std::move(connectionString)), addOnId_(std::move(addOnId)), thirdText_(std::move(thirdText)) {}

AddOn::~AddOn() {
  if (client_ && sink_) client_->detach(sink_.get());
}

long AddOn::Connect(int) {
  HostClient* client = HostClient::find(connectionString_);
  if (!client)
    throw HostError(E_FAIL, "AddOn", "No running host client answers to the connection string '" +
                                         connectionString_ + "'");
  auto company = client->newAddOnCompany();
  if (client_ && sink_) client_->detach(sink_.get());
  client_ = client;
  sink_.reset(createEventSink());
  client->attach(sink_.get());
  sink_->OnApplicationLoad(client, company);
  return 0;
}

}  // namespace dpx::hostclient
