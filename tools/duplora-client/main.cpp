// duplora-client copy|save ...: see Usage().
#include <iostream>
#include <string>
#include <vector>

#include "tools/duplora-client/client.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (dpx::client::WantsHelp(args)) {
    std::cout << dpx::client::Usage();
    return dpx::client::kExitSucceeded;
  }
  dpx::client::Options options;
  std::string error;
  if (!dpx::client::ParseOptions(args, options, error)) {
    std::cerr << "duplora-client: " << error << "\n\n" << dpx::client::Usage();
    return dpx::client::kExitCouldNotRun;
  }
  return dpx::client::Run(options, std::cout, std::cerr);
}
