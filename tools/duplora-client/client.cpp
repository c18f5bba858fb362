#include "tools/duplora-client/client.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>

#include "categories/category_classes.h"
#include "engine/category_factory.h"
#include "engine/company_handle.h"
#include "engine/connection_context.h"
#include "engine/copy_log.h"
#include "engine/copy_stop.h"
#include "engine/host_application.h"
#include "engine/left_out_field.h"
#include "engine/settings_manager.h"
#include "engine/udt_manager.h"
#include "engine/ui_services.h"
#include "engine/util.h"
#include "platform/framework/log_scope.h"
#include "platform/framework/string_table.h"
#include "platform/framework/text.h"
#include "platform/host/company.h"
#include "platform/host/server_catalogue.h"
#include "worksheet/configuration_manager.h"
#include "worksheet/copy_run.h"
#include "worksheet/selection_manager.h"
#include "worksheet/worksheet.h"
#include "worksheet/worksheet_manager.h"
#include "worksheet/worksheet_template_manager.h"

namespace dpx::client {

namespace {

// What the engine would show in the desktop tool goes to stderr: message
// boxes always, status texts when they report an error. While a worksheet is
// opened, the configuration manager of the run stands for the one the desktop
// tool keeps, and the choose-company dialog is answered by `chooseCompany`.
class ConsoleUi : public NullUiServices {
 public:
  explicit ConsoleUi(std::ostream& err) : err_(err) {}
  void setStatusText(const std::string& text, bool normalFont, uint32_t) override {
    if (!normalFont && !text.empty()) err_ << "duplora-client: " << text << "\n";
  }
  int messageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
    err_ << "duplora-client: " << text << "\n";
    return NullUiServices::messageBox(text, caption, flags);
  }
  DPX_ConfigurationManager* getConfigurationManager() override { return configuration; }
  int showChooseCompanyForm(DPX_CompanyHandle& company, const std::string&) override {
    return chooseCompany ? chooseCompany(company) : 1;
  }

  DPX_ConfigurationManager* configuration = nullptr;
  std::function<int(DPX_CompanyHandle&)> chooseCompany;

 private:
  std::ostream& err_;
};

// The engine's own log lines (time, level, scope) are no lines for the
// console: they go to the program's log, "duplora.log" in the settings' log
// folder, once the settings name it. The console gets the client's own lines;
// --verbose shows the engine's lines there as well.
LogLevel StderrLevel(const Options& o) {
  constexpr auto kNothing = static_cast<LogLevel>(-1);
  return o.verbose ? LogLevel::Info : kNothing;
}

void OpenProgramLog(const Options& o, const std::string& folder) {
  LogSink::Configure(folder, LogLevel::Warning, StderrLevel(o));
}

// Hands the run's configuration manager and company choice to the UI for as
// long as a worksheet run lasts, and takes them back at its end.
class WorksheetUiScope {
 public:
  WorksheetUiScope(ConsoleUi& ui, DPX_ConfigurationManager& configuration,
                   std::function<int(DPX_CompanyHandle&)> chooseCompany)
      : ui_(ui) {
    ui_.configuration = &configuration;
    ui_.chooseCompany = std::move(chooseCompany);
  }
  ~WorksheetUiScope() {
    ui_.configuration = nullptr;
    ui_.chooseCompany = nullptr;
  }
  WorksheetUiScope(const WorksheetUiScope&) = delete;
  WorksheetUiScope& operator=(const WorksheetUiScope&) = delete;

 private:
  ConsoleUi& ui_;
};

// The host client's application as a headless client has it.
class ConsoleApplication : public HostApplication {
 public:
  void probe() override {}
  int language() override { return kHostLanguageEnglish; }
  int messageBox(const std::string&, int defaultButton, const std::string&, const std::string&,
                 const std::string&) override {
    return defaultButton < 1 ? 1 : defaultButton;
  }
  void setStatusBarErrorMessage(const std::string&) override {}
};

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ','))
    if (!item.empty()) items.push_back(item);
  return items;
}

// The server's entry of a company database, empty when it has none. False,
// with a message, when --server is no server.
bool FindCompany(const Options& o, const std::string& db, std::optional<host::CompanyEntry>& entry,
                 std::ostream& err) {
  try {
    entry = host::ServerCatalogue(o.server).findCompany(db);
    return true;
  } catch (const std::exception& e) {
    err << "duplora-client: no server in '" << o.server << "': " << e.what() << "\n";
    return false;
  }
}

