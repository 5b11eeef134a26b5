#ifndef KESMARO_CORE_RUN_BYTE_WORDS_H_
#define KESMARO_CORE_RUN_BYTE_WORDS_H_

// Eight bytes of data at a time in a plain 64-bit word: a mask with the high bit set of each byte
// of a kind. Walking the lines of a block so costs little more than reading it, on any processor.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/run/line_end.h"

namespace kesmaro::byte_words {

constexpr std::size_t kWord = sizeof(std::uint64_t);
constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kLow7 = kOnes * 0x7F;
constexpr std::uint64_t kHigh = kOnes * 0x80;

inline std::uint64_t Load(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

/// The bytes of `word` that are zero. Adding 0x7F to the low seven bits of a byte sets its high
/// bit unless all eight are zero, and no carry crosses bytes.
inline std::uint64_t ZeroBytes(std::uint64_t word) { return ~(((word & kLow7) + kLow7) | word | kLow7); }

/// The bytes of `word` equal to `ch`.
inline std::uint64_t BytesEqual(std::uint64_t word, char ch) {
  return ZeroBytes(word ^ (kOnes * static_cast<unsigned char>(ch)));
}

/// The bytes of `word` in the ASCII range [low, high], 0 < low <= high < 0x80.
inline std::uint64_t BytesBetween(std::uint64_t word, char low, char high) {
  // Of the low seven bits, high bit set when at least `low`, and when above `high`; no byte
  // carries into the next, as the sums stay below 0x100. Bytes of 0x80 and above are never in.
  const std::uint64_t seven = word & kLow7;
  const std::uint64_t atLeastLow = seven + kOnes * static_cast<unsigned char>(0x80 - low);
  const std::uint64_t aboveHigh = seven + kOnes * static_cast<unsigned char>(0x7F - high);
  return atLeastLow & ~aboveHigh & ~word & kHigh;
}

/// The bytes of `word` that end a line (IsLineEnd).
inline std::uint64_t LineEndBytes(std::uint64_t word) {
  return BytesEqual(word, kLf) | BytesEqual(word, kCr);
}

/// The offset of the first byte, in memory order, marked in a non-zero mask.
inline std::size_t FirstMarked(std::uint64_t bits) {
  if constexpr (std::endian::native == std::endian::little)
    return static_cast<std::size_t>(std::countr_zero(bits)) / 8;
  return static_cast<std::size_t>(std::countl_zero(bits)) / 8;
}

/// The first `count` bytes of `word` in memory order, the others zero; `count` at most 8.
inline std::uint64_t FirstBytes(std::uint64_t word, std::size_t count) {
  if (count == 0) return 0;
  if constexpr (std::endian::native == std::endian::little)
    return word & (~std::uint64_t{0} >> (64 - 8 * count));
  return word & (~std::uint64_t{0} << (64 - 8 * count));
}

}  // namespace kesmaro::byte_words

#endif  // KESMARO_CORE_RUN_BYTE_WORDS_H_
