#include "platform/hostclient/host_client.h"

#include <algorithm>
#include <optional>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QXmlStreamReader>

#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/host/company.h"
#include "platform/host/host_codes.h"
#include "platform/host/server_catalogue.h"
#include "platform/hostclient/add_on_util.h"
#include "platform/hostclient/event_sink.h"

namespace dpx::hostclient {

namespace {

std::map<std::string, HostClient*>& RunningClients() {
  static std::map<std::string, HostClient*> clients;
  return clients;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr int kMaxBatchDepth = 16;

}  // namespace

HostClient::HostClient(QWidget* parent) : QMainWindow(parent), language_(kHostLanguageEnglish) {
  static int counter = 0;
  connectionString_ = "HostClient:" + std::to_string(++counter);
  RunningClients()[connectionString_] = this;
  setObjectName("HostClient");
  setWindowTitle("Host Client");
  forms_.push_back(HostForm{kMenuForm, 1});
  buildMenus();
  companyLabel_ = new QLabel(this);
  companyLabel_->setAlignment(Qt::AlignCenter);
  setCentralWidget(companyLabel_);
  statusBar()->showMessage("Not logged on");
  resize(900, 600);
}

HostClient::~HostClient() {
  RunningClients().erase(connectionString_);
  if (company_ && company_->Connected()) company_->Disconnect();
}

HostClient* HostClient::find(const std::string& connectionString) {
  auto it = RunningClients().find(connectionString);
  return it == RunningClients().end() ? nullptr : it->second;
}

void HostClient::buildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("hostFile");
  QAction* change = file->addAction("Change Company...", this, [this] { chooseCompany(); });
  change->setObjectName("hostChangeCompany");
  file->addSeparator();
  QAction* exit = file->addAction("Exit", this, [this] { exitClient(); });
  exit->setObjectName("hostExit");

  QMenu* languageMenu = menuBar()->addMenu("&Language");
  languageMenu->setObjectName("hostLanguage");
  languages_ = new QActionGroup(this);
  for (const auto& l : AddOnUtil::Languages()) {
    const int value = l.value;
    QAction* action = languageMenu->addAction(l.name, this, [this, value] { setLanguage(value); });
    action->setObjectName(QString("hostLanguage_") + l.isoCode);
    action->setCheckable(true);
    action->setChecked(value == language_);
    languages_->addAction(action);
  }

