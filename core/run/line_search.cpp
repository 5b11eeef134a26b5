#include "core/run/line_search.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "core/run/byte_lanes.h"

namespace kesmaro {
namespace {

using byte_lanes::Any;
using byte_lanes::kLanes;
using byte_lanes::Lanes;
using byte_lanes::Load;
using byte_lanes::Splat;

bool MatchesAt(std::string_view key, const char* data, std::size_t pos, std::size_t to) {
  return to - pos >= key.size() && std::memcmp(data + pos, key.data(), key.size()) == 0;
}

/// The two positions of a non-empty key whose bytes the search filters lines by: its last two,
/// as in a sorted series neighbouring lines share their leading digits and differ in their
/// trailing ones; but not the zeros that end a fraction, since data written to more decimals than
/// they hold (`550.000` in steps of 0.01) end every line so, nor the point, which every line of
/// such data has in that place (`900.5` is filtered by its `0` and its `5`).
inline std::pair<std::size_t, std::size_t> FilterPositions(std::string_view key) {
  std::size_t end = key.size();
  const std::size_t point = key.find('.');
  if (point != std::string_view::npos &&
      key.find_first_not_of("0123456789", point + 1) == std::string_view::npos) {
    while (end > point + 1 && key[end - 1] == '0') --end;
    if (end == point + 1) end = point;
  }
  if (end < 2) end = std::min<std::size_t>(key.size(), 2);
  const std::size_t second = end - 1;
  std::size_t first = second > 0 ? second - 1 : 0;
  if (first > 0 && first == point) --first;
  return {first, second};
}

/// Find() for a non-empty key without line ends, after its first position was tried.
template <byte_lanes::Isa kIsa>
[[gnu::always_inline]] inline std::size_t ScanLines(std::string_view key, const char* data, std::size_t from,
                                                    std::size_t to) {
  const std::size_t m = key.size();
  if (to - from < m + 1) return to;
  const std::size_t lastStart = to - m;  // the last position the key fits at
  const std::pair<std::size_t, std::size_t> filter = FilterPositions(key);
  const std::size_t first = filter.first, second = filter.second;  // named, for the lambdas to capture
  const Lanes firstByte = Splat(key[first]);
  const Lanes secondByte = Splat(key[second]);
  auto candidatesAt = [&](std::size_t at) __attribute__((always_inline)) {
    return byte_lanes::LineEndLanes(Load(data + at - 1)) & (Load(data + at + first) == firstByte) &
           (Load(data + at + second) == secondByte);
  };
  auto matchIn = [&](std::size_t at, Lanes candidates) __attribute__((always_inline)) {
    for (std::uint32_t lanes = byte_lanes::LaneBits<kIsa>(candidates); lanes != 0; lanes &= lanes - 1) {
      const auto lane = static_cast<std::size_t>(std::countr_zero(lanes));
      if (std::memcmp(data + at + lane, key.data(), m) == 0) return at + lane;
    }
    return to;
  };
  std::size_t pos = from + 1;
  // Four vectors a round, so that the test whether any lane is left is made once per 64 bytes.
  // They stay four named values: held in an array they measured slower.
  for (; pos + 4 * kLanes - 1 <= lastStart; pos += 4 * kLanes) {
    const Lanes a = candidatesAt(pos);
    const Lanes b = candidatesAt(pos + kLanes);
    const Lanes c = candidatesAt(pos + 2 * kLanes);
    const Lanes d = candidatesAt(pos + 3 * kLanes);
    if (!Any<kIsa>(a | b | c | d)) continue;
    for (std::size_t i = 0; i < 4; ++i) {
      const std::size_t at = pos + i * kLanes;
      const Lanes lanes = i == 0 ? a : i == 1 ? b : i == 2 ? c : d;
      if (const std::size_t found = matchIn(at, lanes); found != to) return found;
    }
  }
  for (; pos + kLanes - 1 <= lastStart; pos += kLanes) {
    if (const std::size_t found = matchIn(pos, candidatesAt(pos)); found != to) return found;
  }
  for (; pos <= lastStart; ++pos) {
    if (IsLineEnd(data[pos - 1]) && std::memcmp(data + pos, key.data(), m) == 0) return pos;
  }
  return to;
}

using Entries =
    byte_lanes::EntryPoints<ScanLines<byte_lanes::Isa::kBuild>, ScanLines<byte_lanes::Isa::kSse2>>;

}  // namespace

KeyLineSearch::KeyLineSearch(std::string_view key, Instructions instructions)
    : key_(key),
      canMatch_(std::ranges::none_of(key, IsLineEnd)),
      scan_(instructions == Instructions::kFastest ? Entries::Fastest() : Entries::Portable) {}

std::size_t KeyLineSearch::FindEmptyKey(const char* data, std::size_t from, std::size_t to) const {
  for (std::size_t pos = from; pos < to; ++pos) {
    if (!IsLineEnd(data[pos]) && (pos == from || IsLineEnd(data[pos - 1]))) return pos;
  }
  return to;
}

std::size_t KeyLineSearch::Find(const char* data, std::size_t from, std::size_t to) {
  if (!canMatch_ || from >= to) return to;
  if (key_.empty()) return FindEmptyKey(data, from, to);
  if (MatchesAt(key_, data, from, to)) return from;
  return scan_(key_, data, from, to);
}

}  // namespace kesmaro
