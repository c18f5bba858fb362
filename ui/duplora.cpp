#include "ui/duplora.h"

#include "ui/my_dispatch.h"

namespace {
// The languages a help file exists for.
constexpr const char* kHelpLanguages[] = {"EN", "CS", "DA", "DE", "ES", "FI", "FR",   "HE", "HU", "IT", "JA",  "KO",
                                          "NL", "NO", "PL", "PT", "RU", "SK", "SV", "ZH", "PTBR", "EL", "ZHTW", "ESCO"};
}  // namespace

DPX_Duplora::DPX_Duplora(const std::string& connectionString) : AddOn(connectionString, kAddOnId, "") {}

DPX_Duplora::~DPX_Duplora() = default;

dpx::hostclient::EventSink* DPX_Duplora::createEventSink() { return new MyDispatch(); }

bool DPX_Duplora::isSupportedLanguage(const std::string& code) {
  for (const char* language : kHelpLanguages)
    if (code == language) return true;
  return false;
}
