#ifndef KESMARO_CORE_LINE_RULES_H_
#define KESMARO_CORE_LINE_RULES_H_

// The rules every decision about a data line rests on, shared by the extraction run and the key
// check. A line is the bytes of one line of a data file, in the data code page, without its line
// end; it is scanned character by character for that code page.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/code_page.h"
#include "core/decimal.h"

namespace kesmaro {

/// One character of a line: where its bytes start and how many there are.
struct CharSpan {
  std::size_t offset = 0;
  std::size_t length = 1;

  friend bool operator==(const CharSpan&, const CharSpan&) = default;
};

/// True for every single-byte character but `0`-`9` and `.`. Characters of two or more bytes
/// are always separators.
constexpr bool IsSeparator(char ch) { return !(IsDigit(ch) || ch == '.'); }

/// The bytes that separate the fields of a table's data line, in runs: space, tab, comma and
/// semicolon; with decimal commas, where a comma belongs to a number, space, tab and semicolon.
/// They are single ASCII bytes, and no byte of a double-byte character of the code pages we read
/// (GBK, GB18030, Big5, Shift_JIS, UHC, UTF-8) is one of them, so a plain byte scan never cuts a
/// character.
constexpr bool IsFieldSeparator(char ch) { return ch == ' ' || ch == '\t' || ch == ',' || ch == ';'; }
constexpr bool IsFieldSeparator(char ch, DecimalMark mark) {
  return ch == ' ' || ch == '\t' || ch == ';' || (ch == ',' && mark == DecimalMark::kPoint);
}

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

}  // namespace kesmaro

#endif  // KESMARO_CORE_LINE_RULES_H_
