#include <windows.h>

#include "platform/native_text.h"
#include "platform/win32_text.h"

namespace kesmaro {

std::string ToUtf8(NativeTextView text) { return win32::WideToBytesReplacing(text, CP_UTF8); }

std::optional<NativeText> FromUtf8(std::string_view utf8) { return win32::BytesToWide(utf8, CP_UTF8); }

}  // namespace kesmaro