  addOnMenu_ = menuBar()->addMenu("&Tools");
  addOnMenu_->setObjectName(kAddOnMenuUid);
}

bool HostClient::logOn(const std::string& server, const std::string& user, const std::string& password,
                       const std::string& companyDb, std::string& error) {
  std::optional<host::CompanyEntry> entry;
  try {
    entry = host::ServerCatalogue(server).findCompany(companyDb);
  } catch (const std::exception& e) {
    error = "No server in '" + server + "': " + e.what();
    return false;
  }
  if (!entry) {
    error = "The server '" + server + "' has no company '" + companyDb + "'";
    return false;
  }
  auto company = host::CreateCompany();
  company->SetServer(server);
  company->SetCompanyDB(entry->dbName);
  company->SetDbServerType(entry->serverType);
  company->SetUserName(user);
  company->SetPassword(password);
  if (company->Connect() != 0) {
    error = "Cannot log on to '" + companyDb + "' as '" + user + "': " + company->GetLastErrorDescription();
    return false;
  }
  if (company_ && company_->Connected()) company_->Disconnect();
  company_ = company;
  server_ = server;
  user_ = user;
  password_ = password;
  serverType_ = entry->serverType;
  showCompany();
  return true;
}

void HostClient::showCompany() {
  if (!company_) return;
  const QString name = Q(company_->CompanyName());
  setWindowTitle(QString("Host Client - %1").arg(name));
  companyLabel_->setText(QString("%1\n%2").arg(name, Q(company_->CompanyDB())));
  statusBar()->showMessage(QString("%1 - %2").arg(Q(user_), name));
}

std::shared_ptr<host::Company> HostClient::newAddOnCompany() const {
  if (!company_) throw HostError(E_FAIL, "HostClient", "The host client is not logged on to a company");
  auto company = host::CreateCompany();
  company->SetServer(server_);
  company->SetCompanyDB(company_->CompanyDB());
  company->SetDbServerType(serverType_);
  company->SetUserName(user_);
  company->SetPassword(password_);
  if (const int code = company->Connect(); code != 0)
    throw HostError(E_FAIL, "HostClient", "The add-on cannot log on: " + company->GetLastErrorDescription());
  return company;
}

bool HostClient::changeCompany(const std::string& companyDb, std::string& error) {
  if (!logOn(server_, user_, password_, companyDb, error)) return false;
  sendToSinks([this](EventSink& sink) { return sink.OnCompanyEvent(newAddOnCompany()); });
  return true;
}

void HostClient::chooseCompany() {
  QStringList names;
  try {
    for (const auto& entry : host::ServerCatalogue(server_).companies()) names << Q(entry.dbName);
  } catch (const std::exception& e) {
    QMessageBox::warning(this, "Change Company", e.what());
    return;
  }
  bool ok = false;
  const QString chosen = QInputDialog::getItem(this, "Change Company", "Company:", names, 0, false, &ok);
  if (!ok) return;
  std::string error;
  if (!changeCompany(chosen.toStdString(), error)) QMessageBox::warning(this, "Change Company", Q(error));
}

void HostClient::setLanguage(int language) {
  language_ = language;
  for (QAction* action : languages_->actions())
    action->setChecked(action->objectName() ==
                       QString("hostLanguage_") + Q(AddOnUtil::ISOLangIDFromLanguage(language)));
  sendToSinks([](EventSink& sink) { return sink.OnChangeLanguage(); });
}

int HostClient::messageBox(const std::string& text, int defaultButton, const std::string& button1,
                           const std::string& button2, const std::string& button3) {
  QMessageBox box(this);
  box.setObjectName("HostClientMessageBox");
  box.setWindowTitle(windowTitle());
  box.setText(Q(text));
  box.setWindowModality(Qt::ApplicationModal);
  std::vector<QPushButton*> buttons;
  int number = 0;
  for (const std::string* caption : {&button1, &button2, &button3}) {
    ++number;
    if (caption->empty()) {
      buttons.push_back(nullptr);
      continue;
    }
    QPushButton* button = box.addButton(Q(*caption), QMessageBox::AcceptRole);
    button->setObjectName(QString::number(number));
    buttons.push_back(button);
  }
  if (defaultButton >= 1 && defaultButton <= 3 && buttons[defaultButton - 1])
    box.setDefaultButton(buttons[defaultButton - 1]);
  box.exec();
  for (size_t i = 0; i < buttons.size(); ++i)
    if (buttons[i] && box.clickedButton() == buttons[i]) return static_cast<int>(i) + 1;
  return defaultButton;
}

QAction* HostClient::menuItem(const std::string& uid) const {
  for (QAction* action : menuBar()->findChildren<QAction*>(Q(uid)))
    if (!action->menu()) return action;
  return nullptr;
}

HostForm& HostClient::form(int type, int instance) {
  for (auto& f : forms_)
    if (f.type == type && f.instance == instance) return f;
  throw HostError(E_FAIL, "HostClient", "The host client has no form of type " + std::to_string(type));
}

void HostClient::setStatusBarErrorMessage(const std::string& text) { statusBar()->showMessage(Q(text)); }

bool HostClient::addMenu(const std::map<QString, QString>& a, std::string& error) {
  auto get = [&](const char* name) {
    auto it = a.find(name);
    return it == a.end() ? QString() : it->second;
  };
  const QString uid = get("UniqueID");
  if (uid.isEmpty()) {
    error = "A menu without a UniqueID";
    return false;
  }
  if (menuItem(uid.toStdString())) {
    error = "Menu " + uid.toStdString() + " already exists";
    return false;
  }
  QMenu* father = menuBar()->findChild<QMenu*>(get("FatherUID"));
  if (!father) {
    error = "No father menu " + get("FatherUID").toStdString() + " for " + uid.toStdString();
    return false;
  }
  auto* action = new QAction(get("String"), father);
  action->setObjectName(uid);
  action->setEnabled(get("Enabled") != "0");
  action->setCheckable(get("Checked") == "1");
  action->setChecked(get("Checked") == "1");
  const std::string id = uid.toStdString();
  connect(action, &QAction::triggered, this, [this, id] { sendMenuEvent(id); });
  bool numeric = false;
  const int position = get("Position").toInt(&numeric);
  const auto existing = father->actions();
  if (numeric && position >= 0 && position < existing.size()) father->insertAction(existing[position], action);
  else father->addAction(action);
  return true;
}

bool HostClient::removeMenu(const std::map<QString, QString>& a, std::string& error) {
  auto it = a.find("UniqueID");
  QAction* action = it == a.end() ? nullptr : menuItem(it->second.toStdString());
  if (!action) {
    error = "Menu " + (it == a.end() ? std::string() : it->second.toStdString()) + " not found";
    return false;
  }
  delete action;
  return true;
}

HRESULT HostClient::loadBatchActions(const std::string& xml) {
  lastBatch_.clear();
  QXmlStreamReader reader(QByteArray::fromStdString(xml));
  QString actionType;
  int depth = 0, applied = 0;
  std::string error;
  while (!reader.atEnd() && error.empty()) {
    const auto token = reader.readNext();
    if (token == QXmlStreamReader::DTD) error = "A batch may not carry a DOCTYPE";
    if (token == QXmlStreamReader::EndElement) --depth;
    if (token != QXmlStreamReader::StartElement) continue;
    if (++depth > kMaxBatchDepth) error = "The batch is nested too deeply";
    if (reader.name() == QLatin1String("action")) actionType = reader.attributes().value("type").toString();
    if (reader.name() != QLatin1String("Menu")) continue;
    std::map<QString, QString> attributes;
    for (const auto& attribute : reader.attributes())
      attributes[attribute.name().toString()] = attribute.value().toString();
    const bool ok = actionType == "add"      ? addMenu(attributes, error)
                    : actionType == "remove" ? removeMenu(attributes, error)
                                             : (error = "Unknown menu action '" + actionType.toStdString() + "'",
                                                false);
    if (ok) ++applied;
  }
  if (error.empty() && reader.hasError()) error = "Not well-formed: " + reader.errorString().toStdString();
  lastBatch_ = error.empty() ? "<Result><Errors/><Applied>" + std::to_string(applied) + "</Applied></Result>"
                             : "<Result><Errors><Error>" + error + "</Error></Errors><Applied>" +
                                   std::to_string(applied) + "</Applied></Result>";
  return error.empty() ? S_OK : E_FAIL;
}

void HostClient::attach(EventSink* sink) {
  if (std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) sinks_.push_back(sink);
}

void HostClient::detach(EventSink* sink) { sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end()); }

template <class Event>
void HostClient::sendToSinks(Event event) {
  // A sink may detach (or another attach) while it handles an event.
  const auto sinks = sinks_;
  for (EventSink* sink : sinks) {
    if (std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) continue;
    try {
      event(*sink);
    } catch (const std::exception& e) {
      DPX_LogScope log("HostClient::sendToSinks");
      log.LogError("An add-on failed on an event: %s", e.what());
    }
  }
}

void HostClient::sendMenuEvent(const std::string& uid) {
  bool bubble = true;
  sendToSinks([&](EventSink& sink) { return sink.OnMenuEvent(MenuEvent{uid, true}, bubble); });
  // The client itself has nothing to do for an add-on's entry.
  bool after = true;
  sendToSinks([&](EventSink& sink) { return sink.OnMenuEvent(MenuEvent{uid, false}, after); });
}

void HostClient::exitClient() {
  if (exiting_) return;
  exiting_ = true;
  sendToSinks([](EventSink& sink) { return sink.OnApplicationUnload(); });
  close();
  emit exited();
}

void HostClient::closeEvent(QCloseEvent* event) {
  if (!exiting_) {
    exitClient();
    return;
  }
  QMainWindow::closeEvent(event);
}

}  // namespace dpx::hostclient
