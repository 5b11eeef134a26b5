#include "core/byte_search.h"

#include <algorithm>
#include <cstring>

namespace kesmaro {
namespace {

constexpr std::size_t kMaxShift = 255;

unsigned PairAt(const char* p) {
  return static_cast<unsigned>(static_cast<unsigned char>(p[0])) << 8 | static_cast<unsigned char>(p[1]);
}

}  // namespace

ByteSearcher::ByteSearcher(std::string_view needle) : needle_(needle) {
  const std::size_t m = needle_.size();
  if (m < 2) return;
  const auto unseen = static_cast<std::uint8_t>(std::min(m - 1, kMaxShift));
  shift_.assign(1u << 16, unseen);
  const unsigned lastPair = PairAt(&needle_[m - 2]);
  matchShift_ = m - 1;
  for (std::size_t k = 0; k + 2 <= m; ++k) {
    const std::size_t distance = m - 2 - k;  // aligns pair k with the window's last pair
    const unsigned pair = PairAt(&needle_[k]);
    shift_[pair] = static_cast<std::uint8_t>(std::min(distance, kMaxShift));
    if (pair == lastPair && distance > 0) matchShift_ = distance;
  }
  matchShift_ = std::min(matchShift_, kMaxShift);
}

const char* ByteSearcher::Find(const char* first, const char* last) const {
  const std::size_t m = needle_.size();
  if (m == 0) return first;
  if (static_cast<std::size_t>(last - first) < m) return last;
  if (m == 1) {
    const void* hit = std::memchr(first, needle_[0], static_cast<std::size_t>(last - first));
    return hit != nullptr ? static_cast<const char*>(hit) : last;
  }
  const std::uint8_t* shift = shift_.data();
  const std::size_t lastStart = static_cast<std::size_t>(last - first) - m;
  for (std::size_t i = 0; i <= lastStart;) {
    const std::size_t s = shift[PairAt(first + i + m - 2)];
    if (s != 0) {
      i += s;
      continue;
    }
    if (std::memcmp(first + i, needle_.data(), m - 2) == 0) return first + i;
    i += matchShift_;
  }
  return last;
}

}  // namespace kesmaro
