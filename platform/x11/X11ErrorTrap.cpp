#include "platform/x11/X11ErrorTrap.h"

#include <atomic>

namespace {

std::mutex TrapLock;
// The living trap. Xlib calls the handlers on whichever thread reads a
// connection, so other threads' connections may look at it meanwhile.
std::atomic<TX11ErrorTrap*> ActiveTrap{nullptr};
std::atomic<Display*> ActiveDisplay{nullptr};
std::atomic<XErrorHandler> PreviousErrorHandler{nullptr};
std::atomic<XIOErrorHandler> PreviousConnectionHandler{nullptr};

// Xlib calls this after the connection handler returns; its default exits.
void StayAlive(Display*, void*) {}

}  // namespace

void TX11ErrorTrap::KeepAliveOnConnectionLoss(Display* display) {
  XSetIOErrorExitHandler(display, StayAlive, nullptr);
}

TX11ErrorTrap::TX11ErrorTrap(Display* display) : FLock(TrapLock), FDisplay(display) {
  ActiveTrap.store(this);
  ActiveDisplay.store(display);
  FPreviousErrorHandler = XSetErrorHandler(OnError);
  FPreviousConnectionHandler = XSetIOErrorHandler(OnConnectionLost);
  PreviousErrorHandler.store(FPreviousErrorHandler);
  PreviousConnectionHandler.store(FPreviousConnectionHandler);
}

TX11ErrorTrap::~TX11ErrorTrap() {
  XSetErrorHandler(FPreviousErrorHandler);
  XSetIOErrorHandler(FPreviousConnectionHandler);
  ActiveDisplay.store(nullptr);
  ActiveTrap.store(nullptr);
}

bool TX11ErrorTrap::Sync() {
  XSync(FDisplay, False);
  return FErrorCode == Success && !FConnectionLost;
}

int TX11ErrorTrap::OnError(Display* display, XErrorEvent* error) {
  if (display == ActiveDisplay.load()) {
    TX11ErrorTrap* trap = ActiveTrap.load();
    if (trap->FErrorCode == Success) trap->FErrorCode = error->error_code;
    return 0;
  }
  XErrorHandler previous = PreviousErrorHandler.load();
  return previous ? previous(display, error) : 0;
}

int TX11ErrorTrap::OnConnectionLost(Display* display) {
  if (display == ActiveDisplay.load()) {
    ActiveTrap.load()->FConnectionLost = true;
    return 0;
  }
  XIOErrorHandler previous = PreviousConnectionHandler.load();
  return previous ? previous(display) : 0;
}
