#pragma once

#include "fuzz/FuzzInput.h"
#include "tools/host/Effect.h"

// One dispatcher call decoded from the input: an opcode (mostly 0..80, now
// and then any 32-bit number), fuzzed index, value and opt, and for each
// opcode the ptr a host hands in: a guarded text buffer of the protocol's
// size, a NUL-terminated text, a full-size record or pointer slot with
// fuzzed contents. What the plug-in writes back is checked; a broken promise
// aborts. effClose is sent through TEffect::Close and ends the instance.
// Answers false once the instance is closed.
bool FuzzDispatcherCall(TEffect& effect, TFuzzInput& input);
