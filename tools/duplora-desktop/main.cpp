// duplora-desktop --server DIR --user U --password P --company DB [--language CODE]
// Logs the host client on to a company of a simulated server, shows it and
// starts the desktop tool in it as its add-on ("Open Duplora" in its Tools
// menu). The client's Exit ends the program.
#include <iostream>
#include <map>
#include <string>

#include <QApplication>

#include "platform/hostclient/add_on_util.h"
#include "platform/hostclient/host_client.h"
#include "ui/duplora_app.h"

namespace {

const char* kUsage =
    "usage: duplora-desktop --server DIR --user U --password P --company DB [--language CODE]\n"
    "  CODE: EN (English, the default) or DE (German)\n";

bool Parse(int argc, char** argv, std::map<std::string, std::string>& options, std::string& error) {
  static const char* kKnown[] = {"--server", "--user", "--password", "--company", "--language"};
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    bool known = false;
    for (const char* k : kKnown) known = known || name == k;
    if (!known) {
      error = "unknown argument '" + name + "'";
      return false;
    }
    if (i + 1 >= argc) {
      error = name + " needs a value";
      return false;
    }
    options[name] = argv[++i];
  }
  for (const char* required : {"--server", "--user", "--password", "--company"}) {
    if (options.count(required) == 0) {
      error = std::string(required) + " is missing";
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> options;
  std::string error;
  if (!Parse(argc, argv, options, error)) {
    std::cerr << "duplora-desktop: " << error << "\n\n" << kUsage;
    return 2;
  }
  int language = -1;
  const std::string code = options.count("--language") ? options["--language"] : "EN";
  for (const auto& l : dpx::hostclient::AddOnUtil::Languages())
    if (QString::fromStdString(code).compare(l.isoCode, Qt::CaseInsensitive) == 0) language = l.value;
  if (language < 0) {
    std::cerr << "duplora-desktop: unknown language '" << code << "'\n\n" << kUsage;
    return 2;
  }

  QApplication application(argc, argv);
  dpx::hostclient::HostClient client;
  if (!client.logOn(options["--server"], options["--user"], options["--password"], options["--company"], error)) {
    std::cerr << "duplora-desktop: " << error << "\n";
    return 1;
  }
  client.setLanguage(language);
  QObject::connect(&client, &dpx::hostclient::HostClient::exited, &application, [] { QApplication::exit(0); });
  client.show();

  // A start-up that fails leaves the client running; it has shown why.
  DPX_DuploraApp addOn;
  addOn.InitInstance(client.connectionString());
  const int exitCode = application.exec();
  addOn.ExitInstance();
  return exitCode;
}
