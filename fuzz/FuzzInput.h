#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/DVSTEffect.h"

// Reads a fuzzer's input as the host decisions it encodes. Every read
// consumes bytes from the front; once the input is exhausted every read
// answers zero, so a decoder always terminates.
class TFuzzInput {
 public:
  TFuzzInput(const std::uint8_t* data, std::size_t size);

  bool Empty() const { return Position >= Size; }
  std::size_t Remaining() const { return Size - Position; }

  std::uint8_t Byte();
  std::uint16_t Uint16();
  std::uint32_t Uint32();
  VstInt32 Int32() { return static_cast<VstInt32>(Uint32()); }
  VstIntPtr IntPtr();
  bool Flag() { return (Byte() & 1) != 0; }
  // A number in [0, bound), bound > 0; small bounds take one byte.
  std::size_t Below(std::size_t bound);

  // A float as hosts send it: mostly 0..1, sometimes a special value
  // (NaN, infinities, subnormals, extremes) or any bit pattern.
  float Float();
  double Double();
  // count bytes, fewer when the input runs out.
  std::vector<std::uint8_t> Bytes(std::size_t count);
  // Text bytes for a buffer of maxBytes, terminating zero included: at most
  // maxBytes - 1 bytes, any values (a zero byte just ends the text early).
  std::string Text(std::size_t maxBytes);

 private:
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t Position = 0;
};
