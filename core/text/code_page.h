#ifndef KESMARO_CORE_TEXT_CODE_PAGE_H_
#define KESMARO_CORE_TEXT_CODE_PAGE_H_

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

/// How the data files hold their text. UTF-16 is read as UTF-8 and its outputs are written back
/// as UTF-16, so every line rule stays a rule on the bytes of an ASCII-compatible code page.
enum class FileForm {
  kAsIs,     ///< the code page's own bytes
  kUtf16Le,  ///< UTF-16, low byte first (Windows' "Unicode"), read as UTF-8
  kUtf16Be,  ///< UTF-16, high byte first, read as UTF-8
};

/// A data code page: its character scheme and the names the operating systems know it by.
struct CodePage {
  std::string name;        ///< the name iconv knows it by, e.g. "GBK", "UTF-8", "CP1252"
  unsigned windowsId = 0;  ///< the Windows code page number, e.g. 936, 65001, 1252
  CharScheme scheme = CharScheme::kSingleByte;
  /// For UTF-16 data the page is UTF-8's, which is what the core reads and writes.
  FileForm form = FileForm::kAsIs;

  friend bool operator==(const CodePage&, const CodePage&) = default;
};

/// The Windows number of plain ASCII, the codeset of the C and POSIX locales.
inline constexpr unsigned kAsciiCodePageId = 20127;

/// The code page a user names (`gbk`, `cp936`, `936`, `utf-8`, `big5`, `shift_jis`, `cp1252`,
/// `iso-8859-1`, `utf-16le`, `utf-16be`, ...), compared without regard to case, `-` and `_`;
/// nullopt when unknown.
std::optional<CodePage> CodePageByName(std::string_view name);

/// The name to tell the user: "UTF-16LE" or "UTF-16BE" for UTF-16 data, else the page's name.
std::string ShownName(const CodePage& page);

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
/// The byte order marks a UTF-16 text file starts with; never part of its text.
inline constexpr std::string_view kUtf16LeByteOrderMark = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeByteOrderMark = "\xFE\xFF";

/// Tells, as a file's bytes come in, whether it is UTF-8 text: it starts with a UTF-8 byte order
/// mark, or it holds a byte above 0x7F and every such byte belongs to a well-formed UTF-8
/// character. Legacy code pages (GBK, Big5, 1252, ...) almost never form such text. The mark, or
/// the first byte that is not well-formed, settles it; otherwise only the file's end does, so
/// Chinese text in a footer counts as much as in a header.
class Utf8Judge {
 public:
  /// Takes the file's next bytes; true once the answer is settled and no more are needed.
  bool Take(std::string_view bytes);
  /// The answer, the bytes taken being the whole file.
  bool IsUtf8() const;

 private:
  std::string held_;  ///< the start of a character (or of a mark) that the last bytes cut off
  bool started_ = false;
  bool settled_ = false;
  bool utf8_ = false;
  bool high_ = false;  ///< a well-formed character above ASCII was met
};

/// Whether `text`, a whole file, is UTF-8 text as Utf8Judge tells it.
bool IsUtf8Data(std::string_view text);

/// Number of bytes (1 to 4) of the character that starts at `text[pos]`, which must be inside
/// `text`. A byte that does not start a well-formed character of the scheme is a character of
/// its own, so every byte of a line belongs to exactly one character and none is ever lost.
std::size_t CharLength(CharScheme scheme, std::string_view text, std::size_t pos);

}  // namespace kesmaro

#endif  // KESMARO_CORE_TEXT_CODE_PAGE_H_
