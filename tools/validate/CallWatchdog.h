#pragma once

#include <chrono>

// Time limit of each call into the plug-in, kept in the check's process: a
// thread watches the calls in progress and ends the process with a report
// when one of them overruns. Calls may be made from several threads at once;
// each holds a slot while it runs.
//
// Arming and disarming take no lock and allocate nothing, so they may wrap
// processing calls whose allocations are counted.

// Starts the watching thread; reportFd receives the reason before the
// process exits. Call once per check process.
void StartCallWatchdog(std::chrono::milliseconds callLimit, int reportFd);

// Watches one call for its lifetime. name must outlive the watch (a literal).
class TWatchedCall {
 public:
  explicit TWatchedCall(const char* name);
  ~TWatchedCall();
  TWatchedCall(const TWatchedCall&) = delete;
  TWatchedCall& operator=(const TWatchedCall&) = delete;

 private:
  int Slot;
};