// Logs on to a company of the server as the host client would. `serverName`
// is the name the company object carries for its server: the --server folder
// as given, or the name a worksheet uses for that same folder. Null, with a
// message, when it cannot.
std::shared_ptr<host::Company> LogOn(const Options& o, const std::string& db, const std::string& serverName,
                                     DPX_ConnectionContext& context, std::ostream& err) {
  std::optional<host::CompanyEntry> entry;
  if (!FindCompany(o, db, entry, err)) return nullptr;
  if (!entry) {
    err << "duplora-client: the server '" << o.server << "' has no company '" << db << "'\n";
    return nullptr;
  }
  DPX_ConnectionContext::CompanyPtr company;
  if (DPX_ConnectionContext::CreateCompanyInstance(company) != S_OK || !company) {
    err << "duplora-client: cannot create a company object\n";
    return nullptr;
  }
  DPX_CompanyHandle handle(company);
  handle.setServer(serverName);
  handle.setCompanyDB(entry->dbName);
  handle.setUserName(o.user);
  handle.setPassword(o.password);
  company->SetDbServerType(entry->serverType);
  if (DPX_Util::Connect(handle, &context) != S_OK) {
    err << "duplora-client: cannot log on to '" << db << "' as '" << o.user << "'\n";
    return nullptr;
  }
  return company;
}

// The worksheet of the copy: the template's tree with the chosen categories
// (all categories when none are named) selected whole.
bool BuildWorksheet(const Options& o, DPX_ConnectionContext& context, DPX_Worksheet& worksheet, std::ostream& err) {
  auto& templates = DPX_WorksheetTemplateManager::getInstance(&context);
  if (templates.getWorksheetTemplate(worksheet) != S_OK) {
    err << "duplora-client: cannot read the category tree template\n";
    return false;
  }
  // A category can be copied when the program has its manager.
  auto copyable = [](const std::string& key) {
    const auto* row = DPX_CategoryFactory::findCategory(key);
    return row && DPX_CategoryFactory::isRegistered(row->className);
  };
  std::set<std::string> wanted(o.categories.begin(), o.categories.end());
  for (const std::string& key : wanted) {
    std::string leafId;
    if (templates.getLeafIdFromStringKey(key, leafId) != S_OK) {
      err << "duplora-client: unknown category key '" << key << "'\n";
      return false;
    }
    if (!copyable(key)) {
      err << "duplora-client: the category '" << key << "' cannot be copied by this program yet\n";
      return false;
    }
  }
  for (auto& node : worksheet.getNodes()) {
    if (!node.isLeaf() || node.getStringKey().empty()) continue;
    const bool chosen = wanted.empty() ? copyable(node.getStringKey()) : wanted.count(node.getStringKey()) > 0;
    node.setSelected(chosen ? DPX_WorksheetNode::kSelectedWhole : DPX_WorksheetNode::kNotSelected);
  }
  worksheet.setCopyMethod(o.method);
  worksheet.setCreationUser(o.user);
  return true;
}

// The program's own user tables and settings, as the add-on checks them when
// the host client loads it.
bool LoadApplication(DPX_ConnectionContext& context, std::ostream& err) {
  if (DPX_UDTManager(&context).checkCompany() < 0) {
    err << "duplora-client: the program's user tables cannot be set up in the company\n";
    return false;
  }
  if (DPX_SettingsManager(&context).checkSettings() < 0) {
    err << "duplora-client: the program's settings cannot be read or written in the company\n";
    return false;
  }
  return true;
}

bool CheckSuperUser(const std::shared_ptr<host::Company>& company, const std::string& user, std::ostream& err) {
  bool isSuperUser = false;
  if (DPX_Util::CheckSuperUser(0, company, isSuperUser) < 0 || !isSuperUser) {
    err << "duplora-client: User '" << user << "' is not a superuser. Access is denied.\n";
    return false;
  }
  return true;
}

