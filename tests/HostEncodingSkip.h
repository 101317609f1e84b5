#pragma once

#include <gtest/gtest.h>

// The byte limits some tests check are those of UTF-8, the encoding of Linux
// hosts. Windows hosts read and write texts in the system's ANSI code page,
// where the same limits hold for other bytes; those tests are Linux's, and
// the Windows encoding has tests of its own.
#if defined(_WIN32)
#define QUILLO_SKIP_UNLESS_UTF8_HOSTS() GTEST_SKIP() << "Windows hosts use the ANSI code page"
#else
#define QUILLO_SKIP_UNLESS_UTF8_HOSTS() static_cast<void>(0)
#endif
