#include <windows.h>

#include "frame/NumberText.h"

// Windows users expect the decimal separator of their regional settings.
// Only a single ASCII character is taken; anything else reads as '.'.
char DecimalSeparator() {
  wchar_t separator[8] = {};
  const int length =
      GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, std::size(separator));
  // The length counts the terminating NUL.
  if (length == 2 && separator[0] > L' ' && separator[0] < 0x7F)
    return static_cast<char>(separator[0]);
  return '.';
}
