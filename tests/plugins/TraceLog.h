#pragma once

#include <string>
#include <vector>

#include "frame/CustomVSTModule.h"

// The log a test module keeps of its handler calls (see TestControl.h).
class TTraceLog {
 public:
  void Add(TCustomVSTModule& module, std::string entry);
  void Clear() { Entries.clear(); }
  // Writes the entries joined by '|' into a buffer of size bytes.
  void CopyTo(char* buffer, VstInt32 size) const;
  // Answers the test's effVendorSpecific requests to read or clear the log;
  // false for any other request.
  bool HandleRequest(VstInt32 request, VstInt32 size, void* buffer);

 private:
  std::vector<std::string> Entries;
};
