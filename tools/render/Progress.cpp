#include "tools/render/Progress.h"

#include <unistd.h>

#include <algorithm>

namespace {

constexpr int kPercent = 100;

}  // namespace

TProgress::TProgress(std::ostream& out, std::uint64_t total, bool enabled)
    : Out(out), Total(total), Enabled(enabled) {}

TProgress::~TProgress() {
  Finish();
}

void TProgress::Update(std::uint64_t done) {
  if (!Enabled || Total == 0) return;
  const int percent = static_cast<int>(std::min<std::uint64_t>(done, Total) * kPercent / Total);
  if (percent == Shown) return;
  Shown = percent;
  Out << "\rrendering " << percent << "%" << std::flush;
}

void TProgress::Finish() {
  if (!Enabled || Shown < 0) return;
  // Blanks the whole "rendering 100%" text.
  Out << "\r              \r" << std::flush;
  Shown = -1;
}

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}
