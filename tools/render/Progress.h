#pragma once

#include <cstdint>
#include <ostream>

// A percentage on one line of a terminal, rewritten as the render goes on.
// Prints nothing when the stream is not a terminal, so that logs and pipes
// stay clean.
class TProgress {
 public:
  // total frames to come; enabled only for a terminal.
  TProgress(std::ostream& out, std::uint64_t total, bool enabled);
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  void Update(std::uint64_t done);
  // Clears the line.
  void Finish();

 private:
  std::ostream& Out;
  std::uint64_t Total;
  bool Enabled;
  int Shown = -1;
};

// Whether standard error is a terminal.
bool StandardErrorIsTerminal();
