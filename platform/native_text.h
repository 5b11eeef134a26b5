#ifndef KESMARO_PLATFORM_NATIVE_TEXT_H_
#define KESMARO_PLATFORM_NATIVE_TEXT_H_

// The system's own text (file names, and what TextCodec converts: wide on Windows, bytes on
// POSIX) and the UTF-8 that the windows and the program's messages are written in.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kesmaro {

using NativeText = std::filesystem::path::string_type;
using NativeTextView = std::basic_string_view<std::filesystem::path::value_type>;

/// Native text as UTF-8, to be shown. Never fails: on Windows an ill-formed character (a lone
/// surrogate) becomes U+FFFD; on POSIX the bytes are taken as UTF-8 as they are, and whatever
/// shows them replaces what is not.
std::string NativeToUtf8(NativeTextView text);

/// UTF-8 as native text; nullopt on Windows when it is not well-formed. On POSIX the bytes
/// are kept as they are.
std::optional<NativeText> Utf8ToNative(std::string_view utf8);

}  // namespace kesmaro

#endif  // KESMARO_PLATFORM_NATIVE_TEXT_H_