// Writes the worksheet's selection to the configuration file --out.
int SaveSelection(const Options& o, DPX_ConnectionContext& context, DPX_Worksheet& worksheet,
                  DPX_ConfigurationManager& configuration, bool baseIsFile, std::ostream& out, std::ostream& err) {
  context.setTargetFile(std::filesystem::absolute(o.out).string());
  const HRESULT result = configuration.saveConfiguration(worksheet, baseIsFile);
  if (result != S_OK) {
    err << "duplora-client: the configuration file '" << o.out << "' could not be written";
    if (!configuration.lastError().empty()) err << ": " << configuration.lastError() << "\n";
    else err << " (" << StatusMessage(result) << ")\n";
    return 1;
  }
  out << o.out << "\n";
  // A file without what the save could not read is not the selection: each
  // loss was named as it was met, and the status says whether anything of
  // the selection was saved.
  if (configuration.leftOut().empty()) return 0;
  err << "duplora-client: the configuration file '" << o.out << "' was written without the "
      << configuration.leftOut().size() << " part(s) of the selection named above\n";
  return configuration.leftOutEverything() ? 1 : 3;
}

int RunSave(const Options& o, std::ostream& out, std::ostream& err) {
  DPX_ConnectionContext context;
  context.setApplication(std::make_shared<ConsoleApplication>());
  auto base = LogOn(o, o.base, o.server, context, err);
  if (!base) return 1;
  context.setCompany(base);
  context.setBaseCompany(base);
  if (!CheckSuperUser(base, o.user, err)) return 1;
  if (!LoadApplication(context, err)) return 1;
  DPX_SettingsManager settings(&context);
  if (settings.getSettingsFromDatabase() < 0) {
    err << "duplora-client: the program's settings cannot be read\n";
    return 1;
  }
  OpenProgramLog(o, settings.getLogFileFolder());
  DPX_Worksheet worksheet;
  if (!BuildWorksheet(o, context, worksheet, err)) return 1;
  // A new worksheet carries the copy options of the settings.
  worksheet.setCopyMethod(settings.getCopyMethod());
  worksheet.setRTCF(settings.getResponseToCopyFailure());
  worksheet.setFRFMUDF(settings.getFailRecordsForMissingFields());
  DPX_ConfigurationManager configuration(&context);
  return SaveSelection(o, context, worksheet, configuration, false, out, err);
}

// While a copy runs, SIGINT and SIGTERM ask it to stop at its next record:
// the copy then ends its log and its temporary folder goes as after any
// copy. A second signal ends the program at once.
class InterruptibleScope {
 public:
  InterruptibleScope() {
    ClearCopyInterruption();
    struct sigaction action {};
    action.sa_handler = [](int) { RequestCopyInterruption(); };
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, &keptInt_);
    sigaction(SIGTERM, &action, &keptTerm_);
  }
  ~InterruptibleScope() {
    sigaction(SIGINT, &keptInt_, nullptr);
    sigaction(SIGTERM, &keptTerm_, nullptr);
    ClearCopyInterruption();
  }
  InterruptibleScope(const InterruptibleScope&) = delete;
  InterruptibleScope& operator=(const InterruptibleScope&) = delete;

 private:
  struct sigaction keptInt_ {};
  struct sigaction keptTerm_ {};
};

// The copy itself, as the desktop tool's copy command runs it once its
// questions are answered: the target locked for the whole copy, the copy log
// with its header, the selection saved to a private temporary file and read
// back, both passes, the log closed. Prints the log's path and its counts.
// A copy that could not run before its first record leaves no log.
int CopyWorksheet(DPX_ConnectionContext& context, DPX_Worksheet& worksheet, DPX_ConfigurationManager& configuration,
                  bool baseIsFile, const std::string& logFolder, std::ostream& out, std::ostream& err) {
  InterruptibleScope interruptible;
  DPX_CopyRun run(&context);
  std::string refusal;
  if (!run.lockTarget(refusal)) {
    err << "duplora-client: " << refusal << "\n";
    return kExitCouldNotRun;
  }
  if (!run.openLog()) {
    err << "duplora-client: the copy log cannot be created in the log folder '" << logFolder << "'\n";
    return kExitCouldNotRun;
  }
  std::string ended;
  const HRESULT result = run.copy(worksheet, configuration, baseIsFile, ended);
  if (!ended.empty()) err << "duplora-client: " << ended << "\n";

  CopyOutcome outcome;
  outcome.logPath = context.getLogFile();
  CountLogLines(outcome.logPath, outcome);
  const bool couldNotRun = Failed(result) && result != E_ABORT && result != DPX_E_COPY_STOPPED;
  if (couldNotRun && outcome.succeeded + outcome.failed == 0) {
    std::error_code ec;
    std::filesystem::remove(outcome.logPath, ec);
  } else {
    out << "Copy log: " << outcome.logPath << "\n";
    out << "Succeeded: " << outcome.succeeded;
    if (outcome.withoutFields > 0)
      out << " (" << outcome.withoutFields << " written without fields the target lacks)";
    out << "\n";
    out << "Failed: " << outcome.failed << "\n";
    const std::string notCopied = configuration.notCopiedNotice();
    if (!notCopied.empty()) out << notCopied << "\n";
  }
  // A copy that stopped has said why, through the UI, as the desktop tool shows it.
  if (result == DPX_E_COPY_STOPPED) return kExitCouldNotRun;
  if (couldNotRun) {
    if (!configuration.lastError().empty())
      err << "duplora-client: the copy could not run: " << configuration.lastError() << "\n";
    else
      err << "duplora-client: the copy could not run (" << StatusMessage(result) << ")\n";
    return kExitCouldNotRun;
  }
  return outcome.failed > 0 ? kExitSomeFailed : kExitSucceeded;
}

