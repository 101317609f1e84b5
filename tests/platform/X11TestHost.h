#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "widgets/graphics/PixelBuffer.h"

// Xlib's connection type, declared here so that this header does not bring
// Xlib's macros (None, Bool, Status, ...) into every test.
struct _XDisplay;

// Points this process's DISPLAY at the suite's Xvfb server, whose name the
// Xvfb fixture wrote into the build tree (cmake/XvfbTests.cmake). Without
// that file a DISPLAY already set is kept. False, with the reason in `why`,
// when there is no display to use. Call it before opening any connection.
bool UseTestDisplay(std::string* why = nullptr);

// What a host does with X in an editor test: it owns top-level windows that
// plug-ins put their editors into, reads what they show, and drives the
// pointer through the XTest extension as a user would.
//
// Window ids are X window ids; a parent's id is what a host passes to
// effEditOpen (cast to a pointer). Every call has been handled by the
// server when it returns; what it causes on other connections (the
// plug-in's) is in flight, so wait for it with WaitUntil. A failing request
// throws std::runtime_error. Positions are in the named window's
// coordinates, which may lie outside it.
class TX11TestHost {
 public:
  using TWindowId = unsigned long;
  enum class TVisual { TrueColor24, TrueColor32, DirectColor24 };
  // X's pointer buttons: the wheel is 4 (forward) and 5 (back).
  static constexpr unsigned kLeftButton = 1;
  static constexpr unsigned kMiddleButton = 2;
  static constexpr unsigned kRightButton = 3;
  static constexpr int kDefaultWaitMilliseconds = 2000;

  // Opens DISPLAY; throws std::runtime_error when that fails or the server
  // lacks XTest.
  TX11TestHost();
  // Lets go of the buttons and keys still held and closes the connection,
  // which destroys the windows made through it.
  ~TX11TestHost();
  TX11TestHost(const TX11TestHost&) = delete;
  TX11TestHost& operator=(const TX11TestHost&) = delete;

  _XDisplay* Connection() const { return FDisplay; }

  // A top-level window at the root's origin, mapped and viewable when this
  // returns, with the given visual (24 bits TrueColor, as most hosts have).
  TWindowId CreateParent(int width, int height, TVisual visual = TVisual::TrueColor24);
  void DestroyWindow(TWindowId window);
  // The children of `window`, bottom first.
  std::vector<TWindowId> ChildrenOf(TWindowId window) const;

  // What `window` shows, as 0xAARRGGBB rows of its size. Windows without an
  // alpha channel read alpha 0xFF. The window must be viewable and not
  // covered.
  TPixelBuffer ReadPixels(TWindowId window) const;

  void MovePointer(TWindowId window, int x, int y);
  void PressButton(unsigned button);
  void ReleaseButton(unsigned button);
  // Positive notches forward, negative back; a press and release each.
  void TurnWheel(int notches);
  // Keys by keysym (XK_Shift_L, ... from <X11/keysym.h>).
  void PressKey(unsigned long keysym);
  void ReleaseKey(unsigned long keysym);

  // Asks `done` again and again, briefly sleeping in between, until it
  // answers true or the time is up; whether it did.
  static bool WaitUntil(const std::function<bool()>& done,
                        int timeoutMilliseconds = kDefaultWaitMilliseconds);

 private:
  void FakeButton(unsigned button, bool press);
  void FakeKey(unsigned long keysym, bool press);

  _XDisplay* FDisplay;
  // Held down through this host; let go at the end, so that a test that
  // stops half-way leaves the shared server as it found it.
  std::vector<unsigned> FHeldButtons;
  std::vector<unsigned> FHeldKeys;
};
