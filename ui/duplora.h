// The add-on object: attaches the program to the host client through the
// add-on framework and makes the program's event sink.
#pragma once

#include <string>

#include "platform/hostclient/add_on.h"

class DPX_Duplora : public dpx::hostclient::AddOn {
 public:
  static constexpr const char* kAddOnId = "DPX";

  explicit DPX_Duplora(const std::string& connectionString);
  ~DPX_Duplora() override;

  // A new MyDispatch; the framework owns it.
  dpx::hostclient::EventSink* createEventSink() override;
  dpx::hostclient::ResourceLoader& getResourceLoader() override { return resourceLoader_; }

  // Whether a help file exists for the language code (whole text, case counts).
  static bool isSupportedLanguage(const std::string& code);

 private:
  dpx::hostclient::ResourceLoader resourceLoader_;
};
