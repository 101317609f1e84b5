#pragma once

#include <cstddef>
#include <memory>

// Xlib's connection type, declared so that this header does not bring Xlib's
// macros into the checks.
struct _XDisplay;

// The host's connection to the display DISPLAY names, and the top-level
// windows it gives plug-ins' editors. One connection stays open for the
// whole check: a server whose last client leaves resets itself and refuses
// connections for a moment.
class TEditorHostDisplay {
 public:
  using TWindowId = unsigned long;

  // Null when no display can be opened.
  static std::unique_ptr<TEditorHostDisplay> Open();
  ~TEditorHostDisplay();
  TEditorHostDisplay(const TEditorHostDisplay&) = delete;
  TEditorHostDisplay& operator=(const TEditorHostDisplay&) = delete;

  // A mapped top-level window; what a host passes to effEditOpen is
  // Handle(window).
  TWindowId CreateParent(int width, int height);
  void DestroyWindow(TWindowId window);
  static void* Handle(TWindowId window);

  // The windows the plug-in put into window, after everything sent so far
  // was handled.
  std::size_t Children(TWindowId window) const;
  // Waits a while for the count of children to satisfy want.
  bool WaitForChildren(TWindowId window, bool (*want)(std::size_t children)) const;

 private:
  explicit TEditorHostDisplay(_XDisplay* display);

  _XDisplay* FDisplay;
};
