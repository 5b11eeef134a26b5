#ifndef KESMARO_CORE_RUN_BYTE_LANES_H_
#define KESMARO_CORE_RUN_BYTE_LANES_H_

// Sixteen bytes of data at a time through the compiler's generic vectors: SSE2 or NEON where
// there is one, plain code where there is none. Every function here is inlined into its caller,
// and so compiled for the instructions the caller allows: the searches are written once, inlined
// into one entry point per instruction set.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/run/line_end.h"

namespace kesmaro::byte_lanes {

/// Sixteen bytes, a lane each; a comparison gives -1 in the lanes where it holds, 0 elsewhere.
/// The lanes are signed, so bytes of 0x80 and above compare below every ASCII byte.
using Lanes = signed char __attribute__((vector_size(16)));
constexpr std::size_t kLanes = sizeof(Lanes);

[[gnu::always_inline]] inline Lanes Load(const char* p) {
  Lanes lanes;
  std::memcpy(&lanes, p, sizeof lanes);
  return lanes;
}

[[gnu::always_inline]] inline Lanes Splat(char ch) { return Lanes{} + static_cast<signed char>(ch); }

/// The lanes whose byte ends a line (IsLineEnd).
[[gnu::always_inline]] inline Lanes LineEndLanes(Lanes lanes) {
  return (lanes == Splat(kLf)) | (lanes == Splat(kCr));
}

/// Whether any lane of a comparison holds.
[[gnu::always_inline]] inline bool Any(Lanes lanes) {
  std::uint64_t halves[2];
  std::memcpy(halves, &lanes, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}

/// The lanes of a comparison as the low sixteen bits of a word, lane i in bit i.
[[gnu::always_inline]] inline std::uint32_t LaneBits(Lanes lanes) {
#if defined(__SSE2__)
  using CharLanes = char __attribute__((vector_size(16)));
  return static_cast<std::uint32_t>(__builtin_ia32_pmovmskb128(reinterpret_cast<CharLanes>(lanes)));
#else
  if constexpr (std::endian::native != std::endian::little) {
    std::uint32_t bits = 0;
    for (std::size_t lane = 0; lane < kLanes; ++lane) bits |= (lanes[lane] < 0 ? 1u : 0u) << lane;
    return bits;
  }
  // The high bit of each byte of a half, gathered into its top byte by one multiplication whose
  // partial products never meet.
  std::uint64_t halves[2];
  std::memcpy(halves, &lanes, sizeof halves);
  constexpr std::uint64_t kHigh = 0x8080808080808080;
  constexpr std::uint64_t kGather = 0x0002040810204081;
  const auto gather = [](std::uint64_t half) {
    return static_cast<std::uint32_t>(((half & kHigh) * kGather) >> 56);
  };
  return gather(halves[0]) | gather(halves[1]) << 8;
#endif
}

/// The entry points of a search whose body `kBody` is always inlined, so compiled anew in each:
/// `Portable`, for the oldest processor the build targets, and `Fastest()`, the one this
/// processor runs best.
///
/// 32-bit x86 builds target processors without SSE2, where GCC lowers the vectors to byte-wise
/// code, so there the body has a second copy marked target("sse2"), taken wherever the processor
/// has SSE2 (all made this century). Chosen at run time: GCC's target_clones needs ifuncs, which
/// Windows programs lack. Elsewhere the build's vectors are the processor's, and one copy serves.
template <auto kBody>
struct EntryPoints;

template <typename Result, typename... Args, Result (*kBody)(Args...)>
struct EntryPoints<kBody> {
  using Entry = Result (*)(Args...);

  static Result Portable(Args... args) { return kBody(args...); }

#if defined(__i386__)
  __attribute__((target("sse2"))) static Result Sse2(Args... args) { return kBody(args...); }

  static Entry Fastest() { return HasSse2() ? Sse2 : Portable; }

 private:
  /// Whether this processor has SSE2 (32-bit x86 only; every 64-bit one has).
  static bool HasSse2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
  }
#else
  static Entry Fastest() { return Portable; }
#endif
};

}  // namespace kesmaro::byte_lanes

#endif  // KESMARO_CORE_RUN_BYTE_LANES_H_
