#ifndef KESMARO_PLATFORM_TEXT_CODEC_H_
#define KESMARO_PLATFORM_TEXT_CODEC_H_

#include <memory>
#include <optional>
#include <string>

#include "core/text/code_page.h"
#include "core/text/text_codec.h"

namespace kesmaro {

/// The system's code page for data files: the ANSI code page on Windows; on POSIX the one
/// Windows would use for the user's locale (LC_ALL, LC_CTYPE or LANG, installed or not), as
/// WindowsCodePageForLocale gives it: data files come from Windows instruments and colleagues.
/// nullopt when it is not one we know; `*name` then tells what the system reported.
std::optional<CodePage> SystemCodePage(std::string* name);

/// Whether a series whose first file is UTF-8 text (ChooseSeriesCodePage) is read as UTF-8 rather
/// than in SystemCodePage when the user names no code page. True on POSIX, where UTF-8 is the
/// system's own text; false on Windows, whose programs all read the ANSI code page.
bool DataMayChooseUtf8();

/// How the system's own text (file names) groups into characters: on POSIX the locale's codeset
/// (UTF-8 under the C and POSIX locales). Wide text on Windows needs none; UTF-8 is said there.
CharScheme NativeTextScheme();

/// Where the data code page comes from: the name the user gave, or else the system's page.
struct CodePageChoice {
  std::optional<std::string> named;  ///< as the user gave it; nullopt for the system's page
  std::optional<CodePage> system;    ///< SystemCodePage's answer
  std::string systemName;            ///< what the system reported

  /// The system's page, read now: before anything (a toolkit) moves the locale.
  static CodePageChoice System() {
    CodePageChoice choice;
    choice.system = SystemCodePage(&choice.systemName);
    return choice;
  }
};

/// Why OpenTextCodec found no code page.
struct CodePageFailure {
  bool unknown = false;  ///< the page is not one we know; otherwise the system lacks its tables
  std::string name;      ///< the name as given or as the system reported it, or the page's own name
};

/// Converts between the system's own text (wide on Windows; on POSIX the locale's codeset, or
/// UTF-8 under the C and POSIX locales, whose ASCII takes no other name) and the bytes of
/// `dataCodePage`. Nothing is approximated: a character without an exact
/// counterpart fails the conversion. nullptr when the system has no tables for the code page.
std::unique_ptr<TextCodec> MakeTextCodec(const CodePage& dataCodePage);

/// The chosen data code page, ready to convert (`make`); nullptr with `*failure` set when it is
/// unknown or the system has no tables for it.
std::unique_ptr<TextCodec> OpenTextCodec(const CodePageChoice& choice, CodePageFailure* failure,
                                         const TextCodecMaker& make = MakeTextCodec);

}  // namespace kesmaro

#endif  // KESMARO_PLATFORM_TEXT_CODEC_H_
