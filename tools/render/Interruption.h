#pragma once

#include <stdexcept>

// Ctrl-C and termination requests end a render cleanly: the signal only sets
// a flag, and the render loop throws TInterrupted at the next block, so the
// temporary output is removed on the way out.

class TInterrupted : public std::runtime_error {
 public:
  TInterrupted() : std::runtime_error("Interrupted; no output written") {}
};

// Installs the handlers for SIGINT and SIGTERM.
void CatchInterruptions();

// Throws TInterrupted once a signal arrived.
void ThrowIfInterrupted();
