#pragma once

#include "widgets/graphics/Canvas.h"

// Narrows the canvas's clip to a rectangle for the lifetime of the scope and
// puts the previous clip back afterwards, so a control never draws outside
// its bounds whatever the caller clipped to.
class TClipScope {
 public:
  TClipScope(TCanvas& canvas, const TRect& rect) : FCanvas(canvas), FSaved(canvas.Clip()) {
    canvas.SetClip(FSaved.Intersect(rect));
  }
  ~TClipScope() { FCanvas.SetClip(FSaved); }
  TClipScope(const TClipScope&) = delete;
  TClipScope& operator=(const TClipScope&) = delete;

 private:
  TCanvas& FCanvas;
  TRect FSaved;
};
