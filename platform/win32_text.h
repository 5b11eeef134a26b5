#ifndef KESMARO_PLATFORM_WIN32_TEXT_H_
#define KESMARO_PLATFORM_WIN32_TEXT_H_

// Conversions between wide text and code page bytes, shared by the Windows platform files.

#include <optional>
#include <string>
#include <string_view>

namespace kesmaro::win32 {

/// Wide text as bytes of `codePage`; nullopt when a character has no exact counterpart.
std::optional<std::string> WideToBytes(std::wstring_view text, unsigned codePage);

/// Wide text as bytes of `codePage`, never failing: a character without a counterpart becomes
/// the code page's default character (U+FFFD in UTF-8), for text that is shown, not stored.
std::string WideToBytesReplacing(std::wstring_view text, unsigned codePage);

/// Bytes of `codePage` as wide text; nullopt when they are not valid there.
std::optional<std::wstring> BytesToWide(std::string_view bytes, unsigned codePage);

/// The system's English text for a Windows error code, as UTF-8.
std::string ErrorText(unsigned long code);

/// The system's text for a Windows error code in its user's language, as UTF-8; empty when it
/// has none.
std::string UserErrorText(unsigned long code);

}  // namespace kesmaro::win32

#endif  // KESMARO_PLATFORM_WIN32_TEXT_H_
