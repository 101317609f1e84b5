#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "frame/CustomVSTModule.h"

// The log a test module keeps of its handler calls (see TestControl.h). A
// host may call the module from several threads at once (processing while
// the editor opens), so the entries are guarded.
class TTraceLog {
 public:
  void Add(TCustomVSTModule& module, std::string entry);
  void Clear();
  // Writes the entries joined by '|' into a buffer of size bytes.
  void CopyTo(char* buffer, VstInt32 size) const;
  // Answers the test's effVendorSpecific requests to read or clear the log;
  // false for any other request.
  bool HandleRequest(VstInt32 request, VstInt32 size, void* buffer);

 private:
  mutable std::mutex Guard;
  std::vector<std::string> Entries;
};
