#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// The render program's command line.
struct TRenderOptions {
  std::string Plugin;
  // An index or a program name, as given.
  std::optional<std::string> Program;
  // Parameter name and value text, in the order given.
  std::vector<std::pair<std::string, std::string>> Settings;
  std::size_t BlockSize = 512;
  bool DoublePrecision = false;
  // 16 or 24 for integers, 32 for float; 0 lets the output format choose.
  int Bits = 0;
  double TailSeconds = 0.0;
  // Print the plug-in's programs and parameters instead of rendering.
  bool List = false;
  bool Help = false;
  std::string Input;
  std::string Output;
};

// A command line that cannot be understood; the message says why.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. defaultPlugin is used when
// --plugin is not given. Throws TUsageError.
TRenderOptions ParseRenderOptions(const std::vector<std::string>& arguments,
                                  std::string defaultPlugin);

// The usage text, naming the default plug-in.
std::string RenderUsage(const std::string& defaultPlugin);
