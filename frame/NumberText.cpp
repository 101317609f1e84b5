#include "frame/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

constexpr int kMaxSignificantDigits = 15;
constexpr int kMinPlainExponent = -4;

// value rounded to `digits` significant digits, as "d.ddd" digits and the
// decimal exponent.
struct TRounded {
  std::string Digits;  // without the separator, at least one digit
  int Exponent = 0;
};

TRounded RoundToDigits(double magnitude, int digits) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), magnitude,
                                    std::chars_format::scientific, digits - 1);
  const std::string text(buffer, result.ptr);
  const auto e = text.find('e');
  TRounded rounded;
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] != '.') rounded.Digits += text[i];
  rounded.Exponent = std::stoi(text.substr(e + 1));
  return rounded;
}

std::string TrimFraction(std::string text, char separator) {
  if (text.find(separator) == std::string::npos) return text;
  while (!text.empty() && text.back() == '0')
    text.pop_back();
  if (!text.empty() && text.back() == separator) text.pop_back();
  return text;
}

std::string Compose(bool negative, const TRounded& rounded, int digits, char separator) {
  std::string text = negative ? "-" : "";
  const int e = rounded.Exponent;
  if (e >= kMinPlainExponent && e < digits) {
    if (e < 0) {
      text += '0';
      text += separator;
      text.append(static_cast<std::size_t>(-e - 1), '0');
      text += rounded.Digits;
    } else {
      const auto integerDigits = static_cast<std::size_t>(e + 1);
      text += rounded.Digits.substr(0, integerDigits);
      if (rounded.Digits.size() > integerDigits) {
        text += separator;
        text += rounded.Digits.substr(integerDigits);
      }
    }
    return TrimFraction(text, separator);
  }
  std::string mantissa(1, rounded.Digits[0]);
  if (rounded.Digits.size() > 1) {
    mantissa += separator;
    mantissa += rounded.Digits.substr(1);
  }
  text += TrimFraction(mantissa, separator);
  text += 'E';
  text += std::to_string(e);
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The decimal exponent of the first significant digit of a well-formed
// number text ("0.05" gives -2, "12e3" gives 4). Only its sign matters, so a
// huge written exponent is clamped.
long DecimalMagnitude(const std::string& number) {
  constexpr long kExponentClamp = 100000;
  const std::size_t start = (number[0] == '+' || number[0] == '-') ? 1 : 0;
  const std::size_t exponentMark = std::min(number.find_first_of("eE"), number.size());
  long position = -1;  // exponent of the digit being read
  for (std::size_t i = start; i < exponentMark && IsDigit(number[i]); ++i)
    ++position;
  long firstSignificant = 0;
  for (std::size_t i = start; i < exponentMark; ++i) {
    if (!IsDigit(number[i])) continue;
    if (number[i] != '0') {
      firstSignificant = position;
      break;
    }
    --position;
  }
  long exponent = 0;
  std::size_t i = exponentMark + 1;
  const bool negative = i < number.size() && number[i] == '-';
  if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
  for (; i < number.size(); ++i)
    exponent = std::min(exponent * 10 + (number[i] - '0'), kExponentClamp);
  return firstSignificant + (negative ? -exponent : exponent);
}

}  // namespace

std::string FormatGeneralNumber(double value, std::size_t maxLength, char separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0.0) return "0";
  const bool negative = value < 0;
  const double magnitude = std::fabs(value);
  std::string text;
  for (int digits = kMaxSignificantDigits; digits >= 1; --digits) {
    text = Compose(negative, RoundToDigits(magnitude, digits), digits, separator);
    if (text.size() <= maxLength) return text;
  }
  return text;  // even one digit does not fit; the caller cuts it
}

std::optional<float> ParseRealNumber(std::string_view text, char separator) {
  std::size_t i = 0;
  const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
  while (at(i) == ' ')
    ++i;
  std::string number;
  if (at(i) == '+' || at(i) == '-') number += text[i++];
  std::size_t integerDigits = 0;
  while (IsDigit(at(i))) {
    number += text[i++];
    ++integerDigits;
  }
  std::size_t fractionDigits = 0;
  if (at(i) == separator || at(i) == '.') {
    ++i;
    number += '.';
    while (IsDigit(at(i))) {
      number += text[i++];
      ++fractionDigits;
    }
  }
  if (integerDigits + fractionDigits == 0) return std::nullopt;
  if (at(i) == 'e' || at(i) == 'E') {
    number += text[i++];
    if (at(i) == '+' || at(i) == '-') number += text[i++];
    if (!IsDigit(at(i))) return std::nullopt;
    while (IsDigit(at(i)))
      number += text[i++];
  }
  while (at(i) == ' ')
    ++i;
  if (i != text.size()) return std::nullopt;

  double value = 0.0;
  const char* first = number.data();
  if (*first == '+') ++first;  // from_chars takes no plus sign
  const auto result = std::from_chars(first, number.data() + number.size(), value);
  if (result.ptr != number.data() + number.size()) return std::nullopt;
  if (result.ec == std::errc::result_out_of_range) {
    // Too small for a double is 0, which a float holds; too large is not.
    if (DecimalMagnitude(number) >= 0) return std::nullopt;
    value = number[0] == '-' ? -0.0 : 0.0;
  } else if (result.ec != std::errc()) {
    return std::nullopt;
  }
  // Doubles from here up round to infinity as a float.
  const double floatOverflow = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);
  if (!std::isfinite(value) || std::fabs(value) >= floatOverflow) return std::nullopt;
  return static_cast<float>(value);
}
