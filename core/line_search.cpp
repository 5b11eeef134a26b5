#include "core/line_search.h"

#include <cstring>

namespace kesmaro {
namespace {

// Sixteen bytes at a time through the compiler's generic vectors: SSE2 or NEON where there is
// one, plain code where there is none.
using Lanes = signed char __attribute__((vector_size(16)));
using Halves = unsigned long long __attribute__((vector_size(16)));
constexpr std::size_t kLanes = sizeof(Lanes);

Lanes Load(const char* p) {
  Lanes lanes;
  std::memcpy(&lanes, p, sizeof lanes);
  return lanes;
}

Lanes Splat(char ch) { return Lanes{} + static_cast<signed char>(ch); }

bool Any(Lanes lanes) {
  Halves halves;
  std::memcpy(&halves, &lanes, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}

}  // namespace

KeyLineSearch::KeyLineSearch(std::string_view key)
    : key_(key), canMatch_(key.find_first_of("\r\n") == std::string_view::npos) {}

bool KeyLineSearch::MatchesAt(const char* data, std::size_t pos, std::size_t to) const {
  return to - pos >= key_.size() && std::memcmp(data + pos, key_.data(), key_.size()) == 0;
}

std::size_t KeyLineSearch::FindEmptyKey(const char* data, std::size_t from, std::size_t to) const {
  for (std::size_t pos = from; pos < to; ++pos) {
    if (!IsLineEnd(data[pos]) && (pos == from || IsLineEnd(data[pos - 1]))) return pos;
  }
  return to;
}

std::size_t KeyLineSearch::Find(const char* data, std::size_t from, std::size_t to) const {
  if (!canMatch_ || from >= to) return to;
  if (key_.empty()) return FindEmptyKey(data, from, to);
  if (MatchesAt(data, from, to)) return from;

  const std::size_t m = key_.size();
  if (to - from < m + 1) return to;
  const std::size_t lastStart = to - m;  // the last position the key fits at
  // The filter bytes are the key's last two: in a sorted series neighbouring lines share their
  // leading digits, and differ in their trailing ones.
  const std::size_t second = m >= 2 ? m - 2 : 0;
  const Lanes lf = Splat('\n');
  const Lanes cr = Splat('\r');
  const Lanes secondLast = Splat(key_[second]);
  const Lanes last = Splat(key_.back());
  auto candidatesAt = [&](std::size_t at) {
    const Lanes before = Load(data + at - 1);
    return ((before == lf) | (before == cr)) & (Load(data + at + second) == secondLast) &
           (Load(data + at + m - 1) == last);
  };
  auto matchIn = [&](std::size_t at, Lanes candidates) {
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
      if (candidates[lane] != 0 && std::memcmp(data + at + lane, key_.data(), m) == 0) return at + lane;
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
    if (!Any(a | b | c | d)) continue;
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
    if (IsLineEnd(data[pos - 1]) && std::memcmp(data + pos, key_.data(), m) == 0) return pos;
  }
  return to;
}

}  // namespace kesmaro
