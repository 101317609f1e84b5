#pragma once

#include <cstdint>

// The time the controls' timers read: a monotonic clock in milliseconds. The
// platform provides the real one; tests inject one they advance themselves.
class TClock {
 public:
  virtual ~TClock() = default;
  virtual std::int64_t NowMilliseconds() const = 0;
};
