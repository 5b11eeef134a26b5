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

/// Number of bytes (1 to 4) of the character that starts at `text[pos]`, which must be inside
/// `text`. A byte that does not start a well-formed character of the scheme is a character of
/// its own, so every byte of a line belongs to exactly one character and none is ever lost.
std::size_t CharLength(CharScheme scheme, std::string_view text, std::size_t pos);

}  // namespace kesmaro

#endif  // KESMARO_CORE_CODE_PAGE_H_
