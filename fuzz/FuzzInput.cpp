#include "fuzz/FuzzInput.h"

#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kOneByteBound = 256;
constexpr std::size_t kTwoByteBound = 65536;
constexpr float kUint16Scale = 65535.0f;

// Values at the edges of what a float can say.
constexpr std::array<float, 12> kSpecialFloats = {
    std::numeric_limits<float>::quiet_NaN(),
    std::numeric_limits<float>::infinity(),
    -std::numeric_limits<float>::infinity(),
    std::numeric_limits<float>::denorm_min(),
    -std::numeric_limits<float>::denorm_min(),
    std::numeric_limits<float>::min(),
    std::numeric_limits<float>::max(),
    -std::numeric_limits<float>::max(),
    -0.0f,
    -1.0f,
    2.0f,
    1.0e30f,
};

// How Float and Double pick their kind of value from a selector byte.
enum : std::uint8_t { kNormalised, kSpecial, kAnyBits, kKinds };

}  // namespace

TFuzzInput::TFuzzInput(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}

std::uint8_t TFuzzInput::Byte() {
  if (Position >= Size) return 0;
  return Data[Position++];
}

std::uint16_t TFuzzInput::Uint16() {
  const auto low = Byte();
  return static_cast<std::uint16_t>(low | (Byte() << 8));
}

std::uint32_t TFuzzInput::Uint32() {
  const std::uint32_t low = Uint16();
  return low | (static_cast<std::uint32_t>(Uint16()) << 16);
}

VstIntPtr TFuzzInput::IntPtr() {
  if constexpr (sizeof(VstIntPtr) == sizeof(std::uint32_t)) {
    return static_cast<VstIntPtr>(Uint32());
  } else {
    const std::uint64_t low = Uint32();
    return static_cast<VstIntPtr>(low | (static_cast<std::uint64_t>(Uint32()) << 32));
  }
}

std::size_t TFuzzInput::Below(std::size_t bound) {
  if (bound <= kOneByteBound) return Byte() % bound;
  if (bound <= kTwoByteBound) return Uint16() % bound;
  return Uint32() % bound;
}

float TFuzzInput::Float() {
  switch (Byte() % kKinds) {
    case kNormalised:
      return static_cast<float>(Uint16()) / kUint16Scale;
    case kSpecial:
      return kSpecialFloats[Below(kSpecialFloats.size())];
    default:
      return std::bit_cast<float>(Uint32());
  }
}

double TFuzzInput::Double() {
  switch (Byte() % kKinds) {
    case kNormalised:
      return static_cast<double>(Uint16()) / kUint16Scale;
    case kSpecial:
      return static_cast<double>(kSpecialFloats[Below(kSpecialFloats.size())]);
    default: {
      const std::uint64_t low = Uint32();
      return std::bit_cast<double>(low | (static_cast<std::uint64_t>(Uint32()) << 32));
    }
  }
}

std::vector<std::uint8_t> TFuzzInput::Bytes(std::size_t count) {
  if (count > Remaining()) count = Remaining();
  std::vector<std::uint8_t> bytes(Data + Position, Data + Position + count);
  Position += count;
  return bytes;
}

std::string TFuzzInput::Text(std::size_t maxBytes) {
  if (maxBytes == 0) return {};
  const std::vector<std::uint8_t> bytes = Bytes(Below(maxBytes));
  std::string text(bytes.begin(), bytes.end());
  // A zero byte ends the text where a plug-in reads it.
  return text.substr(0, text.find('\0'));
}
