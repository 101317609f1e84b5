#pragma once

// A broken promise of the plug-in: printed, then the process aborts so that
// libFuzzer reports the input as a crash and keeps it.
[[noreturn]] void FuzzFailure(const char* format, ...) __attribute__((format(printf, 1, 2)));
