#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frame/DVSTEffect.h"

// What a plug-in wrote into a text buffer handed to it.
struct TTextReply {
  // The text up to the first zero byte within the buffer.
  std::string Text;
  // The dispatcher's answer.
  VstIntPtr Result = 0;
  // The size the plug-in was given, terminating zero included.
  std::size_t BufferSize = 0;
  // How far the plug-in wrote: one past the last byte it changed, counted from
  // the buffer's start and including the guard behind it.
  std::size_t BytesWritten = 0;
  // A zero byte lies within the buffer.
  bool Terminated = false;

  bool Overrun() const { return BytesWritten > BufferSize; }
};

// A text buffer of a stated size followed by a guard. Both are filled with a
// pattern before the plug-in writes, so writes past the stated size, and the
// extent of what was written, show afterwards.
class TGuardedTextBuffer {
 public:
  static constexpr std::size_t kGuardSize = 256;
  static constexpr char kFill = '\xA5';

  explicit TGuardedTextBuffer(std::size_t size);

  char* Data() { return Bytes.data(); }
  std::size_t Size() const { return StatedSize; }

  // Reads the buffer after the plug-in wrote into it.
  TTextReply Inspect(VstIntPtr result) const;

 private:
  std::size_t StatedSize;
  std::vector<char> Bytes;
};
