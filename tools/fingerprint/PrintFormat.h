#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// The line format of a fingerprint: a name, then one or more values, each
// written as its IEEE bit pattern in hexadecimal (8 digits for a float, 16
// for a double), so that two builds' prints compare exactly. The first
// component of a name (up to '/') is its group: results are bounded and
// reported per group.
class TPrintLine {
 public:
  explicit TPrintLine(std::string name);

  TPrintLine& operator<<(float value);
  TPrintLine& operator<<(double value);

  // The name and values, newline-terminated.
  void WriteTo(std::ostream& out) const;

 private:
  std::string Text;
};

// One value read back from a print line.
struct TPrintValue {
  // 4 or 8.
  int Bytes = 0;
  std::uint64_t Bits = 0;

  double AsDouble() const;
};

struct TParsedLine {
  std::string Name;
  std::vector<TPrintValue> Values;
};

// Reads a line written by TPrintLine (a trailing '\r' is ignored). False for
// a line that is not in the format.
bool ParsePrintLine(const std::string& line, TParsedLine& parsed);

// The group of a name: its text before the first '/'.
std::string PrintGroup(const std::string& name);
