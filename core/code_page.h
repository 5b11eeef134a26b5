#ifndef KESMARO_CORE_CODE_PAGE_H_
#define KESMARO_CORE_CODE_PAGE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kesmaro {

/// How the bytes of a code page group into characters. Data lines are scanned character by
/// character so that a double-byte (or longer) character counts as one separator and is dropped
/// whole, and so that the digit bytes inside a GB18030 four-byte character are never taken for
/// digits.
enum class CharScheme {
  kSingleByte,  ///< every byte a character (Windows-125x, ISO 8859, ASCII, ...)
  kGbk,         ///< GBK / code page 936: lead 81-FE, trail 40-7E or 80-FE
  kGb18030,     ///< GBK plus four-byte characters: lead, 30-39, 81-FE, 30-39
  kBig5,        ///< code page 950: lead 81-FE, trail 40-7E or A1-FE
  kShiftJis,    ///< code page 932: lead 81-9F or E0-FC, trail 40-7E or 80-FC
  kUhc,         ///< code page 949: lead 81-FE, trail 41-5A, 61-7A or 81-FE
  kUtf8,
};

/// A data code page: its character scheme and the names the operating systems know it by.
struct CodePage {
  std::string name;        ///< the name iconv knows it by, e.g. "GBK", "UTF-8", "CP1252"
  unsigned windowsId = 0;  ///< the Windows code page number, e.g. 936, 65001, 1252
  CharScheme scheme = CharScheme::kSingleByte;

  friend bool operator==(const CodePage&, const CodePage&) = default;
};

/// The Windows number of plain ASCII, the codeset of the C and POSIX locales.
inline constexpr unsigned kAsciiCodePageId = 20127;

/// The code page a user names (`gbk`, `cp936`, `936`, `utf-8`, `big5`, `shift_jis`, `cp1252`,
/// `iso-8859-1`, ...), compared without regard to case, `-` and `_`; nullopt when unknown.
std::optional<CodePage> CodePageByName(std::string_view name);

/// The code page with a Windows code page number; nullopt when unknown.
std::optional<CodePage> CodePageById(unsigned windowsId);

/// The code page Windows would use for text files ("ANSI") under a POSIX locale name such as
/// `zh_CN.UTF-8`, `de_DE` or `C`: the locale's own codeset when it is a legacy code page
/// (`zh_CN.GBK` gives GBK), otherwise the Windows code page of the locale's language (Chinese
/// in China gives 936), and 1252 for any other language. Data files come from Windows
/// instruments and colleagues, so a UTF-8 desktop reads them as that language's Windows would.
CodePage WindowsCodePageForLocale(std::string_view locale);

/// The bytes a UTF-8 text file may start with to say that it is one; never part of its text.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

/// Whether data whose first file starts with `start` is UTF-8 text: `start` begins with a UTF-8
/// byte order mark, or it holds a byte above 0x7F and every such byte belongs to a well-formed
/// UTF-8 character. Legacy code pages (GBK, Big5, 1252, ...) almost never form such text. When
/// `start` is only the beginning of the file (`wholeFile` false), a character cut off at its end
/// counts as well-formed.
bool IsUtf8Data(std::string_view start, bool wholeFile);

/// Number of bytes (1 to 4) of the character that starts at `text[pos]`, which must be inside
/// `text`. A byte that does not start a well-formed character of the scheme is a character of
/// its own, so every byte of a line belongs to exactly one character and none is ever lost.
std::size_t CharLength(CharScheme scheme, std::string_view text, std::size_t pos);

}  // namespace kesmaro

#endif  // KESMARO_CORE_CODE_PAGE_H_
