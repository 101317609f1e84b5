#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <map>
#include <ostream>
#include <string>

// How far a group's values may lie from the reference's: a value passes when
// it is within Ulps units in the last place or, for an Absolute above 0,
// within Absolute of it. Both 0 asks for identical bits (-0 and +0 differ).
struct TPrintBound {
  std::uint64_t Ulps = 0;
  double Absolute = 0.0;
};

struct TGroupComparison {
  std::size_t Values = 0;
  std::size_t Differing = 0;
  std::size_t BeyondBound = 0;
  std::uint64_t MaxUlps = 0;
  double MaxAbsolute = 0.0;
  // The line and value position of the largest distance in ULPs.
  std::string Worst;
  TPrintBound Bound;
};

struct TPrintComparison {
  // Empty when both prints hold the same lines with the same value counts.
  std::string Mismatch;
  std::map<std::string, TGroupComparison> Groups;

  bool WithinBounds() const;
};

// Compares two prints line by line; a group without an entry in bounds must
// be identical.
TPrintComparison ComparePrints(std::istream& reference, std::istream& other,
                               const std::map<std::string, TPrintBound>& bounds);

// One line per group: its value count, how many differ, the largest
// distances, the bound and whether it holds; then the mismatch if any.
void WriteComparison(std::ostream& out, const TPrintComparison& comparison);
