#ifndef KESMARO_FUZZ_CHECK_H_
#define KESMARO_FUZZ_CHECK_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "core/table/decimal.h"

/// Aborts, so that libFuzzer keeps the input, when a fast reading and the plain one differ.
#define KESMARO_CHECK(condition)                                                                \
  do {                                                                                          \
    if (!(condition)) {                                                                         \
      std::fprintf(stderr, "%s:%d: the readings differ: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                             \
    }                                                                                           \
  } while (false)

namespace kesmaro {

/// A fuzzed text and the decimal mark it is read with: the first byte's parity chooses the mark,
/// the bytes after it are the text. None for no bytes.
struct MarkedText {
  DecimalMark mark;
  std::string_view text;
};

inline std::optional<MarkedText> MarkedTextOf(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return std::nullopt;
  return MarkedText{data[0] % 2 == 0 ? DecimalMark::kPoint : DecimalMark::kComma,
                    std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1)};
}

}  // namespace kesmaro

#endif  // KESMARO_FUZZ_CHECK_H_
