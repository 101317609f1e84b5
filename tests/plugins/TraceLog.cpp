#include "tests/plugins/TraceLog.h"

#include "frame/HostText.h"
#include "tests/plugins/TestControl.h"

void TTraceLog::Add(TCustomVSTModule& module, std::string entry) {
  {
    const std::lock_guard<std::mutex> lock(Guard);
    Entries.push_back(entry);
  }
  module.HostVendorSpecific(kTrace, 0, entry.data(), 0.0f);
}

void TTraceLog::Clear() {
  const std::lock_guard<std::mutex> lock(Guard);
  Entries.clear();
}

void TTraceLog::CopyTo(char* buffer, VstInt32 size) const {
  std::string joined;
  const std::lock_guard<std::mutex> lock(Guard);
  for (const std::string& entry : Entries) {
    if (!joined.empty()) joined += '|';
    joined += entry;
  }
  if (size > 0) WriteHostText(buffer, static_cast<std::size_t>(size), joined);
}

bool TTraceLog::HandleRequest(VstInt32 request, VstInt32 size, void* buffer) {
  if (request == kReadLog) {
    CopyTo(static_cast<char*>(buffer), size);
    return true;
  }
  if (request == kClearLog) {
    Clear();
    return true;
  }
  return false;
}
