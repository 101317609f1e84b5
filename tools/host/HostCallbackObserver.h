#pragma once

// Functions the shared host callback calls as it enters and as it leaves,
// on the plug-in's thread: a host that watches what the plug-in's threads do
// (allocations, locks) sets them to leave its own work out. Unset, the
// callback calls nothing. Set them before any plug-in runs.

struct THostCallbackObserver {
  void (*Enter)() = nullptr;
  void (*Leave)() = nullptr;
};

void SetHostCallbackObserver(THostCallbackObserver observer);

// Calls Enter on construction and Leave on destruction, where set.
class THostCallbackScope {
 public:
  THostCallbackScope();
  ~THostCallbackScope();
  THostCallbackScope(const THostCallbackScope&) = delete;
  THostCallbackScope& operator=(const THostCallbackScope&) = delete;
};
