#pragma once

#include <stdexcept>
#include <string>

// How one check ended, as the battery reports it.
enum class TCheckStatus { Passed, Failed, Skipped };

struct TCheckOutcome {
  TCheckStatus Status = TCheckStatus::Failed;
  std::string Reason;
};

// Thrown by a check that found a fault: the message is the reason.
class TCheckFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Thrown by a check that cannot run here (no editor, no display, a
// sanitizer owning the allocator): neither a pass nor a failure.
class TCheckSkipped : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Fails the check with reason unless condition holds.
inline void Require(bool condition, const std::string& reason) {
  if (!condition) throw TCheckFailure(reason);
}
