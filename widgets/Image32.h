#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "widgets/Control.h"

// A 32-bit picture drawn unscaled at the control's top-left corner, clipped
// to the control. Its pixels are 0xAARRGGBB words and blend by their own
// alpha, so an opaque picture is a plain copy.
class TImage32 : public TControl {
 public:
  // Mouse moves with the picture layer under the pointer; this image has no
  // layers, so the layer is always kNoLayer.
  using TMouseMoveLayerEvent =
      std::function<void(TControl* Sender, TShiftState Shift, int X, int Y, int Layer)>;
  static constexpr int kNoLayer = -1;

  TMouseMoveLayerEvent OnMouseMoveLayer;

  int PictureWidth() const { return FWidth; }
  int PictureHeight() const { return FHeight; }
  const std::vector<std::uint32_t>& Pixels() const { return FPixels; }

  // Takes width * height pixels, rows from the top.
  void SetPicture(int width, int height, std::span<const std::uint32_t> pixels);
  // Takes the stored form of a picture: width and height as 32-bit
  // little-endian words, then the rows from the top, each pixel a 32-bit
  // little-endian 0xAARRGGBB word. False (and the picture unchanged) when the
  // bytes do not hold a whole picture of that size.
  bool LoadFromBytes(std::span<const std::uint8_t> bytes);

  void HandleInput(const TInputEvent& event) override;
  void Paint(TCanvas& canvas) override;

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint32_t> FPixels;
};
