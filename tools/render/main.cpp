// render: runs an audio file through a VST 2 plug-in, as a host would
// offline, and writes the result.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/render/Interruption.h"
#include "tools/render/RenderJob.h"
#include "tools/render/RenderOptions.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char** argv) {
  const std::string defaultPlugin = QUILLO_DEFAULT_PLUGIN;
  try {
    const TRenderOptions options =
        ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), defaultPlugin);
    if (options.Help) {
      std::cout << RenderUsage(defaultPlugin);
      return 0;
    }
    CatchInterruptions();
    if (options.List) {
      ListPlugin(options, std::cout);
    } else {
      RunRender(options, std::cout);
    }
    return 0;
  } catch (const TUsageError& error) {
    std::cerr << "render: " << error.what() << "\nTry 'render --help'.\n";
    return kExitUsage;
  } catch (const std::exception& error) {
    std::cout.flush();
    std::cerr << "render: " << error.what() << '\n';
    return kExitFailure;
  } catch (...) {
    std::cout.flush();
    std::cerr << "render: unexpected failure\n";
    return kExitFailure;
  }
}
