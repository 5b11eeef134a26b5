#ifndef KESMARO_CORE_RUN_LINE_END_H_
#define KESMARO_CORE_RUN_LINE_END_H_

// Where a line of a data file ends, byte by byte: the rule the word and vector searches
// (byte_words.h, byte_lanes.h) apply eight and sixteen bytes at a time.

namespace kesmaro {

constexpr char kCr = '\r';
constexpr char kLf = '\n';

/// A line ends at CR LF, at a lone LF or at a lone CR.
constexpr bool IsLineEnd(char ch) { return ch == kLf || ch == kCr; }

/// Whether the line end `end` and the byte after it are the one end CR LF.
constexpr bool IsCrLf(char end, char next) { return end == kCr && next == kLf; }

/// Whether a line end may still take the byte after it: a CR, which an LF may follow. Held as the
/// last byte read, such an end is not known to be whole until the next byte is.
constexpr bool MayTakeNext(char end) { return end == kCr; }

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_LINE_END_H_
