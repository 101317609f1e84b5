#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/plugins/TestControl.h"
#include "tools/host/Host.h"
#include "tools/host/PluginLibrary.h"

// Path of a test plug-in binary built beside the tests.
inline std::string TestPluginPath(const std::string& name) {
  return std::string(QUILLO_TEST_PLUGIN_DIR) + "/" + name + QUILLO_PLUGIN_SUFFIX;
}

// A test plug-in loaded through the host-side library, with the test host
// collecting what the module traces while it is connected.
class TPluginFixture {
 public:
  explicit TPluginFixture(const std::string& name);
  ~TPluginFixture();

  std::unique_ptr<TEffect> Instantiate() { return Host.Instantiate(Library); }

  // The module's own log, read back through effVendorSpecific, without the
  // OnDispatcher entries (see EventsWithDispatch for those).
  std::vector<std::string> Events(TEffect& effect, bool withDispatch = false);
  void ClearEvents(TEffect& effect);

  TRecordingHost Host;
  TPluginLibrary Library;
  // Entries the module sent with audioMasterVendorSpecific while connected.
  std::vector<std::string> Traces;
};
