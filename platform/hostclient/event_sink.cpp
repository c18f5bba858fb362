#include "platform/hostclient/event_sink.h"

namespace dpx::hostclient {

HRESULT EventSink::OnMenuEvent(const MenuEvent&, bool&) { return S_OK; }
HRESULT EventSink::OnChangeLanguage() { return S_OK; }
HRESULT EventSink::OnCompanyEvent(std::shared_ptr<host::Company>) { return S_OK; }
HRESULT EventSink::OnApplicationLoad(HostClient*, std::shared_ptr<host::Company>) { return S_OK; }
HRESULT EventSink::OnApplicationUnload() { return S_OK; }
HRESULT EventSink::OnFormLoad(const FormEvent&, bool&) { return S_OK; }

}  // namespace dpx::hostclient