// Tells which copy method runs and where it came from.
void PrintCopyMethod(int method, const char* source, std::ostream& out) {
  out << "Copy method: " << method << " " << DPX_Util::GetCopyMethodText(method) << " (from " << source << ")\n";
}

int RunCopy(const Options& o, std::ostream& out, std::ostream& err) {
  DPX_ConnectionContext context;
  context.setApplication(std::make_shared<ConsoleApplication>());
  const bool baseIsFile = !o.baseFile.empty();
  std::shared_ptr<host::Company> base;
  if (!baseIsFile) {
    base = LogOn(o, o.base, o.server, context, err);
    if (!base) return 1;
  } else {
    std::error_code ec;
    if (std::filesystem::is_directory(o.baseFile, ec)) {
      err << "duplora-client: '" << o.baseFile << "' is a folder, not a configuration file\n";
      return 1;
    }
    std::ifstream probe(o.baseFile, std::ios::binary);
    if (!probe) {
      err << "duplora-client: cannot read the configuration file '" << o.baseFile << "'\n";
      return 1;
    }
  }
  auto target = LogOn(o, o.target, o.server, context, err);
  if (!target) return 1;
  if (base && DPX_Util::SameCompany(base, target)) {
    err << "duplora-client: the base and the target are the same company '" << o.target << "'\n";
    return 1;
  }
  // The add-on runs in the base company, or in the target when the base is a file.
  auto home = base ? base : target;
  context.setCompany(home);
  if (!CheckSuperUser(home, o.user, err)) return 1;
  if (base && !CheckSuperUser(target, o.user, err)) return 1;
  if (!LoadApplication(context, err)) return 1;

  DPX_SettingsManager settings(&context);
  if (settings.getSettingsFromDatabase() < 0) {
    err << "duplora-client: the program's settings cannot be read\n";
    return 1;
  }
  OpenProgramLog(o, settings.getLogFileFolder());
  context.setBaseCompany(base);
  context.setTargetCompany(target);
  if (baseIsFile) context.setBaseFile(std::filesystem::absolute(o.baseFile).string());
  context.setCopyMethod(o.method);
  context.setResponseToCopyFailure(settings.getResponseToCopyFailure());
  context.setFailRecordsForMissingFields(settings.getFailRecordsForMissingFields());
  context.setForceBackup(settings.getForceBackup());

  DPX_Worksheet worksheet;
  if (!BuildWorksheet(o, context, worksheet, err)) return 1;
  DPX_ConfigurationManager configuration(&context);
  PrintCopyMethod(o.method, "the command line", out);
  return CopyWorksheet(context, worksheet, configuration, baseIsFile, settings.getLogFileFolder(), out, err);
}

// Whether two server names are the same server folder.
bool SameServerFolder(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}

// A company that a worksheet names must be one of the client's server, with
// the server type the worksheet gives it; otherwise the worksheet's logins
// could never accept it.
bool CheckNamedCompany(const Options& o, const char* role, const std::string& db, const std::string& server,
                       int serverType, std::ostream& err) {
  std::optional<host::CompanyEntry> entry;
  if (!FindCompany(o, db, entry, err)) return false;
  if (!SameServerFolder(server, o.server)) {
    err << "duplora-client: the worksheet's " << role << " company '" << db << "' is on the server '" << server
        << "', not on '" << o.server << "'\n";
    return false;
  }
  if (!entry) {
    err << "duplora-client: the server '" << o.server << "' has no company '" << db << "' (the worksheet's " << role
        << ")\n";
    return false;
  }
  if (entry->serverType != serverType) {
    err << "duplora-client: the worksheet's " << role << " company '" << db << "' has the server type " << serverType
        << ", but the server's company has the type " << entry->serverType << "\n";
    return false;
  }
  return true;
}

