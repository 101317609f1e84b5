#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Numbers as parameter texts: written in the general number format and read
// back, independent of the process's C locale (hosts change it).

// The general number format with the most significant digits (15 at most)
// whose text has at most maxLength characters: plain notation for decimal
// exponents from -4 up to below the digit count, otherwise scientific
// ("1E-5"); trailing zeros and a trailing separator are dropped. NaN reads
// "NAN", infinities "INF" and "-INF"; -0 reads "0".
std::string FormatGeneralNumber(double value, std::size_t maxLength, char separator);

// Optional spaces, an optional sign, digits with an optional fraction, an
// optional exponent and optional trailing spaces; nothing else. The number
// must be finite as a 32-bit float. The separator and '.' are both accepted.
std::optional<float> ParseRealNumber(std::string_view text, char separator);

// The decimal separator of the user's regional settings ('.' on Linux).
char DecimalSeparator();
