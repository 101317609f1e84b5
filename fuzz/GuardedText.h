#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// An output text buffer of exactly the size the protocol names, placed so
// that its last byte is the last one before an inaccessible page: a plug-in
// writing one byte too far faults at once. The buffer is filled with a
// pattern first, so what the plug-in wrote shows afterwards.
//
// All buffers share one page pair; only one may exist at a time (the
// fuzzers are single-threaded and hand out one text buffer per call).
class TGuardedText {
 public:
  static constexpr char kFill = '\xA5';

  explicit TGuardedText(std::size_t size);
  ~TGuardedText();
  TGuardedText(const TGuardedText&) = delete;
  TGuardedText& operator=(const TGuardedText&) = delete;

  char* Data() { return Buffer; }
  std::size_t Size() const { return BufferSize; }

  // Some byte differs from the fill.
  bool Written() const;
  // The text before the first zero byte; none when the buffer holds no zero.
  std::optional<std::string_view> Text() const;
  // Fails the run unless the buffer holds a terminated text, when the
  // plug-in wrote into it or promised a text by its answer.
  void RequireText(const char* query, bool promised) const;

 private:
  char* Buffer;
  std::size_t BufferSize;
};
