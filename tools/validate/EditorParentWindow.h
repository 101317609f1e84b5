#pragma once

#include <cstddef>
#include <memory>

// Xlib's connection type, declared so that this header does not bring Xlib's
// macros into the checks.
struct _XDisplay;

// A host's top-level window for a plug-in's editor, on the display DISPLAY
// names, with its own connection.
class TEditorParentWindow {
 public:
  // Null when no display can be opened.
  static std::unique_ptr<TEditorParentWindow> Open(int width, int height);
  ~TEditorParentWindow();
  TEditorParentWindow(const TEditorParentWindow&) = delete;
  TEditorParentWindow& operator=(const TEditorParentWindow&) = delete;

  // What a host passes to effEditOpen.
  void* Handle() const;
  // The windows the plug-in put into ours, after everything sent so far
  // was handled.
  std::size_t Children() const;
  // Waits up to a while for the count of children to satisfy want.
  bool WaitForChildren(bool (*want)(std::size_t children)) const;

 private:
  TEditorParentWindow(_XDisplay* display, unsigned long window);

  _XDisplay* FDisplay;
  unsigned long FWindow;
};

// Whether a display can be opened at all.
bool DisplayAvailable();
