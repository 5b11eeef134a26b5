#ifndef KESMARO_CORE_RUN_LINE_RULES_H_
#define KESMARO_CORE_RUN_LINE_RULES_H_

// The rules every decision about a data line rests on, shared by the extraction run and the key
// check. A line is the bytes of one line of a data file, in the data code page, without its line
// end; it is scanned character by character for that code page.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/code_page.h"

namespace kesmaro {

/// One character of a line: where its bytes start and how many there are.
struct CharSpan {
  std::size_t offset = 0;
  std::size_t length = 1;

  friend bool operator==(const CharSpan&, const CharSpan&) = default;
};

constexpr bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

/// True for every single-byte character but `0`-`9` and `.`. Characters of two or more bytes
/// are always separators.
constexpr bool IsSeparator(char ch) { return !(IsDigit(ch) || ch == '.'); }

/// The separator that ends the first column holding exactly `key`: the first separator whose
/// preceding text equals `key`. Since only one prefix of the line has the key's length, that is
/// the character right after the key when the line begins with it.
std::optional<CharSpan> ExactHitPosition(std::string_view line, std::string_view key, CharScheme scheme);

/// True when the line's characters begin with the key's. An empty line begins with no key, not
/// even the empty one.
bool BeginsWithKey(std::string_view line, std::string_view key, CharScheme scheme);

/// The next separator at or after `*pos`, which starts a character, in `text`: a line, or a part
/// of a longer one when `whole` is false. `*pos` is left after the separator found; when there
/// is none, at the end of `text`, or, in a part, at the first character that may run past it
/// (within its last three bytes), where the next part is to be read from.
std::optional<CharSpan> NextSeparator(std::string_view text, std::size_t* pos, bool whole, CharScheme scheme);

/// What follows the separator: the rest of the line, unchanged.
constexpr std::string_view Remainder(std::string_view line, CharSpan separator) {
  return line.substr(separator.offset + separator.length);
}

/// A data file name less its four-character extension (`.txt`, `.asc`).
constexpr std::string_view FileStem(std::string_view name) {
  return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string_view();
}

/// The number a file's name begins with, which orders the series: optional blanks, an optional
/// sign, digits and an optional decimal point with digits, and no exponent, since `2e1.txt` is
/// file 2 of a series; nullopt when the text begins with no number. `10.txt` is 10, `2.5.asc` is
/// 2.5, `-5.txt` is -5. Read into a double as the window reads it, not as a Decimal: the order of
/// a series, and so the order of a run's rows, is the window's.
std::optional<double> LeadingNameNumber(std::string_view text);

/// LeadingNameNumber, 0 when the text begins with no number.
inline double LeadingNumber(std::string_view text) { return LeadingNameNumber(text).value_or(0.0); }

}  // namespace kesmaro

#endif  // KESMARO_CORE_RUN_LINE_RULES_H_