// Selected categories the program has no manager for cannot be copied or
// saved; they are left out with a warning instead of failing late.
void DeselectUncopyable(DPX_Worksheet& worksheet, std::ostream& err) {
  for (auto& node : worksheet.getNodes()) {
    if (!node.isLeaf() || node.getStringKey().empty()) continue;
    if (node.getSelected() == DPX_WorksheetNode::kNotSelected) continue;
    const auto* row = DPX_CategoryFactory::findCategory(node.getStringKey());
    if (row && DPX_CategoryFactory::isRegistered(row->className)) continue;
    err << "duplora-client: the category '" << node.getStringKey()
        << "' cannot be copied by this program yet; it is left out\n";
    node.setSelected(DPX_WorksheetNode::kNotSelected);
  }
}

// copy|save --worksheet FILE: the worksheet names the base (a company or a
// configuration file) and the target, and its selection is what is copied or
// saved. The client logs on to the company the worksheet's base names (to its
// target when the base is a file), then opens the worksheet as the desktop tool
// does; where the desktop tool would ask for a company, the client logs on to
// the company the worksheet names with the given user.
int RunWorksheet(const Options& o, ConsoleUi& ui, std::ostream& out, std::ostream& err) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::string path = fs::absolute(o.worksheet, ec).string();
  {
    std::ifstream probe(path, std::ios::binary);
    if (ec || !probe || fs::is_directory(path, ec)) {
      err << "duplora-client: cannot read the worksheet file '" << o.worksheet << "'\n";
      return 1;
    }
  }
  DPX_ConnectionContext context;
  context.setApplication(std::make_shared<ConsoleApplication>());

  // What the worksheet names, read before any company is at hand.
  DPX_Worksheet named;
  DPX_WorksheetManager reader(&context);
  if (reader.readWorksheet(named, path) != S_OK) {
    err << "duplora-client: the file '" << o.worksheet << "' is not a readable worksheet";
    if (!reader.lastError().empty()) err << ": " << reader.lastError();
    err << "\n";
    return 1;
  }
  const bool baseNamed = named.hasSourceDB();
  const bool targetNamed = !named.getTargetDB().empty();
  if (!baseNamed && !named.isSourceFromFile()) {
    err << "duplora-client: the worksheet '" << o.worksheet << "' names no base company or configuration file\n";
    return 1;
  }
  if (o.command == "copy" && !targetNamed) {
    err << "duplora-client: the worksheet '" << o.worksheet << "' names no target company\n";
    return 1;
  }
  if (!baseNamed && !targetNamed) {
    err << "duplora-client: the worksheet '" << o.worksheet
        << "' names no company to log on to (its base is a configuration file and it has no target)\n";
    return 1;
  }
  if (baseNamed && !CheckNamedCompany(o, "base", named.getSourceDB(), named.getSourceServer(),
                                      named.getSourceServerType(), err)) {
    return 1;
  }
  if (targetNamed && !CheckNamedCompany(o, "target", named.getTargetDB(), named.getTargetServer(),
                                        named.getTargetServerType(), err)) {
    return 1;
  }

  // The add-on runs in the base company, or in the target when the base is a file.
  const auto home = baseNamed ? LogOn(o, named.getSourceDB(), named.getSourceServer(), context, err)
                              : LogOn(o, named.getTargetDB(), named.getTargetServer(), context, err);
  if (!home) return 1;
  context.setCompany(home);
  if (!CheckSuperUser(home, o.user, err)) return 1;
  if (!LoadApplication(context, err)) return 1;
  DPX_SettingsManager settings(&context);
  if (settings.getSettingsFromDatabase() < 0) {
    err << "duplora-client: the program's settings cannot be read\n";
    return 1;
  }
  OpenProgramLog(o, settings.getLogFileFolder());

  DPX_ConfigurationManager configuration(&context);
  // The company choice: the company the dialog is asked for, logged on with the
  // client's user. Asked again for a company it gave, the choice was refused
  // (another company than the worksheet's, or the base as the target):
  // answering the same again would never end, so it cancels.
  std::vector<std::shared_ptr<host::Company>> given;
  WorksheetUiScope scope(ui, configuration, [&](DPX_CompanyHandle& handle) {
    for (const auto& company : given)
      if (company == handle.getCompany()) return 1;
    if (!SameServerFolder(handle.getServer(), o.server)) return 1;
    auto company = LogOn(o, handle.getCompanyDB(), handle.getServer(), context, err);
    if (!company) return 1;
    given.push_back(company);
    handle.setCompany(company);
    return 0;
  });
  context.setWorksheetFile(path);
  DPX_SelectionManager selection(&context);
  HRESULT opened = E_FAIL;
  // Opening binds every category of the tree to its manager, and each
  // category this program cannot copy yet logs a line.
  const std::string logFile = LogSink::FilePath().string();
  opened = selection.openWorksheet();
  if (opened != S_OK) {
    err << "duplora-client: the worksheet '" << o.worksheet << "' could not be opened";
    if (opened == dpx::S_FALSE) err << ": a company it names could not be logged on to";
    else if (!selection.lastError().empty()) err << ": " << selection.lastError();
    else if (!configuration.lastError().empty()) err << ": " << configuration.lastError();
    else err << " (" << StatusMessage(opened) << ")";
    if (opened != dpx::S_FALSE && named.isSourceFromFile())
      err << "; its base is the configuration file '" << named.getSourceFile() << "'";
    if (!logFile.empty()) err << "; the program's log '" << logFile << "' says why";
    err << "\n";
    return 1;
  }
  DPX_Worksheet& worksheet = *selection.getWorksheet();
  DeselectUncopyable(worksheet, err);
  const auto base = context.getBaseCompany();
  const bool baseIsFile = !base;

  if (o.command == "save") return SaveSelection(o, context, worksheet, configuration, baseIsFile, out, err);

  const auto target = context.getTargetCompany();
  if (!target) {
    err << "duplora-client: the worksheet '" << o.worksheet << "' names no target company\n";
    return 1;
  }
  if (base && DPX_Util::SameCompany(base, target)) {
    err << "duplora-client: the worksheet names the company '" << named.getTargetDB()
        << "' as both base and target\n";
    return 1;
  }
  if (target != home && !CheckSuperUser(target, o.user, err)) return 1;
  const int method = o.method != 0 ? o.method : worksheet.getCopyMethod();
  if (method < 1 || method > 4) {
    err << "duplora-client: the worksheet '" << o.worksheet << "' holds no copy method from 1 to 4; give --method\n";
    return 1;
  }
  // A worksheet over a configuration file takes the file's method, which a
  // save gives from the settings, not from any choice made for this copy.
  const char* source = o.method != 0           ? "the command line"
                       : named.isSourceFromFile() ? "the configuration file's header"
                                                  : "the worksheet";
  if (method == 1 && o.method == 0) {
    // Replace All deletes the target's own records: it is never run on a
    // method the user did not give for this copy.
    err << "duplora-client: the copy method Replace All comes from " << source
        << "; Replace All deletes the target's own records and runs only when --method 1 is given\n";
    return 1;
  }
  PrintCopyMethod(method, source, out);
  worksheet.setCopyMethod(method);
  context.setCopyMethod(method);
  return CopyWorksheet(context, worksheet, configuration, baseIsFile, settings.getLogFileFolder(), out, err);
}

}  // namespace

