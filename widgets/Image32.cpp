#include "widgets/Image32.h"

#include <limits>

#include "widgets/ClipScope.h"

namespace {

constexpr std::size_t kWordBytes = 4;
constexpr std::size_t kHeaderWords = 2;

std::uint32_t ReadLittleEndian(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

void TImage32::SetPicture(int width, int height, std::span<const std::uint32_t> pixels) {
  const bool valid =
      width > 0 && height > 0 && pixels.size() == static_cast<std::size_t>(width) * height;
  FWidth = valid ? width : 0;
  FHeight = valid ? height : 0;
  FPixels.assign(pixels.begin(), valid ? pixels.end() : pixels.begin());
  Invalidate();
}

bool TImage32::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeaderWords * kWordBytes) return false;
  const std::uint32_t width = ReadLittleEndian(bytes.data());
  const std::uint32_t height = ReadLittleEndian(bytes.data() + kWordBytes);
  constexpr std::uint32_t kLargest = std::numeric_limits<int>::max();
  if (width > kLargest || height > kLargest) return false;
  const std::uint64_t count = static_cast<std::uint64_t>(width) * height;
  const std::size_t body = bytes.size() - kHeaderWords * kWordBytes;
  if (count > body / kWordBytes || count * kWordBytes != body) return false;
  std::vector<std::uint32_t> pixels(count);
  const std::uint8_t* source = bytes.data() + kHeaderWords * kWordBytes;
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = ReadLittleEndian(source + i * kWordBytes);
  SetPicture(static_cast<int>(width), static_cast<int>(height), pixels);
  return true;
}

void TImage32::HandleInput(const TInputEvent& event) {
  TControl::HandleInput(event);
  if (event.Kind == TInputEvent::TKind::PointerMove && OnMouseMoveLayer)
    OnMouseMoveLayer(this, event.Shift, event.X, event.Y, kNoLayer);
}

void TImage32::Paint(TCanvas& canvas) {
  if (FPixels.empty()) return;
  const TClipScope clip(canvas, Bounds);
  canvas.DrawPicture(FPixels.data(), FWidth, FHeight, FWidth, Bounds.Left, Bounds.Top);
}
