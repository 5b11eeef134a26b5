#include <windows.h>

#include "platform/native_text.h"
#include "platform/win32_text.h"

namespace kesmaro {

std::string NativeToUtf8(NativeTextView text) { return win32::WideToBytesReplacing(text, CP_UTF8); }

std::optional<NativeText> Utf8ToNative(std::string_view utf8) { return win32::BytesToWide(utf8, CP_UTF8); }

}  // namespace kesmaro
