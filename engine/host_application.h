// The host client's user-interface application, as the engine sees it: the
// client's language, a liveness probe, its own message box with free button
// captions, and its status bar. The desktop UI and the client tool implement
// it over whatever host client they run in; tests script it.
// Every call may raise dpx::HostError when the host client no longer answers.
#pragma once

#include <string>

namespace dpx {

class HostApplication {
 public:
  virtual ~HostApplication() = default;

  // Reads one property of the client; raises HostError when the client is gone.
  virtual void probe() = 0;

  // The client's current language (kHostLanguageEnglish and friends).
  virtual int language() = 0;

  // The client's message box: text, the default button (1 to 3) and the
  // captions of buttons 1 to 3 (an empty caption hides the button).
  // Returns the number of the button pressed.
  virtual int messageBox(const std::string& text, int defaultButton, const std::string& button1,
                         const std::string& button2, const std::string& button3) = 0;

  // Shows an error text in the client's own status bar.
  virtual void setStatusBarErrorMessage(const std::string& text) = 0;

  // The client's descriptions of its forms: the description of a form, and
  // of an item (or a column of a matrix item; "-1" for the item itself) on a
  // form. Both raise HostError for a form or item the client cannot
  // describe. A client without descriptions of its own answers from a small
  // table of the common forms.
  virtual std::string formDescription(const std::string& formId);
  virtual std::string itemDescription(const std::string& formId, const std::string& itemId,
                                      const std::string& columnId);
};

}  // namespace dpx
