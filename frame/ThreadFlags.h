#pragma once

// Re-entry flags kept per module and per thread. A flag raised by one thread
// never blocks another: a host automating on its audio thread while its
// user-interface thread changes another parameter loses neither change.
enum class TThreadFlag { InHostSetParameter, InParameterChange };

bool IsThreadFlagSet(const void* module, TThreadFlag flag);

// Raises the flag for this thread unless it is already raised; lowers it on
// the way out, also when an exception passes.
class TThreadFlagGuard {
 public:
  TThreadFlagGuard(const void* module, TThreadFlag flag);
  ~TThreadFlagGuard();
  TThreadFlagGuard(const TThreadFlagGuard&) = delete;
  TThreadFlagGuard& operator=(const TThreadFlagGuard&) = delete;

  // False when the flag was already raised on this thread: the caller is
  // re-entering and drops its work.
  bool Acquired() const { return FAcquired; }

 private:
  const void* Module;
  TThreadFlag Flag;
  bool FAcquired = false;
};
