#ifndef KESMARO_FUZZ_CHECK_H_
#define KESMARO_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

/// Aborts, so that libFuzzer keeps the input, when a fast reading and the plain one differ.
#define KESMARO_CHECK(condition)                                                                \
  do {                                                                                          \
    if (!(condition)) {                                                                         \
      std::fprintf(stderr, "%s:%d: the readings differ: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                             \
    }                                                                                           \
  } while (false)

#endif  // KESMARO_FUZZ_CHECK_H_
