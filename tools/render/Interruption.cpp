#include "tools/render/Interruption.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t Requested = 0;

extern "C" void OnSignal(int) {
  Requested = 1;
}

}  // namespace

void CatchInterruptions() {
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
}

void ThrowIfInterrupted() {
  if (Requested != 0) throw TInterrupted();
}
