#include "ui/win32/wide_text.h"

#include <windows.h>

#include "platform/win32_text.h"

namespace kesmaro::ui::win32 {

std::wstring Wide(std::string_view utf8) {
  return kesmaro::win32::BytesToWide(utf8, CP_UTF8).value_or(std::wstring());
}

std::string Utf8(std::wstring_view wide) { return kesmaro::win32::WideToBytesReplacing(wide, CP_UTF8); }

}  // namespace kesmaro::ui::win32
