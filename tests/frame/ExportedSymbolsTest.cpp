#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "tests/frame/PluginFixture.h"

namespace {

// The defined dynamic symbols of a binary, as nm lists them.
std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
  const std::string command = "nm -D --defined-only '" + path + "' 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::set<std::string> symbols;
  if (!pipe) return symbols;
  char line[512];
  while (std::fgets(line, sizeof(line), pipe.get())) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
      text.pop_back();
    const auto space = text.rfind(' ');
    if (space != std::string::npos) symbols.insert(text.substr(space + 1));
  }
  return symbols;
}

TEST(ExportedSymbols, PluginBinariesExportOnlyTheEntryPoint) {
  for (const std::string& path :
       {TestPluginPath("test_full_plugin"), TestPluginPath("test_bare_plugin"),
        TestPluginPath("test_shell_plugin"), std::string(QUILLO_EFFECT_PLUGIN)}) {
    EXPECT_EQ(DefinedDynamicSymbols(path), (std::set<std::string>{"VSTPluginMain", "main"}))
        << path;
  }
}

TEST(ExportedSymbols, MainIsTheSameFunctionAsVSTPluginMain) {
  TPluginFixture plugin("test_full_plugin");
  EXPECT_EQ(plugin.Library.EntryPointName(), "VSTPluginMain");
  EXPECT_EQ(plugin.Library.FindSymbol("main"), plugin.Library.FindSymbol("VSTPluginMain"));
}

}  // namespace
