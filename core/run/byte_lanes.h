#ifndef KESMARO_CORE_RUN_BYTE_LANES_H_
#define KESMARO_CORE_RUN_BYTE_LANES_H_

// Sixteen bytes of data at a time through the compiler's generic vectors: SSE2 or NEON where
// there is one, plain code where there is none. Every function here is inlined into its caller,
// and so compiled for the instructions the caller allows: the searches are written once, inlined
// into one entry point per instruction set, and told which (Isa) where a lane's bits are wanted.

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

/// The sixteen bytes as eight lanes of two, the first byte of each the low one on a little-endian
/// processor.
using Pairs = std::uint16_t __attribute__((vector_size(16)));

/// The lanes whose byte ends a line (IsLineEnd).
[[gnu::always_inline]] inline Lanes LineEndLanes(Lanes lanes) {
  return (lanes == Splat(kLf)) | (lanes == Splat(kCr));
}

/// The instructions a copy of a search is compiled for (EntryPoints): the build's, or SSE2, for
/// the second copy on 32-bit x86, whose build lacks it. A template argument of the functions that
/// tell a comparison's lanes apart, and of the searches' functions that call them, so that each
/// copy has its own.
enum class Isa { kBuild, kSse2 };

// A comparison's lanes told apart. Where the build has SSE2, by its one instruction; elsewhere in
// plain vector code, which keeps lanes in vectors (no lane moves through memory, where a vector
// stored and its words loaded back stall), and by that instruction in an SSE2 copy, written out
// as the build declares no SSE2 builtins.
#if defined(__SSE2__)
/// The lanes of a comparison as the low sixteen bits of a word, lane i in bit i.
template <Isa = Isa::kBuild>
[[gnu::always_inline]] inline std::uint32_t LaneBits(Lanes lanes) {
  using CharLanes = char __attribute__((vector_size(16)));
  return static_cast<std::uint32_t>(__builtin_ia32_pmovmskb128(reinterpret_cast<CharLanes>(lanes)));
}

/// Whether any lane of a comparison holds.
template <Isa kIsa = Isa::kBuild>
[[gnu::always_inline]] inline bool Any(Lanes lanes) {
  return LaneBits<kIsa>(lanes) != 0;
}

/// The first four sixteen-bit lanes, each below 256, as the bytes of a word, lane 0 the low one.
template <Isa = Isa::kBuild>
[[gnu::always_inline]] inline std::uint32_t FirstPairsAsBytes(Pairs pairs) {
  using Shorts = short __attribute__((vector_size(16)));
  using Words = std::uint32_t __attribute__((vector_size(16)));
  const Shorts shorts = reinterpret_cast<Shorts>(pairs);
  return reinterpret_cast<Words>(__builtin_ia32_packuswb128(shorts, shorts))[0];
}
#else
/// The lanes of a comparison as the low sixteen bits of a word, lane i in bit i.
template <Isa kIsa = Isa::kBuild>
[[gnu::always_inline]] inline std::uint32_t LaneBits(Lanes lanes) {
  if constexpr (kIsa == Isa::kSse2) {
    std::uint32_t bits;
    asm("pmovmskb %1, %0" : "=r"(bits) : "x"(lanes));
    return bits;
  } else if constexpr (std::endian::native != std::endian::little) {
    std::uint32_t bits = 0;
    for (std::size_t lane = 0; lane < kLanes; ++lane) bits |= (lanes[lane] < 0 ? 1u : 0u) << lane;
    return bits;
  } else {
    // Each lane kept as the bit of its place within its eight, then the eight bytes of each half
    // folded onto its lowest one.
    using Bytes = unsigned char __attribute__((vector_size(16)));
    using Halves = std::uint64_t __attribute__((vector_size(16)));
    using Words = std::uint32_t __attribute__((vector_size(16)));
    const Bytes places = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
    Halves halves = reinterpret_cast<Halves>(reinterpret_cast<Bytes>(lanes) & places);
    halves |= halves >> 32;
    halves |= halves >> 16;
    halves |= halves >> 8;
    const Words folded = reinterpret_cast<Words>(halves);
    return (folded[0] & 0xFF) | (folded[2] & 0xFF) << 8;
  }
}

/// Whether any lane of a comparison holds.
template <Isa kIsa = Isa::kBuild>
[[gnu::always_inline]] inline bool Any(Lanes lanes) {
  if constexpr (kIsa == Isa::kSse2) {
    return LaneBits<kIsa>(lanes) != 0;
  } else {
    // The four words folded onto the first.
    using Words = std::uint32_t __attribute__((vector_size(16)));
    Words words = reinterpret_cast<Words>(lanes);
    words |= __builtin_shufflevector(words, words, 2, 3, 0, 1);
    words |= __builtin_shufflevector(words, words, 1, 0, 3, 2);
    return words[0] != 0;
  }
}

/// The first four sixteen-bit lanes, each below 256, as the bytes of a word, lane 0 the low one.
template <Isa kIsa = Isa::kBuild>
[[gnu::always_inline]] inline std::uint32_t FirstPairsAsBytes(Pairs pairs) {
  if constexpr (kIsa == Isa::kSse2) {
    using Words = std::uint32_t __attribute__((vector_size(16)));
    asm("packuswb %0, %0" : "+x"(pairs));
    return reinterpret_cast<Words>(pairs)[0];
  } else {
    return static_cast<std::uint32_t>(pairs[0] | pairs[1] << 8 | pairs[2] << 16 | pairs[3] << 24);
  }
}
#endif

/// The entry points of a search whose body is always inlined, so compiled anew in each:
/// `Portable`, for the oldest processor the build targets, and `Fastest()`, the one this
/// processor runs best. `kSse2` is the body's copy for Isa::kSse2, where it has one.
///
/// 32-bit x86 builds target processors without SSE2, where GCC lowers the vectors to byte-wise
/// code, so there the body has a second copy marked target("sse2"), taken wherever the processor
/// has SSE2 (all made this century). Chosen at run time: GCC's target_clones needs ifuncs, which
/// Windows programs lack. Elsewhere the build's vectors are the processor's, and one copy serves.
template <auto kBody, auto kSse2 = kBody>
struct EntryPoints;

template <typename Result, typename... Args, Result (*kBody)(Args...), Result (*kSse2)(Args...)>
struct EntryPoints<kBody, kSse2> {
  using Entry = Result (*)(Args...);

  static Result Portable(Args... args) { return kBody(args...); }

#if defined(__i386__)
  // Never inlined: called directly too (For).
  [[gnu::noinline]] __attribute__((target("sse2"))) static Result Sse2(Args... args) {
    return kSse2(args...);
  }

  static Entry Fastest() { return HasSse2() ? Sse2 : Portable; }
#else
  static Entry Fastest() { return Portable; }
#endif

  /// The entry point of `kIsa`, never inlined, for a search's copy of `kIsa` to call where a
  /// function of its own keeps rare work out of its walk.
  template <Isa kIsa>
  [[gnu::always_inline]] static Result For(Args... args) {
#if defined(__i386__)
    if constexpr (kIsa == Isa::kSse2) return Sse2(args...);
#endif
    return Apart(args...);
  }

 private:
  [[gnu::noinline]] static Result Apart(Args... args) { return kBody(args...); }

#if defined(__i386__)
  /// Whether this processor has SSE2 (32-bit x86 only; every 64-bit one has).
  static bool HasSse2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
  }
#endif
};

}  // namespace kesmaro::byte_lanes

#endif  // KESMARO_CORE_RUN_BYTE_LANES_H_
