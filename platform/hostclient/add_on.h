// The add-on framework's add-on object: it attaches an add-on to the running
// host client that its connection string names, lets the add-on make its event
// sink, and delivers the application-load event before Connect returns.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QPointer>
#include <QWidget>

#include "platform/framework/host_error.h"
#include "platform/hostclient/event_sink.h"
#include "platform/hostclient/host_client.h"
#include "platform/hostclient/resource_loader.h"

namespace dpx::hostclient {

class AddOn {
 public:
  AddOn(std::string connectionString, std::string addOnId, std::string thirdText);
  // Detaches the sink from the client and deletes it.
  virtual ~AddOn();
  AddOn(const AddOn&) = delete;
  AddOn& operator=(const AddOn&) = delete;

  // Attaches to the client: 0 once the sink exists and has had the
  // application-load event (whatever the sink answered). Raises HostError
  // when the connection string names no running client or the client cannot
  // give the add-on a company.
  long Connect(int flags);
  // The add-on's main window, for the client's window management.
  void SetWndHandle(QWidget* window) { window_ = window; }
  QWidget* wndHandle() const { return window_; }

  virtual EventSink* createEventSink() = 0;
  virtual ResourceLoader& getResourceLoader() = 0;

  const std::string& connectionString() const { return connectionString_; }
  const std::string& addOnId() const { return addOnId_; }
  EventSink* sink() const { return sink_.get(); }
  HostClient* client() const { return client_; }

 private:
  std::string connectionString_;
  std::string addOnId_;
  std::string thirdText_;
  std::unique_ptr<EventSink> sink_;
  QPointer<HostClient> client_;
  QPointer<QWidget> window_;
};

}  // namespace dpx::hostclient
