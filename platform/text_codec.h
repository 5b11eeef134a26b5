#ifndef KESMARO_PLATFORM_TEXT_CODEC_H_
#define KESMARO_PLATFORM_TEXT_CODEC_H_

#include <memory>
#include <optional>
#include <string>

#include "core/code_page.h"
#include "core/file_system.h"

namespace kesmaro {

/// The system's code page for data files: the ANSI code page on Windows, the locale's codeset
/// on POSIX (call setlocale(LC_CTYPE, "") first). nullopt when it is not one we know; `*name`
/// then tells what the system reported.
std::optional<CodePage> SystemCodePage(std::string* name);

/// Converts between the system's own text (wide on Windows, the locale's codeset on POSIX) and
/// the bytes of `dataCodePage`. Nothing is approximated: a character without an exact
/// counterpart fails the conversion. nullptr when the system has no tables for the code page.
std::unique_ptr<TextCodec> MakeTextCodec(const CodePage& dataCodePage);

}  // namespace kesmaro

#endif  // KESMARO_PLATFORM_TEXT_CODEC_H_
