#pragma once

#include <memory>

#include "platform/NativeWindow.h"

// A window that shows nothing: the editor paints into its own pixels all
// the same, so tools and tests render it without a windowing system.
class TOffscreenWindow final : public TNativeWindow {
 public:
  // A factory for TVSTGUI that makes one for any parent but 0.
  static std::unique_ptr<TNativeWindow> Create(void* parent, int width, int height,
                                               TNativeWindowClient& client);

  void Present(const std::uint32_t*, int, int, int, int, int) override { ++Presented; }
  void PumpEvents() override {}

  // How many times the form presented pixels.
  int Presented = 0;
};