std::string Usage() {
  return "usage:\n"
         "  duplora-client copy --server DIR --user U --password P (--base DB | --base-file FILE)\n"
         "                      --target DB --method N [--categories KEY,...]\n"
         "  duplora-client save --server DIR --user U --password P --base DB [--categories KEY,...] --out FILE\n"
         "  duplora-client copy --server DIR --user U --password P --worksheet FILE [--method N]\n"
         "  duplora-client save --server DIR --user U --password P --worksheet FILE --out FILE\n"
         "A worksheet names the base (a company or a configuration file) and the target, and its selection is\n"
         "what is copied or saved; --method replaces the worksheet's copy method.\n"
         "methods: 1 Replace All, 2 Update Existing Records, 3 Add New Records Without Updating Existing Records,\n"
         "         4 Add New Records and Update Existing Records\n"
         "Replace All runs only when --method 1 is given.\n"
         "--verbose also shows the program's own log lines on stderr; they are always written to\n"
         "\"duplora.log\" in the settings' log folder, whose path is printed when it holds errors.\n"
         "exit status: 0 every line of the copy succeeded, 3 the copy ran and some lines failed,\n"
         "             1 it could not run or stopped before its end;\n"
         "             a save: 0 all of the selection was written, 3 some of it could not be read and is named,\n"
         "             1 none of it could be read or the file could not be written\n";
}

