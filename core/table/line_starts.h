#ifndef KESMARO_CORE_TABLE_LINE_STARTS_H_
#define KESMARO_CORE_TABLE_LINE_STARTS_H_

// The walk over a block's lines that the numeric searches share: a word's bits of bytes a round
// (sixty-four, or thirty-two on 32-bit processors, whose words hold no more), where their lines
// start as bits, and then those lines one by one, none of them waiting on where the one before
// it ended.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "core/run/byte_lanes.h"
#include "core/run/line_end.h"
#include "core/run/line_search.h"

namespace kesmaro {

/// What a visitor of ForEachLineStart returns to go on to the next line.
inline constexpr std::size_t kGoOn = ~std::size_t{0};

/// Hands `visit(pos, held)` the start of every line from `from`, which starts one, in file
/// order, until it returns a position other than kGoOn, which is returned; `to` once no line
/// is left to hand over. Empty lines are passed over. `held` is std::true_type when `kHeld`
/// bytes are held from `pos` on, which every line a round starts has, and std::false_type for
/// the last bytes, walked line by line. `kIsa`: the copy of the search it is inlined into.
template <std::size_t kHeld, byte_lanes::Isa kIsa = byte_lanes::Isa::kBuild, typename Visit>
[[gnu::always_inline]] inline std::size_t ForEachLineStart(const char* data, std::size_t from, std::size_t to,
                                                           Visit&& visit) {
  using namespace byte_lanes;
  // A round's bytes as the bits of one word, which the processor counts in one instruction.
  using Bits = std::size_t;
  constexpr std::size_t kBits = 8 * sizeof(Bits);
  constexpr std::size_t kVectors = kBits / kLanes;
  if (from >= to) return to;
  Bits afterEnd = 1;  // whether the round's first byte follows a line end (`from` does)
  std::size_t round = from;
  for (; to - round >= kBits + kHeld; round += kBits) {
    Bits ends = 0;
    for (std::size_t i = 0; i < kVectors; ++i) {
      ends |= Bits{LaneBits<kIsa>(LineEndLanes(Load(data + round + i * kLanes)))} << (i * kLanes);
    }
    for (Bits starts = (ends << 1 | afterEnd) & ~ends; starts != 0; starts &= starts - 1) {
      const std::size_t stop =
          visit(round + static_cast<unsigned>(std::countr_zero(starts)), std::true_type{});
      if (stop != kGoOn) return stop;
    }
    afterEnd = ends >> (kBits - 1);
  }
  std::size_t pos = afterEnd ? round : FindLineEnd(data, round, to);
  while (pos < to) {
    if (IsLineEnd(data[pos])) {
      ++pos;
      continue;
    }
    const std::size_t stop = visit(pos, std::false_type{});
    if (stop != kGoOn) return stop;
    pos = FindLineEnd(data, pos, to);
  }
  return to;
}

}  // namespace kesmaro

#endif  // KESMARO_CORE_TABLE_LINE_STARTS_H_
