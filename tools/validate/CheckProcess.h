#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "tools/validate/CheckOutcome.h"

// Runs a check in a child process of its own, so that a plug-in that
// crashes, hangs or calls exit takes only that check down. The child reports
// over a pipe: the step it is at, then its outcome. Each call into the
// plug-in has a time limit (kept in the child, see CallWatchdog.h) and the
// whole check another (kept here: the child is killed).

struct TCheckLimits {
  std::chrono::milliseconds Call{10000};
  std::chrono::milliseconds Check{120000};
};

// body passes by returning and fails or skips by throwing TCheckFailure or
// TCheckSkipped; any other exception fails the check with its message.
TCheckOutcome RunInChildProcess(const std::function<void()>& body, const TCheckLimits& limits);

// In the child: names what the check does now, so that a crash or hang
// says where it happened. Outside a child it does nothing.
void SetCheckStep(const std::string& step);
