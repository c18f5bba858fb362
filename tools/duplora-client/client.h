// The commands of duplora-client, callable from its main and from tests: a
// copy from a base company (or configuration file) into a target company, and
// a save of a base company's categories as a configuration file. Both log on
// as the host client would and drive the engine as the desktop tool's copy
// command does, without its dialogs. Either takes a worksheet file instead of
// the base, target and categories: the worksheet is opened as the desktop
// tool opens it, and its selection is what is copied or saved.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace dpx::client {

struct Options {
  std::string command;         // "copy" or "save"
  std::string server;          // folder of the simulated server
  std::string user;
  std::string password;
  std::string base;            // base company database
  std::string baseFile;        // configuration file as the base
  std::string target;          // target company database
  int method = 0;              // copy method 1 to 4; 0: the worksheet's
  std::vector<std::string> categories;  // category keys; empty: all
  std::string out;             // save: the configuration file to write
  std::string worksheet;       // worksheet file naming base, target and selection
  bool verbose = false;        // the engine's own log lines also on stderr
};

struct CopyOutcome {
  std::string logPath;
  int succeeded = 0;
  int failed = 0;
  // Succeeded lines whose records were written without fields the target lacks.
  int withoutFields = 0;
};

// Parses the command line (without the program name). False, with a message
// in `error`, when it is not usable.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

// Exit statuses.
constexpr int kExitSucceeded = 0;   // every line of the copy succeeded (a save: written)
constexpr int kExitCouldNotRun = 1; // it could not run, or the copy stopped before its end
constexpr int kExitSomeFailed = 3;  // the copy ran and some lines failed

// Runs the command and gives its exit status, with a message on `err` when it
// could not run. A copy prints its copy method and where it came from, the
// log's path and the counts on `out`.
int Run(const Options& options, std::ostream& out, std::ostream& err);

// Counts the record lines of a copy log: result "402" succeeded, any other failed.
bool CountLogLines(const std::string& path, CopyOutcome& outcome);

std::string Usage();
// Whether the command line asks for the usage (--help or -h).
bool WantsHelp(const std::vector<std::string>& args);

}  // namespace dpx::client