bool WantsHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
}

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  if (args.empty() || (args[0] != "copy" && args[0] != "save")) {
    error = "the first argument must be copy or save";
    return false;
  }
  o.command = args[0];
  bool categoriesGiven = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--verbose") {
      o.verbose = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = "missing value after " + name;
      return false;
    }
    const std::string& value = args[++i];
    if (name == "--server") o.server = value;
    else if (name == "--user") o.user = value;
    else if (name == "--password") o.password = value;
    else if (name == "--base") o.base = value;
    else if (name == "--base-file" && o.command == "copy") o.baseFile = value;
    else if (name == "--target" && o.command == "copy") o.target = value;
    else if (name == "--out" && o.command == "save") o.out = value;
    else if (name == "--worksheet") o.worksheet = value;
    else if (name == "--categories") {
      o.categories = SplitList(value);
      categoriesGiven = true;
      if (o.categories.empty()) {
        error = "--categories names no category";
        return false;
      }
    }
    else if (name == "--method" && o.command == "copy") {
      int64_t method = 0;
      if (!ParseInt64(value, method) || method < 1 || method > 4) {
        error = "--method must be 1, 2, 3 or 4";
        return false;
      }
      o.method = static_cast<int>(method);
    } else {
      error = "unknown option " + name;
      return false;
    }
  }
  auto require = [&error](const std::string& value, const char* name) {
    if (!value.empty()) return true;
    error = std::string("missing ") + name;
    return false;
  };
  if (!require(o.server, "--server") || !require(o.user, "--user")) return false;
  if (!o.worksheet.empty()) {
    if (!o.base.empty() || !o.baseFile.empty() || !o.target.empty() || categoriesGiven) {
      error = "the worksheet names the base, the target and the categories: give no --base, --base-file, "
              "--target or --categories with --worksheet";
      return false;
    }
    return o.command == "copy" || require(o.out, "--out");
  }
  if (o.command == "save") return require(o.base, "--base") && require(o.out, "--out");
  if (o.base.empty() == o.baseFile.empty()) {
    error = "give either --base or --base-file";
    return false;
  }
  if (o.method == 0) {
    error = "missing --method";
    return false;
  }
  return require(o.target, "--target");
}

bool CountLogLines(const std::string& path, CopyOutcome& outcome) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  const std::string text = Utf16LEBytesToUtf8(bytes);
  size_t pos = text.find("\r\n");  // the header line
  if (pos == std::string::npos) return true;
  pos += 2;
  while (pos < text.size()) {
    const size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) break;  // the end marker has no line end
    const std::string line = text.substr(pos, end - pos);
    const size_t first = line.find('|');
    const size_t second = first == std::string::npos ? first : line.find('|', first + 1);
    const size_t third = second == std::string::npos ? second : line.find('|', second + 1);
    if (third != std::string::npos) {
      if (line.substr(second + 1, third - second - 1) == "402") {
        ++outcome.succeeded;
        // The Error column, the last, names the fields a record was written without.
        const size_t error = line.rfind('|');
        if (dpx::records::NamesLeftOutFields(std::string_view(line).substr(error + 1))) ++outcome.withoutFields;
      } else {
        ++outcome.failed;
      }
    }
    pos = end + 2;
  }
  return true;
}

int Run(const Options& options, std::ostream& out, std::ostream& err) {
  ConsoleUi ui(err);
  SetUi(&ui);
  // Until the settings name the log folder, the engine's lines have no file.
  LogSink::Configure({}, LogLevel::Warning, StderrLevel(options));
  RegisterCategoryClasses();
  int code = 1;
  try {
    if (!options.worksheet.empty()) code = RunWorksheet(options, ui, out, err);
    else code = options.command == "save" ? RunSave(options, out, err) : RunCopy(options, out, err);
  } catch (const std::exception& e) {
    err << "duplora-client: " << e.what() << "\n";
    code = 1;
  }
  const std::filesystem::path programLog = LogSink::FilePath();
  if (LogSink::ErrorCount() > 0 && !programLog.empty()) out << "Program log: " << programLog.string() << "\n";
  LogSink::Configure({}, LogLevel::Info, LogLevel::Error);
  SetUi(nullptr);
  return code;
}

}  // namespace dpx::client
