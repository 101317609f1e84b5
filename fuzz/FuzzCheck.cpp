#include "fuzz/FuzzCheck.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void FuzzFailure(const char* format, ...) {
  std::fputs("==fuzz== plug-in broke its promise: ", stderr);
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(stderr, format, arguments);
  va_end(arguments);
  std::fputc('\n', stderr);
  std::fflush(stderr);
  std::abort();
}
