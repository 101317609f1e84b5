#include "tools/fingerprint/PrintFormat.h"

#include <bit>
#include <cstdio>
#include <sstream>

namespace {

constexpr int kFloatDigits = 8;
constexpr int kDoubleDigits = 16;

bool ParseHex(const std::string& token, std::uint64_t& bits) {
  bits = 0;
  for (char c : token) {
    int digit = 0;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      return false;
    bits = bits << 4 | static_cast<std::uint64_t>(digit);
  }
  return true;
}

}  // namespace

TPrintLine::TPrintLine(std::string name) : Text(std::move(name)) {}

TPrintLine& TPrintLine::operator<<(float value) {
  char digits[kFloatDigits + 2];
  std::snprintf(digits, sizeof digits, " %08lx",
                static_cast<unsigned long>(std::bit_cast<std::uint32_t>(value)));
  Text += digits;
  return *this;
}

TPrintLine& TPrintLine::operator<<(double value) {
  char digits[kDoubleDigits + 2];
  std::snprintf(digits, sizeof digits, " %016llx",
                static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(value)));
  Text += digits;
  return *this;
}

void TPrintLine::WriteTo(std::ostream& out) const {
  out << Text << '\n';
}

double TPrintValue::AsDouble() const {
  if (Bytes == sizeof(float))
    return static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(Bits)));
  return std::bit_cast<double>(Bits);
}

bool ParsePrintLine(const std::string& line, TParsedLine& parsed) {
  std::string text = line;
  if (!text.empty() && text.back() == '\r') text.pop_back();
  std::istringstream tokens(text);
  parsed = TParsedLine{};
  if (!(tokens >> parsed.Name)) return false;
  std::string token;
  while (tokens >> token) {
    TPrintValue value;
    if (token.size() == kFloatDigits)
      value.Bytes = sizeof(float);
    else if (token.size() == kDoubleDigits)
      value.Bytes = sizeof(double);
    else
      return false;
    if (!ParseHex(token, value.Bits)) return false;
    parsed.Values.push_back(value);
  }
  return !parsed.Values.empty();
}

std::string PrintGroup(const std::string& name) {
  return name.substr(0, name.find('/'));
}
