#pragma once

#include <X11/Xlib.h>

#include <mutex>

// Keeps the X errors of our own connection away from Xlib's process-wide
// handlers, whose defaults end the process, the host with it.
//
// Xlib hands an error or a lost connection to the handlers only from inside
// an Xlib call on that connection. So every call on our connection is made
// while a trap lives: the trap installs our handlers, the calls run, and the
// destructor puts the previous handlers back, all on the calling thread
// before the editor's entry returns. Errors of other connections that
// arrive meanwhile go on to the previous handlers unchanged.
//
// Traps do not nest; one is alive at a time in the process (they wait for
// each other on a lock), and the calls made under a trap must not run
// client code that could make another.
class TX11ErrorTrap {
 public:
  // A lost connection then makes the call that noticed it return instead of
  // ending the process; the connection stays dead. Once per connection,
  // right after opening it. Xlib leaves such a display locked by the thread
  // that noticed, so only that thread may still close it.
  // (The host's own connection usually dies with the same server; this
  // matters when only ours is cut, as xkill on the editor does.)
  static void KeepAliveOnConnectionLoss(Display* display);

  explicit TX11ErrorTrap(Display* display);
  ~TX11ErrorTrap();
  TX11ErrorTrap(const TX11ErrorTrap&) = delete;
  TX11ErrorTrap& operator=(const TX11ErrorTrap&) = delete;

  // Waits until the server has handled every request made so far; true when
  // none failed since the trap was set and the connection still stands.
  bool Sync();
  // The code of the first error (BadWindow, BadMatch, ...); Success if none.
  int ErrorCode() const { return FErrorCode; }
  bool ConnectionLost() const { return FConnectionLost; }

 private:
  static int OnError(Display* display, XErrorEvent* error);
  static int OnConnectionLost(Display* display);

  std::unique_lock<std::mutex> FLock;
  Display* FDisplay;
  XErrorHandler FPreviousErrorHandler;
  XIOErrorHandler FPreviousConnectionHandler;
  int FErrorCode = Success;
  bool FConnectionLost = false;
};
