#include "platform/native_text.h"

namespace kesmaro {

// A file name is bytes; the windows and the C++ library (path::u8string) read them as UTF-8.

std::string NativeToUtf8(NativeTextView text) { return std::string(text); }

std::optional<NativeText> Utf8ToNative(std::string_view utf8) { return std::string(utf8); }

}  // namespace kesmaro
