// info: loads a plug-in binary as a host does and prints what it tells the
// host about itself.

#include <exception>
#include <iostream>
#include <string_view>

#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"
#include "tools/info/InfoReport.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void PrintUsage(std::ostream& out) {
  out << "Usage: info PLUGIN\n"
         "Loads the VST 2 plug-in binary PLUGIN as a host does and prints its identity,\n"
         "can-do answers, parameters and programs.\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    PrintUsage(std::cerr);
    return kExitUsage;
  }
  const std::string_view argument = argv[1];
  if (argument == "--help" || argument == "-h") {
    PrintUsage(std::cout);
    return 0;
  }
  try {
    const TPluginLibrary library{std::string(argument)};
    THost host;
    host.ProductString = "Quillotron info";
    auto effect = host.Instantiate(library);
    effect->Dispatch(effOpen);
    WriteInfoReport(std::cout, library, *effect);
    effect->Close();
    return 0;
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "info: " << error.what() << '\n';
    return kExitFailure;
  }
}
