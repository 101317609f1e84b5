#pragma once

#include <cstdint>

// Counts what the calling thread does while it watches: allocations (malloc
// and its relatives, operator new included, which calls malloc) and mutex
// locks. The validator's executable interposes those functions, so the
// plug-in's calls land here too. Under AddressSanitizer or ThreadSanitizer
// the sanitizer owns the allocator and nothing is interposed: Available()
// says so.

struct TProcessingCounts {
  std::uint64_t Allocations = 0;
  std::uint64_t Frees = 0;
  std::uint64_t Locks = 0;
};

namespace ProcessingMonitor {

bool Available();

// Starts counting on this thread from zero.
void Begin();
// Stops counting on this thread and answers what was counted since Begin.
TProcessingCounts End();

// Pause and resume counting on this thread, nested: the host callback's
// own work is the host's, not the plug-in's (see HostCallbackObserver.h).
void Pause();
void Resume();

}  // namespace ProcessingMonitor
