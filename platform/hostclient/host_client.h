// The host client: the desktop window a user logs on to a company with, and
// the user-interface API it offers its add-ons (language, message box, menus by
// unique id, forms, the menu batch loader) together with the events it sends
// their sinks (menu, language, company change, load, unload).
//
// An add-on finds a running client by its connection string.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QMainWindow>

#include "platform/framework/host_error.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace dpx::host {
class Company;
}

namespace dpx::hostclient {

class EventSink;

// A form of the client: add-ons freeze it while they change its menus.
struct HostForm {
  int type = 0;
  int instance = 0;
  int freezeDepth = 0;  // >0 while frozen
  int updates = 0;      // times it was redrawn on request
  void Freeze(bool on) { freezeDepth += on ? 1 : (freezeDepth > 0 ? -1 : 0); }
  void Update() { ++updates; }
};

class HostClient : public QMainWindow {
  Q_OBJECT

 public:
  // The menu under which add-ons place their entries, and the form that is
  // frozen while they do.
  static constexpr const char* kAddOnMenuUid = "4864";
  static constexpr int kMenuForm = 169;

  explicit HostClient(QWidget* parent = nullptr);
  ~HostClient() override;

  // Logs on to a company of a simulated server (the server folder as given).
  // False, with a message, when the server, company or login is refused.
  bool logOn(const std::string& server, const std::string& user, const std::string& password,
             const std::string& companyDb, std::string& error);
  std::shared_ptr<host::Company> company() const { return company_; }
  // A company object of its own for an add-on, logged on as the client is.
  // Raises HostError when it cannot connect.
  std::shared_ptr<host::Company> newAddOnCompany() const;
  // Logs on to another company of the same server with the same user and
  // tells the add-ons. False, with a message, when refused (nothing changes).
  bool changeCompany(const std::string& companyDb, std::string& error);

  // The text an add-on is started with to find this client.
  const std::string& connectionString() const { return connectionString_; }
  static HostClient* find(const std::string& connectionString);

  // --- The user-interface API -------------------------------------------
  int language() const { return language_; }
  // Switches the language and tells the add-ons.
  void setLanguage(int language);
  // A modal message box with up to three buttons (an empty caption hides one);
  // returns the number (1 to 3) of the button pressed.
  int messageBox(const std::string& text, int defaultButton, const std::string& button1, const std::string& button2,
                 const std::string& button3);
  // The entry of the menus with that unique id; null when there is none.
  QAction* menuItem(const std::string& uid) const;
  // A form by type and instance; raises HostError for one the client lacks.
  HostForm& form(int type, int instance);
  // Applies a batch of menu actions (<Application><Menus><action type="add"
  // or "remove"><Menu .../>...). 0 when every action was applied; otherwise
  // a failure, and lastBatchResults() says which action failed and why.
  HRESULT loadBatchActions(const std::string& xml);
  const std::string& lastBatchResults() const { return lastBatch_; }
  void setStatusBarErrorMessage(const std::string& text);

  // --- Add-ons -----------------------------------------------------------
  void attach(EventSink* sink);
  void detach(EventSink* sink);

  // File > Exit: unloads the add-ons, closes the window and says so.
  void exitClient();

 signals:
  void exited();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void chooseCompany();
  void sendMenuEvent(const std::string& uid);
  void showCompany();
  bool addMenu(const std::map<QString, QString>& attributes, std::string& error);
  bool removeMenu(const std::map<QString, QString>& attributes, std::string& error);
  template <class Event>
  void sendToSinks(Event event);

  std::string connectionString_;
  std::shared_ptr<host::Company> company_;
  std::string server_, user_, password_;
  int serverType_ = 0;
  int language_;
  std::vector<EventSink*> sinks_;
  std::vector<HostForm> forms_;
  std::string lastBatch_;
  QMenu* addOnMenu_ = nullptr;
  QActionGroup* languages_ = nullptr;
  QLabel* companyLabel_ = nullptr;
  bool exiting_ = false;
};

}  // namespace dpx::hostclient
