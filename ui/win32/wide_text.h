#ifndef KESMARO_UI_WIN32_WIDE_TEXT_H_
#define KESMARO_UI_WIN32_WIDE_TEXT_H_

#include <string>
#include <string_view>

namespace kesmaro::ui::win32 {

/// UTF-8 of the window's texts as the wide text the W functions take.
std::wstring Wide(std::string_view utf8);

/// Wide text from a control as UTF-8; an ill-formed character (a lone surrogate) becomes U+FFFD.
std::string Utf8(std::wstring_view wide);

}  // namespace kesmaro::ui::win32

#endif  // KESMARO_UI_WIN32_WIDE_TEXT_H_
