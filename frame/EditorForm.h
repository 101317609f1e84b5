#pragma once

#include "frame/EditorKeyEvent.h"
#include "frame/Object.h"

// What the frame needs of an editor window: the module's OnEditOpen handler
// creates one, the frame embeds it in the host's window, sizes, repaints,
// gives it idle time and forwards keys to it, and destroys it on close. The
// form's destructor must not call into the module: on effClose it runs while
// the module is being torn down. Every call comes from the editor's thread.
class TEditorForm : public TObject {
 public:
  // Makes the host's window (an HWND or an X11 window id) the form's parent;
  // false when no window could be made there.
  virtual bool SetParentWindow(void* parent) = 0;
  virtual void Show() = 0;
  virtual void SetBorderless() = 0;
  virtual void SetBounds(int left, int top, int width, int height) = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  // Asks for a repaint of the whole form.
  virtual void Invalidate() = 0;
  // Called on every effEditIdle: the form handles its window's events, its
  // timers and pending changes, and repaints what changed.
  virtual void Idle() = 0;
  // Hands a host key to the form's active control.
  virtual void HandleKey(const TEditorKeyEvent& key) = 0;
};
