#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts crossing the plug-in boundary are read and written with a bound: a
// plug-in's text may lack its terminating zero, and its buffers have the
// published sizes only.

struct TBoundedText {
  std::string Text;
  // A terminating zero was found within the bound.
  bool Terminated = false;
};

// Reads at most limit bytes from ptr, stopping at the first zero byte. A null
// ptr reads as an empty, unterminated text.
TBoundedText ReadBoundedText(const void* ptr, std::size_t limit);

// Writes text into a buffer of size bytes, cut to size - 1 bytes and always
// zero-terminated. Answers false, writing nothing, when ptr is null or size 0.
bool WriteBoundedText(void* ptr, std::string_view text, std::size_t size);
